#include "model/number_tables.h"

#include "model/new_configuration.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

#include <string>
#include <vector>

namespace zx {
namespace {

using namespace fixtures;

NumberTablesForm formOf(const ConfigImage& image, DeviceModel m) {
    return numberTablesForm(decodeForEditors(image, m));
}

TEST(FourLineExceptions, ChangeAndEmptyAnEntry) {
    ConfigImage image = newImage(L4);
    const NumberTablesForm form = formOf(image, L4);
    const Checked<NumberTablesStore> changed =
        changeExceptionEntry(L4, form, 5, RawText("36"), "7");
    ASSERT_TRUE(changed.ok()) << changed.message();
    EXPECT_EQ(changed->entry, (ExceptionFields{RawText("36??"), "07"}));
    EXPECT_EQ(changed->shown.exceptionItems[5], "36??07");
    EXPECT_EQ(changed->patch.applyTo(image), 3);
    EXPECT_EQ(bytesAt(image, 1584 + 15, 3), (Bytes{54, 255, 7}));

    const Checked<NumberTablesStore> emptied = emptyExceptionEntry(L4, changed->shown, 0);
    EXPECT_EQ(emptied->entry, (ExceptionFields{RawText("===="), "00"}));
    emptied->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1584, 3), (Bytes{221, 221, 0}));

    // Three length digits are taken whole; a fifth area character is refused, not cut.
    changeExceptionEntry(L4, form, 15, RawText("1234"), "120")->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1584 + 45, 4), (Bytes{0x12, 0x34, 120, 0}));
    EXPECT_FALSE(changeExceptionEntry(L4, form, 15, RawText("12345"), "120"));

    // No entry selected: nothing stored, yet "Törlés" empties the fields.
    EXPECT_TRUE(changeExceptionEntry(L4, form, std::nullopt, RawText("1"), "1")->patch.empty());
    const Checked<NumberTablesStore> none = emptyExceptionEntry(L4, form, 16);
    EXPECT_TRUE(none->patch.empty());
    EXPECT_EQ(none->entry, (ExceptionFields{RawText("===="), "00"}));
}

TEST(FourLineExceptions, ABadLengthStoresNothingAtAll) {
    NumberTablesForm form = formOf(newImage(L4), L4);
    form.mobilePrefixes[3] = RawText("36"); // a pending prefix edit is not stored either
    for (const char* length : {"x", "256", "-1", "", "7a"})
        EXPECT_EQ(changeExceptionEntry(L4, form, 4, RawText("36"), length).message(), RangeMessage)
            << '"' << length << '"';
    form.exceptionItems[9] = RawText("0620xx"); // only a faulty view could make such an item
    EXPECT_EQ(storeNumberTables(L4, form).message(), RangeMessage);
}

TEST(StoreNumberTables, UntouchedEntriesKeepTheirBytes) {
    ConfigImage image = newImage(L4);
    image.set(1584 + 21, 0x3F);
    image.set(1584 + 23, 200); // shown with three digits
    image.set(1412, 0xEE);     // ">>" from a one-character prefix of long ago
    const NumberTablesForm form = formOf(image, L4);
    EXPECT_EQ(form.exceptionItems[7], "3?==200");
    EXPECT_EQ(storeNumberTables(L4, form, &form)->patch.applyTo(image), 0);
    changeExceptionEntry(L4, form, 0, RawText("1"), "9")->patch.applyTo(image);
    EXPECT_EQ(image.at(1584 + 23), 200);
}

TEST(StoreNumberTables, PrefixFields) {
    ConfigImage image = newImage(L4);
    NumberTablesForm form = formOf(image, L4);
    form.mobilePrefixes = {RawText(""), RawText("3620"), RawText("30"), RawText("1234")};
    form.intlPrefixes = {RawText(""), RawText("1")};
    const Checked<NumberTablesStore> r = storeNumberTables(L4, form);
    EXPECT_EQ(r->shown.mobilePrefixes[0], "====");
    EXPECT_EQ(r->shown.mobilePrefixes[2], "30??");
    EXPECT_EQ(r->shown.intlPrefixes, (std::array<RawText, 2>{RawText("=="), RawText("1?")}));
    r->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1412, 11),
              (Bytes{221, 221, 54, 32, 48, 255, 0x12, 0x34, 0xDD, 0x1F, 15}));
    EXPECT_TRUE(storeNumberTables(L16, form)->patch.empty());
}

TEST(SixteenLineExceptions, ChangeAndEmptyGoStraightToTheImage) {
    ConfigImage image = newImage(L16);
    const NumberTablesForm form = formOf(image, L16);
    const Checked<NumberTablesStore> r = changeExceptionEntry(L16, form, 3, RawText("36"), "7");
    EXPECT_FALSE(r->entry); // the fields keep what was typed
    EXPECT_EQ(r->patch.applyTo(image), 2);
    EXPECT_EQ(bytesAt(image, 1766, 2), (Bytes{54, 7}));
    changeExceptionEntry(L16, form, 15, RawText("09"), "11")->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1790, 3), (Bytes{0x09, 11, 0}));
    emptyExceptionEntry(L16, form, 3)->patch.applyTo(image);
    EXPECT_EQ(decodeForEditors(image, L16).exceptions[3].text(), "00255");
    EXPECT_EQ(changeExceptionEntry(L16, form, 3, RawText("36"), "x").message(), RangeMessage);
    EXPECT_TRUE(emptyExceptionEntry(L16, form, std::nullopt)->patch.empty());
}

TEST(SixteenLineExceptions, AnAreaIsExactlyTwoDigits) {
    const std::string& message = AreaMessage;
    const ConfigImage image = newImage(L16);
    const NumberTablesForm form = formOf(image, L16);
    struct Case {
        const char* area;
        const char* length;
        std::string refusal; // empty: stored
    };
    const Case cases[] = {
        {"36", "7", ""},      {"00", "255", ""},    {"1", "7", message},  {"0620", "7", message},
        {"", "7", message},   {"3a", "7", message}, {">>", "7", message}, {"?1", "7", message},
        {" 3", "7", message}, {"3:", "7", message}, {"1", "x", message},  {"12", "x", RangeMessage},
    };
    for (const Case& c : cases) {
        const Checked<NumberTablesStore> r =
            changeExceptionEntry(L16, form, 0, RawText(c.area), c.length);
        EXPECT_EQ(r.message(), c.refusal) << c.area;
        EXPECT_EQ(exceptionAreaRefusal(L16, RawText(c.area)).has_value(), c.refusal == message)
            << c.area;
        // The 4-line list pads one to four digits or "?".
        const std::string_view area(c.area);
        const bool fits4 = !area.empty() && area.size() <= 4 &&
                           area.find_first_not_of("0123456789?") == std::string_view::npos;
        EXPECT_EQ(exceptionAreaRefusal(L4, RawText(c.area)).has_value(), !fits4) << c.area;
    }
}

// An area nobody typed is no area: refused, naming the field, instead of padded into "????" (every
// area); "?" typed is taken as typed.
TEST(AreaEntries, NothingTypedIsRefusedAndOnlyATypedQuestionMarkIsAWildcard) {
    const struct {
        const char *area, *exception4, *barred; // the items stored; empty: refused
    } cases[] = {{"", "", ""}, {"?", "????07", "??"}, {"3", "3???07", "3?"}};
    const ConfigImage image = newImage(L4);
    for (const auto& c : cases) {
        const auto changed = changeExceptionEntry(L4, formOf(image, L4), 2, RawText(c.area), "7");
        EXPECT_EQ(changed ? changed->shown.exceptionItems[2].bytes() : "", c.exception4) << c.area;
        const auto added = changeBarredEntry(image, L4, callInForm(decodeForEditors(image, L4)), 2,
                                             RawText(c.area));
        EXPECT_EQ(added ? added->shown.barredItems[2].bytes() : "", c.barred) << c.area;
    }
}

TEST(StoreCallIn, NumberAndFlags) {
    for (const DeviceModel m : {L4, L16}) {
        const std::size_t number = m == L4 ? 1632 : 1792;
        ConfigImage image = newImage(m);
        image.fill(number, 24, 'X');
        CallInForm form = callInForm(decodeForEditors(image, m));
        form.number = RawText("0612345678");
        storeCallIn(image, m, form)->applyTo(image);
        Bytes expected{'0', '6', '1', '2', '3', '4', '5', '6', '7', '8'};
        expected.resize(24, 0);
        EXPECT_EQ(bytesAt(image, number, 24), expected);
        form.number = RawText("123456789012345678901234");
        storeCallIn(image, m, form)->applyTo(image);
        EXPECT_EQ(decodeForEditors(image, m).callInNumber, "123456789012345678901234");
        form.number = RawText("1234567890123456789012345");
        EXPECT_FALSE(storeCallIn(image, m, form));
    }
    struct Case {
        bool foreign, domestic;
        Byte expected;
    };
    for (const Case c :
         {Case{true, true, 0xF3}, {true, false, 2}, {false, true, 1}, {false, false, 0}}) {
        ConfigImage image = newImage(L16);
        image.set(1818, 0xF0);
        CallInForm form = callInForm(decodeForEditors(image, L16));
        form.foreign = c.foreign;
        form.domestic = c.domestic;
        storeCallIn(image, L16, form)->applyTo(image);
        EXPECT_EQ(image.at(1818), c.expected) << c.foreign << c.domestic;
    }
}

TEST(BarredAreas, AddAndRemove) {
    ConfigImage image = newImage(L4);
    const CallInForm form = callInForm(decodeForEditors(image, L4));
    const Checked<CallInStore> added = changeBarredEntry(image, L4, form, 20, RawText("1"));
    EXPECT_EQ(added->areaField, "1?");
    EXPECT_EQ(added->shown.barredItems[20], "1?");
    EXPECT_EQ(added->patch.applyTo(image), 1);
    EXPECT_EQ(image.at(1696 + 20), 31);

    emptyBarredEntry(image, L4, added->shown, 0)->patch.applyTo(image);
    EXPECT_EQ(image.at(1696), 0xFF);
    EXPECT_FALSE(changeBarredEntry(image, L4, form, 1, RawText("123"))); // longer than the field
    const Checked<CallInStore> none = emptyBarredEntry(image, L4, form, std::nullopt);
    EXPECT_TRUE(none->patch.empty());
    EXPECT_EQ(none->areaField, "??");
}

} // namespace
} // namespace zx
