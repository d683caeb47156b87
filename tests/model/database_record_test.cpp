#include "model/code_table.h"
#include "model/config_image.h"
#include "model/database_record.h"

#include <gtest/gtest.h>

#include <string>

namespace zx {
namespace {

using Slot = DatabaseRecord::Slot;

TEST(DatabaseRecord, LayoutOfTheRecordBytes) {
    EXPECT_EQ(DatabaseRecord::slotOffset(Slot::Site), 11u);
    EXPECT_EQ(DatabaseRecord::slotOffset(Slot::Owner), 267u);
    EXPECT_EQ(DatabaseRecord::slotOffset(Slot::Password), 523u);
    EXPECT_EQ(DatabaseRecord::slotOffset(Slot::ConnectionName), 779u);

    DatabaseRecord r;
    r.writeHeader();
    r.setText(Slot::Site, zx::RawText("ab"));
    r.setText(Slot::Owner, zx::RawText("c"));
    r.setText(Slot::Password, zx::RawText("d"));
    r.setText(Slot::ConnectionName, zx::RawText("e"));
    r.image.set(0, 0x11);
    r.image.set(8191, 0x22);
    const auto bytes = r.toBytes();
    const std::string header(bytes.begin(), bytes.begin() + 11);
    EXPECT_EQ(header, "\x0AZendrax1V2");
    EXPECT_EQ(bytes[11], 2);
    EXPECT_EQ(bytes[12], 'a');
    EXPECT_EQ(bytes[13], 'b');
    EXPECT_EQ(bytes[267], 1);
    EXPECT_EQ(bytes[268], 'c');
    EXPECT_EQ(bytes[523], 1);
    EXPECT_EQ(bytes[524], 'd');
    EXPECT_EQ(bytes[779], 1);
    EXPECT_EQ(bytes[780], 'e');
    EXPECT_EQ(bytes[1035], 0x11);
    EXPECT_EQ(bytes[9226], 0x22);

    const DatabaseRecord back = DatabaseRecord::fromBytes(bytes);
    EXPECT_EQ(back, r);
    EXPECT_EQ(back.text(Slot::Site), "ab");
}

TEST(DatabaseRecord, EveryMeaningfulByteSurvivesTheRoundTripAndOldTextTailsDoNot) {
    // A file of another writer: every byte set, the slots' tails included.
    std::array<Byte, RecordSize> bytes;
    for (std::size_t i = 0; i < RecordSize; ++i)
        bytes[i] = static_cast<Byte>(i * 7 + i / 256);
    const std::size_t lengths[] = {0, 1, 200, 255};
    for (std::size_t s = 0; s < 4; ++s)
        bytes[11 + 256 * s] = static_cast<Byte>(lengths[s]);

    const auto back = DatabaseRecord::fromBytes(bytes).toBytes();
    for (std::size_t i = 0; i < RecordSize; ++i) {
        const bool slotByte = i >= 11 && i < RecordImageOffset;
        const std::size_t slotStart = slotByte ? 11 + (i - 11) / 256 * 256 : 0;
        const bool tail = slotByte && i > slotStart + bytes[slotStart];
        ASSERT_EQ(back[i], tail ? 0 : bytes[i]) << i;
    }
    EXPECT_EQ(DatabaseRecord::fromBytes(back).toBytes(), back);
}

TEST(DatabaseRecord, ShortStrings) {
    DatabaseRecord r;
    r.setText(Slot::Owner, zx::RawText(std::string(300, 'x')));
    EXPECT_EQ(r.textLength(Slot::Owner), 255);
    EXPECT_EQ(r.text(Slot::Owner), std::string(255, 'x'));

    // A shorter text leaves nothing of the longer one behind it.
    r.setText(Slot::Owner, zx::RawText("ab"));
    EXPECT_EQ(r.text(Slot::Owner), "ab");
    const auto bytes = r.toBytes();
    EXPECT_EQ(bytes[267], 2);
    for (std::size_t i = 270; i < 523; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(bytes[523], 0); // nothing spilled into the next slot

    r.setText(Slot::Password, zx::RawText(std::string("\xF5r\x00z", 4)));
    EXPECT_EQ(r.text(Slot::Password), std::string("\xF5r\x00z", 4));
}

TEST(DatabaseRecord, HeaderCheck) {
    DatabaseRecord r;
    EXPECT_FALSE(r.headerValid());
    r.writeHeader();
    EXPECT_TRUE(r.headerValid());
    const std::pair<std::size_t, Byte> breaks[] = {{0, 11}, {0, 0}, {1, 'z'}, {10, '3'}, {8, 'v'}};
    for (const auto& [at, value] : breaks) {
        auto bytes = r.toBytes();
        bytes[at] = value;
        EXPECT_FALSE(DatabaseRecord::fromBytes(bytes).headerValid()) << at;
    }
}

TEST(ConfigImage, ClippedAccessWordsAndSegments) {
    ConfigImage image;
    image.set(ImageSize, 5);
    EXPECT_EQ(image.at(ImageSize), 0);
    image.setWord(1671, 0x1234);
    EXPECT_EQ(image.at(1671), 0x34);
    EXPECT_EQ(image.at(1672), 0x12);
    EXPECT_EQ(image.word(1671), 0x1234);
    image.setWord(8191, 0xABCD); // high byte falls outside and is dropped
    EXPECT_EQ(image.at(8191), 0xCD);
    EXPECT_EQ(image.word(8191), 0x00CD);

    image.fill(8180, 100, 0x20);
    EXPECT_EQ(image.at(8179), 0);
    EXPECT_EQ(image.at(8180), 0x20);
    EXPECT_EQ(image.at(8191), 0x20);
    image.fill(9000, 10, 1); // entirely outside: nothing happens

    ConfigImage::Segment s;
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<Byte>(i + 1);
    image.setSegment(43, s);
    EXPECT_EQ(image.at(1376), 1);
    EXPECT_EQ(image.at(1407), 32);
    EXPECT_EQ(image.at(1408), 0);
    EXPECT_EQ(image.segment(43), s);
    EXPECT_EQ(image.segment(256), ConfigImage::Segment{});
    EXPECT_EQ(image.segment(-1), ConfigImage::Segment{});
    const ConfigImage before = image;
    image.setSegment(256, s);
    image.setSegment(-1, s);
    EXPECT_EQ(image, before);
}

TEST(CodeTable, CapacityAndCountLimits) {
    const std::pair<int, int> capacity[] = {{0, 0},   {1, 3072}, {3, 1024}, {4, 768}, {5, 614},
                                            {6, 512}, {7, 438},  {8, 384},  {9, 341}};
    for (const auto& [length, records] : capacity)
        EXPECT_EQ(codeTableCapacity(length), records) << length;
    const std::pair<int, int> limits[] = {{2, 10},  {3, 100}, {4, 614}, {5, 512},
                                          {6, 438}, {7, 384}, {8, 341}};
    for (const auto& [digits, limit] : limits)
        EXPECT_EQ(codeCountLimit(digits), limit) << digits;
}

} // namespace
} // namespace zx
