#pragma once
// The small renderings of bytes used by the editors and the transfer frames. None of them fails.
#include "model/config_image.h"

#include <span>
#include <string>
#include <string_view>

namespace zx {

// Two characters, 48 + high nibble then 48 + low nibble ("06", "==", "??", "3:").
std::string digitPair(Byte b);
// Exactly two characters give (c1 mod 16) * 16 + (c2 mod 16); any other length gives EE.
Byte parseDigitPair(std::string_view text);
// Two upper-case hexadecimal digits.
std::string hexPair(Byte b);
// Spaces removed, padded with spaces to 16; a result of 16 or more is returned whole.
std::string normalizeNumber(std::string_view text);

// The w characters of CO line n (1-based) of a field starting at start.
std::string readCoNumber(const ConfigImage& image, std::size_t start, int width, int line);
// Text of a three-byte exception entry i (0-based): "0620" "11", "====00".
std::string exceptionEntryText(const ConfigImage& image, std::size_t start, int entry);

// 32 data bytes and a check byte: valid when the data sum modulo 256 equals the check byte.
bool segmentSumValid(std::span<const Byte> reply33);
Byte segmentSum(std::span<const Byte> data);
// Sum of every character after the leading command letter, modulo 256.
Byte frameSum(std::string_view frame);

} // namespace zx
