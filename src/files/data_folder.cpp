#include "files/data_folder.h"

#include <QDir>
#include <QFileInfo>

namespace zx {

QString installedDataFolder(const QString& programDir) {
    return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(ZX_DATADIR_FROM_BINDIR)));
}

QString dataFileFolder(const QString& programDir, const QString& fileName) {
    for (const QString& folder : {programDir, installedDataFolder(programDir)})
        if (QFileInfo(QDir(folder).filePath(fileName)).isFile()) return folder;
    return programDir;
}

} // namespace zx
