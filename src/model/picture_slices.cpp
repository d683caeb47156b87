#include "model/picture_slices.h"

#include <algorithm>

namespace zx {

std::vector<RowSpan> pictureSlices(int height, int sliceHeight,
                                   const std::vector<RowSpan>& controls) {
    return pictureSlices(height, sliceHeight, sliceHeight, controls);
}

std::vector<RowSpan> pictureSlices(int height, int firstSliceHeight, int laterSliceHeight,
                                   const std::vector<RowSpan>& controls) {
    std::vector<RowSpan> slices;
    for (int start = 0; start < height;) {
        const int sliceHeight = std::max(slices.empty() ? firstSliceHeight : laterSliceHeight, 1);
        int cut = std::min(start + sliceHeight, height);
        // Moving the cut up to a control's top may put it across a control above: again, until
        // it lies across none that can move it.
        for (bool moved = cut < height; moved;) {
            moved = false;
            for (const RowSpan& c : controls) {
                const bool across = c.top < cut && cut < c.bottom;
                if (across && c.top > start && c.bottom - c.top <= sliceHeight) {
                    cut = c.top;
                    moved = true;
                }
            }
        }
        slices.push_back({start, cut});
        start = cut;
    }
    return slices;
}

} // namespace zx
