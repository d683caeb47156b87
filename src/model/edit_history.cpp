#include "model/edit_history.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace zx {

namespace {

// Two changed ranges closer than this are kept as one: a range's header costs 8 bytes, a byte
// of gap kept costs 2 (before and after).
constexpr std::size_t JoinedGap = 4;
constexpr std::size_t HeaderSize = 8;

void putWord(std::vector<Byte>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<Byte>(value >> (8 * i)));
}

std::uint32_t wordAt(const std::vector<Byte>& in, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(in[at + static_cast<std::size_t>(i)]) << (8 * i);
    return value;
}

} // namespace

EditHistory::EditHistory(std::size_t stepLimit, std::size_t byteLimit)
    : stepLimit_(std::max<std::size_t>(stepLimit, 1)), byteLimit_(byteLimit) {}

std::vector<Byte> EditHistory::changedRanges(std::span<const Byte> before,
                                             std::span<const Byte> after) {
    const std::size_t size = std::min(before.size(), after.size());
    std::vector<std::pair<std::size_t, std::size_t>> ranges; // [start, end)
    for (std::size_t i = 0; i < size; ++i) {
        if (before[i] == after[i]) continue;
        if (!ranges.empty() && i - ranges.back().second <= JoinedGap)
            ranges.back().second = i + 1;
        else
            ranges.emplace_back(i, i + 1);
    }
    std::size_t total = 0;
    for (const auto& [start, end] : ranges)
        total += HeaderSize + 2 * (end - start);
    std::vector<Byte> out;
    out.reserve(total);
    for (const auto& [start, end] : ranges) {
        putWord(out, static_cast<std::uint32_t>(start));
        putWord(out, static_cast<std::uint32_t>(end - start));
        out.insert(out.end(), before.begin() + static_cast<std::ptrdiff_t>(start),
                   before.begin() + static_cast<std::ptrdiff_t>(end));
        out.insert(out.end(), after.begin() + static_cast<std::ptrdiff_t>(start),
                   after.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return out;
}

void EditHistory::write(const std::vector<Byte>& ranges, std::span<Byte> bytes, bool after) {
    for (std::size_t at = 0; at + HeaderSize <= ranges.size();) {
        const std::size_t offset = wordAt(ranges, at);
        const std::size_t length = wordAt(ranges, at + 4);
        const std::size_t from = at + HeaderSize + (after ? length : 0);
        for (std::size_t i = 0; i < length && offset + i < bytes.size(); ++i)
            bytes[offset + i] = ranges[from + i];
        at += HeaderSize + 2 * length;
    }
}

bool EditHistory::record(std::span<const Byte> before, std::span<const Byte> after,
                         StepLabel label) {
    std::vector<Byte> ranges = changedRanges(before, after);
    if (ranges.empty()) return false;
    while (steps_.size() > index_) {
        bytes_ -= steps_.back().ranges.size();
        steps_.pop_back();
    }
    const bool merges = !fenced_ && index_ > 0 && !label.mergeKey.empty() &&
                        steps_.back().label.mergeKey == label.mergeKey;
    fenced_ = false;
    if (merges) {
        // The state before the earlier step, and one step from there to now.
        Step& last = steps_.back();
        std::vector<Byte> start(before.begin(), before.end());
        write(last.ranges, start, false);
        bytes_ -= last.ranges.size();
        last.ranges = changedRanges(start, after);
        last.label = std::move(label);
        bytes_ += last.ranges.size();
        if (last.ranges.empty()) {
            // Back where the earlier step started: that state (a saved one, perhaps) is kept,
            // so the next change is a step of its own and not merged into the step before.
            steps_.pop_back();
            --index_;
            fenced_ = true;
        }
        return true;
    }
    bytes_ += ranges.size();
    steps_.push_back({std::move(label), std::move(ranges)});
    ++index_;
    keepWithinLimits();
    return true;
}

void EditHistory::dropOldest() {
    bytes_ -= steps_.front().ranges.size();
    steps_.pop_front();
    if (index_ > 0) --index_;
}

void EditHistory::keepWithinLimits() {
    // The step just recorded stays, however large.
    while (steps_.size() > 1 && (steps_.size() > stepLimit_ || bytes_ > byteLimit_))
        dropOldest();
}

const StepLabel* EditHistory::nextUndo() const {
    return canUndo() ? &steps_[index_ - 1].label : nullptr;
}

const StepLabel* EditHistory::nextRedo() const {
    return canRedo() ? &steps_[index_].label : nullptr;
}

std::optional<StepLabel> EditHistory::undo(std::span<Byte> bytes) {
    if (!canUndo()) return std::nullopt;
    --index_;
    write(steps_[index_].ranges, bytes, false);
    fenced_ = true;
    return steps_[index_].label;
}

std::optional<StepLabel> EditHistory::redo(std::span<Byte> bytes) {
    if (!canRedo()) return std::nullopt;
    write(steps_[index_].ranges, bytes, true);
    fenced_ = true;
    return steps_[index_++].label;
}

void EditHistory::clear() {
    steps_.clear();
    index_ = 0;
    bytes_ = 0;
    fenced_ = true;
}

void EditHistory::markClean(std::span<const Byte> bytes) {
    clean_.emplace(bytes.begin(), bytes.end());
    // A later change of the same setting must not swallow the state saved.
    fenced_ = true;
}

void EditHistory::carryIntoClean(std::size_t offset, std::span<const Byte> bytes) {
    if (!clean_) return;
    for (std::size_t i = 0; i < bytes.size() && offset + i < clean_->size(); ++i)
        (*clean_)[offset + i] = bytes[i];
}

bool EditHistory::differsFromClean(std::span<const Byte> bytes) const {
    return !clean_ || !std::equal(clean_->begin(), clean_->end(), bytes.begin(), bytes.end());
}

} // namespace zx
