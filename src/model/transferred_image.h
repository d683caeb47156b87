#pragma once
// The image as it went over the line, the form in which the site history keeps every
// configuration a unit held or was sent: the model's configuration segments as they were read or
// sent, every other byte zero. Segments 0 to 42, the identification segment (model and clock,
// which changes with every read) and the segments below the model's start are never part of a
// download or an upload, so two units holding the same configuration give the same bytes.
#include "model/config_image.h"

#include <limits>

namespace zx {

inline constexpr int AllSegments = std::numeric_limits<int>::max();

// `image` with every byte outside the model's configuration segments zero, and of those only the
// first `transferred` kept (an operation that stopped part way: the segments not read or not
// sent are zero, as a download leaves them).
ConfigImage transferredImage(const ConfigImage& image, DeviceModel model,
                             int transferred = AllSegments);

} // namespace zx
