#pragma once
// The free-number list as a text file: one list entry per line, nothing else. A line is taken
// as it is (not trimmed, not cut), only filled up with spaces to 16 characters when it is
// shorter; an entry is written exactly as the list holds it. A file that is not text (a NUL
// byte, a control character other than CR, LF and TAB) is refused whole.
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
};

// What a list of `capacity` places that already holds `listCount` entries gains from the file's
// bytes: its first lines, as many as there is room for, and the maximum message when lines are
// left over. Lines beyond the room are not even looked at.
FreeNumberImport importFreeNumbers(std::string_view bytes, int listCount, int capacity);

// Why the bytes are no free-number text, naming the first line that holds a NUL byte or a control
// character other than CR, LF and TAB; nothing for text.
std::optional<std::string> freeNumberTextFault(std::string_view bytes);

// The same from a file; "Megnyitási hiba!" when it cannot be opened, the system's error text
// when it cannot be read, the text fault when it is not text.
Checked<FreeNumberImport> readFreeNumberFile(const QString& path, int listCount, int capacity);

std::string freeNumberFileBytes(const std::vector<RawText>& entries);
[[nodiscard]] FileWriteResult writeFreeNumberFile(const QString& path,
                                                  const std::vector<RawText>& entries);

} // namespace zx
