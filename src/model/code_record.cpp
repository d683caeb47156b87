#include "model/code_record.h"

#include "model/code_table.h"
#include "model/memory_map.h"
#include "model/value_rules.h"

#include <algorithm>

namespace zx {

namespace {

bool startsWith(const std::string& cell, char c) {
    return !cell.empty() && cell.front() == c;
}

} // namespace

CodeRowView decodeCodeRecord(std::span<const Byte> record, DeviceModel model) {
    CodeRowView row;
    if (record.empty()) return row;
    for (std::size_t j = 0; j + 1 < record.size(); ++j)
        row.code.bytes().push_back(static_cast<char>(record[j]));
    const Byte rights = record.back();
    if (model == DeviceModel::Line4) {
        for (int b = 0; b < 4; ++b)
            row.rights.push_back((rights >> b) & 1 ? "Igen" : "Nem");
    } else {
        static constexpr const char* letters[] = {"T", "H", "B", "M"};
        const int level = rights & 0x0F;
        row.rights.push_back(level < 4 ? letters[level] : "N");
    }
    return row;
}

Byte rightsCharacter(const CodeRowView& row, DeviceModel model) {
    int value = 0;
    if (model == DeviceModel::Line4) {
        for (std::size_t c = 0; c < 4 && c < row.rights.size(); ++c)
            if (startsWith(row.rights[c], 'I')) value |= 1 << c;
    } else if (!row.rights.empty()) {
        static constexpr char levels[] = {'H', 'B', 'M', 'N'};
        for (int level = 0; level < 4; ++level)
            if (startsWith(row.rights.front(), levels[level])) value = level + 1;
    }
    return static_cast<Byte>('0' + value);
}

std::vector<Byte> encodeCodeRecord(const CodeRowView& row, int codeLength, DeviceModel model) {
    if (codeLength < 1) return {};
    const std::size_t width = static_cast<std::size_t>(codeLength) - 1;
    std::vector<Byte> out(width, ' ');
    for (std::size_t j = 0; j < width && j < row.code.size(); ++j)
        out[j] = static_cast<Byte>(row.code.view()[j]);
    out.push_back(rightsCharacter(row, model));
    return out;
}

std::optional<CodeRowRefusal> codeGridRefusal(const ConfigImage& image, DeviceModel model,
                                              const std::vector<CodeRowView>& rows) {
    const MemoryMap& map = MemoryMap::of(model);
    const int codeLength = image.at(*map.offset(Field::CodeLength));
    if (codeLength < 1) return std::nullopt;
    const std::size_t width = static_cast<std::size_t>(codeLength) - 1;
    const std::size_t start = *map.offset(Field::CodeTable);
    const std::size_t written =
        std::min(rows.size(), static_cast<std::size_t>(codeTableCapacity(codeLength)));
    for (std::size_t n = 0; n < written; ++n) {
        const RawText& code = rows[n].code;
        // The record's own code characters, as the refill showed them.
        std::string held(width, ' ');
        for (std::size_t j = 0; j < width; ++j)
            held[j] = static_cast<char>(image.at(start + (width + 1) * n + j));
        std::string shown = code.bytes();
        if (shown.size() < width) shown.append(width - shown.size(), ' ');
        if (shown == held) continue;
        if (auto refused = codeRefusal(code, codeLength)) {
            const int row = static_cast<int>(n) + 1;
            return CodeRowRefusal{
                row, {"Kódok / " + std::to_string(row) + ". sor: " + refused->message}};
        }
    }
    return std::nullopt;
}

std::vector<std::string> allRights(DeviceModel model) {
    if (model == DeviceModel::Line4) return {"Igen", "Igen", "Igen", "Igen"};
    return {"N"};
}

} // namespace zx
