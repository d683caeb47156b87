// A window's page printed over several sheets: the cuts fall between controls.
#include "model/picture_slices.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(PictureSlices, CutsFallAboveTheControlsThatWouldBeCut) {
    using S = std::vector<RowSpan>;
    const struct {
        const char* what;
        int height, sliceHeight;
        S controls, slices;
        int laterSliceHeight = -1; // the same as the first's
    } cases[] = {
        {"fits on one page", 80, 100, {{10, 30}}, {{0, 80}}},
        {"exactly one page", 100, 100, {}, {{0, 100}}},
        {"nothing to print", 0, 100, {}, {}},
        {"no control across the cut",
         250,
         100,
         {{10, 90}, {100, 190}},
         {{0, 100}, {100, 200}, {200, 250}}},
        {"a control across the cut goes to the next page",
         250,
         100,
         {{90, 110}},
         {{0, 90}, {90, 190}, {190, 250}}},
        {"the cut moves up past controls that overlap",
         200,
         100,
         {{80, 95}, {90, 120}},
         {{0, 80}, {80, 180}, {180, 200}}},
        {"a control at the slice's start is cut",
         150,
         50,
         {{0, 80}},
         {{0, 50}, {50, 100}, {100, 150}}},
        {"a control taller than a page is cut",
         300,
         100,
         {{50, 260}, {190, 210}},
         {{0, 100}, {100, 190}, {190, 290}, {290, 300}}},
        {"a zero page height still moves on", 3, 0, {}, {{0, 1}, {1, 2}, {2, 3}}},
        {"later sheets, room for a heading", 250, 100, {}, {{0, 100}, {100, 180}, {180, 250}}, 80},
        {"their cuts move up too", 250, 100, {{170, 190}}, {{0, 100}, {100, 170}, {170, 250}}, 80},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.laterSliceHeight < 0
                      ? pictureSlices(c.height, c.sliceHeight, c.controls)
                      : pictureSlices(c.height, c.sliceHeight, c.laterSliceHeight, c.controls),
                  c.slices)
            << c.what;
}

} // namespace
} // namespace zx
