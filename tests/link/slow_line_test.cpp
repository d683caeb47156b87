// Transfers on slow lines, where a frame takes longer to cross the line than the unit is given
// to answer: every wait for an answer must count from when the frame has gone.
#include "link/serial_byte_link.h"
#include "link/serial_port.h"
#include "link/served_unit.h"
#include "link/system_clock.h"
#include "transfer_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace zx {
namespace {

using testing::patternImage;
using testing::SimRig;

const QDateTime Sample(QDate(2026, 12, 6), QTime(19, 1, 9));

// A unit that takes bytes in, and answers, at `baud`, behind a driver that reports its output
// gone at once.
void pace(SimRig& rig, int baud) {
    rig.unit.faults().baud = baud;
    rig.link.setBitsPerSecond(baud);
}

TEST(SlowLine, UploadSendsEveryFrameOnceAndOnlyARejectedOneAgain) {
    for (const int baud : {300, 1200}) {
        SCOPED_TRACE(baud);
        SimRig rig(DeviceModel::Line4);
        pace(rig, baud);
        rig.unit.faults().rejectSegment = 0x60;
        rig.unit.faults().rejectSegmentTimes = 2;
        const ConfigImage image = patternImage(3);
        const UploadResult result =
            rig.transfer.upload(image, DeviceModel::Line4, DeviceModel::Line4);

        ASSERT_TRUE(result.ok()) << result.message.toStdString();
        EXPECT_EQ(result.accepted, 212);
        const auto& w = rig.link.writes();
        EXPECT_EQ(w.size(), 212u + 2u);
        const QByteArray rejected = Transfer::writeFrame(0x60, image.segment(0x60));
        EXPECT_EQ(std::count(w.begin(), w.end(), rejected), 3);
        // The unit took every segment once, in order: nothing was credited that it had not
        // acknowledged.
        std::vector<int> inOrder(212);
        std::iota(inOrder.begin(), inOrder.end(), 44);
        EXPECT_EQ(rig.unit.acceptedSegments(), inOrder);
        EXPECT_EQ(rig.unit.stats().rejected, 2);
        EXPECT_EQ(rig.unit.memory().segment(0x60), image.segment(0x60));
    }
}

TEST(SlowLine, DownloadAndClockSettingAskNoMoreThanTheyNeed) {
    SimRig rig(DeviceModel::Line16);
    pace(rig, 300);
    rig.unit.setMemory(patternImage(9));
    const DownloadResult download = rig.transfer.download();
    ASSERT_TRUE(download.ok()) << download.message.toStdString();
    EXPECT_EQ(rig.requestsFor(IdentSegment), 1);
    for (int s = 51; s < SegmentCount; ++s)
        EXPECT_EQ(rig.requestsFor(s), 2) << s;

    const std::size_t before = rig.link.writes().size();
    EXPECT_TRUE(rig.transfer.setClock(Sample).ok());
    EXPECT_EQ(rig.link.writes().size(), before + 1);
}

TEST(SlowLine, ClockSettingThroughAPseudoTerminalSendsOneFrame) {
    UnitFaults faults;
    faults.baud = 300;
    ServedUnit served(DeviceModel::Line4, ConfigImage{}, faults);
    QString error;
    ASSERT_TRUE(served.start(&error)) << error.toStdString();

    SerialPort port;
    port.setPortName(served.devicePath());
    port.setBaudRate(300);
    port.open();
    ClockResult result;
    {
        SerialByteLink link(port);
        SystemClock clock;
        Transfer transfer(link, clock);
        result = transfer.setClock(Sample);
    }
    port.close();
    served.stop();

    EXPECT_TRUE(result.ok()) << result.message.toStdString();
    EXPECT_EQ(served.unit().stats().writeFrames, 1);
    EXPECT_EQ(served.unit().stats().accepted, 1);
}

} // namespace
} // namespace zx
