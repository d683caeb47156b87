#pragma once
// Whole files in and out. Every file the program writes goes through writeFileAtomically: the
// bytes go to a temporary file in the target's folder, which replaces the target only once
// every byte is on disk, so a failed write leaves the previous file (or no file) as it was; the
// new file keeps the mode, owner and group of the one it replaces.
// Readers take a file whole, up to a limit, so that no reader works on half of it.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zx {

struct FileWriteResult {
    bool ok = false;
    QString message; // the system's error text with the file's name, when not ok
};

[[nodiscard]] FileWriteResult writeFileAtomically(const QString& path, QByteArrayView bytes);

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
