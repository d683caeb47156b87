#pragma once
// The encoding of a text file the program reads (a code text, a free-number list, a settings
// dump): UTF-8 (plain ASCII included) or Windows-1250 are read; UTF-16, and a file in which
// UTF-8 and Windows-1250 lines are mixed, are refused naming the encoding, so that the operator
// is not told of a fault in a character that was never in the file.
#include "model/checked.h"

#include <string>
#include <string_view>

namespace zx {

enum class TextEncoding {
    Utf8,   // valid UTF-8, with or without a byte order mark (ASCII included)
    Cp1250, // not UTF-8, and no UTF-8 character in it: Windows-1250
    Utf16,  // a UTF-16 byte order mark, or a NUL byte beside most characters of one parity
    Mixed,  // not valid UTF-8, yet holding UTF-8 characters
};

TextEncoding textEncodingOf(std::string_view bytes);

// Why the bytes are not read as text: "UTF-16 kódolású, ..." or "UTF-8 és Windows-1250 kódolás
// keveredik benne (a 3. sorban nem UTF-8)"; empty for UTF-8 and Windows-1250.
std::string encodingRefusal(std::string_view bytes);

// The text as UTF-8: UTF-8 as it is (without a byte order mark), Windows-1250 converted; the
// encoding refusal otherwise.
Checked<std::string> utf8TextOf(std::string_view bytes);

} // namespace zx
