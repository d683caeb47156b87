#include "files/code_list.h"

#include "model/code_table.h"
#include "model/editor_view.h"
#include "model/memory_map.h"

#include <algorithm>

namespace zx {

CodeList codeListOf(const ConfigImage& image, DeviceModel model) {
    EditorView view = decodeForEditors(image, model);
    return CodeList{view.codeLength, view.codeCount, std::move(view.codes)};
}

ImagePatch codeListPatch(const CodeList& list, DeviceModel model) {
    const MemoryMap& map = MemoryMap::of(model);
    ImagePatch patch;
    patch.set(*map.offset(Field::CodeLength), static_cast<Byte>(list.codeLength));
    patch.setWord(*map.offset(Field::CodeCount), static_cast<std::uint16_t>(list.codeCount));
    const int records = std::min(list.codeCount, codeTableCapacity(list.codeLength));
    const std::size_t start = *map.offset(Field::CodeTable);
    const CodeRowView empty;
    for (int n = 0; n < records; ++n) {
        const auto i = static_cast<std::size_t>(n);
        const CodeRowView& row = i < list.rows.size() ? list.rows[i] : empty;
        patch.setBytes(start + i * static_cast<std::size_t>(list.codeLength),
                       encodeCodeRecord(row, list.codeLength, model));
    }
    return patch;
}

std::string meaninglessCodeLengthMessage(int codeLength) {
    return "Értelmetlen adat: Kódok hossza:" + std::to_string(codeLength);
}

std::string meaninglessCodeCountMessage(int codeCount) {
    return "Értelmetlen adat: Kódok darabszáma:" + std::to_string(codeCount);
}

} // namespace zx
