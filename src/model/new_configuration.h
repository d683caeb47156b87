#pragma once
// The contents of a new configuration of either model.
#include "model/database_record.h"

namespace zx {

// Empties the four short strings and starts the image from zeros, then stores every default
// of the model's field table; the free-number table and the whole code table become spaces.
// Nothing of the previous configuration survives: the call-in number and every byte that
// belongs to no field of the model are zero, whatever the image held before (a download from
// another unit, an opened file).
void applyNewConfiguration(DatabaseRecord& record, DeviceModel model);

} // namespace zx
