#include "app/cli_io.h"

#include "app/cli_common.h"
#include "files/file_bytes.h"

#include <cstdio>

namespace zx::cli {

bool isStandardStream(const QString& path) {
    return path == QLatin1String("-");
}

QString fileLabel(const QString& path, bool written) {
    if (!isStandardStream(path)) return path;
    return written ? QStringLiteral("(szabványos kimenet)")
                   : QStringLiteral("(szabványos bemenet)");
}

QString aboutFile(const QString& path, const QString& message, bool written) {
    if (!isStandardStream(path) && message.contains(path)) return message;
    return fileLabel(path, written) + QStringLiteral(": ") + message;
}

std::optional<QByteArray> readInput(const QString& path, qint64 limit) {
    if (!isStandardStream(path)) {
        const FileReadResult file = readFileBytes(path, limit);
        if (!file.ok()) {
            err(aboutFile(path, file.message));
            return std::nullopt;
        }
        return file.bytes;
    }
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, stdin);
        bytes.append(buffer, static_cast<qsizetype>(n));
        if (bytes.size() > limit) {
            err(aboutFile(path,
                          QStringLiteral("túl hosszú (legfeljebb %1 bájt lehet) !!!").arg(limit)));
            return std::nullopt;
        }
        if (n < sizeof buffer) break;
    }
    if (std::ferror(stdin)) {
        err(aboutFile(path, QStringLiteral("nem olvasható !!!")));
        return std::nullopt;
    }
    return bytes;
}

bool writeOutput(const QString& path, QByteArrayView bytes, FileAccess access) {
    if (!isStandardStream(path)) {
        const FileWriteResult written = writeFileAtomically(path, bytes, access);
        if (!written.ok) err(aboutFile(path, written.message, true));
        return written.ok;
    }
    return outBytes(bytes.data(), static_cast<std::size_t>(bytes.size()));
}

} // namespace zx::cli
