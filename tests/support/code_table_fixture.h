#pragma once
// A record the check and its tests start from: a new 4-line configuration whose code rows hold
// the given codes (4 digits at most, blank-padded), every right given.
#include "model/database_record.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"

#include <string>
#include <vector>

namespace zx {

inline DatabaseRecord fourLineRecordWithCodes(const std::vector<std::string>& codes) {
    DatabaseRecord r;
    applyNewConfiguration(r, DeviceModel::Line4);
    r.writeHeader();
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line4);
    r.image.set(*map.offset(Field::CodeLength), 5);
    r.image.setWord(*map.offset(Field::CodeCount), static_cast<std::uint16_t>(codes.size()));
    for (std::size_t n = 0; n < codes.size(); ++n) {
        std::string record = codes[n];
        record.resize(4, ' ');
        record += '?';
        for (std::size_t j = 0; j < record.size(); ++j)
            r.image.set(CodeTableStart + 5 * n + j, static_cast<Byte>(record[j]));
    }
    return r;
}

} // namespace zx
