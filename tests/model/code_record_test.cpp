#include "model/code_record.h"

#include "model/memory_map.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

std::vector<Byte> bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(CodeRecord, EveryFourLineRightsCharacterSurvivesTheGrid) {
    for (char rights = '0'; rights <= '?'; ++rights) {
        const std::vector<Byte> record = bytes(std::string("123456") + rights);
        const CodeRowView row = decodeCodeRecord(record, DeviceModel::Line4);
        EXPECT_EQ(encodeCodeRecord(row, 7, DeviceModel::Line4), record) << rights;
    }
    // Local and mobile only, as the grid shows them.
    EXPECT_EQ(rightsCharacter({RawText("1"), {"Igen", "Nem", "Igen", "Nem"}}, DeviceModel::Line4),
              '5');
    EXPECT_EQ(rightsCharacter({RawText("1"), {"", "x", "N", "i"}}, DeviceModel::Line4), '0');
}

TEST(CodeRecord, SixteenLineLevelsReadOnlyTheLowNibble) {
    const auto level = [](char c) {
        return decodeCodeRecord(bytes(std::string("12") + c), DeviceModel::Line16).rights.at(0);
    };
    EXPECT_EQ(level('0'), "T");
    EXPECT_EQ(level('1'), "H");
    EXPECT_EQ(level('3'), "M");
    EXPECT_EQ(level('5'), "N");
    EXPECT_EQ(level('?'), "N");
    EXPECT_EQ(level('A'), "H"); // 41 hexadecimal
    for (const char* cell : {"H", "B", "M", "N", "T", "", "Igen"}) {
        const CodeRowView row{RawText("12"), {cell}};
        const Byte c = rightsCharacter(row, DeviceModel::Line16);
        EXPECT_EQ(
            decodeCodeRecord(bytes(std::string("12") + char(c)), DeviceModel::Line16).rights,
            std::vector<std::string>{std::string(cell).empty() || cell[0] == 'I' ? "T" : cell})
            << cell;
    }
}

TEST(CodeRecord, CodesArePaddedToTheRecordWidth) {
    const auto code = [](const char* text, int length) {
        const auto r = encodeCodeRecord({RawText(text), {"Nem", "Nem", "Nem", "Nem"}}, length,
                                        DeviceModel::Line4);
        return std::string(r.begin(), r.end());
    };
    EXPECT_EQ(code("123", 7), "123   0");
    EXPECT_EQ(code("1", 7), "1     0");
    EXPECT_EQ(code(" ", 7), "      0");
    EXPECT_EQ(code("", 3), "  0");
    EXPECT_EQ(code("1234567", 5), "12340");
    EXPECT_TRUE(encodeCodeRecord({}, 0, DeviceModel::Line4).empty());
}

// The grid's store writes only codes of digits that fit the record; a code as its record holds
// it (row 1: "12a ") is stored as it was.
TEST(CodeRecord, TheGridsCodesFollowTheCodeRule) {
    ConfigImage image;
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line4);
    image.set(*map.offset(Field::CodeLength), 5); // four digits
    for (std::size_t i = 0; i < 5; ++i)
        image.set(*map.offset(Field::CodeTable) + i, static_cast<Byte>("12a 0"[i]));
    const std::pair<const char*, bool> cases[] = {
        {"1234", false}, {"7", false},  {"", false},    {"12  ", false}, {"12345", true},
        {"12a", true},   {" 12", true}, {"12\t", true}, {"\xB2", true},
    };
    for (const auto& [code, refused] : cases) {
        const auto r = codeGridRefusal(image, DeviceModel::Line4,
                                       {{RawText("12a "), {}}, {RawText(code), {}}});
        EXPECT_EQ(r ? r->row : 0, refused ? 2 : 0) << code;
    }
    EXPECT_EQ(codeGridRefusal(image, DeviceModel::Line4, {{RawText("12b"), {}}})->row, 1);
}

} // namespace
} // namespace zx
