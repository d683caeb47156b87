#include "files/program_version.h"

#include <QtGlobal>

namespace zx {

QString programVersion() {
    return QStringLiteral(ZX_VERSION);
}

QString versionLine(const QString& programName) {
    return QStringLiteral("%1 %2 (Qt %3)")
        .arg(programName, programVersion(), QString::fromLatin1(qVersion()));
}

} // namespace zx
