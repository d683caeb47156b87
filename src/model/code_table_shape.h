#pragma once
// The size of the code table as the preferences edit it: how many codes there are (CodeCount)
// and how many digits each has (CodeLength - 1), with the count held within what the table
// allows for that many digits. Beside it the CO numbers' width (CoWidth), which lays its table
// out anew by the same rule: what is shown is what is kept, cut or padded to the new width.
#include "model/image_patch.h"
#include "model/memory_map.h"
#include "model/raw_text.h"

#include <string>
#include <vector>

namespace zx {

inline constexpr int MinCodeDigits = 2;
inline constexpr int MaxCodeDigits = 8;

struct CodeTableShape {
    int count = 0;
    int digits = 6;
    bool operator==(const CodeTableShape&) const = default;
};

// The digits held within 2..8 and the count within 0..codeCountLimit(digits): a count above
// the limit is lowered to it (fewer digits were chosen, or the image holds more).
CodeTableShape withinLimits(CodeTableShape size);

// What the preferences show for the image: CodeLength - 1 within 2..8, and the codes the table
// holds: CodeCount as far as records of CodeLength bytes fit the table (as many rows as the
// grid shows). The count is not lowered to the preferences' limit, so that closing the
// preferences untouched keeps every code. A model without the fields shows the defaults (no
// codes, six digits).
CodeTableShape storedCodeTableShape(const ConfigImage& image, const MemoryMap& map);

// The largest count the preferences offer for `digits`: the limit of that many digits, or the
// codes already stored when more are there with the same digits.
int offeredCountLimit(int digits, CodeTableShape stored);

// How many of the stored codes a chosen count leaves out of the table.
int codesDroppedBy(int chosenCount, CodeTableShape stored);

// The bytes that store the size: CodeCount low byte first, then the high byte (at most as many
// records as the table holds for that many digits); CodeLength = digits + 1 (within 2..8). The
// code records themselves are not touched.
ImagePatch codeTableShapePatch(const MemoryMap& map, CodeTableShape size);

// The size stored and the code table laid out anew for it, so that the records always match
// CodeLength: records 1..count in the new record length, each from the stored record of the
// same number: its first characters up to the new digits (a shorter code padded with spaces, as
// every record is; no digit is made up), then its rights character as it was. Records past the
// codes stored become empty codes without rights (spaces, then '0'). The bytes past the new
// count are blanked (withCodeTailBlanked).
ImagePatch reshapedCodeTablePatch(const ConfigImage& image, const MemoryMap& map,
                                  CodeTableShape size);

// How many of the codes the new size keeps lose characters: those whose text, without the
// blanks that pad it, is longer than the new digits.
int codesShortenedBy(const ConfigImage& image, const MemoryMap& map, CodeTableShape size);

// How many of the codes the new size keeps are not blank and hold fewer characters than its
// digits (padded with blanks): the unit accepts such a code only once it is typed again or
// generated at the new length.
int codesLeftShortBy(const ConfigImage& image, const MemoryMap& map, CodeTableShape size);

// How many of the stored codes are not blank (the codes a new table would replace).
int codesHeld(const ConfigImage& image, const MemoryMap& map);

// ---- CO width ----

// A CO number that a new width shortens: its line (from 1), the number as shown and as kept.
struct CoNumberCut {
    int line = 0;
    RawText before; // without the blanks that pad it
    RawText after;
    bool operator==(const CoNumberCut&) const = default;
};

// CoWidth set to `width` (1..4) and CoNumbers laid out anew for it: each line's number as the
// window shows it (read with the stored width) becomes its first `width` characters, a shorter
// one padded with blanks, at CoNumbers + width * (line - 1); the field's bytes past the lines'
// numbers become blanks. Nothing for a width outside 1..4 or a model without the fields.
ImagePatch coWidthPatch(const ConfigImage& image, const MemoryMap& map, int width);

// The numbers `width` shortens: those whose characters, without the blanks that pad them, are
// more than `width`.
std::vector<CoNumberCut> coNumbersCutBy(const ConfigImage& image, const MemoryMap& map, int width);

// The window's question before numbers are shortened: "2 CO szám rövidebb lesz. Folytatja?"
std::string coNumbersShorterQuestion(int count);

// What the command line says of a number it shortened: "3. vonal CO száma: „0102” → „01”".
std::string coNumberCutText(const CoNumberCut& cut);

} // namespace zx
