#pragma once
// The stored bytes of the settings the window shows as choices, and whether a byte names one of
// them. A byte that names none (a file written elsewhere, bits no editor sets) is shown by the
// window as a fallback choice, but the unit gets the byte itself: `show` prints such a byte as
// it is, with what it may hold, and the check reports it as an error.
#include "model/config_image.h"
#include "model/types.h"

#include <optional>
#include <string>

namespace zx {

// A stored byte that names none of its setting's choices, and what the setting may hold there
// ("1..4").
struct UnnamedByte {
    Byte value = 0;
    std::string allowed;
    bool operator==(const UnnamedByte&) const = default;
};

// The 4-line line settings: byte 1 is line 1's dialling (1..3), byte 2 its seizure (0..2).
inline constexpr std::size_t DialByte4 = 1;
inline constexpr std::size_t SeizureByte4 = 2;

// Each: nothing when the byte names a choice, or when the model lacks the field (or the line).
// SmdrSpeed: 4-line speed bits 5..3 above 6; 16-line none of '1'..'6', 'A'..'F'.
std::optional<UnnamedByte> unnamedSmdrSpeed(const ConfigImage& image, DeviceModel model);
// SmdrMode: a mode (bits 3..0) the model lacks, or any of bits 5..7 set.
std::optional<UnnamedByte> unnamedSmdrMode(const ConfigImage& image, DeviceModel model);
// CoWidth outside 1..4.
std::optional<UnnamedByte> unnamedCoWidth(const ConfigImage& image, DeviceModel model);
// NumberTerminator (16-line): none of "0".."9", "*", "#", space.
std::optional<UnnamedByte> unnamedNumberTerminator(const ConfigImage& image, DeviceModel model);
// 16-line LineSettings byte of `line` (1..16) with any of bits 5..7 set.
std::optional<UnnamedByte> unnamedLineByte(const ConfigImage& image, DeviceModel model, int line);
// 4-line LineSettings byte 1 (dialling) outside 1..3, byte 2 (seizure) above 2.
std::optional<UnnamedByte> unnamedDialByte4(const ConfigImage& image, DeviceModel model);
std::optional<UnnamedByte> unnamedSeizureByte4(const ConfigImage& image, DeviceModel model);
// A code record's rights character that names no right: 4-line outside '0'..'?', 16-line a low
// nibble above 4 (the check's warning).
std::optional<UnnamedByte> unnamedRightsByte(Byte rights, DeviceModel model);

} // namespace zx
