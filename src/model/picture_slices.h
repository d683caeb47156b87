#pragma once
// A picture taller than a page, cut into page-high slices where no control is cut in two.
#include <vector>

namespace zx {

// Rows of a picture from top (inclusive) to bottom (exclusive).
struct RowSpan {
    int top = 0;
    int bottom = 0;
    bool operator==(const RowSpan&) const = default;
};

// The slices of a picture `height` rows high, each at most `sliceHeight` rows: a slice ends
// where the next would begin a page, or higher, at the top of a control lying across that cut.
// A control that starts where the slice starts, or that is taller than a slice, is cut where it
// must be. Nothing for an empty picture; one slice when it fits.
std::vector<RowSpan> pictureSlices(int height, int sliceHeight,
                                   const std::vector<RowSpan>& controls);
// The same with slices after the first at most `laterSliceHeight` rows (the rest of their sheet
// carries something repeated on every sheet, such as column headings).
std::vector<RowSpan> pictureSlices(int height, int firstSliceHeight, int laterSliceHeight,
                                   const std::vector<RowSpan>& controls);

} // namespace zx
