#pragma once
// A whole table of random codes: CodeCount distinct codes of CodeLength - 1 digits, with
// leading zeros. A generator makes one code per step, so a window can show the table filling
// and stay live between the steps.
#include "model/checked.h"
#include "model/raw_text.h"

#include <cstdint>
#include <random>
#include <vector>

namespace zx {

// Where the random numbers come from; tests give their own.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A number r with 0 <= r < bound (bound at least 1).
    virtual std::uint32_t below(std::uint32_t bound) = 0;
};

// The program's source: a Mersenne twister seeded from the clock.
class ClockSeededRandom final : public RandomSource {
  public:
    ClockSeededRandom();
    std::uint32_t below(std::uint32_t bound) override;

  private:
    std::mt19937 engine_;
};

class CodeGenerator {
  public:
    // Refused with "Értelmetlen adat: Kódok darabszáma:" and the count when the count is above
    // 614 or above the number of distinct codes the digits allow, and with "Értelmetlen adat:
    // Kódok hossza:" and the length when the length is outside 3..9 (2 to 8 digits). The
    // generator draws from random for as long as it lives.
    static Checked<CodeGenerator> start(int codeCount, int codeLength, RandomSource& random);

    // Codes this run makes: the count, but no more than the table holds for the length.
    int count() const { return count_; }
    int made() const { return static_cast<int>(made_.size()); }
    bool done() const { return made() >= count_; }
    int digits() const { return digits_; }

    // The next code: exactly digits() digits, different from every code made before in this
    // run. Draws r below the range (10^digits, or 65535 for 5 digits and more, each value then
    // scaled up to the full range) until it finds one not made yet.
    RawText next();

    const std::vector<RawText>& codes() const { return made_; }

  private:
    CodeGenerator(int count, int digits, RandomSource& random);

    RandomSource* random_;
    int count_;
    int digits_;
    std::uint32_t range_;
    double scale_ = 1.0;
    std::vector<bool> drawn_; // by r: distinct r give distinct codes
    std::vector<RawText> made_;
};

// Every code of a run at once.
Checked<std::vector<RawText>> generateCodes(int codeCount, int codeLength, RandomSource& random);

} // namespace zx
