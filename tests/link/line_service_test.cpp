// The line service: the port on a thread of its own, one operation at a time handed over in one
// call, every failure a result, and a cancel that ends a silent unit's download. Against the
// simulated unit on a real pseudo-terminal, and in process for the hand-over's failures.
#include "link/line_service.h"
#include "link/pty_pair.h"
#include "link/serial_port.h"
#include "link/served_unit.h"
#include "link/sim_link.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
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

// Keys typed while the line does not take them (CTS low) wait together and go once it moves.
// Whatever stops the terminal (an operation, a close, a disconnect in transparent mode, the end
// of the program) drops every key queued before it, the write in progress included, and says
// how many; what the stop itself puts on the line waits for the line as ever.
TEST(LineServiceSends, KeysQueuedBeforeAStopAreDroppedAndWhatTheStopSendsIsNot) {
    const QByteArray keys(50, 'k');
    ByteLink* operationLine = nullptr; // the line the operation was given
    using Stop = std::function<void(std::unique_ptr<LineService> & line)>;
    const struct {
        const char* name;
        Stop stop;
        QByteArray afterwards; // what reaches the far end once the line moves
        int dropped;           // what the service says it dropped (-1: it is gone)
    } cases[] = {
        {"no stop", [](std::unique_ptr<LineService>&) {}, keys, 0},
        {"an operation",
         [&operationLine](std::unique_ptr<LineService>& line) {
             LineRequest request;
             request.operation = LineOperation::SetClock;
             request.work = [&operationLine](Transfer&) {
                 operationLine->write("op");
                 return LineResult{};
             };
             ASSERT_TRUE(line->start(std::move(request), ConnectionState{}, true));
         },
         "op", 50},
        {"a close", [](std::unique_ptr<LineService>& line) { line->close(); }, "", 50},
        {"a disconnect in transparent mode",
         [](std::unique_ptr<LineService>& line) { line->sendThenClose("transpof", 0); }, "transpof",
         50},
        {"the end of the program", [](std::unique_ptr<LineService>& line) { line.reset(); }, "",
         -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PtyPair pty;
        auto line = std::make_unique<LineService>(
            [&operationLine](SerialPort& port, const std::atomic<bool>* cancel) {
                TransferLine made = serialLine(port, cancel);
                operationLine = made.link.get();
                return made;
            });
        int dropped = 0;
        QObject::connect(line.get(), &LineService::sendDropped, [&](int n) { dropped += n; });
        ConnectionState connection;
        connection.portName = pty.slavePath();
        line->open(connection);
        ASSERT_TRUE(QTest::qWaitFor([&] { return line->isOpen(); }, 5000));

        pty.stall(true);
        for (const char key : keys)
            line->send(QByteArray(1, key));
        c.stop(line);
        // The write under way ends at its next look at the stop; a line that moves before that
        // would still take it.
        if (c.dropped >= 0) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return dropped == c.dropped; }, 5000)) << dropped;
        }
        pty.stall(false);
        EXPECT_EQ(pty.read(static_cast<int>(c.afterwards.size())), c.afterwards);
        EXPECT_EQ(pty.drain(), QByteArray()) << "no key went after the stop";
        line.reset();
    }
}

} // namespace
} // namespace zx
