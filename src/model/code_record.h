#pragma once
// One record of the code table, as the grid shows it and as the unit keeps it: the code's
// characters padded with spaces to CodeLength - 1, then one rights character. The refill, the
// grid's store and the code list files all go through these two conversions.
#include "model/checked.h"
#include "model/config_image.h"
#include "model/raw_text.h"
#include "model/types.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zx {

struct CodeRowView {
    RawText code; // the CodeLength - 1 characters of the record (a typed code has no padding)
    // 4-line: four cells "Igen"/"Nem" (columns 2..5, local, long-distance, mobile,
    // international); 16-line: one letter T/H/B/M/N (column 2). Only a cell's first letter counts.
    std::vector<std::string> rights;
    bool operator==(const CodeRowView&) const = default;
};

// The grid row of a stored record (codeLength bytes): the code characters as they are, and the
// rights: 4-line bits 0..3 as "Igen"/"Nem"; 16-line the low nibble 0..3 as T/H/B/M, else "N".
CodeRowView decodeCodeRecord(std::span<const Byte> record, DeviceModel model);

// The rights character of a grid row. 4-line: '0' plus 1, 2, 4, 8 for each cell beginning with
// "I"; 16-line: '1'..'4' for H, B, M, N, and '0' for T, an empty cell or any other letter.
Byte rightsCharacter(const CodeRowView& row, DeviceModel model);

// The codeLength bytes of a record written from a grid row: the code padded with spaces to
// codeLength - 1 characters, then the rights character. A code longer than that is cut here, so
// no record runs into the next: the grid's store refuses such a code first (codeGridRefusal).
// Nothing for a codeLength below 1.
std::vector<Byte> encodeCodeRecord(const CodeRowView& row, int codeLength, DeviceModel model);

// A grid row whose code the store would not write as it is: one of its code rows (1-based) and
// why.
struct CodeRowRefusal {
    int row;
    Refusal refusal;
};
// The first row of the grid whose code breaks the code rule (codeRefusal: digits, at most
// CodeLength - 1) among the rows the store writes. A code as its record holds it (what the
// refill showed, trailing spaces and all) is stored as it was, whatever its characters. The
// message names the row: "Kódok / 3. sor: Kód: „12a” nem tárolható, ...".
std::optional<CodeRowRefusal> codeGridRefusal(const ConfigImage& image, DeviceModel model,
                                              const std::vector<CodeRowView>& rows);

// The rights of a code that may call everything: "Igen" four times, or "N".
std::vector<std::string> allRights(DeviceModel model);

} // namespace zx
