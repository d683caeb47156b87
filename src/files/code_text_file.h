#pragma once
// The code list as tab-separated text, one code per line. 4-line model: the code, then four
// TAB-separated fields "Helyi", "Táv", "Mobil", "Nemz" each present or empty; 16-line model: the
// code, a TAB and one word for the right level ("Tilt", "Helyi", "Táv", "Mobil", "Nemz", or
// nothing). On reading, the text is UTF-8 when it is valid UTF-8, else Windows-1250 (UTF-16 or a
// mix of the two is refused naming the encoding), and a line is read as the export lays it out:
// after a TAB, an empty rights field is no right (the export's barred code). The rights are read
// from the words people write as well: any letter case, with or without accents, the window's
// words ("Tiltott", "Belföldi", "Nemzetközi", "Igen"/"Nem" under a 4-line column). A line with
// the code alone, without a TAB, gets every right; blanks after a code do not count; a line of
// spaces only is skipped; a line with any other word is refused, naming the line, and nothing
// is read.
#include "files/code_list.h"
#include "files/file_bytes.h"
#include "model/checked.h"

#include <QString>

#include <string>
#include <string_view>

namespace zx {

// One row per line that is not blank, each code the text before the line's first TAB with
// spaces and control characters removed from both ends, its rights read from the fields after
// it (blanks around a word do not count). CodeLength is the longest code's length + 1 and
// CodeCount the number of rows; refused, naming the line, when a code holds anything but digits
// or a field is no rights word, and refused when the longest code has fewer than 2 or more than
// 8 characters, or when the lines would not fit the code table. An empty file is an empty table
// (CodeCount 0, CodeLength 0: the table keeps its length, see codeListPatch).
Checked<CodeList> parseCodeTextFile(std::string_view bytes, DeviceModel model);

// Rows 1 to CodeCount, each code as the grid holds it, then its rights; CR LF after each line.
std::string codeTextFileBytes(const CodeList& list, DeviceModel model);

Checked<CodeList> readCodeTextFile(const QString& path, DeviceModel model);
[[nodiscard]] FileWriteResult writeCodeTextFile(const QString& path, const CodeList& list,
                                                DeviceModel model);

} // namespace zx
