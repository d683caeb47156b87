#pragma once
// The duplicate check of the code grid: pairs of rows whose codes the unit would take for the
// same code, in the order the operator is told of them (row i, then each later row j).
#include "model/raw_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zx {

struct CodePair {
    int first;  // grid row, 1-based
    int second; // a later grid row
    bool operator==(const CodePair&) const = default;
};

// Two codes are the same when the records the store writes for them hold the same code: cut
// to CodeLength - 1 characters, trailing spaces not counted. So a typed 123 and a stored "123   "
// are one code.
class DuplicateScan {
  public:
    DuplicateScan(const std::vector<RawText>& codes, int codeLength);
    // The next pair, or nothing when every pair has been given.
    std::optional<CodePair> next();
    // The rows (0-based, ascending) of each code that more than one row holds, in the order of
    // each code's first row; a blank code's rows among them.
    std::vector<std::vector<int>> sharedCodes() const;

  private:
    std::vector<std::vector<int>> groups_; // rows (0-based) of each distinct code, ascending
    std::vector<int> groupOf_;             // by row
    std::vector<int> placeInGroup_;        // by row
    std::size_t row_ = 0;
    std::size_t partner_ = 0; // how many partners of row_ were given
};

// "Kód eggyezés:3 = 17"
std::string duplicateMessage(CodePair pair);
inline constexpr std::string_view NoDuplicatesMessage = "Nincs két egyforma kód !";

} // namespace zx
