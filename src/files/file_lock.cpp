#include "files/file_lock.h"

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
        message_ = QStringLiteral("%1: a file-t egy másik program írja%2, %3 másodperc "
                                  "várakozás után sem szabadult fel; próbálja újra !!!")
                       .arg(path_, holder)
                       .arg(waitMs / 1000.0, 0, 'g', 2);
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
