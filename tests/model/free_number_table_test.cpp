#include "model/free_number_table.h"
#include "model/memory_map.h"

#include <gtest/gtest.h>

namespace {

using zx::DeviceModel;

std::string entryAt(const zx::ConfigImage& image, std::size_t offset) {
    std::string s;
    for (std::size_t i = 0; i < 16; ++i)
        s.push_back(static_cast<char>(image.at(offset + i)));
    return s;
}

struct ModelCase {
    DeviceModel model;
    std::size_t start;
    int capacity;
};

class FreeNumberWriter : public ::testing::TestWithParam<ModelCase> {};

TEST_P(FreeNumberWriter, WritesEntriesPaddedAndBlanksTheRest) {
    const ModelCase& c = GetParam();
    zx::ConfigImage image;
    image.fill('x');
    zx::writeFreeNumbers(
        image, c.model, {zx::RawText("123"), zx::RawText("06301234567890123456"), zx::RawText("")});

    EXPECT_EQ(entryAt(image, c.start), "123             ");
    EXPECT_EQ(entryAt(image, c.start + 16), "0630123456789012"); // cut to 16
    EXPECT_EQ(entryAt(image, c.start + 32), std::string(16, ' '));
    for (std::size_t o = c.start + 48; o < zx::CodeTableStart; ++o)
        ASSERT_EQ(image.at(o), ' ') << o;
    // The bytes around the table are untouched.
    EXPECT_EQ(image.at(c.start - 1), 'x');
    EXPECT_EQ(image.at(zx::CodeTableStart), 'x');
}

TEST_P(FreeNumberWriter, NeverWritesPastItsCapacityIntoTheCodeTable) {
    const ModelCase& c = GetParam();
    zx::ConfigImage image;
    image.fill(zx::CodeTableStart, zx::CodeTableSize, 'c');
    std::vector<zx::RawText> entries(static_cast<std::size_t>(c.capacity) + 5,
                                     zx::RawText("5551234"));
    zx::writeFreeNumbers(image, c.model, entries);

    EXPECT_EQ(entryAt(image, c.start + 16 * static_cast<std::size_t>(c.capacity - 1)),
              "5551234         ");
    for (std::size_t o = zx::CodeTableStart; o < zx::ImageSize; ++o)
        ASSERT_EQ(image.at(o), 'c') << o;
}

INSTANTIATE_TEST_SUITE_P(Models, FreeNumberWriter,
                         ::testing::Values(ModelCase{DeviceModel::Line4, 1792, 208},
                                           ModelCase{DeviceModel::Line16, 2048, 192}));

TEST(FreeNumberWriterTrim, TrimmedEntriesLoseSpacesAndControlCharactersAtBothEnds) {
    zx::ConfigImage plain, trimmed;
    const std::vector<zx::RawText> entries = {zx::RawText("  123 45\t"), zx::RawText("\r\n777\n")};
    zx::writeFreeNumbers(plain, DeviceModel::Line4, entries);
    zx::writeFreeNumbers(trimmed, DeviceModel::Line4, entries, true);

    EXPECT_EQ(entryAt(plain, 1792), "  123 45\t       ");
    EXPECT_EQ(entryAt(trimmed, 1792), "123 45          ");
    EXPECT_EQ(entryAt(trimmed, 1808), "777             ");
}

TEST(FreeNumberWriterTrim, HighBytesOfTheCodePageAreKept) {
    zx::ConfigImage image;
    // 0xE1 is a Windows-1250 letter, not a control character.
    zx::writeFreeNumbers(image, DeviceModel::Line16,
                         {zx::RawText("\xE1"
                                      "12\xE1")},
                         true);
    EXPECT_EQ(entryAt(image, 2048), "\xE1"
                                    "12\xE1"
                                    "            ");
}

} // namespace
