#include "model/database_record.h"

#include <algorithm>

namespace zx {

namespace {
constexpr std::string_view HeaderText = "Zendrax1V2";
constexpr std::size_t MaxShortString = 255;
constexpr std::size_t HeaderSize = 11;
static_assert(HeaderSize + 4 * ShortStringSlotSize == RecordImageOffset);
static_assert(RecordImageOffset + ImageSize == RecordSize);
} // namespace

DatabaseRecord::DatabaseRecord() = default;

std::size_t DatabaseRecord::slotOffset(Slot s) {
    return HeaderSize + static_cast<std::size_t>(s) * ShortStringSlotSize;
}

RawText DatabaseRecord::text(Slot s) const {
    const auto& slot = slots_[static_cast<std::size_t>(s)];
    return RawText(std::string(reinterpret_cast<const char*>(slot.data() + 1), slot[0]));
}

void DatabaseRecord::setText(Slot s, const RawText& value) {
    auto& slot = slots_[static_cast<std::size_t>(s)];
    const std::size_t n = std::min(value.size(), MaxShortString);
    slot[0] = static_cast<Byte>(n);
    std::copy_n(value.view().begin(), n, slot.begin() + 1);
    std::fill(slot.begin() + 1 + static_cast<std::ptrdiff_t>(n), slot.end(), Byte{0});
}

int DatabaseRecord::textLength(Slot s) const {
    return slots_[static_cast<std::size_t>(s)][0];
}

DatabaseRecord DatabaseRecord::keeping(const ConfigImage& image, const DatabaseRecord& textsFrom) {
    DatabaseRecord r;
    r.writeHeader();
    for (Slot slot : {Slot::Site, Slot::Owner, Slot::Password})
        r.setText(slot, textsFrom.text(slot));
    r.image = image;
    return r;
}

void DatabaseRecord::writeHeader() {
    header_[0] = static_cast<Byte>(HeaderText.size());
    std::copy(HeaderText.begin(), HeaderText.end(), header_.begin() + 1);
}

bool DatabaseRecord::headerValid() const {
    if (header_[0] != HeaderText.size()) return false;
    return std::equal(HeaderText.begin(), HeaderText.end(), header_.begin() + 1,
                      [](char c, Byte b) { return static_cast<Byte>(c) == b; });
}

std::array<Byte, RecordSize> DatabaseRecord::toBytes() const {
    std::array<Byte, RecordSize> out{};
    auto it = std::copy(header_.begin(), header_.end(), out.begin());
    for (const auto& slot : slots_)
        it = std::copy(slot.begin(), slot.end(), it);
    std::copy(image.bytes().begin(), image.bytes().end(), it);
    return out;
}

DatabaseRecord DatabaseRecord::fromBytes(std::span<const Byte, RecordSize> bytes) {
    DatabaseRecord r;
    auto it = bytes.begin();
    std::copy_n(it, r.header_.size(), r.header_.begin());
    it += static_cast<std::ptrdiff_t>(r.header_.size());
    for (auto& slot : r.slots_) {
        const std::ptrdiff_t end = 1 + it[0];
        std::copy_n(it, end, slot.begin());
        it += static_cast<std::ptrdiff_t>(slot.size());
    }
    std::copy_n(it, ImageSize, r.image.bytes().begin());
    return r;
}

} // namespace zx
