// Upload against the simulated unit: the model check before the first frame, then frames sent,
// acknowledgements, retries (the frame-level cases give the unit's model as already known).
#include "transfer_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zx {
namespace {

using testing::patternImage;
using testing::SimRig;

struct ModelCase {
    DeviceModel model;
    int start;
    std::size_t frames;
};

class UploadOfModel : public ::testing::TestWithParam<ModelCase> {};

TEST_P(UploadOfModel, SendsOneFrameOfSeventyBytesPerConfigurationSegment) {
    const ModelCase c = GetParam();
    SimRig rig(c.model);
    const ConfigImage image = patternImage(11);
    const UploadResult result = rig.transfer.upload(image, c.model, c.model);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.status, QStringLiteral("Sikeres feltöltés"));
    EXPECT_EQ(result.accepted, static_cast<int>(c.frames));

    const auto& w = rig.link.writes();
    ASSERT_EQ(w.size(), c.frames);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const int segment = c.start + static_cast<int>(i);
        EXPECT_EQ(w[i].size(), 70);
        EXPECT_EQ(w[i], Transfer::writeFrame(segment, image.segment(segment)));
    }
    EXPECT_TRUE(w.back().startsWith("UFF"));

    // The unit now holds the configuration range; nothing below it was written.
    for (int s = 0; s < SegmentCount; ++s) {
        if (s == IdentSegment) continue;
        const ConfigImage::Segment expected =
            s >= c.start ? image.segment(s) : ConfigImage::Segment{};
        EXPECT_EQ(rig.unit.memory().segment(s), expected) << s;
    }
    EXPECT_EQ(rig.statuses().first(), QStringLiteral("Memória szegmens: %1/255").arg(c.start));
    EXPECT_EQ(rig.progress.front().done, c.start);
    EXPECT_EQ(rig.progress.back().done, 255);
    EXPECT_EQ(rig.progress.back().total, 255);
    EXPECT_EQ(result.framesSent, static_cast<int>(c.frames));
}

INSTANTIATE_TEST_SUITE_P(BothModels, UploadOfModel,
                         ::testing::Values(ModelCase{DeviceModel::Line4, 44, 212},
                                           ModelCase{DeviceModel::Line16, 51, 205}));

TEST(Upload, FrameOfSegment44OfZeros) {
    const QByteArray frame = Transfer::writeFrame(44, ConfigImage::Segment{});
    EXPECT_EQ(frame, QByteArray("U2C") + QByteArray(64, '0') + QByteArray("75\r"));
    EXPECT_EQ(frame.size(), 70);

    SimRig rig(DeviceModel::Line4);
    ASSERT_TRUE(rig.transfer.upload(ConfigImage{}, DeviceModel::Line4, DeviceModel::Line4).ok());
    EXPECT_EQ(rig.link.writes().front(), frame);
}

TEST(Upload, RejectionsOfOneSegment) {
    const struct {
        int rejections;
        bool succeeds;
    } cases[] = {{3, true}, {10, true}, {11, false}};
    for (const auto& c : cases) {
        SimRig rig(DeviceModel::Line4);
        rig.unit.faults().rejectSegment = 0x80;
        rig.unit.faults().rejectSegmentTimes = c.rejections;
        const UploadResult result =
            rig.transfer.upload(patternImage(4), DeviceModel::Line4, DeviceModel::Line4);
        EXPECT_EQ(result.ok(), c.succeeds) << c.rejections;
        const QByteArray frame = Transfer::writeFrame(0x80, patternImage(4).segment(0x80));
        const auto& w = rig.link.writes();
        const auto sentOf80 = std::count(w.begin(), w.end(), frame);
        if (c.succeeds) {
            EXPECT_EQ(sentOf80, c.rejections + 1);
            EXPECT_EQ(rig.unit.memory().segment(0x80), patternImage(4).segment(0x80));
        } else {
            EXPECT_EQ(sentOf80, 11);
            EXPECT_EQ(result.message, QStringLiteral("Feltöltési időtúllépés !!!"));
            EXPECT_EQ(result.accepted, 0x80 - 44);
            EXPECT_EQ(w.back(), frame); // nothing after the segment that failed
        }
    }
}

TEST(Upload, ALineThatGoesDeadMidTransfer) {
    SimRig rig(DeviceModel::Line16);
    rig.unit.faults().deadAtSegment = 100;
    const ConfigImage image = patternImage(8);
    const UploadResult result =
        rig.transfer.upload(image, DeviceModel::Line16, DeviceModel::Line16);

    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.message, QStringLiteral("Feltöltési időtúllépés !!!"));
    EXPECT_EQ(result.accepted, 100 - 51);
    EXPECT_EQ(rig.unit.memory().segment(99), image.segment(99));
    EXPECT_EQ(rig.unit.memory().segment(100), ConfigImage::Segment{});
    // Eleven frames of segment 100, each given its full two seconds.
    const auto& t = rig.link.writeTimesMs();
    ASSERT_EQ(t.size(), static_cast<std::size_t>(49 + 11));
    EXPECT_GT(t.back() - t[49], 10 * Transfer::ReplyLimitMs);
}

TEST(Upload, ALateAcknowledgementIsNotTakenForTheNextFrame) {
    SimRig rig(DeviceModel::Line4);
    // The 06 for segment 50 comes after the limit, when the frame has been sent again; the
    // unit then rejects segment 51 once. A stale 06 read as the answer to 51 would hide the
    // rejection, and 51 would never be sent again.
    rig.unit.faults().lateSegment = 0x50;
    rig.unit.faults().lateSegmentMs = Transfer::ReplyLimitMs + 500;
    rig.unit.faults().rejectSegment = 0x51;
    rig.unit.faults().rejectSegmentTimes = 1;
    const ConfigImage image = patternImage(5);
    const UploadResult result = rig.transfer.upload(image, DeviceModel::Line4, DeviceModel::Line4);

    ASSERT_TRUE(result.ok());
    const auto& w = rig.link.writes();
    for (int s = 44; s < SegmentCount; ++s) {
        const auto sent = std::count(w.begin(), w.end(), Transfer::writeFrame(s, image.segment(s)));
        EXPECT_EQ(sent, s == 0x50 || s == 0x51 ? 2 : 1) << s;
        EXPECT_EQ(rig.unit.memory().segment(s), image.segment(s)) << s;
    }
    EXPECT_EQ(w.size(), 212u + 2u);
}

TEST(Upload, ASilentSegmentTimesOutOnceAndTheNextFrameGoesThrough) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.faults().ignoreFirstRequests = 1;
    const UploadResult result =
        rig.transfer.upload(patternImage(1), DeviceModel::Line4, DeviceModel::Line4);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(rig.link.writes().size(), 213u);
    EXPECT_EQ(rig.link.writes()[0], rig.link.writes()[1]);
}

// Before its first write frame an upload wakes the unit and asks its model as a download does; a
// unit of the other model, or none, gets no write frame at all.
TEST(Upload, TheUnitsModelIsCheckedBeforeTheFirstFrame) {
    const struct {
        DeviceModel unit, sent;
        bool silent;
        const char* status;
        const char* message;
    } cases[] = {
        {DeviceModel::Line4, DeviceModel::Line4, false, "Sikeres feltöltés", ""},
        {DeviceModel::Line16, DeviceModel::Line16, false, "Sikeres feltöltés", ""},
        {DeviceModel::Line16, DeviceModel::Line4, false, "Feltöltés elmaradt.",
         "Az egység Vardo-16 típusú, a konfiguráció Vardo-4 típusú: a feltöltés elmaradt, az "
         "egységre semmi sem került."},
        {DeviceModel::Line4, DeviceModel::Line16, false, "Feltöltés elmaradt.",
         "Az egység Vardo-4 típusú, a konfiguráció Vardo-16 típusú: a feltöltés elmaradt, az "
         "egységre semmi sem került."},
        {DeviceModel::Line4, DeviceModel::Line4, true, "Kommunikációs hiba.",
         "Feltöltési időtúllépés !!!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        SimRig rig(c.unit);
        rig.unit.faults().silent = c.silent;
        const ConfigImage before = rig.unit.memory();
        const UploadResult result = rig.transfer.upload(patternImage(6), c.sent);
        EXPECT_EQ(result.status, QString::fromUtf8(c.status));
        EXPECT_EQ(result.message, QString::fromUtf8(c.message));
        const auto& w = rig.link.writes();
        ASSERT_GE(w.size(), 3u);
        EXPECT_EQ(w[0], QByteArray(1, WakeUp1));
        EXPECT_EQ(w[1], QByteArray(2, WakeUp2));
        EXPECT_EQ(w[2], Transfer::readRequest(IdentSegment));
        if (result.ok()) {
            EXPECT_EQ(rig.unit.stats().writeFrames, Transfer::segmentTotal(c.sent));
            continue;
        }
        EXPECT_EQ(result.wrongModel(), !c.silent);
        EXPECT_EQ(rig.unit.stats().writeFrames, 0);
        EXPECT_EQ(result.framesSent, 0);
        EXPECT_EQ(rig.unit.memory(), before);
        EXPECT_EQ(rig.requestsFor(IdentSegment), c.silent ? Transfer::MaxAttempts : 1);
    }
}

} // namespace
} // namespace zx
