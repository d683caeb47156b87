#include "model/raw_text.h"

#include <ostream>

namespace zx {

std::ostream& operator<<(std::ostream& out, const RawText& text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    out << '"';
    for (const char c : text.view()) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && c != '\\')
            out << c;
        else
            out << "\\x" << Hex[b >> 4] << Hex[b & 0x0F];
    }
    return out << '"';
}

} // namespace zx
