// The line runner on a real pseudo-terminal: the operation runs on its own thread with the port,
// which comes back open to the starting thread; a cancel from the starting thread ends a silent
// unit's download soon after, and the result is handed over once.
#include "link/line_runner.h"
#include "link/serial_byte_link.h"
#include "link/serial_port.h"
#include "link/served_unit.h"
#include "link/system_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace zx {
namespace {

class LineRunnerTest : public ::testing::Test {
  protected:
    void serve(const UnitFaults& faults) {
        unit = std::make_unique<ServedUnit>(DeviceModel::Line4, ConfigImage{}, faults);
        QString error;
        ASSERT_TRUE(unit->start(&error)) << error.toStdString();
        port.setPortName(unit->devicePath());
        port.setBaudRate(19200);
        port.open();
        QObject::connect(&runner, &LineRunner::finished, [this](const LineResult& r) {
            results.push_back(r);
            onItsThread = port.thread() == QThread::currentThread();
        });
        QObject::connect(&runner, &LineRunner::progressed,
                         [this](const TransferProgress& p) { statuses << p.status; });
    }
    bool startDownload() {
        TransferLine line{std::make_unique<SerialByteLink>(port, runner.cancelFlag()),
                          std::make_unique<SystemClock>()};
        return runner.start(&port, std::move(line), LineOperation::Download,
                            [](Transfer& engine) { return downloadOperation(engine); });
    }
    void TearDown() override {
        port.close();
        if (unit) unit->stop();
    }

    std::unique_ptr<ServedUnit> unit;
    SerialPort port;
    LineRunner runner;
    std::vector<LineResult> results;
    QStringList statuses;
    bool onItsThread = false;
};

TEST_F(LineRunnerTest, ADownloadRunsOnItsOwnThreadAndThePortComesBackOpen) {
    serve({});
    ASSERT_TRUE(startDownload());
    EXPECT_FALSE(startDownload()) << "one operation at a time";
    EXPECT_NE(port.thread(), QThread::currentThread());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.empty(); }, 20000));
    QTest::qWait(20);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].ok());
    EXPECT_TRUE(results[0].download.has_value());
    EXPECT_TRUE(onItsThread) << "the port is back before the result is handed over";
    EXPECT_TRUE(port.isOpen()) << "never closed on the way";
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(statuses.back(), QStringLiteral("Sikeres letöltés."));
}

TEST_F(LineRunnerTest, ACancelEndsASilentUnitsDownloadSoonAfter) {
    serve({.silent = true});
    ASSERT_TRUE(startDownload());
    QTest::qWait(1500); // into the model check
    QElapsedTimer clock;
    clock.start();
    runner.cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.empty(); }, 5000));
    EXPECT_LT(clock.elapsed(), 200 + 150) << "loaded machines included";
    EXPECT_EQ(results[0].outcome, TransferOutcome::Cancelled);
    EXPECT_FALSE(results[0].download.has_value());
    EXPECT_TRUE(onItsThread);
    EXPECT_TRUE(port.isOpen());

    // Waiting for the end instead (the window closing) hands the result over at once.
    results.clear();
    ASSERT_TRUE(startDownload());
    QTest::qWait(100);
    runner.cancelAndWait();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].outcome, TransferOutcome::Cancelled);
    QTest::qWait(50);
    EXPECT_EQ(results.size(), 1u) << "and only once";
}

// A line that hangs up under the operation: the port's failure comes back as the result, on the
// starting thread, with the status bar's line for it.
TEST_F(LineRunnerTest, APortFailureOnTheOperationsThreadComesBackAsItsResult) {
    serve({.baud = 19200});
    ASSERT_TRUE(startDownload());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return statuses.contains(QStringLiteral("Memória szegmens: 60/255")); }, 20000));
    unit.reset(); // the far end of the pseudo-terminal goes
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.empty(); }, 10000));
    EXPECT_EQ(results[0].outcome, TransferOutcome::Failed);
    EXPECT_TRUE(results[0].error);
    EXPECT_TRUE(results[0].message.startsWith(QStringLiteral("ReadFile function failed")))
        << results[0].message.toStdString();
    EXPECT_EQ(results[0].status, QStringLiteral("Kommunikációs hiba."));
    EXPECT_FALSE(results[0].download.has_value());
    EXPECT_TRUE(onItsThread);
}

} // namespace
} // namespace zx
