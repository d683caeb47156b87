#include "model/choice_bytes.h"

#include "model/editor_view.h"
#include "model/memory_map.h"

namespace zx {

namespace {

std::optional<Byte> stored(const ConfigImage& image, DeviceModel model, Field field,
                           std::size_t index = 0) {
    const auto at = MemoryMap::of(model).offset(field);
    if (!at) return std::nullopt;
    return image.at(*at + index);
}

std::optional<UnnamedByte> unnamedIf(std::optional<Byte> b, bool (*named)(Byte),
                                     const char* allowed) {
    if (!b || named(*b)) return std::nullopt;
    return UnnamedByte{*b, allowed};
}

} // namespace

std::optional<UnnamedByte> unnamedSmdrSpeed(const ConfigImage& image, DeviceModel model) {
    const auto b = stored(image, model, Field::SmdrSpeed);
    if (model == DeviceModel::Line4)
        return unnamedIf(
            b, [](Byte v) { return ((v >> 3) & 0x07) < 7; }, "sebesség 0..6 a 3..5. biten");
    return unnamedIf(
        b, [](Byte v) { return (v >= '1' && v <= '6') || (v >= 'A' && v <= 'F'); },
        "'1'..'6' vagy 'A'..'F'");
}

std::optional<UnnamedByte> unnamedSmdrMode(const ConfigImage& image, DeviceModel model) {
    const auto b = stored(image, model, Field::SmdrMode);
    if (model == DeviceModel::Line4)
        return unnamedIf(
            b, [](Byte v) { return (v & 0x0F) < 2 && (v & 0xE0) == 0; },
            "mód 0..1 a 0..3. biten, az 5..7. bit 0");
    return unnamedIf(
        b, [](Byte v) { return (v & 0x0F) < 3 && (v & 0xE0) == 0; },
        "mód 0..2 a 0..3. biten, az 5..7. bit 0");
}

std::optional<UnnamedByte> unnamedCoWidth(const ConfigImage& image, DeviceModel model) {
    return unnamedIf(
        stored(image, model, Field::CoWidth), [](Byte v) { return v >= 1 && v <= MaxCoWidth; },
        "1..4");
}

std::optional<UnnamedByte> unnamedNumberTerminator(const ConfigImage& image, DeviceModel model) {
    return unnamedIf(
        stored(image, model, Field::NumberTerminator),
        [](Byte v) { return v == ' ' || v == '*' || v == '#' || (v >= '0' && v <= '9'); },
        "0..9, *, # vagy szóköz");
}

std::optional<UnnamedByte> unnamedLineByte(const ConfigImage& image, DeviceModel model, int line) {
    if (model != DeviceModel::Line16 || line < 1 || line > MemoryMap::of(model).lineCount())
        return std::nullopt;
    return unnamedIf(
        stored(image, model, Field::LineSettings, static_cast<std::size_t>(line - 1)),
        [](Byte v) { return (v & 0xE0) == 0; }, "0..31, az 5..7. bit 0");
}

std::optional<UnnamedByte> unnamedDialByte4(const ConfigImage& image, DeviceModel model) {
    if (model != DeviceModel::Line4) return std::nullopt;
    return unnamedIf(
        stored(image, model, Field::LineSettings, DialByte4),
        [](Byte v) { return v >= 1 && v <= 3; }, "1..3");
}

std::optional<UnnamedByte> unnamedRightsByte(Byte rights, DeviceModel model) {
    if (model == DeviceModel::Line4)
        return unnamedIf(
            rights, [](Byte v) { return v >= '0' && v <= '?'; }, "'0'..'?'");
    return unnamedIf(
        rights, [](Byte v) { return (v & 0x0F) <= 4; }, "alsó 4 bit 0..4");
}

std::optional<UnnamedByte> unnamedSeizureByte4(const ConfigImage& image, DeviceModel model) {
    if (model != DeviceModel::Line4) return std::nullopt;
    return unnamedIf(
        stored(image, model, Field::LineSettings, SeizureByte4), [](Byte v) { return v <= 2; },
        "0..2");
}

} // namespace zx
