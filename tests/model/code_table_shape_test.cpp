#include "model/code_table_shape.h"

#include "model/code_table.h"
#include "model/new_configuration.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

namespace zx {
namespace {

using fixtures::codeTableImage;
using fixtures::L16;
using fixtures::L4;
using fixtures::newImage;

TEST(CodeTableShape, EverySizeWithinTheLimitsSurvivesAStoreAndARead) {
    for (DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        const MemoryMap& map = MemoryMap::of(model);
        for (int digits = MinCodeDigits; digits <= MaxCodeDigits; ++digits) {
            for (int count : {0, 1, 255, 256, codeCountLimit(digits)}) {
                const CodeTableShape size = withinLimits({count, digits});
                ConfigImage image = codeTableImage(model, 7);
                const ConfigImage before = image;
                codeTableShapePatch(map, size).applyTo(image);
                EXPECT_EQ(storedCodeTableShape(image, map), size) << digits << "/" << count;
                // Only the count and length bytes change; the code records stay.
                int changed = 0;
                for (std::size_t i = 0; i < ImageSize; ++i)
                    changed += image.at(i) != before.at(i);
                EXPECT_LE(changed, 3);
            }
        }
    }
}

TEST(CodeTableShape, TheStoredCountIsLittleEndianAndTheLengthOneAboveTheDigits) {
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line4);
    ConfigImage image = codeTableImage(DeviceModel::Line4, 7);
    codeTableShapePatch(map, {614, 4}).applyTo(image);
    EXPECT_EQ(image.at(*map.offset(Field::CodeCount)), 0x66);
    EXPECT_EQ(image.at(*map.offset(Field::CodeCount) + 1), 0x02);
    EXPECT_EQ(image.at(*map.offset(Field::CodeLength)), 5);
}

TEST(CodeTableShape, TheCodesTheTableHoldsAreShownWhateverTheCountSays) {
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line16);
    // A length no record can have holds no code (0); two-digit codes may go beyond the
    // preferences' limit of 10 (grown in the grid or imported).
    const struct {
        int length, count;
        CodeTableShape shown;
    } cases[] = {{5, 500, {500, 4}},
                 {5, 700, {614, 4}},
                 {0, 0xFFFF, {0, 2}},
                 {0xFF, 3, {3, 8}},
                 {3, 100, {100, 2}}};
    for (const auto& c : cases)
        EXPECT_EQ(
            storedCodeTableShape(codeTableImage(DeviceModel::Line16, c.length, {}, c.count), map),
            c.shown)
            << c.length << "/" << c.count;
}

TEST(CodeTableShape, ThePreferencesOfferEveryStoredCodeAndCountWhatALowerCountDrops) {
    const CodeTableShape hundredOfTwo{100, 2};
    EXPECT_EQ(offeredCountLimit(2, hundredOfTwo), 100);
    EXPECT_EQ(offeredCountLimit(3, hundredOfTwo), 100);
    EXPECT_EQ(offeredCountLimit(2, {5, 2}), 10);
    EXPECT_EQ(offeredCountLimit(8, {614, 4}), 341);
    EXPECT_EQ(codesDroppedBy(100, hundredOfTwo), 0);
    EXPECT_EQ(codesDroppedBy(150, hundredOfTwo), 0);
    EXPECT_EQ(codesDroppedBy(10, hundredOfTwo), 90);
    EXPECT_EQ(codesDroppedBy(0, hundredOfTwo), 100);

    // What the preferences store is what they show next time: every two-digit code kept.
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line4);
    ConfigImage image = codeTableImage(DeviceModel::Line4, 7);
    codeTableShapePatch(map, hundredOfTwo).applyTo(image);
    EXPECT_EQ(storedCodeTableShape(image, map), hundredOfTwo);
    // Never more records than the table holds for that many digits.
    codeTableShapePatch(map, {5000, 2}).applyTo(image);
    EXPECT_EQ(storedCodeTableShape(image, map), (CodeTableShape{1024, 2}));
}

std::vector<std::string> recordsOf(const ConfigImage& image, DeviceModel model) {
    const MemoryMap& map = MemoryMap::of(model);
    const std::size_t length = image.at(*map.offset(Field::CodeLength));
    const std::size_t start = *map.offset(Field::CodeTable);
    std::vector<std::string> out;
    for (std::size_t n = 0; n < image.word(*map.offset(Field::CodeCount)); ++n) {
        std::string record;
        for (std::size_t j = 0; j < length; ++j)
            record += static_cast<char>(image.at(start + n * length + j));
        out.push_back(record);
    }
    return out;
}

TEST(CodeTableShape, ANewSizeLaysTheStoredCodesOutAgainWithTheirRights) {
    struct Case {
        const char* what;
        DeviceModel model;
        int codeLength;
        std::vector<std::string> stored;
        CodeTableShape chosen;
        std::vector<std::string> expected;
        int shortened;
        int leftShort; // kept, not blank, fewer characters than the new digits
    };
    const DeviceModel four = DeviceModel::Line4;
    const DeviceModel sixteen = DeviceModel::Line16;
    const Case cases[] = {
        {"fewer digits keep the leading ones",
         four,
         7,
         {"123456?", "12    5", "1234  0", "      3", "0012 9@"},
         {5, 4},
         {"1234?", "12  5", "12340", "    3", "0012@"},
         2,
         1},
        {"sixteen lines, six digits to two",
         sixteen,
         7,
         {"4567894", "9243210", "8622223"},
         {3, 2},
         {"454", "920", "863"},
         3,
         0},
        {"more digits pad with spaces",
         four,
         5,
         {"1234?", "98  1"},
         {2, 6},
         {"1234  ?", "98    1"},
         0,
         2},
        {"more codes: the new ones are empty, without rights",
         sixteen,
         5,
         {"11112"},
         {3, 4},
         {"11112", "    0", "    0"},
         0,
         0},
        {"more codes and more digits", four, 3, {"12?"}, {2, 3}, {"12 ?", "   0"}, 0, 1},
        {"fewer codes count only the codes kept",
         four,
         7,
         {"1234567", "7654321", "1     8"},
         {1, 4},
         {"12347"},
         1,
         0},
        {"the same size writes the same bytes",
         sixteen,
         7,
         {"1234564", "65    1"},
         {2, 6},
         {"1234564", "65    1"},
         0,
         1},
        {"no codes", four, 7, {}, {0, 2}, {}, 0, 0},
    };
    for (const Case& c : cases) {
        const MemoryMap& map = MemoryMap::of(c.model);
        ConfigImage image = codeTableImage(c.model, c.codeLength, c.stored);
        EXPECT_EQ(codesShortenedBy(image, map, c.chosen), c.shortened) << c.what;
        EXPECT_EQ(codesLeftShortBy(image, map, c.chosen), c.leftShort) << c.what;
        const ConfigImage before = image;
        reshapedCodeTablePatch(image, map, c.chosen).applyTo(image);
        EXPECT_EQ(storedCodeTableShape(image, map), c.chosen) << c.what;
        EXPECT_EQ(recordsOf(image, c.model), c.expected) << c.what;
        // Past the new table no code of the old one stays.
        const std::size_t end = *map.offset(Field::CodeTable) +
                                static_cast<std::size_t>(c.chosen.count * (c.chosen.digits + 1));
        for (std::size_t i = end; i < ImageSize; ++i)
            ASSERT_EQ(image.at(i), ' ') << c.what << " at " << i;
        if (c.chosen == storedCodeTableShape(before, map)) {
            EXPECT_TRUE(image == before) << c.what;
        }
    }
}

// The CO numbers' width converts by the code length's rule beside it: what is shown is kept,
// cut or padded to the new width, and only the numbers that lose characters count.
TEST(CodeTableShape, ANewCoWidthLaysTheShownNumbersOutAgain) {
    struct Case {
        const char* what;
        DeviceModel model;
        int storedWidth;
        std::string stored; // CoNumbers from its start
        int width;
        std::string expected; // CoNumbers from its start afterwards
        int cut;
    };
    const Case cases[] = {
        {"wider pads with blanks, the rest of the field blank", L4, 2, "0102030405060708", 3,
         "01 02 03 04     ", 0},
        {"narrower cuts every two-digit number", L4, 2, "0102030405060708", 1, "0000            ",
         4},
        {"padding blanks are no loss", L4, 3, "1  23 4  5  xxxx", 1, "1245            ", 1},
        {"a leading blank is a character", L4, 2, " 1 2 3 4", 1, std::string(16, ' '), 4},
        {"sixteen lines, four to two", L16, 4, "123412  " + std::string(56, ' '), 2,
         "1212" + std::string(60, ' '), 1},
        {"the same width writes the same numbers", L16, 2, "01020304050607080910111213141516", 2,
         "01020304050607080910111213141516" + std::string(32, ' '), 0},
        {"a stored width past 4 reads four characters", L4, 200, "ABCDEFGHIJKLMNOP", 2,
         "ABEFIJMN        ", 4},
    };
    for (const Case& c : cases) {
        const MemoryMap& map = MemoryMap::of(c.model);
        ConfigImage image = newImage(c.model);
        const std::size_t start = *map.offset(Field::CoNumbers);
        image.set(*map.offset(Field::CoWidth), static_cast<Byte>(c.storedWidth));
        for (std::size_t i = 0; i < c.stored.size(); ++i)
            image.set(start + i, static_cast<Byte>(c.stored[i]));
        EXPECT_EQ(coNumbersCutBy(image, map, c.width).size(), static_cast<std::size_t>(c.cut))
            << c.what;
        coWidthPatch(image, map, c.width).applyTo(image);
        EXPECT_EQ(image.at(*map.offset(Field::CoWidth)), c.width) << c.what;
        std::string field;
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            field += static_cast<char>(image.at(start + i));
        EXPECT_EQ(field, c.expected) << c.what;
    }
    const ConfigImage image = newImage(L4);
    EXPECT_EQ(coNumbersCutBy(image, MemoryMap::of(L4), 1).front(),
              (CoNumberCut{1, RawText("01"), RawText("0")}));
    EXPECT_TRUE(coWidthPatch(image, MemoryMap::of(L4), 5).empty());
    EXPECT_EQ(coNumbersShorterQuestion(4), "4 CO szám rövidebb lesz. Folytatja?");
}

TEST(CodeTableShape, OnlyCodesThatAreNotBlankAreHeld) {
    for (DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        const MemoryMap& map = MemoryMap::of(model);
        EXPECT_EQ(codesHeld(codeTableImage(model, 5, {}), map), 0);
        EXPECT_EQ(codesHeld(codeTableImage(model, 5, {"    0", "    4"}), map), 0);
        EXPECT_EQ(codesHeld(codeTableImage(model, 5, {"    0", "1   0", "12344"}), map), 2);
        // Only the records CodeCount names and the table holds.
        ConfigImage image = codeTableImage(model, 5, {"12344", "43214"});
        image.setWord(*map.offset(Field::CodeCount), 1);
        EXPECT_EQ(codesHeld(image, map), 1);
        image.set(*map.offset(Field::CodeLength), 0);
        EXPECT_EQ(codesHeld(image, map), 0);
    }
}

} // namespace
} // namespace zx
