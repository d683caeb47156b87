#include "model/cp1250_text.h"

namespace zx {

namespace {

// Characters of bytes 0x80 to 0xFF.
constexpr char16_t Upper[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

void appendUtf8(std::string& out, char16_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The code point of the UTF-8 character at `i`, moving `i` past it; nothing for a malformed one
// (then `i` moves one byte on).
std::optional<char32_t> nextCodePoint(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80) return lead;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0 || i + static_cast<std::size_t>(more) > s.size()) return std::nullopt;
    char32_t code = lead & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        const auto c = static_cast<unsigned char>(s[i]);
        if ((c & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (c & 0x3F);
        ++i;
    }
    return code;
}

std::optional<char> cp1250Byte(char32_t code) {
    if (code < 0x80) return static_cast<char>(code);
    for (std::size_t b = 0; b < 128; ++b)
        if (Upper[b] == code) return static_cast<char>(0x80 + b);
    return std::nullopt;
}

} // namespace

std::optional<RawText> cp1250FromUtf8(std::string_view utf8, std::string* outside) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const std::optional<char32_t> code = nextCodePoint(utf8, i);
        const std::optional<char> byte = code ? cp1250Byte(*code) : std::nullopt;
        if (!byte) {
            if (outside) *outside = std::string(utf8.substr(start, i - start));
            return std::nullopt;
        }
        bytes.push_back(*byte);
    }
    return RawText(std::move(bytes));
}

std::string outsideCp1250Refusal(std::string_view character) {
    return "A(z) „" + std::string(character) +
           "” karakter nem tárolható, csak közép-európai (Windows-1250) betűk használhatók !!!";
}

std::string utf8FromCp1250(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        appendUtf8(out, b < 0x80 ? char16_t{b} : Upper[b - 0x80]);
    }
    return out;
}

} // namespace zx
