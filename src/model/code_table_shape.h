#pragma once
// The size of the code table as the preferences edit it: how many codes there are (CodeCount)
// and how many digits each has (CodeLength - 1), with the count held within what the table
// allows for that many digits.
#include "model/image_patch.h"
#include "model/memory_map.h"

namespace zx {

inline constexpr int MinCodeDigits = 2;
inline constexpr int MaxCodeDigits = 8;

struct CodeTableShape {
    int count = 0;
    int digits = 6;
    bool operator==(const CodeTableShape&) const = default;
};

// The digits held within 2..8 and the count within 0..codeCountLimit(digits): a count above
// the limit is lowered to it (fewer digits were chosen, or the image holds more).
CodeTableShape withinLimits(CodeTableShape size);

// What the preferences show for the image: CodeLength - 1 and CodeCount, within the limits.
// A model without the fields shows the defaults (no codes, six digits).
CodeTableShape storedCodeTableShape(const ConfigImage& image, const MemoryMap& map);

// The bytes that store the size (within the limits): CodeCount low byte first, then the high
// byte; CodeLength = digits + 1. The code records themselves are not touched.
ImagePatch codeTableShapePatch(const MemoryMap& map, CodeTableShape size);

} // namespace zx
