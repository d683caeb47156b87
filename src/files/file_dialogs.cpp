#include "files/file_dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace zx {

QString qtFilter(const char* filter) {
    const QStringList parts = QString::fromUtf8(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(' ');
        entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString dialogStartFolder(const QString& folder, const QString& home) {
    if (folder.isEmpty() || QDir::isRelativePath(folder)) return home;
    const QString clean = QDir::cleanPath(folder);
    for (const char* system : {"/proc", "/sys", "/dev"}) {
        const QString root = QLatin1String(system);
        if (clean == root || clean.startsWith(root + QLatin1Char('/'))) return home;
    }
    return clean;
}

QString openedFileName(const QString& chosen, const QString& defaultExtension) {
    if (chosen.isEmpty() || defaultExtension.isEmpty()) return chosen;
    const QFileInfo info(chosen);
    if (info.exists() || info.fileName().contains(QLatin1Char('.'))) return chosen;
    return chosen + QLatin1Char('.') + defaultExtension;
}

} // namespace zx
