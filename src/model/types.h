#pragma once
// Vocabulary of the configuration model: sizes, offsets, segment numbers and the two unit models.
#include <cstddef>
#include <cstdint>

namespace zx {

using Byte = std::uint8_t;
using Offset = std::uint16_t;

inline constexpr std::size_t ImageSize = 8192;
inline constexpr std::size_t SegmentSize = 32;
inline constexpr int SegmentCount = 256;
inline constexpr std::size_t RecordSize = 9227;
inline constexpr std::size_t RecordImageOffset = 1035;
inline constexpr std::size_t ShortStringSlotSize = 256;
inline constexpr int IdentSegment = 43;
inline constexpr std::size_t CodeTableStart = 5120;
inline constexpr std::size_t CodeTableSize = 3072;

// Item index of the model box: 0 the 4-line unit, 1 the 16-line unit.
enum class DeviceModel : int { Line4 = 0, Line16 = 1 };

inline constexpr int modelIndex(DeviceModel m) {
    return static_cast<int>(m);
}
inline constexpr DeviceModel modelFromIndex(int i) {
    return i == 1 ? DeviceModel::Line16 : DeviceModel::Line4;
}

} // namespace zx
