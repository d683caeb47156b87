#pragma once
// The contents of a new configuration of either model.
#include "model/database_record.h"

namespace zx {

// Empties the four short strings and stores every default of the model's field table;
// the free-number table and the whole code table become spaces. Bytes that belong to no
// field keep what they held.
void applyNewConfiguration(DatabaseRecord& record, DeviceModel model);

} // namespace zx
