// How double clicks and the popup's commands change the rights of a code row.
#include "model/code_record.h"
#include "model/code_rights.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(CodeRights, DoubleClickSteps) {
    std::string cell = "H";
    for (int i = 0; i < 5; ++i)
        cell = steppedRight(cell, DeviceModel::Line16);
    EXPECT_EQ(cell, "H");
    EXPECT_EQ(steppedRight("", DeviceModel::Line16), "T");
    EXPECT_EQ(steppedRight("N", DeviceModel::Line16), "T");
    EXPECT_EQ(steppedRight("Igen", DeviceModel::Line16), "Igen");
    EXPECT_EQ(steppedRight("I", DeviceModel::Line4), "Nem");
    EXPECT_EQ(steppedRight("Nem", DeviceModel::Line4), "Igen");
    EXPECT_EQ(steppedRight("", DeviceModel::Line4), "Igen");
}

TEST(CodeRights, PopupCommandsOnRows) {
    // Rows that differed still differ after a toggle: each row is inverted on its own.
    std::vector<std::string> a{"Igen", "Nem", "Igen", "Nem"}, b{"Igen", "Nem", "Nem", "x"};
    applyRightsCommand(a, RightsCommand::Mobile, DeviceModel::Line4);
    applyRightsCommand(b, RightsCommand::Mobile, DeviceModel::Line4);
    EXPECT_EQ(a, (std::vector<std::string>{"Igen", "Nem", "Nem", "Nem"}));
    EXPECT_EQ(b, (std::vector<std::string>{"Igen", "Nem", "Igen", "x"}));
    // Only a cell reading exactly "Igen" toggles to "Nem".
    EXPECT_EQ(toggledRight("igen"), "Igen");
    EXPECT_EQ(toggledRight("Igen"), "Nem");

    applyRightsCommand(b, RightsCommand::Barred, DeviceModel::Line4);
    EXPECT_EQ(b, (std::vector<std::string>(4, "Nem")));
    std::vector<std::string> shortRow{"Igen"};
    applyRightsCommand(shortRow, RightsCommand::International, DeviceModel::Line4);
    EXPECT_EQ(shortRow, (std::vector<std::string>{"Igen", "", "", "Igen"}));

    const std::pair<RightsCommand, const char*> levels[] = {
        {RightsCommand::International, "N"}, {RightsCommand::Mobile, "M"},
        {RightsCommand::LongDistance, "B"},  {RightsCommand::Local, "H"},
        {RightsCommand::Barred, "T"},
    };
    for (const auto& [command, letter] : levels) {
        std::vector<std::string> rights;
        applyRightsCommand(rights, command, DeviceModel::Line16);
        EXPECT_EQ(rights, std::vector<std::string>{letter});
    }
}

TEST(CodeRights, ANewRowShowsWhatIsStoredForIt) {
    for (const DeviceModel m : {DeviceModel::Line4, DeviceModel::Line16}) {
        const CodeRowView row{RawText("12"), newRowRights(m)};
        const Byte stored = rightsCharacter(row, m);
        EXPECT_EQ(stored, m == DeviceModel::Line4 ? '?' : '0');
        const std::vector<Byte> record{'1', '2', stored};
        EXPECT_EQ(decodeCodeRecord(record, m).rights, row.rights);
    }
}

} // namespace
} // namespace zx
