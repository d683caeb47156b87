#include "model/code_table_shape.h"

#include "model/code_table.h"

#include <algorithm>

namespace zx {

CodeTableShape withinLimits(CodeTableShape size) {
    size.digits = std::clamp(size.digits, MinCodeDigits, MaxCodeDigits);
    size.count = std::clamp(size.count, 0, codeCountLimit(size.digits));
    return size;
}

CodeTableShape storedCodeTableShape(const ConfigImage& image, const MemoryMap& map) {
    const auto length = map.offset(Field::CodeLength);
    const auto count = map.offset(Field::CodeCount);
    if (!length || !count) return {};
    const int codeLength = image.at(*length);
    return {std::min<int>(image.word(*count), codeTableCapacity(codeLength)),
            std::clamp(codeLength - 1, MinCodeDigits, MaxCodeDigits)};
}

int offeredCountLimit(int digits, CodeTableShape stored) {
    const int limit = codeCountLimit(std::clamp(digits, MinCodeDigits, MaxCodeDigits));
    return digits == stored.digits ? std::max(limit, stored.count) : limit;
}

int codesDroppedBy(int chosenCount, CodeTableShape stored) {
    return std::max(0, stored.count - std::max(chosenCount, 0));
}

ImagePatch codeTableShapePatch(const MemoryMap& map, CodeTableShape size) {
    size.digits = std::clamp(size.digits, MinCodeDigits, MaxCodeDigits);
    size.count = std::clamp(size.count, 0, codeTableCapacity(size.digits + 1));
    ImagePatch patch;
    if (const auto count = map.offset(Field::CodeCount))
        patch.setWord(*count, static_cast<std::uint16_t>(size.count));
    if (const auto length = map.offset(Field::CodeLength))
        patch.set(*length, static_cast<Byte>(size.digits + 1));
    return patch;
}

} // namespace zx
