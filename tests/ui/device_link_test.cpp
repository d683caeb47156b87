// The main window's device link: connection settings at start and at closing, the connection
// dialog and the terminal page, with the settings files in a temporary folder.
#include "link/pty_pair.h"
#include "scripted_interaction.h"
#include "status_panel_text.h"
#include "ui/commands/device_link_controller.h"
#include "ui/dialogs/connection_dialog.h"
#include "ui/terminal/terminal_page.h"
#include "ui/terminal/terminal_widget.h"
#include "ui/views/basic_view.h"
#include "ui/views/call_in_view.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/lines_view.h"
#include "ui/views/numbers_view.h"
#include "ui/views/terminal_view.h"
#include "ui/views/timers_view.h"
#include "ui/views/view_helpers.h"
#include "widget_lookup.h"
#include "window_fixture.h"

#include <QFile>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace zx {
namespace {

using Answer = Interaction::Answer;

class DeviceLinkTest : public WindowTest {
  protected:
    void SetUp() override {
        setConfigDir(dir.path());
        WindowTest::SetUp();
    }
    void TearDown() override {
        link.reset();
        setConfigDir(QString());
    }

    void makeLink(const ConnectionState& state) {
        link = std::make_unique<DeviceLinkController>(*form, state);
        link->listPorts = [] { return QStringList{"COM1", "COM2", "COM3"}; };
    }
    void writeSettings(const QByteArray& text) {
        QFile f(programSettingsPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    ConnectionState savedSettings() const {
        ConnectionState s;
        s.portName = QStringLiteral("unread");
        s.speedIndex = 99;
        readConnectionSettings(s);
        return s;
    }

    QTemporaryDir dir;
    std::unique_ptr<DeviceLinkController> link;
};

TEST_F(DeviceLinkTest, StartShowsTheSettingsFileInPanelTwoAndSwapsInTheTerminal) {
    const std::pair<QByteArray, QString> cases[] = {
        {{}, "COM1 ( 19200 )"},
        {"[CONNECTION]\r\nCOMNR=COM3\r\nCOMSP=2\r\n", "COM3 ( 1200 )"},
        {"[CONNECTION]\r\nCOMSP=12\r\n", "COM1 ( ------ )"},
    };
    for (const auto& [file, panel] : cases) {
        QFile::remove(programSettingsPath());
        if (!file.isEmpty()) writeSettings(file);
        ConnectionState state;
        readConnectionSettings(state);
        makeLink(state);
        EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Connection), panel);
        EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::State), "Szétkapcsolva");
        link.reset();
    }
    makeLink(ConnectionState{});
    auto* terminal = qobject_cast<TerminalPane*>(zx::childNamed<QWidget>(*form, "ComTerminal1"));
    ASSERT_NE(terminal, nullptr);
    EXPECT_EQ(terminal, link->terminal());
    EXPECT_EQ(terminal->objectName(), "ComTerminal1");
    EXPECT_EQ(link->line().objectName(), "ComPort1");

    // In the window fitted as at start the pane shows all 24 rows.
    zx::fitToHint(*form);
    form->show();
    form->showView(7);
    EXPECT_GE(terminal->visibleRows(), 24) << form->width() << "x" << form->height();
}

// The window at its hint, taken with the first pages only (as the start fits it), gives every
// page its room once all are built, in either model: the terminal its 24 rows, the lines view
// its 16 lines.
TEST_F(DeviceLinkTest, TheWindowsHintAtStartGivesEveryPageItsRoom) {
    for (const DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        SCOPED_TRACE(model == DeviceModel::Line4 ? "4 lines" : "16 lines");
        ConfigDocument doc{record};
        doc.setModel(model);
        MainWindow window(doc, ui);
        DeviceLinkController windowLink(window, ConnectionState{});
        const QSize atStart = window.sizeHint();
        window.viewPages->buildAll();
        window.resize(atStart);
        window.show();
        for (int page = 0; page < ViewPages::Count; ++page) {
            window.showView(page);
            QApplication::processEvents();
            const QWidget* shown = window.viewPages->widget(page);
            EXPECT_GE(shown->width(), shown->sizeHint().width()) << page;
            EXPECT_GE(shown->height(), shown->sizeHint().height()) << page;
        }
        EXPECT_GE(windowLink.terminal()->visibleRows(), 24);
        // The 16 lines show without scrolling, whichever model the window started with.
        window.chooseModel(DeviceModel::Line16);
        window.showView(1);
        QApplication::processEvents();
        auto* rows = zx::childNamed<QScrollArea>(window, "sbLines");
        ASSERT_NE(rows, nullptr);
        EXPECT_EQ(rows->verticalScrollBar()->maximum(), 0);
    }
}

struct CloseCase {
    const char* name;
    bool modified;
    std::vector<Answer> answers;
    bool written;
};

class ClosingWritesTheConnection : public DeviceLinkTest,
                                   public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingWritesTheConnection, UnlessCancelled) {
    const CloseCase& c = GetParam();
    ConnectionState state;
    state.portName = "ttyUSB0";
    state.speedIndex = 3;
    makeLink(state);
    setModified(c.modified);
    ui.answers.assign(c.answers.begin(), c.answers.end());

    EXPECT_EQ(form->close(), c.written);
    EXPECT_EQ(QFile::exists(programSettingsPath()), c.written);
    if (c.written) {
        const ConnectionState saved = savedSettings();
        EXPECT_EQ(saved.portName, "ttyUSB0");
        EXPECT_EQ(saved.speedIndex, 3);
    }
    EXPECT_EQ(ui.unscripted, 0);
}

INSTANTIATE_TEST_SUITE_P(Answers, ClosingWritesTheConnection,
                         ::testing::Values(CloseCase{"Unmodified", false, {}, true},
                                           CloseCase{"No", true, {Answer::No}, true},
                                           CloseCase{"Cancel", true, {Answer::Cancel}, false}),
                         [](const ::testing::TestParamInfo<CloseCase>& info) {
                             return info.param.name;
                         });

TEST_F(DeviceLinkTest, ComPortDialogSetsNumberPanelAndConnectionThenClosingRemembersThem) {
    makeLink(ConnectionState{});
    zx::childNamed<QLineEdit>(*form, "edPhone")->setText("555");
    // An operator who leaves the dialog without OK changes nothing.
    ui.dialogHandlers.push_back([](QDialog&) {});
    ui.dialogHandlers.push_back([](QDialog& d) {
        auto& c = dynamic_cast<ConnectionDialog&>(d);
        c.CmbCom->setCurrentIndex(c.CmbCom->findText("COM2"));
        c.CmbSpeed->setCurrentIndex(5);
        c.edPhone->setText("123");
        c.edConn->setText("Iroda");
        c.BtnOK->click();
    });
    ui.dialogHandlers.push_back([](QDialog& d) {
        auto& c = dynamic_cast<ConnectionDialog&>(d);
        c.CmbCom->setCurrentIndex(c.CmbCom->findText("COM3"));
        c.BtnOK->click();
    });

    action("mnuComport")->trigger();
    EXPECT_EQ(zx::childNamed<QLineEdit>(*form, "edPhone")->text(), "555");
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Connection), "COM1 ( 19200 )");

    action("mnuComport")->trigger();
    EXPECT_EQ(zx::childNamed<QLineEdit>(*form, "edPhone")->text(), "123");
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Connection), "Iroda");
    EXPECT_EQ(link->connection().portName, "COM2");
    EXPECT_EQ(link->connection().speedIndex, 5);
    EXPECT_EQ(link->connection().currentConnectionName, "Iroda");
    EXPECT_EQ(savedConnectionNames(), QStringList{"Iroda"});

    action("mnuComport")->trigger();
    EXPECT_EQ(zx::childNamed<QLineEdit>(*form, "edPhone")->text(), "");
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Connection), "COM3 ( 9600 )");
    EXPECT_TRUE(link->connection().currentConnectionName.isEmpty());

    EXPECT_TRUE(form->close());
    EXPECT_EQ(savedSettings().portName, "COM3");
    EXPECT_EQ(savedSettings().speedIndex, 5);
    EXPECT_EQ(ui.texts(ScriptedInteraction::Kind::Dialog).size(), 3);
}

TEST_F(DeviceLinkTest, OkOnTheUntouchedComPortDialogKeepsAnUnlistedPort) {
    ConnectionState pty;
    pty.portName = QStringLiteral("/dev/pts/9");
    pty.speedIndex = 6;
    pty.currentConnectionName = QStringLiteral("Teszt");
    makeLink(pty);
    zx::childNamed<QLineEdit>(*form, "edPhone")->setText("555");
    form->setStatusText(MainWindow::Panel::Connection, QStringLiteral("Teszt"));
    ui.dialogHandlers.push_back([](QDialog& d) {
        auto& c = dynamic_cast<ConnectionDialog&>(d);
        EXPECT_EQ(c.CmbCom->currentText(), "/dev/pts/9");
        c.BtnOK->click();
    });
    action("mnuComport")->trigger();
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Connection), "Teszt");
    EXPECT_EQ(zx::childNamed<QLineEdit>(*form, "edPhone")->text(), "555");
    EXPECT_EQ(link->connection().currentConnectionName, "Teszt");
    EXPECT_TRUE(form->close());
    EXPECT_EQ(savedSettings().portName, "/dev/pts/9");
    EXPECT_EQ(savedSettings().speedIndex, 6);
}

TEST_F(DeviceLinkTest, ConnectButtonReportsAFailedOpenThenOpensAndFeedsTheTerminal) {
    test::PtyPair pty;
    ConnectionState state;
    state.portName = dir.filePath("no-such-port");
    makeLink(state);
    zx::childNamed<QPushButton>(*form, "btnConnect")->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !zx::childNamed<QPushButton>(*form, "btnConnect")->isChecked(); }, 5000));
    const QStringList errors = ui.texts(ScriptedInteraction::Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Unable to open com port")) << errors[0].toStdString();

    link->connection().portName = pty.slavePath();
    zx::childNamed<QPushButton>(*form, "btnConnect")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link->line().isOpen(); }, 5000));
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::State), "Kapcsolódva...");
    pty.write("OK\r\n");
    for (int i = 0; i < 100 && !link->terminal()->screen().rowText(0).startsWith("OK"); ++i)
        QTest::qWait(20);
    EXPECT_TRUE(link->terminal()->screen().rowText(0).startsWith("OK"));

    zx::childNamed<QPushButton>(*form, "btnConnect")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link->line().isOpen(); }, 5000));
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::State), "Szétkapcsolva");
    EXPECT_EQ(ui.texts(ScriptedInteraction::Kind::Error).size(), 1);
}

} // namespace
} // namespace zx
