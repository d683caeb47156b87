#include "model/editor_store.h"

#include "model/new_configuration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zx {
namespace {

using Bytes = std::vector<Byte>;
constexpr auto L4 = DeviceModel::Line4;
constexpr auto L16 = DeviceModel::Line16;
const std::string RangeMessage = "Értéknek 0..255 között kell lenni !!!";

ConfigImage newImage(DeviceModel m) {
    DatabaseRecord r;
    applyNewConfiguration(r, m);
    return r.image;
}

Bytes bytesAt(const ConfigImage& image, std::size_t offset, std::size_t count) {
    Bytes out;
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(image.at(offset + i));
    return out;
}

// The bytes an accepted store leaves in a new configuration of the model.
ConfigImage stored(DeviceModel m, const Checked<ImagePatch>& result) {
    ConfigImage image = newImage(m);
    EXPECT_TRUE(result.ok()) << result.message();
    if (result) result->applyTo(image);
    return image;
}

void expectRefused(const Checked<ImagePatch>& result, const std::string& message,
                   const std::string& input) {
    EXPECT_FALSE(result.ok()) << '"' << input << '"';
    EXPECT_EQ(result.message(), message) << '"' << input << '"';
}

TEST(WholeNumber, TheEditorsReadingRule) {
    const std::pair<const char*, long long> accepted[] = {
        {"0", 0},  {"255", 255}, {" 20", 20}, {"  +7", 7},   {"-1", -1},
        {"-0", 0}, {"007", 7},   {"\t5", 5},  {"1000", 1000}};
    for (const auto& [text, value] : accepted)
        EXPECT_EQ(readWholeNumber(text), value) << '"' << text << '"';
    for (const char* text :
         {"", " ", "+", "-", "20 ", "2 0", "x1", "1x", "0x10", "1.5", "--1", "+-1", "- 1", "１"})
        EXPECT_FALSE(readWholeNumber(text)) << '"' << text << '"';
    // Far too many digits stay a number, and far out of every range.
    EXPECT_GT(*readWholeNumber("99999999999999999999999999"), 255);
    EXPECT_LT(*readWholeNumber("-99999999999999999999999999"), 0);
}

TEST(ByteRangeCheck, LimitsBlanksAndRefusals) {
    EXPECT_EQ(*checkByteRange("255"), 255);
    EXPECT_EQ(*checkByteRange("0"), 0);
    EXPECT_EQ(*checkByteRange(" 20 "), 20);
    EXPECT_EQ(*checkByteRange("\t9\t"), 9);
    for (const char* text : {"256", "-1", "", "   ", "abc", "2 0", "1e2", "99999999999999999999"}) {
        const Checked<Byte> r = checkByteRange(text);
        EXPECT_FALSE(r.ok()) << '"' << text << '"';
        EXPECT_EQ(r.message(), RangeMessage) << '"' << text << '"';
    }
}

TEST(ByteRangeCheck, StoresAtTheFieldOfTheCurrentModel) {
    EXPECT_EQ(stored(L4, storeByteRange(L4, Field::CoPosition, "255")).at(1656), 255);
    EXPECT_EQ(stored(L16, storeByteRange(L16, Field::CoPosition, "255")).at(1683), 255);
    EXPECT_EQ(stored(L4, storeByteRange(L4, Field::NationalLength, " 20 ")).at(1677), 20);
    EXPECT_EQ(stored(L16, storeByteRange(L16, Field::CoTimeout2, "0")).at(1671), 0);

    const Checked<ImagePatch> one = storeByteRange(L4, Field::SeizeTime, "7");
    ASSERT_TRUE(one.ok());
    EXPECT_EQ(one->writes(), (std::vector<ImagePatch::Write>{{1674, 7}}));

    for (const char* text : {"256", "-1", ""})
        expectRefused(storeByteRange(L4, Field::SeizeTime, text), RangeMessage, text);

    // A field the model lacks, or one the check does not serve, is never written.
    EXPECT_TRUE(storeByteRange(L16, Field::LoopPulseDelta, "5")->empty());
    EXPECT_TRUE(storeByteRange(L4, Field::CoTimeout2, "5")->empty());
    EXPECT_TRUE(storeByteRange(L4, Field::CodeLength, "5")->empty());
    EXPECT_TRUE(storeByteRange(L4, Field::CodeTable, "5")->empty());
    // ... but a bad text is still refused, whatever the field.
    expectRefused(storeByteRange(L16, Field::LoopPulseDelta, "x"), RangeMessage, "x");
}

TEST(SpeedAndParity, BothModels) {
    // Items: speed 3 is 2400 in the 4-line list, 2 in the 16-line list; parity 1 "Páros".
    EXPECT_EQ(stored(L4, storeSpeedAndParity(L4, 3, 1)).at(1659), 25);
    EXPECT_EQ(stored(L16, storeSpeedAndParity(L16, 2, 1)).at(1675), 67);
    EXPECT_EQ(stored(L4, storeSpeedAndParity(L4, 1, 0)).at(1659), 8);
    EXPECT_EQ(stored(L16, storeSpeedAndParity(L16, 0, 0)).at(1675), 49);
    EXPECT_EQ(stored(L4, storeSpeedAndParity(L4, 6, 2)).at(1659), 48); // "Páratlan" as "Nincs"
    EXPECT_EQ(stored(L16, storeSpeedAndParity(L16, 5, 2)).at(1675), 'F');
    EXPECT_EQ(stored(L4, storeSpeedAndParity(L4, 0, 1)).at(1659), 1);

    // Choice groups without a selection, or a speed only the other model lists, store nothing.
    for (const auto& [speed, parity] : {std::pair{-1, 0}, {0, -1}, {0, 3}})
        EXPECT_TRUE(storeSpeedAndParity(L4, speed, parity)->empty()) << speed << ' ' << parity;
    EXPECT_TRUE(storeSpeedAndParity(L16, 6, 0)->empty());
    EXPECT_TRUE(storeSpeedAndParity(L4, 7, 0)->empty());
}

TEST(SpeedAndParity, EveryChoiceComesBackFromTheRefill) {
    for (const DeviceModel m : {L4, L16}) {
        for (int s = 0; s < static_cast<int>(speedItems(m).size()); ++s) {
            for (int p = 0; p < 3; ++p) {
                const EditorView v = decodeForEditors(stored(m, storeSpeedAndParity(m, s, p)), m);
                EXPECT_EQ(v.speedItem, s) << modelIndex(m) << ' ' << s << ' ' << p;
                // "Páratlan" is stored as no parity in the 4-line unit, as parity in the 16-line.
                const int shownParity = p == 2 ? (m == L4 ? 0 : 1) : p;
                EXPECT_EQ(v.parityItem, shownParity) << modelIndex(m) << ' ' << s << ' ' << p;
            }
        }
    }
}

TEST(Mode, BothModels) {
    EXPECT_EQ(stored(L4, storeMode(L4, 1, 1)).at(1661), 17);   // "Saját", "Átenged"
    EXPECT_EQ(stored(L16, storeMode(L16, 2, 1)).at(1677), 18); // "Saját", "Átenged"
    EXPECT_EQ(stored(L16, storeMode(L16, 0, 0)).at(1677), 0);  // "Kaszkád", "Lenyel"
    EXPECT_TRUE(storeMode(L4, 2, 0)->empty());
    EXPECT_TRUE(storeMode(L16, 1, 2)->empty());
    EXPECT_TRUE(storeMode(L16, -1, 0)->empty());

    for (const DeviceModel m : {L4, L16})
        for (int mode = 0; mode < static_cast<int>(modeItems(m).size()); ++mode)
            for (int t = 0; t < 2; ++t) {
                const EditorView v = decodeForEditors(stored(m, storeMode(m, mode, t)), m);
                EXPECT_EQ(v.modeItem, mode);
                EXPECT_EQ(v.twentyHexItem, t);
            }
}

TEST(CoWidth, ItemsAndNoSelection) {
    for (int item = 0; item < 4; ++item) {
        EXPECT_EQ(stored(L4, storeCoWidth(L4, item)).at(1657), item + 1);
        EXPECT_EQ(stored(L16, storeCoWidth(L16, item)).at(1684), item + 1);
    }
    for (const int item : {-1, 4})
        expectRefused(storeCoWidth(L4, item), "Válasszon egy értéket 1..4 között !!!",
                      std::to_string(item));
}

TEST(RecordTerminator, WholeNumbersUpTo255) {
    EXPECT_EQ(stored(L4, storeRecordTerminator(L4, "255")).at(1660), 255);
    EXPECT_EQ(stored(L16, storeRecordTerminator(L16, " 10")).at(1676), 10);
    EXPECT_EQ(stored(L4, storeRecordTerminator(L4, "0")).at(1660), 0);
    // Trailing blanks are not removed here; 256 up would not fit the byte.
    for (const char* text : {"13 ", "-1", "256", "999", "", "x"})
        expectRefused(storeRecordTerminator(L4, text), "Hibás érték !!!", text);
}

TEST(NumberTerminator, TwelveKeysAndNothingElse) {
    EXPECT_EQ(stored(L16, storeNumberTerminator(L16, RawText("#"))).at(1686), 35);
    for (const char* key : {" ", "*", "0", "9", "#1"})
        EXPECT_EQ(stored(L16, storeNumberTerminator(L16, RawText(key))).at(1686), key[0]) << key;
    for (const char* text : {"", "a", "+", "\xE1", "x#"})
        expectRefused(storeNumberTerminator(L16, RawText(text)), "Csak 0..9,*,# lehet !!!", text);
    // The 4-line unit has no such key.
    EXPECT_TRUE(storeNumberTerminator(L4, RawText("#"))->empty());
}

TEST(CoNumber, StoredWidthDecidesWhatIsWritten) {
    ConfigImage image = newImage(L4); // CoWidth 2
    ASSERT_EQ(image.at(1657), 2);
    Checked<ImagePatch> r = storeCoNumber(image, L4, 3, RawText("123"));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->writes(), (std::vector<ImagePatch::Write>{{1684, '1'}, {1685, '2'}}));
    r->applyTo(image);
    EXPECT_EQ(bytesAt(image, 1680, 8), (Bytes{'0', '1', '0', '2', '1', '2', '0', '4'}));
    storeCoNumber(image, L4, 3, RawText("7"))->applyTo(image);
    EXPECT_EQ(bytesAt(image, 1684, 2), (Bytes{'7', ' '}));

    // A width no editor stores still keeps every line inside its four characters.
    image.set(1657, 200);
    storeCoNumber(image, L4, 4, RawText("ABCDEFG"))->applyTo(image);
    EXPECT_EQ(bytesAt(image, 1692, 4), (Bytes{'A', 'B', 'C', 'D'}));
    EXPECT_EQ(image.at(1696), 0x21); // the barred list after the field

    image.set(1657, 0);
    EXPECT_TRUE(storeCoNumber(image, L4, 1, RawText("1"))->empty());
    image.set(1657, 2);
    EXPECT_TRUE(storeCoNumber(image, L4, 0, RawText("1"))->empty());
    EXPECT_TRUE(storeCoNumber(image, L4, 5, RawText("1"))->empty());

    ConfigImage image16 = newImage(L16);
    image16.set(1684, 4);
    storeCoNumber(image16, L16, 16,
                  RawText("\xE1"
                          "12"))
        ->applyTo(image16);
    EXPECT_EQ(bytesAt(image16, 1756, 4), (Bytes{0xE1, '1', '2', ' '}));
}

std::vector<LineRowView> rows(const ConfigImage& image, DeviceModel m) {
    return decodeForEditors(image, m).lines;
}

TEST(LineSettings, SixteenLineRebuildsEveryRow) {
    ConfigImage image = newImage(L16);
    for (std::size_t n = 0; n < 16; ++n)
        image.set(1648 + n, static_cast<Byte>(0xE0 | n)); // bits 5..7 set, no editor stores them
    std::vector<LineRowView> shown = rows(image, L16);
    shown[4].callIn = true;
    const Checked<ImagePatch> r = storeLineSettings(image, L16, {LineControl::CallIn, 5}, shown);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->writes().size(), 16u);
    r->applyTo(image);
    for (std::size_t n = 0; n < 16; ++n) {
        const Byte expected = static_cast<Byte>(n | (n == 4 ? 0x10 : 0));
        EXPECT_EQ(image.at(1648 + n), expected) << n;
    }
    EXPECT_EQ(image.at(1664), 10); // the timer after the field

    // Each control of a row owns its bit.
    LineRowView row;
    row.dialItem = 1;
    row.seizureItem = 0;
    row.timerItem = 1;
    row.subLine = true;
    std::vector<LineRowView> one(16, LineRowView{RawText(), 0, 1, 0, false, false});
    one[0] = row;
    storeLineSettings(image, L16, {LineControl::Dial, 1}, one)->applyTo(image);
    EXPECT_EQ(image.at(1648), 0x0B);
    EXPECT_EQ(image.at(1649), 0x04);
}

TEST(LineSettings, FourLineStoresOnlyTheControlLeft) {
    ConfigImage image = newImage(L4); // 00 02 01
    std::vector<LineRowView> shown = rows(image, L4);

    shown[0].seizureItem = 0; // "Tárcsázáskor"
    EXPECT_EQ(stored(L4, storeLineSettings(image, L4, {LineControl::Seizure, 1}, shown)).at(1668),
              2);
    shown[0].seizureItem = 1; // "Azonnal"
    EXPECT_EQ(stored(L4, storeLineSettings(image, L4, {LineControl::Seizure, 1}, shown)).at(1668),
              1);
    for (int item = 0; item < 3; ++item) {
        shown[0].dialItem = item;
        EXPECT_EQ(stored(L4, storeLineSettings(image, L4, {LineControl::Dial, 1}, shown)).at(1667),
                  item + 1);
    }

    image.set(1666, 0x5A);
    shown = rows(image, L4);
    shown[2].subLine = !shown[2].subLine; // CBalv03: bit 2
    shown[3].callIn = !shown[3].callIn;   // CBbeh04: bit 7
    shown[0].dialItem = 0;                // changed, but its control was not left
    ConfigImage after = image;
    storeLineSettings(after, L4, {LineControl::SubLine, 3}, shown)->applyTo(after);
    EXPECT_EQ(after.at(1666), 0x5E);
    storeLineSettings(after, L4, {LineControl::CallIn, 4}, shown)->applyTo(after);
    EXPECT_EQ(after.at(1666), 0xDE);
    EXPECT_EQ(bytesAt(after, 1667, 2), (Bytes{2, 1}));

    // Controls that the 4-line rows do not have, and lines it does not have.
    for (const LineControlId id : {LineControlId{LineControl::TimerSet, 1},
                                   {LineControl::Dial, 2},
                                   {LineControl::Seizure, 3},
                                   {LineControl::CallIn, 5},
                                   {LineControl::SubLine, 0}})
        EXPECT_TRUE(storeLineSettings(image, L4, id, shown)->empty())
            << static_cast<int>(id.control) << ' ' << id.line;
    std::vector<LineRowView> unselected = shown;
    unselected[0].dialItem = -1;
    EXPECT_TRUE(storeLineSettings(image, L4, {LineControl::Dial, 1}, unselected)->empty());
}

TEST(PinAndSummerTime, BothFieldsEveryTime) {
    ConfigImage image = newImage(L4);
    image.set(1409, 0xFF);
    image.set(1410, 0xFE);
    storePinAndSummerTime(L4, true, false)->applyTo(image);
    EXPECT_EQ(bytesAt(image, 1409, 2), (Bytes{0, 1}));
    storePinAndSummerTime(L4, false, true)->applyTo(image);
    EXPECT_EQ(bytesAt(image, 1409, 2), (Bytes{1, 0}));
    // A store that repeats the image changes nothing, so it does not mark the document.
    EXPECT_EQ(storePinAndSummerTime(L4, false, true)->applyTo(image), 0);
    EXPECT_TRUE(storePinAndSummerTime(L16, true, true)->empty());
}

} // namespace
} // namespace zx
