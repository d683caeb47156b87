#pragma once
// What the shared open and save dialogs show for each file command: default extension, filter
// and title. Filters are written as the system keeps them, "Name|*.a;*.b|Name|*.*"; qtFilter
// turns one into the form Qt's file dialogs take.
#include <QString>

namespace zx {

struct FileDialogSettings {
    const char* defaultExtension; // without the dot
    const char* filter;
    const char* title; // UTF-8
};

// "Pinkód kódok|*.dat|Minden file|*.*" gives "Pinkód kódok (*.dat);;Minden file (*.*)".
QString qtFilter(const char* filter);

// The folder a file dialog starts in, given the folder it would start in (the one remembered,
// already without symbolic links where it exists) and the home folder: `home` instead of no
// folder, a relative one, or one in the system's pseudo file systems /proc, /sys and /dev (a
// dialog there reads files that never end or block, such as /proc/kmsg); otherwise the
// folder, cleaned of "." and "..".
QString dialogStartFolder(const QString& folder, const QString& home);

// The file an open dialog's choice names. An existing file opens as chosen, with or without an
// extension ("ls" under "Minden file"); the default extension (without its dot) is added only
// to a name that does not exist and has no extension of its own: "iroda" opens "iroda.vdb".
QString openedFileName(const QString& chosen, const QString& defaultExtension);

namespace dialogs {

inline constexpr FileDialogSettings ImportCodeList{"dat", "Pinkód kódok|*.dat|Minden file|*.*",
                                                   "Pinkódok importálása"};
inline constexpr FileDialogSettings ExportCodeList{"dat", "Pinkód kódok|*.dat|Minden file|*.*",
                                                   "Pinkódok exportálása"};
inline constexpr FileDialogSettings ImportCodeText{"txt", "Szövegfile|*.txt|Minden file|*.*",
                                                   "Pinkód kódok importálása"};
inline constexpr FileDialogSettings ExportCodeText{"txt", "Szöveg file|*.txt|Minden file|*.*",
                                                   "Pinkód kódok exportálása"};
inline constexpr FileDialogSettings ImportFreeNumbers{
    "txt", "Pinkód szabad számok|*.txt|Minden file|*.*", "Szabad számok importálása"};
inline constexpr FileDialogSettings ExportFreeNumbers{"txt", "Pinkód számok|*.txt|Minden file|*.*",
                                                      "Szabad számok exportálása"};

} // namespace dialogs

// The database settings of the two shared dialogs. DatabaseDialogDefaults gives both dialogs
// the default extension and the database titles back after every import and export; until the
// first of those the dialogs carry the window's initial titles. Open, Save and Save As set the
// filter themselves; it lists both extensions, so that a file saved with the default extension
// is offered by the same dialog.
namespace DatabaseDialogDefaults {

inline constexpr const char* DefaultExtension = "vdb";
inline constexpr const char* Filter = "Pinkód adatbázis|*.vd1;*.vdb|Minden file|*.*";
inline constexpr const char* OpenTitle = "Pinkód adatbázis megnyitás";
inline constexpr const char* SaveTitle = "Pinkód adatbázis mentése";
inline constexpr const char* InitialOpenTitle = "VARDO-16 adatbázis megnyitás";
inline constexpr const char* InitialSaveTitle = "Pinkód adatok mentése";

} // namespace DatabaseDialogDefaults

} // namespace zx
