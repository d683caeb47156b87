#pragma once
// The free-number list as a text file: one list entry per line, nothing else. A line becomes
// the entry the "Uj szám" command makes of a typed number: its spaces taken out, filled up with
// spaces to 16 characters; a line of spaces only is no entry. An entry is written exactly as the
// list holds it, so an exported list imports back as it was. A file with a line that is no
// number the unit can dial (more than 16 characters, letters, control bytes) is refused whole,
// naming the line.
#include "files/file_bytes.h"
#include "model/checked.h"
#include "model/raw_text.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zx {

inline constexpr std::size_t FreeNumberWidth = 16;

// "Megnyitási hiba!": the file cannot be opened.
std::string freeNumberOpenErrorMessage();
// "Maximum 208 szám lehet a listában, ezért néhány szám beolvasatlan maradt!"
std::string freeNumberMaximumMessage(int capacity);

struct FreeNumberImport {
    std::vector<RawText> entries; // what the list gains, in file order
    bool truncated = false;       // lines were left over for want of room
    std::string message;          // the maximum message when truncated
    int inFile = 0;               // the numbers the file holds
};

// What a list of `capacity` places that already holds `listCount` entries gains from the file's
// bytes: the entries of its first lines, as many as there is room for, and the maximum message
// when numbers are left over.
FreeNumberImport importFreeNumbers(std::string_view bytes, int listCount, int capacity);

// What an import that takes a file whole or not at all says of a file that does not fit: the
// numbers it holds, the room left, and that nothing was imported.
std::string freeNumberOverflowRefusal(const FreeNumberImport& read, int listCount, int capacity);

// Why the bytes are no free-number list: UTF-16 or mixed encodings (encodingRefusal), or the
// first line that is no number (freeNumberRefusal), by its number; nothing for a list.
std::optional<std::string> freeNumberTextFault(std::string_view bytes);

// The same from a file; "Megnyitási hiba!" when it cannot be opened, the system's error text
// when it cannot be read, the text fault when it is not text.
Checked<FreeNumberImport> readFreeNumberFile(const QString& path, int listCount, int capacity);

std::string freeNumberFileBytes(const std::vector<RawText>& entries);
[[nodiscard]] FileWriteResult writeFreeNumberFile(const QString& path,
                                                  const std::vector<RawText>& entries);

} // namespace zx
