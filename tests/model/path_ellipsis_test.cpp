#include "model/path_ellipsis.h"

#include <gtest/gtest.h>

namespace {

// A panel that takes texts of at most width characters.
std::string shorten(std::string_view path, std::size_t width) {
    return zx::ellipsizePath(path, [width](std::string_view s) { return s.size() <= width; });
}

struct Case {
    const char* path;
    std::size_t width;
    const char* shown;
};

class PathEllipsis : public ::testing::TestWithParam<Case> {};

TEST_P(PathEllipsis, LeadingDirectoriesGiveWayUntilItFits) {
    const Case& c = GetParam();
    EXPECT_EQ(shorten(c.path, c.width), c.shown) << c.path << " in " << c.width;
}

INSTANTIATE_TEST_SUITE_P(Paths, PathEllipsis,
                         ::testing::Values(
                             // Fitting paths stay whole.
                             Case{"/home/op/zx/site.vd1", 40, "/home/op/zx/site.vd1"},
                             Case{"Új", 1, "Új"}, // no directory to give way, even when too wide
                             Case{"site.vd1", 3, "site.vd1"},
                             // Directories go from the left, the root stays.
                             Case{"/home/op/zx/site.vd1", 19, "/.../op/zx/site.vd1"},
                             Case{"/home/op/zx/site.vd1", 16, "/.../zx/site.vd1"},
                             Case{"/home/op/zx/site.vd1", 13, "/.../site.vd1"},
                             // Then the root goes as well; the file name is never cut.
                             Case{"/home/op/zx/site.vd1", 12, ".../site.vd1"},
                             Case{"/home/op/zx/site.vd1", 5, ".../site.vd1"},
                             // Drive letters and backslashes.
                             Case{"C:\\Zendrax\\adat\\ugyfel.vd1", 20, "C:\\...\\ugyfel.vd1"},
                             Case{"C:\\Zendrax\\adat\\ugyfel.vd1", 22,
                                  "C:\\...\\adat\\ugyfel.vd1"}));

// A relative path has no root to keep.
TEST(PathEllipsisRule, RelativePathLosesFirstDirectoryFirst) {
    EXPECT_EQ(shorten("adat/2024/ugyfel.vd1", 19), ".../2024/ugyfel.vd1");
    EXPECT_EQ(shorten("adat/2024/ugyfel.vd1", 18), ".../ugyfel.vd1");
}

TEST(PathEllipsisRule, MultiByteNamesStayWhole) {
    // Only ASCII separators are cut at, so UTF-8 letters survive intact.
    EXPECT_EQ(shorten("/Ügyfelek/Győr/telephely.vd1", 24), "/.../Győr/telephely.vd1");
}

TEST(PathEllipsisRule, AsksTheMeasureOnlyUntilSomethingFits) {
    std::vector<std::string> asked;
    const std::string shown = zx::ellipsizePath("/a/b/c/d.vd1", [&](std::string_view s) {
        asked.emplace_back(s);
        return s.size() <= 10;
    });
    EXPECT_EQ(shown, "/.../d.vd1");
    EXPECT_EQ(asked, (std::vector<std::string>{"/a/b/c/d.vd1", "/.../b/c/d.vd1", "/.../c/d.vd1",
                                               "/.../d.vd1"}));
}

} // namespace
