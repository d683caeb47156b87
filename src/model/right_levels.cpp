#include "model/right_levels.h"

namespace zx {

std::string_view rightLevelWord(std::string_view cell) {
    if (cell.empty()) return {};
    switch (cell.front()) {
    case 'T':
        return "Tiltott";
    case 'H':
        return "Helyi";
    case 'B':
        return "Belföldi";
    case 'M':
        return "Mobil";
    case 'N':
        return "Nemzetközi";
    default:
        return {};
    }
}

} // namespace zx
