#pragma once
// The database file an upload keeps the unit's previous configuration in, before its first
// frame: named from the site and the time, in the backup folder, opening as the configuration
// shown does (its site, owner and password).
#include "files/upload_options.h"
#include "model/database_record.h"

#include <QDateTime>
#include <QString>

namespace zx {

struct UploadBackupResult {
    bool ok = false;
    QString path;    // the file written (ok), or the one that could not be
    QString message; // why it could not be written
};

UploadBackupResult writeUploadBackup(const QString& folder, const DatabaseRecord& shown,
                                     const ConfigImage& unit, const QDateTime& when);
// The same into a file the operator named.
UploadBackupResult writeUploadBackupFile(const QString& path, const DatabaseRecord& shown,
                                         const ConfigImage& unit);

} // namespace zx
