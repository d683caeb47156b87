// The transfer's byte link over a real pseudo-terminal, and its hold on the terminal's bytes.
#include "link/com_port.h"
#include "link/pty_pair.h"
#include "link/serial_byte_link.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace zx {
namespace {

// A port open on a pseudo-terminal, with the terminal pane's link collecting what it is given.
class SerialByteLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        port.setPort(pty.slavePath());
        pane.OnRxBuf = [this](const char* d, int n) { terminal.append(d, n); };
        port.attachLink(&pane);
        port.open();
    }

    test::PtyPair pty;
    TComPort port;
    QByteArray terminal;
    TComLink pane;
};

TEST_F(SerialByteLinkTest, TransferOwnsTheLineWhileTheLinkLives) {
    {
        SerialByteLink link(port);
        EXPECT_TRUE(link.isOpen());
        link.write("D2C\r");
        EXPECT_EQ(pty.read(4), "D2C\r");
        EXPECT_EQ(link.readAvailable(10), QByteArray());
        pty.write("0123456789");
        // Events processed meanwhile (a pumping transfer) must not hand the reply away.
        QTest::qWait(20);
        QByteArray reply;
        while (reply.size() < 10 && link.waitForData(2000))
            reply += link.readAvailable(3);
        EXPECT_EQ(reply, "0123456789");
        EXPECT_TRUE(terminal.isEmpty());
        pty.write("tail");
        EXPECT_TRUE(QTest::qWaitFor([&] { return port.bytesWaiting() >= 4; }, 5000));
    }
    // Once the transfer is over, what it left goes to the terminal.
    EXPECT_TRUE(QTest::qWaitFor([&] { return terminal.size() >= 4; }, 5000));
    EXPECT_EQ(terminal, "tail");
    port.close();
    SerialByteLink closed(port);
    EXPECT_FALSE(closed.isOpen());
    EXPECT_EQ(closed.readAvailable(5), QByteArray());
    EXPECT_FALSE(closed.waitForData(10));
}

TEST_F(SerialByteLinkTest, AWaitThatLetsTheEventLoopRunStillKeepsTheReplyFromTheTerminal) {
    int pumps = 0;
    {
        // The unit answers while the window handles its events.
        SerialByteLink link(port, [&] {
            if (++pumps == 2) pty.write("0123456789");
            QCoreApplication::processEvents();
        });
        link.write("D2C\r");
        EXPECT_EQ(pty.read(4), "D2C\r");
        QByteArray reply;
        while (reply.size() < 10 && link.waitForData(2000))
            reply += link.readAvailable(3);
        EXPECT_EQ(reply, "0123456789");
        EXPECT_GE(pumps, 2);
        EXPECT_TRUE(terminal.isEmpty());
    }
    // The link's handler went with it.
    pumps = 0;
    EXPECT_FALSE(port.waitForData(30));
    EXPECT_EQ(pumps, 0);
    port.close();
}

} // namespace
} // namespace zx
