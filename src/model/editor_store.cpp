#include "model/editor_store.h"

#include "model/trimmed.h"
#include "model/value_rules.h"

#include <algorithm>
#include <limits>
#include <string>

namespace zx {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    return trimmed(text, isBlank);
}

Refusal refusal(std::string_view message) {
    return Refusal{std::string(message)};
}

bool validItem(int item, std::size_t count) {
    return item >= 0 && static_cast<std::size_t>(item) < count;
}

// One byte at a field's offset; nothing for a field the model lacks.
ImagePatch byteAt(DeviceModel model, Field field, Byte value, std::size_t index = 0) {
    ImagePatch patch;
    if (const auto o = MemoryMap::of(model).offset(field)) patch.set(*o + index, value);
    return patch;
}

Byte withBit(Byte b, int n, bool on) {
    const Byte mask = static_cast<Byte>(1u << n);
    return on ? static_cast<Byte>(b | mask) : static_cast<Byte>(b & ~mask);
}

Byte lineByte16(const LineRowView& row) {
    Byte b = 0;
    b = withBit(b, 0, row.timerItem == 1);
    b = withBit(b, 1, row.dialItem == 1);
    b = withBit(b, 2, row.seizureItem == 1);
    b = withBit(b, 3, row.subLine);
    b = withBit(b, 4, row.callIn);
    return b;
}

ImagePatch storeLineControl4(const ConfigImage& image, LineControlId left,
                             std::span<const LineRowView> rows) {
    ImagePatch patch;
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line4);
    const std::size_t start = *map.offset(Field::LineSettings);
    if (left.line < 1 || left.line > map.lineCount() ||
        static_cast<std::size_t>(left.line) > rows.size())
        return patch;
    const LineRowView& row = rows[static_cast<std::size_t>(left.line - 1)];
    switch (left.control) {
    case LineControl::Dial:
        // Only line 1 carries the unit's dialling choice.
        if (left.line == 1 && row.dialItem && validItem(*row.dialItem, 3))
            patch.set(start + 1, static_cast<Byte>(*row.dialItem + 1));
        break;
    case LineControl::Seizure:
        if (left.line == 1 && row.seizureItem && validItem(*row.seizureItem, 2))
            patch.set(start + 2, *row.seizureItem == 0 ? 2 : 1);
        break;
    case LineControl::SubLine:
        patch.set(start, withBit(image.at(start), left.line - 1, row.subLine));
        break;
    case LineControl::CallIn:
        patch.set(start, withBit(image.at(start), left.line + 3, row.callIn));
        break;
    case LineControl::TimerSet:
        break; // the 4-line unit has one timer set
    }
    return patch;
}

} // namespace

std::optional<long long> readWholeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    constexpr long long Limit = std::numeric_limits<long long>::max() / 10 - 10;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        if (value < Limit) value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

Checked<Byte> checkByteRange(std::string_view text) {
    const auto n = readWholeNumber(trimBlanks(text));
    if (!n || *n < 0 || *n > 255) return refusal(ByteRangeMessage);
    return static_cast<Byte>(*n);
}

bool isByteRangeField(Field f) {
    switch (f) {
    case Field::CoPosition:
    case Field::CalledPosition:
    case Field::SeizeTime:
    case Field::ReleaseTime:
    case Field::InterdigitTime:
    case Field::FirstToneTime1:
    case Field::SecondToneTime1:
    case Field::CoTimeout1:
    case Field::CoResetTime1:
    case Field::FirstToneTime2:
    case Field::SecondToneTime2:
    case Field::CoTimeout2:
    case Field::CoResetTime2:
    case Field::LoopPulseDelta:
    case Field::LocalLength:
    case Field::NationalLength:
        return true;
    default:
        return false;
    }
}

Checked<ImagePatch> storeByteRange(DeviceModel model, Field field, std::string_view text) {
    const Checked<Byte> value = checkByteRange(text);
    if (!value) return refusal(value.message());
    if (!isByteRangeField(field)) return ImagePatch{};
    return byteAt(model, field, *value);
}

Checked<ImagePatch> storeSpeedAndParity(DeviceModel model, int speedItem, int parityItem) {
    if (!validItem(speedItem, speedItems(model).size()) ||
        !validItem(parityItem, parityItems().size()))
        return ImagePatch{};
    Byte b = 0;
    if (model == DeviceModel::Line4)
        b = static_cast<Byte>(speedItem * 8 + (parityItem == 1 ? 1 : 0));
    else
        b = static_cast<Byte>((parityItem == 0 ? '1' : 'A') + speedItem);
    return byteAt(model, Field::SmdrSpeed, b);
}

Checked<ImagePatch> storeMode(DeviceModel model, int modeItem, int twentyHexItem) {
    if (!validItem(modeItem, modeItems(model).size()) ||
        !validItem(twentyHexItem, twentyHexItems().size()))
        return ImagePatch{};
    return byteAt(model, Field::SmdrMode, static_cast<Byte>(16 * twentyHexItem + modeItem));
}

Checked<ImagePatch> storeCoWidth(DeviceModel model, int item) {
    if (!validItem(item, coWidthItems().size())) return refusal(CoWidthMessage);
    return byteAt(model, Field::CoWidth, static_cast<Byte>(item + 1));
}

Checked<Byte> checkRecordTerminator(std::string_view text) {
    const auto n = readWholeNumber(text);
    if (!n || *n < 0 || *n > 255) return refusal(BadValueMessage);
    return static_cast<Byte>(*n);
}

Checked<ImagePatch> storeRecordTerminator(DeviceModel model, std::string_view text) {
    const Checked<Byte> value = checkRecordTerminator(text);
    if (!value) return refusal(value.message());
    return byteAt(model, Field::RecordTerminator, *value);
}

Checked<Byte> checkNumberTerminator(const RawText& text) {
    if (text.empty()) return refusal(NumberTerminatorMessage);
    const char c = text.view().front();
    if (c == ' ' || c == '#' || c == '*' || (c >= '0' && c <= '9')) return static_cast<Byte>(c);
    return refusal(NumberTerminatorMessage);
}

Checked<ImagePatch> storeNumberTerminator(DeviceModel model, const RawText& text) {
    if (!MemoryMap::of(model).has(Field::NumberTerminator)) return ImagePatch{};
    const Checked<Byte> value = checkNumberTerminator(text);
    if (!value) return refusal(value.message());
    return byteAt(model, Field::NumberTerminator, *value);
}

Checked<ImagePatch> storeCoNumber(const ConfigImage& image, DeviceModel model, int line,
                                  const RawText& text) {
    const MemoryMap& map = MemoryMap::of(model);
    ImagePatch patch;
    const int width = std::min(static_cast<int>(image.at(*map.offset(Field::CoWidth))), MaxCoWidth);
    if (width <= 0 || line < 1 || line > map.lineCount()) return patch;
    const std::size_t w = static_cast<std::size_t>(width);
    // Blanks after the number pad it; every other character must fit the width.
    std::string_view typed = text.view();
    while (!typed.empty() && typed.back() == ' ')
        typed.remove_suffix(1);
    if (auto refused = fieldRefusal(coNumberRule(w), RawText(typed))) return *refused;
    std::string chars = text.bytes().substr(0, w);
    chars.resize(w, ' ');
    patch.setChars(*map.offset(Field::CoNumbers) + w * static_cast<std::size_t>(line - 1), chars);
    return patch;
}

Checked<ImagePatch> storeLineSettings(const ConfigImage& image, DeviceModel model,
                                      LineControlId left, std::span<const LineRowView> rows) {
    if (model == DeviceModel::Line4) return storeLineControl4(image, left, rows);
    const MemoryMap& map = MemoryMap::of(model);
    const std::size_t start = *map.offset(Field::LineSettings);
    ImagePatch patch;
    const std::size_t count = std::min(rows.size(), static_cast<std::size_t>(map.lineCount()));
    for (std::size_t n = 0; n < count; ++n)
        patch.set(start + n, lineByte16(rows[n]));
    return patch;
}

Checked<ImagePatch> storePinAndSummerTime(DeviceModel model, bool pinEnabled, bool dstEnabled) {
    ImagePatch patch = byteAt(model, Field::DstEnable, dstEnabled ? 1 : 0);
    patch.append(byteAt(model, Field::PinEnable, pinEnabled ? 1 : 0));
    return patch;
}

} // namespace zx
