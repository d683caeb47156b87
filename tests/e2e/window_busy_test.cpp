// The window while an operation owns the line: its busy mode against every menu command, the
// cancel by Escape and by the "Megszakítás" button, and closing during a transfer. The program as
// it starts, against a simulated unit on a pseudo-terminal.
#include "files/connection_settings.h"
#include "files/database_file.h"
#include "link/line_operations.h"
#include "link/served_unit.h"
#include "model/new_configuration.h"
#include "scripted_interaction.h"
#include "status_panel_text.h"
#include "ui/commands/device_link_controller.h"
#include "ui/commands/transfer_commands.h"
#include "ui/desktop_session.h"
#include "ui/dialogs/interaction.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/main_window.h"
#include "ui/terminal/terminal_page.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zx {
namespace {

using Answer = Interaction::Answer;
using Kind = ScriptedInteraction::Kind;

// What a cancel may take on a loaded machine, beyond the 200 ms the program allows itself.
constexpr int CancelLimitMs = 200 + 150;

class WindowBusy : public ::testing::Test {
  protected:
    void TearDown() override { stop(); }
    void stop() {
        session.reset();
        unit.reset();
        setConfigDir(QString());
        statuses.clear();
        ui = ScriptedInteraction{};
    }
    // The program started on a database file, its unit behaving as `faults` say.
    void start(const UnitFaults& faults = {}) {
        unit = std::make_unique<ServedUnit>(DeviceModel::Line4, ConfigImage{}, faults);
        QString error;
        ASSERT_TRUE(unit->start(&error)) << error.toStdString();
        setConfigDir(dir.path());
        ConnectionState state;
        state.portName = unit->devicePath();
        // The line runs at the unit's pace, when it has one.
        if (faults.baud > 0) state.speedIndex = speedIndexOf(QString::number(faults.baud));
        ASSERT_TRUE(writeConnectionSettings(state));
        DatabaseRecord record;
        applyNewConfiguration(record, DeviceModel::Line4);
        DesktopOptions options;
        options.configDir = dir.path();
        options.file = dir.filePath("telephely.vd1");
        ASSERT_TRUE(writeDatabaseFile(options.file, record, QString()).ok);
        ui.dialogHandlers.push_back([](QDialog& d) { static_cast<PasswordDialog&>(d).accept(); });
        session = std::make_unique<DesktopSession>(ui);
        ASSERT_TRUE(session->start(options, &error)) << error.toStdString();
        ASSERT_EQ(window().document().currentFileName(), options.file);
        window().viewPages->buildAll();
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        QObject::connect(&transfers(), &TransferCommands::progressed,
                         [this](const QString& s) { statuses << s; });
        ui.shown.clear();
    }
    MainWindow& window() { return session->window(); }
    TransferCommands& transfers() { return session->transfers(); }
    // Starts a command and waits for the status `until` shows.
    void startUntil(QAction* command, const QString& until) {
        command->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return statuses.contains(until); }, 30000))
            << statuses.join('|').toStdString();
        ASSERT_TRUE(transfers().busy());
    }
    // Milliseconds until the operation has ended.
    qint64 endTime(const QElapsedTimer& since) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !transfers().busy(); }, 10000));
        return since.elapsed();
    }
    QString panel3() { return zx::statusPanelText(window(), MainWindow::Panel::State); }
    QPushButton* cancelButton() { return zx::childNamed<QPushButton>(window(), "btnCancel"); }

    QTemporaryDir dir;
    ScriptedInteraction ui;
    std::unique_ptr<ServedUnit> unit;
    std::unique_ptr<DesktopSession> session;
    QStringList statuses;
};

// However a command arrives (a global menu, an accessibility action: QAction::trigger with no
// input event), none of them reaches the configuration or the line while a download runs.
TEST_F(WindowBusy, EveryMenuCommandIsRefusedWhileASilentUnitIsDownloaded) {
    start({.silent = true});
    window().showView(3);
    const DatabaseRecord before = window().document().record();
    const QString file = window().document().currentFileName();
    startUntil(window().menu().download, QStringLiteral("Tipusellenőrzés..."));

    const MainMenu& menu = window().menu();
    int triggered = 0;
    for (QAction* action : window().menuBar()->findChildren<QAction*>()) {
        if (action->isSeparator() || action->menu() || action == menu.helpContents) continue;
        EXPECT_EQ(action->isEnabled(), action == menu.exitProgram)
            << action->objectName().toStdString();
        action->trigger();
        QApplication::processEvents();
        ++triggered;
    }
    EXPECT_GE(triggered, 35);
    EXPECT_TRUE(menu.helpContents->isEnabled()) << "the help reads no configuration";
    EXPECT_FALSE(window().modelBox->isEnabled());
    EXPECT_FALSE(window().viewPages->isEnabled());
    // "Kilépés" asked whether to stop the download; the unscripted answer is No.
    EXPECT_EQ(ui.texts(Kind::Question), QStringList{TransferCommands::closeQuestion()});
    EXPECT_EQ(ui.shown.size(), 1);
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(transfers().busy());
    EXPECT_EQ(window().document().record(), before);
    EXPECT_EQ(window().document().currentFileName(), file);
    EXPECT_FALSE(window().document().isModified());
    EXPECT_EQ(window().currentModel(), DeviceModel::Line4);

    QTest::mouseClick(cancelButton(), Qt::LeftButton);
    QElapsedTimer clock;
    clock.start();
    EXPECT_LT(endTime(clock), CancelLimitMs);
    EXPECT_EQ(panel3(), QStringLiteral("Megszakítva."));
    EXPECT_EQ(ui.shown.size(), 1) << "a cancelled download says nothing more";
    EXPECT_EQ(window().document().record(), before);
    EXPECT_FALSE(window().document().isModified());
    EXPECT_EQ(window().currentView(), 3);
    EXPECT_TRUE(menu.download->isEnabled());
    EXPECT_TRUE(window().modelBox->isEnabled());
    EXPECT_FALSE(cancelButton()->isVisible());
}

TEST_F(WindowBusy, EscapeAndTheButtonStopADownloadAndAnUpload) {
    const struct {
        const char* name;
        bool upload;
        bool escape;
    } cases[] = {
        {"download, Escape", false, true},
        {"download, button", false, false},
        {"upload, Escape", true, true},
        {"upload, button", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A silent unit for the download; a 300-baud unit, whose every frame takes 2.3 s to
        // acknowledge, for the upload.
        start(c.upload ? UnitFaults{.baud = 300} : UnitFaults{.silent = true});
        const DatabaseRecord before = window().document().record();
        const MainMenu& menu = window().menu();
        startUntil(c.upload ? menu.upload : menu.download,
                   c.upload ? QStringLiteral("Memória szegmens: 45/255")
                            : QStringLiteral("Tipusellenőrzés..."));
        QElapsedTimer clock;
        clock.start();
        if (c.escape)
            QTest::keyClick(&window(), Qt::Key_Escape);
        else
            QTest::mouseClick(cancelButton(), Qt::LeftButton);
        EXPECT_LT(endTime(clock), CancelLimitMs);
        EXPECT_EQ(panel3(), QStringLiteral("Megszakítva."));
        EXPECT_EQ(window().document().record(), before);
        EXPECT_FALSE(window().document().isModified());
        if (c.upload) {
            // The unit may hold part of the new configuration: said plainly, a new upload
            // offered (the unscripted answer is No).
            EXPECT_EQ(ui.texts(Kind::Question),
                      QStringList{uploadCancelledMessage(true, QString()) + "\nÚjra feltölti ?"});
        } else {
            EXPECT_TRUE(ui.shown.isEmpty());
        }
        EXPECT_FALSE(transfers().busy());
        stop();
    }
}

TEST_F(WindowBusy, ClosingAsksWhetherToStopTheTransferAndYesStopsItThenClosesAsUsual) {
    start({.silent = true});
    window().document().markModified();
    const DatabaseRecord before = window().document().record();
    ui.answers = {Answer::No}; // no save before the download
    startUntil(window().menu().download, QStringLiteral("Tipusellenőrzés..."));

    ui.answers = {Answer::No};
    EXPECT_FALSE(window().close());
    EXPECT_TRUE(transfers().busy()) << "Nem keeps it running";

    ui.shown.clear();
    ui.answers = {Answer::Yes, Answer::No}; // stop it; then the save question as ever
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(window().close());
    EXPECT_LT(clock.elapsed(), CancelLimitMs);
    EXPECT_FALSE(transfers().busy());
    EXPECT_EQ(ui.texts(Kind::Question),
              (QStringList{TransferCommands::closeQuestion(), "Menti a változásokat ?"}));
    EXPECT_EQ(window().document().record(), before);
}

// An upload cancelled after its backup names the backup file; Yes to the offer starts the
// upload again. Every answer to segment 100 comes 1.5 s late, so the cancel lands there.
TEST_F(WindowBusy, ACancelledUploadNamesItsBackupAndOffersToUploadAgain) {
    start({.lateSegment = 100, .lateSegmentMs = 1500, .lateSegmentTimes = -1});
    window().menu().backupBeforeUpload->setChecked(true);
    startUntil(window().menu().upload, QStringLiteral("Feltöltés..."));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return statuses.last() == QStringLiteral("Memória szegmens: 100/255"); }, 20000));
    ui.answers = {Answer::Yes};
    transfers().cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.texts(Kind::Question).isEmpty(); }, 5000));
    // The newest file of the backup folder.
    const QDir folder(backupFolderOf(transfers().uploadOptions()));
    const QStringList backups = folder.entryList(QDir::Files, QDir::Time);
    ASSERT_FALSE(backups.isEmpty());
    const QString backup = folder.filePath(backups.first());
    EXPECT_EQ(ui.texts(Kind::Question),
              QStringList{uploadCancelledMessage(true, backup) + "\nÚjra feltölti ?"});
    EXPECT_TRUE(ui.texts(Kind::Question)[0].contains(backup));
    EXPECT_TRUE(transfers().busy()) << "Igen started the upload again";

    ui.answers = {Answer::No};
    transfers().cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !transfers().busy(); }, 5000));
    EXPECT_EQ(panel3(), QStringLiteral("Megszakítva."));
}

// What the operator did not see leaves nothing behind: a refused value keeps its page however
// another is chosen, the model box asks before reading a configuration as the other model,
// Escape in the preferences discards, and Escape stops a transfer after a menu was opened.
TEST_F(WindowBusy, NothingTheOperatorDidNotSeeReachesTheConfiguration) {
    start({.silent = true});
    MainWindow& w = window();
    const DatabaseRecord before = w.document().record();

    w.showView(PageOrder::BasicPage);
    auto* coPosition = childNamed<QLineEdit>(w, "MEcopos");
    ASSERT_NE(coPosition, nullptr);
    coPosition->setFocus();
    coPosition->selectAll();
    QTest::keyClicks(coPosition, "300");
    QTabBar* tabs = w.viewPages->tabBar();
    const std::pair<const char*, std::function<void()>> leaveBy[] = {
        {"tab",
         [&] {
             QTest::mouseClick(tabs, Qt::LeftButton, {},
                               tabs->tabRect(PageOrder::NumbersPage).center());
         }},
        {"view menu", [&] { w.menu().viewActions()[PageOrder::NumbersPage]->trigger(); }},
        {"Ctrl+Tab", [&] { QTest::keyClick(coPosition, Qt::Key_Tab, Qt::ControlModifier); }},
        {"Ctrl+S", [&] { QTest::keyClick(coPosition, Qt::Key_S, Qt::ControlModifier); }},
    };
    for (const auto& [how, leave] : leaveBy) {
        SCOPED_TRACE(how);
        ui.shown.clear();
        leave();
        EXPECT_FALSE(ui.messages().isEmpty()) << "the refusal is said";
        EXPECT_EQ(w.currentView(), PageOrder::BasicPage);
        EXPECT_EQ(QApplication::focusWidget(), coPosition);
        EXPECT_EQ(coPosition->text(), "300");
        EXPECT_EQ(w.document().record(), before);
        EXPECT_FALSE(w.document().isModified());
    }
    coPosition->setText(QString::number(before.image.at(1656)));
    w.showView(PageOrder::NumbersPage);
    EXPECT_EQ(w.currentView(), PageOrder::NumbersPage) << "a stored value lets the page go";

    // The opened 4-line file read as a 16-line one would be garbage: asked, and Nem keeps it.
    ui.shown.clear();
    ui.answers = {Answer::No};
    w.chooseModel(DeviceModel::Line16);
    EXPECT_EQ(ui.texts(Kind::Question),
              QStringList{"A konfiguráció Vardo-4 típusú. Biztosan Vardo-16-ként kezeli?"});
    EXPECT_EQ(w.currentModel(), DeviceModel::Line4);
    EXPECT_EQ(w.document().model(), DeviceModel::Line4);

    // Escape leaves the preferences without a change.
    ui.dialogHandlers.push_back([](QDialog& d) {
        auto& prefer = static_cast<PreferencesDialog&>(d);
        prefer.SEkodlen->setValue(8);
        QTest::keyClick(&prefer, Qt::Key_Escape);
    });
    w.menu().preferences->trigger();
    EXPECT_EQ(w.document().record(), before);
    EXPECT_FALSE(w.document().isModified());

    // A menu opened and closed by Escape during a download: the next Escape stops it.
    startUntil(w.menu().download, QStringLiteral("Tipusellenőrzés..."));
    QMenuBar* bar = w.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      bar->actionGeometry(w.menu().fileMenu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    ASSERT_TRUE(transfers().busy());
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : static_cast<QWidget*>(&w), Qt::Key_Escape);
    QElapsedTimer clock;
    clock.start();
    EXPECT_LT(endTime(clock), CancelLimitMs);
    EXPECT_EQ(panel3(), QStringLiteral("Megszakítva."));

    // The status bar's last line tells the command that ended last.
    w.menu().saveFile->trigger();
    EXPECT_EQ(panel3(), QStringLiteral("Mentve: telephely.vd1"));
}

// The end of an operation is handled once, in order, never inside another question: an upload
// that fails while the close question is open is reported after its answer; a window destroyed
// during a traced run lets the line's thread go cleanly.
TEST_F(WindowBusy, AnOperationEndingDuringTheCloseQuestionIsReportedAfterIt) {
    start({.rejectSegment = 200});
    startUntil(window().menu().upload, QStringLiteral("Tipusellenőrzés..."));
    ui.whileAsking = [this](const QString&) {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !session->link().line().busy(); }, 30000));
        EXPECT_TRUE(ui.messages().isEmpty()) << "nothing is said inside the question";
    };
    ui.answers = {Answer::No};
    EXPECT_FALSE(window().close());
    EXPECT_EQ(ui.texts(Kind::Question), QStringList{TransferCommands::closeQuestion()});
    EXPECT_EQ(ui.messages(), QStringList{"Feltöltési időtúllépés !!!"});
    EXPECT_FALSE(transfers().busy());
    EXPECT_FALSE(window().isBusy());
    EXPECT_EQ(panel3(), QStringLiteral("Kommunikációs hiba."));

    // A traced run on a silent unit whose window goes away: the line's thread stops and goes
    // with it, the trace log untouched by a worker that outlived it.
    stop();
    start({.silent = true});
    transfers().setTraceFile(dir.filePath("vonal.txt"));
    startUntil(window().menu().download, QStringLiteral("Tipusellenőrzés..."));
    session.reset();
    unit->stop();
    EXPECT_GT(unit->unit().stats().wakeUpBytes, 0) << "the run had begun";
}

// No modal box opens inside another: an operation that ends while the terminal's error box is
// open is reported once that box has closed.
TEST_F(WindowBusy, AnOperationEndingWhileTheTerminalsErrorIsShownIsReportedAfterIt) {
    start({.rejectSegment = 200});
    startUntil(window().menu().upload, QStringLiteral("Tipusellenőrzés..."));
    const QString lineError = QStringLiteral("ReadFile function failed (win error code: 5)");
    ui.whileShowing = [this, &lineError](const QString& text) {
        if (text != lineError) return;
        EXPECT_TRUE(QTest::qWaitFor([this] { return !session->link().line().busy(); }, 30000));
        QTest::qWait(50);
        EXPECT_TRUE(ui.messages().isEmpty()) << "nothing is said inside the error box";
        EXPECT_TRUE(transfers().busy()) << "the end waits its turn";
    };
    session->link().terminalPage().showError(lineError);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !transfers().busy(); }, 30000));
    EXPECT_EQ(ui.texts(Kind::Error), QStringList{lineError});
    EXPECT_EQ(ui.messages(), QStringList{"Feltöltési időtúllépés !!!"});
    EXPECT_EQ(ui.nested, 0);
    EXPECT_FALSE(window().isBusy());
}

} // namespace
} // namespace zx
