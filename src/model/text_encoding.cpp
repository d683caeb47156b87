#include "model/text_encoding.h"

#include "model/cp1250_text.h"

#include <algorithm>

namespace zx {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// The length of the valid UTF-8 character at `i` (1 for ASCII), or 0 when none starts there.
std::size_t utf8CharacterAt(std::string_view bytes, std::size_t i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const std::size_t n = c < 0x80             ? 1
                          : (c & 0xE0) == 0xC0 ? 2
                          : (c & 0xF0) == 0xE0 ? 3
                          : (c & 0xF8) == 0xF0 ? 4
                                               : 0;
    if (n == 0 || (n == 2 && c < 0xC2) || i + n > bytes.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return 0;
    return n;
}

bool utf16(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return true;
    // ASCII text in UTF-16 without a mark: a NUL beside nearly every character.
    std::size_t even = 0, odd = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\0') ++(i % 2 == 0 ? even : odd);
    const std::size_t pairs = bytes.size() / 2;
    return pairs > 0 && std::max(even, odd) * 2 > pairs && std::min(even, odd) == 0;
}

} // namespace

TextEncoding textEncodingOf(std::string_view bytes) {
    if (utf16(bytes)) return TextEncoding::Utf16;
    bool valid = true;
    bool multiByte = bytes.starts_with(Utf8Bom);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = utf8CharacterAt(bytes, i);
        if (n == 0) {
            valid = false;
            ++i;
            continue;
        }
        multiByte = multiByte || n > 1;
        i += n;
    }
    if (valid) return TextEncoding::Utf8;
    return multiByte ? TextEncoding::Mixed : TextEncoding::Cp1250;
}

std::string encodingRefusal(std::string_view bytes) {
    switch (textEncodingOf(bytes)) {
    case TextEncoding::Utf16:
        return "a fájl UTF-16 kódolású, csak UTF-8 vagy Windows-1250 szöveget olvasok";
    case TextEncoding::Mixed: {
        std::size_t line = 1;
        for (std::size_t i = 0; i < bytes.size();) {
            const std::size_t n = utf8CharacterAt(bytes, i);
            if (n == 0) break;
            line += bytes[i] == '\n';
            i += n;
        }
        return "a fájlban UTF-8 és Windows-1250 kódolás keveredik (a " + std::to_string(line) +
               ". sorban nem UTF-8)";
    }
    case TextEncoding::Utf8:
    case TextEncoding::Cp1250:
        break;
    }
    return {};
}

Checked<std::string> utf8TextOf(std::string_view bytes) {
    if (std::string refused = encodingRefusal(bytes); !refused.empty())
        return Refusal{std::move(refused)};
    if (textEncodingOf(bytes) == TextEncoding::Cp1250) return utf8FromCp1250(bytes);
    if (bytes.starts_with(Utf8Bom)) bytes.remove_prefix(Utf8Bom.size());
    return std::string(bytes);
}

} // namespace zx
