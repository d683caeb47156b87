// The free-number list: adding, correcting, deleting, sorting and the counter.
#include "model/free_number_list.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

using Outcome = FreeNumberAdd::Outcome;

std::vector<RawText> entries(std::initializer_list<const char*> texts) {
    std::vector<RawText> list;
    for (const char* t : texts)
        list.emplace_back(std::string(t) + std::string(16 - std::string(t).size(), ' '));
    return list;
}

TEST(FreeNumberAdding, TheNumberIsNormalisedAndAddedAtTheEnd) {
    std::vector<RawText> list = entries({"555"});
    const FreeNumberAdd add = addFreeNumber(list, RawText("1 23"), 208, false);
    EXPECT_EQ(add.outcome, Outcome::Added);
    EXPECT_EQ(add.editText, "123" + std::string(13, ' '));
    EXPECT_EQ(add.position, 1u);
    EXPECT_EQ(list, entries({"555", "123"}));
}

TEST(FreeNumberAdding, TheSameNumberIsRefusedWhateverItsSpacingOrCase) {
    std::vector<RawText> list = entries({"0612345", "abc\xE1"});
    const std::vector<RawText> before = list;
    for (const char* edit : {"06 123 45", " 0612345 ", "ABC\xC1", "aBc \xE1"}) {
        const FreeNumberAdd add = addFreeNumber(list, RawText(edit), 208, false);
        EXPECT_EQ(add.outcome, Outcome::AlreadyIn) << edit;
        EXPECT_EQ(add.editText.size(), 16u);
    }
    EXPECT_EQ(list, before);
    EXPECT_EQ(FreeNumberAlreadyInMessage, "Ez a szám már bent van !");
    // The table keeps 16 characters: an imported longer entry is the number its start gives.
    list.emplace_back("1234567890123456789");
    EXPECT_EQ(addFreeNumber(list, RawText("1234567890123456"), 208, false).outcome,
              Outcome::AlreadyIn);
}

TEST(FreeNumberAdding, AFullListOrAnEmptyEditAddsNothing) {
    for (const DeviceModel m : {DeviceModel::Line4, DeviceModel::Line16}) {
        const int capacity = freeNumberCapacity(m);
        std::vector<RawText> list;
        for (int i = 0; i < capacity; ++i)
            ASSERT_EQ(
                addFreeNumber(list, RawText(std::to_string(1000 + i)), capacity, false).outcome,
                Outcome::Added);
        const FreeNumberAdd add = addFreeNumber(list, RawText("9 9"), capacity, false);
        EXPECT_EQ(add.outcome, Outcome::ListFull);
        EXPECT_EQ(add.editText, "9 9");
        EXPECT_EQ(static_cast<int>(list.size()), capacity);
        EXPECT_EQ(freeNumberCounterText(static_cast<int>(list.size()), capacity),
                  m == DeviceModel::Line4 ? "Bejegyzések:208/208" : "Bejegyzések:192/192");
    }
    std::vector<RawText> list;
    for (const char* edit : {"", "   "})
        EXPECT_EQ(addFreeNumber(list, RawText(edit), 208, false).outcome, Outcome::Empty);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(freeNumberCounterText(12, 208), "Bejegyzések:12/208");
}

TEST(FreeNumberAdding, ASortedListTakesTheEntryAtItsPlace) {
    std::vector<RawText> list;
    addFreeNumber(list, RawText("1"), 208, true);
    const FreeNumberAdd add = addFreeNumber(list, RawText("0"), 208, true);
    EXPECT_EQ(add.position, 0u);
    EXPECT_EQ(list, entries({"0", "1"}));
    addFreeNumber(list, RawText("06"), 208, true);
    addFreeNumber(list, RawText("b"), 208, true);
    addFreeNumber(list, RawText("A"), 208, true);
    EXPECT_EQ(list, entries({"0", "06", "1", "A", "b"}));

    std::vector<RawText> unsorted = entries({"b", "1", "A", "06", "0"});
    sortFreeNumbers(unsorted);
    EXPECT_EQ(unsorted, list);
}

TEST(FreeNumberEditing, CorrectionKeepsThePlace) {
    std::vector<RawText> list = entries({"111", "222", "333"});
    const std::optional<RawText> text = correctFreeNumber(list, 1, RawText("4 4 4"));
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "444" + std::string(13, ' '));
    EXPECT_EQ(list, entries({"111", "444", "333"}));
    // No duplicate test here, and no entry for an index past the list.
    correctFreeNumber(list, 2, RawText("111"));
    EXPECT_EQ(list, entries({"111", "444", "111"}));
    EXPECT_FALSE(correctFreeNumber(list, 3, RawText("5")));
}

TEST(FreeNumberEditing, DeletingSelectedEntriesKeepsTheRestInOrder) {
    std::vector<RawText> list = entries({"1", "2", "3", "4", "5", "6"});
    EXPECT_EQ(removeSelectedFreeNumbers(list, {false, true, true, false, true}), 3);
    EXPECT_EQ(list, entries({"1", "4", "6"}));
    EXPECT_EQ(removeSelectedFreeNumbers(list, {}), 0);
    EXPECT_EQ(removeSelectedFreeNumbers(list, {true, true, true, true}), 3);
    EXPECT_TRUE(list.empty());
}

} // namespace
} // namespace zx
