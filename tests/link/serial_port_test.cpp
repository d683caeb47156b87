// The serial port against real pseudo-terminal pairs.
#include "link/port_open_failure.h"
#include "link/pty_pair.h"
#include "link/serial_byte_link.h"
#include "link/serial_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <thread>
#include <unistd.h>

namespace zx {
namespace {

using test::PtyPair;

class SerialPortTest : public ::testing::Test {
  protected:
    SerialPortTest() {
        port.setPortName(pty.slavePath());
        port.setBaudRate(19200);
    }
    QByteArray readAll(int max = 256) {
        QByteArray buf(max, '\0');
        const int n = port.read(buf.data(), max);
        return buf.left(n);
    }
    // Fills the line until it takes no more (nobody reads the master side), through the test's
    // own descriptor of the same device. The bytes written.
    int fillTheLine() {
        // The system moves bytes on in the background: full means full after a pause too.
        const QByteArray block(4096, 'f');
        int filled = 0;
        for (int added = 1; added > 0;) {
            added = 0;
            for (ssize_t n; (n = ::write(pty.slaveFd(), block.constData(), block.size())) > 0;)
                added += static_cast<int>(n);
            filled += added;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return filled;
    }

    PtyPair pty;
    SerialPort port;
};

TEST_F(SerialPortTest, ReadWithNothingArrivedReturnsZeroAndKeepsThePortOpen) {
    port.open();
    char buf[16];
    EXPECT_EQ(port.read(buf, sizeof buf), 0);
    EXPECT_TRUE(port.isOpen());
}

TEST_F(SerialPortTest, ReadTakesAtMostTheCountAndLeavesTheRest) {
    port.open();
    pty.write("ABCDEFGHIJ");
    ASSERT_TRUE(pty.waitUntilSlaveReadable());
    char buf[4];
    // Bytes waiting in the driver are read without any event processing.
    ASSERT_EQ(port.read(buf, 4), 4);
    EXPECT_EQ(QByteArray(buf, 4), "ABCD");
    QByteArray rest;
    while (rest.size() < 6 && port.waitForData(2000))
        rest += readAll();
    EXPECT_EQ(rest, "EFGHIJ");
    EXPECT_EQ(readAll(), QByteArray());
}

TEST_F(SerialPortTest, WaitForDataGivesUpAtItsLimitAndWakesOnArrival) {
    port.open();
    EXPECT_FALSE(port.waitForData(20));
    pty.write("x");
    EXPECT_TRUE(port.waitForData(5000));
    EXPECT_EQ(readAll(), "x");
}

TEST_F(SerialPortTest, EmptyWriteSendsNothingAndReturnsZero) {
    port.open();
    EXPECT_EQ(port.write(QByteArray()), 0);
    EXPECT_EQ(port.write("Q"), 1);
    EXPECT_EQ(pty.read(1), "Q"); // the empty write put nothing before it
    EXPECT_EQ(pty.drain(), QByteArray());
}

TEST_F(SerialPortTest, WriteTextSendsTheBytesAsTheyAreWithNothingAdded) {
    port.open();
    const QByteArray text("ATD123\r\x00\xff", 9);
    EXPECT_EQ(port.write(text), 9);
    EXPECT_EQ(pty.read(9), text);
    EXPECT_EQ(pty.drain(), QByteArray());
}

TEST_F(SerialPortTest, WriteThatTheLineDoesNotTakeEndsAtItsLimitAndDropsTheRest) {
    port.open();
    ASSERT_GT(fillTheLine(), 0);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(port.write("QR"), 0);
    const qint64 limit = 2 * SerialPort::WriteMsPerByte + SerialPort::WriteMs;
    EXPECT_GE(clock.elapsed(), limit);
    EXPECT_LT(clock.elapsed(), limit + 1000) << "loaded machines included";
    // What the limit cut off never follows, not even once the line takes bytes again and
    // events are handled.
    QByteArray line = pty.drain();
    QTest::qWait(50);
    line += pty.drain();
    EXPECT_FALSE(line.contains('Q') || line.contains('R'));
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.write("ok"), 2);
    EXPECT_EQ(pty.read(2), "ok");
}

// The port's receive buffer holds 1024 bytes; more waiting unread (a transfer that reads its
// replies later) must not keep a write from going.
TEST_F(SerialPortTest, AWriteGoesWhileMoreThanTheReceiveBufferWaitsUnread) {
    port.open();
    port.setReceiverSuspended(true);
    const QByteArray arrived(3000, 'u');
    pty.write(arrived);
    QTest::qWait(100); // the event loop fills the port's buffer
    EXPECT_EQ(port.write("abc"), 3);
    EXPECT_EQ(pty.read(3), "abc");
    QByteArray got;
    while (got.size() < arrived.size() && port.waitForData(2000))
        got += readAll(4096);
    EXPECT_EQ(got, arrived);
}

TEST_F(SerialPortTest, OpenAndCloseTwiceNotifyOnce) {
    QSignalSpy opened(&port, &SerialPort::opened);
    QSignalSpy closed(&port, &SerialPort::closed);
    port.close();
    EXPECT_EQ(closed.count(), 0);
    port.open();
    port.open();
    EXPECT_EQ(opened.count(), 1);
    EXPECT_TRUE(port.isOpen());
    port.close();
    port.close();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(SerialPortTest, MissingPortRaisesOpenErrorWithSystemNumberAndStaysClosed) {
    for (const QString& name : {QStringLiteral("/dev/zx-no-such-port"), QStringLiteral("COM999"),
                                QStringLiteral("ttyNoSuchDevice0"), QString()}) {
        SCOPED_TRACE(name.toStdString());
        QSignalSpy opened(&port, &SerialPort::opened);
        port.setPortName(name);
        try {
            port.open();
            ADD_FAILURE() << "opened a missing port";
        } catch (const SerialPortError& e) {
            EXPECT_EQ(e.code(), CE_OpenFailed);
            EXPECT_EQ(e.errorNumber(), ENOENT);
            EXPECT_TRUE(e.text().startsWith("Unable to open com port (win error code: 2)\n"))
                << e.what();
        }
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(opened.count(), 0);
    }
}

TEST_F(SerialPortTest, SomethingThatIsNoSerialDeviceDoesNotOpen) {
    QSignalSpy opened(&port, &SerialPort::opened);
    port.setPortName("/dev/null");
    EXPECT_THROW(port.open(), SerialPortError);
    QTemporaryFile plain;
    ASSERT_TRUE(plain.open());
    port.setPortName(plain.fileName());
    try {
        port.open();
        ADD_FAILURE() << "opened a plain file";
    } catch (const SerialPortError& e) {
        EXPECT_EQ(e.code(), CE_OpenFailed);
        EXPECT_EQ(e.errorNumber(), ENOTTY);
    }
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(opened.count(), 0);
}

TEST_F(SerialPortTest, SettingTheSameNameWhileOpenDoesNotReopen) {
    port.open();
    QSignalSpy opened(&port, &SerialPort::opened);
    QSignalSpy closed(&port, &SerialPort::closed);
    port.setPortName(pty.slavePath());
    EXPECT_EQ(opened.count() + closed.count(), 0);
    EXPECT_TRUE(port.isOpen());
}

TEST_F(SerialPortTest, SettingAnotherNameWhileOpenReopensThereWithBothNotifications) {
    PtyPair other;
    port.open();
    QSignalSpy opened(&port, &SerialPort::opened);
    QSignalSpy closed(&port, &SerialPort::closed);
    port.setPortName(other.slavePath());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(opened.count(), 1);
    ASSERT_TRUE(port.isOpen());
    port.write("hi");
    EXPECT_EQ(other.read(2), "hi");
    EXPECT_EQ(pty.drain(), QByteArray());
}

TEST_F(SerialPortTest, TheLineRunsEightNoneOneWithHardwareFlow) {
    port.open();
    const termios t = pty.slaveTermios();
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(t.c_cflag & PARENB, tcflag_t(0));
    EXPECT_EQ(t.c_cflag & CSTOPB, tcflag_t(0));
    EXPECT_NE(t.c_cflag & CRTSCTS, tcflag_t(0));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t(0));
    EXPECT_EQ(pty.slaveSpeed(), speed_t(B19200));
}

TEST_F(SerialPortTest, BaudRateChangesWhileOpenApplyAtOnceWithoutClosing) {
    const struct {
        int rate;
        speed_t speed;
    } cases[] = {{300, B300},     {1200, B1200},   {9600, B9600},
                 {38400, B38400}, {57600, B57600}, {115200, B115200}};
    port.open();
    QSignalSpy closed(&port, &SerialPort::closed);
    for (const auto& c : cases) {
        port.setBaudRate(c.rate);
        EXPECT_EQ(pty.slaveSpeed(), c.speed) << c.rate;
        EXPECT_EQ(port.baudRate(), c.rate);
    }
    EXPECT_EQ(closed.count(), 0);
}

TEST_F(SerialPortTest, ARateSetWhileClosedAppliesAtTheNextOpen) {
    port.setBaudRate(4800);
    port.open();
    EXPECT_EQ(pty.slaveSpeed(), speed_t(B4800));
    port.close();
    port.setBaudRate(2400);
    port.open();
    EXPECT_EQ(pty.slaveSpeed(), speed_t(B2400));
}

TEST_F(SerialPortTest, RefusedLineSettingsCloseThePortWithoutNotification) {
    port.setBaudRate(0);
    QSignalSpy opened(&port, &SerialPort::opened);
    try {
        port.open();
        ADD_FAILURE() << "opened at no rate";
    } catch (const SerialPortError& e) {
        EXPECT_EQ(e.code(), CE_SetupFailed);
        EXPECT_EQ(e.text(), "SetCommState function failed (win error code: 22)");
    }
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(opened.count(), 0);
}

TEST_F(SerialPortTest, ReceiversGetArrivalsUnlessSuspendedThenGetWhatWaited) {
    QByteArray received;
    SerialReceiver link;
    link.onReceived = [&](const char* d, int n) { received.append(d, n); };
    port.attachLink(&link);
    port.open();
    pty.write("hello");
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= 5; }, 5000));
    EXPECT_EQ(received, "hello");

    port.setReceiverSuspended(true);
    pty.write("xyz");
    ASSERT_TRUE(port.waitForData(5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(received, "hello");
    port.setReceiverSuspended(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= 8; }, 5000));
    EXPECT_EQ(received, "helloxyz");

    port.detachLink(&link);
    pty.write("!");
    ASSERT_TRUE(port.waitForData(5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(received, "helloxyz");
    EXPECT_EQ(readAll(), "!");
}

TEST_F(SerialPortTest, MoreThanTheReceiveBufferArrivesWhole) {
    port.open();
    QByteArray sent;
    for (int i = 0; i < 5000; ++i)
        sent.append(char('A' + i % 26));
    pty.write(sent);
    QByteArray got;
    while (got.size() < sent.size() && port.waitForData(2000))
        got += readAll(700);
    EXPECT_EQ(got, sent);
}

// A cancel set from another thread (the window's, while the transfer's thread waits) ends every
// kind of wait on the port soon after, without waiting out its limit.
TEST_F(SerialPortTest, ACancelFlagEndsAWaitForDataAndAWriteWaitingForRoom) {
    port.open();
    std::atomic<bool> cancel{false};
    port.setCancelFlag(&cancel);
    const QByteArray big(1 << 20, 'w'); // far more than the pseudo-terminal holds
    const struct {
        const char* wait;
        std::function<void()> run;
    } waits[] = {
        {"data", [&] { EXPECT_FALSE(port.waitForData(20000)); }},
        {"room to write", [&] { EXPECT_LT(port.write(big), big.size()); }},
    };
    for (const auto& w : waits) {
        SCOPED_TRACE(w.wait);
        cancel = false;
        std::thread operatorHand([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            cancel = true;
        });
        QElapsedTimer clock;
        clock.start();
        w.run();
        const qint64 took = clock.elapsed();
        operatorHand.join();
        EXPECT_GE(took, 100);
        EXPECT_LT(took, 100 + SerialPort::CancelCheckMs + 150) << "loaded machines included";
        pty.drain(0);
    }
    // Without a flag a wait is one block again and runs its length.
    port.setCancelFlag(nullptr);
    cancel = true;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(port.waitForData(120));
    EXPECT_GE(clock.elapsed(), 120);
}

TEST_F(SerialPortTest, ALineHungUpWhileATransferOwnsItFailsTheTransfersWaitAndNothingElse) {
    port.open();
    QSignalSpy errors(&port, &SerialPort::lineFailed);
    {
        SerialByteLink link(port);
        pty.closeSlave();
        pty.closeMaster();
        try {
            link.waitForData(5000);
            link.readAvailable(8);
            ADD_FAILURE() << "a wait went on on a hung-up line";
        } catch (const SerialPortError& e) {
            EXPECT_EQ(e.code(), CE_ReadFailed);
        }
    }
    QTest::qWait(50);
    EXPECT_EQ(errors.count(), 0);
}

TEST_F(SerialPortTest, ALineThatHangsUpFailsReadsButLeavesThePortOpen) {
    port.open();
    pty.closeSlave();
    pty.closeMaster();
    char buf[8];
    try {
        port.waitForData(1000);
        port.read(buf, sizeof buf);
        ADD_FAILURE() << "read on a hung-up line";
    } catch (const SerialPortError& e) {
        EXPECT_EQ(e.code(), CE_ReadFailed);
    }
    EXPECT_TRUE(port.isOpen());
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TEST_F(SerialPortTest, AHangUpSeenByTheEventLoopIsReportedOnceAndClosesThePort) {
    QByteArray received;
    SerialReceiver link;
    link.onReceived = [&](const char* d, int n) { received.append(d, n); };
    port.attachLink(&link);
    port.open();
    QSignalSpy errors(&port, &SerialPort::lineFailed);
    QSignalSpy closed(&port, &SerialPort::closed);
    pty.closeSlave();
    pty.closeMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed.count() > 0; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(errors.count(), 1);
    EXPECT_EQ(closed.count(), 1);
    // The failure names the port it happened on.
    EXPECT_EQ(errors.at(0).at(0).toString(), "ReadFile function failed (win error code: 5)\n" +
                                                 port.portName() + ": " + portLineAdvice(EIO));
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(received.isEmpty());
}

// While a transfer owns the line, a hang-up reaches the operator once: as the transfer's own
// failure when it meets it, or as the port's line error when the transfer ends without having
// met it. Either way the port closes afterwards.
TEST_F(SerialPortTest, AHangUpDuringATransferIsReportedOnce) {
    for (const bool transferMeetsIt : {true, false}) {
        SCOPED_TRACE(transferMeetsIt);
        PtyPair line;
        SerialPort held;
        held.setPortName(line.slavePath());
        SerialReceiver pane;
        pane.onReceived = [](const char*, int) {};
        held.attachLink(&pane);
        held.open();
        QSignalSpy errors(&held, &SerialPort::lineFailed);
        QSignalSpy closed(&held, &SerialPort::closed);
        QString thrown;
        {
            SerialByteLink link(held);
            line.closeSlave();
            line.closeMaster();
            // Line events handled meanwhile by the port's thread report nothing.
            QTest::qWait(100);
            EXPECT_EQ(errors.count(), 0);
            EXPECT_TRUE(held.isOpen());
            if (transferMeetsIt) {
                try {
                    link.waitForData(1000);
                    link.readAvailable(8);
                } catch (const SerialPortError& e) {
                    thrown = e.text();
                }
            }
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return closed.count() > 0; }, 5000));
        QTest::qWait(50);
        const QString failure = "ReadFile function failed (win error code: 5)\n" +
                                line.slavePath() + ": " + portLineAdvice(EIO);
        if (transferMeetsIt) {
            EXPECT_EQ(thrown, failure);
            EXPECT_EQ(errors.count(), 0);
        } else {
            ASSERT_EQ(errors.count(), 1);
            EXPECT_EQ(errors.at(0).at(0).toString(), failure);
        }
        EXPECT_EQ(closed.count(), 1);
        EXPECT_FALSE(held.isOpen());
    }
}

TEST(ComPortNames, ComNamesMapToSystemPortsAndOtherNamesStayWhole) {
    const struct {
        const char* name;
        const char* path;
    } cases[] = {{"COM1", "/dev/ttyS0"},        {"COM12", "/dev/ttyS11"},
                 {"com3", "/dev/ttyS2"},        {"ttyUSB0", "/dev/ttyUSB0"},
                 {"ttyACM10", "/dev/ttyACM10"}, {"/dev/pts/7", "/dev/pts/7"},
                 {"COM0", "/dev/COM0"},         {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(systemPortPath(QString::fromLatin1(c.name)), QString::fromLatin1(c.path))
            << c.name;
    EXPECT_EQ(portNameOfSystemName("ttyS0"), "COM1");
    EXPECT_EQ(portNameOfSystemName("ttyS15"), "COM16");
    EXPECT_EQ(portNameOfSystemName("ttyUSB0"), "ttyUSB0");
}

// The failures of an open line say in Hungarian what happened and what to do, on a line of
// their own after the system's text; the others carry only the advice they were given.
TEST(SerialPortErrorTest, TextIsTheMessageWithTheSystemNumber) {
    const struct {
        int code;
        const char* text;
        bool lineAdvice;
    } cases[] = {{CE_OpenFailed, "Unable to open com port (win error code: 2)", false},
                 {CE_WriteFailed, "WriteFile function failed (win error code: 2)", true},
                 {CE_ReadFailed, "ReadFile function failed (win error code: 2)", true},
                 {CE_SetupFailed, "SetCommState function failed (win error code: 2)", false},
                 {CE_LineFailed, "ClearCommError function failed (win error code: 2)", true}};
    for (const auto& c : cases) {
        const QString expected =
            QString::fromLatin1(c.text) + (c.lineAdvice ? "\n" + portLineAdvice(2) : QString());
        EXPECT_EQ(SerialPortError(c.code, 2).text(), expected) << c.text;
        EXPECT_EQ(SerialPortError(c.code, 2, "X").text(), QString::fromLatin1(c.text) + "\nX");
    }
}

} // namespace
} // namespace zx
