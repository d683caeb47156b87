// The history's store on a real SQLite file: what an entry keeps, images kept once, the list's
// filters, a file of the first schema version, two writers at once, and pruning.
#include "history/history_store.h"
#include "history_test_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

namespace zx {
namespace {

class HistoryStoreTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("data/zendrax/history.sqlite"); }
};

TEST_F(HistoryStoreTest, KeepsEveryFieldAndEachDistinctImageOnceForItsOwnerAlone) {
    HistoryStore store(path());
    const HistoryImage a = configurationImage(DeviceModel::Line4, 21);
    const HistoryImage b = configurationImage(DeviceModel::Line16, 22);
    HistoryEntry first = entryAt("2026-01-10T08:00:00Z", "Pécs", "pecs", a);
    HistoryEntry same = entryAt("2026-01-11T08:00:00Z", "Győr", "gyor", a);
    same.operation = HistoryOperation::Upload;
    same.outcome = HistoryOutcome::Cancelled;
    same.partial = true;
    same.unitModel = std::nullopt;
    same.message = QStringLiteral("Megszakítva, \"idézet\"\nkét sor");
    HistoryEntry other = entryAt("2026-01-12T08:00:00Z", "Győr", "gyor", b);
    HistoryEntry clock = entryAt("2026-01-13T08:00:00Z", "Győr", "", std::nullopt);

    std::vector<HistoryEntry> given{first, same, other, clock};
    for (HistoryEntry& e : given) {
        const HistoryResult<qint64> id = store.add(e);
        ASSERT_TRUE(id.ok()) << id.error.toStdString();
        e.id = *id.value;
    }
    EXPECT_EQ(queryValue(path(), "SELECT count(*) FROM images").toInt(), 2);

    for (const HistoryEntry& e : given) {
        const HistoryResult<HistoryEntry> read = store.entry(e.id);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        HistoryEntry expected = e;
        expected.imageDigest = read.value->imageDigest;
        EXPECT_EQ(*read.value, expected) << e.id;
        EXPECT_EQ(read.value->imageDigest.isEmpty(), !e.image);
    }
    EXPECT_EQ(store.entry(1).value->imageDigest, store.entry(2).value->imageDigest);
    EXPECT_NE(store.entry(1).value->imageDigest, store.entry(3).value->imageDigest);
    EXPECT_FALSE(store.entry(99).ok());

    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(QFileInfo(path()).path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(HistoryStoreTest, ListsNewestFirstThroughEachFilter) {
    HistoryStore store(path());
    const HistoryImage image = configurationImage(DeviceModel::Line4, 21);
    // ids 1..5
    for (const auto& [time, site, connection] :
         std::vector<std::tuple<const char*, const char*, const char*>>{
             {"2026-01-01T10:00:00Z", "Pécs", "pecs"},
             {"2026-01-03T10:00:00Z", "Győr", "gyor"},
             {"2026-01-02T10:00:00Z", "Pécs", "modem"},
             {"2026-01-04T10:00:00Z", "Pécs", "pecs"},
             {"2026-01-04T10:00:00Z", "Győr", "pecs"}})
        ASSERT_TRUE(store.add(entryAt(time, site, connection, image)).ok());

    const QDateTime jan3 = QDateTime::fromString("2026-01-03T10:00:00Z", Qt::ISODate);
    const struct {
        HistoryFilter filter;
        std::vector<qint64> ids;
    } cases[] = {
        {{}, {5, 4, 2, 3, 1}},       {{"Pécs", {}, {}}, {4, 3, 1}}, {{{}, "pecs", {}}, {5, 4, 1}},
        {{{}, {}, jan3}, {5, 4, 2}}, {{"Pécs", "pecs", jan3}, {4}}, {{"Szeged", {}, {}}, {}},
    };
    for (const auto& c : cases) {
        const auto listed = store.list(c.filter);
        ASSERT_TRUE(listed.ok()) << listed.error.toStdString();
        std::vector<qint64> ids;
        for (const HistoryEntry& e : *listed.value) {
            ids.push_back(e.id);
            EXPECT_FALSE(e.image) << "a list leaves the bytes out";
            EXPECT_FALSE(e.imageDigest.isEmpty());
        }
        EXPECT_EQ(ids, c.ids) << c.filter.site.toStdString() << " "
                              << c.filter.connection.toStdString();
    }
}

// A file as the first version wrote it: images as their bytes, no encoding column.
void writeVersionOneFile(const QString& path, const HistoryImage& image) {
    QFileInfo(path).dir().mkpath(".");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "version-one");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char* sql :
             {"CREATE TABLE images (sha256 BLOB PRIMARY KEY, bytes BLOB NOT NULL) WITHOUT ROWID",
              "CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, time INTEGER NOT "
              "NULL, user TEXT NOT NULL, host TEXT NOT NULL, connection TEXT NOT NULL, port TEXT "
              "NOT NULL, speed INTEGER NOT NULL, phone TEXT NOT NULL, unit_model INTEGER, file "
              "TEXT NOT NULL, site TEXT NOT NULL, owner TEXT NOT NULL, operation TEXT NOT NULL, "
              "outcome TEXT NOT NULL, message TEXT NOT NULL, image BLOB REFERENCES "
              "images(sha256), image_model INTEGER, partial INTEGER NOT NULL DEFAULT 0)",
              "CREATE INDEX entries_time ON entries(time)", "PRAGMA user_version=1"})
            ASSERT_TRUE(q.exec(sql)) << sql;
        const QByteArray bytes(reinterpret_cast<const char*>(image.image.bytes().data()),
                               ImageSize);
        const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
        q.prepare("INSERT INTO images VALUES (?, ?)");
        q.addBindValue(digest);
        q.addBindValue(bytes);
        ASSERT_TRUE(q.exec());
        q.prepare("INSERT INTO entries VALUES (7, 1767254400000, 'régi', 'gép', 'pecs', 'COM1', "
                  "9600, '', 4, 'a.vd1', 'Pécs', 'Kft.', 'upload', 'success', 'Sikeres "
                  "feltöltés', ?, 4, 0)");
        q.addBindValue(digest);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase("version-one");
}

TEST_F(HistoryStoreTest, BringsAFileOfTheFirstVersionUpToDateKeepingItsEntries) {
    const HistoryImage image = configurationImage(DeviceModel::Line4, 21);
    writeVersionOneFile(path(), image);

    HistoryStore store(path());
    const HistoryResult<HistoryEntry> old = store.entry(7);
    ASSERT_TRUE(old.ok()) << old.error.toStdString();
    EXPECT_EQ(old.value->user, "régi");
    EXPECT_EQ(old.value->operation, HistoryOperation::Upload);
    EXPECT_EQ(old.value->time, QDateTime::fromString("2026-01-01T08:00:00Z", Qt::ISODate));
    ASSERT_TRUE(old.value->image);
    EXPECT_EQ(*old.value->image, image);
    EXPECT_EQ(queryValue(path(), "PRAGMA user_version").toInt(), HistorySchemaVersion);

    // The same configuration again shares the image kept by the first version.
    const HistoryResult<qint64> added =
        store.add(entryAt("2026-02-01T08:00:00Z", "Pécs", "pecs", image));
    ASSERT_TRUE(added.ok()) << added.error.toStdString();
    EXPECT_EQ(*added.value, 8);
    EXPECT_EQ(queryValue(path(), "SELECT count(*) FROM images").toInt(), 1);
    EXPECT_EQ(store.entry(8).value->image, image);
}

TEST_F(HistoryStoreTest, TwoWritersAtOnceBothKeepEveryEntry) {
    constexpr int PerWriter = 40;
    const auto writer = [this](int coPosition, std::vector<qint64>& ids) {
        HistoryStore store(path());
        for (int i = 0; i < PerWriter; ++i) {
            const HistoryResult<qint64> id =
                store.add(entryAt("2026-01-01T10:00:00Z", "Pécs", "pecs",
                                  configurationImage(DeviceModel::Line4, coPosition + i % 3)));
            if (id.ok()) ids.push_back(*id.value);
        }
    };
    std::vector<qint64> a;
    std::vector<qint64> b;
    std::thread first(writer, 10, std::ref(a));
    std::thread second(writer, 20, std::ref(b));
    first.join();
    second.join();
    EXPECT_EQ(a.size(), std::size_t{PerWriter});
    EXPECT_EQ(b.size(), std::size_t{PerWriter});
    HistoryStore reader(path());
    EXPECT_EQ(reader.list().value->size(), std::size_t{2 * PerWriter});
    EXPECT_EQ(queryValue(path(), "SELECT count(*) FROM images").toInt(), 6);
}

TEST_F(HistoryStoreTest, PruneRemovesOlderEntriesAndTheImagesNoEntryPointsAt) {
    HistoryStore store(path());
    const HistoryImage onlyOld = configurationImage(DeviceModel::Line4, 21);
    const HistoryImage shared = configurationImage(DeviceModel::Line4, 22);
    ASSERT_TRUE(store.add(entryAt("2026-01-01T10:00:00Z", "Pécs", "pecs", onlyOld)).ok());
    ASSERT_TRUE(store.add(entryAt("2026-01-02T10:00:00Z", "Pécs", "pecs", shared)).ok());
    ASSERT_TRUE(store.add(entryAt("2026-01-03T10:00:00Z", "Pécs", "pecs")).ok());
    ASSERT_TRUE(store.add(entryAt("2026-01-05T10:00:00Z", "Pécs", "pecs", shared)).ok());

    const HistoryResult<int> removed =
        store.prune(QDateTime::fromString("2026-01-03T10:00:00Z", Qt::ISODate));
    ASSERT_TRUE(removed.ok()) << removed.error.toStdString();
    EXPECT_EQ(*removed.value, 2);
    const auto left = store.list();
    std::vector<qint64> ids;
    for (const HistoryEntry& e : *left.value)
        ids.push_back(e.id);
    EXPECT_EQ(ids, (std::vector<qint64>{4, 3}));
    EXPECT_EQ(queryValue(path(), "SELECT count(*) FROM images").toInt(), 1);
    EXPECT_EQ(store.entry(4).value->image, shared);
}

} // namespace
} // namespace zx
