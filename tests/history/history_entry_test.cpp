// Two entries compared in the window's words, and a list of entries as CSV.
#include "history/history_csv.h"
#include "history_test_support.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(HistoryDifferences, NameTheChangedSettingsAsTheWindowDoesAndRefuseAnEntryWithoutImage) {
    const HistoryEntry download =
        entryAt("2026-01-01T10:00:00Z", "Pécs", "", configurationImage(DeviceModel::Line4, 21));
    // Only what the unit holds counts: the entries' sites differ, the units keep no texts.
    const HistoryEntry upload =
        entryAt("2026-01-02T10:00:00Z", "Győr", "", configurationImage(DeviceModel::Line4, 23));
    HistoryEntry clock = entryAt("2026-01-01T11:00:00Z", "Pécs", "");
    clock.id = 3;

    EXPECT_EQ(historyDifferences(download, download)->size(), 0u);
    const auto changed = historyDifferences(download, upload);
    ASSERT_EQ(changed->size(), 1u);
    EXPECT_EQ(changed->at(0).label, "Alap / CO pozíció");
    EXPECT_EQ(differenceLine(changed->at(0)), "CoPosition\t21\t23");
    QString refusal;
    EXPECT_FALSE(historyDifferences(download, clock, &refusal));
    EXPECT_EQ(refusal, QString::fromUtf8("A(z) 3. bejegyzéshez nem tartozik konfiguráció "
                                         "(Dátum/Idő szinkronizálás) !!!"));
}

TEST(HistoryCsv, QuotesWhatWouldBreakAFieldAndWritesLocalTimesWithTheirOffset) {
    HistoryEntry plain =
        entryAt("2026-01-01T10:00:00Z", "Pécs", "pecs", configurationImage(DeviceModel::Line4, 2));
    plain.imageDigest = QStringLiteral("ab12");
    plain.partial = true;
    HistoryEntry awkward = entryAt("2026-07-01T10:00:00Z", "Győr, \"Ipari\" park", "");
    awkward.message = QStringLiteral("első sor\r\nmásodik");

    const QString csv = QString::fromUtf8(historyCsv({plain, awkward}));
    const QStringList lines = csv.split(QStringLiteral("\r\n"));
    // The heading, the first entry, the second split at its message's line end, the rest.
    ASSERT_EQ(lines.size(), 5) << csv.toStdString();
    EXPECT_TRUE(lines[0].startsWith("Azonosító,Idő,Felhasználó,Gép,Kapcsolat,"));
    EXPECT_EQ(QDateTime::fromString(lines[1].section(',', 1, 1), Qt::ISODate), plain.time);
    EXPECT_TRUE(lines[1].endsWith(",pecs,/dev/ttyUSB0,19200,0612345,Vardo-4 (V2.39+),"
                                  "/home/szerviz/Pécs.vd1,Pécs,Kovács Kft.,Letöltés,Sikeres,"
                                  "Sikeres letöltés.,ab12,igen"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(",\"Győr, \"\"Ipari\"\" park\",")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith(",\"első sor")) << lines[2].toStdString();
    EXPECT_EQ(lines[3], "második\",,");
}

} // namespace
} // namespace zx
