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

Checked<FreeNumberImport> readFreeNumberFile(const QString& path, int listCount, int capacity) {
    const FileReadResult file = readFileBytes(path);
    if (file.status == FileReadStatus::CannotOpen) return Refusal{freeNumberOpenErrorMessage()};
    if (!file.ok()) return Refusal{file.message.toStdString()};
    return importFreeNumbers(
        std::string_view(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size())),
        listCount, capacity);
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
