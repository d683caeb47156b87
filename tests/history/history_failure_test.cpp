// A history that cannot be written: the entry is not kept and the operator is told why, and
// nothing is thrown; only a file that SQLite finds corrupt or no database at all is moved aside
// (with its -wal and -shm files) and a new one started. And the window's recorder, which writes
// on a thread of its own and reports by queued signals.
#include "history/history_recorder.h"
#include "history/history_store.h"
#include "history_test_support.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zx {
namespace {

void writeBytes(const QString& path, const QByteArray& bytes, qint64 at = 0) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(at);
    f.write(bytes);
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A history holding one entry, closed (its log moved into the file).
void writeHistory(const QString& path) {
    HistoryStore store(path);
    ASSERT_TRUE(store
                    .add(entryAt("2026-01-01T10:00:00Z", "Pécs", "pecs",
                                 configurationImage(DeviceModel::Line4, 21)))
                    .ok());
}

// The file made unwritable even for root (whom file modes do not stop): immutable where the
// file system allows it. False when nothing could make it so.
bool makeReadOnly(const QString& path) {
    if (::geteuid() != 0) return ::chmod(QFile::encodeName(path).constData(), 0400) == 0;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    const bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                      (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    if (fd >= 0) ::close(fd);
    return done;
}

void makeWritable(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    if (fd >= 0) ::close(fd);
    ::chmod(QFile::encodeName(path).constData(), 0600);
}

QStringList asideFiles(const QString& folder) {
    return QDir(folder).entryList({"history-corrupt-*"}, QDir::Files, QDir::Name);
}

TEST(HistoryFailure, AnUnwritableHistoryKeepsNothingAndSaysWhyOnlyACorruptOneIsMovedAside) {
    struct Case {
        const char* name;
        // Makes the history at the path what the case needs; false: it cannot be made here.
        std::function<bool(const QString&)> prepare;
        bool kept;
        const char* why; // in the report of an entry not kept
        bool movedAside;
    };
    const Case cases[] = {
        {"no database at all",
         [](const QString& path) {
             QDir().mkpath(QFileInfo(path).path());
             writeBytes(path, QByteArray(5000, 'x'));
             writeBytes(path + "-wal", "wal");
             writeBytes(path + "-shm", "shm");
             return true;
         },
         true, "", true},
        {"damaged pages",
         [](const QString& path) {
             writeHistory(path);
             // Past the first page (the schema) every table's pages overwritten.
             writeBytes(path, QByteArray(3 * 4096, '\xff'), 4096);
             return true;
         },
         true, "", true},
        {"read-only file",
         [](const QString& path) {
             writeHistory(path);
             return makeReadOnly(path);
         },
         false, "nem írható", false},
        {"folder that is a file",
         [](const QString& path) {
             QDir().mkpath(QFileInfo(QFileInfo(path).path()).path());
             writeBytes(QFileInfo(path).path(), "a file");
             return true;
         },
         false, "mappa nem hozható létre", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("zendrax/history.sqlite");
        if (!c.prepare(path)) {
            std::cout << "[ skipped ] " << c.name << ": cannot be made on this file system\n";
            continue;
        }
        const QByteArray before = bytesOf(path);
        const QByteArray wal = bytesOf(path + "-wal");
        HistoryWrite write;
        {
            HistoryStore store(path);
            write = writeHistoryEntry(store, entryAt("2026-02-01T10:00:00Z", "Győr", "gyor",
                                                     configurationImage(DeviceModel::Line4, 9)));
        }
        makeWritable(path);
        EXPECT_EQ(write.id.has_value(), c.kept);
        const QStringList aside = asideFiles(QFileInfo(path).path());
        if (c.movedAside) {
            ASSERT_EQ(aside.size(), 3) << aside.join(' ').toStdString();
            const QString moved = QFileInfo(path).dir().filePath(aside[0]);
            EXPECT_EQ(bytesOf(moved), before);
            EXPECT_EQ(bytesOf(moved + "-wal"), wal);
            ASSERT_EQ(write.reports.size(), 1);
            EXPECT_TRUE(write.reports[0].contains(moved)) << write.reports[0].toStdString();
            EXPECT_TRUE(write.reports[0].contains(path)) << write.reports[0].toStdString();
            // The new history holds the entry, for its owner alone.
            HistoryStore fresh(path);
            EXPECT_EQ(fresh.list().value->size(), 1u);
            struct stat st {};
            ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0600u);
        } else {
            EXPECT_TRUE(aside.isEmpty()) << aside.join(' ').toStdString();
            EXPECT_EQ(bytesOf(path), before);
            ASSERT_EQ(write.reports.size(), 1);
            EXPECT_TRUE(write.reports[0].startsWith("A művelet nem került az előzmények közé"))
                << write.reports[0].toStdString();
            EXPECT_TRUE(write.reports[0].contains(QString::fromUtf8(c.why)))
                << write.reports[0].toStdString();
        }
    }
}

TEST(HistoryFailure, AWriterHeldOffPastItsTimeoutKeepsNothingAndSaysTheFileIsTaken) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    writeHistory(path);
    QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
    holder.setDatabaseName(path);
    ASSERT_TRUE(holder.open());
    QSqlQuery hold(holder);
    ASSERT_TRUE(hold.exec("BEGIN IMMEDIATE"));

    HistoryStore store(path, 50);
    const HistoryWrite write =
        writeHistoryEntry(store, entryAt("2026-02-01T10:00:00Z", "Győr", "gyor"));
    EXPECT_FALSE(write.id);
    ASSERT_EQ(write.reports.size(), 1);
    EXPECT_TRUE(write.reports[0].contains("más program foglalja"))
        << write.reports[0].toStdString();

    hold.exec("ROLLBACK");
    hold = QSqlQuery();
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
    EXPECT_TRUE(asideFiles(dir.path()).isEmpty());
}

TEST(BackgroundHistoryRecorder, RecordsOffTheCallersThreadWhileAnotherWriterHoldsTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    writeHistory(path);
    QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
    holder.setDatabaseName(path);
    ASSERT_TRUE(holder.open());
    QSqlQuery hold(holder);
    ASSERT_TRUE(hold.exec("BEGIN IMMEDIATE"));
    {
        BackgroundHistoryRecorder recorder(path);
        QSignalSpy recorded(&recorder, &BackgroundHistoryRecorder::recorded);
        QSignalSpy reported(&recorder, &BackgroundHistoryRecorder::reported);
        // Both calls return while the file is held: had either waited for the database here,
        // it would have given up before the holder lets go below, and reported the entry lost.
        recorder.record(historyEntry(HistoryOperation::Download, HistoryOutcome::Success));
        recorder.record(historyEntry(HistoryOperation::SetClock, HistoryOutcome::Failure));
        ASSERT_TRUE(hold.exec("COMMIT"));
        while (recorded.size() < 2 && recorded.wait(10000)) {
        }
        EXPECT_EQ(recorded.size(), 2);
        EXPECT_TRUE(reported.isEmpty()) << reported.value(0).value(0).toString().toStdString();
    }
    hold = QSqlQuery();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
    HistoryStore store(path);
    const auto listed = store.list();
    ASSERT_EQ(listed.value->size(), 3u);
    EXPECT_EQ(listed.value->at(0).operation, HistoryOperation::SetClock);
    EXPECT_FALSE(listed.value->at(0).user.isEmpty());
    EXPECT_FALSE(listed.value->at(0).host.isEmpty());
}

TEST(BackgroundHistoryRecorder, AnEntryNotKeptIsReportedOnTheRecordersThread) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("blocked"), "a file, not a folder");
    BackgroundHistoryRecorder recorder(dir.filePath("blocked/zendrax/history.sqlite"));
    QThread* reportedOn = nullptr;
    QString message;
    QObject::connect(&recorder, &BackgroundHistoryRecorder::reported, &recorder,
                     [&](const QString& m) {
                         reportedOn = QThread::currentThread();
                         message = m;
                     });
    QSignalSpy reported(&recorder, &BackgroundHistoryRecorder::reported);
    recorder.record(historyEntry(HistoryOperation::Upload, HistoryOutcome::Success));
    ASSERT_TRUE(reported.wait(10000));
    EXPECT_EQ(reportedOn, QThread::currentThread());
    EXPECT_TRUE(message.startsWith("A művelet nem került az előzmények közé"))
        << message.toStdString();
}

} // namespace
} // namespace zx
