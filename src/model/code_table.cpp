#include "model/code_table.h"

namespace zx {

int codeTableCapacity(int codeLength) {
    if (codeLength <= 0) return 0;
    return static_cast<int>(CodeTableSize) / codeLength;
}

int codeCountLimit(int digits) {
    if (digits <= 2) return 10;
    if (digits == 3) return 100;
    return static_cast<int>(CodeTableSize) / (digits + 1);
}

} // namespace zx
