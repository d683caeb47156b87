// Binary code lists: a list that is read fits the code table, its import writes nowhere else,
// and it is written back to a file that reads as the same list.
#include "code_list_checks.h"
#include "files/code_list_file.h"
#include "model/memory_map.h"

#include <cstddef>
#include <cstdint>

using namespace zx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        const Checked<CodeList> read = parseCodeListFile(fuzz::text(data, size), model);
        if (!fuzz::acceptedListFits(read)) continue;

        const Checked<std::string> written = codeListFileBytes(*read, model);
        FUZZ_CHECK(written.ok());
        const Checked<CodeList> again = parseCodeListFile(*written, model);
        FUZZ_CHECK(again.ok() && *again == *read);

        // Only CodeLength, CodeCount and the code table take the import.
        const MemoryMap& map = MemoryMap::of(model);
        ConfigImage image;
        image.fill(0xA5);
        const ConfigImage before = image;
        codeListPatch(image, *read, model).applyTo(image);
        const std::size_t length = *map.offset(Field::CodeLength);
        const std::size_t count = *map.offset(Field::CodeCount);
        for (std::size_t i = 0; i < ImageSize; ++i)
            if (i < CodeTableStart && i != length && i != count && i != count + 1)
                FUZZ_CHECK(image.at(i) == before.at(i));
    }
    return 0;
}
