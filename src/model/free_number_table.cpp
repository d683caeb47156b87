#include "model/free_number_table.h"

#include "model/memory_map.h"
#include "model/trimmed.h"

#include <algorithm>

namespace zx {

namespace {

constexpr std::size_t EntrySize = FreeNumberSize;

bool trimmedAway(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trim(std::string_view s) {
    return trimmed(s, trimmedAway);
}

} // namespace

ImagePatch freeNumbersPatch(DeviceModel model, const std::vector<RawText>& entries) {
    const MemoryMap& map = MemoryMap::of(model);
    const std::size_t start = *map.offset(Field::FreeNumbers);
    const std::size_t capacity = static_cast<std::size_t>(map.freeNumberCapacity());
    ImagePatch patch;
    patch.fill(start, capacity * EntrySize, ' ');
    const std::size_t count = std::min(entries.size(), capacity);
    for (std::size_t i = 0; i < count; ++i) {
        patch.setChars(start + EntrySize * i, trim(entries[i].view()).substr(0, EntrySize));
    }
    return patch;
}

void writeFreeNumbers(ConfigImage& image, DeviceModel model, const std::vector<RawText>& entries) {
    freeNumbersPatch(model, entries).applyTo(image);
}

} // namespace zx
