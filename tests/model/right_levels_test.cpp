#include "model/right_levels.h"

#include <gtest/gtest.h>

namespace {

TEST(RightLevelWord, FirstLetterNamesTheLevel) {
    const std::pair<const char*, const char*> cases[] = {
        {"T", "Tiltott"},
        {"H", "Helyi"},
        {"B", "Belföldi"},
        {"M", "Mobil"},
        {"N", "Nemzetközi"},
        {"Nem", "Nemzetközi"}, // only the first letter counts
        {"Igen", ""},
        {"t", ""},
        {"", ""},
        {"X", ""},
    };
    for (const auto& [cell, word] : cases)
        EXPECT_EQ(zx::rightLevelWord(cell), word) << '"' << cell << '"';
}

} // namespace
