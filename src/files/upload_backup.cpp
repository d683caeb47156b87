#include "files/upload_backup.h"

#include "files/cp1250.h"
#include "files/database_file.h"

#include <QDir>

namespace zx {

UploadBackupResult writeUploadBackup(const QString& folder, const DatabaseRecord& shown,
                                     const ConfigImage& unit, const QDateTime& when) {
    QDir().mkpath(folder);
    return writeUploadBackupFile(QDir(folder).filePath(backupFileName(
                                     fromCp1250(shown.text(DatabaseRecord::Slot::Site)), when)),
                                 shown, unit);
}

UploadBackupResult writeUploadBackupFile(const QString& path, const DatabaseRecord& shown,
                                         const ConfigImage& unit) {
    const DatabaseWriteResult written =
        writeDatabaseFile(path, DatabaseRecord::keeping(unit, shown), QString());
    return {written.ok, path, written.message};
}

} // namespace zx
