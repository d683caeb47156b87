// The simulated unit, as a transcript: the bytes the program sends, the bytes the unit answers.
#include "link/simulated_unit.h"
#include "link/transfer.h"
#include "model/codecs.h"

#include <gtest/gtest.h>

#include <limits>
#include <span>

namespace zx {
namespace {

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values)
        out.append(static_cast<char>(v));
    return out;
}

bool sumValid(const QByteArray& reply) {
    return reply.size() == 33 && segmentSumValid(std::span<const Byte>(
                                     reinterpret_cast<const Byte*>(reply.constData()), 33));
}

ConfigImage pattern() {
    ConfigImage image;
    for (std::size_t i = 0; i < ImageSize; ++i)
        image.set(i, static_cast<Byte>(i * 7 + 3));
    return image;
}

// Sends bytes at time 0 and collects everything the unit answers, however late.
QByteArray exchange(SimulatedUnit& unit, const QByteArray& sent, std::int64_t atUs = 0) {
    unit.receive(sent, atUs);
    return unit.takeOutput(std::numeric_limits<std::int64_t>::max() / 1000);
}

TEST(SimulatedUnit, BothModelsIdentifyThemselvesInTheIdentSegment) {
    const struct {
        DeviceModel model;
        const char* id;
    } cases[] = {{DeviceModel::Line4, "V4239"}, {DeviceModel::Line16, "V4290"}};
    for (const auto& c : cases) {
        SimulatedUnit unit(c.model);
        unit.setMemory(ConfigImage{}); // an image from elsewhere keeps the unit's own identity
        const QByteArray reply = exchange(unit, "D2B\r");
        ASSERT_EQ(reply.size(), 33);
        EXPECT_EQ(reply.mid(7, 5), QByteArray(c.id));
        EXPECT_TRUE(sumValid(reply));
    }
}

TEST(SimulatedUnit, EveryFrameTheEngineBuildsHasTheSizeTheUnitReads) {
    SimulatedUnit unit(DeviceModel::Line16);
    for (int segment = 0; segment < SegmentCount; ++segment) {
        const QByteArray request = Transfer::readRequest(segment);
        EXPECT_EQ(request.size(), ReadRequestSize);
        EXPECT_EQ(exchange(unit, request).size(), ReadReplySize) << segment;
        const QByteArray frame = Transfer::writeFrame(segment, pattern().segment(segment));
        EXPECT_EQ(frame.size(), WriteFrameSize);
        EXPECT_EQ(exchange(unit, frame), QByteArray(1, static_cast<char>(Ack))) << segment;
    }
    const QByteArray clock = Transfer::clockFrame(QDateTime(QDate(1999, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(clock.size(), WriteFrameSize);
    EXPECT_EQ(exchange(unit, clock), QByteArray(1, static_cast<char>(Ack)));
}

TEST(SimulatedUnit, ReadRequestIsAnsweredWithTheSegmentAndAValidSum) {
    SimulatedUnit unit(DeviceModel::Line16);
    unit.setMemory(pattern());
    for (const int segment : {0, 44, 51, 0xA0, 255}) {
        const QByteArray reply = exchange(unit, Transfer::readRequest(segment));
        ASSERT_EQ(reply.size(), 33) << segment;
        const ConfigImage::Segment expected = unit.memory().segment(segment);
        EXPECT_EQ(reply.left(32), QByteArray(reinterpret_cast<const char*>(expected.data()), 32));
        EXPECT_TRUE(sumValid(reply)) << segment;
    }
    // Lower-case hexadecimal is understood as well.
    EXPECT_EQ(exchange(unit, "Da0\r").size(), 33);
}

TEST(SimulatedUnit, WakeUpBytesAndGarbageGetNoAnswer) {
    SimulatedUnit unit(DeviceModel::Line4);
    EXPECT_TRUE(exchange(unit, bytesOf({0x03, 0x1B, 0x1B})).isEmpty());
    EXPECT_EQ(unit.stats().wakeUpBytes, 3);
    EXPECT_TRUE(exchange(unit, "xyz\r").isEmpty());
    EXPECT_TRUE(exchange(unit, "DZZ\r").isEmpty());  // not hexadecimal
    EXPECT_TRUE(exchange(unit, "D2C2\r").isEmpty()); // too long
    // After the noise the unit still answers a proper request.
    EXPECT_EQ(exchange(unit, bytesOf({0x03}) + "D2C\r").size(), 33);
}

TEST(SimulatedUnit, WriteFrameWithTheRightSumIsStoredAndAcknowledged) {
    SimulatedUnit unit(DeviceModel::Line4);
    ConfigImage::Segment data{};
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<Byte>(0xF0 + i);
    EXPECT_EQ(exchange(unit, Transfer::writeFrame(0x50, data)), bytesOf({0x06}));
    EXPECT_EQ(unit.memory().segment(0x50), data);
    EXPECT_EQ(unit.acceptedSegments(), std::vector<int>{0x50});
}

TEST(SimulatedUnit, BadFramesAreRejectedAndNotStored) {
    ConfigImage::Segment data{};
    data.fill(0x11);
    const QByteArray good = Transfer::writeFrame(0x60, data);
    QByteArray wrongSum = good;
    wrongSum[67] = wrongSum[67] == '0' ? '1' : '0';
    QByteArray badDigit = good;
    badDigit[10] = 'G';
    QByteArray changedData = good; // data changed, sum left as it was
    changedData[3] = '2';
    const QByteArray shortFrame = good.left(40) + "\r";

    for (const QByteArray& frame : {wrongSum, badDigit, changedData, shortFrame}) {
        SimulatedUnit unit(DeviceModel::Line4);
        EXPECT_EQ(exchange(unit, frame), bytesOf({0x15})) << frame.constData();
        EXPECT_EQ(unit.memory().segment(0x60), ConfigImage::Segment{});
        EXPECT_EQ(unit.stats().rejected, 1);
    }
}

TEST(SimulatedUnit, ClockWriteStoresPackedDigitsAndKeepsTheModelId) {
    SimulatedUnit unit(DeviceModel::Line16);
    const QDateTime when(QDate(2026, 12, 6), QTime(19, 1, 9));
    EXPECT_EQ(exchange(unit, Transfer::clockFrame(when)), bytesOf({0x06}));
    const ConfigImage::Segment ident = unit.memory().segment(IdentSegment);
    const ConfigImage::Segment expected = {0x20, 0x26, 0x12, 0x06, 0x19, 0x01,
                                           0x09, 'V',  '4',  '2',  '9',  '0'};
    EXPECT_EQ(ident, expected);
}

TEST(SimulatedUnit, AnswersAreTimedByDelayAndLineSpeed) {
    SimulatedUnit delayed(DeviceModel::Line4);
    delayed.faults().replyDelayMs = 300;
    delayed.receive("D2C\r", 1000);
    EXPECT_EQ(delayed.nextOutputUs(), std::optional<std::int64_t>(301000));
    EXPECT_TRUE(delayed.takeOutput(300999).isEmpty());
    EXPECT_EQ(delayed.takeOutput(301000).size(), 33);
    EXPECT_FALSE(delayed.nextOutputUs().has_value());

    // At 19200 baud a byte takes 10/19200 s: the 4-byte request arrives after 2083 us and the
    // 33-byte reply ends 37 byte times after the request was handed over.
    SimulatedUnit paced(DeviceModel::Line4);
    paced.faults().baud = 19200;
    paced.receive("D2C\r", 0);
    EXPECT_EQ(paced.nextOutputUs(), std::optional<std::int64_t>(2605)); // 5 byte times
    EXPECT_EQ(paced.takeOutput(10000).size(), 15);
    EXPECT_EQ(paced.takeOutput(19270).size(), 17);
    EXPECT_EQ(paced.takeOutput(19271).size(), 1);
}

} // namespace
} // namespace zx
