// A history that cannot be written: the entry is not kept and the operator is told why, nothing
// is thrown; only a file that SQLite finds corrupt or no database at all is moved aside (with its
// -wal and -shm files) and a new one started. And the window's recorder, which writes on a
// thread of its own and reports by queued signals.
#include "history/history_recorder.h"
#include "history/history_store.h"
#include "history_test_support.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zx {
namespace {

void writeBytes(const QString& path, const QByteArray& bytes, qint64 at = 0) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(at);
    f.write(bytes);
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeHistory(const QString& path) {
    return HistoryStore(path)
        .add(entryAt("2026-01-01T10:00:00Z", "Pécs", "", configurationImage(DeviceModel::Line4, 2)))
        .ok();
}

// Sets or clears the immutable flag: what makes a file read-only for root, whom modes do not
// stop. False where the file system does not take it.
bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    const bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                      (flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL,
                       ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    if (fd >= 0) ::close(fd);
    return done;
}

// A second connection holding the file's write lock.
struct Holder {
    QSqlDatabase db;
    std::unique_ptr<QSqlQuery> query;
    bool hold(const QString& path) {
        db = QSqlDatabase::addDatabase("QSQLITE", "holder");
        db.setDatabaseName(path);
        query = std::make_unique<QSqlQuery>(db);
        return db.open() && query->exec("BEGIN IMMEDIATE");
    }
    void release() {
        query.reset();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
    }
};

TEST(HistoryFailure, AnUnwritableHistoryKeepsNothingAndSaysWhyOnlyACorruptOneIsMovedAside) {
    Holder holder;
    const struct {
        const char* name;
        // Makes the history the case needs; false: this machine cannot make it.
        std::function<bool(const QString&)> prepare;
        const char* why; // in the report of an entry not kept; null: kept in a new file
    } cases[] = {
        {"no database at all",
         [](const QString& path) {
             writeBytes(path, QByteArray(5000, 'x'));
             writeBytes(path + "-wal", "wal");
             writeBytes(path + "-shm", "shm");
             return true;
         },
         nullptr},
        {"damaged pages",
         [](const QString& path) {
             // Past the first page (the schema) every table's pages overwritten.
             return writeHistory(path) &&
                    (writeBytes(path, QByteArray(3 * 4096, '\xff'), 4096), true);
         },
         nullptr},
        {"read-only file",
         [](const QString& path) {
             return writeHistory(path) &&
                    (::geteuid() == 0 ? setImmutable(path, true)
                                      : ::chmod(QFile::encodeName(path).constData(), 0400) == 0);
         },
         "nem írható"},
        {"held by another writer past the timeout",
         [&](const QString& path) { return writeHistory(path) && holder.hold(path); },
         "más program foglalja"},
        {"folder that is a file",
         [](const QString& path) { return writeBytes(QFileInfo(path).path(), "file"), true; },
         "mappa nem hozható létre"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("zendrax/history.sqlite");
        if (!c.prepare(path)) {
            std::cout << "[ skipped ] " << c.name << ": cannot be made on this machine\n";
            continue;
        }
        const QByteArray before = bytesOf(path);
        const QByteArray wal = bytesOf(path + "-wal");
        HistoryWrite write;
        {
            HistoryStore store(path, 50);
            write = writeHistoryEntry(store, entryAt("2026-02-01T10:00:00Z", "Győr", "gyor"));
        }
        holder.release();
        setImmutable(path, false);
        ::chmod(QFile::encodeName(path).constData(), 0600);
        ASSERT_EQ(write.reports.size(), 1);
        const std::string report = write.reports[0].toStdString();
        const QStringList aside = QDir(dir.filePath("zendrax")).entryList({"history-corrupt-*"});
        EXPECT_EQ(write.id.has_value(), c.why == nullptr);
        if (c.why) {
            EXPECT_TRUE(aside.isEmpty()) << aside.join(' ').toStdString();
            EXPECT_EQ(bytesOf(path), before);
            EXPECT_TRUE(write.reports[0].startsWith("A művelet nem került az előzmények közé"))
                << report;
            EXPECT_TRUE(write.reports[0].contains(QString::fromUtf8(c.why))) << report;
            continue;
        }
        ASSERT_EQ(aside.size(), 3) << aside.join(' ').toStdString();
        const QString moved = dir.filePath("zendrax/" + aside[0]);
        EXPECT_EQ(bytesOf(moved), before);
        EXPECT_EQ(bytesOf(moved + "-wal"), wal);
        EXPECT_TRUE(write.reports[0].contains(moved) && write.reports[0].contains(path)) << report;
        EXPECT_EQ(HistoryStore(path).list().value->size(), 1u);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
}

TEST(BackgroundHistoryRecorder, WritesOffTheCallersThreadAndReportsOnItsOwn) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    ASSERT_TRUE(writeHistory(path));
    Holder holder;
    ASSERT_TRUE(holder.hold(path));
    {
        BackgroundHistoryRecorder recorder(path);
        QSignalSpy recorded(&recorder, &BackgroundHistoryRecorder::recorded);
        // Both calls return while the file is held: had either waited for the database here,
        // it would have given up before the holder lets go, and reported the entry lost.
        recorder.record(historyEntry(HistoryOperation::Download, HistoryOutcome::Success));
        recorder.record(historyEntry(HistoryOperation::SetClock, HistoryOutcome::Failure));
        ASSERT_TRUE(holder.query->exec("COMMIT"));
        while (recorded.size() < 2 && recorded.wait(10000)) {
        }
        EXPECT_EQ(recorded.size(), 2);
    }
    holder.release();
    const auto listed = HistoryStore(path).list();
    ASSERT_EQ(listed.value->size(), 3u);
    EXPECT_EQ(listed.value->at(0).operation, HistoryOperation::SetClock);
    EXPECT_FALSE(listed.value->at(0).user.isEmpty() || listed.value->at(0).host.isEmpty());

    writeBytes(dir.filePath("blocked"), "a file, not a folder");
    BackgroundHistoryRecorder blocked(dir.filePath("blocked/history.sqlite"));
    QString message;
    QObject::connect(&blocked, &BackgroundHistoryRecorder::reported, &blocked,
                     [&](const QString& m) {
                         EXPECT_EQ(QThread::currentThread(), qApp->thread());
                         message = m;
                     });
    QSignalSpy reported(&blocked, &BackgroundHistoryRecorder::reported);
    blocked.record(historyEntry(HistoryOperation::Upload, HistoryOutcome::Success));
    ASSERT_TRUE(reported.wait(10000));
    EXPECT_TRUE(message.startsWith("A művelet nem került az előzmények közé"))
        << message.toStdString();
}

} // namespace
} // namespace zx
