// zendrax-cli history against a history in a data folder of the test's own: the list and its
// filters, one entry shown and written out as a database file, two entries compared, and old
// entries pruned.
#include "file_fixture.h"
#include "files/cp1250.h"
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

#include <sys/stat.h>

#include "cli_process.h"

namespace zx {
namespace {

HistoryImage unitImage(int coPosition) {
    DatabaseRecord record;
    applyNewConfiguration(record, DeviceModel::Line4);
    EXPECT_FALSE(
        applySetting(record, DeviceModel::Line4, "CoPosition=" + std::to_string(coPosition)));
    return {transferredImage(record.image, DeviceModel::Line4), DeviceModel::Line4};
}

HistoryEntry entry(const char* utc, const char* site, HistoryOperation operation,
                   HistoryOutcome outcome, std::optional<HistoryImage> image) {
    HistoryEntry e = historyEntry(operation, outcome, QStringLiteral("üzenet"));
    e.time = QDateTime::fromString(QString::fromLatin1(utc), Qt::ISODate);
    e.site = QString::fromUtf8(site);
    e.owner = QStringLiteral("Kft.");
    e.connection = {QStringLiteral("iroda"), QStringLiteral("/dev/pts/7"), 19200, {}};
    e.unitModel = DeviceModel::Line4;
    e.partial = outcome != HistoryOutcome::Success && image;
    e.image = std::move(image);
    return e;
}

std::vector<qint64> idsOf(const QString& json) {
    std::vector<qint64> ids;
    for (const QJsonValue& v : QJsonDocument::fromJson(json.toUtf8()).array())
        ids.push_back(v.toObject()["id"].toInteger());
    return ids;
}

TEST(CliHistory, ListsShowsWritesOutComparesAndPrunesTheHistory) {
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    const QString history = data + "/zendrax/history.sqlite";
    const auto inTestFolders = [&](QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", data);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
    };
    const HistoryImage downloaded = unitImage(21);
    const HistoryImage uploaded = unitImage(23);
    {
        HistoryStore store(history);
        for (const HistoryEntry& e :
             {entry("2026-01-01T10:00:00Z", "Pécs", HistoryOperation::Download,
                    HistoryOutcome::Success, downloaded),
              entry("2026-01-02T10:00:00Z", "Pécs", HistoryOperation::Upload,
                    HistoryOutcome::Success, uploaded),
              entry("2026-01-03T10:00:00Z", "Győr", HistoryOperation::Download,
                    HistoryOutcome::Cancelled, unitImage(5)),
              entry("2026-01-04T10:00:00Z", "Győr", HistoryOperation::SetClock,
                    HistoryOutcome::Success, std::nullopt)})
            ASSERT_TRUE(store.add(e).ok());
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(history).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    const CliRun all = cli({"history", "--json"}, inTestFolders);
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QJsonArray listed = QJsonDocument::fromJson(all.out.toUtf8()).array();
    EXPECT_EQ(idsOf(all.out), (std::vector<qint64>{4, 3, 2, 1}));
    ASSERT_EQ(listed.size(), 4);
    EXPECT_EQ(listed[1].toObject()["outcome"].toString(), "cancelled");
    EXPECT_TRUE(listed[1].toObject()["partial"].toBool());
    EXPECT_EQ(listed[3].toObject()["operation"].toString(), "download");
    EXPECT_EQ(listed[3].toObject()["model"].toInt(), 4);
    EXPECT_EQ(listed[3].toObject()["time"].toString(), "2026-01-01T10:00:00.000Z");
    EXPECT_TRUE(listed[0].toObject()["image"].isNull());

    const CliRun pecs = cli({"history", "--site", "Pécs"}, inTestFolders);
    ASSERT_EQ(pecs.exitCode, 0) << pecs.err.toStdString();
    const QStringList lines = pecs.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << pecs.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("2\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("\tFeltöltés\tSikeres\tPécs\tiroda\tVardo-4 (V2.39+)\t"))
        << lines[0].toStdString();
    EXPECT_EQ(idsOf(cli({"history", "--since", "2026-01-03", "--json"}, inTestFolders).out),
              (std::vector<qint64>{4, 3}));
    EXPECT_EQ(cli({"history", "--since", "tegnap"}, inTestFolders).exitCode, 2);

    // The download and the upload after one change: the change, named.
    const CliRun changed = cli({"history", "diff", "1", "2"}, inTestFolders);
    EXPECT_EQ(changed.exitCode, 1) << changed.err.toStdString();
    EXPECT_EQ(changed.out, "CoPosition\t21\t23\n");
    const CliRun same = cli({"history", "diff", "2", "2"}, inTestFolders);
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_TRUE(same.out.isEmpty());
    const CliRun clock = cli({"history", "diff", "1", "4"}, inTestFolders);
    EXPECT_EQ(clock.exitCode, 2);
    EXPECT_TRUE(clock.err.contains("nem tartozik konfiguráció")) << clock.err.toStdString();
    EXPECT_EQ(cli({"history", "diff", "1", "99"}, inTestFolders).exitCode, 2);

    const CliRun shown = cli({"history", "show", "2"}, inTestFolders);
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains("Művelet: Feltöltés\n")) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains("\nCoPosition: 23\n")) << shown.out.toStdString();

    // The entry's image as a database file of its site, never over a file without --force.
    const QString file = dir.filePath("unit.vd1");
    ASSERT_EQ(cli({"history", "show", "2", "-o", "unit.vd1"}, inTestFolders).exitCode, 0);
    EXPECT_EQ(imageInFile(file), uploaded.image);
    EXPECT_EQ(fromCp1250(readDatabaseFile(file).record.text(DatabaseRecord::Slot::Site)), "Pécs");
    const CliRun again = cli({"history", "show", "1", "-o", "unit.vd1"}, inTestFolders);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("már létezik")) << again.err.toStdString();
    EXPECT_EQ(imageInFile(file), uploaded.image);
    ASSERT_EQ(cli({"history", "show", "1", "-o", "unit.vd1", "--force"}, inTestFolders).exitCode,
              0);
    EXPECT_EQ(imageInFile(file), downloaded.image);

    const CliRun pruned = cli({"history", "prune", "--before", "2026-01-02T12:00Z"}, inTestFolders);
    ASSERT_EQ(pruned.exitCode, 0) << pruned.err.toStdString();
    EXPECT_EQ(pruned.err, "1 bejegyzés törölve.");
    EXPECT_EQ(idsOf(cli({"history", "--json"}, inTestFolders).out), (std::vector<qint64>{4, 3, 2}));
}

} // namespace
} // namespace zx
