// The undo history over the record's bytes: every kind of change taken back and done again to
// the byte, named in the window's words; merging, the limits and the saved state.
#include "image_fixtures.h"

#include "model/change_label.h"
#include "model/code_generation.h"
#include "model/code_record.h"
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

using fixtures::L16;
using fixtures::L4;
using Bytes = std::array<Byte, RecordSize>;

class CountingRandom final : public RandomSource {
  public:
    std::uint32_t below(std::uint32_t bound) override { return next_++ % bound; }

  private:
    std::uint32_t next_ = 7;
};

void store(DatabaseRecord& r, const Checked<ImagePatch>& patch) {
    ASSERT_TRUE(patch) << patch.message();
    patch->applyTo(r.image);
}

std::vector<CodeRowView> rowsOf(const DatabaseRecord& r, DeviceModel m) {
    return decodeForEditors(r.image, m).codes;
}

TEST(EditHistory, EveryKindOfChangeUndoneAndRedoneGivesBackTheBytes) {
    DatabaseRecord record;
    applyNewConfiguration(record, L4);
    CountingRandom random;
    const struct {
        const char* what;
        std::function<void(DatabaseRecord&)> change;
        const char* name;
        bool byRows = false; // named as the code grid names its stores
    } changes[] = {
        {"a field", [](auto& r) { store(r, storeByteRange(L4, Field::CoPosition, "17")); },
         "Alap / CO pozíció"},
        {"the code count and length of the preferences",
         [](auto& r) {
             reshapedCodeTablePatch(r.image, MemoryMap::of(L4), {30, 4}).applyTo(r.image);
         },
         "Preferenciák / Kódjegyek száma"},
        {"generation",
         [&](auto& r) {
             const Checked<std::vector<RawText>> codes = generateCodes(30, 5, random);
             ASSERT_TRUE(codes);
             std::vector<CodeRowView> rows;
             for (const RawText& code : *codes)
                 rows.push_back({code, newRowRights(L4)});
             storeCodeGrid(r.image, L4, rows).applyTo(r.image);
         },
         "Kódok / 30 sor", true},
        {"one grid row",
         [](auto& r) {
             auto rows = rowsOf(r, L4);
             rows[11].code = RawText("4321");
             storeCodeGrid(r.image, L4, rows).applyTo(r.image);
         },
         "Kódok / 12. sor", true},
        {"rights of a block of rows",
         [](auto& r) {
             auto rows = rowsOf(r, L4);
             for (int i = 3; i < 9; ++i)
                 applyRightsCommand(rows[static_cast<std::size_t>(i)].rights, RightsCommand::Mobile,
                                    L4);
             storeCodeGrid(r.image, L4, rows).applyTo(r.image);
         },
         "Kódok / 6 sor", true},
        {"free numbers added",
         [](auto& r) {
             freeNumbersPatch(L4, {RawText("0612"), RawText("0613")}).applyTo(r.image);
         },
         "Számok / 2 szám"},
        {"Mind töröl", [](auto& r) { freeNumbersPatch(L4, {}).applyTo(r.image); },
         "Számok / 2 szám"},
        {"the CO width", [](auto& r) { store(r, storeCoWidth(L4, 3)); }, "Alap / CO karakterszám"},
        {"the site", [](auto& r) { r.setText(DatabaseRecord::Slot::Site, RawText("Pécs")); },
         "Preferenciák / Telepítés"},
        {"the password",
         [](auto& r) { r.setText(DatabaseRecord::Slot::Password, RawText("titok")); },
         "Preferenciák / Jelszó"},
    };

    EditHistory history;
    std::vector<Bytes> states{record.toBytes()};
    for (const auto& c : changes) {
        const DatabaseRecord before = record;
        c.change(record);
        const StepLabel label = describeChange(
            before, record, L4, c.byRows ? std::optional(Field::CodeTable) : std::nullopt);
        EXPECT_EQ(label.name, c.name) << c.what;
        ASSERT_TRUE(history.record(before.toBytes(), record.toBytes(), label)) << c.what;
        history.fence();
        states.push_back(record.toBytes());
    }
    Bytes bytes = states.back();
    for (std::size_t i = std::size(changes); i-- > 0;) {
        EXPECT_EQ(history.nextUndo()->name, changes[i].name);
        ASSERT_TRUE(history.undo(bytes));
        EXPECT_TRUE(bytes == states[i]) << "undo of " << changes[i].what;
    }
    EXPECT_FALSE(history.undo(bytes));
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        ASSERT_TRUE(history.redo(bytes));
        EXPECT_TRUE(bytes == states[i + 1]) << "redo of " << changes[i].what;
    }
    EXPECT_FALSE(history.canRedo());
}

TEST(EditHistory, StoresOfOneSettingInARowMerge) {
    // Each store writes one byte at its key's offset: a=0, b=1.
    struct Store {
        char key; // '|' is a fence (a save, an undo): the next store is a step of its own
        Byte value;
    };
    const struct {
        const char* what;
        std::vector<Store> stores;
        std::size_t steps;
        std::vector<Byte> afterOneUndo;
    } cases[] = {
        {"the same setting twice", {{'a', 1}, {'a', 2}}, 1, {0, 0}},
        {"and back to where it was", {{'a', 1}, {'a', 0}}, 0, {0, 0}},
        {"two settings", {{'a', 1}, {'b', 1}}, 2, {1, 0}},
        {"a fence between", {{'a', 1}, {'|', 0}, {'a', 2}}, 2, {1, 0}},
        {"a step without a key", {{'-', 1}, {'-', 2}}, 2, {1, 0}},
    };
    for (const auto& c : cases) {
        EditHistory history;
        std::vector<Byte> bytes{0, 0};
        for (const Store& s : c.stores) {
            if (s.key == '|') {
                history.fence();
                continue;
            }
            const std::vector<Byte> before = bytes;
            bytes[s.key == 'b'] = s.value;
            history.record(before, bytes, {"", s.key == '-' ? "" : std::string(1, s.key), {}});
        }
        EXPECT_EQ(history.stepCount(), c.steps) << c.what;
        if (history.canUndo()) history.undo(bytes);
        EXPECT_EQ(bytes, c.afterOneUndo) << c.what;
    }
}

TEST(EditHistory, TheOldestStepsGoPastEitherLimit) {
    const struct {
        const char* what;
        std::size_t stepLimit, byteLimit, changed, steps, kept;
    } cases[] = {
        {"the step limit", 200, 8u << 20, 1, 201, 200},
        {"the byte limit", 200, 100, 10, 20, 3}, // a step keeps 8 + 2 x 10 bytes
        {"one step larger than the limit stays", 200, 10, 10, 2, 1},
    };
    for (const auto& c : cases) {
        EditHistory history(c.stepLimit, c.byteLimit);
        std::vector<Byte> bytes(c.changed, 0);
        for (std::size_t n = 1; n <= c.steps; ++n) {
            const std::vector<Byte> before = bytes;
            std::fill(bytes.begin(), bytes.end(), static_cast<Byte>(n));
            history.record(before, bytes, {"", "", {}});
        }
        EXPECT_EQ(history.stepCount(), c.kept) << c.what;
        EXPECT_LE(history.patchBytes(), std::max(c.byteLimit, 8 + 2 * c.changed)) << c.what;
        while (history.undo(bytes)) {
        }
        // Taken back as far as the history reaches: the state after the steps that went.
        EXPECT_EQ(bytes.front(), static_cast<Byte>(c.steps - c.kept)) << c.what;
    }
}

TEST(EditHistory, TheRecordDiffersFromTheSavedStateOnlyByItsBytes) {
    using Op = std::function<void(EditHistory&, std::vector<Byte>&)>;
    const auto change = [](std::size_t at, Byte value) -> Op {
        return [at, value](EditHistory& h, std::vector<Byte>& b) {
            const std::vector<Byte> before = b;
            b[at] = value;
            h.record(before, b, {"", std::to_string(at), {}});
        };
    };
    const Op undo = [](EditHistory& h, std::vector<Byte>& b) { h.undo(b); };
    const Op redo = [](EditHistory& h, std::vector<Byte>& b) { h.redo(b); };
    const Op save = [](EditHistory& h, std::vector<Byte>& b) { h.markClean(b); };
    const Op download = [](EditHistory& h, std::vector<Byte>&) { h.forgetClean(); };
    const struct {
        const char* what;
        std::vector<Op> ops;
        bool differs;
    } cases[] = {
        {"opened", {}, false},
        {"changed", {change(0, 1)}, true},
        {"changed and undone", {change(0, 1), undo}, false},
        {"undone and redone", {change(0, 1), undo, redo}, true},
        {"two changes that cancel out",
         {change(0, 1), change(1, 1), change(0, 0), change(1, 0)},
         false},
        {"saved after a change", {change(0, 1), save}, false},
        {"saved, then undone past the save", {change(0, 1), save, undo}, true},
        {"downloaded: no saved state", {download, change(0, 1), undo}, true},
    };
    for (const auto& c : cases) {
        EditHistory history;
        std::vector<Byte> bytes{0, 0, 0};
        history.markClean(bytes);
        for (const Op& op : c.ops)
            op(history, bytes);
        EXPECT_EQ(history.differsFromClean(bytes), c.differs) << c.what;
    }

    // The connection name a save writes is carried into the saved state.
    EditHistory history;
    std::vector<Byte> bytes{0, 0, 0};
    history.markClean(bytes);
    bytes[2] = 9;
    history.carryIntoClean(2, std::vector<Byte>{9});
    EXPECT_FALSE(history.differsFromClean(bytes));
}

TEST(EditHistory, ANewChangeAfterAnUndoDropsTheStepsUndone) {
    EditHistory history;
    std::vector<Byte> bytes{0};
    for (Byte v : {1, 2}) {
        const std::vector<Byte> before = bytes;
        bytes[0] = v;
        history.record(before, bytes, {"", "", {}});
    }
    history.undo(bytes);
    EXPECT_FALSE(history.record(bytes, bytes, {})) << "no change, no step, the redo stays";
    EXPECT_TRUE(history.canRedo());
    const std::vector<Byte> before = bytes;
    bytes[0] = 5;
    history.record(before, bytes, {"", "", {}});
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.stepCount(), 2u);
}

} // namespace
} // namespace zx
