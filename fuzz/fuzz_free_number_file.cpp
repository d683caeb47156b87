// Free-number files: only text is taken, an import never takes more than the list has room for,
// every entry is at least 16 characters, and what is written reads back the same.
#include "files/free_number_file.h"
#include "fuzz_check.h"
#include "model/free_number_table.h"
#include "model/memory_map.h"

#include <cstddef>
#include <cstdint>

using namespace zx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::text(data, size);
    // What is no text is refused whole; what is taken holds no control character but TAB and CR.
    if (freeNumberTextFault(bytes)) return 0;
    for (DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        const MemoryMap& map = MemoryMap::of(model);
        const int capacity = map.freeNumberCapacity();
        for (int listCount : {0, capacity - 3, capacity, capacity + 5}) {
            const FreeNumberImport read = importFreeNumbers(bytes, listCount, capacity);
            FUZZ_CHECK(static_cast<int>(read.entries.size()) <= std::max(capacity - listCount, 0));
            FUZZ_CHECK(read.truncated == !read.message.empty());
            for (const RawText& entry : read.entries) {
                FUZZ_CHECK(entry.size() >= FreeNumberWidth);
                for (const char c : entry.view())
                    FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\r');
            }
        }
        const FreeNumberImport all = importFreeNumbers(bytes, 0, capacity);
        const FreeNumberImport again =
            importFreeNumbers(freeNumberFileBytes(all.entries), 0, capacity);
        FUZZ_CHECK(again.entries == all.entries && !again.truncated);

        // The store writes the free-number table and nothing else.
        ConfigImage image;
        image.fill(0x5A);
        const ConfigImage before = image;
        writeFreeNumbers(image, model, all.entries);
        const std::size_t start = *map.offset(Field::FreeNumbers);
        const std::size_t end = start + static_cast<std::size_t>(capacity) * FreeNumberWidth;
        for (std::size_t i = 0; i < ImageSize; ++i)
            if (i < start || i >= end) FUZZ_CHECK(image.at(i) == before.at(i));
    }
    return 0;
}
