// The history's store on a real SQLite file: what an entry keeps, images kept once, the list's
// filters, a file of the first schema version, two writers at once, and pruning.
#include "history/history_store.h"
#include "history_test_support.h"

#include <QCryptographicHash>
#include <QDir>
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
    std::vector<qint64> listed(HistoryStore& store, const HistoryFilter& filter = {}) {
        const auto list = store.list(filter);
        EXPECT_TRUE(list.ok()) << list.error.toStdString();
        std::vector<qint64> ids;
        for (const HistoryEntry& e : list.value.value_or(std::vector<HistoryEntry>{}))
            ids.push_back(e.id);
        return ids;
    }
};

unsigned modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777 : 0;
}

TEST_F(HistoryStoreTest, KeepsEveryFieldAndEachImageOnceForItsOwnerAlone) {
    HistoryStore store(path());
    const HistoryImage image = configurationImage(DeviceModel::Line16, 21);
    HistoryEntry same = entryAt("2026-01-11T08:00:00Z", "Győr", "", image);
    same.operation = HistoryOperation::Upload;
    same.outcome = HistoryOutcome::Cancelled;
    same.partial = true;
    same.unitModel = std::nullopt;
    same.message = QStringLiteral("Megszakítva, \"idézet\"\nkét sor");
    std::vector<HistoryEntry> given{entryAt("2026-01-10T08:00:00Z", "Pécs", "pecs", image), same,
                                    entryAt("2026-01-13T08:00:00Z", "Győr", "gyor")};
    for (HistoryEntry& e : given) {
        const HistoryResult<qint64> id = store.add(e);
        ASSERT_TRUE(id.ok()) << id.error.toStdString();
        e.id = *id.value;
        const HistoryResult<HistoryEntry> read = store.entry(e.id);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        EXPECT_EQ(read.value->imageDigest.size(), e.image ? 64 : 0);
        e.imageDigest = read.value->imageDigest;
        EXPECT_EQ(*read.value, e) << e.id;
    }
    EXPECT_EQ(given[0].imageDigest, given[1].imageDigest);
    EXPECT_EQ(queryValue(path(), "SELECT count(*) FROM images").toInt(), 1);
    EXPECT_FALSE(store.entry(99).ok());
    EXPECT_EQ(modeOf(path()), 0600u);
    EXPECT_EQ(modeOf(QFileInfo(path()).path()), 0700u);
}

TEST_F(HistoryStoreTest, ListsNewestFirstThroughEachFilter) {
    HistoryStore store(path());
    for (const auto& [time, site, connection] :
         std::vector<std::tuple<const char*, const char*, const char*>>{
             {"2026-01-01T10:00:00Z", "Pécs", "pecs"},
             {"2026-01-03T10:00:00Z", "Győr", "gyor"},
             {"2026-01-02T10:00:00Z", "Pécs", "modem"},
             {"2026-01-04T10:00:00Z", "Pécs", "pecs"},
             {"2026-01-04T10:00:00Z", "Győr", "pecs"}})
        ASSERT_TRUE(store.add(entryAt(time, QString::fromUtf8(site), connection)).ok());
    const QDateTime jan3 = QDateTime::fromString("2026-01-03T10:00:00Z", Qt::ISODate);
    const struct {
        HistoryFilter filter;
        std::vector<qint64> ids;
    } cases[] = {
        {{}, {5, 4, 2, 3, 1}},       {{"Pécs", {}, {}}, {4, 3, 1}}, {{{}, "pecs", {}}, {5, 4, 1}},
        {{{}, {}, jan3}, {5, 4, 2}}, {{"Pécs", "pecs", jan3}, {4}}, {{"Szeged", {}, {}}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listed(store, c.filter), c.ids)
            << c.filter.site.toStdString() << "|" << c.filter.connection.toStdString();
}

TEST_F(HistoryStoreTest, BringsAFileOfTheFirstVersionUpToDateKeepingItsEntries) {
    // A file as the first version wrote it: images as their bytes, no encoding column.
    const HistoryImage image = configurationImage(DeviceModel::Line4, 21);
    const QByteArray bytes(reinterpret_cast<const char*>(image.image.bytes().data()), ImageSize);
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    QDir().mkpath(QFileInfo(path()).path());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "version-one");
        db.setDatabaseName(path());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char* sql :
             {"CREATE TABLE images (sha256 BLOB PRIMARY KEY, bytes BLOB NOT NULL) WITHOUT ROWID",
              "CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, time INTEGER NOT "
              "NULL, user TEXT NOT NULL, host TEXT NOT NULL, connection TEXT NOT NULL, port "
              "TEXT NOT NULL, speed INTEGER NOT NULL, phone TEXT NOT NULL, unit_model INTEGER, "
              "file TEXT NOT NULL, site TEXT NOT NULL, owner TEXT NOT NULL, operation TEXT NOT "
              "NULL, outcome TEXT NOT NULL, message TEXT NOT NULL, image BLOB REFERENCES "
              "images(sha256), image_model INTEGER, partial INTEGER NOT NULL DEFAULT 0)",
              "CREATE INDEX entries_time ON entries(time)", "PRAGMA user_version=1"})
            ASSERT_TRUE(q.exec(sql)) << sql;
        q.prepare("INSERT INTO images VALUES (?, ?)");
        q.addBindValue(digest);
        q.addBindValue(bytes);
        ASSERT_TRUE(q.exec());
        q.prepare("INSERT INTO entries VALUES (7, 1767254400000, 'régi', 'gép', 'pecs', 'COM1', "
                  "9600, '', 4, 'a.vd1', 'Pécs', 'Kft.', 'upload', 'success', 'Sikeres', ?, 4, 0)");
        q.addBindValue(digest);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase("version-one");

    HistoryStore store(path());
    const HistoryResult<HistoryEntry> old = store.entry(7);
    ASSERT_TRUE(old.ok()) << old.error.toStdString();
    EXPECT_EQ(old.value->operation, HistoryOperation::Upload);
    EXPECT_EQ(old.value->time, QDateTime::fromString("2026-01-01T08:00:00Z", Qt::ISODate));
    EXPECT_EQ(old.value->image, image);
    EXPECT_EQ(queryValue(path(), "PRAGMA user_version").toInt(), HistorySchemaVersion);
    // The same configuration again points at the image the first version kept.
    const HistoryResult<qint64> added =
        store.add(entryAt("2026-02-01T08:00:00Z", "Pécs", "pecs", image));
    ASSERT_TRUE(added.ok()) << added.error.toStdString();
    EXPECT_EQ(queryValue(path(), "SELECT count(*) FROM images").toInt(), 1);
    EXPECT_EQ(store.entry(*added.value).value->image, image);
}

TEST_F(HistoryStoreTest, TwoWritersAtOnceBothKeepEveryEntry) {
    constexpr int PerWriter = 40;
    const auto writer = [this](int coPosition, int& kept) {
        HistoryStore store(path());
        for (int i = 0; i < PerWriter; ++i)
            kept += store
                        .add(entryAt("2026-01-01T10:00:00Z", "Pécs", "pecs",
                                     configurationImage(DeviceModel::Line4, coPosition + i % 3)))
                        .ok();
    };
    int a = 0;
    int b = 0;
    std::thread first(writer, 10, std::ref(a));
    std::thread second(writer, 20, std::ref(b));
    first.join();
    second.join();
    EXPECT_EQ(a + b, 2 * PerWriter);
    HistoryStore reader(path());
    EXPECT_EQ(listed(reader).size(), std::size_t{2 * PerWriter});
    EXPECT_EQ(queryValue(path(), "SELECT count(*) FROM images").toInt(), 6);
}

TEST_F(HistoryStoreTest, PruneRemovesOlderEntriesAndTheImagesNoEntryPointsAt) {
    HistoryStore store(path());
    const HistoryImage shared = configurationImage(DeviceModel::Line4, 22);
    for (const HistoryEntry& e :
         {entryAt("2026-01-01T10:00:00Z", "Pécs", "", configurationImage(DeviceModel::Line4, 21)),
          entryAt("2026-01-02T10:00:00Z", "Pécs", "", shared),
          entryAt("2026-01-03T10:00:00Z", "Pécs", ""),
          entryAt("2026-01-05T10:00:00Z", "Pécs", "", shared)})
        ASSERT_TRUE(store.add(e).ok());
    const HistoryResult<int> removed =
        store.prune(QDateTime::fromString("2026-01-03T10:00:00Z", Qt::ISODate));
    ASSERT_TRUE(removed.ok()) << removed.error.toStdString();
    EXPECT_EQ(*removed.value, 2);
    EXPECT_EQ(listed(store), (std::vector<qint64>{4, 3}));
    EXPECT_EQ(queryValue(path(), "SELECT count(*) FROM images").toInt(), 1);
    EXPECT_EQ(store.entry(4).value->image, shared);
}

} // namespace
} // namespace zx
