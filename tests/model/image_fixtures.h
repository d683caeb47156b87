#pragma once
// Images the model tests start from, and the bytes they read back.
#include "model/memory_map.h"
#include "model/new_configuration.h"

#include <string>
#include <vector>

namespace zx::fixtures {

using Bytes = std::vector<Byte>;
inline constexpr DeviceModel L4 = DeviceModel::Line4;
inline constexpr DeviceModel L16 = DeviceModel::Line16;
// The byte-range check's message, as the operator reads it.
inline const std::string RangeMessage = "Értéknek 0..255 között kell lenni !!!";
// The 16-line exception list's area check's message.
inline const std::string AreaMessage = "A körzetszám pontosan két számjegy lehet !!!";

// The image of a new configuration of the model.
inline ConfigImage newImage(DeviceModel m) {
    DatabaseRecord r;
    applyNewConfiguration(r, m);
    return r.image;
}

// A new configuration's image whose code table holds these records (code characters and the
// rights character, codeLength bytes each); the count says codeCount, or the records' number.
inline ConfigImage codeTableImage(DeviceModel m, int codeLength,
                                  const std::vector<std::string>& records = {},
                                  int codeCount = -1) {
    ConfigImage image = newImage(m);
    const MemoryMap& map = MemoryMap::of(m);
    image.set(*map.offset(Field::CodeLength), static_cast<Byte>(codeLength));
    image.setWord(*map.offset(Field::CodeCount),
                  static_cast<std::uint16_t>(codeCount < 0 ? records.size() : codeCount));
    const std::size_t start = *map.offset(Field::CodeTable);
    for (std::size_t n = 0; n < records.size(); ++n)
        for (std::size_t j = 0; j < records[n].size(); ++j)
            image.set(start + n * static_cast<std::size_t>(codeLength) + j,
                      static_cast<Byte>(records[n][j]));
    return image;
}

inline Bytes bytesAt(const ConfigImage& image, std::size_t offset, std::size_t count) {
    return Bytes(&image.bytes()[offset], &image.bytes()[offset + count]);
}

} // namespace zx::fixtures
