#include "files/file_lock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace zx {

namespace {

QString lockPathOf(const QString& path) {
    const QFileInfo info(path);
    const QString target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    return target + QStringLiteral(".lock");
}

} // namespace

FileWriteLock::FileWriteLock(const QString& path)
    : path_(path), lock_(std::make_unique<QLockFile>(lockPathOf(path))) {
    // A lock is only as old as one command; a holder that is gone is found by its process.
    lock_->setStaleLockTime(0);
}

FileWriteLock::~FileWriteLock() = default;

QString FileWriteLock::lockFilePath() const {
    return lock_->fileName();
}

bool FileWriteLock::acquire(int waitMs) {
    if (lock_->tryLock(waitMs)) return true;
    switch (lock_->error()) {
    case QLockFile::LockFailedError: {
        qint64 pid = 0;
        QString host, program;
        const QString holder = lock_->getLockInfo(&pid, &host, &program)
                                   ? QStringLiteral(" (%1, %2. folyamat)")
                                         .arg(program.isEmpty() ? host : program)
                                         .arg(pid)
                                   : QString();
        // The lock file's own time: when the holder took the file.
        const QDateTime since = QFileInfo(lockFilePath()).lastModified();
        const QString held =
            QStringLiteral("zárolja: %1%2")
                .arg(QDir::toNativeSeparators(lockFilePath()),
                     since.isValid()
                         ? QStringLiteral(", %1 óta")
                               .arg(since.toString(QStringLiteral("yyyy.MM.dd. HH:mm:ss")))
                         : QString());
        const QString waited =
            waitMs > 0 ? QStringLiteral(", %1 másodperc várakozás után sem szabadult fel")
                             .arg(waitMs / 1000.0, 0, 'g', 2)
                       : QString();
        message_ = QStringLiteral("%1: a file-t egy másik program írja%2%3 (%4); próbálja újra "
                                  "!!!")
                       .arg(path_, holder, waited, held);
        break;
    }
    case QLockFile::PermissionError:
        message_ = QStringLiteral("%1: a zárolófile nem hozható létre a file mappájában "
                                  "(nincs írási jog) !!!")
                       .arg(path_);
        break;
    default:
        message_ = QStringLiteral("%1: a file nem zárolható !!!").arg(path_);
        break;
    }
    return false;
}

} // namespace zx
