// Whole files in and out: the atomic write keeps the previous file whenever a write fails.
#include "files/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zx {
namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList entries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// Lets no file of this process grow beyond `bytes` while it lives, as a full disk would.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(AtomicWrite, ReplacesTheWholeFileAndLeavesNoTemporaryBehind) {
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    put(path, QByteArray(5000, 'x'));
    const FileWriteResult w = writeFileAtomically(path, "short\r\n");
    ASSERT_TRUE(w.ok) << w.message.toStdString();
    EXPECT_EQ(contents(path), "short\r\n");
    EXPECT_EQ(entries(dir), QStringList{"list.txt"});
}

TEST(AtomicWrite, AWriteThatFailsHalfWayKeepsThePreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("codes.dat");
    put(path, "previous");
    FileWriteResult w;
    {
        const FileSizeLimit limit(100);
        w = writeFileAtomically(path, QByteArray(9227, 'n'));
    }
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.message.contains(path)) << w.message.toStdString();
    EXPECT_EQ(contents(path), "previous");
    EXPECT_EQ(entries(dir), QStringList{"codes.dat"});
}

TEST(AtomicWrite, WhereNoFileCanBeMadeNothingIsMade) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("sub");
    put(dir.filePath("plain"), "x");
    for (const QString& target :
         {dir.filePath("missing/a.txt"), dir.filePath("sub"), dir.filePath("plain/a.txt")}) {
        const FileWriteResult w = writeFileAtomically(target, "bytes");
        EXPECT_FALSE(w.ok) << target.toStdString();
        EXPECT_TRUE(w.message.contains(target)) << w.message.toStdString();
    }
    EXPECT_EQ(entries(dir), (QStringList{"plain", "sub"}));
    EXPECT_TRUE(QDir(dir.filePath("sub")).isEmpty());
    EXPECT_EQ(contents(dir.filePath("plain")), "x");
}

TEST(ReadFileBytes, TakesFilesUpToTheLimitAndNamesWhatItRefuses) {
    QTemporaryDir dir;
    const QString path = dir.filePath("f.txt");
    put(path, "12345");
    const FileReadResult atLimit = readFileBytes(path, 5);
    ASSERT_TRUE(atLimit.ok());
    EXPECT_EQ(atLimit.bytes, "12345");

    const FileReadResult large = readFileBytes(path, 4);
    EXPECT_EQ(large.status, FileReadStatus::TooLarge);
    EXPECT_TRUE(large.bytes.isEmpty());
    EXPECT_TRUE(large.message.contains(path));

    for (const QString& p : {dir.filePath("missing.txt"), dir.path()}) {
        const FileReadResult r = readFileBytes(p);
        EXPECT_EQ(r.status, FileReadStatus::CannotOpen) << p.toStdString();
        EXPECT_TRUE(r.message.contains(p)) << r.message.toStdString();
    }
}

// The file written in place of another keeps its mode, and its owner and group where the
// writer may give them (the root of a system writing a shared read-only file).
TEST(FileBytes, AReplacedFileKeepsItsModeOwnerAndGroup) {
    QTemporaryDir dir;
    const QString path = dir.filePath("site.vd1");
    const QByteArray name = QFile::encodeName(path);
    for (const mode_t mode : {mode_t{0640}, mode_t{0604}, mode_t{0600}}) {
        put(path, "old");
        ASSERT_EQ(::chmod(name.constData(), mode), 0);
        const bool root = ::geteuid() == 0;
        if (root) {
            ASSERT_EQ(::chown(name.constData(), 4321, 4322), 0);
        }
        ASSERT_TRUE(writeFileAtomically(path, "new").ok);
        struct stat after {};
        ASSERT_EQ(::stat(name.constData(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, mode);
        EXPECT_EQ(contents(path), "new");
        if (root) {
            EXPECT_EQ(after.st_uid, 4321u);
            EXPECT_EQ(after.st_gid, 4322u);
        }
    }
}

// A file created for codes or the image is its owner's only, whatever the umask lets others
// read; another file is as the umask makes it; a file that was there keeps its mode either way.
TEST(FileBytes, ANewFileOfCodesIsItsOwnersOnly) {
    QTemporaryDir dir;
    const mode_t previous = ::umask(022);
    const struct {
        FileAccess access;
        mode_t existing; // 0: no file before
        mode_t mode;
    } cases[] = {
        {FileAccess::OwnerOnly, 0, 0600},
        {FileAccess::Shared, 0, 0644},
        {FileAccess::OwnerOnly, 0644, 0644},
        {FileAccess::Shared, 0600, 0600},
    };
    for (const auto& c : cases) {
        const QString path =
            dir.filePath(QString::number(c.existing) + (c.mode == 0600 ? "o" : "s"));
        const QByteArray name = QFile::encodeName(path);
        if (c.existing != 0) put(path, "old");
        ASSERT_TRUE(c.existing == 0 || ::chmod(name.constData(), c.existing) == 0);
        ASSERT_TRUE(writeFileAtomically(path, "new", c.access).ok);
        struct stat after {};
        ASSERT_EQ(::stat(name.constData(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, c.mode) << path.toStdString();
    }
    ::umask(previous);
}

} // namespace
} // namespace zx
