// Two entries compared in the window's words, and a list of entries as CSV.
#include "history/history_csv.h"
#include "history_test_support.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(HistoryDifferences, NameTheChangedSettingsAsTheWindowDoesAndRefuseAnEntryWithoutImage) {
    HistoryEntry download =
        entryAt("2026-01-01T10:00:00Z", "Pécs", "pecs", configurationImage(DeviceModel::Line4, 21));
    HistoryEntry upload = download;
    upload.site = QStringLiteral("Másik hely");
    upload.image = configurationImage(DeviceModel::Line4, 23);
    HistoryEntry clock = entryAt("2026-01-01T11:00:00Z", "Pécs", "pecs");
    clock.id = 3;

    const auto same = historyDifferences(download, download);
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->empty());

    // Only what the unit holds counts: the entries' sites differ, the units' texts do not.
    const auto changed = historyDifferences(download, upload);
    ASSERT_TRUE(changed);
    ASSERT_EQ(changed->size(), 1u);
    EXPECT_EQ(changed->at(0).name, "CoPosition");
    EXPECT_EQ(changed->at(0).label, "Alap / CO pozíció");
    EXPECT_EQ(differenceLine(changed->at(0)), "CoPosition\t21\t23");

    QString refusal;
    EXPECT_FALSE(historyDifferences(download, clock, &refusal));
    EXPECT_EQ(refusal, QString::fromUtf8("A(z) 3. bejegyzéshez nem tartozik konfiguráció "
                                         "(Dátum/Idő szinkronizálás) !!!"));
}

TEST(HistoryCsv, QuotesWhatWouldBreakAFieldAndWritesLocalTimesWithTheirOffset) {
    HistoryEntry plain =
        entryAt("2026-01-01T10:00:00Z", "Pécs", "pecs", configurationImage(DeviceModel::Line4, 21));
    plain.id = 2;
    plain.imageDigest = QStringLiteral("ab12");
    plain.partial = true;
    HistoryEntry awkward = entryAt("2026-07-01T10:00:00Z", "Győr, \"Ipari\" park", "");
    awkward.id = 1;
    awkward.message = QStringLiteral("első sor\r\nmásodik");
    awkward.connection.speed = 0;

    const QList<QByteArray> lines = historyCsv({plain, awkward}).split('\n');
    // The heading, the first entry, the second over two lines, the empty rest after the end.
    ASSERT_EQ(lines.size(), 5);
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(lines[i].endsWith('\r')) << i;
    EXPECT_TRUE(lines[0].startsWith("Azonosító,Idő,Felhasználó,Gép,Kapcsolat,"));

    const QDateTime back =
        QDateTime::fromString(QString::fromUtf8(lines[1]).section(',', 1, 1), Qt::ISODate);
    EXPECT_EQ(back, plain.time) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].startsWith("2,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(",pecs,/dev/ttyUSB0,19200,0612345,Vardo-4 (V2.39+),"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(",Letöltés,Sikeres,Sikeres letöltés.,ab12,igen\r"))
        << lines[1].toStdString();

    // The message's line end stays inside its quoted field.
    const QByteArray second = lines[2] + '\n' + lines[3];
    EXPECT_TRUE(second.contains(",\"Győr, \"\"Ipari\"\" park\","));
    EXPECT_TRUE(second.contains(",/dev/ttyUSB0,,0612345,,"));
    EXPECT_TRUE(second.contains(",\"első sor\r\nmásodik\",,"));
}

} // namespace
} // namespace zx
