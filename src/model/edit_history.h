#pragma once
// The undo history of the configuration: each step is what one change did to the record's
// bytes, kept as the before and after bytes of the ranges it changed, so a step costs what it
// changed and not a copy of the record. Steps of one setting stored one after another merge into
// one. The history also knows the state the operator last saved (or opened, or created) and
// tells whether the record differs from it: the modified flag follows that.
#include "model/types.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zx {

// Where the window shows a change: the control that stores it (its object name) and, in a
// list or the code grid, the row counted from 1 (0: none).
struct StepPlace {
    std::string control;
    int row = 0;
    bool operator==(const StepPlace&) const = default;
};

// What the undo and redo commands call a step, in the window's words ("Alap / CO pozíció",
// "Generálás (300 kód)"); a step with a merge key merges with the step before it when that
// one has the same key ("CoPosition", "CodeTable[12]").
struct StepLabel {
    std::string name;
    std::string mergeKey;
    StepPlace place;
    bool operator==(const StepLabel&) const = default;
};

class EditHistory {
  public:
    static constexpr std::size_t DefaultStepLimit = 200;
    static constexpr std::size_t DefaultByteLimit = 8u << 20;

    // The history keeps at most stepLimit steps and byteLimit bytes of changed ranges (before
    // and after counted), whichever is reached first; the oldest steps go.
    explicit EditHistory(std::size_t stepLimit = DefaultStepLimit,
                         std::size_t byteLimit = DefaultByteLimit);

    // The change from `before` to `after` (the same length) as the step after the current one;
    // the steps that were undone go. It merges with the step before it when both have the same
    // non-empty key and no fence stands between them: the merged step leads from the state
    // before the earlier one to `after`, and goes when that is no change at all (a fence then
    // stands there, so a later change never merges across that state). False when no
    // byte differs (nothing is recorded, the redo steps stay).
    bool record(std::span<const Byte> before, std::span<const Byte> after, StepLabel label);
    // The next change is a step of its own, whatever its key (after an undo, a redo, a save,
    // and before the value still being typed is stored for an undo).
    void fence() { fenced_ = true; }
    bool fenced() const { return fenced_; }
    // The fence set by fence() taken away again, when nothing was recorded since (a commit that
    // stored nothing): the next change merges as it would have.
    void unfence() { fenced_ = false; }

    bool canUndo() const { return index_ > 0; }
    bool canRedo() const { return index_ < steps_.size(); }
    // The step the next undo or redo takes back or does again; nothing when there is none.
    const StepLabel* nextUndo() const;
    const StepLabel* nextRedo() const;
    // Writes the step's bytes (before for an undo, after for a redo) into `bytes`, the state
    // the step was recorded from, and returns its label; nothing when there is no such step.
    std::optional<StepLabel> undo(std::span<Byte> bytes);
    std::optional<StepLabel> redo(std::span<Byte> bytes);

    // A new history: no steps; the clean state stays as it was.
    void clear();

    // The clean state: the bytes the record had when last saved, opened or created.
    void markClean(std::span<const Byte> bytes);
    // No clean state (a download): the record counts as differing from it until the next mark.
    void forgetClean() { clean_.reset(); }
    // Bytes changed beside the history (the connection name a save writes into the record)
    // change the clean state as well, so they alone never count as a change.
    void carryIntoClean(std::size_t offset, std::span<const Byte> bytes);
    bool differsFromClean(std::span<const Byte> bytes) const;

    std::size_t stepCount() const { return steps_.size(); }
    // How many steps an undo may take back (the steps before the current state).
    std::size_t undoCount() const { return index_; }
    // Bytes of the changed ranges the steps keep, before and after counted.
    std::size_t patchBytes() const { return bytes_; }

  private:
    // The changed ranges one after another, each as offset (4 bytes, little-endian), length
    // (4 bytes), the bytes before and the bytes after: one allocation a step.
    struct Step {
        StepLabel label;
        std::vector<Byte> ranges;
    };
    static std::vector<Byte> changedRanges(std::span<const Byte> before,
                                           std::span<const Byte> after);
    // Writes the before (or after) bytes of every range into `bytes`.
    static void write(const std::vector<Byte>& ranges, std::span<Byte> bytes, bool after);
    void dropOldest();
    void keepWithinLimits();

    std::size_t stepLimit_;
    std::size_t byteLimit_;
    std::deque<Step> steps_;
    std::size_t index_ = 0; // steps_[index_ - 1] is the last step done
    std::size_t bytes_ = 0;
    bool fenced_ = true;
    std::optional<std::vector<Byte>> clean_;
};

} // namespace zx
