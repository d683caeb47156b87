#pragma once
// Every setting that `show` prints, in one table: its name, how it is read from a configuration
// (the editors' decode) for the text and the JSON output, how `set` parses a value and stores it
// by the editors' rules, its items and its help text. show, set, the JSON output and the
// comparison of two configurations all read this table; no other place lists setting names.
#include "model/checked.h"
#include "model/database_record.h"
#include "model/editor_view.h"
#include "model/memory_map.h"
#include "model/setting_value.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zx {

// One configuration as the editors show it, with the texts of the record around it.
struct SettingsReading {
    SettingsReading(const DatabaseRecord& record, DeviceModel model, std::string lastModified = {});

    DeviceModel model;
    DatabaseRecord record;
    EditorView view;
    std::string lastModified; // the file's modification time as shown; empty when unknown
};

class SettingEdit;
// The refusal's message of a value `set` does not store; nothing when it was stored.
using SettingRefusal = std::optional<std::string>;

struct SettingEntry {
    // What a setting belongs to: the file around the configuration (its model, texts and date)
    // or the configuration the unit holds.
    enum class Scope { File, Unit };

    std::string name;
    // Where the window shows it, as its page and label: "Alap / CO pozíció". A list's label
    // names one element, with '#' where the element's number goes ("Kódok / #. sor").
    std::string label;
    Scope scope = Scope::Unit;
    // The field it lives in: a model that lacks the field lacks the setting.
    std::optional<Field> field;
    // Whether a comparison of two configurations looks at it (not at what follows from others,
    // nor at a file's date).
    bool compared = true;
    // A list whose elements `set` addresses as NAME[i].
    bool list = false;
    // The value as the editors show it; only called for a model that has the field.
    std::function<SettingValue(const SettingsReading&)> read;
    // `set` of this name: the target, the value as typed. Empty for a setting only shown here.
    std::function<SettingRefusal(SettingEdit&, const SettingTarget&, std::string_view value)> store;
    // The values `set` takes, for its help (items and limits); empty for a setting only shown.
    std::string help;

    bool availableIn(DeviceModel m) const { return !field || MemoryMap::of(m).has(*field); }
};

// The settings in the order `show` prints them.
const std::vector<SettingEntry>& settingsRegistry();
const SettingEntry* findSetting(std::string_view name);

// The window's words for a setting, or for element `index` (counted from 1) of a list.
std::string settingLabel(const SettingEntry& entry, std::optional<int> index = std::nullopt);

struct ShownSetting {
    const SettingEntry* entry;
    SettingValue value;
};
// Every setting the model has, in show order, with its value.
std::vector<ShownSetting> readSettings(const SettingsReading& reading);

// One setting as show prints it, by the name `set` takes: NAME, NAME[i], NAME.part or
// NAME[i].part; refused for a name the model lacks (naming the model) or one show does not
// print.
Checked<SettingValue> readSetting(const SettingsReading& reading, std::string_view name);

// "A(z) Vardo-16 (V 4.27+) típusban nincs ilyen beállítás !!!"
std::string notInModelRefusal(DeviceModel model);

// A setting or part that is chosen from a list ("SmdrSpeed.parity", "LineSettings[2].dialling",
// "PinEnable") with every choice its control lists in either model (and "Páratlan", which the
// window once listed). `set` stores each one the model holds and refuses the others naming the
// model.
struct ListedChoices {
    std::string target;
    std::vector<std::string> choices;
};
std::vector<ListedChoices> listedChoices();

// How far `set` goes.
struct SetOptions {
    // A CO width that shortens CO numbers rewrites them anyway (the window asks first).
    bool force = false;
};

// `set` NAME=VALUE on the record, as the editor that shows NAME stores what the operator typed
// and left. A value equal to what show prints for NAME (the whole value or the part named)
// stores nothing, so feeding show's lines back changes no byte. A refused value leaves the
// record as it was and gives the message; what a stored value changed beyond it (the CO
// numbers a width cut) is added to `notes`.
SettingRefusal applySetting(DatabaseRecord& record, DeviceModel model, std::string_view assignment,
                            const SetOptions& options = {},
                            std::vector<std::string>* notes = nullptr);
// The same on an image alone (the record's texts are not reached).
SettingRefusal applySetting(ConfigImage& image, DeviceModel model, std::string_view assignment);

// Whether a value as typed is the value shown: the same text, number or flag, or, for named
// parts, every part it names the same.
bool sameAsShown(const SettingValue& shown, std::string_view typed);

// The names `set` takes for a model, as the shell completes them: NAME for a single value,
// NAME.part for each part of a compound one, NAME[i] for each element of a list.
std::vector<std::string> settableNames(DeviceModel model);

// The help of `set`: the form of an assignment and every name with the values it takes.
std::string setHelpText();

} // namespace zx
