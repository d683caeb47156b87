#include "model/codecs.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <vector>

namespace zx {
namespace {

TEST(digitPair, Examples) {
    const std::pair<Byte, const char*> cases[] = {
        {0x06, "06"}, {0xDD, "=="}, {0xFF, "??"}, {0xEE, ">>"}, {0x3A, "3:"},
        {0x00, "00"}, {0x91, "91"}, {0xAB, ":;"}, {0xC0, "<0"},
    };
    for (const auto& [b, text] : cases)
        EXPECT_EQ(digitPair(b), text) << int(b);
}

TEST(digitPair, EveryByteRoundTripsThroughTheParse) {
    for (int b = 0; b < 256; ++b) {
        const std::string text = digitPair(static_cast<Byte>(b));
        ASSERT_EQ(text.size(), 2u);
        EXPECT_EQ(text[0], '0' + b / 16);
        EXPECT_EQ(text[1], '0' + b % 16);
        EXPECT_EQ(parseDigitPair(text), b);
    }
}

TEST(ParseDigitPair, Examples) {
    const std::pair<const char*, Byte> cases[] = {
        {"06", 0x06}, {"==", 0xDD}, {"??", 0xFF}, {"2?", 0x2F},  {"*1", 0xA1},
        {"#5", 0x35}, {"", 0xEE},   {"1", 0xEE},  {"123", 0xEE}, {"36", 0x36},
    };
    for (const auto& [text, b] : cases)
        EXPECT_EQ(parseDigitPair(text), b) << '"' << text << '"';
    // Characters above 127 still take their low four bits.
    EXPECT_EQ(parseDigitPair("\xF5\x31"), 0x51);
    EXPECT_EQ(digitPair(parseDigitPair("1")), ">>");
}

TEST(hexPair, EveryByte) {
    EXPECT_EQ(hexPair(0x00), "00");
    EXPECT_EQ(hexPair(0x2B), "2B");
    EXPECT_EQ(hexPair(0xFF), "FF");
    for (int b = 0; b < 256; ++b) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02X", b);
        EXPECT_EQ(hexPair(static_cast<Byte>(b)), expected);
    }
}

TEST(normalizeNumber, Examples) {
    EXPECT_EQ(normalizeNumber("06 1 234 5678"), "0612345678      ");
    EXPECT_EQ(normalizeNumber(" 123"), "123             ");
    EXPECT_EQ(normalizeNumber(""), std::string(16, ' '));
    EXPECT_EQ(normalizeNumber("      "), std::string(16, ' '));
    EXPECT_EQ(normalizeNumber("12345678901234567890"), "12345678901234567890");
    EXPECT_EQ(normalizeNumber("1234567890123456"), "1234567890123456");
    EXPECT_EQ(normalizeNumber("12345678 901234567"), "12345678901234567");
    // Only spaces are removed; other characters are kept as they are.
    EXPECT_EQ(normalizeNumber("*1#\t2"), "*1#\t2           ");
}

TEST(Sums, SegmentSum) {
    std::array<Byte, 33> reply{};
    reply.fill(0xFF);
    reply[32] = 0xE0;
    EXPECT_TRUE(segmentSumValid(reply));
    reply[32] = 0xE1;
    EXPECT_FALSE(segmentSumValid(reply));

    std::array<Byte, 33> zeros{};
    EXPECT_TRUE(segmentSumValid(zeros));
    zeros[5] = 1;
    EXPECT_FALSE(segmentSumValid(zeros));
    zeros[32] = 1;
    EXPECT_TRUE(segmentSumValid(zeros));

    std::vector<Byte> data{1, 2, 3, 250};
    EXPECT_EQ(segmentSum(data), 0); // 256 wraps
    EXPECT_EQ(segmentSum({}), 0);
}

TEST(Sums, SegmentReplyOfAWrongSizeIsNeverValid) {
    std::vector<Byte> shortReply(32, 0);
    EXPECT_FALSE(segmentSumValid(shortReply));
    std::vector<Byte> longReply(34, 0);
    EXPECT_FALSE(segmentSumValid(longReply));
    EXPECT_FALSE(segmentSumValid({}));
}

TEST(Sums, FrameSumSkipsTheCommandLetter) {
    EXPECT_EQ(frameSum("U2B"), 0x74);
    EXPECT_EQ(hexPair(frameSum("U2B")), "74");
    EXPECT_EQ(frameSum("U"), 0);
    EXPECT_EQ(frameSum(""), 0);
    EXPECT_EQ(frameSum("X" + std::string(4, '\x80')), 0x00);
    EXPECT_EQ(frameSum("UFF"), (0x46 * 2) & 0xFF);
}

TEST(CoNumberRead, ReadsWidthCharactersOfTheLine) {
    ConfigImage image;
    const std::string text = "0102030405060708";
    for (std::size_t i = 0; i < text.size(); ++i)
        image.set(1680 + i, static_cast<Byte>(text[i]));
    EXPECT_EQ(readCoNumber(image, 1680, 2, 1), "01");
    EXPECT_EQ(readCoNumber(image, 1680, 2, 4), "04");
    EXPECT_EQ(readCoNumber(image, 1680, 3, 2), "203");
    EXPECT_EQ(readCoNumber(image, 1680, 4, 4), "0708");
    EXPECT_EQ(readCoNumber(image, 1680, 1, 3), "0");
    EXPECT_EQ(readCoNumber(image, 1680, 0, 1), "");
    EXPECT_EQ(readCoNumber(image, 1680, 2, 0), "");
    // Past the image end the bytes read as zero.
    EXPECT_EQ(readCoNumber(image, 8190, 4, 1), std::string("\0\0\0\0", 4));
}

TEST(ExceptionEntryText, Examples) {
    ConfigImage image;
    const std::array<Byte, 15> bytes{0x06, 0x20, 0x0B, 0xDD, 0xDD, 0x00, 0x01, 0xFF,
                                     0x05, 0x12, 0x34, 120,  0x36, 0xFF, 0x07};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        image.set(1584 + i, bytes[i]);
    EXPECT_EQ(exceptionEntryText(image, 1584, 0), "062011");
    EXPECT_EQ(exceptionEntryText(image, 1584, 1), "====00");
    EXPECT_EQ(exceptionEntryText(image, 1584, 2), "01??05");
    EXPECT_EQ(exceptionEntryText(image, 1584, 3), "1234120");
    EXPECT_EQ(exceptionEntryText(image, 1584, 4), "36??07");
}

} // namespace
} // namespace zx
