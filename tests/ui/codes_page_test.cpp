// The "Kódok" page in the window: what the operator does in the grid reaches the code table
// when the grid is left, CodeCount follows growth and Ctrl+Delete, panel 1 follows the grid,
// and the menu's generation and duplicate check work on the grid through the interaction.
#include "widget_lookup.h"
#include "window_fixture.h"

#include "grid_driver.h"
#include "model/code_generation.h"
#include "model/code_table_store.h"
#include "model/memory_map.h"
#include "scripted_interaction.h"
#include "status_panel_text.h"
#include "ui/commands/code_commands.h"
#include "ui/views/code_grid.h"
#include "ui/views/code_grid_model.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <string>
#include <vector>

namespace {

using zx::DeviceModel;
using zx::Field;
using Kind = zx::ScriptedInteraction::Kind;

// Numbers in the order a test lays down, over and over.
class ScriptedRandom : public zx::RandomSource {
  public:
    explicit ScriptedRandom(std::vector<std::uint32_t> values) : values_(std::move(values)) {}
    std::uint32_t below(std::uint32_t bound) override {
        return values_[next_++ % values_.size()] % bound;
    }

  private:
    std::vector<std::uint32_t> values_;
    std::size_t next_ = 0;
};

class CodesPage : public WindowTest, protected GridDriver {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->showView(4);
        grid = zx::childNamed<zx::CodeGrid>(*form, "StringGrid1");
    }

    std::size_t offset(Field field) const {
        return *zx::MemoryMap::of(form->document().model()).offset(field);
    }
    int codeLength() const { return record.image.at(offset(Field::CodeLength)); }
    int codeCount() const { return record.image.word(offset(Field::CodeCount)); }

    // A stored table of these codes, each padded to its width and with every right, shown in
    // the window as a file open or download would show it; nothing is modified yet.
    void storeTable(int length, const std::vector<std::string>& codes) {
        record.image.set(offset(Field::CodeLength), static_cast<zx::Byte>(length));
        record.image.setWord(offset(Field::CodeCount), static_cast<std::uint16_t>(codes.size()));
        for (std::size_t n = 0; n < codes.size(); ++n)
            setRecord(static_cast<int>(n) + 1, codes[n]);
        form->refill();
        setModified(false);
        ui.shown.clear();
    }
    void setRecord(int n, std::string code) {
        const int length = codeLength();
        code.resize(static_cast<std::size_t>(length - 1), ' ');
        code += form->document().model() == DeviceModel::Line4 ? '?' : '4';
        const std::size_t at =
            offset(Field::CodeTable) + static_cast<std::size_t>((n - 1) * length);
        for (std::size_t i = 0; i < code.size(); ++i)
            record.image.set(at + i, static_cast<zx::Byte>(code[i]));
    }
    // Record n (from 1) as the table holds it: the code's characters and the rights character.
    std::string storedRecord(int n) const {
        const int length = codeLength();
        const std::size_t at =
            offset(Field::CodeTable) + static_cast<std::size_t>((n - 1) * length);
        return std::string(reinterpret_cast<const char*>(&record.image.bytes()[at]),
                           static_cast<std::size_t>(length));
    }
    QString panel() const { return zx::statusPanelText(*form, MainWindow::Panel::Codes); }

    // Types a code into a code cell and ends the editing with Return.
    void typeCode(int row, const char* digits) {
        goTo(1, row);
        // Each key goes where the operator's keys go: the in-place editor once it is open.
        for (const char* k = digits; *k; ++k)
            QTest::keyClick(QApplication::focusWidget(), *k);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
    }
    void popup(const char* item) {
        QAction* action = grid->popupMenu()->findChild<QAction*>(QString::fromUtf8(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    void leave() { form->modelBox->setFocus(); }
    bool gridHasFocus() const {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == grid || grid->isAncestorOf(focus));
    }
};

TEST_F(CodesPage, EditsReachTheCodeTableWhenTheGridIsLeft) {
    storeTable(7, {"111111", "222222", "333333"});
    typeCode(2, "123");
    doubleClick(3, 1); // long-distance of code 1 off
    click(2, 1);
    click(2, 3, Qt::ShiftModifier);
    popup("Mobil1"); // mobile of codes 1 to 3 off
    EXPECT_EQ(storedRecord(2), "222222?") << "nothing is stored while the grid has the focus";
    EXPECT_FALSE(form->document().isModified()) << "the flag follows the stored bytes";

    leave();
    EXPECT_TRUE(form->document().isModified());
    EXPECT_EQ(storedRecord(1), "1111119"); // local and international: 1 + 8
    EXPECT_EQ(storedRecord(2), "123   ;"); // local, long-distance, international: 1 + 2 + 8
    EXPECT_EQ(storedRecord(3), "333333;");
    EXPECT_EQ(codeCount(), 3);

    // Coming back into the grid forgets the edits already stored: leaving it without an edit
    // writes nothing, even when the table changed meanwhile.
    goTo(2, 1);
    setModified(false);
    setRecord(1, "999999");
    leave();
    EXPECT_EQ(storedRecord(1), "999999?");
    EXPECT_FALSE(form->document().isModified());

    // "Mind kijelöl" and the popup's "Tiltott" bar every code.
    goTo(1, 1);
    action("SelectAllkod")->trigger();
    popup("Tiltott1");
    leave();
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(storedRecord(n).back(), '0') << n;

    // A refill makes the grid the table's copy again: a later store (Save calls it) writes no
    // row that is not in the table, not even the empty one shown for no codes at all.
    record.image.setWord(offset(Field::CodeCount), 0);
    form->refill();
    form->codesView()->storeGrid();
    EXPECT_EQ(codeCount(), 0);
}

// A letter an input method gave (no key filter sees it) is refused with the row and the value:
// nothing is written, the page is kept, and the cell is open again with the text as typed.
TEST_F(CodesPage, CodesAreStoredThroughTheCodeRule) {
    storeTable(5, {"1111", "2222"});
    goTo(1, 2);
    QTest::keyClick(QApplication::focusWidget(), '1');
    QInputMethodEvent typed;
    typed.setCommitString("2a");
    QApplication::sendEvent(QApplication::focusWidget(), &typed);
    form->showView(5);
    EXPECT_EQ(form->currentView(), 4);
    ASSERT_FALSE(ui.messages().isEmpty());
    EXPECT_TRUE(ui.messages()[0].startsWith(QString::fromUtf8("Kódok / 2. sor: Kód: „12a”")));
    EXPECT_EQ(storedRecord(2), "2222?");
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "12a");
}

TEST_F(CodesPage, GrowthAndCtrlDeleteCarryCodeCountAndThePanel) {
    storeTable(7, {"111111", "222222"});
    EXPECT_EQ(panel(), "2/6");
    goTo(2, 2);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(codeCount(), 3) << "the new row is counted at once";
    EXPECT_EQ(panel(), "3/6");
    leave();
    EXPECT_EQ(storedRecord(3), "      ?");

    setModified(false);
    goTo(3, 3);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(codeCount(), 2);
    EXPECT_EQ(panel(), "2/6");
    EXPECT_TRUE(form->document().isModified());
    leave();
    form->refill();
    EXPECT_EQ(grid->codeRowCount(), 2) << "the dropped code does not come back";

    // Growth reaches the table's capacity: 341 eight-digit codes.
    storeTable(9, std::vector<std::string>(340, "12345678"));
    goTo(2, 340);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(codeCount(), 341);
    EXPECT_EQ(panel(), "341/8");
}

TEST_F(CodesPage, ACodeCountBeyondTheTableIsToldOnceAndStoredAsFarAsItFits) {
    storeTable(9, std::vector<std::string>(341, "87654321"));
    record.image.setWord(offset(Field::CodeCount), 400);
    const zx::ConfigImage before = record.image;
    form->refill();
    EXPECT_EQ(ui.messages(),
              QStringList{QString::fromStdString(*zx::codeCountOverflowNote(400, 9))});
    EXPECT_EQ(grid->codeRowCount(), 341);
    EXPECT_EQ(panel(), "341/8");
    EXPECT_TRUE(record.image == before) << "the refill itself changes nothing";

    typeCode(341, "1");
    leave();
    EXPECT_EQ(codeCount(), 341);
    EXPECT_EQ(storedRecord(341), "1       ?") << "a one-digit code is stored padded";
    EXPECT_EQ(ui.messages().size(), 1);
}

TEST_F(CodesPage, GenerationFillsTheGridThenStoresIt) {
    storeTable(3, std::vector<std::string>(10, "99"));
    auto& commands = *codeCommands;
    // 5 comes twice: the second draw is taken again.
    commands.makeRandom = [] {
        return std::make_unique<ScriptedRandom>(
            std::vector<std::uint32_t>{5, 5, 7, 70, 1, 2, 3, 4, 8, 9, 10});
    };
    leave();
    // Ten codes are there: the operator is asked, and "Nem" leaves them.
    ui.answers = {zx::Interaction::Answer::No};
    action("Generls1")->trigger();
    EXPECT_EQ(ui.texts(Kind::Question),
              QStringList{QString::fromUtf8("A meglévő 10 kód helyére újak kerülnek. Folytatja?")});
    EXPECT_EQ(storedRecord(1), "99?");
    EXPECT_FALSE(form->document().isModified());
    ui.shown.clear();
    ui.answers = {zx::Interaction::Answer::Yes};
    action("Generls1")->trigger();
    const QStringList codes = {"05", "07", "70", "01", "02", "03", "04", "08", "09", "10"};
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(grid->cell(1, n), codes[n - 1]) << n;
        EXPECT_EQ(storedRecord(n), codes[n - 1].toStdString() + "?") << n;
    }
    EXPECT_TRUE(form->document().isModified());
    EXPECT_TRUE(gridHasFocus());
    EXPECT_EQ(ui.shown.size(), 1) << "the one question, nothing more";

    // At once again: a new table.
    commands.makeRandom = [] {
        return std::make_unique<ScriptedRandom>(
            std::vector<std::uint32_t>{42, 43, 44, 45, 46, 47, 48, 49, 50, 51});
    };
    ui.answers = {zx::Interaction::Answer::Yes};
    action("Generls1")->trigger();
    EXPECT_EQ(storedRecord(10), "51?");

    // The 16-line unit gets the barred level for generated codes, in the grid as in the table.
    // Blank codes are no codes to replace: nothing is asked.
    chooseModelInBox(DeviceModel::Line16);
    storeTable(5, {"    ", ""});
    action("Generls1")->trigger();
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    EXPECT_EQ(grid->cell(2, 1), QStringLiteral("T"));
    EXPECT_EQ(storedRecord(2).back(), '0');
}

TEST_F(CodesPage, ARefusedGenerationSaysWhyAndChangesNothing) {
    storeTable(3, std::vector<std::string>(101, "12")); // only 100 two-digit codes exist
    const zx::ConfigImage before = record.image;
    ui.answers = {zx::Interaction::Answer::Yes};
    action("Generls1")->trigger();
    EXPECT_EQ(ui.messages(),
              QStringList{QString::fromUtf8("Értelmetlen adat: Kódok darabszáma:101")});
    EXPECT_TRUE(record.image == before);
    EXPECT_FALSE(form->document().isModified());
    EXPECT_EQ(grid->codeRowCount(), 101);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone";

    // No codes stored: the empty row the grid shows is not made a code.
    record.image.setWord(offset(Field::CodeCount), 0);
    form->refill();
    ui.shown.clear();
    action("Generls1")->trigger();
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(codeCount(), 0);
}

TEST_F(CodesPage, DuplicateCheckTellsEachPairUntilCancelled) {
    storeTable(7, {"123", "456", "123", "456", "789"});
    typeCode(5, "123"); // typed, so without the stored code's trailing spaces
    ui.confirmations = {true, true, true, true};
    action("Ellenrzs1")->trigger();
    EXPECT_EQ(ui.texts(Kind::ErrorOkCancel),
              (QStringList{QString::fromUtf8("Kód eggyezés:1 = 3"),
                           QString::fromUtf8("Kód eggyezés:1 = 5"),
                           QString::fromUtf8("Kód eggyezés:2 = 4"),
                           QString::fromUtf8("Kód eggyezés:3 = 5")}));
    EXPECT_TRUE(ui.messages().isEmpty()) << "pairs were found";
    EXPECT_EQ(ui.unscripted, 0);

    ui.shown.clear();
    ui.confirmations = {false};
    action("Ellenrzs1")->trigger();
    EXPECT_EQ(ui.texts(Kind::ErrorOkCancel).size(), 1);
    EXPECT_TRUE(ui.messages().isEmpty());

    ui.shown.clear();
    typeCode(3, "321");
    typeCode(4, "654");
    typeCode(5, "987");
    action("Ellenrzs1")->trigger();
    EXPECT_TRUE(ui.texts(Kind::ErrorOkCancel).isEmpty());
    EXPECT_EQ(ui.messages(), QStringList{QString::fromUtf8("Nincs két egyforma kód !")});
}

} // namespace
