#pragma once
// A text without the characters a rule says go, at both of its ends. Each kind of field has its
// own rule of what is blank (spaces and tabs, every control character, ...).
#include <string_view>

namespace zx {

template <class Blank> std::string_view trimmed(std::string_view text, Blank isBlank) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace zx
