// Download against the simulated unit, read as transcripts: what the program sends, what the
// unit answers, what the operator sees.
#include "transfer_test_support.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

using testing::patternImage;
using testing::SimRig;

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values)
        out.append(static_cast<char>(v));
    return out;
}

struct ModelCase {
    DeviceModel model;
    int start;
    QByteArray firstSegmentRequest;
};

class DownloadOfModel : public ::testing::TestWithParam<ModelCase> {};

TEST_P(DownloadOfModel, WakesTheUnitChecksTheModelThenReadsFromTheStartSegment) {
    const ModelCase c = GetParam();
    SimRig rig(c.model);
    const DownloadResult result = rig.transfer.download();
    ASSERT_TRUE(result.ok());

    const auto& w = rig.link.writes();
    ASSERT_GE(w.size(), 5u);
    EXPECT_EQ(w[0], bytesOf({0x03}));
    EXPECT_EQ(w[1], bytesOf({0x1B, 0x1B}));
    EXPECT_EQ(w[2], QByteArray("D2B\r"));
    EXPECT_EQ(w[3], c.firstSegmentRequest);
    // Each wake-up byte is followed by a pause of at least 500 ms.
    const auto& t = rig.link.writeTimesMs();
    EXPECT_GE(t[1] - t[0], 500);
    EXPECT_GE(t[2] - t[1], 500);

    EXPECT_EQ(result.model, c.model);
    EXPECT_TRUE(result.identified);
    EXPECT_EQ(result.status, QStringLiteral("Sikeres letöltés."));
    EXPECT_TRUE(result.message.isEmpty());
}

TEST_P(DownloadOfModel, LeavesTheImageAsTheUnitHoldsItAndZeroBelowTheConfiguration) {
    const ModelCase c = GetParam();
    SimRig rig(c.model);
    rig.unit.setMemory(patternImage(5));
    const DownloadResult result = rig.transfer.download();
    ASSERT_TRUE(result.ok());

    for (int s = 0; s < SegmentCount; ++s) {
        const ConfigImage::Segment got = result.image.segment(s);
        if (s == IdentSegment || s >= c.start)
            EXPECT_EQ(got, rig.unit.memory().segment(s)) << "segment " << s;
        else
            EXPECT_EQ(got, ConfigImage::Segment{}) << "segment " << s;
    }
    // Every configuration segment was asked for exactly twice (one pair each).
    EXPECT_EQ(rig.unit.stats().readRequests, 1 + 2 * (SegmentCount - c.start));

    ConfigImage adopted;
    DeviceModel model = c.model == DeviceModel::Line4 ? DeviceModel::Line16 : DeviceModel::Line4;
    EXPECT_TRUE(adoptDownload(result, adopted, model));
    EXPECT_EQ(adopted, result.image);
    EXPECT_EQ(model, c.model);
}

TEST_P(DownloadOfModel, ShowsEverySegmentNumberAndTheProgressOfTheModelsRange) {
    const ModelCase c = GetParam();
    SimRig rig(c.model);
    ASSERT_TRUE(rig.transfer.download().ok());

    QStringList expected{QStringLiteral("Tipusellenőrzés...")};
    for (int s = c.start; s <= 255; ++s)
        expected << QStringLiteral("Memória szegmens: %1/255").arg(s);
    expected << QStringLiteral("Sikeres letöltés.");
    EXPECT_EQ(rig.statuses(), expected);

    // The bar counts as the text does: the segment named, of 255.
    ASSERT_EQ(rig.progress.size(), static_cast<std::size_t>(SegmentCount - c.start + 2));
    EXPECT_EQ(rig.progress[0].total, 0) << "no measure during the model check";
    for (std::size_t i = 1; i < rig.progress.size(); ++i) {
        const TransferProgress& p = rig.progress[i];
        EXPECT_EQ(p.total, 255);
        if (p.status.startsWith(QStringLiteral("Memória"))) {
            EXPECT_EQ(p.status, QStringLiteral("Memória szegmens: %1/255").arg(p.done));
        }
    }
    EXPECT_EQ(rig.progress.back().done, 255);
}

INSTANTIATE_TEST_SUITE_P(BothModels, DownloadOfModel,
                         ::testing::Values(ModelCase{DeviceModel::Line4, 44, "D2C\r"},
                                           ModelCase{DeviceModel::Line16, 51, "D33\r"}));

TEST(Download, AModelCheckWithoutAnswerEndsItThereAndThePreviousImageStays) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.faults().silent = true;
    const DownloadResult result = rig.transfer.download();

    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.status, QStringLiteral("Kommunikációs hiba."));
    EXPECT_EQ(result.message, QStringLiteral("Letöltési időtúllépés !!!"));
    EXPECT_FALSE(result.identified);
    // Eleven attempts of the model check after the wake-up, and no model guessed to read with.
    EXPECT_EQ(rig.requestsFor(IdentSegment), 11);
    EXPECT_EQ(rig.link.writes().size(), 2u + 11);
    EXPECT_EQ(rig.statuses(), QStringList({QStringLiteral("Tipusellenőrzés..."),
                                           QStringLiteral("Kommunikációs hiba.")}));
    // Every request waited out its limit of 2000 ms before the next one went.
    const auto& t = rig.link.writeTimesMs();
    for (std::size_t i = 3; i < t.size(); ++i)
        EXPECT_GT(t[i] - t[i - 1], Transfer::ReplyLimitMs);

    ConfigImage previous = patternImage(9);
    DeviceModel previousModel = DeviceModel::Line4;
    const ConfigImage kept = previous;
    EXPECT_FALSE(adoptDownload(result, previous, previousModel));
    EXPECT_EQ(previous, kept);
    EXPECT_EQ(previousModel, DeviceModel::Line4);
}

TEST(Download, ModelCheckSurvivesTenSilentAttempts) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.faults().ignoreFirstRequests = 10;
    const DownloadResult result = rig.transfer.download();
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.identified);
    EXPECT_EQ(result.model, DeviceModel::Line4);
    EXPECT_EQ(rig.requestsFor(IdentSegment), 11);
}

TEST(Download, AWrongSumIsRequestedAgain) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.setMemory(patternImage(3));
    rig.unit.faults().wrongSumSegment = 60;
    rig.unit.faults().wrongSumSegmentTimes = 2; // the whole first pair is wrong
    const DownloadResult result = rig.transfer.download();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(rig.requestsFor(60), 4);
    EXPECT_EQ(rig.requestsFor(61), 2);
    EXPECT_EQ(result.image.segment(60), rig.unit.memory().segment(60));
}

TEST(Download, ANoisyLineEndsWithTheTimeOutMessageInsteadOfAskingForEver) {
    const struct {
        int wrongEvery;
        bool succeeds;
    } cases[] = {{3, true}, {2, false}};
    for (const auto& c : cases) {
        SimRig rig(DeviceModel::Line4);
        rig.unit.faults().wrongSumEvery = c.wrongEvery;
        const DownloadResult result = rig.transfer.download();
        EXPECT_EQ(result.ok(), c.succeeds) << c.wrongEvery;
        if (!c.succeeds) {
            EXPECT_EQ(result.message, QStringLiteral("Letöltési időtúllépés !!!"));
            EXPECT_EQ(rig.requestsFor(44), 22);
        }
    }
}

TEST(Download, ALineThatGoesDeadMidTransferKeepsWhatWasReadInTheResultOnly) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.setMemory(patternImage(7));
    // Model check, then 100 segments of two replies, then the line dies inside a reply.
    rig.unit.faults().deadAfterBytes = 33 * (1 + 2 * 100) + 10;
    const DownloadResult result = rig.transfer.download();

    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.message, QStringLiteral("Letöltési időtúllépés !!!"));
    const QStringList statuses = rig.statuses();
    EXPECT_EQ(statuses.at(statuses.size() - 2), QStringLiteral("Memória szegmens: 143/255"));
    EXPECT_EQ(result.image.segment(143), rig.unit.memory().segment(143));
    EXPECT_EQ(result.image.segment(144), ConfigImage::Segment{});
    EXPECT_EQ(rig.progress.back().done, 143);
}

TEST(Download, AReplyStartingAtTheLimitIsStillTaken) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.faults().replyDelayMs = Transfer::ReplyLimitMs;
    EXPECT_TRUE(rig.transfer.download().ok());
    EXPECT_EQ(rig.requestsFor(IdentSegment), 1);
    EXPECT_EQ(rig.requestsFor(44), 2);
}

TEST(Download, RepliesArrivingByteByByteAtLineSpeed) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.setMemory(patternImage(2));
    rig.unit.faults().baud = 19200;
    const DownloadResult result = rig.transfer.download();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.image.segment(200), rig.unit.memory().segment(200));
    // On virtual time the transfer takes the line time of its bytes and the wake-up, nothing
    // more: 3 wake-up bytes, then 425 requests of 4 bytes each answered by 33.
    const std::int64_t lineMs = (3 + 425 * 37) * 10 * 1000 / 19200;
    EXPECT_GE(rig.clock.nowMs(), 1000 + lineMs - 5);
    EXPECT_LE(rig.clock.nowMs(), 1000 + lineMs + 5);
}

TEST(Transfer, AClosedPortIsReportedAndNothingIsSent) {
    SimRig rig(DeviceModel::Line4);
    rig.link.setOpen(false);
    EXPECT_EQ(rig.transfer.download().outcome, TransferOutcome::PortNotOpen);
    EXPECT_EQ(rig.transfer.upload(ConfigImage{}, DeviceModel::Line4).outcome,
              TransferOutcome::PortNotOpen);
    EXPECT_EQ(rig.transfer.setClock(QDateTime::currentDateTime()).outcome,
              TransferOutcome::PortNotOpen);
    EXPECT_TRUE(rig.link.writes().empty());
    EXPECT_EQ(Transfer::portNotOpenMessage(2), QStringLiteral("Portnyitási hiba!2"));
}

} // namespace
} // namespace zx
