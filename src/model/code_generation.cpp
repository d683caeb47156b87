#include "model/code_generation.h"

#include "model/code_table.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

namespace zx {

namespace {

// Above this many codes generation is refused whatever the length.
constexpr int MostGeneratedCodes = 614;
constexpr std::uint32_t ScaledRange = 65535;
constexpr int MostRedraws = 64;

std::uint32_t fullRange(int digits) {
    std::uint32_t range = 1;
    for (int i = 0; i < digits; ++i)
        range *= 10;
    return range;
}

} // namespace

ClockSeededRandom::ClockSeededRandom()
    : engine_(static_cast<std::mt19937::result_type>(
          std::chrono::system_clock::now().time_since_epoch().count())) {}

std::uint32_t ClockSeededRandom::below(std::uint32_t bound) {
    if (bound <= 1) return 0;
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(engine_);
}

Checked<CodeGenerator> CodeGenerator::start(int codeCount, int codeLength, RandomSource& random) {
    const Refusal badCount{"Értelmetlen adat: Kódok darabszáma:" + std::to_string(codeCount)};
    if (codeCount > MostGeneratedCodes) return badCount;
    if (codeLength < 3 || codeLength > 9)
        return Refusal{"Értelmetlen adat: Kódok hossza:" + std::to_string(codeLength)};
    const int digits = codeLength - 1;
    const std::uint32_t distinct = std::min(fullRange(digits), ScaledRange);
    if (codeCount > static_cast<int>(distinct)) return badCount;
    const int count = std::clamp(codeCount, 0, codeTableCapacity(codeLength));
    return CodeGenerator(count, digits, random);
}

CodeGenerator::CodeGenerator(int count, int digits, RandomSource& random)
    : random_(&random), count_(count), digits_(digits), range_(fullRange(digits)) {
    if (range_ >= ScaledRange) {
        scale_ = static_cast<double>(range_) / ScaledRange;
        range_ = ScaledRange;
    }
    drawn_.assign(range_, false);
    made_.reserve(static_cast<std::size_t>(count));
}

RawText CodeGenerator::next() {
    if (done()) return {};
    // A source that answers out of range is held to it rather than trusted.
    std::uint32_t r = random_->below(range_) % range_;
    for (int tries = 1; drawn_[r] && tries < MostRedraws; ++tries)
        r = random_->below(range_) % range_;
    // A source that keeps repeating itself must not hold the run up: the next value not drawn
    // yet is taken. There always is one, since the count never exceeds the distinct codes.
    while (drawn_[r])
        r = (r + 1) % range_;
    drawn_[r] = true;
    const auto value = static_cast<long long>(std::llround(r * scale_));
    std::string text = std::to_string(value);
    text.insert(0, static_cast<std::size_t>(digits_) - std::min(text.size(), std::size_t(digits_)),
                '0');
    made_.emplace_back(std::move(text));
    return made_.back();
}

Checked<std::vector<RawText>> generateCodes(int codeCount, int codeLength, RandomSource& random) {
    Checked<CodeGenerator> run = CodeGenerator::start(codeCount, codeLength, random);
    if (!run) return Refusal{run.message()};
    CodeGenerator& generator = run.value();
    while (!generator.done())
        generator.next();
    return generator.codes();
}

} // namespace zx
