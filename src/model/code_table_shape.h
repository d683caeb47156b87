#pragma once
// The size of the code table as the preferences edit it: how many codes there are (CodeCount)
// and how many digits each has (CodeLength - 1), with the count held within what the table
// allows for that many digits.
#include "model/image_patch.h"
#include "model/memory_map.h"

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
// codes stored become empty codes without rights (spaces, then '0'). Records past the new count
// keep their bytes.
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

} // namespace zx
