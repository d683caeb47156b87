#pragma once
// Two configurations compared setting by setting, under the names `show` prints: a single
// setting by its name (CoPosition, SmdrSpeed), an element of a list as NAME[i] counted from 1
// (CoNumbers[3], CodeTable[12], FreeNumbers[5]).
#include "model/settings_registry.h"

#include <optional>
#include <string>
#include <vector>

namespace zx {

struct SettingDifference {
    std::string name;
    // The values as each side shows them; nothing where a side lacks the setting or the
    // element (a shorter list, a field the other model lacks).
    std::optional<SettingValue> a;
    std::optional<SettingValue> b;
    // The window's words for it ("Alap / CO pozíció", "Kódok / 2. sor").
    std::string label;
    bool operator==(const SettingDifference&) const = default;
};

// Every compared setting whose value differs, in show order. When no setting differs but the
// bytes of the configuration segments do (bytes that no setting shows, such as codes past
// CodeCount), each such segment is one difference, Segment[n], with its 32 bytes in
// hexadecimal: a configuration counts as the same only when the unit would get the same bytes.
std::vector<SettingDifference> compareSettings(const SettingsReading& a, const SettingsReading& b);

// A record beside the same record holding another image, read with that image's model: what a
// unit holds compared with a file or with what it was sent (a unit keeps no texts of its own).
std::vector<SettingDifference> compareWithImage(const DatabaseRecord& record, DeviceModel model,
                                                const ConfigImage& other, DeviceModel otherModel);

// One difference as a line of text: the name, A's value and B's value as `show` prints them,
// separated by tabs (a shown value never holds one); a side that lacks the setting is empty.
std::string differenceLine(const SettingDifference& difference);

} // namespace zx
