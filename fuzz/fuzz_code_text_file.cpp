// Code texts: a text that is read gives codes of digits that fit their records and the table,
// with rights the grid can hold, and is written back to a text that reads as the same codes and
// rights.
#include "code_list_checks.h"
#include "files/code_text_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace zx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        const Checked<CodeList> read = parseCodeTextFile(fuzz::text(data, size), model);
        if (!fuzz::acceptedListFits(read)) continue;
        for (const CodeRowView& row : read->rows) {
            FUZZ_CHECK(row.code.size() + 1 <= static_cast<std::size_t>(read->codeLength));
            for (const char c : row.code.view())
                FUZZ_CHECK(c >= '0' && c <= '9');
            // Rights as the grid holds them: four yes/no cells, or one level letter.
            if (model == DeviceModel::Line4) {
                FUZZ_CHECK(row.rights.size() == 4);
                for (const std::string& cell : row.rights)
                    FUZZ_CHECK(cell == "Igen" || cell == "Nem");
            } else {
                FUZZ_CHECK(row.rights.size() == 1 && row.rights[0].size() == 1 &&
                           std::string_view("THBMN").find(row.rights[0][0]) !=
                               std::string_view::npos);
            }
        }
        const Checked<CodeList> again = parseCodeTextFile(codeTextFileBytes(*read, model), model);
        FUZZ_CHECK(again.ok() && *again == *read);
    }
    return 0;
}
