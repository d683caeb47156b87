#include "model/code_table_shape.h"

#include "model/code_table.h"
#include "model/code_table_store.h"
#include "model/codecs.h"
#include "model/cp1250_text.h"
#include "model/editor_view.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace zx {

namespace {

// Spaces pad a record; control bytes are no digits either.
bool blank(Byte c) {
    return c <= ' ';
}

// The table as it is stored: where it starts, its raw record length and the records it holds.
struct StoredTable {
    std::size_t start = 0;
    std::size_t length = 0;
    int count = 0;
};

std::optional<StoredTable> storedTable(const ConfigImage& image, const MemoryMap& map) {
    const auto table = map.offset(Field::CodeTable);
    const auto length = map.offset(Field::CodeLength);
    const auto count = map.offset(Field::CodeCount);
    if (!table || !length || !count) return std::nullopt;
    const int codeLength = image.at(*length);
    return StoredTable{*table, static_cast<std::size_t>(codeLength),
                       std::min<int>(image.word(*count), codeTableCapacity(codeLength))};
}

// The code characters of record n (from 0), without the blanks that end them.
std::span<const Byte> codeOf(const ConfigImage& image, const StoredTable& t, int n) {
    const std::size_t at = t.start + t.length * static_cast<std::size_t>(n);
    std::size_t width = t.length - 1;
    while (width > 0 && blank(image.at(at + width - 1)))
        --width;
    return std::span<const Byte>(image.bytes()).subspan(at, width);
}

CodeTableShape heldWithinTable(CodeTableShape size) {
    size.digits = std::clamp(size.digits, MinCodeDigits, MaxCodeDigits);
    size.count = std::clamp(size.count, 0, codeTableCapacity(size.digits + 1));
    return size;
}

// Records 1..size.count in the new record length, each from the stored record of the same
// number (see reshapedCodeTablePatch).
ImagePatch reshapedRecords(const ConfigImage& image, const StoredTable& stored,
                           CodeTableShape size) {
    ImagePatch patch;
    const std::size_t width = static_cast<std::size_t>(size.digits);
    for (int n = 0; n < size.count; ++n) {
        std::vector<Byte> record(width, ' ');
        Byte rights = '0';
        if (n < stored.count) {
            const std::size_t at = stored.start + stored.length * static_cast<std::size_t>(n);
            const std::size_t kept = std::min(width, stored.length - 1);
            for (std::size_t j = 0; j < kept; ++j)
                record[j] = image.at(at + j);
            rights = image.at(at + stored.length - 1);
        }
        record.push_back(rights);
        patch.setBytes(stored.start + (width + 1) * static_cast<std::size_t>(n), record);
    }
    return patch;
}

} // namespace

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
    size = heldWithinTable(size);
    ImagePatch patch;
    if (const auto count = map.offset(Field::CodeCount))
        patch.setWord(*count, static_cast<std::uint16_t>(size.count));
    if (const auto length = map.offset(Field::CodeLength))
        patch.set(*length, static_cast<Byte>(size.digits + 1));
    return patch;
}

ImagePatch reshapedCodeTablePatch(const ConfigImage& image, const MemoryMap& map,
                                  CodeTableShape size) {
    size = heldWithinTable(size);
    ImagePatch patch = codeTableShapePatch(map, size);
    const auto stored = storedTable(image, map);
    if (!stored) return patch;
    patch.append(reshapedRecords(image, *stored, size));
    return withCodeTailBlanked(image, map.model(), std::move(patch));
}

int codesShortenedBy(const ConfigImage& image, const MemoryMap& map, CodeTableShape size) {
    size = heldWithinTable(size);
    const auto stored = storedTable(image, map);
    if (!stored) return 0;
    int shortened = 0;
    for (int n = 0; n < std::min(size.count, stored->count); ++n)
        shortened += codeOf(image, *stored, n).size() > static_cast<std::size_t>(size.digits);
    return shortened;
}

int codesLeftShortBy(const ConfigImage& image, const MemoryMap& map, CodeTableShape size) {
    size = heldWithinTable(size);
    const auto stored = storedTable(image, map);
    if (!stored) return 0;
    int left = 0;
    for (int n = 0; n < std::min(size.count, stored->count); ++n) {
        const std::size_t kept =
            std::min(codeOf(image, *stored, n).size(), static_cast<std::size_t>(size.digits));
        left += kept > 0 && kept < static_cast<std::size_t>(size.digits);
    }
    return left;
}

int codesHeld(const ConfigImage& image, const MemoryMap& map) {
    const auto stored = storedTable(image, map);
    if (!stored) return 0;
    int held = 0;
    for (int n = 0; n < stored->count; ++n)
        held += !codeOf(image, *stored, n).empty();
    return held;
}

namespace {

struct CoTable {
    std::size_t start = 0;
    int storedWidth = 0; // as the window reads the numbers (at most 4)
    int lines = 0;
};

std::optional<CoTable> coTable(const ConfigImage& image, const MemoryMap& map) {
    const auto start = map.offset(Field::CoNumbers);
    const auto width = map.offset(Field::CoWidth);
    if (!start || !width) return std::nullopt;
    return CoTable{*start, coNumberWidth(image.at(*width)), map.lineCount()};
}

std::string withoutPadding(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

ImagePatch coWidthPatch(const ConfigImage& image, const MemoryMap& map, int width) {
    ImagePatch patch;
    const auto table = coTable(image, map);
    if (!table || width < 1 || width > 4) return patch;
    patch.set(*map.offset(Field::CoWidth), static_cast<Byte>(width));
    const auto w = static_cast<std::size_t>(width);
    // The field's bytes past the lines' numbers hold no number at the new width: blanks, not
    // fragments of numbers read at another width.
    patch.fill(table->start, static_cast<std::size_t>(map.width(Field::CoNumbers)), ' ');
    for (int line = 1; line <= table->lines; ++line) {
        std::string number = readCoNumber(image, table->start, table->storedWidth, line);
        number.resize(w, ' ');
        patch.setChars(table->start + w * static_cast<std::size_t>(line - 1), number);
    }
    return patch;
}

std::vector<CoNumberCut> coNumbersCutBy(const ConfigImage& image, const MemoryMap& map, int width) {
    std::vector<CoNumberCut> cuts;
    const auto table = coTable(image, map);
    if (!table || width < 1) return cuts;
    const auto w = static_cast<std::size_t>(width);
    for (int line = 1; line <= table->lines; ++line) {
        const std::string shown =
            withoutPadding(readCoNumber(image, table->start, table->storedWidth, line));
        if (shown.size() > w)
            cuts.push_back({line, RawText(shown), RawText(withoutPadding(shown.substr(0, w)))});
    }
    return cuts;
}

std::string coNumbersShorterQuestion(int count) {
    return std::to_string(count) + " CO szám rövidebb lesz. Folytatja?";
}

std::string coNumberCutText(const CoNumberCut& cut) {
    return std::to_string(cut.line) + ". vonal CO száma: „" + utf8FromCp1250(cut.before) + "” → „" +
           utf8FromCp1250(cut.after) + "”";
}

} // namespace zx
