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
    CodeTableShape size;
    if (length) size.digits = image.at(*length) - 1;
    if (count) size.count = image.word(*count);
    return withinLimits(size);
}

ImagePatch codeTableShapePatch(const MemoryMap& map, CodeTableShape size) {
    size = withinLimits(size);
    ImagePatch patch;
    if (const auto count = map.offset(Field::CodeCount))
        patch.setWord(*count, static_cast<std::uint16_t>(size.count));
    if (const auto length = map.offset(Field::CodeLength))
        patch.set(*length, static_cast<Byte>(size.digits + 1));
    return patch;
}

} // namespace zx
