#include "files/upload_backup.h"

#include "files/cp1250.h"
#include "files/database_file.h"

#include <QDir>

namespace zx {

UploadBackupResult writeUploadBackup(const QString& folder, const DatabaseRecord& shown,
                                     const ConfigImage& unit, const QDateTime& when) {
    UploadBackupResult result;
    result.path = QDir(folder).filePath(
        backupFileName(fromCp1250(shown.text(DatabaseRecord::Slot::Site)), when));
    QDir().mkpath(folder);
    const DatabaseWriteResult written =
        writeDatabaseFile(result.path, DatabaseRecord::keeping(unit, shown), QString());
    result.ok = written.ok;
    result.message = written.message;
    return result;
}

} // namespace zx
