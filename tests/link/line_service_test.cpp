// The line service: the port on a thread of its own, one operation at a time handed over in one
// call, every failure a result, and a cancel that ends a silent unit's download. Against the
// simulated unit on a real pseudo-terminal, and in process for the hand-over's failures.
#include "link/line_service.h"
#include "link/serial_port.h"
#include "link/served_unit.h"
#include "link/sim_link.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace zx {
namespace {

LineRequest downloadRequest() {
    LineRequest request;
    request.work = [](Transfer& engine) { return downloadOperation(engine); };
    return request;
}

class LineServiceTest : public ::testing::Test {
  protected:
    void serve(const UnitFaults& faults) {
        unit = std::make_unique<ServedUnit>(DeviceModel::Line4, ConfigImage{}, faults);
        QString error;
        ASSERT_TRUE(unit->start(&error)) << error.toStdString();
        connection.portName = unit->devicePath();
        QObject::connect(&line, &LineService::finished,
                         [this](const LineResult& r) { results.push_back(r); });
    }
    void TearDown() override {
        if (unit) unit->stop();
    }

    std::unique_ptr<ServedUnit> unit;
    QThread* lineThread = nullptr;
    // Records the thread each operation's line is made on.
    LineService line{[this](SerialPort& port, const std::atomic<bool>* cancel) {
        lineThread = QThread::currentThread();
        return serialLine(port, cancel);
    }};
    ConnectionState connection;
    std::vector<LineResult> results;
};

TEST_F(LineServiceTest, AnOperationRunsOnTheLinesThreadOneAtATime) {
    serve({});
    QSignalSpy opened(&line, &LineService::opened);
    QSignalSpy closed(&line, &LineService::closed);
    ASSERT_TRUE(line.start(downloadRequest(), connection, false));
    // A refused start queues nothing: the unit sees one download.
    EXPECT_FALSE(line.start(downloadRequest(), connection, false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.empty(); }, 20000));
    QTest::qWait(50);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].ok()) << results[0].message.toStdString();
    EXPECT_TRUE(results[0].download);
    EXPECT_NE(lineThread, nullptr);
    EXPECT_NE(lineThread, QThread::currentThread());
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(closed.count(), 1) << "closed afterwards, as the operator did not hold it";
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(line.busy());
    unit->stop();
    EXPECT_EQ(unit->unit().stats().readRequests, 1 + 2 * 212);
}

TEST_F(LineServiceTest, CancelAndWaitEndsASilentUnitsDownloadAndHandsItsResultOverOnce) {
    serve({.silent = true});
    ASSERT_TRUE(line.start(downloadRequest(), connection, true));
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.isOpen(); }, 5000));
    const std::optional<LineResult> result = line.cancelAndWait();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, TransferOutcome::Cancelled);
    EXPECT_FALSE(line.busy());
    QTest::qWait(100);
    EXPECT_TRUE(results.empty()) << "no second hand-over";
    EXPECT_TRUE(line.isOpen()) << "kept open as asked";
    EXPECT_FALSE(line.cancelAndWait()) << "nothing runs";
}

// However an operation fails, it comes back as a failed result with its message, and a traced
// operation brings its own trace.
TEST(LineHandOver, EveryFailureIsAResultWithItsMessage) {
    SimulatedUnit unit(DeviceModel::Line4);
    const LineFactory simulated = [&](SerialPort&, const std::atomic<bool>*) {
        auto clock = std::make_unique<VirtualClock>();
        auto link = std::make_unique<SimLink>(unit, *clock);
        return TransferLine{std::move(link), std::move(clock)};
    };
    const struct {
        const char* what;
        std::function<void()> fail;
        QString message;
    } cases[] = {
        {"port", [] { throw SerialPortError(CE_ReadFailed, EIO); },
         SerialPortError(CE_ReadFailed, EIO).text()},
        {"other", [] { throw std::runtime_error("elfogyott"); }, "elfogyott"},
        {"unknown", [] { throw 42; }, QString::fromUtf8("Váratlan hiba a vonalon.")},
    };
    SerialPort port;
    std::atomic<bool> cancel{false};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LineRequest request;
        request.operation = LineOperation::Upload;
        request.work = [&c](Transfer& engine) {
            engine.download();
            c.fail();
            return LineResult{};
        };
        request.traced = true;
        request.traceTitle = "Próba";
        const LineResult r = runLineOperation(port, simulated, &cancel, request, {});
        EXPECT_EQ(r.outcome, TransferOutcome::Failed);
        EXPECT_EQ(r.operation, LineOperation::Upload);
        EXPECT_TRUE(r.error);
        EXPECT_EQ(r.message, c.message);
        EXPECT_TRUE(r.trace.startsWith("# Próba\n")) << r.trace.left(40).toStdString();
        EXPECT_TRUE(r.trace.contains(" -> 03\n")) << "the download's wake-up is in it";
    }
}

} // namespace
} // namespace zx
