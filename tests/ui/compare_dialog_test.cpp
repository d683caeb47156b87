// The compare list as the operator reads it: each setting in the window's words with the name
// for scripts in its tip, long values whole in wrapped cells, and the saved text's heading.
#include "scripted_interaction.h"
#include "ui/dialogs/compare_dialog.h"
#include "ui/dialogs/interaction.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace zx {
namespace {

SettingValue codeRow(const char* code, const std::vector<std::string>& rights) {
    std::vector<SettingValue> words;
    for (const std::string& r : rights)
        words.push_back(SettingValue::ofText(r));
    return SettingValue::ofParts(
        {{"code", SettingValue::ofText(code)}, {"rights", SettingValue::ofList(std::move(words))}});
}

TEST(CompareDialog, DifferingRightsShowWholeAndTheUnsavedListSaysItHoldsEveryRow) {
    const std::vector<std::string> four{"Helyi", "Távolsági", "Mobil", "Nemzetközi"};
    const std::vector<SettingDifference> differences{
        {"CodeTable[2]", codeRow("123456", four), codeRow("123456", {"Helyi", "Mobil"}),
         "Kódok / 2. sor"},
        {"CoPosition", SettingValue::ofNumber(23), SettingValue::ofNumber(30), "Alap / CO pozíció"},
    };
    ScriptedInteraction ui;
    CompareDialog dialog(differences,
                         {QStringLiteral("/adat/iroda.vd1"), QString(),
                          QDateTime(QDate(2026, 3, 5), QTime(9, 7, 5))},
                         ui);
    dialog.resize(600, 400); // narrower than it opens: the values wrap
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("tbDiff"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(2)->text(), QString::fromUtf8("Egység"));
    for (int row = 0; row < table->rowCount(); ++row) {
        EXPECT_EQ(table->item(row, 0)->toolTip(),
                  QString::fromStdString(differences[static_cast<std::size_t>(row)].name));
        for (int column = 0; column < table->columnCount(); ++column) {
            const QString text = table->item(row, column)->text();
            const QRect cell = table->visualItemRect(table->item(row, column));
            // The room a cell's text has: the cell less the style's text margin on both sides.
            const int margin =
                table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
            const QRect needed = table->fontMetrics().boundingRect(
                QRect(0, 0, cell.width() - 2 * margin, 10000), Qt::TextWordWrap, text);
            EXPECT_LE(needed.width(), cell.width()) << text.toStdString();
            EXPECT_LE(needed.height(), cell.height()) << text.toStdString();
        }
    }

    const QStringList saved = dialog.savedText();
    ASSERT_EQ(saved.size(), 7);
    EXPECT_EQ(saved[0], QString::fromUtf8("Összehasonlítás: a megjelenített /adat/iroda.vd1 és az "
                                          "egység (letöltve)"));
    EXPECT_EQ(saved[2], QString::fromUtf8("Szűrés nélkül, minden eltérés: 2"));
    EXPECT_EQ(saved[6], QString::fromUtf8("Alap / CO pozíció\t23\t30\tCoPosition"));
}

} // namespace
} // namespace zx
