#pragma once
// Whole files in and out. Every file the program writes goes through writeFileAtomically: the
// bytes go to a temporary file in the target's folder, which replaces the target only once
// every byte is on disk, so a failed write leaves the previous file (or no file) as it was; the
// new file keeps the mode, owner and group of the one it replaces. A file created where there was
// none is readable by others as the user's umask allows, or, for a file that holds PIN codes or
// the configuration image, by its owner only.
// Readers take a file whole, up to a limit, so that no reader works on half of it.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zx {

struct FileWriteResult {
    bool ok = false;
    QString message; // the system's error text with the file's name, when not ok
};

// Who may read a file the program creates (a file that is there keeps its mode, owner and group).
enum class FileAccess {
    Shared,    // as the umask allows: settings, free-number lists
    OwnerOnly, // 0600: database files, backups, code lists, traces, code reports, saved lists
};

[[nodiscard]] FileWriteResult writeFileAtomically(const QString& path, QByteArrayView bytes,
                                                  FileAccess access = FileAccess::Shared);

// The mode a file created at `path` gets: the existing file's permissions when there is one,
// else those of `access` (0600 for OwnerOnly, 0666 less the umask for Shared). Applied to an
// open file (`fd`) of the writer; false when the mode could not be set.
bool giveCreatedFileMode(const QString& path, int fd, FileAccess access);

enum class FileReadStatus { Ok, CannotOpen, CannotRead, TooLarge };

struct FileReadResult {
    FileReadStatus status = FileReadStatus::CannotOpen;
    QByteArray bytes;
    QString message; // what the operator is told when not ok()
    bool ok() const { return status == FileReadStatus::Ok; }
};

// Larger than any list file the unit's tables could fill many times over.
inline constexpr qint64 ListFileSizeLimit = 16 * 1024 * 1024;

// The file's bytes; a missing file, a folder, an unreadable file or one above maxBytes is
// refused with a message that names it.
FileReadResult readFileBytes(const QString& path, qint64 maxBytes = ListFileSizeLimit);

} // namespace zx
