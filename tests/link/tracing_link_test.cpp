// The wire trace over the simulated unit on virtual time: every byte on the line, in bursts.
#include "link/tracing_link.h"

#include <QStringList>

#include <gtest/gtest.h>

#include "trace_lines.h"
#include "transfer_test_support.h"

namespace zx {
namespace {

using testing::patternImage;

// A rig whose engine runs on the traced link.
struct TracedRig {
    explicit TracedRig(DeviceModel model) : unit(model) {}
    SimulatedUnit unit;
    VirtualClock clock;
    SimLink link{unit, clock};
    QStringList lines;
    TracingLink traced{link, [this] { return clock.nowUs(); },
                       [this](const QString& line) { lines << line; }};
    Transfer transfer{traced, clock};

    QByteArray bytes(const QString& arrow) const { return tracedBytes(lines, arrow); }
};

TEST(TracingLink, LinesGiveTheTimeTheDirectionAndTheBytes) {
    EXPECT_EQ(TracingLink::line(1502345, true, QByteArray("D2B\r")), "    1502.3 -> 44 32 42 0D");
    EXPECT_EQ(TracingLink::line(0, false, QByteArray("\x06\xff", 2)), "       0.0 <- 06 FF");
    EXPECT_EQ(TracingLink::line(99999999949, true, "U"), "99999999.9 -> 55");
}

TEST(TracingLink, ItsByteCountsAreTheBytesOnTheLine) {
    TracedRig rig(DeviceModel::Line16);
    rig.unit.setMemory(patternImage(9));
    rig.unit.faults().wrongSumSegment = 60; // a few repeated requests on the way
    rig.unit.faults().wrongSumSegmentTimes = 2;
    ASSERT_TRUE(rig.transfer.download().ok());
    ASSERT_TRUE(rig.transfer.upload(patternImage(8), DeviceModel::Line16).ok());

    EXPECT_EQ(rig.bytes("->"), rig.link.sent());
    EXPECT_EQ(rig.bytes("<-"), rig.link.received());
    EXPECT_EQ(rig.link.sent().size(), rig.unit.stats().bytesIn);
    EXPECT_EQ(rig.link.received().size(), rig.unit.stats().bytesOut);
    // One line per burst: each write is one line, and the wake-up pause shows in the times.
    ASSERT_GE(rig.lines.size(), 3);
    EXPECT_EQ(rig.lines[0], "       0.0 -> 03");
    EXPECT_EQ(rig.lines[1], "     500.0 -> 1B 1B");
    EXPECT_TRUE(rig.lines[2].startsWith("    1000.0 -> 44 32 42 0D")) << rig.lines[2].toStdString();
}

} // namespace
} // namespace zx
