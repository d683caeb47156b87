// zendrax-cli history against a history in a data folder of the test's own: the list and its
// filters, one entry shown and written out as a database file, two entries compared, and old
// entries pruned.
#include "file_fixture.h"
#include "history/history_store.h"
#include "model/new_configuration.h"
#include "model/settings_registry.h"
#include "model/transferred_image.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_process.h"

namespace zx {
namespace {

HistoryEntry entry(const char* utc, const char* site, HistoryOperation operation,
                   HistoryOutcome outcome, std::optional<int> coPosition) {
    HistoryEntry e = historyEntry(operation, outcome, QStringLiteral("üzenet"));
    e.time = QDateTime::fromString(QString::fromLatin1(utc), Qt::ISODate);
    e.site = QString::fromUtf8(site);
    e.connection = {QStringLiteral("iroda"), QStringLiteral("/dev/pts/7"), 19200, {}};
    e.unitModel = DeviceModel::Line4;
    e.partial = outcome != HistoryOutcome::Success;
    if (coPosition) {
        DatabaseRecord record;
        applyNewConfiguration(record, DeviceModel::Line4);
        EXPECT_FALSE(
            applySetting(record, DeviceModel::Line4, "CoPosition=" + std::to_string(*coPosition)));
        e.image =
            HistoryImage{transferredImage(record.image, DeviceModel::Line4), DeviceModel::Line4};
    }
    return e;
}

TEST(CliHistory, ListsShowsWritesOutComparesAndPrunesTheHistory) {
    QTemporaryDir dir;
    const auto inTestFolders = [&](QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
    };
    const auto ids = [&](const QStringList& args) {
        std::vector<qint64> listed;
        for (const QJsonValue& v :
             QJsonDocument::fromJson(cli(args, inTestFolders).out.toUtf8()).array())
            listed.push_back(v.toObject()["id"].toInteger());
        return listed;
    };
    const std::vector<HistoryEntry> entries{
        entry("2026-01-01T10:00:00Z", "Pécs", HistoryOperation::Download, HistoryOutcome::Success,
              21),
        entry("2026-01-02T10:00:00Z", "Pécs", HistoryOperation::Upload, HistoryOutcome::Success,
              23),
        entry("2026-01-03T10:00:00Z", "Győr", HistoryOperation::Download, HistoryOutcome::Cancelled,
              5),
        entry("2026-01-04T10:00:00Z", "Győr", HistoryOperation::SetClock, HistoryOutcome::Success,
              std::nullopt)};
    HistoryStore store(dir.filePath("data/zendrax/history.sqlite"));
    for (const HistoryEntry& e : entries)
        ASSERT_TRUE(store.add(e).ok());

    const CliRun all = cli({"history", "--json"}, inTestFolders);
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QJsonArray listed = QJsonDocument::fromJson(all.out.toUtf8()).array();
    ASSERT_EQ(listed.size(), 4);
    EXPECT_EQ(listed[1].toObject()["outcome"].toString(), "cancelled");
    EXPECT_TRUE(listed[1].toObject()["partial"].toBool());
    EXPECT_EQ(listed[3].toObject()["time"].toString(), "2026-01-01T10:00:00.000Z");
    EXPECT_EQ(listed[3].toObject()["model"].toInt(), 4);
    EXPECT_EQ(ids({"history", "--since", "2026-01-03", "--json"}), (std::vector<qint64>{4, 3}));
    const CliRun pecs = cli({"history", "--site", "Pécs"}, inTestFolders);
    EXPECT_TRUE(pecs.out.startsWith("2\t")) << pecs.out.toStdString();
    EXPECT_TRUE(pecs.out.contains("\tFeltöltés\tSikeres\tPécs\tiroda\tVardo-4 (V2.39+)\t"));
    EXPECT_EQ(pecs.out.count('\n'), 2);

    // The download and the upload after one change: the change, named.
    const CliRun changed = cli({"history", "diff", "1", "2"}, inTestFolders);
    EXPECT_EQ(changed.exitCode, 1) << changed.err.toStdString();
    EXPECT_EQ(changed.out, "CoPosition\t21\t23\n");
    EXPECT_EQ(cli({"history", "diff", "1", "4"}, inTestFolders).exitCode, 2);

    const CliRun shown = cli({"history", "show", "2"}, inTestFolders);
    EXPECT_TRUE(shown.out.contains("Művelet: Feltöltés\n")) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains("\nCoPosition: 23\n")) << shown.out.toStdString();
    // The entry's image as a database file, never over a file without --force.
    const QString file = dir.filePath("unit.vd1");
    ASSERT_EQ(cli({"history", "show", "2", "-o", "unit.vd1"}, inTestFolders).exitCode, 0);
    EXPECT_EQ(imageInFile(file), entries[1].image->image);
    const CliRun again = cli({"history", "show", "1", "-o", "unit.vd1"}, inTestFolders);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("már létezik")) << again.err.toStdString();
    EXPECT_EQ(imageInFile(file), entries[1].image->image);
    EXPECT_EQ(cli({"history", "show", "1", "-o", "unit.vd1", "--force"}, inTestFolders).exitCode,
              0);
    EXPECT_EQ(imageInFile(file), entries[0].image->image);

    const CliRun pruned = cli({"history", "prune", "--before", "2026-01-02T12:00Z"}, inTestFolders);
    EXPECT_EQ(pruned.err, "1 bejegyzés törölve.");
    EXPECT_EQ(ids({"history", "--json"}), (std::vector<qint64>{4, 3, 2}));
}

} // namespace
} // namespace zx
