// What a change of model shows and hides, and that it never touches the image.
#include "widget_lookup.h"
#include "window_fixture.h"

#include "model/codecs.h"
#include "model/new_configuration.h"
#include "scripted_interaction.h"
#include "ui/views/code_grid.h"

#include <QTest>

namespace {

using zx::DeviceModel;

// Types a value into an edit on its page and runs the commit step, as every command does
// first. The window must be shown.
void typeAndCommit(MainWindow& form, const char* name, const QString& text) {
    QLineEdit* edit = zx::childNamed<QLineEdit>(form, name);
    ASSERT_NE(edit, nullptr);
    int page = -1;
    for (QWidget* w = edit; w && page < 0; w = w->parentWidget())
        page = form.viewPages->indexOf(w);
    form.showView(page);
    edit->setFocus();
    edit->setText(text);
    EXPECT_TRUE(form.commitPendingEdits()) << name;
}

// Controls that exist for one model only.
const char* const FourLineOnly[] = {"pnlPref", "chkPinEna", "chkDSTena", "lblDeltaLI", "edLI"};
const char* const SixteenLineOnly[] = {
    "lblSzamz", "MEszamz",  "ME1t2",    "ME2t2",    "MEcol2",   "MEcor2",   "lblido2",
    "RGtime01", "RGtime02", "RGtime03", "RGtime04", "RGdial02", "RGdial03", "RGdial04",
    "RGline02", "RGline03", "RGline04", "pnlCO05",  "pnlCO10",  "pnlCO16",
};
const char* const BothModels[] = {"pnlCO01", "pnlCO04",     "RGdial01", "RGline01", "MEco04",
                                  "CBalv04", "CBbeh01",     "MEcopos",  "MEibe",    "ME1t1",
                                  "lbKiv",   "StringGrid1", "lbGW",     "MEnatlen"};

TEST_F(WindowTest, SwitchToSixteenLinesShowsAndHidesItsControls) {
    auto fourLineLayout = [this] {
        for (const char* name : FourLineOnly)
            EXPECT_TRUE(shownInView(QString::fromUtf8(name))) << name;
        for (const char* name : SixteenLineOnly)
            EXPECT_FALSE(shownInView(QString::fromUtf8(name))) << name;
        EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->gridColumnCount(), 6);
        EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(5, 0),
                  QString::fromUtf8("Nemzetközi"));
    };
    fourLineLayout();
    chooseModelInBox(DeviceModel::Line16);
    for (const char* name : FourLineOnly)
        EXPECT_FALSE(shownInView(QString::fromUtf8(name))) << name;
    for (const char* name : SixteenLineOnly)
        EXPECT_TRUE(shownInView(QString::fromUtf8(name))) << name;
    for (const char* name : BothModels)
        EXPECT_TRUE(shownInView(QString::fromUtf8(name))) << name;
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->gridColumnCount(), 3);
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->cell(2, 0),
              QStringLiteral("Jog"));

    chooseModelInBox(DeviceModel::Line4);
    fourLineLayout();
}

TEST_F(WindowTest, ListsOfEachModel) {
    const QStringList speeds4 = {"19200", "9600", "4800", "2400", "1200", "600", "300"};
    const QStringList modes4 = {"Normal", QString::fromUtf8("Saját")};
    const QStringList dial4 = {"Impulzus", "DTMF normal", "DTMF gyors"};
    EXPECT_EQ(group("RGspeed")->items(), speeds4);
    EXPECT_EQ(group("RGmod")->items(), modes4);
    EXPECT_EQ(group("RGdial01")->items(), dial4);
    EXPECT_EQ(group("RGdial02")->items(), QStringList({"DTMF", "Impulzus"}));

    chooseModelInBox(DeviceModel::Line16);
    EXPECT_EQ(group("RGspeed")->items(), speeds4.mid(1));
    EXPECT_EQ(group("RGmod")->items(),
              QStringList({QString::fromUtf8("Kaszkád"), "Normal", QString::fromUtf8("Saját")}));
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(group("RGdial" + nn(n))->items(), QStringList({"DTMF", "Impulzus"})) << n;
}

TEST_F(WindowTest, ModelBoxChangeByKeyboardSwitchesAndRefillsWithoutTouchingTheImage) {
    const zx::DatabaseRecord before = record;
    // A configuration that came from a file is read through the other map, not replaced.
    form->document().markSaved(QStringLiteral("/adat/iroda.vd1"));
    // It fits only the model shown: the box asks first.
    ui.answers = {zx::Interaction::Answer::Yes};
    QTest::keyClick(form->modelBox, Qt::Key_Down);
    EXPECT_EQ(ui.texts(zx::ScriptedInteraction::Kind::Question),
              QStringList{"A konfiguráció Vardo-4 típusú. Biztosan Vardo-16-ként kezeli?"});
    ASSERT_EQ(form->currentModel(), DeviceModel::Line16);
    EXPECT_EQ(form->document().map().model(), DeviceModel::Line16);
    EXPECT_TRUE(record == before) << "a model switch changed the record";
    EXPECT_FALSE(form->document().isModified());

    // The editors already show the same bytes read through the 16-line map.
    EXPECT_EQ(editText("MEcopos"), QString::number(record.image.at(1683)));
    EXPECT_EQ(editText("MEibe"), QString::number(record.image.at(1679)));
    EXPECT_NE(group("RGspeed")->itemIndex(), -1);
    EXPECT_NE(group("RGmod")->itemIndex(), -1);

    QTest::keyClick(form->modelBox, Qt::Key_Up);
    ASSERT_EQ(form->currentModel(), DeviceModel::Line4);
    EXPECT_TRUE(record == before) << "switching back changed the record";
    EXPECT_EQ(editText("MEcopos"), QStringLiteral("23"));
    EXPECT_EQ(record.image.at(1656), 23);
}

TEST_F(WindowTest, SwitchWithoutRefillLeavesListsEmptyAndNoEditBoundToTheOldMap) {
    // The download's model check switches and refills only after the transfer.
    form->modelBox->setCurrentIndex(1);
    form->modelSwitch();
    EXPECT_EQ(group("RGspeed")->itemIndex(), -1);
    EXPECT_EQ(group("RGmod")->itemIndex(), -1);
    EXPECT_EQ(group("RGdial01")->itemIndex(), -1);
    // Nothing typed is stored until the refill: not through the old map, nor the new one.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const zx::DatabaseRecord before = record;
    for (const char* name : {"MEcopos", "MEcallpos", "MEibe", "ME1t1", "MEloclen", "MEnatlen"})
        typeAndCommit(*form, name, "77");
    EXPECT_TRUE(record == before) << "stored before the refill";
    form->showView(0);

    // Refresh then shows the bytes through the new map.
    action("Refresh")->trigger();
    EXPECT_EQ(editText("MEcopos"), QString::number(record.image.at(1683)));
    EXPECT_EQ(editText("MEnatlen"), QString::number(record.image.at(1682)));
    // Once refilled, a value typed is stored through the new map.
    typeAndCommit(*form, "MEnatlen", "9");
    EXPECT_EQ(record.image.at(1682), 9);
    typeAndCommit(*form, "MEcopos", "77");
    EXPECT_EQ(record.image.at(1683), 77);
}

TEST_F(WindowTest, NewAfterSwitchGivesTheDefaultsOfTheNewModel) {
    chooseModelInBox(DeviceModel::Line16);
    form->setModelBoxEnabled(false);
    form->newConfiguration();
    EXPECT_TRUE(form->modelBox->isEnabled());
    EXPECT_EQ(record.image.at(1675), '1'); // 16-line SmdrSpeed default
    EXPECT_EQ(groupText("RGmod"), QStringLiteral("Normal"));
}

// Each edit shows the byte (a prefix the two bytes) of its model's offset.
TEST_F(WindowTest, OffsetsGivenByTheRefill) {
    const auto check = [&](const char* name, int offset, int index) {
        const auto value = static_cast<zx::Byte>(30 + index);
        record.image.set(offset, value);
        action("Refresh")->trigger();
        const QString shown = editText(name);
        if (QByteArray(name).startsWith("edMP"))
            EXPECT_EQ(shown.toStdString(),
                      zx::digitPair(value) + zx::digitPair(record.image.at(offset + 1)))
                << name;
        else
            EXPECT_EQ(shown, QString::number(value)) << name;
    };
    const std::pair<const char*, int> four[] = {
        {"MEcopos", 1656}, {"MEcallpos", 1658}, {"MErzk", 1660},    {"MEcol1", 1662},
        {"ME1t1", 1663},   {"ME2t1", 1664},     {"MEcor1", 1665},   {"MEibo", 1673},
        {"MEibe", 1674},   {"MEintd", 1675},    {"MEloclen", 1676}, {"MEnatlen", 1677},
        {"edLI", 1422},    {"edMP01", 1412},    {"edMP02", 1414},   {"edMP04", 1418},
    };
    int index = 0;
    for (const auto& [name, offset] : four)
        check(name, offset, index++);
    chooseModelInBox(DeviceModel::Line16);
    const std::pair<const char*, int> sixteen[] = {
        {"ME1t2", 1668}, {"ME2t2", 1669}, {"MEcor2", 1670}, {"MEcol2", 1671}, {"MErzk", 1676},
    };
    for (const auto& [name, offset] : sixteen)
        check(name, offset, index++);
}

} // namespace

TEST_F(WindowTest, TheUntouchedNewConfigurationBecomesTheNewConfigurationOfTheModelChosen) {
    chooseModelInBox(DeviceModel::Line16);
    zx::DatabaseRecord expected;
    zx::applyNewConfiguration(expected, DeviceModel::Line16);
    EXPECT_TRUE(record.image == expected.image)
        << "the 4-line defaults read through the 16-line map";
    EXPECT_TRUE(ui.shown.isEmpty()) << "no note of a code count the table cannot hold";
    EXPECT_FALSE(form->document().isModified());
    EXPECT_EQ(editText("MEcopos"), QString::number(expected.image.at(1683)));

    // Changed since, it is the operator's configuration: read through the other map.
    form->document().markModified();
    const zx::ConfigImage before = record.image;
    chooseModelInBox(DeviceModel::Line4);
    EXPECT_TRUE(record.image == before);
}
