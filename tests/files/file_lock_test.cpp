// The lock a writer holds on a database file: a second writer waits, then gives up naming the
// file and the holder; once the first lets go, it gets the file.
#include "files/file_lock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(FileWriteLock, ASecondWriterWaitsThenFailsNamingTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("site.vd1");
    QFile(path).open(QIODevice::WriteOnly);
    // A link to the file shares its lock: the file is locked, not its name.
    ASSERT_TRUE(QFile::link(path, dir.filePath("link.vd1")));
    {
        FileWriteLock first(path);
        ASSERT_TRUE(first.acquire(0));
        for (const QString& name : {path, dir.filePath("link.vd1")}) {
            FileWriteLock second(name);
            EXPECT_FALSE(second.acquire(50)) << name.toStdString();
            EXPECT_TRUE(second.message().startsWith(name)) << second.message().toStdString();
            EXPECT_TRUE(
                second.message().contains(QString::number(QCoreApplication::applicationPid())))
                << second.message().toStdString();
        }
    }
    FileWriteLock after(path);
    EXPECT_TRUE(after.acquire(0));
    // Nothing but the file is left once the lock is let go.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // site.vd1, link, its lock
}

} // namespace
} // namespace zx
