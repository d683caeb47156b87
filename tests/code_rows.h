#pragma once
// Rows of the code table as the grid shows them, written briefly in tests.
#include "model/code_record.h"

#include <string>
#include <utility>
#include <vector>

namespace zx::test {

using Rights = std::vector<std::string>;

inline CodeRowView row(const char* code, Rights rights) {
    return CodeRowView{RawText(code), std::move(rights)};
}

} // namespace zx::test
