#include "model/read_back_report.h"

namespace zx {

ReadBackReport readBackReport(const std::vector<SettingDifference>& differences) {
    if (differences.empty()) return {"Sikeres feltöltés, ellenőrizve.", {}};
    const std::string differ = "Az egység nem azt tartja, amit kapott !!!";
    // The settings in the window's words, one a line; a long list is cut short.
    constexpr std::size_t Listed = 12;
    std::string labels;
    for (std::size_t i = 0; i < differences.size() && i < Listed; ++i)
        labels += "\n" + differences[i].label;
    if (differences.size() > Listed)
        labels += "\n... és még " + std::to_string(differences.size() - Listed);
    return {differ, differ + "\nEltérő beállítások:" + labels};
}

ReadBackReport readBackFailed(const std::string& why) {
    return {"A visszaolvasás nem sikerült.", "A visszaolvasás nem sikerült: " + why};
}

} // namespace zx
