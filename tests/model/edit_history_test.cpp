// The undo history over the record's bytes: every kind of change taken back and done again to
// the byte, named in the window's words; merging, the limits and the saved state.
#include "image_fixtures.h"

#include "model/change_label.h"
#include "model/code_generation.h"
#include "model/code_rights.h"
#include "model/code_table_shape.h"
#include "model/code_table_store.h"
#include "model/edit_history.h"
#include "model/editor_store.h"
#include "model/free_number_table.h"

#include <gtest/gtest.h>

#include <functional>

namespace zx {
namespace {

using fixtures::L4;
using Record = DatabaseRecord;

class CountingRandom final : public RandomSource {
  public:
    std::uint32_t below(std::uint32_t bound) override { return next_++ % bound; }

  private:
    std::uint32_t next_ = 7;
};

// The grid's rows with `edit` done to them, stored as the grid stores them.
void storeRows(Record& r, const std::function<void(std::vector<CodeRowView>&)>& edit) {
    std::vector<CodeRowView> rows = decodeForEditors(r.image, L4).codes;
    edit(rows);
    storeCodeGrid(r.image, L4, rows).applyTo(r.image);
}

TEST(EditHistory, EveryKindOfChangeUndoneAndRedoneGivesBackTheBytes) {
    Record record;
    applyNewConfiguration(record, L4);
    CountingRandom random;
    const auto generate = [&](auto& rows) {
        const Checked<std::vector<RawText>> codes = generateCodes(30, 5, random);
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = {(*codes)[i], newRowRights(L4)};
    };
    const auto rights = [](auto& rows) {
        for (std::size_t i = 3; i < 9; ++i)
            applyRightsCommand(rows[i].rights, RightsCommand::Mobile, L4);
    };
    const struct {
        std::function<void(Record&)> change;
        const char* name;
        bool byRows; // named as the code grid names its stores
    } changes[] = {
        {[](Record& r) { storeByteRange(L4, Field::CoPosition, "17")->applyTo(r.image); },
         "Alap / CO pozíció", false},
        {[](Record& r) {
             reshapedCodeTablePatch(r.image, MemoryMap::of(L4), {30, 4}).applyTo(r.image);
         },
         "Preferenciák / Kódjegyek száma", false},
        {[&](Record& r) { storeRows(r, generate); }, "Kódok / 30 sor", true},
        {[](Record& r) { storeRows(r, [](auto& rows) { rows[11].code = RawText("4321"); }); },
         "Kódok / 12. sor", true},
        {[&](Record& r) { storeRows(r, rights); }, "Kódok / 6 sor", true},
        {[](Record& r) {
             freeNumbersPatch(L4, {RawText("0612"), RawText("06")})->applyTo(r.image);
         },
         "Számok / 2 szám", false},
        {[](Record& r) { freeNumbersPatch(L4, {})->applyTo(r.image); }, "Számok / 2 szám", false},
        {[](Record& r) { storeCoWidth(L4, 3)->applyTo(r.image); }, "Alap / CO karakterszám", false},
        {[](Record& r) { r.setText(Record::Slot::Site, RawText("Pécs")); },
         "Preferenciák / Telepítés", false},
        {[](Record& r) { r.setText(Record::Slot::Password, RawText("titok")); },
         "Preferenciák / Jelszó", false},
    };

    EditHistory history;
    std::vector<std::array<Byte, RecordSize>> states{record.toBytes()};
    for (const auto& c : changes) {
        const Record before = record;
        c.change(record);
        const StepLabel label = describeChange(
            before, record, L4, c.byRows ? std::optional(Field::CodeTable) : std::nullopt);
        EXPECT_EQ(label.name, c.name);
        ASSERT_TRUE(history.record(before.toBytes(), record.toBytes(), label)) << c.name;
        history.fence();
        states.push_back(record.toBytes());
    }
    auto bytes = states.back();
    for (std::size_t i = std::size(changes); i-- > 0;) {
        EXPECT_EQ(history.undo(bytes)->name, changes[i].name);
        EXPECT_TRUE(bytes == states[i]) << "undo of " << changes[i].name;
    }
    EXPECT_FALSE(history.undo(bytes));
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        history.redo(bytes);
        EXPECT_TRUE(bytes == states[i + 1]) << "redo of " << changes[i].name;
    }
    EXPECT_FALSE(history.canRedo());
}

// Each store writes one byte: "a1" 1 at 0, "b1" 1 at 1, "-1" 1 at 0 without a key. Between
// them: '|' a fence, '<' an undo, '>' a redo, 's' a save, 'd' a download (no saved state), 'c' 9
// written at 1 beside the history and carried into the saved state (the connection name).
void replay(EditHistory& history, std::vector<Byte>& bytes, const std::string& script) {
    for (std::size_t i = 0; i < script.size(); i += 2) {
        const char op = script[i];
        if (op == '|') history.fence();
        if (op == '<') history.undo(bytes);
        if (op == '>') history.redo(bytes);
        if (op == 's') history.markClean(bytes);
        if (op == 'd') history.forgetClean();
        if (op == 'c') history.carryIntoClean(1, std::vector<Byte>{bytes[1] = 9});
        if (std::string_view("|<>sdc").find(op) != std::string_view::npos) continue;
        const std::vector<Byte> before = bytes;
        bytes[op == 'b'] = static_cast<Byte>(script[i + 1] - '0');
        history.record(before, bytes, {"", op == '-' ? "" : std::string(1, op), {}});
    }
}

// Merging and the saved state: how many steps a script leaves, and whether the record differs
// from the state saved at its start, before and after one more undo.
TEST(EditHistory, StoresOfOneSettingInARowMergeAndTheFlagFollowsTheBytes) {
    const struct {
        const char* script;
        std::size_t steps;
        bool differs, differsAfterUndo;
    } cases[] = {
        {"a1a2", 1, true, false},  // the same setting twice: one step from where it was
        {"a1a0", 0, false, false}, // and back: no step at all
        {"a1b1", 2, true, true},    {"a1|.a2", 2, true, true},    {"-1-2", 2, true, true},
        {"a1<.b1", 1, true, false}, // a change after an undo drops the step undone
        {"a1<.>.", 1, true, false}, {"a1b1a0b0", 4, false, true}, {"a1s.", 1, false, true},
        {"d.a1<.", 1, true, true},  {"c.", 0, false, false},      {"a1s.a2", 2, true, false},
    };
    for (const auto& c : cases) {
        EditHistory history;
        std::vector<Byte> bytes{0, 0};
        history.markClean(bytes);
        replay(history, bytes, c.script);
        EXPECT_EQ(history.stepCount(), c.steps) << c.script;
        EXPECT_EQ(history.differsFromClean(bytes), c.differs) << c.script;
        history.undo(bytes);
        EXPECT_EQ(history.differsFromClean(bytes), c.differsAfterUndo) << c.script;
    }
}

// A merged step that cancels out leaves the state it started from, a saved one perhaps: the
// next change of the same setting is a step of its own, so one undo comes back to that state.
TEST(EditHistory, AStepThatCancelsOutFencesTheStateItLeaves) {
    const struct {
        const char* script;
        Byte afterUndo; // setting a after one undo
        std::size_t steps;
    } cases[] = {
        {"a2s.a3a2a5", 2, 2}, // 2 saved, 3, back to 2, 5: the undo gives the saved 2
        {"a1|.a2a1a5", 1, 2},
        {"a2s.a3a2a5a6", 2, 2}, // the step after the fence still merges with its own key
    };
    for (const auto& c : cases) {
        EditHistory history;
        std::vector<Byte> bytes{0, 0};
        history.markClean(bytes);
        replay(history, bytes, c.script);
        EXPECT_EQ(history.stepCount(), c.steps) << c.script;
        history.undo(bytes);
        EXPECT_EQ(bytes[0], c.afterUndo) << c.script;
    }
}

TEST(EditHistory, TheOldestStepsGoPastEitherLimit) {
    const struct {
        std::size_t stepLimit, byteLimit, changed, steps, kept;
    } cases[] = {
        {200, 8u << 20, 1, 201, 200},
        {200, 100, 10, 20, 3}, // a step keeps 8 + 2 x 10 bytes
        {200, 10, 10, 2, 1},   // one step larger than the limit stays
    };
    for (const auto& c : cases) {
        EditHistory history(c.stepLimit, c.byteLimit);
        std::vector<Byte> bytes(c.changed, 0);
        for (std::size_t n = 1; n <= c.steps; ++n) {
            const std::vector<Byte> before = bytes;
            std::fill(bytes.begin(), bytes.end(), static_cast<Byte>(n));
            history.record(before, bytes, {});
        }
        EXPECT_EQ(history.stepCount(), c.kept) << c.steps;
        while (history.undo(bytes)) {
        }
        // Taken back as far as the history reaches: the state after the steps that went.
        EXPECT_EQ(bytes.front(), static_cast<Byte>(c.steps - c.kept)) << c.steps;
    }
}

} // namespace
} // namespace zx
