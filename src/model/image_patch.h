#pragma once
// The bytes one store writes into the image, collected first and applied together, so that a
// store is either whole or not made at all. Editors and commands build patches with the rules of
// this layer; the window's document applies them and learns whether anything changed.
#include "model/config_image.h"

#include <span>
#include <string_view>
#include <vector>

namespace zx {

class ImagePatch {
  public:
    struct Write {
        std::size_t offset;
        Byte value;
        bool operator==(const Write&) const = default;
    };

    void set(std::size_t offset, Byte value) { writes_.push_back({offset, value}); }
    // Little-endian, as every multi-byte number of the image.
    void setWord(std::size_t offset, std::uint16_t value) {
        set(offset, static_cast<Byte>(value & 0xFF));
        set(offset + 1, static_cast<Byte>(value >> 8));
    }
    void setBytes(std::size_t offset, std::span<const Byte> bytes) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            set(offset + i, bytes[i]);
    }
    void setChars(std::size_t offset, std::string_view chars) {
        for (std::size_t i = 0; i < chars.size(); ++i)
            set(offset + i, static_cast<Byte>(chars[i]));
    }
    void fill(std::size_t offset, std::size_t count, Byte value) {
        for (std::size_t i = 0; i < count; ++i)
            set(offset + i, value);
    }
    void append(const ImagePatch& other) {
        writes_.insert(writes_.end(), other.writes_.begin(), other.writes_.end());
    }

    bool empty() const { return writes_.empty(); }
    const std::vector<Write>& writes() const { return writes_; }

    // Writes in order (a later write to the same offset wins); offsets outside the image are
    // not written. Returns how many bytes of the image now differ from before.
    int applyTo(ConfigImage& image) const {
        const ConfigImage before = image;
        for (const Write& w : writes_)
            image.set(w.offset, w.value);
        int changed = 0;
        for (std::size_t i = 0; i < ImageSize; ++i)
            changed += image.at(i) != before.at(i);
        return changed;
    }

  private:
    std::vector<Write> writes_;
};

} // namespace zx
