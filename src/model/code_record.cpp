#include "model/code_record.h"

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
    if (row.code.size() >= 2)
        for (std::size_t j = 0; j < width && j < row.code.size(); ++j)
            out[j] = static_cast<Byte>(row.code.view()[j]);
    out.push_back(rightsCharacter(row, model));
    return out;
}

std::vector<std::string> allRights(DeviceModel model) {
    if (model == DeviceModel::Line4) return {"Igen", "Igen", "Igen", "Igen"};
    return {"N"};
}

} // namespace zx
