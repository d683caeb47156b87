#include "model/free_number_table.h"

#include "model/memory_map.h"
#include "model/trimmed.h"
#include "model/value_rules.h"

#include <algorithm>

namespace zx {

namespace {

constexpr std::size_t EntrySize = FreeNumberSize;
// What a table entry holds; the characters were checked when the number joined the list, and an
// entry read from the table is stored back as it was.
constexpr FieldRule FreeNumberLength{FreeNumberRule.label, EntrySize};

bool trimmedAway(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trim(std::string_view s) {
    return trimmed(s, trimmedAway);
}

} // namespace

Checked<ImagePatch> freeNumbersPatch(DeviceModel model, const std::vector<RawText>& entries) {
    const MemoryMap& map = MemoryMap::of(model);
    const std::size_t start = *map.offset(Field::FreeNumbers);
    const std::size_t capacity = static_cast<std::size_t>(map.freeNumberCapacity());
    if (entries.size() > capacity)
        return Refusal{"Számok: " + std::to_string(entries.size()) +
                       " szám nem tárolható, legfeljebb " + std::to_string(capacity) +
                       " fér el !!!"};
    ImagePatch patch;
    patch.fill(start, capacity * EntrySize, ' ');
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view entry = trim(entries[i].view());
        if (auto refused = fieldRefusal(FreeNumberLength, RawText(entry)))
            return Refusal{"Számok / " + std::to_string(i + 1) + ". sor: " + refused->message};
        patch.setChars(start + EntrySize * i, entry);
    }
    return patch;
}

std::optional<Refusal> writeFreeNumbers(ConfigImage& image, DeviceModel model,
                                        const std::vector<RawText>& entries) {
    const Checked<ImagePatch> patch = freeNumbersPatch(model, entries);
    if (!patch) return Refusal{patch.message()};
    patch->applyTo(image);
    return std::nullopt;
}

} // namespace zx
