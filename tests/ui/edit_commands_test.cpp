// "&Visszavonás" and "&Mégis" as the operator reaches them: a short session of edits taken back
// with Ctrl+Z to the file as opened and done again with Ctrl+Y, each step named, shown on its
// page, and the modified flag following the saved state.
#include "shown_session.h"
#include "status_panel_text.h"
#include "widget_lookup.h"

#include "files/code_text_file.h"
#include "files/database_file.h"
#include "model/free_number_table.h"
#include "model/new_configuration.h"
#include "ui/commands/file_commands.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/views/code_grid.h"
#include "ui/views/code_grid_model.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

namespace zx {
namespace {

using Answer = Interaction::Answer;
using Kind = ScriptedInteraction::Kind;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class EditCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(s.start());
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    }
    MainWindow& window() { return s.window(); }
    ConfigDocument& document() { return window().document(); }
    QAction* undo() { return window().menu().undo; }
    QAction* redo() { return window().menu().redo; }
    CodeGrid* grid() { return childNamed<CodeGrid>(window(), "StringGrid1"); }
    QLineEdit* coPosition() { return childNamed<QLineEdit>(window(), "MEcopos"); }

    // A 4-line file with three six-digit codes and three free numbers, opened as Open opens it.
    void openFile() {
        DatabaseRecord r;
        applyNewConfiguration(r, DeviceModel::Line4);
        r.image.setWord(*MemoryMap::of(DeviceModel::Line4).offset(Field::CodeCount), 3);
        for (std::size_t i = 0; i < 21; ++i)
            r.image.set(CodeTableStart + i, i % 7 == 6 ? '0' : '1' + i / 7);
        freeNumbersPatch(DeviceModel::Line4, {RawText("0611"), RawText("0612"), RawText("0613")})
            ->applyTo(r.image);
        const QString file = s.dir.filePath("site.vd1");
        ASSERT_TRUE(writeDatabaseFile(file, r, QString()).ok);
        s.ui.dialogHandlers.push_back([](QDialog& d) { d.accept(); });
        ASSERT_TRUE(s.session.files().openDatabase(file));
    }
    void typeInto(QLineEdit* field, const QString& text) {
        window().showView(PageOrder::BasicPage);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    void press(const char* keys) {
        const QKeySequence sequence(QString::fromLatin1(keys));
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : &window(), sequence[0].key(),
                        sequence[0].keyboardModifiers());
        QApplication::processEvents();
    }
    std::array<Byte, RecordSize> bytes() { return document().record().toBytes(); }

    ShownSession s;
};

TEST_F(EditCommandsTest, ASessionTakenBackToTheFileAndDoneAgain) {
    openFile();
    const auto opened = bytes();
    EXPECT_FALSE(undo()->isEnabled() || redo()->isEnabled());
    const QString codeFile = s.dir.filePath("codes.txt");
    const auto rights = allRights(DeviceModel::Line4);
    ASSERT_TRUE(writeCodeTextFile(codeFile,
                                  {5, 2, {{RawText("1234"), rights}, {RawText("5678"), rights}}},
                                  DeviceModel::Line4)
                    .ok);

    // Each edit, the name its undo carries, and where the undo shows it.
    const struct {
        const char* name;
        std::function<void()> edit;
        int page;
        const char* focus;
        int row; // the current row of the grid or list, from 1
    } edits[] = {
        {"Alap / CO pozíció",
         [&] {
             typeInto(coPosition(), "41");
             press("Tab");
         },
         PageOrder::BasicPage, "MEcopos", 0},
        {"Kódok / 2. sor",
         [&] {
             window().showView(PageOrder::CodesPage);
             grid()->setFocus();
             grid()->setCurrentIndex(grid()->gridModel()->index(1, 0));
             QTest::keyClicks(grid(), "9");
             QTest::keyClicks(QApplication::focusWidget(), "87654");
             window().modelBox->setFocus();
         },
         PageOrder::CodesPage, "StringGrid1", 2},
        {"Generálás (3 kód)",
         [&] {
             s.ui.answers = {Answer::Yes};
             grid()->setFocus();
             press("Ctrl+G");
         },
         PageOrder::CodesPage, "StringGrid1", 1},
        {"Import <--Txt (2 kód)",
         [&] {
             s.ui.fileNames = {codeFile};
             window().menu().importCodesFromText->trigger();
         },
         PageOrder::CodesPage, "StringGrid1", 1},
        {"Preferenciák / Kódjegyek száma",
         [&] {
             // The two codes imported are shorter than six digits: agreed.
             s.ui.answers = {Answer::Yes};
             s.ui.dialogHandlers.push_back([](QDialog& d) {
                 auto& preferences = static_cast<PreferencesDialog&>(d);
                 preferences.SEkodlen->setValue(6);
                 preferences.okButton->click();
             });
             window().menu().preferences->trigger();
         },
         PageOrder::CodesPage, "StringGrid1", 1},
        {"Számok / Törlés",
         [&] {
             window().showView(PageOrder::FreeNumbersPage);
             auto* list = childNamed<QListWidget>(window(), "lbFreeCall");
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                               list->visualItemRect(list->item(1)).center());
             QTest::mouseClick(childNamed<QPushButton>(window(), "BTNfreedel"), Qt::LeftButton);
         },
         PageOrder::FreeNumbersPage, "lbFreeCall", 2},
    };
    for (const auto& e : edits) {
        e.edit();
        EXPECT_EQ(undo()->text(), u("&Visszavonás: ") + u(e.name));
    }
    EXPECT_EQ(s.ui.unscripted, 0);
    const auto edited = bytes();
    EXPECT_TRUE(document().isModified());

    for (std::size_t i = std::size(edits); i-- > 0;) {
        const auto& e = edits[i];
        press("Ctrl+Z");
        EXPECT_EQ(redo()->text(), u("&Mégis: ") + u(e.name));
        EXPECT_EQ(statusPanelText(window(), MainWindow::Panel::State),
                  u("Visszavonva: ") + u(e.name));
        EXPECT_EQ(window().currentView(), e.page) << e.name;
        QWidget* focus = QApplication::focusWidget();
        EXPECT_EQ(focus->objectName(), e.focus) << e.name;
        if (auto* list = qobject_cast<QListWidget*>(focus)) {
            EXPECT_EQ(list->currentRow() + 1, e.row) << e.name;
        } else if (e.row > 0) {
            EXPECT_EQ(grid()->currentIndex().row() + 1, e.row) << e.name;
        }
    }
    EXPECT_TRUE(bytes() == opened);
    EXPECT_FALSE(document().isModified());
    EXPECT_FALSE(undo()->isEnabled());
    s.ui.shown.clear();
    EXPECT_TRUE(window().mayClose());
    EXPECT_TRUE(s.ui.texts(Kind::Question).isEmpty()) << "closing asks nothing";

    for (std::size_t i = 0; i < std::size(edits); ++i)
        press(i % 2 ? "Ctrl+Shift+Z" : "Ctrl+Y");
    EXPECT_TRUE(bytes() == edited);
    EXPECT_TRUE(document().isModified());
    EXPECT_FALSE(redo()->isEnabled());

    // Ctrl+Z in a field being edited gives back the value stored before, not the one before
    // the store of the same field that came last.
    typeInto(coPosition(), "55");
    press("Tab");
    const auto stored = bytes();
    typeInto(coPosition(), "99");
    press("Ctrl+Z");
    EXPECT_EQ(coPosition()->text(), "55");
    EXPECT_TRUE(bytes() == stored);
    EXPECT_EQ(redo()->text(), u("&Mégis: Alap / CO pozíció"));
}

TEST_F(EditCommandsTest, SaveMarksTheCleanStateAndBusyModeDisablesBoth) {
    openFile();
    typeInto(coPosition(), "41");
    press("Ctrl+S");
    EXPECT_FALSE(document().isModified());
    press("Ctrl+Z");
    EXPECT_TRUE(document().isModified()) << "the saved state was left";
    press("Ctrl+Y");
    EXPECT_FALSE(document().isModified()) << "and reached again";

    window().setBusy(true);
    EXPECT_FALSE(undo()->isEnabled());
    undo()->trigger();
    EXPECT_EQ(coPosition()->text(), "41");
    window().setBusy(false);
    EXPECT_TRUE(undo()->isEnabled());

    // New starts a new history.
    press("Ctrl+N");
    EXPECT_FALSE(undo()->isEnabled());
    EXPECT_EQ(undo()->text(), u("&Visszavonás"));

    // With no step yet, Ctrl+Z in a field being typed still stores and takes back the value,
    // instead of the field's own undo of the keys typed.
    const QString shown = coPosition()->text();
    typeInto(coPosition(), "77");
    emit window().menu().editMenu->aboutToShow();
    EXPECT_TRUE(undo()->isEnabled()) << "the menu offers it too";
    press("Ctrl+Z");
    EXPECT_EQ(coPosition()->text(), shown);
    EXPECT_EQ(redo()->text(), u("&Mégis: Alap / CO pozíció"));
    EXPECT_FALSE(undo()->isEnabled());

    // A field that holds no configuration (the terminal's number) keeps its own undo.
    auto* phone = childNamed<QLineEdit>(window(), "edPhone");
    window().showView(PageOrder::TerminalPage);
    phone->setFocus();
    QTest::keyClicks(phone, "0612");
    press("Ctrl+Z");
    EXPECT_EQ(phone->text(), "");
    EXPECT_EQ(redo()->text(), u("&Mégis: Alap / CO pozíció")) << "the history untouched";
}

// 2, Save, 3, 2, 5 and one Ctrl+Z give the saved 2. Opened while a code is being typed, the menu
// names the step Ctrl+Z takes: the typed code's, not the last one stored.
TEST_F(EditCommandsTest, UndoStopsAtTheSavedStateAndTheMenuNamesWhatItTakes) {
    openFile();
    typeInto(coPosition(), "2");
    press("Ctrl+S");
    for (const char* value : {"3", "2", "5"}) {
        typeInto(coPosition(), value);
        press("Tab");
    }
    press("Ctrl+Z");
    EXPECT_EQ(coPosition()->text(), "2");
    EXPECT_FALSE(document().isModified());

    window().showView(PageOrder::CodesPage);
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->gridModel()->index(0, 0));
    QTest::keyClicks(grid(), "4");
    emit window().menu().editMenu->aboutToShow();
    EXPECT_EQ(undo()->text(), u("&Visszavonás: Kódok / 1. sor"));
    press("Ctrl+Z");
    EXPECT_EQ(grid()->cell(1, 1), "111111");
}

} // namespace
} // namespace zx
