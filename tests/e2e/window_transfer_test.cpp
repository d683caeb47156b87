// The desktop window downloading, uploading and setting the clock through its own commands,
// against a simulated unit answering on a pseudo-terminal from a background thread.
#include "link/serial_byte_link.h"
#include "link/serial_port.h"
#include "link/served_unit.h"
#include "link/system_clock.h"
#include "link/transfer.h"
#include "model/demo_configuration.h"
#include "model/memory_map.h"
#include "scripted_interaction.h"
#include "status_panel_text.h"
#include "ui/commands/device_link_controller.h"
#include "ui/commands/transfer_commands.h"
#include "ui/demo_mode.h"
#include "ui/dialogs/connection_dialog.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/terminal/terminal_page.h"
#include "ui/terminal/terminal_widget.h"
#include "ui/views/basic_view.h"
#include "ui/views/call_in_view.h"
#include "ui/views/code_grid.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/lines_view.h"
#include "ui/views/numbers_view.h"
#include "ui/views/terminal_view.h"
#include "ui/views/timers_view.h"
#include "widget_lookup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <QTimer>
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>
#include <optional>

namespace zx {
namespace {

using Kind = ScriptedInteraction::Kind;
using Async = QWindowSystemInterface::AsynchronousDelivery;

// Time on the transfer's line runs `Factor` times faster than on the wall, so a silent unit's
// time-outs cost a fiftieth of their length while every byte still crosses the pseudo-terminal.
constexpr int Factor = 50;

class FastClock : public Clock {
  public:
    std::int64_t nowMs() const override { return real_.nowMs() * Factor; }
    void sleepMs(int ms) override { real_.sleepMs(std::max(1, ms / Factor)); }

  private:
    SystemClock real_;
};

class FastLink : public ByteLink {
  public:
    FastLink(SerialPort& port, const std::atomic<bool>* cancel) : real_(port, cancel) {}
    bool isOpen() const override { return real_.isOpen(); }
    void write(const QByteArray& bytes) override { real_.write(bytes); }
    QByteArray readAvailable(int maxBytes) override { return real_.readAvailable(maxBytes); }
    bool waitForData(int limitMs) override {
        return real_.waitForData(std::max(1, limitMs / Factor));
    }

  private:
    SerialByteLink real_;
};

// The serial port with time running `Factor` times faster.
TransferLine fastLine(SerialPort& port, const std::atomic<bool>* cancel) {
    return TransferLine{std::make_unique<FastLink>(port, cancel), std::make_unique<FastClock>()};
}

ConfigImage pattern(int seed) {
    ConfigImage image;
    for (std::size_t i = 0; i < ImageSize; ++i)
        image.set(i, static_cast<Byte>((i * 13 + static_cast<std::size_t>(seed)) % 253 + 1));
    // A code table that fits under either map (4-line: 5 codes of 6 digits; 16-line: none), so
    // the refill has no count to report.
    for (const auto& [offset, value] :
         {std::pair<std::size_t, Byte>{1670, 7}, {1671, 5}, {1672, 0}, {1673, 0}, {1674, 0}})
        image.set(offset, value);
    return image;
}

struct Step {
    QString status;
    int done;
    int total;
    DeviceModel map;  // the window's map at that moment
    QString localLen; // what MEloclen showed then
    int bar;          // the progress bar's value then
};

class WindowTransfer : public ::testing::Test {
  protected:
    void SetUp() override { setConfigDir(dir.path()); }
    void TearDown() override {
        transfers.reset();
        link.reset();
        form.reset();
        setConfigDir(QString());
    }

    // `makeLine` gives each operation its line: the port at real time unless told otherwise
    // (fastLine: a fiftieth of the time-outs).
    void serve(DeviceModel model, const ConfigImage& memory, const UnitFaults& faults = {},
               LineFactory makeLine = serialLine) {
        unit = std::make_unique<ServedUnit>(model, memory, faults);
        QString error;
        ASSERT_TRUE(unit->start(&error)) << error.toStdString();
        ConnectionState state;
        state.portName = unit->devicePath();
        openWindow(state, std::move(makeLine));
    }
    void openWindow(const ConnectionState& state, LineFactory makeLine = serialLine) {
        form = std::make_unique<MainWindow>(document, ui);
        form->viewPages->buildAll();
        link = std::make_unique<DeviceLinkController>(*form, state, std::move(makeLine));
        transfers = std::make_unique<TransferCommands>(*form, link->line(), link->connection(),
                                                       link->terminalPage(), link->notices());
        QObject::connect(transfers.get(), &TransferCommands::progressed,
                         [this](const QString& s, int done, int total) {
                             steps.push_back(
                                 {s, done, total, form->document().map().model(),
                                  zx::childNamed<QLineEdit>(*form, "MEloclen")->text(),
                                  zx::childNamed<QProgressBar>(*form, "pbTransfer")->value()});
                             if (duringTransfer) duringTransfer();
                         });
    }
    // Input as the platform hands it over: queued for the window's event loop.
    void typeQueued(const QString& digits) {
        for (const QChar c : digits) {
            const int key = Qt::Key_0 + (c.toLatin1() - '0');
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                QWindowSystemInterface::handleKeyEvent<Async>(form->windowHandle(), type, key,
                                                              Qt::NoModifier, QString(c));
        }
    }
    void clickQueued(QWidget* target, QPoint at) {
        const QPointF local = target->mapTo(form.get(), at);
        const QPointF global = form->mapToGlobal(local);
        QWindowSystemInterface::handleMouseEvent<Async>(form->windowHandle(), local, global,
                                                        Qt::LeftButton, Qt::LeftButton,
                                                        QEvent::MouseButtonPress);
        QWindowSystemInterface::handleMouseEvent<Async>(form->windowHandle(), local, global,
                                                        Qt::NoButton, Qt::LeftButton,
                                                        QEvent::MouseButtonRelease);
    }
    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }
    // Runs a command and lets the event loop deliver and run the transfer it posted.
    void run(const char* name) {
        action(name)->trigger();
        settle();
    }
    void settle() {
        QElapsedTimer t;
        t.start();
        do
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        while ((*transfers).busy() && t.elapsed() < 120000);
        ASSERT_FALSE((*transfers).busy());
    }
    QString panel3() const { return zx::statusPanelText(*form, MainWindow::Panel::State); }

    QTemporaryDir dir;
    std::unique_ptr<ServedUnit> unit;
    std::unique_ptr<DemoMode> demo;
    DatabaseRecord record;
    ConfigDocument document{record};
    ScriptedInteraction ui;
    std::unique_ptr<MainWindow> form;
    std::unique_ptr<DeviceLinkController> link;
    std::unique_ptr<TransferCommands> transfers;
    std::vector<Step> steps;
    std::function<void()> duringTransfer;
};

// Two units, the terminal connected to A. "Com port..." turned to B asks first: "Nem" keeps the
// connection, its name and the saved connections as they were; "Igen" disconnects as the
// button does, and the upload then reaches B, the unit the status bar shows, and not A.
TEST_F(WindowTransfer, APortChangedWhileConnectedAsksAndTheUploadGoesToThePortShown) {
    ServedUnit a(DeviceModel::Line4, ConfigImage{}), b(DeviceModel::Line4, ConfigImage{});
    QString error;
    ASSERT_TRUE(a.start(&error)) << error.toStdString();
    ASSERT_TRUE(b.start(&error)) << error.toStdString();
    ConnectionState state;
    state.portName = a.devicePath();
    openWindow(state);
    link->listPorts = [&] { return QStringList{a.devicePath(), b.devicePath()}; };
    auto* connect = zx::childNamed<QPushButton>(*form, "btnConnect");
    connect->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link->line().isOpen(); }, 5000));
    ui.answers = {Interaction::Answer::No, Interaction::Answer::Yes};
    for (int round = 0; round < 2; ++round) {
        ui.dialogHandlers.push_back([&b](QDialog& d) {
            auto& c = dynamic_cast<ConnectionDialog&>(d);
            c.CmbCom->setCurrentText(b.devicePath());
            c.edConn->setText(QStringLiteral("B"));
            c.BtnOK->click();
        });
        action("mnuComport")->trigger();
        // Nem: the port, its name and the saved connections as they were.
        if (round == 0) {
            EXPECT_EQ(link->connection().portName, a.devicePath());
            EXPECT_FALSE(QFile::exists(savedConnectionsPath()));
            EXPECT_TRUE(link->line().isOpen());
        }
    }
    EXPECT_EQ(ui.texts(Kind::Question).size(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link->line().isOpen(); }, 5000));
    EXPECT_FALSE(connect->isChecked());
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Connection), "B");

    form->document().markModified();
    run("UpLoad1");
    EXPECT_EQ(panel3(), "Sikeres feltöltés");
    a.stop();
    b.stop();
    EXPECT_EQ(a.unit().stats().accepted, 0);
    EXPECT_EQ(b.unit().stats().accepted, 212);
}

TEST_F(WindowTransfer, DownloadTakesTheUnitsModelAndImageOnlyAtTheEnd) {
    const ConfigImage memory = pattern(3);
    const std::size_t localLength = *MemoryMap::of(DeviceModel::Line16).offset(Field::LocalLength);
    ASSERT_NE(memory.at(localLength), 6);
    serve(DeviceModel::Line16, memory);
    run("DnLoad1");
    unit->stop();

    const ConfigImage& unitMemory = unit->unit().memory();
    for (int s = 0; s < SegmentCount; ++s) {
        const ConfigImage::Segment expected =
            s >= 51 || s == IdentSegment ? unitMemory.segment(s) : ConfigImage::Segment{};
        EXPECT_EQ(record.image.segment(s), expected) << s;
    }
    EXPECT_EQ(form->modelBox->currentIndex(), 1);
    EXPECT_FALSE(form->modelBox->isEnabled());
    EXPECT_TRUE(form->document().isModified());
    EXPECT_EQ(zx::childNamed<QLineEdit>(*form, "MEloclen")->text(),
              QString::number(memory.at(localLength)));
    EXPECT_EQ(panel3(), "Sikeres letöltés.");
    EXPECT_FALSE(link->line().isOpen());
    EXPECT_FALSE(zx::childNamed<QProgressBar>(*form, "pbTransfer")->isVisible());
    EXPECT_TRUE(ui.shown.isEmpty());

    ASSERT_GE(steps.size(), 207u);
    EXPECT_EQ(steps[0].status, "Tipusellenőrzés...");
    EXPECT_EQ(steps[1].status, "Memória szegmens: 51/255");
    EXPECT_EQ(steps[steps.size() - 2].status, "Memória szegmens: 255/255");
    EXPECT_EQ(steps.back().status, "Sikeres letöltés.");
    EXPECT_EQ(steps.back().done, 255);
    EXPECT_EQ(steps.back().total, 255);
    // Nothing was shown through the unit's map before the download came whole.
    EXPECT_EQ(steps[1].map, DeviceModel::Line4);
    EXPECT_EQ(steps[1].localLen, "6");
    // The bar counts what the text counts.
    for (const Step& step : steps) {
        if (step.status.startsWith("Memória szegmens: ")) {
            EXPECT_EQ(step.status, QStringLiteral("Memória szegmens: %1/255").arg(step.bar));
        }
    }
}

TEST_F(WindowTransfer, UploadSendsTheStoredImageAndLeavesTheWindowAsItWas) {
    serve(DeviceModel::Line4, ConfigImage{});
    form->document().markModified();
    form->showView(5);
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItem("0612345678");
    // A code filled into the grid and not stored yet, as an import leaves it (its six digits:
    // a shorter code would be an error of the check before the upload).
    zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->setCell(1, 1, "471147");
    form->codesView()->markGridChanged();
    run("UpLoad1");
    unit->stop();

    const ConfigImage& unitMemory = unit->unit().memory();
    for (int s = 44; s < SegmentCount; ++s)
        EXPECT_EQ(unitMemory.segment(s), record.image.segment(s)) << s;
    const std::size_t free = *MemoryMap::of(DeviceModel::Line4).offset(Field::FreeNumbers);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&unitMemory.bytes()[free]), 16),
              "0612345678      ");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&unitMemory.bytes()[CodeTableStart]), 6),
              "471147");
    EXPECT_EQ(unit->unit().stats().accepted, 212);
    EXPECT_EQ(panel3(), "Sikeres feltöltés");
    EXPECT_EQ(form->currentView(), 5);
    EXPECT_TRUE(form->viewPages->isEnabled());
    EXPECT_TRUE(form->document().isModified());
    EXPECT_TRUE(form->modelBox->isEnabled());
    EXPECT_TRUE(ui.shown.isEmpty()) << "no question, no message";
    EXPECT_EQ(steps.back().done, 255);
}

// Busy mode takes the focus from the pages; the control that had it has it again at the end.
TEST_F(WindowTransfer, TheFocusComesBackToTheControlThatHadItAfterEachOperation) {
    serve(DeviceModel::Line4, demoConfiguration());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    for (const auto& [command, view, control] :
         {std::tuple{"DnLoad1", 3, "MEloclen"}, {"UpLoad1", 4, "StringGrid1"}}) {
        form->showView(view);
        zx::childNamed<QWidget>(*form, control)->setFocus();
        run(command);
        EXPECT_EQ(QApplication::focusWidget(), zx::childNamed<QWidget>(*form, control));
    }
}

TEST_F(WindowTransfer, AnEditMadeDuringAnUploadDoesNotReachTheUnit) {
    serve(DeviceModel::Line4, ConfigImage{});
    const std::size_t callIn = *MemoryMap::of(DeviceModel::Line4).offset(Field::CallInNumber);
    ImagePatch first, changed;
    first.setChars(callIn, "111");
    changed.setChars(callIn, "999");
    form->document().apply(first);
    // An editor stores while the first segments are on their way; the call-in number goes later.
    duringTransfer = [&] {
        if (steps.size() == 2) form->document().apply(changed);
    };
    run("UpLoad1");
    unit->stop();

    const ConfigImage& unitMemory = unit->unit().memory();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&unitMemory.bytes()[callIn]), 3), "111");
    EXPECT_EQ(record.image.at(callIn), '9') << "the edit itself is kept for the next upload";
}

TEST_F(WindowTransfer, AFailedDownloadChangesNothing) {
    UnitFaults silent;
    silent.silent = true;
    serve(DeviceModel::Line16, pattern(1), silent, fastLine);
    zx::childNamed<QLineEdit>(*form, "MEloclen")->setText("9");
    record.image.set(*form->document().map().offset(Field::LocalLength), 9);
    form->document().markModified();
    const ConfigImage before = record.image;
    ui.answers.push_back(Interaction::Answer::No);

    form->showView(2);
    run("DnLoad1");
    EXPECT_EQ(record.image, before);
    EXPECT_EQ(form->modelBox->currentIndex(), 0);
    EXPECT_EQ(form->document().map().model(), DeviceModel::Line4);
    EXPECT_EQ(zx::childNamed<QLineEdit>(*form, "MEloclen")->text(), "9");
    EXPECT_TRUE(form->modelBox->isEnabled());
    EXPECT_TRUE(form->document().isModified());
    EXPECT_EQ(form->currentView(), 2);
    EXPECT_EQ(panel3(), "Kommunikációs hiba.");
    EXPECT_EQ(ui.messages(), QStringList{"Letöltési időtúllépés !!!"});
    EXPECT_EQ(ui.texts(Kind::Question), QStringList{"Menti a változásokat ?"});
    // The model check's eleven attempts, and no segment asked for under a guessed model.
    for (const Step& step : steps)
        EXPECT_EQ(step.map, DeviceModel::Line4);
    EXPECT_FALSE(link->line().isOpen());
    unit->stop();
    EXPECT_EQ(unit->unit().readSegments(), std::vector<int>(Transfer::MaxAttempts, IdentSegment));
}

TEST_F(WindowTransfer, APortThatDoesNotOpenEndsTheCommandWithThePanelsEnabled) {
    ConnectionState state;
    state.portName = dir.filePath("no-such-port");
    openWindow(state);
    form->showView(3);
    for (const char* command : {"DnLoad1", "UpLoad1"}) {
        ui.shown.clear();
        run(command);
        const QStringList errors = ui.texts(Kind::Error);
        ASSERT_EQ(errors.size(), 1) << command;
        EXPECT_TRUE(errors[0].startsWith("Unable to open com port")) << errors[0].toStdString();
        EXPECT_TRUE(form->viewPages->isEnabled());
        EXPECT_TRUE(form->modelPanel->isEnabled());
        EXPECT_TRUE(form->modelBox->isEnabled()) << command;
        EXPECT_FALSE(form->document().isModified()) << command;
        EXPECT_EQ(form->currentView(), 3);
        EXPECT_TRUE(steps.empty());
    }
}

TEST_F(WindowTransfer, ALineFoundClosedAtTheStartSaysSoInBothDirections) {
    // The port goes between its opening and the start of the operation.
    serve(DeviceModel::Line4, ConfigImage{}, {},
          [](SerialPort& port, const std::atomic<bool>* cancel) {
              port.close();
              return serialLine(port, cancel);
          });
    const ConfigImage before = record.image;
    for (const char* command : {"DnLoad1", "UpLoad1"}) {
        ui.shown.clear();
        run(command);
        const QStringList messages = ui.messages();
        ASSERT_EQ(messages.size(), 1) << command;
        EXPECT_TRUE(messages[0].startsWith("Portnyitási hiba!")) << messages[0].toStdString();
        bool number = false;
        messages[0].mid(QStringLiteral("Portnyitási hiba!").size()).toInt(&number);
        EXPECT_TRUE(number) << messages[0].toStdString();
        EXPECT_EQ(panel3(), "Szétkapcsolva");
        EXPECT_FALSE(form->isBusy());
    }
    EXPECT_EQ(record.image, before);
    EXPECT_TRUE(steps.empty());
    unit->stop();
    EXPECT_EQ(unit->unit().stats().bytesIn, 0);
}

TEST_F(WindowTransfer, NoSecondTransferStartsWhileOneRuns) {
    serve(DeviceModel::Line4, pattern(5));
    QList<bool> enabledMidway;
    duringTransfer = [&] {
        if (!enabledMidway.isEmpty() || !steps.back().status.startsWith("Memória")) return;
        enabledMidway = {action("DnLoad1")->isEnabled(), action("UpLoad1")->isEnabled(),
                         zx::childNamed<QPushButton>(*form, "btnSync")->isEnabled()};
        (*transfers).download();
        (*transfers).upload();
        (*transfers).setUnitClock();
    };
    run("DnLoad1");
    settle();
    unit->stop();

    EXPECT_EQ(enabledMidway, QList<bool>({false, false, false}));
    EXPECT_EQ(std::count_if(steps.begin(), steps.end(),
                            [](const Step& s) { return s.status == "Tipusellenőrzés..."; }),
              1);
    EXPECT_EQ(panel3(), "Sikeres letöltés.");
    EXPECT_EQ(unit->unit().stats().writeFrames, 0);
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_TRUE(action("DnLoad1")->isEnabled());
    EXPECT_TRUE(action("UpLoad1")->isEnabled());
    EXPECT_TRUE(zx::childNamed<QPushButton>(*form, "btnSync")->isEnabled());
}

TEST_F(WindowTransfer, TheTerminalPagePutsNothingOnTheLineDuringATransfer) {
    serve(DeviceModel::Line4, pattern(7));
    form->show();
    TerminalView& page = *form->terminalView();
    zx::childNamed<QPushButton>(page, "btnConnect")->click();
    zx::childNamed<QLineEdit>(page, "edPhone")->setText("123");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return zx::childNamed<QPushButton>(page, "btnDial")->isEnabled(); }, 5000));
    const auto pageState = [&] {
        return QList<bool>{zx::childNamed<QPushButton>(page, "btnConnect")->isEnabled(),
                           zx::childNamed<QPushButton>(page, "btnTransp")->isEnabled(),
                           zx::childNamed<QPushButton>(page, "btnDial")->isEnabled(),
                           zx::childNamed<QPushButton>(page, "btnSync")->isEnabled(),
                           form->menu().portSettings->isEnabled()};
    };
    QList<bool> midway;
    duringTransfer = [&] {
        if (!midway.isEmpty() || !steps.back().status.startsWith("Memória")) return;
        midway = pageState();
        // What the page's commands would send had they been enabled.
        zx::childNamed<QPushButton>(page, "btnDial")->click();
        link->terminalPage().transparentClicked();
        link->terminal()->sink("U");
    };
    run("DnLoad1");
    unit->stop();

    EXPECT_EQ(midway, QList<bool>({false, false, false, false, false}));
    EXPECT_EQ(pageState(), QList<bool>({true, true, true, true, true}));
    EXPECT_EQ(panel3(), "Sikeres letöltés.");
    // The unit saw the wake-up and read requests only: no dial, no transparent mode, no key.
    EXPECT_EQ(unit->unit().stats().writeFrames, 0);
    EXPECT_TRUE(ui.shown.isEmpty());
}

TEST_F(WindowTransfer, PanelThreeShowsTheLongestProgressTextWhole) {
    serve(DeviceModel::Line4, ConfigImage{});
    const auto* panel = form->statusBarWidget->findChild<QLabel*>("SBarPanel3");
    ASSERT_NE(panel, nullptr);
    const QString longest = QStringLiteral("Memória szegmens: 255/255");
    EXPECT_GT(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(longest));
}

TEST_F(WindowTransfer, WithTheConnectButtonDownThePortStaysOpenForClockAndDownload) {
    serve(DeviceModel::Line4, pattern(2));
    form->show();
    // The pane can only hold the focus in the active window.
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    zx::childNamed<QPushButton>(*form, "btnConnect")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link->line().isOpen(); }, 5000));

    zx::childNamed<QPushButton>(*form, "btnSync")->click();
    settle();
    EXPECT_EQ(panel3(), "Sikeres feltöltés");
    EXPECT_TRUE(link->line().isOpen());
    EXPECT_TRUE(zx::childNamed<QPushButton>(*form, "btnConnect")->isChecked());
    EXPECT_TRUE(zx::childNamed<QWidget>(*form, "ComTerminal1")->hasFocus());

    run("DnLoad1");
    EXPECT_EQ(panel3(), "Sikeres letöltés.");
    EXPECT_TRUE(link->line().isOpen());
    EXPECT_TRUE(zx::childNamed<QPushButton>(*form, "btnConnect")->isChecked());
    zx::childNamed<QPushButton>(*form, "btnConnect")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link->line().isOpen(); }, 5000));
    EXPECT_EQ(panel3(), "Szétkapcsolva");
    unit->stop();

    // The clock frame landed in the ident segment as packed decimal: century and year first.
    const ConfigImage::Segment ident = unit->unit().memory().segment(IdentSegment);
    const int year = QDate::currentDate().year() % 100;
    EXPECT_EQ(ident[0], 0x20);
    EXPECT_EQ(ident[1], (year / 10) * 16 + year % 10);
    EXPECT_TRUE(ui.shown.isEmpty());
}

TEST_F(WindowTransfer, DemoModeDownloadsTheDemoConfigurationAndKeepsItsSettingsApart) {
    demo = std::make_unique<DemoMode>(0);
    QString error;
    ASSERT_TRUE(demo->start(&error)) << error.toStdString();
    ConnectionState state;
    readConnectionSettings(state);
    demo->apply(state);
    openWindow(state);
    demo->markWindow(*form, *link);
    EXPECT_TRUE(form->windowTitle().endsWith(" - Bemutató mód"));
    ASSERT_NE(form->findChild<QLabel*>("lblDemo"), nullptr);
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Connection),
              demo->devicePath() + " ( 19200 )");

    run("DnLoad1");
    const ConfigImage expected = demoConfiguration();
    for (int s = 44; s < SegmentCount; ++s)
        EXPECT_EQ(record.image.segment(s), expected.segment(s)) << s;
    EXPECT_EQ(form->modelBox->currentIndex(), 0);
    EXPECT_EQ(zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->gridRowCount(), 13);
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Codes), "12/4");
    EXPECT_EQ(zx::childNamed<QListWidget>(*form, "lbFreeCall")->count(), 12);

    ui.answers.push_back(Interaction::Answer::No);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(QFile::exists(programSettingsPath()));
    EXPECT_FALSE(programSettingsPath().startsWith(dir.path()));
    EXPECT_FALSE(QFile::exists(dir.filePath("zendrax.ini")));
}

// A failed clock setting says so in the status bar, after the port's own "Kapcsolódva...".
TEST_F(WindowTransfer, AFailedClockSettingLeavesTheStatusBarTellingIt) {
    UnitFaults silent;
    silent.silent = true;
    serve(DeviceModel::Line4, ConfigImage{}, silent, fastLine);
    zx::childNamed<QPushButton>(*form, "btnSync")->click();
    settle();
    EXPECT_EQ(panel3(), "Kommunikációs hiba.");
    EXPECT_EQ(ui.messages(),
              QStringList{"Az óra beállítása nem sikerült: az egység nem válaszolt."});
    EXPECT_FALSE(link->line().isOpen());
}

// A value typed into a field, or a page chosen, while a download runs would land after it and
// overwrite what came from the unit: the pages take no input in busy mode.
TEST_F(WindowTransfer, KeysAndClicksMadeDuringADownloadReachNoEditor) {
    serve(DeviceModel::Line4, pattern(4));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->showView(0);
    QLineEdit* copos = zx::childNamed<QLineEdit>(*form, "MEcopos");
    QTabBar* tabs = form->viewPages->tabBar();
    // The operator clicks into the field and types, then chooses another page.
    duringTransfer = [&] {
        if (steps.back().status != "Memória szegmens: 100/255") return;
        clickQueued(copos, copos->rect().center());
        typeQueued("7");
        clickQueued(tabs, tabs->tabRect(2).center());
        // Delivered now, while the download still runs.
        ASSERT_TRUE(form->isBusy());
        QWindowSystemInterface::flushWindowSystemEvents();
    };
    run("DnLoad1");
    unit->stop();

    const std::size_t offset = *MemoryMap::of(DeviceModel::Line4).offset(Field::CoPosition);
    const Byte downloaded = unit->unit().memory().at(offset);
    EXPECT_EQ(panel3(), "Sikeres letöltés.");
    EXPECT_EQ(copos->text(), QString::number(downloaded));
    EXPECT_EQ(record.image.at(offset), downloaded);
    EXPECT_EQ(form->currentView(), 0);

    // Once the transfer is over the field takes keys again.
    const QString shown = copos->text();
    clickQueued(copos, copos->rect().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return copos->hasFocus(); }, 2000));
    copos->end(false);
    typeQueued("5");
    EXPECT_TRUE(QTest::qWaitFor([&] { return copos->text() == shown + "5"; }, 2000));
}

TEST_F(WindowTransfer, KeysTypedIntoTheTerminalDuringATransferNeverReachTheLine) {
    serve(DeviceModel::Line4, pattern(8));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TerminalView& page = *form->terminalView();
    form->viewPages->setCurrentWidget(&page);
    // The operator holds the port open, so a key replayed after the transfer would go out.
    zx::childNamed<QPushButton>(page, "btnConnect")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link->line().isOpen(); }, 5000));
    TerminalPane& pane = *link->terminal();
    QByteArray typed;
    const auto send = pane.sink;
    pane.sink = [&](const QByteArray& bytes) {
        typed += bytes;
        send(bytes);
    };
    duringTransfer = [&] {
        if (steps.back().status != "Memória szegmens: 100/255") return;
        clickQueued(&pane, pane.rect().center());
        typeQueued("1");
        ASSERT_TRUE(form->isBusy());
        QWindowSystemInterface::flushWindowSystemEvents();
    };
    run("DnLoad1");
    EXPECT_EQ(panel3(), "Sikeres letöltés.");
    EXPECT_EQ(typed, QByteArray());

    clickQueued(&pane, pane.rect().center());
    typeQueued("3");
    EXPECT_TRUE(QTest::qWaitFor([&] { return typed == "3"; }, 2000));
    zx::childNamed<QPushButton>(page, "btnConnect")->click();
    unit->stop();
    EXPECT_EQ(unit->unit().stats().writeFrames, 0);
}

} // namespace
} // namespace zx
