#include "model/code_table_store.h"

#include "model/code_table.h"
#include "model/memory_map.h"
#include "model/model_recognition.h"

#include <algorithm>

namespace zx {

namespace {

struct TableState {
    std::size_t countOffset;
    std::size_t tableStart;
    int codeLength;
    int codeCount;
};

TableState tableState(const ConfigImage& image, DeviceModel model) {
    const MemoryMap& map = MemoryMap::of(model);
    TableState s{};
    s.countOffset = *map.offset(Field::CodeCount);
    s.tableStart = *map.offset(Field::CodeTable);
    s.codeLength = image.at(*map.offset(Field::CodeLength));
    s.codeCount = image.word(s.countOffset);
    return s;
}

} // namespace

ImagePatch withCodeTailBlanked(const ConfigImage& image, DeviceModel model, ImagePatch change) {
    if (!layoutFit(image, model).fits()) return change;
    ConfigImage after = image;
    change.applyTo(after);
    const TableState s = tableState(after, model);
    const int records = std::clamp(s.codeCount, 0, codeTableCapacity(s.codeLength));
    for (std::size_t at = s.tableStart + static_cast<std::size_t>(records * s.codeLength);
         at < ImageSize; ++at)
        if (after.at(at) != ' ') change.set(at, ' ');
    return change;
}

ImagePatch storeCodeGrid(const ConfigImage& image, DeviceModel model,
                         const std::vector<CodeRowView>& rows) {
    return withCodeTailBlanked(image, model, codeRecordsPatch(image, model, rows));
}

ImagePatch codeRecordsPatch(const ConfigImage& image, DeviceModel model,
                            const std::vector<CodeRowView>& rows) {
    const TableState s = tableState(image, model);
    const int rowCount = static_cast<int>(rows.size());
    const int count = std::min(std::max(s.codeCount, rowCount), codeTableCapacity(s.codeLength));

    ImagePatch patch;
    if (count != s.codeCount) patch.setWord(s.countOffset, static_cast<std::uint16_t>(count));
    const std::size_t length = static_cast<std::size_t>(s.codeLength);
    const int written = std::min(count, rowCount);
    for (int n = 0; n < written; ++n) {
        const std::vector<Byte> record =
            encodeCodeRecord(rows[static_cast<std::size_t>(n)], s.codeLength, model);
        patch.setBytes(s.tableStart + length * static_cast<std::size_t>(n), record);
    }
    return patch;
}

bool mayGrowCodeRows(int codeRows, int codeLength) {
    return codeRows < codeTableCapacity(codeLength);
}

bool mayDropLastCodeRow(int codeRows) {
    return codeRows > 1;
}

ImagePatch codeCountPatch(const ConfigImage& image, DeviceModel model, int count) {
    ImagePatch patch;
    patch.setWord(*MemoryMap::of(model).offset(Field::CodeCount),
                  static_cast<std::uint16_t>(std::clamp(count, 0, 0xFFFF)));
    return withCodeTailBlanked(image, model, std::move(patch));
}

ImagePatch droppedRowPatch(const ConfigImage& image, DeviceModel model, int codeRowsLeft) {
    const TableState s = tableState(image, model);
    return codeCountPatch(image, model, std::min(s.codeCount - 1, codeRowsLeft));
}

std::string codeCountPanelText(int codeRows, int codeLength) {
    return std::to_string(codeRows) + "/" + std::to_string(std::max(codeLength - 1, 0));
}

std::optional<std::string> codeCountOverflowNote(int codeCount, int codeLength) {
    const int capacity = codeTableCapacity(codeLength);
    if (codeCount <= capacity) return std::nullopt;
    return "Kódok darabszáma:" + std::to_string(codeCount) + ", de a kódtáblában csak " +
           std::to_string(capacity) + " kód fér el, csak ezek látszanak !";
}

} // namespace zx
