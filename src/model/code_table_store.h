#pragma once
// Writing the code grid into the code table, and the changes of CodeCount that the grid makes
// on its own (growing with the Down arrow, dropping its last row). Every function gives the
// bytes as one patch; nothing is ever written past the end of the image: a CodeCount that does
// not fit the table for the CodeLength in force is kept to what fits. Every change of the table
// or of its count leaves the bytes after the last record blank (withCodeTailBlanked).
#include "model/code_record.h"
#include "model/config_image.h"
#include "model/image_patch.h"

#include <optional>
#include <string>
#include <vector>

namespace zx {

// Every change of the code table or of its count (the grid's store, growth, the dropped row, the
// preferences, the imports, `set`, generation) ends with this: `change` on `image`, followed by
// the bytes from the end of the last record (CodeCount records of CodeLength bytes, as the
// change leaves them) to the end of the table set to 20h, as a new configuration holds them, so
// that neither the file nor the unit keeps a code removed from the table, and a grown table shows
// empty rows. Only bytes that are not 20h already are added. Nothing is added while the image is
// read as a model whose layout it does not fit (layoutFit of `image`): its count and length are
// then other settings' bytes.
ImagePatch withCodeTailBlanked(const ConfigImage& image, DeviceModel model, ImagePatch change);

// The grid's rows written as records 1.. of the stored CodeLength, without the rest of the store
// (for a change that lays out the count and length itself, then blanks the tail).
ImagePatch codeRecordsPatch(const ConfigImage& image, DeviceModel model,
                            const std::vector<CodeRowView>& rows);

// The store of the grid (storeGrid). rows are the grid's code rows, row 1 first. The
// count c is CodeCount, raised to the number of rows when the grid holds more, never lowered;
// a c larger than the table holds for the stored CodeLength becomes the table's capacity.
// Records 1..c are written with the stored CodeLength from the rows; records that have no row
// (c above the number of rows) keep their bytes. CodeCount is written when c differs from it;
// the tail after record c is blanked.
ImagePatch storeCodeGrid(const ConfigImage& image, DeviceModel model,
                         const std::vector<CodeRowView>& rows);

// Whether the Down arrow on the last row may add one more: up to the table's full capacity.
bool mayGrowCodeRows(int codeRows, int codeLength);
// Whether Ctrl+Delete on the last row may remove it: one code row always stays.
bool mayDropLastCodeRow(int codeRows);

// CodeCount set to count (a grown grid sets it to its new number of code rows), the tail
// blanked.
ImagePatch codeCountPatch(const ConfigImage& image, DeviceModel model, int count);
// After Ctrl+Delete left codeRowsLeft rows: CodeCount one lower, and never above the rows left,
// so the dropped code is neither written again by the store nor shown again by the refill; its
// record is blanked with the rest of the tail.
ImagePatch droppedRowPatch(const ConfigImage& image, DeviceModel model, int codeRowsLeft);

// Status panel 1: code rows, "/", code digits ("25/6").
std::string codeCountPanelText(int codeRows, int codeLength);

// What the refill tells the operator once when the stored CodeCount is more than the table
// holds for the stored CodeLength, so that only the first codes are shown; nothing otherwise.
std::optional<std::string> codeCountOverflowNote(int codeCount, int codeLength);

} // namespace zx
