#include "files/upload_options.h"

#include "files/connection_settings.h"
#include "files/ini_file.h"

#include <QDir>

namespace zx {

namespace {

const QString Section = QStringLiteral("UPLOAD");
const QString KeyVerify = QStringLiteral("VERIFY");
const QString KeyBackup = QStringLiteral("BACKUP");
const QString KeyFolder = QStringLiteral("BACKUPDIR");

// A part of a file name: letters and digits of any script, '-', '.', '_'; other characters
// become '_', and leading dots go, so the name never hides or climbs up a folder.
QString fileNamePart(const QString& text) {
    QString out;
    for (const QChar c : text)
        out.append(c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('.')
                       ? c
                       : QLatin1Char('_'));
    while (out.startsWith(QLatin1Char('.')))
        out.remove(0, 1);
    return out.left(64);
}

} // namespace

QString defaultBackupFolder() {
    return QDir(configDir()).filePath(QStringLiteral("mentesek"));
}

QString backupFolderOf(const UploadOptions& options) {
    return options.backupFolder.isEmpty() ? defaultBackupFolder() : options.backupFolder;
}

UploadOptions loadUploadOptions(const QString& path) {
    return loadUploadOptions(IniFile(path));
}

UploadOptions loadUploadOptions(const IniFile& ini) {
    UploadOptions o;
    o.verify = ini.readInteger(Section, KeyVerify, 0) != 0;
    o.backup = ini.readInteger(Section, KeyBackup, 0) != 0;
    o.backupFolder = ini.readString(Section, KeyFolder, QString());
    return o;
}

bool saveUploadOptions(const UploadOptions& options, const QString& path, QString* error) {
    IniFile ini(path);
    ini.writeInteger(Section, KeyVerify, options.verify ? 1 : 0);
    ini.writeInteger(Section, KeyBackup, options.backup ? 1 : 0);
    ini.writeString(Section, KeyFolder, options.backupFolder);
    return ini.save(error);
}

QString backupFileName(const QString& site, const QDateTime& when) {
    QString stem = fileNamePart(site.trimmed());
    if (stem.isEmpty() || stem.count(QLatin1Char('_')) == stem.size())
        stem = QStringLiteral("egyseg");
    return stem + QLatin1Char('_') + when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
           QStringLiteral(".vd1");
}

} // namespace zx
