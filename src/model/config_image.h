#pragma once
// The unit's configuration memory: 8192 bytes in 256 segments of 32 bytes.
#include "model/types.h"

#include <array>
#include <span>

namespace zx {

class ConfigImage {
  public:
    using Segment = std::array<Byte, SegmentSize>;

    ConfigImage() { bytes_.fill(0); }

    // Offsets outside the image read as 0 and are not written.
    Byte at(std::size_t offset) const { return offset < ImageSize ? bytes_[offset] : 0; }
    void set(std::size_t offset, Byte value) {
        if (offset < ImageSize) bytes_[offset] = value;
    }
    // Little-endian 16-bit value.
    std::uint16_t word(std::size_t offset) const;
    void setWord(std::size_t offset, std::uint16_t value);

    // Fills count bytes from offset, clipped to the image.
    void fill(std::size_t offset, std::size_t count, Byte value);
    void fill(Byte value) { bytes_.fill(value); }

    Segment segment(int n) const;
    void setSegment(int n, std::span<const Byte, SegmentSize> data);

    const std::array<Byte, ImageSize>& bytes() const { return bytes_; }
    std::array<Byte, ImageSize>& bytes() { return bytes_; }

    bool operator==(const ConfigImage&) const = default;

  private:
    std::array<Byte, ImageSize> bytes_;
};

} // namespace zx
