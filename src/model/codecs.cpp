#include "model/codecs.h"

namespace zx {

std::string digitPair(Byte b) {
    return std::string{static_cast<char>('0' + (b >> 4)), static_cast<char>('0' + (b & 0x0F))};
}

Byte parseDigitPair(std::string_view text) {
    if (text.size() != 2) return 0xEE;
    const auto hi = static_cast<unsigned char>(text[0]) & 0x0F;
    const auto lo = static_cast<unsigned char>(text[1]) & 0x0F;
    return static_cast<Byte>(hi << 4 | lo);
}

std::string hexPair(Byte b) {
    static constexpr char digits[] = "0123456789ABCDEF";
    return std::string{digits[b >> 4], digits[b & 0x0F]};
}

std::string normalizeNumber(std::string_view text) {
    std::string out;
    out.reserve(16);
    for (char c : text)
        if (c != ' ') out.push_back(c);
    if (out.size() < 16) out.append(16 - out.size(), ' ');
    return out;
}

std::string readCoNumber(const ConfigImage& image, std::size_t start, int width, int line) {
    if (width <= 0 || line < 1) return {};
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t first = start + w * static_cast<std::size_t>(line - 1);
    std::string out;
    out.reserve(w);
    for (std::size_t j = 0; j < w; ++j)
        out.push_back(static_cast<char>(image.at(first + j)));
    return out;
}

std::string exceptionEntryText(const ConfigImage& image, std::size_t start, int entry) {
    if (entry < 0) return {};
    const std::size_t p = start + 3 * static_cast<std::size_t>(entry);
    const Byte length = image.at(p + 2);
    std::string out = digitPair(image.at(p)) + digitPair(image.at(p + 1));
    if (length < 10) out.push_back('0');
    out += std::to_string(length);
    return out;
}

Byte segmentSum(std::span<const Byte> data) {
    unsigned sum = 0;
    for (Byte b : data)
        sum += b;
    return static_cast<Byte>(sum & 0xFF);
}

bool segmentSumValid(std::span<const Byte> reply33) {
    if (reply33.size() != SegmentSize + 1) return false;
    return segmentSum(reply33.first(SegmentSize)) == reply33[SegmentSize];
}

Byte frameSum(std::string_view frame) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < frame.size(); ++i)
        sum += static_cast<unsigned char>(frame[i]);
    return static_cast<Byte>(sum & 0xFF);
}

} // namespace zx
