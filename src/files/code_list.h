#pragma once
// The code table as the code list files carry it: CodeLength, CodeCount and the grid's rows.
// Both file formats read into it and write from it; an import hands it to the window (or the
// command line), which puts the counts and the rows in place and stores them.
#include "model/code_record.h"
#include "model/config_image.h"
#include "model/image_patch.h"

#include <string>
#include <vector>

namespace zx {

struct CodeList {
    int codeLength = 0; // CodeLength: the code's digits + 1
    int codeCount = 0;  // CodeCount
    // Grid rows 1, 2, ...; a writer takes a row it is not given as an empty code without rights.
    std::vector<CodeRowView> rows;
    bool operator==(const CodeList&) const = default;
};

// Record lengths the unit's codes can have: 2 to 8 digits and the rights character.
inline constexpr int MinCodeLength = 3;
inline constexpr int MaxCodeLength = 9;

// The counts and the rows the grid shows for an image.
CodeList codeListOf(const ConfigImage& image, DeviceModel model);

// What an import writes into the image: the list's CodeLength (kept as stored for a list of no
// codes and no length, an empty code text) and CodeCount, then its rows as the grid's store
// writes them (never past the code table; the readers refuse lists that would
// not fit before they get here), and the bytes after them blank (withCodeTailBlanked).
ImagePatch codeListPatch(const ConfigImage& image, const CodeList& list, DeviceModel model);

// "Értelmetlen adat: Kódok hossza:" and the length; a code list cannot be written with it.
std::string meaninglessCodeLengthMessage(int codeLength);
// "Értelmetlen adat: Kódok darabszáma:" and the count.
std::string meaninglessCodeCountMessage(int codeCount);

} // namespace zx
