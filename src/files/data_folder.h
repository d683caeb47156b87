#pragma once
// Where the program finds the files it ships with (the help file). In the build tree they lie
// beside the program; installed, in the data folder share/zendrax of the same prefix
// (PREFIX/bin/zendrax reads PREFIX/share/zendrax/ZENDRAX.HLP).
#include <QString>

namespace zx {

// The installed data folder for a program that runs from `programDir`.
QString installedDataFolder(const QString& programDir);

// The folder that holds `fileName`: the program's own folder when the file is there, else the
// installed data folder when it is there; the program's own folder when neither has it (so the
// operator is told about the place the program looked first).
QString dataFileFolder(const QString& programDir, const QString& fileName);

} // namespace zx
