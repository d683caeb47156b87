#pragma once
// What the window does around an upload besides sending the configuration, as the operator chose
// it: read the configuration back and compare it with what was sent, and keep the unit's own
// configuration in a database file before overwriting it. Both are off unless chosen, so the
// line carries exactly an upload's frames. Kept in the program's settings file, in a section of
// their own ("UPLOAD").
#include <QDateTime>
#include <QString>

namespace zx {

class IniFile;

struct UploadOptions {
    bool verify = false;
    bool backup = false;
    QString backupFolder; // empty: defaultBackupFolder()

    bool operator==(const UploadOptions&) const = default;
};

// A folder beside the settings files.
QString defaultBackupFolder();
// The folder backups go to: the chosen one, else the default.
QString backupFolderOf(const UploadOptions& options);

UploadOptions loadUploadOptions(const QString& path);
// The same from the settings file already read.
UploadOptions loadUploadOptions(const IniFile& settings);
// The other sections of the file stay as they are; false with the reason when it cannot be
// written.
bool saveUploadOptions(const UploadOptions& options, const QString& path, QString* error);

// The backup's file name: the site, then the date and time, then ".vd1"; characters a file name
// cannot hold become '_', and a site without a usable character is "egyseg".
QString backupFileName(const QString& site, const QDateTime& when);

} // namespace zx
