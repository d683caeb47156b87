// What the views show of the image: the new configuration of each model and the refill rules.
#include "widget_lookup.h"
#include "window_fixture.h"

#include "status_panel_text.h"
#include "ui/views/code_grid.h"

#include <QTest>

namespace {

using zx::DeviceModel;

void putText(zx::ConfigImage& image, std::size_t offset, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        image.set(offset + i, static_cast<zx::Byte>(text[i]));
}

TEST_F(WindowTest, NewFourLineConfigurationAsShown) {
    std::string co;
    for (std::size_t i = 1680; i < 1696; ++i)
        co.push_back(static_cast<char>(record.image.at(i)));
    EXPECT_EQ(co, "0102030405060708");
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(editText("MEco" + nn(n)), nn(n));
    EXPECT_EQ(zx::childNamed<QComboBox>(*form, "CBcokar")->currentText(), QStringLiteral("2"));
    EXPECT_EQ(groupText("RGspeed"), QStringLiteral("9600"));
    EXPECT_EQ(groupText("RGbit"), QStringLiteral("Nincs"));
    EXPECT_EQ(groupText("RGmod"), QString::fromUtf8("Saját"));
    EXPECT_EQ(groupText("RG20h"), QStringLiteral("Lenyel"));
    EXPECT_EQ(groupText("RGdial01"), QStringLiteral("DTMF normal"));
    EXPECT_EQ(groupText("RGline01"), QStringLiteral("Azonnal"));
    ASSERT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->gridRowCount(), 2);
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(1, 1), QStringLiteral(" "));
    for (int c = 2; c <= 5; ++c)
        EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(c, 1),
                  QStringLiteral("Igen"))
            << c;
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Codes), QStringLiteral("1/6"));

    // The texts that are not plain numbers.
    EXPECT_EQ(editText("edMP04"), QStringLiteral("===="));
    EXPECT_EQ(editText("edIP02"), QStringLiteral("=="));
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbKiv")->item(0)->text(),
              QStringLiteral("062011"));
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbKiv")->item(3)->text(),
              QStringLiteral("====00"));
    ASSERT_EQ(zx::childNamed<QListWidget>(*form, "lbGW")->count(), 64);
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbGW")->item(0)->text(), QStringLiteral("21"));
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbGW")->item(12)->text(), QStringLiteral("??"));
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbFreeCall")->count(), 0);
}

TEST_F(WindowTest, NewSixteenLineConfigurationAsShown) {
    chooseModelInBox(DeviceModel::Line16);
    form->newConfiguration();
    EXPECT_EQ(groupText("RGspeed"), QStringLiteral("9600"));
    EXPECT_EQ(groupText("RGbit"), QStringLiteral("Nincs"));
    EXPECT_EQ(groupText("RGmod"), QStringLiteral("Normal"));
    for (int n = 1; n <= 16; ++n) {
        EXPECT_EQ(groupText("RGline" + nn(n)), QStringLiteral("Azonnal")) << n;
        EXPECT_EQ(groupText("RGdial" + nn(n)), QStringLiteral("DTMF")) << n;
        EXPECT_EQ(groupText("RGtime" + nn(n)), QStringLiteral("#1")) << n;
        EXPECT_EQ(editText("MEco" + nn(n)), nn(n)) << n;
        EXPECT_FALSE(form->findChild<QCheckBox*>("CBalv" + nn(n))->isChecked()) << n;
        EXPECT_FALSE(form->findChild<QCheckBox*>("CBbeh" + nn(n))->isChecked()) << n;
    }
    const std::pair<const char*, const char*> edits[] = {
        {"ME1t2", "10"}, {"ME2t2", "2"}, {"MEcor2", "15"}, {"MEcol2", "90"}, {"MEszamz", " "},
    };
    for (const auto& [name, text] : edits)
        EXPECT_EQ(editText(QString::fromUtf8(name)), QString::fromUtf8(text)) << name;
    ASSERT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->gridRowCount(), 2);
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(2, 1), QStringLiteral("N"));
    // Sixteen deleted exception entries: area byte 00, length 255.
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbKiv")->item(i)->text(),
                  QStringLiteral("00255"))
            << i;
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Codes), QStringLiteral("1/6"));
}

TEST_F(WindowTest, SixteenLineSpeedCharacterAndItsFallback) {
    chooseModelInBox(DeviceModel::Line16);
    const struct {
        zx::Byte stored;
        const char* speed;
        const char* parity;
    } cases[] = {
        {'1', "9600", "Nincs"}, {'6', "300", "Nincs"},  {'A', "9600", "Páros"},
        {'F', "300", "Páros"},  {'0', "4800", "Nincs"}, {0xFF, "4800", "Nincs"},
    };
    for (const auto& c : cases) {
        record.image.set(1675, c.stored);
        form->refill();
        EXPECT_EQ(groupText("RGspeed"), QString::fromUtf8(c.speed)) << int(c.stored);
        EXPECT_EQ(groupText("RGbit"), QString::fromUtf8(c.parity)) << int(c.stored);
    }
}

TEST_F(WindowTest, SixteenLineLineSettingsBitsShowInTheirRows) {
    chooseModelInBox(DeviceModel::Line16);
    form->newConfiguration();
    record.image.set(1648 + 4, 0x10); // line 5: call-in only
    record.image.set(1648 + 8, 0x1F); // line 9: every bit
    form->refill();
    EXPECT_TRUE(form->findChild<QCheckBox*>("CBbeh05")->isChecked());
    EXPECT_FALSE(form->findChild<QCheckBox*>("CBalv05")->isChecked());
    EXPECT_EQ(groupText("RGline05"), QString::fromUtf8("Tárcsázáskor"));
    EXPECT_EQ(groupText("RGdial05"), QStringLiteral("DTMF"));
    EXPECT_EQ(groupText("RGtime05"), QStringLiteral("#1"));
    EXPECT_EQ(groupText("RGtime09"), QStringLiteral("#2"));
    EXPECT_EQ(groupText("RGdial09"), QStringLiteral("Impulzus"));
    EXPECT_EQ(groupText("RGline09"), QStringLiteral("Azonnal"));
    EXPECT_TRUE(form->findChild<QCheckBox*>("CBalv09")->isChecked());
    EXPECT_TRUE(form->findChild<QCheckBox*>("CBbeh09")->isChecked());
    // Other rows keep 04: "Azonnal", "DTMF", "#1", nothing checked.
    EXPECT_EQ(groupText("RGline04"), QStringLiteral("Azonnal"));
    EXPECT_FALSE(form->findChild<QCheckBox*>("CBbeh04")->isChecked());
}

TEST_F(WindowTest, FourLineSeizureDialAndLineFlags) {
    const struct {
        zx::Byte seizure;
        const char* shown;
    } seizures[] = {{0, "Tárcsázáskor"}, {1, "Azonnal"}, {2, "Tárcsázáskor"}, {7, "Azonnal"}};
    for (const auto& s : seizures) {
        record.image.set(1668, s.seizure);
        form->refill();
        EXPECT_EQ(groupText("RGline01"), QString::fromUtf8(s.shown)) << int(s.seizure);
    }
    const struct {
        zx::Byte dial;
        const char* shown;
    } dials[] = {{1, "Impulzus"},
                 {2, "DTMF normal"},
                 {3, "DTMF gyors"},
                 {0, "DTMF normal"},
                 {9, "DTMF normal"}};
    for (const auto& d : dials) {
        record.image.set(1667, d.dial);
        form->refill();
        EXPECT_EQ(groupText("RGdial01"), QString::fromUtf8(d.shown)) << int(d.dial);
    }
    record.image.set(1666, 0x29); // sub-line 1 and 4, call-in 2
    form->refill();
    const bool sub[] = {true, false, false, true};
    const bool call[] = {false, true, false, false};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(form->findChild<QCheckBox*>("CBalv" + nn(n))->isChecked(), sub[n - 1]) << n;
        EXPECT_EQ(form->findChild<QCheckBox*>("CBbeh" + nn(n))->isChecked(), call[n - 1]) << n;
    }
}

TEST_F(WindowTest, CallInNumberAndBarredAreas) {
    putText(record.image, 1632, "123456789012345678901234"); // 24 characters, no terminator
    record.image.set(1696, 0xFF);
    record.image.set(1697, 0x3A);
    record.image.set(1669, 0x02);
    form->refill();
    EXPECT_EQ(editText("edBehiv"), QStringLiteral("123456789012345678901234"));
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbGW")->item(0)->text(), QStringLiteral("??"));
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbGW")->item(1)->text(), QStringLiteral("3:"));
    EXPECT_TRUE(zx::childNamed<QCheckBox>(*form, "chkIntGW")->isChecked());
    EXPECT_FALSE(zx::childNamed<QCheckBox>(*form, "chkNatGW")->isChecked());

    putText(record.image, 1632,
            std::string("0630\0"
                        "99",
                        7));
    form->refill();
    EXPECT_EQ(editText("edBehiv"), QStringLiteral("0630"));
}

TEST_F(WindowTest, CodeTableRowsAndRightsOfBothModels) {
    // Two 6-digit codes; the 4-line rights character is '0' plus a bit mask.
    record.image.setWord(1671, 2);
    putText(record.image, 5120,
            "123456"
            "5"
            "000001"
            "?");
    form->refill();
    ASSERT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->gridRowCount(), 3);
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(1, 1),
              QStringLiteral("123456"));
    const char* row1[] = {"Igen", "Nem", "Igen", "Nem"};
    for (int c = 2; c <= 5; ++c) {
        EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(c, 1),
                  QString::fromUtf8(row1[c - 2]))
            << c;
        EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(c, 2),
                  QStringLiteral("Igen"))
            << c;
    }
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Codes), QStringLiteral("2/6"));

    chooseModelInBox(DeviceModel::Line16);
    record.image.set(1672, 5); // 4-digit codes
    record.image.setWord(1673, 3);
    putText(record.image, 5120,
            "1234"
            "0"
            "2222"
            "3"
            "9 9 "
            "7");
    form->refill();
    ASSERT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->gridRowCount(), 4);
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(1, 3),
              QStringLiteral("9 9 "));
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(2, 1), QStringLiteral("T"));
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(2, 2), QStringLiteral("M"));
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(2, 3), QStringLiteral("N"));
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Codes), QStringLiteral("3/4"));
}

TEST_F(WindowTest, CodeCountBeyondTheTableShowsOnlyWhatFits) {
    record.image.set(1670, 9); // 8 digits: 341 records fit
    record.image.setWord(1671, 60000);
    form->refill();
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->gridRowCount(), 342);
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Codes), QStringLiteral("341/8"));
}

TEST_F(WindowTest, FreeNumbersInImageOrderWithTheirCodePage) {
    putText(record.image, 1792, "0612345678      ");
    putText(record.image, 1792 + 32,
            "\xE1"
            "bc             "); // Windows-1250 0xE1 is á
    form->refill();
    ASSERT_EQ(zx::childNamed<QListWidget>(*form, "lbFreeCall")->count(), 2);
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbFreeCall")->item(0)->text(),
              QStringLiteral("0612345678      "));
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbFreeCall")->item(1)->text(),
              QString::fromUtf8("ábc             "));
}

// "Frissítés" stores the value being typed and the list first, as every command does, so the
// refill shows them instead of dropping them.
TEST_F(WindowTest, RefreshStoresAnEntryNotYetStoredFirst) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* coPosition = zx::childNamed<QLineEdit>(*form, "MEcopos");
    coPosition->setFocus();
    coPosition->setText(QStringLiteral("99"));
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItem(QStringLiteral("555"));
    action("Refresh")->trigger();
    EXPECT_EQ(editText("MEcopos"), QStringLiteral("99"));
    EXPECT_EQ(record.image.at(1656), 99);
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbFreeCall")->count(), 1);
}

TEST_F(WindowTest, NewConfigurationEmptiesTheRecordTextsAndFileName) {
    record.setText(zx::DatabaseRecord::Slot::Site, zx::RawText("Budapest"));
    record.setText(zx::DatabaseRecord::Slot::Password, zx::RawText("titok"));
    form->document().markSaved(QStringLiteral("/tmp/a.vd1"));
    record.image.set(1656, 77);
    form->newConfiguration();
    EXPECT_EQ(record.textLength(zx::DatabaseRecord::Slot::Site), 0);
    EXPECT_EQ(record.textLength(zx::DatabaseRecord::Slot::Password), 0);
    EXPECT_TRUE(form->document().currentFileName().isEmpty());
    EXPECT_EQ(editText("MEcopos"), QStringLiteral("23"));
}

} // namespace
