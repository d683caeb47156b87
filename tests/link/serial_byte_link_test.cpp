// The transfer's byte link over a real pseudo-terminal, and its hold on the terminal's bytes.
#include "link/pty_pair.h"
#include "link/serial_byte_link.h"
#include "link/serial_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <QTest>
#include <atomic>
#include <gtest/gtest.h>

namespace zx {
namespace {

// A port open on a pseudo-terminal, with the terminal pane's link collecting what it is given.
class SerialByteLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        port.setPortName(pty.slavePath());
        pane.onReceived = [this](const char* d, int n) { terminal.append(d, n); };
        port.attachLink(&pane);
        port.open();
    }

    test::PtyPair pty;
    SerialPort port;
    QByteArray terminal;
    SerialReceiver pane;
};

TEST_F(SerialByteLinkTest, TransferOwnsTheLineWhileTheLinkLives) {
    {
        SerialByteLink link(port);
        EXPECT_TRUE(link.isOpen());
        link.write("D2C\r");
        EXPECT_EQ(pty.read(4), "D2C\r");
        EXPECT_EQ(link.readAvailable(10), QByteArray());
        pty.write("0123456789");
        // Events processed meanwhile must not hand the reply away.
        QTest::qWait(20);
        QByteArray reply;
        while (reply.size() < 10 && link.waitForData(2000))
            reply += link.readAvailable(3);
        EXPECT_EQ(reply, "0123456789");
        EXPECT_TRUE(terminal.isEmpty());
        pty.write("tail");
        ASSERT_TRUE(link.waitForData(5000));
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

TEST_F(SerialByteLinkTest, TheCancelFlagIsWatchedWhileTheLinkLivesOnly) {
    std::atomic<bool> cancel{true};
    {
        SerialByteLink link(port, &cancel);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(link.waitForData(5000));
        EXPECT_LT(clock.elapsed(), 1000);
    }
    EXPECT_EQ(port.cancelFlag(), nullptr);
    port.close();
}

} // namespace
} // namespace zx
