// What the window shows is what is saved, sent and closed over: the value still being typed in a
// field or in the code grid's cell goes through its own check before every command that reads
// the configuration, and the window's shortcuts reach their commands from any field with the
// typed text kept. Real key events through the window's shortcut map, in both models.
#include "file_fixture.h"
#include "files/connection_settings.h"
#include "files/database_file.h"
#include "link/served_unit.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"
#include "scripted_interaction.h"
#include "ui/commands/device_link_controller.h"
#include "ui/commands/transfer_commands.h"
#include "ui/desktop_session.h"
#include "ui/dialogs/interaction.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/main_window.h"
#include "ui/views/basic_view.h"
#include "ui/views/code_grid.h"
#include "ui/views/code_grid_model.h"
#include "ui/views/codes_view.h"
#include "widget_lookup.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zx {
namespace {

using Answer = Interaction::Answer;
using Kind = ScriptedInteraction::Kind;

const QString RangeMessage = QString::fromUtf8("Értéknek 0..255 között kell lenni !!!");
const QString SaveQuestion = QString::fromUtf8("Menti a változásokat ?");

// A text field that takes every Ctrl key for its own editing before the window's shortcuts are
// looked at, as Qt's line edit does with Ctrl+U (erase the line) and Ctrl+E (go to the end)
// under the X11 keyboard scheme of a Linux desktop.
class ClaimsCtrlKeys : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride &&
            static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier) {
            event->accept();
            return true;
        }
        return false;
    }
};

class CommitStep : public ::testing::TestWithParam<DeviceModel> {
  protected:
    void TearDown() override {
        session.reset();
        unit.reset();
        setConfigDir(QString());
    }

    DeviceModel model() const { return GetParam(); }
    std::size_t offset(Field field) const { return *MemoryMap::of(model()).offset(field); }

    // A database file of the model's new configuration with three codes.
    QString writeFile(const QString& name) {
        DatabaseRecord r;
        applyNewConfiguration(r, model());
        r.image.set(offset(Field::CodeLength), 7);
        r.image.setWord(offset(Field::CodeCount), 3);
        // Records of CodeLength bytes: six digits and the rights character.
        const std::size_t table = offset(Field::CodeTable);
        for (std::size_t i = 0; i < 3; ++i) {
            for (std::size_t k = 0; k < 6; ++k)
                r.image.set(table + i * 7 + k, static_cast<Byte>('1' + i));
            r.image.set(table + i * 7 + 6, '0');
        }
        const QString file = dir.filePath(name);
        EXPECT_TRUE(writeDatabaseFile(file, r, QString()).ok);
        return file;
    }

    // The program as it starts, on a unit served on a pseudo-terminal (or a port that does not
    // exist), with `file` opened when one is named; the window shown and active.
    void start(const QString& file = {}, bool withUnit = false) {
        setConfigDir(dir.path());
        ConnectionState state;
        state.portName = dir.filePath("no-such-port");
        if (withUnit) {
            unit = std::make_unique<ServedUnit>(model(), ConfigImage{});
            QString error;
            ASSERT_TRUE(unit->start(&error)) << error.toStdString();
            state.portName = unit->devicePath();
        }
        ASSERT_TRUE(writeConnectionSettings(state));
        if (!file.isEmpty())
            ui.dialogHandlers.push_back(
                [](QDialog& d) { static_cast<PasswordDialog&>(d).accept(); });
        DesktopOptions options;
        options.configDir = dir.path();
        options.model = model();
        options.file = file;
        session = std::make_unique<DesktopSession>(ui);
        QString error;
        ASSERT_TRUE(session->start(options, &error)) << error.toStdString();
        session->window().viewPages->buildAll(); // as after the window's first paint
        coPosition()->installEventFilter(&claims);
        window().show();
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        ui.shown.clear();
    }
    MainWindow& window() { return session->window(); }
    QLineEdit* coPosition() { return zx::childNamed<QLineEdit>(window(), "MEcopos"); }
    CodeGrid* grid() { return zx::childNamed<zx::CodeGrid>(window(), "StringGrid1"); }

    // The operator clicks into the field, selects what it shows and types over it.
    void typeInto(QLineEdit* field, const QString& text) {
        window().showView(0);
        field->setFocus();
        QApplication::processEvents();
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    // The operator opens the code cell of `row` (1-based) by typing into it.
    QWidget* typeCode(int row, const QString& digits) {
        window().showView(4);
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->gridModel()->index(row - 1, 0));
        QApplication::processEvents();
        QTest::keyClicks(grid(), digits.left(1));
        QWidget* editor = QApplication::focusWidget();
        if (!editor || !qobject_cast<QLineEdit*>(editor)) return nullptr;
        editor->installEventFilter(&claims);
        QTest::keyClicks(editor, digits.mid(1));
        return editor;
    }
    // A key combination as the operator presses it in the widget holding the focus: it goes
    // through the window's shortcut map first.
    void press(const QKeySequence& keys) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, keys[0].key(), keys[0].keyboardModifiers());
        QApplication::processEvents();
    }
    void settle() {
        QElapsedTimer t;
        t.start();
        do
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        while (session->transfers().busy() && t.elapsed() < 120000);
    }

    QTemporaryDir dir;
    ClaimsCtrlKeys claims;
    ScriptedInteraction ui;
    std::unique_ptr<ServedUnit> unit;
    std::unique_ptr<DesktopSession> session;
};

TEST_P(CommitStep, SaveWritesTheValueBeingTypedAndARefusalWritesNothing) {
    const QString file = writeFile("site.vd1");
    start(file);
    typeInto(coPosition(), "41");
    press(QKeySequence("Ctrl+S"));
    EXPECT_EQ(imageInFile(file).at(offset(Field::CoPosition)), 41);
    EXPECT_FALSE(window().document().isModified());
    EXPECT_EQ(coPosition()->text(), "41");
    EXPECT_EQ(QApplication::focusWidget(), coPosition());

    const ConfigImage saved = imageInFile(file);
    typeInto(coPosition(), "300");
    press(QKeySequence("Ctrl+S"));
    EXPECT_EQ(ui.messages(), QStringList{RangeMessage});
    EXPECT_EQ(imageInFile(file), saved);
    EXPECT_EQ(coPosition()->text(), "300");
    EXPECT_EQ(QApplication::focusWidget(), coPosition());
    EXPECT_TRUE(ui.texts(Kind::SaveFile).isEmpty());
}

TEST_P(CommitStep, EveryWayOfClosingAsksAboutTheValueBeingTyped) {
    start();
    // The title bar's button and Alt+F4 close the window through its close event; the menu's
    // "Kilépés" and the end of the desktop session go the same way.
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"close button", [this] { window().close(); }},
        {"Kilépés", [this] { window().menu().exitProgram->trigger(); }},
        {"session end", [this] { window().mayClose(); }},
    };
    int typed = 42;
    for (const auto& [way, close] : ways) {
        ui.shown.clear();
        ui.answers = {Answer::Cancel};
        typeInto(coPosition(), QString::number(typed));
        close();
        EXPECT_EQ(ui.texts(Kind::Question), QStringList{SaveQuestion}) << way;
        EXPECT_TRUE(window().isVisible()) << way;
        EXPECT_EQ(window().document().image().at(offset(Field::CoPosition)), typed) << way;
        EXPECT_EQ(coPosition()->text(), QString::number(typed)) << way;
        ++typed;
    }
    // A refused value keeps the window open without a question.
    ui.shown.clear();
    typeInto(coPosition(), "256");
    window().close();
    EXPECT_EQ(ui.messages(), QStringList{RangeMessage});
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    EXPECT_TRUE(window().isVisible());

    ui.answers = {Answer::No};
    typeInto(coPosition(), "45");
    window().close();
    EXPECT_FALSE(window().isVisible());
}

TEST_P(CommitStep, UploadSendsAndDownloadAsksAboutTheValueBeingTyped) {
    start({}, true);
    typeInto(coPosition(), "43");
    press(QKeySequence("Ctrl+U"));
    settle();
    EXPECT_EQ(coPosition()->text(), "43");

    typeInto(coPosition(), "300");
    press(QKeySequence("Ctrl+U"));
    settle();
    EXPECT_EQ(ui.messages(), QStringList{RangeMessage});

    ui.shown.clear();
    ui.answers = {Answer::Cancel};
    typeInto(coPosition(), "44");
    press(QKeySequence("Ctrl+D"));
    settle();
    EXPECT_EQ(ui.texts(Kind::Question), QStringList{SaveQuestion});
    EXPECT_EQ(coPosition()->text(), "44");

    unit->stop();
    // One upload reached the unit, with the value typed before Ctrl+U.
    EXPECT_EQ(unit->unit().memory().at(offset(Field::CoPosition)), 43);
    EXPECT_EQ(unit->unit().stats().accepted, model() == DeviceModel::Line4 ? 212 : 205);
}

TEST_P(CommitStep, PrintTakesTheValueBeingTypedAndARefusalPrintsNothing) {
    start();
    typeInto(coPosition(), "300");
    press(QKeySequence("Ctrl+P"));
    EXPECT_EQ(ui.messages(), QStringList{RangeMessage});
    EXPECT_TRUE(ui.texts(Kind::Dialog).isEmpty()) << "no print dialog";

    ui.shown.clear();
    typeInto(coPosition(), "45");
    press(QKeySequence("Ctrl+P"));
    EXPECT_EQ(window().document().image().at(offset(Field::CoPosition)), 45);
    EXPECT_EQ(ui.texts(Kind::Dialog).size(), 1) << "the print dialog, cancelled by the script";
    EXPECT_EQ(coPosition()->text(), "45");
}

TEST_P(CommitStep, ACodeBeingTypedInTheGridIsSavedChecked) {
    const QString file = writeFile("codes.vd1");
    start(file);
    ASSERT_NE(typeCode(2, "5555"), nullptr);
    press(QKeySequence("Ctrl+S"));
    const ConfigImage saved = imageInFile(file);
    const std::size_t row2 = offset(Field::CodeTable) + 7;
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&saved.bytes()[row2]), 6), "5555  ");
    EXPECT_EQ(grid()->cell(1, 2), "5555");
    EXPECT_FALSE(window().document().isModified());

    // The check sees the code typed into row 3 as the same as row 1's.
    ASSERT_NE(typeCode(3, "111111"), nullptr);
    ui.confirmations = {false};
    press(QKeySequence("Ctrl+E"));
    EXPECT_EQ(ui.texts(Kind::ErrorOkCancel).size(), 1);
}

// Each shortcut of the menu runs its command from a text field and from the code grid's cell
// editor; what was typed stays as typed (in the field, or in its cell once the editor closed).
TEST_P(CommitStep, EveryShortcutOfTheMenuRunsFromAFieldAndFromTheGridsEditor) {
    start();
    // Undo and redo change the value by what they are, and redo waits for an undo: their own
    // test walks them from the fields and the grid.
    const MainMenu& menu = window().menu();
    QList<QAction*> commands;
    for (QAction* action : window().menuBar()->findChildren<QAction*>())
        if (!action->shortcut().isEmpty() && !commands.contains(action) && action != menu.undo &&
            action != menu.redo)
            commands << action;
    ASSERT_GE(commands.size(), 10);
    // Generation replaces the grid; it goes last.
    std::stable_partition(commands.begin(), commands.end(),
                          [](QAction* a) { return a->objectName() != "Generls1"; });

    const QStringList codeMenu{"SelectAllkod", "Generls1", "Ellenrzs1"};
    for (QAction* action : commands) {
        const QString name = action->objectName();
        QSignalSpy ran(action, &QAction::triggered);
        ui.answers = {Answer::Cancel, Answer::Cancel};
        ui.confirmations = {false, false};
        if (!codeMenu.contains(name)) {
            typeInto(coPosition(), "12");
            press(action->shortcut());
            settle();
            EXPECT_EQ(ran.count(), 1) << name.toStdString() << " from a field";
            EXPECT_EQ(coPosition()->text(), "12") << name.toStdString();
        }
        ASSERT_NE(typeCode(1, "4321"), nullptr) << name.toStdString();
        press(action->shortcut());
        settle();
        EXPECT_EQ(ran.count(), codeMenu.contains(name) ? 1 : 2)
            << name.toStdString() << " from the grid's editor";
        // Generation fills the grid anew; Refresh shows what is stored, by its definition.
        if (name != "Generls1" && name != "Refresh") {
            EXPECT_EQ(grid()->cell(1, 1), "4321") << name.toStdString();
        }
    }
}

// Passing through every control with Tab, as an operator reading the pages does, writes nothing:
// not even a byte the choices cannot tell, such as a random record's SMDR bytes, line bytes or
// call-in flags. The record, its modified flag and its history stay as opened.
TEST_P(CommitStep, TabThroughEveryControlOfARandomRecordChangesNoByte) {
    DatabaseRecord r;
    std::uint32_t x = model() == DeviceModel::Line4 ? 0x2545F491u : 0x9E3779B9u;
    for (std::size_t i = 0; i < ImageSize; ++i) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        r.image.set(i, static_cast<Byte>(x));
    }
    r.image.setWord(offset(Field::CodeCount), 3);
    const QString file = dir.filePath("random.vd1");
    ASSERT_TRUE(writeDatabaseFile(file, r, QString()).ok);
    start(file);
    const ConfigImage opened = window().document().image();
    for (int page = 0; page < 7; ++page) {
        window().showView(page);
        QWidget* shown = window().viewPages->currentWidget();
        QList<QWidget*> controls;
        for (QWidget* w : shown->findChildren<QWidget*>())
            if (w->isVisibleTo(shown) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
                controls << w;
        ASSERT_FALSE(controls.isEmpty()) << page;
        controls.front()->setFocus();
        QApplication::processEvents();
        const qsizetype presses = page == 4 ? 12 : controls.size() + 2;
        for (qsizetype i = 0; i < presses; ++i)
            press(QKeySequence(Qt::Key_Tab));
        EXPECT_EQ(window().document().image(), opened) << "page " << page;
    }
    EXPECT_FALSE(window().document().isModified());
    EXPECT_FALSE(window().document().canUndo()) << window().document().undoName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(BothModels, CommitStep,
                         ::testing::Values(DeviceModel::Line4, DeviceModel::Line16));

} // namespace
} // namespace zx
