// The settings views store what the operator typed when a control is left: the image, the
// modified flag, a refusal with its message and the focus kept in the control.
#include "scripted_interaction.h"
#include "widget_lookup.h"
#include "window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using zx::DeviceModel;
using Kind = zx::ScriptedInteraction::Kind;
using Answer = zx::Interaction::Answer;

class SettingsEditors : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Types the text into the edit on its view, then moves the focus to the model box.
    void typeAndLeave(const QString& name, const QString& text) {
        QLineEdit* e = find<QLineEdit>(name);
        ASSERT_NE(e, nullptr);
        showViewOf(e);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
        leave();
    }
    void showViewOf(QWidget* w) {
        for (int i = 0; i < MainWindow::ViewCount; ++i)
            if (form->viewPages->widget(i)->isAncestorOf(w)) form->showView(i);
    }
    void leave() { form->modelBox->setFocus(); }
    zx::Byte at(std::size_t offset) const { return record.image.at(offset); }
};

TEST_F(SettingsEditors, ByteRangeFieldsStoreOnLeavingAndRefuseWhatIsNoByte) {
    typeAndLeave("MEibe", " 21 ");
    EXPECT_EQ(at(1674), 21);
    EXPECT_TRUE(form->document().isModified());
    typeAndLeave("MEcopos", "255");
    EXPECT_EQ(at(1656), 255);
    typeAndLeave("MEnatlen", "12");
    EXPECT_EQ(at(1677), 12);

    for (const char* wrong : {"256", "-1", "", "1 2"}) {
        const zx::ConfigImage before = record.image;
        ui.shown.clear();
        typeAndLeave("MEcol1", QString::fromUtf8(wrong));
        EXPECT_EQ(ui.messages(),
                  QStringList{QString::fromUtf8("Értéknek 0..255 között kell lenni !!!")})
            << wrong;
        EXPECT_TRUE(record.image == before) << wrong;
        EXPECT_EQ(QApplication::focusWidget(), zx::childNamed<QLineEdit>(*form, "MEcol1")) << wrong;
        EXPECT_EQ(editText("MEcol1"), QString::fromUtf8(wrong)) << "the rejected text stays";
    }
}

TEST_F(SettingsEditors, ChoiceGroupsStoreOnEachClick) {
    form->showView(0);
    zx::childNamed<zx::RadioGroup>(*form, "RGspeed")->button(3)->click(); // 2400
    zx::childNamed<zx::RadioGroup>(*form, "RGbit")->button(1)->click();   // even
    EXPECT_EQ(at(1659), 25);
    zx::childNamed<zx::RadioGroup>(*form, "RGmod")->button(1)->click();
    zx::childNamed<zx::RadioGroup>(*form, "RG20h")->button(1)->click();
    EXPECT_EQ(at(1661), 17);
    EXPECT_TRUE(form->document().isModified());

    chooseModelInBox(DeviceModel::Line16);
    zx::childNamed<zx::RadioGroup>(*form, "RGspeed")->button(2)->click();
    zx::childNamed<zx::RadioGroup>(*form, "RGbit")->button(1)->click();
    EXPECT_EQ(at(1675), 'C');
}

TEST_F(SettingsEditors, RecordTerminatorCoWidthAndNumberTerminatorHaveTheirOwnChecks) {
    typeAndLeave("MErzk", "256");
    EXPECT_EQ(ui.messages(), QStringList{QString::fromUtf8("Hibás érték !!!")});
    EXPECT_EQ(at(1660), 13);
    typeAndLeave("MErzk", "3");
    EXPECT_EQ(at(1660), 3);

    chooseModelInBox(DeviceModel::Line16);
    ui.shown.clear();
    typeAndLeave("MEszamz", "x");
    EXPECT_EQ(ui.messages(), QStringList{QString::fromUtf8("Csak 0..9,*,# lehet !!!")});
    typeAndLeave("MEszamz", "#");
    EXPECT_EQ(at(1686), '#');
}

// A new 16-line configuration equals what `zendrax-cli new --model 16` writes: going through
// its blank "Számzáró kód" field with Tab stores the byte that is there and changes nothing.
TEST_F(SettingsEditors, EnteringAndLeavingAFieldUnchangedLeavesTheFlagClear) {
    chooseModelInBox(DeviceModel::Line16);
    ASSERT_FALSE(form->document().isModified());
    QLineEdit* terminator = find<QLineEdit>("MEszamz");
    showViewOf(terminator);
    terminator->setFocus();
    QTest::keyClick(terminator, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), terminator);
    EXPECT_EQ(at(1686), ' ');
    EXPECT_FALSE(form->document().isModified());
}

TEST_F(SettingsEditors, LineRowsOfBothModels) {
    // 4-line: CO width 2, so "12" fits line 3 (a third character would be refused).
    typeAndLeave("MEco03", "12");
    EXPECT_EQ(at(1684), '1');
    EXPECT_EQ(at(1685), '2');
    auto* alv2 = find<QCheckBox>("CBalv02");
    showViewOf(alv2);
    alv2->setFocus();
    alv2->click();
    leave();
    EXPECT_EQ(at(1666), 0x02);

    chooseModelInBox(DeviceModel::Line16);
    form->newConfiguration();         // every line 04: "Azonnal", "DTMF", "#1"
    record.image.set(1648 + 7, 0xE4); // bits 5..7 of line 8 set by someone else
    form->refill();
    auto* beh5 = find<QCheckBox>("CBbeh05");
    showViewOf(beh5);
    beh5->setFocus();
    beh5->click();
    leave();
    EXPECT_EQ(at(1648 + 4), 0x14);
    EXPECT_EQ(at(1648 + 7), 0x04) << "every line byte is rebuilt from its row";
}

TEST_F(SettingsEditors, TablesOfTheNumberAndCallInViewsMarkOnlyWhatChanged) {
    auto* view = form->numbersView();
    form->showView(3);
    zx::childNamed<QListWidget>(*view, "lbKiv")->setCurrentRow(5);
    EXPECT_EQ(editText("edKivSzam"), QStringLiteral("===="));
    zx::childNamed<QLineEdit>(*view, "edKivSzam")->setText("36");
    zx::childNamed<QLineEdit>(*view, "edKivHossz")->setText("7");
    zx::childNamed<QPushButton>(*view, "btnKivEdit")->click();
    EXPECT_EQ(editText("edKivSzam"), QStringLiteral("36??"));
    EXPECT_EQ(zx::childNamed<QListWidget>(*view, "lbKiv")->item(5)->text(),
              QStringLiteral("36??07"));
    EXPECT_EQ(at(1584 + 15), 0x36);
    EXPECT_EQ(at(1584 + 16), 0xFF);
    EXPECT_EQ(at(1584 + 17), 7);
    EXPECT_TRUE(form->document().isModified());

    setModified(false);
    zx::childNamed<QLineEdit>(*view, "edKivHossz")->setText("x");
    zx::childNamed<QPushButton>(*view, "btnKivEdit")->click();
    EXPECT_EQ(ui.messages().last(), QString::fromUtf8("Értéknek 0..255 között kell lenni !!!"));
    EXPECT_EQ(QApplication::focusWidget(), zx::childNamed<QLineEdit>(*view, "edKivHossz"));
    EXPECT_FALSE(form->document().isModified());

    typeAndLeave("edBehiv", "0612345678");
    EXPECT_EQ(at(1632), '0');
    EXPECT_EQ(at(1641), '8');
    EXPECT_EQ(at(1642), 0);
    EXPECT_TRUE(form->document().isModified());
    setModified(false);
    typeAndLeave("edBehiv", "0612345678");
    EXPECT_FALSE(form->document().isModified()) << "nothing changed, nothing to save";
}

TEST_F(SettingsEditors, ASixteenLineExceptionAreaThatIsNotTwoDigitsIsRefused) {
    chooseModelInBox(DeviceModel::Line16);
    auto* view = form->numbersView();
    form->showView(3);
    zx::childNamed<QListWidget>(*view, "lbKiv")->setCurrentRow(2);
    auto* area = zx::childNamed<QLineEdit>(*view, "edKivSzam");
    area->setText("0620");
    zx::childNamed<QLineEdit>(*view, "edKivHossz")->setText("9");
    setModified(false);
    const zx::ConfigImage before = record.image;
    zx::childNamed<QPushButton>(*view, "btnKivEdit")->click();
    EXPECT_EQ(ui.messages(),
              QStringList{QString::fromUtf8("A körzetszám pontosan két számjegy lehet !!!")});
    EXPECT_TRUE(record.image == before);
    EXPECT_FALSE(form->document().isModified());
    EXPECT_EQ(QApplication::focusWidget(), area);
    EXPECT_EQ(area->text(), QStringLiteral("0620")) << "the typed area stays";

    area->setText("62");
    zx::childNamed<QPushButton>(*view, "btnKivEdit")->click();
    EXPECT_EQ(at(1760 + 4), 0x62);
    EXPECT_EQ(at(1760 + 5), 9);
}

TEST_F(SettingsEditors, AFieldBeingEditedWhenTheModelChangesStoresInTheModelItWasTypedIn) {
    const zx::Byte sixteen = at(1683);
    auto* e = zx::childNamed<QLineEdit>(*form, "MEcopos");
    form->showView(0);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, "77");
    // The model box takes the focus first, then the switch refills through the 16-line map.
    form->modelBox->setFocus();
    ui.answers = {zx::Interaction::Answer::Yes};
    QTest::keyClick(form->modelBox, Qt::Key_Down);
    ASSERT_EQ(form->currentModel(), DeviceModel::Line16);
    EXPECT_EQ(at(1656), 77);
    EXPECT_EQ(at(1683), sixteen);
    EXPECT_EQ(editText("MEcopos"), QString::number(sixteen));
    e->setFocus();
    form->modelBox->setFocus();
    EXPECT_EQ(at(1683), sixteen) << "leaving again stores the value shown, at the new place";
}

} // namespace

namespace {

// "CO karakterszám": the numbers shown are rewritten at the new width; a width that cuts them
// asks first, and "Nem" puts the old width back with nothing changed. Typed values that do not
// fit their field are refused, not cut.
TEST_F(SettingsEditors, ACoWidthRewritesTheNumbersAndAsksBeforeCuttingThem) {
    auto* width = find<QComboBox>("CBcokar");
    const auto choose = [&](int item) {
        showViewOf(width);
        width->setFocus();
        width->setCurrentIndex(item);
        leave();
    };
    typeAndLeave("MEco02", "7");
    ui.shown.clear();
    choose(2); // 3 characters: nothing cut, nothing asked
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    EXPECT_EQ(at(1657), 3);
    EXPECT_EQ(find<QLineEdit>("MEco01")->text(), QStringLiteral("01 "));
    EXPECT_EQ(find<QLineEdit>("MEco02")->text(), QStringLiteral("7  "));

    const zx::ConfigImage before = record.image;
    ui.answers = {Answer::No};
    choose(0);
    EXPECT_EQ(ui.texts(Kind::Question),
              QStringList{QString::fromUtf8("3 CO szám rövidebb lesz. Folytatja?")});
    EXPECT_EQ(width->currentIndex(), 2);
    EXPECT_TRUE(record.image == before);

    ui.answers = {Answer::Yes};
    choose(0);
    EXPECT_EQ(at(1657), 1);
    EXPECT_EQ(at(1680), '0');
    EXPECT_EQ(at(1681), '7');
    EXPECT_EQ(find<QLineEdit>("MEco04")->text(), QStringLiteral("0"));

    ui.shown.clear();
    typeAndLeave("MEco03", "12");
    EXPECT_EQ(ui.messages(), QStringList{QString::fromUtf8(
                                 "CO szám: „12” nem tárolható, legfeljebb 1 karakter lehet !!!")});
    typeAndLeave("MEco03", "5");
    ui.shown.clear();
    typeAndLeave("edMP02", "06a");
    EXPECT_EQ(ui.messages(),
              QStringList{QString::fromUtf8("Mobil prefix: „06a” nem tárolható, legfeljebb 4 "
                                            "karakter lehet: számjegy (0..9) vagy ? !!!")});
    EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>("edMP02"));
    EXPECT_EQ(at(1414), 0x06) << "the prefix stored before stays";
}

} // namespace
