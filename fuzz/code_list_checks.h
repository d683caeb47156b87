#pragma once
// What every code list a reader accepts must be, whichever file format it came from.
#include "files/code_list.h"
#include "fuzz_check.h"
#include "model/checked.h"
#include "model/code_table.h"

namespace zx::fuzz {

// Refused with a message, or a list that fits the code table with one row per code. True when
// the list was accepted and further checks apply.
inline bool acceptedListFits(const Checked<CodeList>& read) {
    if (!read) {
        FUZZ_CHECK(!read.message().empty());
        return false;
    }
    // An empty code text is an empty table that names no length (the table keeps its own).
    if (read->codeCount == 0 && read->codeLength == 0 && read->rows.empty()) return true;
    FUZZ_CHECK(read->codeLength >= MinCodeLength && read->codeLength <= MaxCodeLength);
    FUZZ_CHECK(read->codeCount <= codeTableCapacity(read->codeLength));
    FUZZ_CHECK(read->rows.size() == static_cast<std::size_t>(read->codeCount));
    return true;
}

} // namespace zx::fuzz
