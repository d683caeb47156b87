#pragma once
// Files as the commands of zendrax-cli read and write them whole: "-" is standard input where a
// file is read and standard output where one is written, so that commands can stand in a pipe.
// Every message about a file names it.
#include "files/file_bytes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace zx::cli {

// "-": standard input or output instead of a file.
bool isStandardStream(const QString& path);

// The file as messages name it ("-" as standard input or output).
QString fileLabel(const QString& path, bool written = false);

// A message about the file, naming it in front unless it names it already.
QString aboutFile(const QString& path, const QString& message, bool written = false);

// The file's bytes (standard input for "-"), at most `limit`; nothing after a message naming it.
std::optional<QByteArray> readInput(const QString& path, qint64 limit);

// The bytes written atomically into the file (created with `access`), or to standard output for
// "-"; false after a message naming the file (a failed standard output is said when the command
// ends).
bool writeOutput(const QString& path, QByteArrayView bytes, FileAccess access);

} // namespace zx::cli
