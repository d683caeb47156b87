#include "model/editor_store.h"

#include "model/new_configuration.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

#include <string>
#include <vector>

namespace zx {
namespace {

using namespace fixtures;

// The byte at `offset` after an accepted store into a new configuration of the model.
int storedAt(DeviceModel m, const Checked<ImagePatch>& result, std::size_t offset) {
    ConfigImage image = newImage(m);
    EXPECT_TRUE(result.ok()) << result.message();
    if (result) result->applyTo(image);
    return image.at(offset);
}

void expectRefused(const Checked<ImagePatch>& result, const std::string& message,
                   const std::string& input) {
    EXPECT_EQ(result.message(), message) << '"' << input << '"';
}

TEST(ByteRangeCheck, WholeNumbersFrom0To255) {
    EXPECT_EQ(readWholeNumber("  -7"), -7);
    EXPECT_EQ(readWholeNumber("+007"), 7);
    EXPECT_GT(*readWholeNumber("99999999999999999999999"), 255); // saturates, stays too large
    for (const char* text : {"", "+", "20 ", "2 0", "x1", "0x10", "--1"})
        EXPECT_FALSE(readWholeNumber(text)) << '"' << text << '"';

    EXPECT_EQ(storedAt(L4, storeByteRange(L4, Field::CoPosition, "255"), 1656), 255);
    EXPECT_EQ(storedAt(L16, storeByteRange(L16, Field::CoPosition, " 20 "), 1683), 20);
    EXPECT_EQ(storedAt(L16, storeByteRange(L16, Field::CoTimeout2, "\t0\t"), 1671), 0);
    for (const char* text : {"256", "-1", "", "abc", "2 0", "99999999999999999999"})
        expectRefused(storeByteRange(L4, Field::SeizeTime, text), RangeMessage, text);
    // A field the model lacks, or one the check does not serve, is never written.
    EXPECT_TRUE(storeByteRange(L16, Field::LoopPulseDelta, "5")->empty());
    EXPECT_TRUE(storeByteRange(L4, Field::CodeTable, "5")->empty());
}

TEST(SpeedParityAndMode, BothModels) {
    EXPECT_EQ(storedAt(L4, storeSpeedAndParity(L4, 3, 1), 1659), 25); // 2400 "Páros"
    EXPECT_EQ(storedAt(L16, storeSpeedAndParity(L16, 2, 1), 1675), 67);
    EXPECT_EQ(storedAt(L4, storeSpeedAndParity(L4, 1, 0), 1659), 8); // 9600 "Nincs"
    EXPECT_EQ(storedAt(L16, storeSpeedAndParity(L16, 0, 0), 1675), 49);
    EXPECT_EQ(storedAt(L16, storeSpeedAndParity(L16, 5, 1), 1675), 'F');
    // No selection, a parity no model holds, or a speed only the other model lists, stores
    // nothing.
    EXPECT_TRUE(storeSpeedAndParity(L4, -1, 0)->empty());
    EXPECT_TRUE(storeSpeedAndParity(L4, 6, 2)->empty());
    EXPECT_TRUE(storeSpeedAndParity(L16, 6, 0)->empty());

    EXPECT_EQ(storedAt(L4, storeMode(L4, 1, 1), 1661), 17); // "Saját", "Átenged"
    EXPECT_EQ(storedAt(L16, storeMode(L16, 2, 1), 1677), 18);
    EXPECT_TRUE(storeMode(L4, 2, 0)->empty());
}

TEST(CoWidthAndTerminators, ChecksAndMessages) {
    EXPECT_EQ(storedAt(L16, storeCoWidth(L16, 3), 1684), 4);
    expectRefused(storeCoWidth(L4, -1), "Válasszon egy értéket 1..4 között !!!", "-1");

    EXPECT_EQ(storedAt(L4, storeRecordTerminator(L4, "255"), 1660), 255);
    EXPECT_EQ(storedAt(L16, storeRecordTerminator(L16, " 10"), 1676), 10);
    // Trailing blanks are not removed here; 256 up would not fit the byte.
    for (const char* text : {"13 ", "-1", "256", "999", ""})
        expectRefused(storeRecordTerminator(L4, text), "Hibás érték !!!", text);

    EXPECT_EQ(storedAt(L16, storeNumberTerminator(L16, RawText("#")), 1686), 35);
    EXPECT_EQ(storedAt(L16, storeNumberTerminator(L16, RawText(" ")), 1686), ' ');
    for (const char* text : {"", "a", "+", "\xE1"})
        expectRefused(storeNumberTerminator(L16, RawText(text)), "Csak 0..9,*,# lehet !!!", text);
    EXPECT_TRUE(storeNumberTerminator(L4, RawText("#"))->empty());
}

TEST(CoNumber, StoredWidthDecidesWhatIsWrittenAndWhatDoesNotFitIsRefused) {
    ConfigImage image = newImage(L4); // CoWidth 2
    storeCoNumber(image, L4, 3, RawText("7"))->applyTo(image);
    EXPECT_EQ(Bytes(&image.bytes()[1684], &image.bytes()[1686]), (Bytes{'7', ' '}));
    // Blanks after a number only pad it.
    EXPECT_EQ(storeCoNumber(image, L4, 3, RawText("12  "))->writes(),
              (std::vector<ImagePatch::Write>{{1684, '1'}, {1685, '2'}}));
    EXPECT_EQ(storeCoNumber(image, L4, 3, RawText("123")).message(),
              "CO szám: „123” nem tárolható, legfeljebb 2 karakter lehet !!!");

    // A width no editor stores still keeps every line inside its four characters.
    image.set(1657, 200);
    storeCoNumber(image, L4, 4, RawText("ABCD"))->applyTo(image);
    EXPECT_EQ(Bytes(&image.bytes()[1692], &image.bytes()[1697]), (Bytes{'A', 'B', 'C', 'D', 0x21}));
    EXPECT_FALSE(storeCoNumber(image, L4, 4, RawText("ABCDE")));
    image.set(1657, 0);
    EXPECT_TRUE(storeCoNumber(image, L4, 1, RawText("1"))->empty());
    image.set(1657, 2);
    EXPECT_TRUE(storeCoNumber(image, L4, 5, RawText("1"))->empty());
}

TEST(LineSettings, SixteenLineRebuildsEveryRow) {
    ConfigImage image = newImage(L16);
    for (std::size_t n = 0; n < 16; ++n)
        image.set(1648 + n, static_cast<Byte>(0xE0 | n)); // bits 5..7 set, no editor stores them
    std::vector<LineRowView> rows = decodeForEditors(image, L16).lines;
    rows[4].callIn = true;
    const Checked<ImagePatch> r = storeLineSettings(image, L16, {LineControl::CallIn, 5}, rows);
    EXPECT_EQ(r->writes().size(), 16u);
    r->applyTo(image);
    for (std::size_t n = 0; n < 16; ++n)
        EXPECT_EQ(image.at(1648 + n), static_cast<Byte>(n | (n == 4 ? 0x10 : 0))) << n;
}

TEST(LineSettings, FourLineStoresOnlyTheControlLeft) {
    ConfigImage image = newImage(L4); // 00 02 01
    std::vector<LineRowView> rows = decodeForEditors(image, L4).lines;
    rows[0].seizureItem = 0; // "Tárcsázáskor"
    EXPECT_EQ(storedAt(L4, storeLineSettings(image, L4, {LineControl::Seizure, 1}, rows), 1668), 2);
    rows[0].seizureItem = 1; // "Azonnal"
    EXPECT_EQ(storedAt(L4, storeLineSettings(image, L4, {LineControl::Seizure, 1}, rows), 1668), 1);
    rows[0].dialItem = 2; // "DTMF gyors"
    EXPECT_EQ(storedAt(L4, storeLineSettings(image, L4, {LineControl::Dial, 1}, rows), 1667), 3);

    image.set(1666, 0x5A);
    rows = decodeForEditors(image, L4).lines;
    rows[2].subLine = true; // CBalv03: bit 2
    rows[3].callIn = true;  // CBbeh04: bit 7
    rows[0].dialItem = 0;   // changed, but its control was not left
    storeLineSettings(image, L4, {LineControl::SubLine, 3}, rows)->applyTo(image);
    storeLineSettings(image, L4, {LineControl::CallIn, 4}, rows)->applyTo(image);
    EXPECT_EQ(Bytes(&image.bytes()[1666], &image.bytes()[1669]), (Bytes{0xDE, 2, 1}));
    // Controls the 4-line rows do not have.
    for (const LineControlId id : {LineControlId{LineControl::TimerSet, 1},
                                   {LineControl::Dial, 2},
                                   {LineControl::CallIn, 5}})
        EXPECT_TRUE(storeLineSettings(image, L4, id, rows)->empty()) << id.line;
}

TEST(PinAndSummerTime, BothFieldsEveryTime) {
    ConfigImage image = newImage(L4);
    image.set(1409, 0xFF);
    storePinAndSummerTime(L4, true, false)->applyTo(image);
    EXPECT_EQ(Bytes(&image.bytes()[1409], &image.bytes()[1411]), (Bytes{0, 1}));
    // Repeating the image changes nothing, so the document is not marked.
    EXPECT_EQ(storePinAndSummerTime(L4, true, false)->applyTo(image), 0);
    EXPECT_TRUE(storePinAndSummerTime(L16, true, true)->empty());
}

} // namespace
} // namespace zx
