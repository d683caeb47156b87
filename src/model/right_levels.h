#pragma once
// How the code grid names the single right level of a 16-line unit's code.
#include <string_view>

namespace zx {

// "Tiltott", "Helyi", "Belföldi", "Mobil", "Nemzetközi" (UTF-8) for the first letter T, H, B,
// M, N of a rights cell; empty for any other letter or an empty cell.
std::string_view rightLevelWord(std::string_view cell);

} // namespace zx
