// The window's operations on the line, on virtual time: how each ends and what it tells, and how
// soon a cancel stops it.
#include "link/line_operations.h"
#include "model/new_configuration.h"
#include "transfer_test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zx {
namespace {

using testing::patternImage;
using testing::SimRig;

UploadJob uploadOf(const ConfigImage& image) {
    UploadJob job;
    job.image = image;
    job.model = DeviceModel::Line4;
    job.startedAt = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0));
    return job;
}

// A cancel asked for at a moment of the operation: it ends within one cancel check, says so, and
// puts nothing more on the line after the frame in flight.
TEST(LineCancel, EveryOperationStopsWithinOneCheckOfTheRequest) {
    const struct {
        const char* name;
        int cancelAtMs;
        UnitFaults faults;
        int bps; // the line speed the program believes in
        LineOperation operation;
        bool partlyWritten;
    } cases[] = {
        {"download, wake-up pause", 200, {}, 0, LineOperation::Download, false},
        {"download, silent unit's model check",
         7000,
         {.silent = true},
         0,
         LineOperation::Download,
         false},
        {"download, segments at 19200",
         3000,
         {.baud = 19200},
         19200,
         LineOperation::Download,
         false},
        {"upload at 300 baud", 20000, {.baud = 300}, 300, LineOperation::Upload, true},
        {"clock setting, silent unit", 5000, {.silent = true}, 0, LineOperation::SetClock, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig(DeviceModel::Line4);
        rig.unit.setFaults(c.faults);
        rig.link.setBitsPerSecond(c.bps);
        rig.clock.cancelAtMs(c.cancelAtMs);
        LineResult result;
        if (c.operation == LineOperation::Download)
            result = downloadOperation(rig.transfer);
        else if (c.operation == LineOperation::Upload)
            result = uploadOperation(rig.transfer, uploadOf(patternImage(4)));
        else
            result = clockOperation(rig.transfer, QDateTime::currentDateTime());

        EXPECT_EQ(result.outcome, TransferOutcome::Cancelled);
        EXPECT_EQ(result.status, QStringLiteral("Megszakítva."));
        EXPECT_EQ(rig.statuses().back(), QStringLiteral("Megszakítva."));
        EXPECT_FALSE(result.download.has_value()) << "a cancelled download hands nothing over";
        EXPECT_EQ(result.partlyWritten, c.partlyWritten);
        EXPECT_GE(rig.clock.nowMs(), c.cancelAtMs);
        EXPECT_LE(rig.clock.nowMs(), c.cancelAtMs + Clock::CancelCheckMs);
        const auto& times = rig.link.writeTimesMs();
        ASSERT_FALSE(times.empty());
        EXPECT_LE(times.back(), c.cancelAtMs) << "nothing new went out after the cancel";
        if (c.operation == LineOperation::Upload)
            EXPECT_EQ(result.message.toStdString(),
                      "A feltöltés megszakadt: az egység részben írt konfigurációt tarthat, így "
                      "nem biztos, hogy működőképes.");
        else
            EXPECT_TRUE(result.message.isEmpty()) << result.message.toStdString();
    }
}

TEST(LineCancel,
     AnUploadCancelledAfterItsBackupNamesTheBackupAndOneCancelledBeforeSaysNothingWent) {
    QTemporaryDir dir;
    // Every answer comes 10 ms late: the backup's download ends near 5.3 s, the upload 2.1 s on.
    for (const int cancelAtMs : {700, 6500}) {
        SCOPED_TRACE(cancelAtMs);
        SimRig rig(DeviceModel::Line4);
        rig.unit.setMemory(patternImage(6));
        rig.unit.faults().replyDelayMs = 10;
        UploadJob job = uploadOf(patternImage(7));
        job.backup = true;
        job.backupFolder = dir.filePath(QString::number(cancelAtMs));
        rig.clock.cancelAtMs(cancelAtMs);
        const LineResult result = uploadOperation(rig.transfer, job);

        EXPECT_EQ(result.outcome, TransferOutcome::Cancelled);
        if (cancelAtMs < 1000) {
            EXPECT_EQ(rig.unit.stats().writeFrames, 0);
            EXPECT_TRUE(result.backupPath.isEmpty());
            EXPECT_FALSE(result.partlyWritten);
            EXPECT_EQ(result.message.toStdString(),
                      "A feltöltés megszakadt, az egységre semmi sem került.");
        } else {
            EXPECT_GT(rig.unit.stats().writeFrames, 0);
            ASSERT_TRUE(QFile::exists(result.backupPath)) << result.backupPath.toStdString();
            EXPECT_TRUE(result.backupPath.startsWith(job.backupFolder));
            EXPECT_TRUE(result.partlyWritten);
            EXPECT_TRUE(result.message.endsWith("\nAz egység korábbi beállításai mentve: " +
                                                result.backupPath))
                << result.message.toStdString();
        }
    }
}

// A download that does not come whole hands no configuration over, whatever ended it.
TEST(LineDownload, OnlyAWholeDownloadHandsItsConfigurationOver) {
    const struct {
        const char* name;
        UnitFaults faults;
        bool whole;
    } cases[] = {
        {"whole", {}, true},
        {"silent unit", {.silent = true}, false},
        {"dead line", {.deadAtSegment = 100}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig(DeviceModel::Line16);
        rig.unit.setFaults(c.faults);
        const LineResult result = downloadOperation(rig.transfer, LineOperation::CompareDownload);
        EXPECT_EQ(result.operation, LineOperation::CompareDownload);
        EXPECT_EQ(result.outcome, c.whole ? TransferOutcome::Success : TransferOutcome::Failed);
        EXPECT_EQ(result.status.toStdString(),
                  c.whole ? "Sikeres letöltés." : "Kommunikációs hiba.");
        EXPECT_EQ(result.message.toStdString(), c.whole ? "" : "Letöltési időtúllépés !!!");
        ASSERT_EQ(result.download.has_value(), c.whole);
        if (result.download) {
            EXPECT_EQ(result.download->model, DeviceModel::Line16);
        }
    }
}

TEST(LineUpload, TheReadBackTellsWhetherTheUnitKeptWhatItWasSent) {
    for (const bool dropped : {false, true}) {
        SCOPED_TRACE(dropped);
        SimRig rig(DeviceModel::Line4);
        if (dropped) rig.unit.faults().dropWriteSegment = 44;
        UploadJob job = uploadOf(patternImage(9));
        job.verify = true;
        const LineResult result = uploadOperation(rig.transfer, job);
        EXPECT_TRUE(result.ok());
        if (!dropped) {
            EXPECT_EQ(result.status, QStringLiteral("Sikeres feltöltés, ellenőrizve."));
            EXPECT_TRUE(result.message.isEmpty());
        } else {
            EXPECT_EQ(result.status, QStringLiteral("Az egység nem azt tartja, amit kapott !!!"));
            EXPECT_TRUE(result.message.startsWith(
                "Az egység nem azt tartja, amit kapott !!!\nEltérő beállítások:\n"))
                << result.message.toStdString();
        }
    }
}

// A configuration laid out for the other model reaches no unit, whatever the job asks for: not a
// byte goes on the line, not even the wake-up.
TEST(LineUpload, TheOtherModelsLayoutIsNeverSent) {
    DatabaseRecord four;
    applyNewConfiguration(four, DeviceModel::Line4);
    SimRig rig(DeviceModel::Line16);
    UploadJob job = uploadOf(four.image);
    job.model = DeviceModel::Line16;
    job.verify = true;
    const LineResult result = uploadOperation(rig.transfer, job);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.message.startsWith("Ez a konfiguráció Vardo-4 elrendezésű, Vardo-16 "
                                          "egységre nem tölthető fel"))
        << result.message.toStdString();
    EXPECT_TRUE(rig.link.writes().empty());
}

// Every end of a clock setting leaves its own line in the status bar.
TEST(LineClock, TheStatusSaysHowTheClockSettingEnded) {
    for (const bool silent : {false, true}) {
        SimRig rig(DeviceModel::Line4);
        rig.unit.faults().silent = silent;
        const LineResult result = clockOperation(rig.transfer, QDateTime::currentDateTime());
        EXPECT_EQ(result.status.toStdString(),
                  silent ? "Kommunikációs hiba." : "Sikeres feltöltés");
        EXPECT_EQ(result.message.toStdString(),
                  silent ? "Az óra beállítása nem sikerült: az egység nem válaszolt." : "");
    }
}

} // namespace
} // namespace zx
