#include "model/config_image.h"

#include <algorithm>

namespace zx {

std::uint16_t ConfigImage::word(std::size_t offset) const {
    return static_cast<std::uint16_t>(at(offset) | (at(offset + 1) << 8));
}

void ConfigImage::setWord(std::size_t offset, std::uint16_t value) {
    set(offset, static_cast<Byte>(value & 0xFF));
    set(offset + 1, static_cast<Byte>(value >> 8));
}

void ConfigImage::fill(std::size_t offset, std::size_t count, Byte value) {
    if (offset >= ImageSize) return;
    const std::size_t end = offset + std::min(count, ImageSize - offset);
    std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
              bytes_.begin() + static_cast<std::ptrdiff_t>(end), value);
}

ConfigImage::Segment ConfigImage::segment(int n) const {
    Segment out{};
    if (n < 0 || n >= SegmentCount) return out;
    const std::size_t base = static_cast<std::size_t>(n) * SegmentSize;
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(base), SegmentSize, out.begin());
    return out;
}

void ConfigImage::setSegment(int n, std::span<const Byte, SegmentSize> data) {
    if (n < 0 || n >= SegmentCount) return;
    const std::size_t base = static_cast<std::size_t>(n) * SegmentSize;
    std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(base));
}

} // namespace zx
