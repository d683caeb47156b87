#pragma once
// What a change of the configuration is called in the undo and redo commands, read off the
// settings it changed: the window's label of the one setting ("Alap / CO pozíció"), of the one
// element of a list ("Kódok / 12. sor"), or of how many elements of one list changed
// ("Kódok / 30 sor"); the first setting's label when several changed.
#include "model/database_record.h"
#include "model/edit_history.h"
#include "model/memory_map.h"

#include <optional>

namespace zx {

// The step's name, its merge key (the one setting or element changed, as `show` names it:
// "CoPosition", "CodeTable[12]"; none when more changed) and the row of the element (from 1;
// 0 when the change is no list's). `within` names the change by that field's settings alone
// when any of them changed (the code grid names its store by its rows, not by the count that
// follows them). A change no setting shows is named by the password or by the memory segment.
StepLabel describeChange(const DatabaseRecord& before, const DatabaseRecord& after,
                         DeviceModel model, std::optional<Field> within = std::nullopt);

} // namespace zx
