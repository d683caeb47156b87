// Code generation: its refusals, the range and its scaling, leading zeros and uniqueness.
#include "model/code_generation.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

namespace zx {
namespace {

// Answers from a script, then the last answer again and again.
class ScriptedRandom : public RandomSource {
  public:
    explicit ScriptedRandom(std::deque<std::uint32_t> answers) : answers_(std::move(answers)) {}
    std::uint32_t below(std::uint32_t bound) override {
        bounds.push_back(bound);
        const std::uint32_t r = answers_.front();
        if (answers_.size() > 1) answers_.pop_front();
        return r;
    }
    std::vector<std::uint32_t> bounds;

  private:
    std::deque<std::uint32_t> answers_;
};

bool allDigits(const RawText& code, std::size_t digits) {
    if (code.size() != digits) return false;
    for (const char c : code.view())
        if (c < '0' || c > '9') return false;
    return true;
}

void expectDistinctCodes(int count, int codeLength) {
    ClockSeededRandom random;
    const Checked<std::vector<RawText>> codes = generateCodes(count, codeLength, random);
    ASSERT_TRUE(codes) << codes.message();
    ASSERT_EQ(codes->size(), static_cast<std::size_t>(count));
    const std::set<RawText> distinct(codes->begin(), codes->end());
    EXPECT_EQ(distinct.size(), codes->size());
    for (const RawText& code : *codes)
        ASSERT_TRUE(allDigits(code, static_cast<std::size_t>(codeLength - 1))) << code;
}

TEST(CodeGeneration, DistinctCodesOfExactlyTheirDigits) {
    expectDistinctCodes(438, 7);
    expectDistinctCodes(10, 3);
    // Every two-digit code there is, and every four-digit code the table takes.
    expectDistinctCodes(100, 3);
    expectDistinctCodes(614, 5);
}

TEST(CodeGeneration, RefusalsNameTheCountOrTheLength) {
    ClockSeededRandom random;
    const struct {
        int count, length;
        const char* message;
    } refused[] = {
        {615, 7, "Értelmetlen adat: Kódok darabszáma:615"},
        {615, 2, "Értelmetlen adat: Kódok darabszáma:615"}, // the count is looked at first
        {10, 2, "Értelmetlen adat: Kódok hossza:2"},
        {10, 10, "Értelmetlen adat: Kódok hossza:10"},
        // More codes than two digits can make: refused instead of searched for ever.
        {101, 3, "Értelmetlen adat: Kódok darabszáma:101"},
    };
    for (const auto& r : refused) {
        const Checked<CodeGenerator> run = CodeGenerator::start(r.count, r.length, random);
        ASSERT_FALSE(run) << r.count << " " << r.length;
        EXPECT_EQ(run.message(), r.message);
    }
}

TEST(CodeGeneration, FiveDigitsAndMoreDrawFromAScaledRange) {
    const struct {
        int length;
        std::uint32_t r;
        const char* code;
    } cases[] = {
        {3, 7, "07"},        {5, 0, "0000"},   {5, 9999, "9999"},    {6, 1, "00002"},
        {6, 32768, "50001"}, {7, 1, "000015"}, {7, 65534, "999985"}, {9, 65534, "99998474"},
    };
    for (const auto& c : cases) {
        ScriptedRandom random({c.r});
        Checked<CodeGenerator> run = CodeGenerator::start(1, c.length, random);
        ASSERT_TRUE(run);
        EXPECT_EQ(run.value().next(), c.code) << c.length << " " << c.r;
        EXPECT_EQ(random.bounds.front(), c.length >= 6 ? 65535u : (c.length == 3 ? 100u : 10000u));
    }
}

TEST(CodeGeneration, ARepeatedDrawIsDrawnAgain) {
    ScriptedRandom random({5, 5, 5, 7});
    Checked<CodeGenerator> run = CodeGenerator::start(2, 3, random);
    ASSERT_TRUE(run);
    CodeGenerator& g = run.value();
    EXPECT_EQ(g.next(), "05");
    EXPECT_EQ(g.made(), 1);
    EXPECT_FALSE(g.done());
    EXPECT_EQ(g.next(), "07");
    EXPECT_TRUE(g.done());
    EXPECT_EQ(random.bounds.size(), 4u);
}

TEST(CodeGeneration, ASourceStuckOnOneValueStillFinishes) {
    ScriptedRandom random({42});
    const Checked<std::vector<RawText>> codes = generateCodes(100, 3, random);
    ASSERT_TRUE(codes);
    EXPECT_EQ(std::set<RawText>(codes->begin(), codes->end()).size(), 100u);
}

TEST(CodeGeneration, NoMoreCodesThanTheTableHolds) {
    ClockSeededRandom random;
    Checked<CodeGenerator> run = CodeGenerator::start(614, 7, random);
    ASSERT_TRUE(run);
    EXPECT_EQ(run.value().count(), 438);
    Checked<CodeGenerator> none = CodeGenerator::start(0, 7, random);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none.value().done());
}

} // namespace
} // namespace zx
