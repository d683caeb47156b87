#pragma once
// Windows-1250 bytes read as UTF-8 text, for the plain C++ parts of the program that put record
// texts into their own UTF-8 output (the printed reports). Every byte becomes one character;
// the five bytes the code page leaves undefined stand for the control characters of the same
// number, as the desktop's converter reads them.
#include "model/raw_text.h"

#include <string>
#include <string_view>

namespace zx {

std::string utf8FromCp1250(std::string_view bytes);
inline std::string utf8FromCp1250(const RawText& text) {
    return utf8FromCp1250(text.view());
}

} // namespace zx
