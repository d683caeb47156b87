#include "files/file_bytes.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zx {

FileWriteResult writeFileAtomically(const QString& path, QByteArrayView bytes) {
    QSaveFile file(path);
    FileWriteResult result;
    auto failure = [&](const QString& reason) {
        file.cancelWriting();
        result.message = QStringLiteral("A file nem írható: %1 (%2) !!!").arg(path, reason);
        return result;
    };
    // Unbuffered, so that a short write (a full disk, a size limit) shows in write() itself:
    // a buffered save file flushes inside commit() and renames the shortened file over the
    // target even when that flush fails.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file.errorString());
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) return failure(file.errorString());
    if (!file.commit()) return failure(file.errorString());
    result.ok = true;
    return result;
}

FileReadResult readFileBytes(const QString& path, qint64 maxBytes) {
    FileReadResult result;
    auto failure = [&](FileReadStatus status, const QString& reason) {
        result.status = status;
        result.bytes.clear();
        result.message = QStringLiteral("A file nem olvasható: %1 (%2) !!!").arg(path, reason);
        return result;
    };
    const QFileInfo info(path);
    if (info.isDir()) return failure(FileReadStatus::CannotOpen, QStringLiteral("ez egy mappa"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(FileReadStatus::CannotOpen, file.errorString());
    // One byte more than allowed tells a file at the limit from a larger one, also for files
    // whose size the system does not know in advance.
    result.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(FileReadStatus::CannotRead, file.errorString());
    if (result.bytes.size() > maxBytes) {
        failure(FileReadStatus::TooLarge, QString());
        result.message = QStringLiteral("A file túl nagy: %1 (legfeljebb %2 bájt lehet) !!!")
                             .arg(path)
                             .arg(maxBytes);
        return result;
    }
    result.status = FileReadStatus::Ok;
    return result;
}

} // namespace zx
