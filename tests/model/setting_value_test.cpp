#include "model/setting_value.h"

#include "model/cp1250_text.h"

#include <gtest/gtest.h>

#include <string>

namespace zx {
namespace {

TEST(SettingText, EveryStoredByteComesBackThroughQuotesAndTheCodePage) {
    // A text of every byte, shown in quotes, read back by set and stored again, is the same text.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string shown = quotedText(utf8FromCp1250(all));
    const std::optional<RawText> back = cp1250FromUtf8(unquotedText(shown));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bytes(), all);
    // Nothing of it can start a line or reach a terminal as a control sequence.
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto c = static_cast<unsigned char>(shown[i]);
        EXPECT_FALSE(c < 0x20 || c == 0x7F) << i;
        if (c == 0xC2) {
            EXPECT_GE(static_cast<unsigned char>(shown[i + 1]), 0xA0) << i;
        }
    }
    EXPECT_EQ(quotedText("a\"b\\c\x1b\n"), R"("a\"b\\c\x1B\x0A")");
    EXPECT_EQ(quotedText(utf8FromCp1250("\x81")), R"("\x81")");
}

TEST(SettingText, CharactersOutsideTheCodePageAreNamed) {
    std::string outside;
    EXPECT_FALSE(cp1250FromUtf8("Kovács ñ", &outside));
    EXPECT_EQ(outside, "ñ");
    EXPECT_FALSE(cp1250FromUtf8("\xF0\x9F\x98\x80", &outside));
    EXPECT_EQ(outside, "\xF0\x9F\x98\x80");
    EXPECT_FALSE(cp1250FromUtf8("a\xC3", &outside)); // cut short
    EXPECT_FALSE(cp1250FromUtf8("\xE2\x82", &outside));
    EXPECT_EQ(cp1250FromUtf8("Győr €")->bytes(), "Gy\xF5r \x80");
    EXPECT_TRUE(outsideCp1250Refusal("ñ").starts_with("A(z) „ñ” karakter"));
}

TEST(SettingText, QuotedValuesAndEscapes) {
    EXPECT_EQ(unquotedText(R"("a\"b\\c\x41")"), "a\"b\\cA");
    EXPECT_EQ(unquotedText(R"("\xZZ")"), "xZZ"); // not an escape: the x stands for itself
    EXPECT_EQ(unquotedText(R"("\ő")"), "ő");     // an escaped character is taken whole
    EXPECT_EQ(unquotedText(R"("open)"), "\"open");
    EXPECT_EQ(unquotedText(R"("a" "b")"), R"("a" "b")");
    EXPECT_EQ(unquotedText(" 20 "), " 20 ");
}

TEST(SettingText, PartsAsAShowLinePrintsThem) {
    const auto parts = parseShownParts(R"(area="1, 2", length= 120 ,x="q\"")");
    ASSERT_TRUE(parts);
    EXPECT_EQ(*parts, (ShownParts{{"area", "1, 2"}, {"length", "120"}, {"x", "q\""}}));
    // A quote followed by more than a comma is not the closing one.
    EXPECT_EQ(parseShownParts(R"(a="x" y", b=2)")->front().second, "x\" y");
    for (const char* bad : {"", "  ", "novalue", "=1", "a=1,", "a=\"1", "a=\"1\" b=2"})
        EXPECT_FALSE(parseShownParts(bad)) << bad;
}

TEST(SettingText, TargetsNameIndexAndPart) {
    const auto whole = parseSettingTarget("LineSettings[12].callIn");
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->name, "LineSettings");
    EXPECT_EQ(whole->index, 12);
    EXPECT_EQ(whole->part, "callIn");
    EXPECT_FALSE(parseSettingTarget("CoPosition")->index);
    EXPECT_EQ(parseSettingTarget("SmdrSpeed.parity")->part, "parity");
    for (const char* bad :
         {"", "1Co", "Co[", "Co[]", "Co[1234]", "Co[1", "Co.", "Co.x1", "Co x", "Co[1]x", "Co.a.b"})
        EXPECT_FALSE(parseSettingTarget(bad)) << bad;
}

TEST(SettingText, ShownLinesOfScalarsPartsAndLists) {
    const SettingValue parts = SettingValue::ofParts(
        {{"speed", SettingValue::ofText("9600")}, {"parity", SettingValue::ofText("Nincs")}});
    const SettingValue list = SettingValue::ofList({SettingValue::ofNumber(7), parts});
    std::vector<std::string> lines;
    appendShownLines(lines, "A", SettingValue::ofFlag(true));
    appendShownLines(lines, "B", list);
    appendShownLines(lines, "C", SettingValue::ofList({}));
    EXPECT_EQ(lines, (std::vector<std::string>{"A: igen", "B: (2)", "  1: 7",
                                               "  2: parity=\"Nincs\", speed=\"9600\"", "C: (0)"}));
    EXPECT_NE(SettingValue::ofText("7"), SettingValue::ofNumber(7));
    EXPECT_EQ(characterCount("Győr"), 4u);
}

} // namespace
} // namespace zx
