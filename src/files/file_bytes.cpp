#include "files/file_bytes.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>
#include <unistd.h>

namespace zx {

namespace {

// The process's umask. The system tells it without changing it; only where it does not is it
// set and put back at once (another thread could create a file in between).
mode_t currentUmask() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (!line.startsWith("Umask:")) continue;
            bool ok = false;
            const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
            if (ok) return static_cast<mode_t>(mask & 0777);
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

// The new file gets the mode, owner and group of the one it replaces (a read-only file stays
// read-only, a file of a shared group stays in it). An owner or group the writer may not give
// is left as the system gives it. A new file gets the mode its access asks for.
bool giveCreatedFileMode(const QString& path, int fd, FileAccess access) {
    if (fd < 0) return false;
    struct stat existing {};
    if (::stat(QFile::encodeName(path).constData(), &existing) == 0) {
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) [[maybe_unused]]
            const int ignored = ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
        return ::fchmod(fd, existing.st_mode & 07777) == 0;
    }
    const mode_t mode = access == FileAccess::OwnerOnly ? 0600 : 0666 & ~currentUmask();
    return ::fchmod(fd, mode) == 0;
}

FileWriteResult writeFileAtomically(const QString& path, QByteArrayView bytes, FileAccess access) {
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
    // A file of codes is never readable by others, not even for a moment.
    if (!giveCreatedFileMode(path, file.handle(), access) && access == FileAccess::OwnerOnly)
        return failure(QStringLiteral("a jogosultság nem állítható be"));
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
