#pragma once
// A file held against other writers while it is read, changed and written back: a lock file
// beside it ("FILE.lock", with the holder's process and host), so that two programs (two
// commands, or a command and the window's Save) never both write what each read before the
// other's change. A lock left by a process that is gone is taken over.
#include <QLockFile>
#include <QString>

#include <memory>

namespace zx {

// How long a second writer waits for the first before it gives up.
inline constexpr int FileLockWaitMs = 5000;

class FileWriteLock {
  public:
    // The lock of `path` (the file it names, through symbolic links), not yet taken.
    explicit FileWriteLock(const QString& path);
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock&) = delete;
    FileWriteLock& operator=(const FileWriteLock&) = delete;

    // Takes the lock, waiting up to waitMs while another holds it (0: one try, no waiting, as
    // the window asks). False when it could not be taken; message() then says why, naming the
    // file, the holder, the lock file that holds it and since when.
    bool acquire(int waitMs = FileLockWaitMs);
    QString message() const { return message_; }
    // The lock file beside the file ("FILE.lock").
    QString lockFilePath() const;

  private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    QString message_;
};

} // namespace zx
