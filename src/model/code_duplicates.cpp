#include "model/code_duplicates.h"

#include <unordered_map>

namespace zx {

namespace {

// The code characters of the record the store writes, without trailing spaces.
std::string storedCode(std::string_view code, int codeLength) {
    std::string key;
    key = codeLength < 1 ? code : code.substr(0, static_cast<std::size_t>(codeLength) - 1);
    while (!key.empty() && key.back() == ' ')
        key.pop_back();
    return key;
}

} // namespace

DuplicateScan::DuplicateScan(const std::vector<RawText>& codes, int codeLength) {
    std::unordered_map<std::string, int> groupIds;
    groupOf_.reserve(codes.size());
    placeInGroup_.reserve(codes.size());
    for (std::size_t row = 0; row < codes.size(); ++row) {
        const auto [it, added] = groupIds.try_emplace(storedCode(codes[row].view(), codeLength),
                                                      static_cast<int>(groups_.size()));
        if (added) groups_.emplace_back();
        std::vector<int>& group = groups_[static_cast<std::size_t>(it->second)];
        groupOf_.push_back(it->second);
        placeInGroup_.push_back(static_cast<int>(group.size()));
        group.push_back(static_cast<int>(row));
    }
}

std::optional<CodePair> DuplicateScan::next() {
    while (row_ < groupOf_.size()) {
        const std::vector<int>& group = groups_[static_cast<std::size_t>(groupOf_[row_])];
        const std::size_t later = static_cast<std::size_t>(placeInGroup_[row_]) + 1 + partner_;
        if (later < group.size()) {
            ++partner_;
            return CodePair{static_cast<int>(row_) + 1, group[later] + 1};
        }
        ++row_;
        partner_ = 0;
    }
    return std::nullopt;
}

std::vector<std::vector<int>> DuplicateScan::sharedCodes() const {
    std::vector<std::vector<int>> shared;
    for (const std::vector<int>& group : groups_)
        if (group.size() > 1) shared.push_back(group);
    return shared;
}

std::string duplicateMessage(CodePair pair) {
    return "Kód eggyezés:" + std::to_string(pair.first) + " = " + std::to_string(pair.second);
}

} // namespace zx
