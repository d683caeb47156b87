#pragma once
// Images the model tests start from, and the bytes they read back.
#include "model/new_configuration.h"

#include <string>
#include <vector>

namespace zx::fixtures {

using Bytes = std::vector<Byte>;
inline constexpr DeviceModel L4 = DeviceModel::Line4;
inline constexpr DeviceModel L16 = DeviceModel::Line16;
// The byte-range check's message, as the operator reads it.
inline const std::string RangeMessage = "Értéknek 0..255 között kell lenni !!!";

// The image of a new configuration of the model.
inline ConfigImage newImage(DeviceModel m) {
    DatabaseRecord r;
    applyNewConfiguration(r, m);
    return r.image;
}

inline Bytes bytesAt(const ConfigImage& image, std::size_t offset, std::size_t count) {
    return Bytes(&image.bytes()[offset], &image.bytes()[offset + count]);
}

} // namespace zx::fixtures
