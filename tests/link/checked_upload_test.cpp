// Upload with its backup and read back against the simulated unit, on virtual time, and the
// unit's fault that acknowledges a write frame without keeping it.
#include "link/checked_upload.h"
#include "model/settings_comparison.h"

#include <gtest/gtest.h>

#include "transfer_test_support.h"

#include <algorithm>
#include <vector>

namespace zx {
namespace {

using testing::patternImage;
using testing::SimRig;

int writeFrames(const SimLink& link) {
    return static_cast<int>(std::count_if(link.writes().begin(), link.writes().end(),
                                          [](const QByteArray& w) { return w.startsWith('U'); }));
}

TEST(DroppedWrite, IsAcknowledgedButTheSegmentKeepsItsOldBytes) {
    SimRig rig(DeviceModel::Line16);
    const ConfigImage before = patternImage(1);
    rig.unit.setMemory(before);
    rig.unit.faults().dropWriteSegment = 60;
    rig.unit.faults().dropWriteTimes = 1;
    const ConfigImage sent = patternImage(2);
    const UploadResult first = rig.transfer.upload(sent, DeviceModel::Line16);
    ASSERT_TRUE(first.ok()) << "the unit said 06 to every frame";
    EXPECT_EQ(rig.unit.stats().dropped, 1);
    EXPECT_EQ(rig.unit.memory().segment(60), before.segment(60));
    EXPECT_EQ(rig.unit.memory().segment(61), sent.segment(61));

    // Only as many times as asked: the next upload is kept.
    ASSERT_TRUE(rig.transfer.upload(sent, DeviceModel::Line16).ok());
    EXPECT_EQ(rig.unit.memory().segment(60), sent.segment(60));
}

TEST(CheckedUpload, TheBackupHoldsExactlyTheUnitsPreviousMemory) {
    for (const DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        SimRig rig(model);
        rig.unit.setMemory(patternImage(3));
        const ConfigImage previous = rig.unit.memory();
        std::vector<UploadPhase> phases;
        std::optional<DownloadResult> kept;
        int framesWhenKept = -1;
        UploadChecks checks;
        checks.backup = true;
        checks.keepBackup = [&](const DownloadResult& backup) {
            kept = backup;
            framesWhenKept = writeFrames(rig.link);
            return true;
        };
        checks.phaseStarted = [&](UploadPhase p) { phases.push_back(p); };

        const CheckedUploadResult r =
            uploadWithChecks(rig.transfer, patternImage(4), model, checks);
        ASSERT_TRUE(kept);
        EXPECT_EQ(framesWhenKept, 0);
        EXPECT_TRUE(r.backupKept);
        EXPECT_EQ(kept->model, model);
        const int start = MemoryMap::of(model).startSegment();
        // The unit's identification and configuration; what is never transferred stays zero.
        for (int s = 0; s < SegmentCount; ++s) {
            const bool held = s == IdentSegment || s >= start;
            EXPECT_EQ(kept->image.segment(s), held ? previous.segment(s) : ConfigImage::Segment{})
                << s;
        }
        ASSERT_TRUE(r.upload && r.upload->ok());
        EXPECT_FALSE(r.readBack);
        EXPECT_EQ(phases, (std::vector<UploadPhase>{UploadPhase::Backup, UploadPhase::Upload}));
        EXPECT_EQ(rig.unit.memory().segment(200), patternImage(4).segment(200));
    }
}

TEST(CheckedUpload, NoWriteFrameWhenTheBackupFailsOrCannotBeKept) {
    {
        SimRig rig(DeviceModel::Line4);
        rig.unit.faults().deadAtSegment = 100;
        bool asked = false;
        UploadChecks checks{true, true, [&](const DownloadResult&) { return asked = true; }, {}};
        const CheckedUploadResult r =
            uploadWithChecks(rig.transfer, patternImage(5), DeviceModel::Line4, checks);
        ASSERT_TRUE(r.backup);
        EXPECT_FALSE(r.backup->ok());
        EXPECT_EQ(r.backup->message, QStringLiteral("Letöltési időtúllépés !!!"));
        EXPECT_FALSE(asked);
        EXPECT_FALSE(r.upload);
        EXPECT_EQ(writeFrames(rig.link), 0);
        EXPECT_EQ(rig.unit.stats().writeFrames, 0);
    }
    {
        SimRig rig(DeviceModel::Line4);
        UploadChecks checks{true, true, [](const DownloadResult&) { return false; }, {}};
        const CheckedUploadResult r =
            uploadWithChecks(rig.transfer, patternImage(5), DeviceModel::Line4, checks);
        EXPECT_TRUE(r.backup && r.backup->ok());
        EXPECT_FALSE(r.backupKept);
        EXPECT_FALSE(r.upload);
        EXPECT_EQ(rig.unit.stats().writeFrames, 0);
    }
    {
        // A unit of the other model: the backup's model check serves the upload, which writes
        // nothing; the unit was asked its model once.
        SimRig rig(DeviceModel::Line16);
        UploadChecks checks;
        checks.backup = true;
        const CheckedUploadResult r =
            uploadWithChecks(rig.transfer, patternImage(5), DeviceModel::Line4, checks);
        ASSERT_TRUE(r.backup && r.backup->ok() && r.upload);
        EXPECT_TRUE(r.upload->wrongModel());
        EXPECT_EQ(rig.unit.stats().writeFrames, 0);
        EXPECT_EQ(rig.requestsFor(IdentSegment), 1);
    }
}

TEST(CheckedUpload, TheReadBackCatchesAWriteTheUnitDidNotKeep) {
    SimRig rig(DeviceModel::Line4);
    DatabaseRecord sent;
    sent.image = patternImage(6);
    sent.image.set(1656, 77); // CoPosition, in segment 51
    rig.unit.faults().dropWriteSegment = 1656 / 32;
    UploadChecks checks;
    checks.readBack = true;
    const CheckedUploadResult r =
        uploadWithChecks(rig.transfer, sent.image, DeviceModel::Line4, checks);
    ASSERT_TRUE(r.upload && r.upload->ok());
    ASSERT_TRUE(r.readBack && r.readBack->ok());

    DatabaseRecord unit = sent;
    unit.image = r.readBack->image;
    const std::vector<SettingDifference> differences = compareSettings(
        SettingsReading(sent, DeviceModel::Line4), SettingsReading(unit, r.readBack->model));
    // The unit kept its old (zero) segment 51, which holds the SMDR settings too.
    const auto coPosition =
        std::find_if(differences.begin(), differences.end(),
                     [](const SettingDifference& d) { return d.name == "CoPosition"; });
    ASSERT_NE(coPosition, differences.end());
    EXPECT_TRUE(coPosition->a == SettingValue::ofNumber(77));
    EXPECT_TRUE(coPosition->b == SettingValue::ofNumber(0));
}

TEST(CheckedUpload, AFailedUploadIsNotReadBack) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.faults().rejectSegment = 60;
    UploadChecks checks;
    checks.readBack = true;
    const CheckedUploadResult r =
        uploadWithChecks(rig.transfer, patternImage(7), DeviceModel::Line4, checks);
    ASSERT_TRUE(r.upload);
    EXPECT_FALSE(r.upload->ok());
    EXPECT_FALSE(r.readBack);
    EXPECT_EQ(rig.unit.stats().readRequests, 1); // the model check only
}

} // namespace
} // namespace zx
