// The duplicate check of the code grid.
#include "model/code_duplicates.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

std::vector<CodePair> allPairs(const std::vector<RawText>& codes, int codeLength) {
    DuplicateScan scan(codes, codeLength);
    std::vector<CodePair> pairs;
    while (const std::optional<CodePair> p = scan.next())
        pairs.push_back(*p);
    return pairs;
}

std::vector<RawText> numbered(int n) {
    std::vector<RawText> codes;
    for (int i = 0; i < n; ++i)
        codes.emplace_back(std::to_string(100000 + i));
    return codes;
}

TEST(CodeDuplicates, PairsInTheOrderTheyAreReported) {
    std::vector<RawText> codes = numbered(20);
    codes[16] = codes[2];
    EXPECT_EQ(allPairs(codes, 7), (std::vector<CodePair>{{3, 17}}));
    EXPECT_EQ(duplicateMessage({3, 17}), "Kód eggyezés:3 = 17");

    codes = {RawText("11"), RawText("22"), RawText("11"), RawText("22"), RawText("11")};
    EXPECT_EQ(allPairs(codes, 3), (std::vector<CodePair>{{1, 3}, {1, 5}, {2, 4}, {3, 5}}));
    EXPECT_TRUE(allPairs(numbered(1024), 7).empty());
    EXPECT_EQ(NoDuplicatesMessage, "Nincs két egyforma kód !");
}

TEST(CodeDuplicates, CodesAreComparedAsTheUnitGetsThem) {
    // A typed code and the same code read back from the image with its padding.
    EXPECT_EQ(allPairs({RawText("123"), RawText("123   ")}, 7), (std::vector<CodePair>{{1, 2}}));
    // Leading spaces count.
    EXPECT_TRUE(allPairs({RawText("123"), RawText(" 123")}, 7).empty());
    // Cut to the length in force: four digits now.
    EXPECT_EQ(allPairs({RawText("123456"), RawText("123499")}, 5), (std::vector<CodePair>{{1, 2}}));
    // A one-character code is stored as itself, not blank as a blank cell is.
    EXPECT_TRUE(allPairs({RawText("7"), RawText(" ")}, 7).empty());
    EXPECT_EQ(allPairs({RawText("7"), RawText("7     ")}, 7), (std::vector<CodePair>{{1, 2}}));
}

} // namespace
} // namespace zx
