#include "model/editor_view.h"

#include "model/new_configuration.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

#include <optional>
#include <string>
#include <vector>

namespace zx {
namespace {

using namespace fixtures;

using Strings = std::vector<std::string>;
using RawTexts = std::vector<RawText>;

void putText(ConfigImage& image, std::size_t offset, const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        image.set(offset + i, static_cast<Byte>(s[i]));
}

TEST(EditorItems, ListsOfBothModels) {
    EXPECT_EQ(speedItems(DeviceModel::Line4),
              (Strings{"19200", "9600", "4800", "2400", "1200", "600", "300"}));
    EXPECT_EQ(speedItems(DeviceModel::Line16),
              (Strings{"9600", "4800", "2400", "1200", "600", "300"}));
    EXPECT_EQ(parityItems(), (Strings{"Nincs", "Páros"}));
    EXPECT_EQ(modeItems(DeviceModel::Line4), (Strings{"Normal", "Saját"}));
    EXPECT_EQ(modeItems(DeviceModel::Line16), (Strings{"Kaszkád", "Normal", "Saját"}));
    EXPECT_EQ(twentyHexItems(), (Strings{"Lenyel", "Átenged"}));
    EXPECT_EQ(dialItems(DeviceModel::Line4, 1), (Strings{"Impulzus", "DTMF normal", "DTMF gyors"}));
    EXPECT_EQ(dialItems(DeviceModel::Line16, 1), (Strings{"DTMF", "Impulzus"}));
    EXPECT_EQ(dialItems(DeviceModel::Line16, 9), (Strings{"DTMF", "Impulzus"}));
    EXPECT_EQ(seizureItems(), (Strings{"Tárcsázáskor", "Azonnal"}));
    EXPECT_EQ(timerSetItems(), (Strings{"#1", "#2"}));
    EXPECT_EQ(coWidthItems(), (Strings{"1", "2", "3", "4"}));
}

std::vector<int> timers(const EditorView& v) {
    return {v.seizeTime,   v.releaseTime, v.interdigitTime, v.firstTone1,
            v.secondTone1, v.coReset1,    v.coTimeout1};
}

std::string shown(const std::vector<std::string>& items, std::optional<int> i) {
    return i && *i >= 0 && *i < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(*i)]
                                                               : "<none>";
}

TEST(EditorView, NewFourLineConfiguration) {
    const EditorView v = decodeForEditors(newImage(DeviceModel::Line4), DeviceModel::Line4);
    EXPECT_EQ(shown(speedItems(v.model), v.speedItem), "9600");
    EXPECT_EQ(shown(parityItems(), v.parityItem), "Nincs");
    EXPECT_EQ(shown(modeItems(v.model), v.modeItem), "Saját");
    EXPECT_EQ(shown(twentyHexItems(), v.twentyHexItem), "Lenyel");
    EXPECT_EQ(shown(coWidthItems(), v.coWidthItem), "2");
    EXPECT_EQ((std::vector<int>{v.coPosition, v.calledPosition, v.recordTerminator, v.localLength,
                                v.nationalLength}),
              (std::vector<int>{23, 26, 13, 6, 10}));
    EXPECT_EQ(timers(v), (std::vector<int>{20, 20, 20, 10, 2, 15, 90}));
    EXPECT_FALSE(v.firstTone2 || v.secondTone2 || v.coReset2 || v.coTimeout2 || v.numberTerminator);
    EXPECT_EQ(v.loopPulseDelta, 15);
    EXPECT_TRUE(v.callInForeign && v.callInDomestic && *v.dstEnable && *v.pinEnable);
    EXPECT_EQ(v.mobilePrefixes, (std::array<std::string, 4>{"0620", "0630", "0670", "===="}));
    EXPECT_EQ(v.intlPrefixes, (std::array<std::string, 2>{"00", "=="}));
    EXPECT_EQ(v.callInNumber, "");

    ASSERT_EQ(v.lines.size(), 4u);
    Strings co;
    for (const LineRowView& row : v.lines) {
        co.push_back(row.coNumber.bytes());
        EXPECT_FALSE(row.subLine || row.callIn || row.timerItem);
    }
    EXPECT_EQ(co, (Strings{"01", "02", "03", "04"}));
    EXPECT_EQ(shown(dialItems(v.model, 1), v.lines[0].dialItem), "DTMF normal");
    EXPECT_EQ(shown(seizureItems(), v.lines[0].seizureItem), "Azonnal");
    EXPECT_FALSE(v.lines[1].dialItem || v.lines[3].seizureItem);

    Strings exceptions;
    for (const ExceptionView& e : v.exceptions)
        exceptions.push_back(e.text());
    Strings expected{"062011", "063011", "067011"};
    expected.resize(16, "====00");
    EXPECT_EQ(exceptions, expected);
    EXPECT_EQ(v.exceptions[0].area, "0620");
    Strings barred{"21", "31", "40", "41", "50", "51", "61", "71", "80", "81", "90", "91"};
    barred.resize(64, "??");
    EXPECT_EQ(Strings(v.barredAreas.begin(), v.barredAreas.end()), barred);

    ASSERT_EQ(v.codes.size(), 1u);
    EXPECT_EQ(v.codes[0].code, " ");
    EXPECT_EQ(v.codes[0].rights, (Strings{"Igen", "Igen", "Igen", "Igen"}));
    EXPECT_EQ(v.codePanelText(), "1/6");
    EXPECT_TRUE(v.freeNumbers.empty());
}

TEST(EditorView, NewSixteenLineConfiguration) {
    const EditorView v = decodeForEditors(newImage(DeviceModel::Line16), DeviceModel::Line16);
    EXPECT_EQ(shown(speedItems(v.model), v.speedItem), "9600");
    EXPECT_EQ(v.parityItem, 0);
    EXPECT_EQ(shown(modeItems(v.model), v.modeItem), "Normal");
    EXPECT_EQ(v.numberTerminator, ' ');
    EXPECT_EQ(
        (std::vector<std::optional<int>>{v.firstTone2, v.secondTone2, v.coReset2, v.coTimeout2}),
        (std::vector<std::optional<int>>{10, 2, 15, 90}));
    EXPECT_FALSE(v.loopPulseDelta || v.mobilePrefixes || v.intlPrefixes || v.dstEnable ||
                 v.pinEnable);
    ASSERT_EQ(v.lines.size(), 16u);
    for (std::size_t i = 0; i < 16; ++i) {
        const LineRowView& row = v.lines[i];
        EXPECT_EQ(row.coNumber, (i < 9 ? "0" : "") + std::to_string(i + 1));
        EXPECT_EQ(shown(seizureItems(), row.seizureItem), "Azonnal");
        EXPECT_EQ(shown(dialItems(v.model, static_cast<int>(i + 1)), row.dialItem), "DTMF");
        EXPECT_EQ(shown(timerSetItems(), row.timerItem), "#1");
        EXPECT_FALSE(row.subLine || row.callIn);
    }
    for (const ExceptionView& e : v.exceptions)
        EXPECT_EQ(e.text(), "00255");
    ASSERT_EQ(v.codes.size(), 1u);
    EXPECT_EQ(v.codes[0].rights, (Strings{"N"}));
    EXPECT_EQ(v.codePanelText(), "1/6");
}

TEST(EditorView, SixteenLineSpeedCharacters) {
    struct Case {
        Byte stored;
        int speed, parity;
    };
    const Case cases[] = {{'1', 0, 0}, {'3', 2, 0},  {'6', 5, 0}, {'A', 0, 1}, {'C', 2, 1},
                          {'F', 5, 1}, {'0', 1, 0},  {'7', 1, 0}, {'G', 1, 0}, {'@', 1, 0},
                          {'a', 1, 0}, {0x00, 1, 0}, {0xFF, 1, 0}};
    for (const Case& c : cases) {
        ConfigImage image = newImage(DeviceModel::Line16);
        image.set(1675, c.stored);
        const EditorView v = decodeForEditors(image, DeviceModel::Line16);
        EXPECT_EQ(v.speedItem, c.speed) << int(c.stored);
        EXPECT_EQ(v.parityItem, c.parity) << int(c.stored);
    }
    ConfigImage image;
    image.set(1675, '6');
    EXPECT_EQ(
        speedItems(DeviceModel::Line16)[decodeForEditors(image, DeviceModel::Line16).speedItem],
        "300");
}

TEST(EditorView, FourLineSpeedBits) {
    struct Case {
        Byte stored;
        int speed, parity;
    };
    const Case cases[] = {{0x08, 1, 0}, {0x0A, 1, 0}, {25, 3, 1},   {0x00, 0, 0}, {0x31, 6, 1},
                          {0xC9, 1, 1}, {0x38, 1, 0}, {0x39, 1, 1}, {0xFF, 1, 1}};
    for (const Case& c : cases) {
        ConfigImage image;
        image.set(1659, c.stored);
        const EditorView v = decodeForEditors(image, DeviceModel::Line4);
        EXPECT_EQ(v.speedItem, c.speed) << int(c.stored);
        EXPECT_EQ(v.parityItem, c.parity) << int(c.stored);
    }
}

TEST(EditorView, ModeAndControlCharacters) {
    struct Case {
        DeviceModel model;
        Byte stored;
        int mode, twentyHex;
    };
    const Case cases[] = {
        {DeviceModel::Line4, 0x00, 0, 0},  {DeviceModel::Line4, 0x11, 1, 1},
        {DeviceModel::Line4, 0x02, 0, 0},  {DeviceModel::Line4, 0xEF, 1, 0},
        {DeviceModel::Line16, 0x00, 0, 0}, {DeviceModel::Line16, 0x01, 1, 0},
        {DeviceModel::Line16, 0x12, 2, 1}, {DeviceModel::Line16, 0x03, 2, 0},
        {DeviceModel::Line16, 0x0F, 2, 0}, {DeviceModel::Line16, 0xF1, 1, 1},
    };
    for (const Case& c : cases) {
        ConfigImage image;
        image.set(c.model == DeviceModel::Line4 ? 1661 : 1677, c.stored);
        const EditorView v = decodeForEditors(image, c.model);
        EXPECT_EQ(v.modeItem, c.mode) << modelIndex(c.model) << ' ' << int(c.stored);
        EXPECT_EQ(v.twentyHexItem, c.twentyHex) << modelIndex(c.model) << ' ' << int(c.stored);
    }
}

TEST(EditorView, CoWidthItemAndTheWidthNumbersAreReadWith) {
    const std::pair<Byte, int> items[] = {{0, 1}, {1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 1}, {255, 1}};
    for (const auto& [stored, item] : items) {
        ConfigImage image;
        image.set(1657, stored);
        EXPECT_EQ(decodeForEditors(image, DeviceModel::Line4).coWidthItem, item) << int(stored);
    }
    EXPECT_EQ(coNumberWidth(0), 0);
    EXPECT_EQ(coNumberWidth(1), 1);
    EXPECT_EQ(coNumberWidth(4), 4);
    EXPECT_EQ(coNumberWidth(5), 4);
    EXPECT_EQ(coNumberWidth(255), 4);
}

TEST(EditorView, CoNumbersNeverReachPastTheirField) {
    ConfigImage image = newImage(DeviceModel::Line4);
    putText(image, 1680, "AAAABBBBCCCCDDDD");
    image.set(1657, 200); // a width no editor stores
    EditorView v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_EQ(v.lines[3].coNumber, "DDDD");
    image.set(1657, 3);
    v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_EQ(v.lines[0].coNumber, "AAA");
    EXPECT_EQ(v.lines[3].coNumber, "CCC");
    image.set(1657, 0);
    v = decodeForEditors(image, DeviceModel::Line4);
    for (const LineRowView& row : v.lines)
        EXPECT_EQ(row.coNumber, "");

    ConfigImage image16 = newImage(DeviceModel::Line16);
    image16.set(1684, 9);
    putText(image16, 1756, "WXYZ");
    EXPECT_EQ(decodeForEditors(image16, DeviceModel::Line16).lines[15].coNumber, "WXYZ");
}

TEST(EditorView, NumberTerminatorShowsOnlyItsTwelveKeys) {
    for (int c = 0; c < 256; ++c) {
        ConfigImage image;
        image.set(1686, static_cast<Byte>(c));
        const bool key = c == ' ' || c == '#' || c == '*' || (c >= '0' && c <= '9');
        EXPECT_EQ(decodeForEditors(image, DeviceModel::Line16).numberTerminator,
                  key ? static_cast<char>(c) : ' ')
            << c;
    }
}

TEST(EditorView, CallInFlagsAndNumber) {
    ConfigImage image;
    image.set(1669, 0x01);
    EditorView v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_TRUE(v.callInDomestic);
    EXPECT_FALSE(v.callInForeign);
    image.set(1669, 0xFE);
    v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_FALSE(v.callInDomestic);
    EXPECT_TRUE(v.callInForeign);
    image.set(1669, 0xFC);
    v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_FALSE(v.callInDomestic || v.callInForeign);

    putText(image, 1632, "0612345678");
    EXPECT_EQ(decodeForEditors(image, DeviceModel::Line4).callInNumber, "0612345678");
    putText(image, 1632, "123456789012345678901234");
    image.set(1656, 'X');
    EXPECT_EQ(decodeForEditors(image, DeviceModel::Line4).callInNumber, "123456789012345678901234");
    putText(image, 1792, "\xE1\xE9"); // raw code-page bytes come through untouched
    EXPECT_EQ(decodeForEditors(image, DeviceModel::Line16).callInNumber, "\xE1\xE9");
}

TEST(EditorView, SixteenLineLineBits) {
    ConfigImage image = newImage(DeviceModel::Line16);
    image.set(1648 + 2, 0x10);
    image.set(1648 + 5, 0x04);
    image.set(1648 + 15, 0xFF);
    image.set(1648 + 7, 0x0B);
    const EditorView v = decodeForEditors(image, DeviceModel::Line16);
    const LineRowView& callInOnly = v.lines[2];
    EXPECT_TRUE(callInOnly.callIn);
    EXPECT_FALSE(callInOnly.subLine);
    EXPECT_EQ(callInOnly.seizureItem, 0);
    EXPECT_EQ(callInOnly.dialItem, 0);
    EXPECT_EQ(callInOnly.timerItem, 0);
    const LineRowView& plain = v.lines[5];
    EXPECT_EQ(plain.seizureItem, 1);
    EXPECT_EQ(plain.dialItem, 0);
    EXPECT_EQ(plain.timerItem, 0);
    EXPECT_FALSE(plain.callIn || plain.subLine);
    const LineRowView& all = v.lines[15];
    EXPECT_EQ(all.seizureItem, 1);
    EXPECT_EQ(all.dialItem, 1);
    EXPECT_EQ(all.timerItem, 1);
    EXPECT_TRUE(all.callIn && all.subLine);
    const LineRowView& mixed = v.lines[7]; // 0B: timer #2, Impulzus, Tárcsázáskor, sub-line
    EXPECT_EQ(mixed.timerItem, 1);
    EXPECT_EQ(mixed.dialItem, 1);
    EXPECT_EQ(mixed.seizureItem, 0);
    EXPECT_TRUE(mixed.subLine);
    EXPECT_FALSE(mixed.callIn);
}

TEST(EditorView, FourLineLineSettings) {
    const std::pair<Byte, int> dial[] = {{0, 1}, {1, 0}, {2, 1}, {3, 2}, {4, 1}, {255, 1}};
    for (const auto& [stored, item] : dial) {
        ConfigImage image;
        image.set(1667, stored);
        EXPECT_EQ(decodeForEditors(image, DeviceModel::Line4).lines[0].dialItem, item)
            << int(stored);
    }
    // 0 and the 2 the line editor stores both show "Tárcsázáskor"; the rest "Azonnal".
    const std::pair<Byte, int> seizure[] = {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {255, 1}};
    for (const auto& [stored, item] : seizure) {
        ConfigImage image;
        image.set(1668, stored);
        EXPECT_EQ(decodeForEditors(image, DeviceModel::Line4).lines[0].seizureItem, item)
            << int(stored);
    }
    ConfigImage image;
    image.set(1666, 0x5A); // sub-lines 2 and 4, call-in on lines 1 and 3
    const EditorView v = decodeForEditors(image, DeviceModel::Line4);
    const bool sub[] = {false, true, false, true};
    const bool callIn[] = {true, false, true, false};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(v.lines[i].subLine, sub[i]) << i;
        EXPECT_EQ(v.lines[i].callIn, callIn[i]) << i;
    }
}

TEST(EditorView, ExceptionsAndBarredAreas) {
    ConfigImage image;
    const Byte e4[] = {0x36, 0xFF, 7, 0x12, 0x34, 120};
    for (std::size_t i = 0; i < std::size(e4); ++i)
        image.set(1584 + i, e4[i]);
    image.set(1696, 0xFF);
    image.set(1697, 0x3A);
    EditorView v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_EQ(v.exceptions[0].text(), "36??07");
    EXPECT_EQ(v.exceptions[1].area, "1234");
    EXPECT_EQ(v.exceptions[1].length, "120");
    EXPECT_EQ(v.exceptions[2].text(), "000000");
    EXPECT_EQ(v.barredAreas[0], "??");
    EXPECT_EQ(v.barredAreas[1], "3:");

    const Byte e16[] = {0x36, 7, 0x00, 0xFF, 0xEE, 12};
    for (std::size_t i = 0; i < std::size(e16); ++i)
        image.set(1760 + i, e16[i]);
    v = decodeForEditors(image, DeviceModel::Line16);
    EXPECT_EQ(v.exceptions[0].area, "36");
    EXPECT_EQ(v.exceptions[0].length, "07");
    EXPECT_EQ(v.exceptions[1].text(), "00255");
    EXPECT_EQ(v.exceptions[2].text(), ">>12");
}

TEST(EditorView, CodeRecords) {
    ConfigImage image = newImage(DeviceModel::Line4);
    image.setWord(1671, 3);
    putText(image, 5120,
            "123456?"
            "654321"
            "5"
            "12    0");
    EditorView v = decodeForEditors(image, DeviceModel::Line4);
    ASSERT_EQ(v.codes.size(), 3u);
    EXPECT_EQ(v.codes[0].code, "123456");
    EXPECT_EQ(v.codes[0].rights, (Strings{"Igen", "Igen", "Igen", "Igen"}));
    EXPECT_EQ(v.codes[1].rights, (Strings{"Igen", "Nem", "Igen", "Nem"}));
    EXPECT_EQ(v.codes[2].code, "12    ");
    EXPECT_EQ(v.codes[2].rights, (Strings{"Nem", "Nem", "Nem", "Nem"}));
    EXPECT_EQ(v.codePanelText(), "3/6");

    ConfigImage image16 = newImage(DeviceModel::Line16);
    const std::string rights = "01234:9C";
    image16.setWord(1673, static_cast<std::uint16_t>(rights.size()));
    image16.set(1672, 3);
    for (std::size_t r = 0; r < rights.size(); ++r)
        putText(image16, 5120 + 3 * r, std::string("42") + rights[r]);
    v = decodeForEditors(image16, DeviceModel::Line16);
    const Strings letters{"T", "H", "B", "M", "N", "N", "N", "M"};
    ASSERT_EQ(v.codes.size(), letters.size());
    for (std::size_t r = 0; r < letters.size(); ++r) {
        EXPECT_EQ(v.codes[r].code, "42");
        EXPECT_EQ(v.codes[r].rights, Strings{letters[r]}) << r;
    }
    EXPECT_EQ(v.codePanelText(), "8/2");
}

TEST(EditorView, CodeCountAboveCapacityShowsOnlyTheRecordsThatFit) {
    ConfigImage image = newImage(DeviceModel::Line4);
    image.set(1670, 9);
    image.setWord(1671, 500);
    EditorView v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_EQ(v.codeCount, 500);
    EXPECT_EQ(v.codes.size(), 341u);
    EXPECT_EQ(v.codePanelText(), "341/8");

    image.setWord(1671, 0xFFFF);
    image.set(1670, 3);
    v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_EQ(v.codes.size(), 1024u);

    image.set(1670, 0); // no record fits at all
    v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_TRUE(v.codes.empty());
    EXPECT_EQ(v.codeDigits, 0);

    image.set(1670, 1); // records of the rights byte alone
    image.setWord(1671, 2);
    v = decodeForEditors(image, DeviceModel::Line4);
    ASSERT_EQ(v.codes.size(), 2u);
    EXPECT_EQ(v.codes[0].code, "");
    EXPECT_EQ(v.codePanelText(), "2/0");
}

TEST(EditorView, FreeNumbersSkipBlankEntriesAndKeepTheirOrder) {
    ConfigImage image = newImage(DeviceModel::Line4);
    putText(image, 1792 + 16 * 3, "123");
    putText(image, 1792 + 16 * 1, "0680123456789012");
    putText(image, 1792 + 16 * 207, "      9");
    EditorView v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_EQ(v.freeNumbers, (RawTexts{RawText("0680123456789012"), RawText("123             "),
                                       RawText("      9         ")}));

    ConfigImage image16 = newImage(DeviceModel::Line16);
    putText(image16, 2048, "1");
    putText(image16, 2048 + 16 * 191, "2");
    v = decodeForEditors(image16, DeviceModel::Line16);
    EXPECT_EQ(v.freeNumbers, (RawTexts{RawText("1               "), RawText("2               ")}));
}

TEST(EditorView, ReadingThroughTheOtherMapChangesNoByte) {
    for (DeviceModel made : {DeviceModel::Line4, DeviceModel::Line16}) {
        const ConfigImage image = newImage(made);
        const ConfigImage copy = image;
        const DeviceModel other =
            made == DeviceModel::Line4 ? DeviceModel::Line16 : DeviceModel::Line4;
        (void)decodeForEditors(image, other);
        (void)decodeForEditors(image, made);
        EXPECT_EQ(image, copy);
    }
    // A 16-line image shown through the 4-line map reads the 4-line offsets.
    const EditorView v = decodeForEditors(newImage(DeviceModel::Line16), DeviceModel::Line4);
    EXPECT_EQ(v.coPosition, 0x04); // 1656 is a 16-line LineSettings byte
    // CoWidth at 1657 reads 4; line 1 is InterdigitTime, LocalLength, NationalLength, CoPosition.
    EXPECT_EQ(v.lines[0].coNumber, (std::string{20, 6, 10, 23}));
}

} // namespace
} // namespace zx
