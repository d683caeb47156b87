#pragma once
// Windows-1250 bytes read as UTF-8 text, and back, for the plain C++ parts of the program that
// put record texts into their own UTF-8 output (the printed reports, the settings as `show`
// prints them) or take them from UTF-8 input. Every byte becomes one character; the five bytes
// the code page leaves undefined stand for the control characters of the same number, as the
// desktop's converter reads them.
#include "model/raw_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace zx {

std::string utf8FromCp1250(std::string_view bytes);
inline std::string utf8FromCp1250(const RawText& text) {
    return utf8FromCp1250(text.view());
}

// The bytes of a UTF-8 text whose every character the code page holds; nothing otherwise, with
// the first character it lacks (as UTF-8) in `outside` when asked for. A text made of bytes by
// utf8FromCp1250 always comes back as those bytes.
std::optional<RawText> cp1250FromUtf8(std::string_view utf8, std::string* outside = nullptr);

// "A(z) „ñ” karakter nem tárolható ... !!!": the refusal of a text naming the character (UTF-8)
// the code page lacks.
std::string outsideCp1250Refusal(std::string_view character);

} // namespace zx
