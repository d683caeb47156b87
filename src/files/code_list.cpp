#include "files/code_list.h"

#include "model/code_table_store.h"
#include "model/editor_view.h"
#include "model/memory_map.h"

namespace zx {

CodeList codeListOf(const ConfigImage& image, DeviceModel model) {
    EditorView view = decodeForEditors(image, model);
    return CodeList{view.codeLength, view.codeCount, std::move(view.codes)};
}

ImagePatch codeListPatch(const ConfigImage& image, const CodeList& list, DeviceModel model) {
    const MemoryMap& map = MemoryMap::of(model);
    ImagePatch patch;
    // A list without codes that names no length (an empty code text) keeps the table's.
    const std::size_t lengthAt = *map.offset(Field::CodeLength);
    const bool keepLength = list.codeLength == 0 && list.codeCount == 0;
    patch.set(lengthAt, keepLength ? image.at(lengthAt) : static_cast<Byte>(list.codeLength));
    patch.setWord(*map.offset(Field::CodeCount), static_cast<std::uint16_t>(list.codeCount));
    // The rows then go in as the grid's store puts them, with the list's length and count, and
    // no code of the table before stays after them.
    ConfigImage counted = image;
    patch.applyTo(counted);
    patch.append(codeRecordsPatch(counted, model, list.rows));
    return withCodeTailBlanked(image, model, std::move(patch));
}

std::string meaninglessCodeLengthMessage(int codeLength) {
    return "Értelmetlen adat: Kódok hossza:" + std::to_string(codeLength);
}

std::string meaninglessCodeCountMessage(int codeCount) {
    return "Értelmetlen adat: Kódok darabszáma:" + std::to_string(codeCount);
}

} // namespace zx
