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
    EXPECT_FALSE(zx::writeFreeNumbers(
        image, c.model, {zx::RawText("123"), zx::RawText("0630123456789012"), zx::RawText("")}));

    EXPECT_EQ(entryAt(image, c.start), "123             ");
    EXPECT_EQ(entryAt(image, c.start + 16), "0630123456789012");
    EXPECT_EQ(entryAt(image, c.start + 32), std::string(16, ' '));
    for (std::size_t o = c.start + 48; o < zx::CodeTableStart; ++o)
        ASSERT_EQ(image.at(o), ' ') << o;
    // The bytes around the table are untouched.
    EXPECT_EQ(image.at(c.start - 1), 'x');
    EXPECT_EQ(image.at(zx::CodeTableStart), 'x');
}

// A full table is written to its last entry; one entry more, or a number longer than an entry,
// is refused and nothing is written: never into the code table, never a number cut.
TEST_P(FreeNumberWriter, WhatDoesNotFitIsRefusedNotCut) {
    const ModelCase& c = GetParam();
    const auto full = static_cast<std::size_t>(c.capacity);
    const std::pair<std::size_t, const char*> cases[] = {
        {full, "5551234"}, {full + 1, "5551234"}, {1, "06301234567890123"}};
    for (const auto& [count, number] : cases) {
        zx::ConfigImage image;
        image.fill('c');
        const auto refused =
            zx::writeFreeNumbers(image, c.model, std::vector(count, zx::RawText(number)));
        EXPECT_EQ(refused.has_value(), count != full) << count;
        EXPECT_EQ(entryAt(image, c.start + 16 * (full - 1)),
                  refused ? std::string(16, 'c') : "5551234         ");
        for (std::size_t o = zx::CodeTableStart; o < zx::ImageSize; ++o)
            ASSERT_EQ(image.at(o), 'c') << o;
    }
}

INSTANTIATE_TEST_SUITE_P(Models, FreeNumberWriter,
                         ::testing::Values(ModelCase{DeviceModel::Line4, 1792, 208},
                                           ModelCase{DeviceModel::Line16, 2048, 192}));

TEST(FreeNumberWriterTrim, EveryEntryIsStoredWithoutBlanksAtEitherEnd) {
    const struct {
        const char* entry;
        const char* stored;
    } cases[] = {
        {"  123 45\t", "123 45          "},
        {"\r\n777\n", "777             "},
        {" 0 6 1 ", "0 6 1           "},
        {"   ", "                "},
        // Trimmed first: the leading blanks do not count against the entry's 16 characters.
        {"    0630123456789012", "0630123456789012"},
        // 0xE1 is a Windows-1250 letter, not a control character.
        {"\xE1"
         "12\xE1 ",
         "\xE1"
         "12\xE1"
         "            "},
    };
    for (const auto& c : cases) {
        for (const DeviceModel m : {DeviceModel::Line4, DeviceModel::Line16}) {
            zx::ConfigImage image;
            EXPECT_FALSE(zx::writeFreeNumbers(image, m, {zx::RawText("x"), zx::RawText(c.entry)}));
            const std::size_t second = (m == DeviceModel::Line4 ? 1792 : 2048) + 16;
            EXPECT_EQ(entryAt(image, second), c.stored) << c.entry;
            // The patch the window applies is the same store.
            EXPECT_EQ(
                zx::freeNumbersPatch(m, {zx::RawText("x"), zx::RawText(c.entry)})->applyTo(image),
                0)
                << c.entry;
        }
    }
}

} // namespace
