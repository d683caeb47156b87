#pragma once
// Capacity rules of the code table.
#include "model/types.h"

namespace zx {

// Records of codeLength bytes that fit the 3072-byte table (3072 div codeLength; 0 for 0).
int codeTableCapacity(int codeLength);
// Largest code count the preferences allow for d digits: 10, 100, then 3072 div (d + 1).
int codeCountLimit(int digits);

} // namespace zx
