#pragma once
// What --version prints in both programs.
#include <QString>

namespace zx {

// The project's version, e.g. "0.1".
QString programVersion();

// "NAME VERSION (Qt X.Y.Z)": the program, its version and the Qt it runs with (the library
// loaded now, which may be newer than the one it was built against).
QString versionLine(const QString& programName);

} // namespace zx
