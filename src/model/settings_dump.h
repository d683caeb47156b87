#pragma once
// What `show` prints, read back and applied to another configuration (`set --from`): every
// setting of the dump is set by the rules of `set`, the lists whole (the code table with its
// length and count, the free numbers, each element of the fixed lists), so that the settings of
// one file can be copied into another one of the same model. A value the target already shows
// stores nothing; a dump of a configuration applied to itself changes no byte.
#include "model/database_record.h"
#include "model/settings_registry.h"

#include <string>
#include <string_view>
#include <vector>

namespace zx {

// Applies the dump onto the record read through `model`: whole or not at all. The dump's model
// must be `model`; lines that follow from others (the file's date, the status bar's count) are
// passed over. A refusal names the dump's line ("57. sor: CoNumbers[1]: ..."). A dump without a
// single setting (nothing, or blank lines only) is refused: it is no copy of anything.
SettingRefusal applySettingsDump(DatabaseRecord& record, DeviceModel model, std::string_view dump);

// The dump of a configuration as show prints it, one line each.
std::vector<std::string> settingsDumpLines(const SettingsReading& reading);

} // namespace zx
