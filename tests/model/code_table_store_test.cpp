// The store of the code grid into the code table, and the CodeCount changes of the grid.
#include "model/code_table_store.h"

#include "code_rows.h"
#include "model/code_table_shape.h"
#include "model/editor_view.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace zx {
namespace {

constexpr std::size_t Table = 5120;

struct Offsets {
    std::size_t length, count;
};
Offsets offsetsOf(DeviceModel m) {
    const MemoryMap& map = MemoryMap::of(m);
    return {*map.offset(Field::CodeLength), *map.offset(Field::CodeCount)};
}

ConfigImage imageWith(DeviceModel m, int codeLength, int codeCount) {
    ConfigImage image;
    image.fill(Table, CodeTableSize, ' ');
    image.set(offsetsOf(m).length, static_cast<Byte>(codeLength));
    image.setWord(offsetsOf(m).count, static_cast<std::uint16_t>(codeCount));
    return image;
}

std::string bytesAt(const ConfigImage& image, std::size_t offset, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s.push_back(static_cast<char>(image.at(offset + i)));
    return s;
}

ConfigImage stored(ConfigImage image, DeviceModel m, const std::vector<CodeRowView>& rows) {
    storeCodeGrid(image, m, rows).applyTo(image);
    return image;
}

using test::row;

TEST(CodeGridStore, FourLineRightsCharacters) {
    const ConfigImage image = stored(imageWith(DeviceModel::Line4, 7, 0), DeviceModel::Line4,
                                     {row("111111", {"Igen", "Nem", "Igen", "Nem"}),
                                      row("222222", {"Igen", "Igen", "Igen", "Igen"}),
                                      row("333333", {"Nem", "Nem", "Nem", "Nem"}),
                                      row("444444", {"", "igen", "x", "I"})});
    EXPECT_EQ(bytesAt(image, Table, 28), "1111115222222?3333330444444" + std::string("8"));
    EXPECT_EQ(image.word(offsetsOf(DeviceModel::Line4).count), 4);
}

TEST(CodeGridStore, SixteenLineEmptyOrForeignRightIsBarred) {
    const ConfigImage image =
        stored(imageWith(DeviceModel::Line16, 3, 0), DeviceModel::Line16,
               {row("11", {""}), row("22", {"Igen"}), row("33", {"M"}), row("44", {"Nem"})});
    EXPECT_EQ(bytesAt(image, Table, 12), "110220333444");
    // Shown again from the image, the barred rows read "T".
    const EditorView v = decodeForEditors(image, DeviceModel::Line16);
    ASSERT_EQ(v.codes.size(), 4u);
    EXPECT_EQ(v.codes[0].rights, std::vector<std::string>{"T"});
    EXPECT_EQ(v.codes[1].rights, std::vector<std::string>{"T"});
}

TEST(CodeGridStore, ShortCodesArePaddedOneDigitToo) {
    const ConfigImage image =
        stored(imageWith(DeviceModel::Line4, 7, 0), DeviceModel::Line4,
               {row("123", {"Nem", "Nem", "Nem", "Nem"}), row("5", {"Nem", "Nem", "Nem", "Nem"})});
    EXPECT_EQ(bytesAt(image, Table, 7), "123   0");
    EXPECT_EQ(bytesAt(image, Table + 7, 7), "5     0");
}

TEST(CodeGridStore, CountIsRaisedToTheRowsButNeverLowered) {
    const std::vector<CodeRowView> three(3, row("12", {"Igen", "Igen", "Igen", "Igen"}));
    ConfigImage image = stored(imageWith(DeviceModel::Line4, 3, 1), DeviceModel::Line4, three);
    EXPECT_EQ(image.word(1671), 3);

    // CodeCount above the rows: stays, and the records without a row keep their bytes.
    image = imageWith(DeviceModel::Line4, 3, 5);
    image.fill(Table, 15, 'x');
    image = stored(image, DeviceModel::Line4, three);
    EXPECT_EQ(image.word(1671), 5);
    EXPECT_EQ(bytesAt(image, Table, 15), "12?12?12?xxxxxx");
}

TEST(CodeGridStore, RecordsTakeTheCodeLengthInForce) {
    // The grid still holds six-digit codes; the length is now four digits.
    const ConfigImage image = stored(imageWith(DeviceModel::Line16, 5, 2), DeviceModel::Line16,
                                     {row("123456", {"H"}), row("654321", {"N"})});
    EXPECT_EQ(bytesAt(image, Table, 10), "1234165434");
    EXPECT_EQ(image.at(Table + 10), ' ');
}

TEST(CodeGridStore, NothingIsWrittenPastTheEndOfTheImage) {
    // A count from a file far beyond the table, and a grid longer than the table for the
    // length in force (1024 two-digit rows, now eight digits).
    for (const int storedCount : {60000, 0}) {
        const ConfigImage before = imageWith(DeviceModel::Line4, 9, storedCount);
        const std::vector<CodeRowView> rows(1024, row("12345678", {"Nem", "Nem", "Nem", "Nem"}));
        const ImagePatch patch = storeCodeGrid(before, DeviceModel::Line4, rows);
        for (const ImagePatch::Write& w : patch.writes())
            ASSERT_LT(w.offset, ImageSize);
        ConfigImage after = before;
        patch.applyTo(after);
        EXPECT_EQ(after.word(1671), 341) << storedCount;
        EXPECT_EQ(bytesAt(after, Table + 340 * 9, 9), "123456780");
        EXPECT_EQ(bytesAt(after, 8189, 3), "   ");
    }
}

TEST(CodeGridStore, WhatTheRefillShowsIsStoredBackUnchanged) {
    std::mt19937 random(7);
    for (const DeviceModel m : {DeviceModel::Line4, DeviceModel::Line16}) {
        for (int length = 3; length <= 9; ++length) {
            const int count = 1 + static_cast<int>(random() % 300);
            ConfigImage image = imageWith(m, length, count);
            for (int n = 0; n < count * length; ++n) {
                const bool rightsByte = n % length == length - 1;
                const int range = rightsByte ? (m == DeviceModel::Line4 ? 16 : 5) : 10;
                image.set(Table + static_cast<std::size_t>(n),
                          static_cast<Byte>('0' + random() % static_cast<unsigned>(range)));
            }
            const EditorView v = decodeForEditors(image, m);
            const ImagePatch patch = storeCodeGrid(image, m, v.codes);
            EXPECT_FALSE(patch.empty());
            ConfigImage after = image;
            EXPECT_EQ(patch.applyTo(after), 0) << int(m) << " " << length;
        }
    }
}

TEST(CodeGridGrowth, DownArrowReachesTheFullCapacity) {
    int rows = 1;
    while (mayGrowCodeRows(rows, 7))
        ++rows;
    EXPECT_EQ(rows, 438);
    EXPECT_TRUE(mayGrowCodeRows(1023, 3));
    EXPECT_FALSE(mayGrowCodeRows(1024, 3));
    EXPECT_FALSE(mayGrowCodeRows(1, 0));

    ConfigImage image = imageWith(DeviceModel::Line16, 7, 437);
    codeCountPatch(image, DeviceModel::Line16, 438).applyTo(image);
    EXPECT_EQ(image.word(offsetsOf(DeviceModel::Line16).count), 438);
    EXPECT_EQ(codeCountPanelText(25, 7), "25/6");
}

TEST(CodeGridGrowth, DroppingTheLastRowLowersTheCount) {
    EXPECT_FALSE(mayDropLastCodeRow(1));
    EXPECT_TRUE(mayDropLastCodeRow(2));

    ConfigImage image = imageWith(DeviceModel::Line4, 7, 5);
    droppedRowPatch(image, DeviceModel::Line4, 4).applyTo(image);
    EXPECT_EQ(image.word(1671), 4);
    // The refill shows four rows, and a store of those four rows keeps the count at four.
    const EditorView v = decodeForEditors(image, DeviceModel::Line4);
    EXPECT_EQ(v.codes.size(), 4u);
    storeCodeGrid(image, DeviceModel::Line4, v.codes).applyTo(image);
    EXPECT_EQ(image.word(1671), 4);

    // A count beyond the table comes down to the rows left.
    image = imageWith(DeviceModel::Line4, 9, 60000);
    droppedRowPatch(image, DeviceModel::Line4, 340).applyTo(image);
    EXPECT_EQ(image.word(1671), 340);
}

TEST(CodeGridGrowth, TheRefillNotesACountThatDoesNotFit) {
    EXPECT_FALSE(codeCountOverflowNote(341, 9));
    EXPECT_FALSE(codeCountOverflowNote(0, 0));
    const std::optional<std::string> note = codeCountOverflowNote(60000, 9);
    ASSERT_TRUE(note);
    EXPECT_NE(note->find("60000"), std::string::npos);
    EXPECT_NE(note->find("341"), std::string::npos);
}

// A new configuration whose whole table holds codes, `counted` of them counted: the rest are
// codes removed earlier (or by another program) that still stand there.
ConfigImage tableFullOfCodes(DeviceModel m, int counted) {
    DatabaseRecord record;
    applyNewConfiguration(record, m);
    ConfigImage image = record.image;
    image.set(offsetsOf(m).length, 7);
    image.setWord(offsetsOf(m).count, static_cast<std::uint16_t>(counted));
    for (std::size_t at = Table; at + 7 <= ImageSize; at += 7)
        for (std::size_t j = 0; j < 7; ++j)
            image.set(at + j, static_cast<Byte>(j < 6 ? '1' + j : '?'));
    return image;
}

// Every change of the table or of its count leaves nothing of a removed code: the bytes after
// the last record (CodeCount records of CodeLength bytes) are blank as in a new configuration,
// and nothing before the table changes but the count and length. An image read as the model
// whose layout it does not fit keeps every byte past the records.
TEST(CodeTableTail, EveryChangeOfTheTableBlanksTheBytesPastTheLastRecord) {
    struct Change {
        const char* name;
        std::function<ImagePatch(const ConfigImage&, DeviceModel)> patch;
        int records; // CodeCount * CodeLength afterwards, in bytes
    };
    const std::vector<CodeRowView> rows(40, row("654321", {"Igen", "Nem", "Igen", "Nem"}));
    const Change changes[] = {
        {"grid store",
         [&](const ConfigImage& i, DeviceModel m) { return storeCodeGrid(i, m, rows); }, 40 * 7},
        {"Ctrl+Delete",
         [](const ConfigImage& i, DeviceModel m) { return droppedRowPatch(i, m, 39); }, 39 * 7},
        {"count lowered",
         [](const ConfigImage& i, DeviceModel m) { return codeCountPatch(i, m, 2); }, 2 * 7},
        {"count raised",
         [](const ConfigImage& i, DeviceModel m) { return codeCountPatch(i, m, 41); }, 41 * 7},
        {"preferences",
         [](const ConfigImage& i, DeviceModel m) {
             return reshapedCodeTablePatch(i, MemoryMap::of(m), {5, 4});
         },
         5 * 5},
    };
    for (const DeviceModel m : {DeviceModel::Line4, DeviceModel::Line16}) {
        for (const Change& c : changes) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(int(m)));
            const ConfigImage before = tableFullOfCodes(m, 40);
            ConfigImage after = before;
            c.patch(before, m).applyTo(after);
            const std::size_t end = Table + static_cast<std::size_t>(c.records);
            EXPECT_EQ(bytesAt(after, end, ImageSize - end), std::string(ImageSize - end, ' '));
            const std::size_t sizes = offsetsOf(m).length; // CodeLength, then CodeCount
            EXPECT_EQ(bytesAt(after, 0, sizes), bytesAt(before, 0, sizes));
            EXPECT_EQ(bytesAt(after, sizes + 3, Table - sizes - 3),
                      bytesAt(before, sizes + 3, Table - sizes - 3));
            // Read as the other model, the count and length are other settings' bytes.
            const DeviceModel other =
                m == DeviceModel::Line4 ? DeviceModel::Line16 : DeviceModel::Line4;
            ConfigImage misread = before;
            c.patch(before, other).applyTo(misread);
            EXPECT_EQ(bytesAt(misread, ImageSize - 700, 700),
                      bytesAt(before, ImageSize - 700, 700));
        }
    }
}

} // namespace
} // namespace zx
