#include "model/read_back_report.h"

namespace zx {

ReadBackReport readBackReport(const std::vector<SettingDifference>& differences) {
    if (differences.empty()) return {"Sikeres feltöltés, ellenőrizve.", {}};
    const std::string differ = "Az egység nem azt tartja, amit kapott !!!";
    std::string names;
    for (const SettingDifference& d : differences)
        names += (names.empty() ? "" : ", ") + d.name;
    return {differ, differ + "\nEltérő beállítások: " + names};
}

ReadBackReport readBackFailed(const std::string& why) {
    return {"A visszaolvasás nem sikerült.", "A visszaolvasás nem sikerült: " + why};
}

} // namespace zx
