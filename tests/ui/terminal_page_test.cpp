// The "Terminál" page's buttons, the line service and the terminal pane, against a real
// pseudo-terminal. The page only asks the service; what the port did comes back as its answers.
#include "link/line_service.h"
#include "link/open_connection.h"
#include "link/pty_pair.h"
#include "ui/terminal/terminal_page.h"
#include "ui/terminal/terminal_widget.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace zx {
namespace {

class TerminalPageTest : public ::testing::Test {
  protected:
    TerminalPageTest() {
        btnConnect = new QPushButton("Ka&pcsolódás", &host);
        btnTransp = new QPushButton("Transzp. Be", &host);
        btnDial = new QPushButton("&Tárcsáz", &host);
        edPhone = new QLineEdit(&host);
        terminal = new TerminalPane(&host);
        note = new QLabel(&host);
        connection.portName = pty.slavePath();
        connection.speedIndex = 6;
        page = std::make_unique<TerminalPage>(
            TerminalPageWidgets{btnConnect, btnTransp, btnDial, edPhone, terminal, note}, line,
            connection);
        page->showLineState = [this](LineStatePanel::State s) {
            panels[3] = LineStatePanel::textOf(s);
        };
        page->showError = [this](const QString& t) { errors << t; };
        page->ask = [this](const QString& q, const std::function<void(bool)>& answered) {
            questions << q;
            answered(yes);
        };
    }
    // The service's answer has come.
    static bool until(const std::function<bool()>& answered) {
        return QTest::qWaitFor(answered, 5000);
    }
    void connectAndWait() {
        btnConnect->click();
        ASSERT_TRUE(until([&] { return line.isOpen(); }));
    }

    test::PtyPair pty;
    QWidget host;
    QPushButton* btnConnect;
    QPushButton* btnTransp;
    QPushButton* btnDial;
    QLineEdit* edPhone;
    TerminalPane* terminal;
    QLabel* note;
    LineService line;
    ConnectionState connection;
    std::unique_ptr<TerminalPage> page;
    std::map<int, QString> panels;
    QStringList errors;
    QStringList questions;
    bool yes = false; // the operator's answer to a question
};

TEST_F(TerminalPageTest, StartsWithTheTransparentAndDialButtonsOff) {
    EXPECT_FALSE(btnConnect->isChecked());
    EXPECT_TRUE(btnConnect->isCheckable());
    EXPECT_FALSE(btnTransp->isEnabled());
    EXPECT_FALSE(btnDial->isEnabled());
    EXPECT_EQ(btnTransp->text(), "Transzp. Be");
}

TEST_F(TerminalPageTest, ConnectOpensAtTheChosenSpeedAndAgainCloses) {
    connection.speedIndex = 8;
    connectAndWait();
    EXPECT_TRUE(btnConnect->isChecked());
    EXPECT_EQ(pty.slaveSpeed(), speed_t(B57600));
    EXPECT_EQ(panels[3], "Kapcsolódva...");
    EXPECT_TRUE(btnDial->isEnabled());
    EXPECT_TRUE(btnTransp->isEnabled());

    btnConnect->click();
    ASSERT_TRUE(until([&] { return !line.isOpen(); }));
    EXPECT_FALSE(btnConnect->isChecked());
    EXPECT_EQ(panels[3], "Szétkapcsolva");
    EXPECT_FALSE(btnDial->isEnabled());
    EXPECT_FALSE(btnTransp->isEnabled());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(TerminalPageTest, DiallingSendsAtdTheNumberAndOneCarriageReturn) {
    connectAndWait();
    edPhone->setText("123");
    btnDial->click();
    const QByteArray sent = pty.read(7);
    EXPECT_EQ(sent, QByteArray("ATD123\r"));
    EXPECT_EQ(sent.size(), 7);
    EXPECT_EQ(pty.drain(), QByteArray());
}

TEST_F(TerminalPageTest, TransparentButtonSwitchesOnThenOffWithItsCaptions) {
    connectAndWait();
    btnTransp->click();
    EXPECT_TRUE(page->transparent());
    EXPECT_EQ(btnTransp->text(), "Transzp. Ki");
    EXPECT_TRUE(btnTransp->isChecked());
    EXPECT_EQ(pty.read(8), "transpon");
    btnTransp->click();
    EXPECT_FALSE(page->transparent());
    EXPECT_EQ(btnTransp->text(), "Transzp. Be");
    EXPECT_FALSE(btnTransp->isChecked());
    EXPECT_EQ(pty.read(8), "transpof");
    EXPECT_EQ(pty.drain(), QByteArray()); // eight characters each, no line end
}

// The unit's pause after "transpof" runs on the line's thread; the port closes once the bytes
// have gone.
TEST_F(TerminalPageTest, DisconnectingInTransparentModeSendsTranspofWaitsThenCloses) {
    connectAndWait();
    btnTransp->click();
    ASSERT_EQ(pty.read(8), "transpon");
    btnConnect->click();
    EXPECT_EQ(btnTransp->text(), "Transzp. Be");
    EXPECT_FALSE(page->transparent());
    EXPECT_EQ(pty.read(8), "transpof");
    ASSERT_TRUE(until([&] { return !line.isOpen(); }));
    EXPECT_EQ(pty.drain(), QByteArray());
}

TEST_F(TerminalPageTest, APortThatDoesNotOpenIsReportedAndTheButtonComesBackUp) {
    connection.portName = "/dev/zx-no-such-port";
    btnConnect->click();
    ASSERT_TRUE(until([&] { return !errors.isEmpty(); }));
    // The port's text, then what happened and what to do.
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.at(0).section('\n', 0, 0), "Unable to open com port (win error code: 2)");
    EXPECT_TRUE(errors.at(0).contains("/dev/zx-no-such-port eszköz nem létezik"))
        << errors.at(0).toStdString();
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(btnConnect->isChecked());
    EXPECT_FALSE(btnDial->isEnabled());
    EXPECT_EQ(panels.count(3), 0u);
    // The next click tries again.
    connection.portName = pty.slavePath();
    connectAndWait();
    EXPECT_TRUE(btnConnect->isChecked());
}

TEST_F(TerminalPageTest, NoValidSpeedRefusesToOpen) {
    connection.speedIndex = 255;
    btnConnect->click();
    ASSERT_TRUE(until([&] { return !errors.isEmpty(); }));
    EXPECT_EQ(errors, QStringList({invalidSpeedMessage()}));
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(btnConnect->isChecked());
}

TEST_F(TerminalPageTest, PortEventsKeepThePageInStepWhoeverOpensTheLine) {
    // As a transfer does it: the port opened and closed without the connect button.
    line.open(connection);
    ASSERT_TRUE(until([&] { return line.isOpen(); }));
    EXPECT_EQ(panels[3], "Kapcsolódva...");
    EXPECT_TRUE(btnDial->isEnabled());
    EXPECT_FALSE(btnConnect->isChecked());
    EXPECT_FALSE(page->operatorHoldsPort());
    line.close();
    ASSERT_TRUE(until([&] { return !line.isOpen(); }));
    EXPECT_EQ(panels[3], "Szétkapcsolva");
    EXPECT_FALSE(btnTransp->isEnabled());
}

TEST_F(TerminalPageTest, TypedKeysGoToTheLineAndReceivedTextShows) {
    connectAndWait();
    QTest::keyClicks(terminal, "ab");
    QTest::keyClick(terminal, Qt::Key_Return);
    QTest::keyClick(terminal, Qt::Key_Up);
    EXPECT_EQ(pty.read(6), "ab\r\x1b[A");
    // No local echo: nothing typed is on the screen.
    EXPECT_EQ(terminal->screen().rowText(0), "");

    pty.write("\x1b[2;3HOK");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return terminal->screen().rowText(1) == QStringLiteral("  OK"); }, 5000));
}

TEST_F(TerminalPageTest, NothingIsSentWhileThePortIsClosed) {
    QTest::keyClicks(terminal, "zz");
    connectAndWait();
    QTest::keyClicks(terminal, "!");
    EXPECT_EQ(pty.read(1), "!");
    EXPECT_EQ(pty.drain(), QByteArray());
}

// A dead line takes no "transpof": the page says the unit may still be in transparent mode, and
// the operator's next connect asks whether to switch it off.
TEST_F(TerminalPageTest,
       ALineFailureInTransparentModeAsksAtTheNextConnectInsteadOfSendingTranspof) {
    for (const bool answer : {true, false}) {
        SCOPED_TRACE(answer ? "Igen" : "Nem");
        test::PtyPair failing;
        connection.portName = failing.slavePath();
        connectAndWait();
        btnTransp->click();
        ASSERT_EQ(failing.read(8), "transpon");
        failing.closeSlave();
        failing.closeMaster();
        ASSERT_TRUE(until([&] { return !line.isOpen(); }));
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors.at(0).startsWith("ReadFile function failed"))
            << errors.at(0).toStdString();
        EXPECT_FALSE(page->transparent());
        EXPECT_EQ(btnTransp->text(), "Transzp. Be");
        EXPECT_EQ(note->text(), TerminalPage::transparentLeftNote());
        EXPECT_TRUE(questions.isEmpty()) << "nothing is asked of a dead line";

        // The unit is reached again, on the next port.
        connection.portName = pty.slavePath();
        yes = answer;
        connectAndWait();
        ASSERT_TRUE(until([&] { return !questions.isEmpty(); }));
        EXPECT_EQ(questions, QStringList{TerminalPage::transparentOffQuestion()});
        EXPECT_EQ(pty.read(8, 300), answer ? "transpof" : "");
        EXPECT_EQ(note->text(), "");
        EXPECT_FALSE(page->unitMayBeTransparent());
        // A plain disconnect now: no transparent mode to switch off.
        btnConnect->click();
        ASSERT_TRUE(until([&] { return !line.isOpen(); }));
        EXPECT_EQ(pty.drain(), QByteArray());
        errors.clear();
        questions.clear();
    }
}

TEST_F(TerminalPageTest, KeysThatNeverWentOutOnAStalledLineAreCountedInTheNote) {
    connectAndWait();
    pty.stall(true);
    QTest::keyClicks(terminal, "abcde");
    btnConnect->click();
    ASSERT_TRUE(until([&] { return !line.isOpen(); }));
    EXPECT_TRUE(until([&] { return note->text() == TerminalPage::droppedNote(5); }))
        << note->text().toStdString();
    pty.stall(false);
    EXPECT_EQ(pty.drain(), QByteArray());
    // The next connect starts counting afresh.
    connectAndWait();
    EXPECT_EQ(note->text(), "");
    QTest::keyClicks(terminal, "f");
    EXPECT_EQ(pty.read(1), "f");
}

} // namespace
} // namespace zx
