#include "model/code_rights.h"

namespace zx {

namespace {

constexpr std::string_view Yes = "Igen";
constexpr std::string_view No = "Nem";
constexpr std::string_view LevelLetters = "THBMN";

std::size_t rightsCells(DeviceModel model) {
    return model == DeviceModel::Line4 ? 4 : 1;
}

} // namespace

std::vector<std::string> newRowRights(DeviceModel model) {
    if (model == DeviceModel::Line4) return {"Igen", "Igen", "Igen", "Igen"};
    return {"T"};
}

std::string steppedRight(std::string_view cell, DeviceModel model) {
    if (model == DeviceModel::Line4) return std::string(!cell.empty() && cell[0] == 'I' ? No : Yes);
    if (cell.empty()) return "T";
    const std::size_t at = LevelLetters.find(cell[0]);
    if (at == std::string_view::npos) return std::string(cell);
    return std::string(1, LevelLetters[(at + 1) % LevelLetters.size()]);
}

std::string toggledRight(std::string_view cell) {
    return std::string(cell == Yes ? No : Yes);
}

void applyRightsCommand(std::vector<std::string>& rights, RightsCommand command,
                        DeviceModel model) {
    if (rights.size() < rightsCells(model)) rights.resize(rightsCells(model));
    if (model == DeviceModel::Line16) {
        char level = 'T';
        switch (command) {
        case RightsCommand::International:
            level = 'N';
            break;
        case RightsCommand::Mobile:
            level = 'M';
            break;
        case RightsCommand::LongDistance:
            level = 'B';
            break;
        case RightsCommand::Local:
            level = 'H';
            break;
        case RightsCommand::Barred:
            break;
        }
        rights[0].assign(1, level);
        return;
    }
    if (command == RightsCommand::Barred) {
        for (std::size_t c = 0; c < 4; ++c)
            rights[c] = No;
        return;
    }
    std::string& cell = rights[static_cast<std::size_t>(command) - 2];
    cell = toggledRight(cell);
}

} // namespace zx
