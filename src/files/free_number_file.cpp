#include "files/free_number_file.h"

#include "files/text_lines.h"

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
    result.entries = splitLines(bytes, room, &result.truncated);
    for (RawText& entry : result.entries)
        if (entry.size() < FreeNumberWidth) entry.bytes().resize(FreeNumberWidth, ' ');
    if (result.truncated) result.message = freeNumberMaximumMessage(capacity);
    return result;
}

std::optional<std::string> freeNumberTextFault(std::string_view bytes) {
    std::size_t number = 0;
    std::optional<std::string> fault;
    forEachLine(bytes, [&](std::string_view line) {
        ++number;
        const bool control = std::any_of(line.begin(), line.end(), [](char c) {
            const auto b = static_cast<unsigned char>(c);
            return (b < 0x20 && b != '\t' && b != '\r') || b == 0x7F;
        });
        if (control)
            fault = "A számlista nem tölthető be: vezérlőkarakter van a fájl " +
                    std::to_string(number) + ". sorában !!!";
        return !control;
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
