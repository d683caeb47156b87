// View switching, the closing question, help, transfer requests and the file panel.
#include "widget_lookup.h"
#include "window_fixture.h"

#include "scripted_interaction.h"
#include "status_panel_text.h"
#include "ui/commands/device_link_controller.h"
#include "ui/commands/help_command.h"
#include "ui/commands/transfer_commands.h"
#include "ui/dialogs/dialog_placement.h"
#include "ui/dialogs/help_viewer.h"
#include "ui/status_bar.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>

namespace {

using Answer = zx::Interaction::Answer;

std::string freeEntry(const zx::ConfigImage& image, std::size_t offset) {
    std::string s;
    for (std::size_t i = 0; i < 16; ++i)
        s.push_back(static_cast<char>(image.at(offset + i)));
    return s;
}

bool menuEnabled(QMenu* menu) {
    return menu->menuAction()->isEnabled();
}

TEST_F(WindowTest, ViewMenuShowsEachViewAndEnablesItsMenus) {
    const char* const items[] = {"Alap1", "Vonalak1", "Idztk1", "Szmhosszak1",
                                 "Kdok1", "Szmok1",   "mnuBeh", "mnuTerm"};
    EXPECT_FALSE(menuEnabled(form->menu().codesMenu));
    EXPECT_FALSE(menuEnabled(form->menu().numbersMenu));
    for (int i : {4, 5, 7, 0, 5, 4, 3, 6, 1, 2}) {
        action(QString::fromUtf8(items[i]))->trigger();
        EXPECT_EQ(form->currentView(), i);
        EXPECT_EQ(menuEnabled(form->menu().codesMenu), i == 4) << i;
        EXPECT_EQ(menuEnabled(form->menu().numbersMenu), i == 5) << i;
        // The commands of a disabled menu are silent too (their shortcuts included).
        EXPECT_EQ(action("Generls1")->isEnabled(), i == 4) << i;
        EXPECT_EQ(action("ImpText")->isEnabled(), i == 4) << i;
        EXPECT_EQ(action("Mindtrl1")->isEnabled(), i == 5) << i;
    }
    // Choosing a tab works the same way.
    form->viewPages->setCurrentIndex(5);
    EXPECT_TRUE(menuEnabled(form->menu().numbersMenu));
    EXPECT_FALSE(menuEnabled(form->menu().codesMenu));
}

TEST_F(WindowTest, LeavingTheFreeNumberViewStoresTheList) {
    action("Szmok1")->trigger();
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItem(QStringLiteral("0612345678      "));
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItem(QString::fromUtf8("  ő77"));
    EXPECT_EQ(freeEntry(record.image, 1792), std::string(16, ' ')); // not before leaving
    action("mnuBeh")->trigger();
    EXPECT_EQ(freeEntry(record.image, 1792), "0612345678      ");
    // Written trimmed in the record's code page (ő is 0xF5).
    EXPECT_EQ(freeEntry(record.image, 1808), "\xF5"
                                             "77             ");
    EXPECT_EQ(freeEntry(record.image, 1824), std::string(16, ' '));
    EXPECT_TRUE(form->document().isModified()) << "the store changed the table";
}

TEST_F(WindowTest, FreeNumbersStoredAtTheSixteenLineTableAndOnlyOnLeavingTheirView) {
    form->document().markModified(); // the 4-line bytes are read through the 16-line map
    chooseModelInBox(zx::DeviceModel::Line16);
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItem(QStringLiteral("555"));
    for (const char* item : {"Vonalak1", "Kdok1", "Alap1"})
        action(QString::fromUtf8(item))->trigger();
    EXPECT_EQ(freeEntry(record.image, 2048), std::string(16, ' '));
    action("Szmok1")->trigger();
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->clear();
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItem(QStringLiteral("777"));
    form->viewPages->setCurrentIndex(0);
    EXPECT_EQ(freeEntry(record.image, 2048), "777             ");
    EXPECT_EQ(freeEntry(record.image, 1792), std::string(16, ' '));
}

struct CloseCase {
    const char* name;
    bool modified;
    std::vector<Answer> answers;
    bool saveSucceeds;
    bool closes;
    int questions;
    int saves;
    int settingsWrites;
};

class ClosingQuestion : public WindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingQuestion, AnswerDecides) {
    const CloseCase& c = GetParam();
    int saves = 0, settingsWrites = 0;
    // The file commands save on the window's request; a save that fails leaves the flag set.
    QObject::connect(form.get(), &MainWindow::saveRequested, [&] {
        ++saves;
        if (c.saveSucceeds) setModified(false);
    });
    QObject::connect(form.get(), &MainWindow::closing, [&] { ++settingsWrites; });
    setModified(c.modified);
    ui.answers.assign(c.answers.begin(), c.answers.end());

    EXPECT_EQ(form->close(), c.closes);
    EXPECT_EQ(ui.texts(zx::ScriptedInteraction::Kind::Question).size(), c.questions);
    for (const auto& shown : ui.shown) {
        EXPECT_EQ(shown.title, QStringLiteral("Zendrax"));
        EXPECT_EQ(shown.text, QString::fromUtf8("Menti a változásokat ?"));
    }
    EXPECT_EQ(saves, c.saves);
    EXPECT_EQ(settingsWrites, c.settingsWrites);
    EXPECT_EQ(ui.unscripted, 0);
    if (!c.closes) {
        EXPECT_EQ(form->document().isModified(), c.modified);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ClosingQuestion,
    ::testing::Values(CloseCase{"Unmodified", false, {}, true, true, 0, 0, 1},
                      CloseCase{"Cancel", true, {Answer::Cancel}, true, false, 1, 0, 0},
                      CloseCase{"No", true, {Answer::No}, true, true, 1, 0, 1},
                      CloseCase{"Yes", true, {Answer::Yes}, true, true, 1, 1, 1},
                      CloseCase{"YesButSaveFails", true, {Answer::Yes}, false, false, 1, 1, 0}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

TEST_F(WindowTest, ExitCommandAsksTheSameQuestion) {
    form->document().markModified();
    ui.answers = {Answer::Cancel};
    action("Exit1")->trigger();
    EXPECT_EQ(ui.texts(zx::ScriptedInteraction::Kind::Question),
              QStringList{QString::fromUtf8("Menti a változásokat ?")});
    EXPECT_TRUE(form->document().isModified());
}

TEST_F(WindowTest, SaveQuestionBeforeOtherCommands) {
    EXPECT_TRUE(form->askSaveChanges()); // nothing to save: nothing asked
    EXPECT_TRUE(ui.shown.isEmpty());
    form->document().markModified();
    ui.answers = {Answer::Cancel, Answer::No, Answer::Yes};
    int saves = 0;
    QObject::connect(form.get(), &MainWindow::saveRequested, [&] {
        ++saves;
        setModified(false);
    });
    EXPECT_FALSE(form->askSaveChanges());
    EXPECT_TRUE(form->askSaveChanges());
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(form->askSaveChanges());
    EXPECT_EQ(saves, 1);
}

TEST_F(WindowTest, HelpOpensTheFileAtItsContents) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    zx::HelpCommand command(*form);
    command.setHelpDirectory(dir.path());
    QFile help(dir.filePath(QStringLiteral("ZENDRAX.HLP")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html><body><h1><a name=\"contents\"></a>Tartalom</h1><p>Alap</p></body></html>");
    help.close();
    // The main window low on the screen: the help opens over it, wholly on the screen.
    const QRect screen = form->screen()->availableGeometry();
    form->move(screen.right() - form->width() / 2, screen.bottom() - 40);

    action("Tartalom1")->trigger();
    zx::HelpViewer* viewer = command.viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(viewer->isHidden());
    EXPECT_TRUE(screen.contains(viewer->geometry().marginsAdded(zx::UsualWindowFrame)));
    EXPECT_EQ(viewer->source().toLocalFile(), QFileInfo(help).absoluteFilePath());
    EXPECT_EQ(viewer->source().fragment(), QStringLiteral("contents"));
    EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("Tartalom")));
    EXPECT_TRUE(ui.shown.isEmpty());
    // The viewer never keeps the program alive on its own.
    EXPECT_FALSE(viewer->testAttribute(Qt::WA_QuitOnClose));
    setModified(false);
    form->close();
    EXPECT_TRUE(viewer->isHidden());
}

TEST(WindowPlacement, AWindowLiesWhollyOnTheScreenFrameIncluded) {
    const QRect screen(0, 0, 1280, 1024);
    const QMargins frame(8, 32, 8, 8);
    const struct {
        QSize size;
        QPoint centre;
        QRect placed;
    } cases[] = {
        {{560, 480}, {640, 512}, {361, 273, 560, 480}},  // centred where there is room
        {{560, 480}, {640, 1000}, {361, 536, 560, 480}}, // moved up from the bottom edge
        {{560, 480}, {0, 0}, {8, 32, 560, 480}},         // moved in from the top left corner
        {{560, 1200}, {640, 512}, {361, 32, 560, 984}},  // as tall as the screen leaves room for
    };
    for (const auto& c : cases)
        EXPECT_EQ(zx::placedWithin(c.size, c.centre, screen, frame), c.placed);
}

TEST_F(WindowTest, MissingHelpFileIsReportedAndNothingElseChanges) {
    QTemporaryDir dir;
    zx::HelpCommand help(*form);
    help.setHelpDirectory(dir.path());
    action("Tartalom1")->trigger();
    EXPECT_EQ(help.viewer(), nullptr);
    const QStringList errors = ui.texts(zx::ScriptedInteraction::Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("ZENDRAX.HLP")));
    EXPECT_FALSE(form->document().isModified());
}

TEST(ShippedHelpFile, EveryContentsLinkHasItsAnchor) {
    // The file ships from the resources folder beside the sources.
    const QString path = QStringLiteral(ZX_SOURCE_DIR "/resources/ZENDRAX.HLP");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("name=\"contents\"")));
    QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    int links = 0;
    for (auto it = link.globalMatch(html); it.hasNext(); ++links) {
        const QString anchor = it.next().captured(1);
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(anchor)))
            << anchor.toStdString();
    }
    // A section for each of the eight views and the six menus, at least.
    EXPECT_GE(links, 14);
}

QString shippedHelp() {
    QFile file(QStringLiteral(ZX_SOURCE_DIR "/resources/ZENDRAX.HLP"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// F1 on each page opens the shipped help at that page's section; every command of the menus is
// described there by its caption.
TEST_F(WindowTest, F1OpensTheHelpAtThePageShownAndTheHelpCoversEveryCommand) {
    const QString html = shippedHelp();
    ASSERT_FALSE(html.isEmpty());
    zx::HelpCommand command(*form);
    command.setHelpDirectory(QStringLiteral(ZX_SOURCE_DIR "/resources"));
    form->show();
    QStringList anchors;
    for (int view : {4, 0, 7, 3, 1, 6, 2, 5}) {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->viewPages->setCurrentIndex(view);
        QTest::keyClick(form.get(), Qt::Key_F1);
        zx::HelpViewer* viewer = command.viewer();
        ASSERT_NE(viewer, nullptr);
        const QString anchor = viewer->source().fragment();
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(anchor)))
            << anchor.toStdString();
        anchors << anchor;
    }
    EXPECT_EQ(anchors, QStringList({"kodok", "alap", "terminal", "szamhosszak", "vonalak",
                                    "behivas", "idozitok", "szamok"}));
    EXPECT_TRUE(ui.shown.isEmpty());

    const QString text = QTextDocumentFragment::fromHtml(html).toPlainText();
    int commands = 0;
    QList<QAction*> items = form->menuBar()->actions();
    while (!items.isEmpty()) {
        QAction* item = items.takeFirst();
        if (item->menu()) {
            items += item->menu()->actions();
            continue;
        }
        if (item->isSeparator()) continue;
        const QString caption = QString(item->text()).remove(QLatin1Char('&'));
        EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
        ++commands;
    }
    EXPECT_GE(commands, 35);
    for (const char* also :
         {"Ctrl+Delete", "Megszakítás", "Escape", "N kód rövidebb lesz. Folytatja?",
          "Ez a file Vardo-16 konfigurációnak látszik. Átvált?"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(also))) << also;
    setModified(false);
    form->close();
}

// Busy mode leaves the operator "Kilépés" and the help; everything else comes back as it was,
// a command that was disabled before (the "Kódok" menu off its page) staying disabled.
TEST_F(WindowTest, BusyModeDisablesEveryCommandButExitAndHelpAndGivesBackWhatWasEnabled) {
    const auto actions = form->menuBar()->findChildren<QAction*>();
    QHash<QAction*, bool> before;
    for (QAction* a : actions)
        before.insert(a, a->isEnabled());
    ASSERT_FALSE(form->menu().selectAllCodes->isEnabled());
    ASSERT_TRUE(form->menu().saveFile->isEnabled());

    form->setBusy(true);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    const QList<QAction*> kept = {form->menu().exitProgram, form->menu().helpContents,
                                  form->menu().fileMenu->menuAction(),
                                  form->menu().helpMenu->menuAction()};
    for (QAction* a : actions) {
        if (!a->isSeparator()) {
            EXPECT_EQ(a->isEnabled(), kept.contains(a)) << a->objectName().toStdString();
        }
    }
    EXPECT_FALSE(form->viewPages->isEnabled());
    EXPECT_FALSE(form->modelBox->isEnabled());

    form->setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    for (QAction* a : actions)
        EXPECT_EQ(a->isEnabled(), before.value(a)) << a->objectName().toStdString();
    EXPECT_TRUE(form->viewPages->isEnabled());
    EXPECT_TRUE(form->modelBox->isEnabled());
}

TEST_F(WindowTest, FilePanelDrawsALongPathWithAnEllipsis) {
    auto* panel = form->findChild<zx::PathPanel*>();
    ASSERT_NE(panel, nullptr);
    const QString path = QStringLiteral(
        "/home/operator/ugyfelek/nagyon/hosszu/konyvtar/nevek/sora/telephely_budapest.vd1");
    form->setStatusText(MainWindow::Panel::File, path);
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::File), path);
    const QString shown = panel->shownText();
    EXPECT_NE(shown, path);
    EXPECT_TRUE(shown.contains(QStringLiteral("...")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/telephely_budapest.vd1")));
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(shown), panel->contentsRect().width());
    form->setStatusText(MainWindow::Panel::File, QStringLiteral("/a/b.vd1"));
    EXPECT_EQ(panel->shownText(), QStringLiteral("/a/b.vd1"));
}

// Two adapters that differ only in the end of their path stay apart: the connection panel grows
// into free room, and gives up directories before the device's own name.
TEST_F(WindowTest, ConnectionPanelKeepsTheDevicesOwnNameWhole) {
    auto* panel = zx::childNamed<zx::MiddleElidedLabel>(*form, "SBarPanel2");
    ASSERT_NE(panel, nullptr);
    form->resize(1200, 600);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QString stem = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K");
    QStringList shown;
    for (const QString& end :
         {QStringLiteral("XYZ1-if00-port0"), QStringLiteral("XYZ2-if00-port0")}) {
        const QString text = stem + end + QStringLiteral(" ( 19200 )");
        form->setStatusText(MainWindow::Panel::Connection, text);
        QApplication::processEvents();
        EXPECT_GT(panel->width(), 150) << "it grew into the free room";
        EXPECT_TRUE(panel->shownText().endsWith(end + " ( 19200 )"))
            << panel->shownText().toStdString();
        shown << panel->shownText();
    }
    EXPECT_NE(shown[0], shown[1]);
    // Narrower than the path, the directories go first.
    const QString name = QStringLiteral("usb-FTDI_FT232R_USB_UART_A10KXYZ2-if00-port0 ( 19200 )");
    panel->setFixedWidth(panel->fontMetrics().horizontalAdvance(".../" + name) + 20);
    EXPECT_EQ(panel->shownText().right(name.size() + 4), ".../" + name)
        << panel->shownText().toStdString();
}

TEST(ScriptedInteractionSeam, UnscriptedRequestsGetTheHarmlessAnswerAndAreCounted) {
    zx::ScriptedInteraction ui;
    ui.answers = {Answer::No};
    EXPECT_EQ(ui.askYesNoCancel(nullptr, "Zendrax", "?"), Answer::No);
    EXPECT_EQ(ui.askYesNoCancel(nullptr, "Zendrax", "?"), Answer::Cancel);
    EXPECT_FALSE(ui.confirm(nullptr, QStringLiteral("Biztos benne ?")));
    EXPECT_TRUE(ui.openFileName(nullptr, {}).isEmpty());
    QDialog accepted, untouched;
    ui.dialogHandlers.push_back([](QDialog& d) { d.accept(); });
    EXPECT_EQ(ui.runDialog(accepted), QDialog::Accepted);
    EXPECT_EQ(ui.runDialog(untouched), QDialog::Rejected);
    EXPECT_EQ(ui.unscripted, 4);
    EXPECT_EQ(ui.shown.size(), 6);
}

} // namespace

// The window goes while a value is still being typed: the teardown moving the focus out of a
// field is not the operator leaving it, and nothing reaches the document any more. A view torn
// down while its window is still active is the hardest case: the focus leaves its field with
// the window looking on.
TEST(WindowTeardown, NoStoreReachesTheDocumentFromAViewOrWindowBeingDestroyed) {
    zx::DatabaseRecord record;
    zx::ConfigDocument document(record);
    zx::ScriptedInteraction ui;
    auto form = std::make_unique<MainWindow>(document, ui);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    int changes = 0;
    QObject::connect(&document, &zx::ConfigDocument::imageChanged, [&changes] { ++changes; });
    QObject::connect(&document, &zx::ConfigDocument::modifiedChanged, [&changes] { ++changes; });
    const zx::ConfigImage before = record.image;

    form->showView(1);
    QLineEdit* co = zx::childNamed<QLineEdit>(*form, "MEco01");
    co->setFocus();
    QTest::keyClicks(co, "7");
    ASSERT_EQ(QApplication::focusWidget(), co);
    delete form->linesView();
    EXPECT_EQ(changes, 0);

    form->showView(0);
    QLineEdit* field = zx::childNamed<QLineEdit>(*form, "MEcopos");
    field->setFocus();
    QTest::keyClicks(field, "7");
    form.reset();
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(record.image == before);
}
