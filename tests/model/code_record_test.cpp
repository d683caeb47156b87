#include "model/code_record.h"

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

TEST(CodeRecord, CodesArePaddedCutOrBlankedToTheRecordWidth) {
    const auto code = [](const char* text, int length) {
        const auto r = encodeCodeRecord({RawText(text), {"Nem", "Nem", "Nem", "Nem"}}, length,
                                        DeviceModel::Line4);
        return std::string(r.begin(), r.end());
    };
    EXPECT_EQ(code("123", 7), "123   0");
    EXPECT_EQ(code("1", 7), "      0");
    EXPECT_EQ(code("", 3), "  0");
    EXPECT_EQ(code("1234567", 5), "12340");
    EXPECT_TRUE(encodeCodeRecord({}, 0, DeviceModel::Line4).empty());
}

} // namespace
} // namespace zx
