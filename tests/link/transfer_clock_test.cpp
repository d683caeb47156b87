// Setting the unit's clock.
#include "transfer_test_support.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

using testing::SimRig;

const QDateTime Sample(QDate(2026, 12, 6), QTime(19, 1, 9));

TEST(ClockSetting, FrameCarriesTheDateDigitsAndFiftyZeros) {
    const QByteArray frame = Transfer::clockFrame(Sample);
    // Sum of "2B", the fourteen digits and the zeros: 74 + 2C7 + 960 = C9B hexadecimal.
    EXPECT_EQ(frame, QByteArray("U2B20261206190109") + QByteArray(50, '0') + "9B\r");
    EXPECT_EQ(frame.size(), 70);
}

TEST(ClockSetting, UnitStoresThePackedDateAndAcknowledges) {
    SimRig rig(DeviceModel::Line4);
    const ClockResult result = rig.transfer.setClock(Sample);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.status, QStringLiteral("Sikeres feltöltés"));
    ASSERT_EQ(rig.link.writes().size(), 1u);
    const ConfigImage::Segment ident = rig.unit.memory().segment(IdentSegment);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ident.data()), 12),
              QByteArray::fromHex("20261206190109") + "V4239");
}

TEST(ClockSetting, AnyAnswerEndsTheWait) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.faults().rejectSegment = IdentSegment;
    EXPECT_TRUE(rig.transfer.setClock(Sample).ok());
    EXPECT_EQ(rig.link.writes().size(), 1u);
}

TEST(ClockSetting, ElevenUnansweredFramesEndWithTheTimeOutMessage) {
    SimRig rig(DeviceModel::Line4);
    rig.unit.faults().silent = true;
    const ClockResult result = rig.transfer.setClock(Sample);
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.message,
              QStringLiteral("Az óra beállítása nem sikerült: az egység nem válaszolt."));
    const auto& w = rig.link.writes();
    ASSERT_EQ(w.size(), 11u);
    for (const QByteArray& frame : w)
        EXPECT_EQ(frame, Transfer::clockFrame(Sample)); // the same time every attempt
    const auto& t = rig.link.writeTimesMs();
    for (std::size_t i = 1; i < t.size(); ++i)
        EXPECT_GT(t[i] - t[i - 1], Transfer::ReplyLimitMs);
    EXPECT_EQ(result.status, QStringLiteral("Kommunikációs hiba."));
}

TEST(ClockSetting, AByteLeftFromEarlierIsNotTakenForTheAnswer) {
    SimRig rig(DeviceModel::Line4);
    rig.link.write("D2C\r"); // the unit's reply to this is waiting when the clock is set
    rig.clock.advanceToUs(100000);
    rig.unit.faults().silent = true;
    EXPECT_FALSE(rig.transfer.setClock(Sample).ok());
}

} // namespace
} // namespace zx
