#include "files/free_number_file.h"

#include "files/text_lines.h"
#include "model/free_number_list.h"
#include "model/text_encoding.h"

#include <algorithm>

namespace zx {

std::string freeNumberOpenErrorMessage() {
    return "Megnyitási hiba!";
}

std::string freeNumberMaximumMessage(int capacity) {
    return "Maximum " + std::to_string(capacity) +
           " szám lehet a listában, ezért néhány szám beolvasatlan maradt!";
}

FreeNumberImport importFreeNumbers(std::string_view bytes, int listCount, int capacity) {
    const auto room = static_cast<std::size_t>(std::max(capacity - std::max(listCount, 0), 0));
    FreeNumberImport result;
    forEachLine(bytes, [&](std::string_view line) {
        const RawText entry = freeNumberEntry(RawText(line));
        // A line of nothing but spaces would be an empty place of the table: no entry.
        if (entry.view().find_first_not_of(' ') == std::string_view::npos) return true;
        ++result.inFile;
        if (result.entries.size() == room)
            result.truncated = true;
        else
            result.entries.push_back(entry);
        return true;
    });
    if (result.truncated) result.message = freeNumberMaximumMessage(capacity);
    return result;
}

std::string freeNumberOverflowRefusal(const FreeNumberImport& read, int listCount, int capacity) {
    const int room = std::max(capacity - std::max(listCount, 0), 0);
    return "A fájl " + std::to_string(read.inFile) + " számot hoz, a listában " +
           std::to_string(room) + " szabad hely van (legfeljebb " + std::to_string(capacity) +
           " szám): egyetlen számot sem importáltam !!!";
}

std::optional<std::string> freeNumberTextFault(std::string_view bytes) {
    if (const std::string refused = encodingRefusal(bytes); !refused.empty())
        return "A számlista nem tölthető be: " + refused + " !!!";
    std::size_t number = 0;
    std::optional<std::string> fault;
    forEachLine(bytes, [&](std::string_view line) {
        ++number;
        if (const auto refused = freeNumberRefusal(RawText(line)))
            fault = "A számlista nem tölthető be, a fájl " + std::to_string(number) +
                    ". sora: " + refused->message;
        return !fault;
    });
    return fault;
}

Checked<FreeNumberImport> readFreeNumberFile(const QString& path, int listCount, int capacity) {
    const FileReadResult file = readFileBytes(path);
    if (file.status == FileReadStatus::CannotOpen) return Refusal{freeNumberOpenErrorMessage()};
    if (!file.ok()) return Refusal{file.message.toStdString()};
    const std::string_view bytes(file.bytes.constData(),
                                 static_cast<std::size_t>(file.bytes.size()));
    if (auto fault = freeNumberTextFault(bytes)) return Refusal{std::move(*fault)};
    return importFreeNumbers(bytes, listCount, capacity);
}

std::string freeNumberFileBytes(const std::vector<RawText>& entries) {
    return joinLines(entries);
}

FileWriteResult writeFreeNumberFile(const QString& path, const std::vector<RawText>& entries) {
    const std::string bytes = freeNumberFileBytes(entries);
    return writeFileAtomically(path,
                               QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace zx
