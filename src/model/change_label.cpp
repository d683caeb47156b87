#include "model/change_label.h"

#include "model/settings_comparison.h"

#include <algorithm>
#include <charconv>

namespace zx {

namespace {

struct Changed {
    const SettingDifference* difference;
    std::string base; // the setting's name without the element
    int index = 0;    // the element, from 1; 0 for a single setting
    const SettingEntry* entry;
};

Changed changedOf(const SettingDifference& d) {
    Changed c{&d, d.name, 0, nullptr};
    if (const std::size_t open = d.name.find('['); open != std::string::npos) {
        c.base = d.name.substr(0, open);
        const char* first = d.name.data() + open + 1;
        std::from_chars(first, d.name.data() + d.name.size(), c.index);
    }
    c.entry = findSetting(c.base);
    return c;
}

// "Kódok / #. sor" for 30 rows: "Kódok / 30 sor".
std::string countedLabel(const std::string& label, std::size_t count) {
    std::string out = label;
    if (const std::size_t at = out.find("#."); at != std::string::npos)
        out.replace(at, 2, std::to_string(count));
    return out;
}

} // namespace

StepLabel describeChange(const DatabaseRecord& before, const DatabaseRecord& after,
                         DeviceModel model, std::optional<Field> within) {
    const std::vector<SettingDifference> differences =
        compareSettings(SettingsReading(before, model), SettingsReading(after, model));
    std::vector<Changed> changed;
    for (const SettingDifference& d : differences)
        changed.push_back(changedOf(d));
    if (within) {
        std::vector<Changed> own;
        std::copy_if(changed.begin(), changed.end(), std::back_inserter(own),
                     [&](const Changed& c) { return c.entry && c.entry->field == within; });
        if (!own.empty()) changed = std::move(own);
    }

    StepLabel label;
    if (changed.empty()) {
        using Slot = DatabaseRecord::Slot;
        label.name = before.text(Slot::Password) != after.text(Slot::Password)
                         ? "Preferenciák / Jelszó"
                         : "Változás";
        return label;
    }
    const Changed& first = changed.front();
    label.name = first.difference->label;
    label.place.row = first.index;
    if (changed.size() == 1) {
        label.mergeKey = first.difference->name;
        return label;
    }
    const bool oneList = first.entry && first.index > 0 &&
                         std::all_of(changed.begin(), changed.end(), [&](const Changed& c) {
                             return c.base == first.base && c.index > 0;
                         });
    if (oneList) label.name = countedLabel(first.entry->label, changed.size());
    return label;
}

} // namespace zx
