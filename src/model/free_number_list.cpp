#include "model/free_number_list.h"

#include "model/codecs.h"
#include "model/memory_map.h"
#include "model/value_rules.h"

#include <algorithm>

namespace zx {

namespace {

constexpr std::size_t EntrySize = FreeNumberSize;

// Lower case of a Windows-1250 byte.
unsigned char folded(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: // Š
    case 0x8C: // Ś
    case 0x8D: // Ť
    case 0x8E: // Ž
    case 0x8F: // Ź
        return static_cast<unsigned char>(c + 0x10);
    case 0xA3: // Ł
        return 0xB3;
    case 0xA5: // Ą
        return 0xB9;
    case 0xAA: // Ş
        return 0xBA;
    case 0xAF: // Ż
        return 0xBF;
    case 0xBC: // Ľ
        return 0xBE;
    default:
        return c;
    }
}

// The characters the table receives, without trailing spaces.
std::string_view tableForm(const RawText& entry) {
    std::string_view s = entry.view().substr(0, EntrySize);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool sameFolded(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return folded(static_cast<unsigned char>(x)) ==
                      folded(static_cast<unsigned char>(y));
           });
}

int compareFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int x = folded(static_cast<unsigned char>(a[i]));
        const int y = folded(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return 0;
}

RawText normalized(const RawText& edit) {
    return RawText(normalizeNumber(edit.view()));
}

} // namespace

int freeNumberCapacity(DeviceModel model) {
    return MemoryMap::of(model).freeNumberCapacity();
}

std::string freeNumberCounterText(int entries, int capacity) {
    return "Bejegyzések:" + std::to_string(entries) + "/" + std::to_string(capacity);
}

std::optional<Refusal> freeNumberRefusal(const RawText& number) {
    // normalizeNumber takes every space out and only pads, so no space is left inside.
    std::string digits = normalized(number).bytes();
    while (!digits.empty() && digits.back() == ' ')
        digits.pop_back();
    return fieldRefusal(FreeNumberRule, RawText(std::move(digits)));
}

RawText freeNumberEntry(const RawText& number) {
    return normalized(number);
}

bool sameFreeNumber(const RawText& a, const RawText& b) {
    return sameFolded(tableForm(a), tableForm(b));
}

bool freeNumberBefore(const RawText& a, const RawText& b) {
    const int order = compareFolded(a.view(), b.view());
    return order != 0 ? order < 0 : a.view() < b.view();
}

FreeNumberAdd addFreeNumber(std::vector<RawText>& list, const RawText& edit, int capacity,
                            bool sorted) {
    if (static_cast<int>(list.size()) >= capacity) return {FreeNumberAdd::Outcome::ListFull, edit};
    RawText entry = normalized(edit);
    if (tableForm(entry).empty()) return {FreeNumberAdd::Outcome::Empty, edit};
    for (const RawText& present : list)
        if (sameFreeNumber(present, entry)) return {FreeNumberAdd::Outcome::AlreadyIn, entry};
    auto at = list.end();
    if (sorted) at = std::upper_bound(list.begin(), list.end(), entry, freeNumberBefore);
    const auto position = static_cast<std::size_t>(at - list.begin());
    list.insert(at, entry);
    return {FreeNumberAdd::Outcome::Added, std::move(entry), position};
}

std::optional<RawText> correctFreeNumber(std::vector<RawText>& list, std::size_t index,
                                         const RawText& edit) {
    if (index >= list.size()) return std::nullopt;
    list[index] = normalized(edit);
    return list[index];
}

int removeSelectedFreeNumbers(std::vector<RawText>& list, const std::vector<bool>& selected) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i < selected.size() && selected[i]) continue;
        if (kept != i) list[kept] = std::move(list[i]);
        ++kept;
    }
    const int removed = static_cast<int>(list.size() - kept);
    list.resize(kept);
    return removed;
}

void sortFreeNumbers(std::vector<RawText>& list) {
    std::stable_sort(list.begin(), list.end(), freeNumberBefore);
}

} // namespace zx
