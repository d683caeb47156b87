#include "model/number_tables.h"

#include "model/new_configuration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zx {
namespace {

using Bytes = std::vector<Byte>;
constexpr auto L4 = DeviceModel::Line4;
constexpr auto L16 = DeviceModel::Line16;
const std::string RangeMessage = "Értéknek 0..255 között kell lenni !!!";

ConfigImage newImage(DeviceModel m) {
    DatabaseRecord r;
    applyNewConfiguration(r, m);
    return r.image;
}

Bytes bytesAt(const ConfigImage& image, std::size_t offset, std::size_t count) {
    Bytes out;
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(image.at(offset + i));
    return out;
}

NumberTablesForm formOf(const ConfigImage& image, DeviceModel m) {
    return numberTablesForm(decodeForEditors(image, m));
}

CallInForm callInOf(const ConfigImage& image, DeviceModel m) {
    return callInForm(decodeForEditors(image, m));
}

TEST(FourLineExceptions, ChangeAndEmptyAnEntry) {
    ConfigImage image = newImage(L4);
    const NumberTablesForm form = formOf(image, L4);
    ASSERT_EQ(form.exceptionItems[5], "====00");

    const Checked<NumberTablesStore> changed =
        changeExceptionEntry(L4, form, 5, RawText("36"), "7");
    ASSERT_TRUE(changed.ok()) << changed.message();
    EXPECT_EQ(changed->entry, (ExceptionFields{RawText("36??"), "07"}));
    EXPECT_EQ(changed->shown.exceptionItems[5], "36??07");
    EXPECT_EQ(changed->patch.applyTo(image), 3);
    EXPECT_EQ(bytesAt(image, 1584 + 15, 3), (Bytes{54, 255, 7}));
    EXPECT_EQ(formOf(image, L4), changed->shown);

    const Checked<NumberTablesStore> emptied = emptyExceptionEntry(L4, changed->shown, 0);
    ASSERT_TRUE(emptied.ok());
    EXPECT_EQ(emptied->entry, (ExceptionFields{RawText("===="), "00"}));
    emptied->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1584, 3), (Bytes{221, 221, 0}));

    // A length of three digits is taken whole; an area of five characters is cut to the four the
    // field holds.
    const Checked<NumberTablesStore> long_ =
        changeExceptionEntry(L4, emptied->shown, 15, RawText("12345"), "120");
    ASSERT_TRUE(long_.ok());
    EXPECT_EQ(long_->shown.exceptionItems[15], "1234120");
    long_->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1584 + 45, 3), (Bytes{0x12, 0x34, 120}));
    EXPECT_EQ(image.at(1632), 0); // the call-in number after the table
}

TEST(FourLineExceptions, ABadLengthStoresNothingAtAll) {
    const ConfigImage image = newImage(L4);
    NumberTablesForm form = formOf(image, L4);
    form.mobilePrefixes[3] = RawText("36"); // a pending prefix edit is not stored either
    for (const char* length : {"x", "256", "-1", "", "1 2", "7a"}) {
        const Checked<NumberTablesStore> r =
            changeExceptionEntry(L4, form, 4, RawText("36"), length);
        EXPECT_FALSE(r.ok()) << '"' << length << '"';
        EXPECT_EQ(r.message(), RangeMessage) << '"' << length << '"';
    }
    // A list item that is no entry at all (only a view of its own could make one).
    form.exceptionItems[9] = RawText("0620xx");
    EXPECT_EQ(storeNumberTables(L4, form).message(), RangeMessage);
    form.exceptionItems[9] = RawText("06");
    EXPECT_EQ(storeNumberTables(L4, form).message(), RangeMessage);
}

TEST(FourLineExceptions, NoSelectionDoesNothingButEmptiesTheFields) {
    const NumberTablesForm form = formOf(newImage(L4), L4);
    for (const std::optional<int> none : {std::optional<int>(), std::optional<int>(-1), {16}}) {
        const Checked<NumberTablesStore> changed =
            changeExceptionEntry(L4, form, none, RawText("36"), "7");
        ASSERT_TRUE(changed.ok());
        EXPECT_TRUE(changed->patch.empty());
        EXPECT_FALSE(changed->entry);
        EXPECT_EQ(changed->shown, form);
        const Checked<NumberTablesStore> emptied = emptyExceptionEntry(L4, form, none);
        EXPECT_TRUE(emptied->patch.empty());
        EXPECT_EQ(emptied->entry, (ExceptionFields{RawText("===="), "00"}));
    }
}

TEST(StoreNumberTables, UntouchedEntriesKeepTheirBytes) {
    ConfigImage image = newImage(L4);
    image.set(1584 + 3 * 7, 0x3F);
    image.set(1584 + 3 * 7 + 1, 0x1A);
    image.set(1584 + 3 * 7 + 2, 200); // shown with three digits
    image.set(1584 + 3 * 8 + 2, 100);
    image.set(1412, 0xEE); // ">>" from a one-character prefix of long ago
    const NumberTablesForm form = formOf(image, L4);
    EXPECT_EQ(form.exceptionItems[7], "3?1:200");
    const Checked<NumberTablesStore> r = storeNumberTables(L4, form);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->patch.applyTo(image), 0);

    // Changing one entry leaves the long length of another as it was.
    changeExceptionEntry(L4, form, 0, RawText("1"), "9")->patch.applyTo(image);
    EXPECT_EQ(image.at(1584 + 3 * 7 + 2), 200);
    EXPECT_EQ(image.at(1584 + 3 * 8 + 2), 100);
}

TEST(StoreNumberTables, PrefixFields) {
    ConfigImage image = newImage(L4);
    NumberTablesForm form = formOf(image, L4);
    form.mobilePrefixes = {RawText(""), RawText("3620"), RawText("30"), RawText("1")};
    form.intlPrefixes = {RawText(""), RawText("1")};
    const Checked<NumberTablesStore> r = storeNumberTables(L4, form);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->shown.mobilePrefixes, (std::array<RawText, 4>{RawText("===="), RawText("3620"),
                                                               RawText("30??"), RawText("1???")}));
    EXPECT_EQ(r->shown.intlPrefixes, (std::array<RawText, 2>{RawText("=="), RawText("1?")}));
    r->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1412, 10), (Bytes{221, 221, 54, 32, 48, 255, 0x1F, 0xFF, 0xDD, 0x1F}));
    EXPECT_EQ(formOf(image, L4).mobilePrefixes, r->shown.mobilePrefixes);
    EXPECT_EQ(image.at(1422), 15); // LoopPulseDelta after the prefixes

    // Longer texts than the fields hold: a mobile prefix gives its first four characters, an
    // international one of three characters is no digit pair.
    form.mobilePrefixes[0] = RawText("123456");
    form.intlPrefixes[0] = RawText("001");
    storeNumberTables(L4, form)->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1412, 2), (Bytes{0x12, 0x34}));
    EXPECT_EQ(image.at(1420), 238);

    EXPECT_TRUE(storeNumberTables(L16, form)->patch.empty());
}

TEST(SixteenLineExceptions, ChangeAndEmptyGoStraightToTheImage) {
    ConfigImage image = newImage(L16);
    const NumberTablesForm form = formOf(image, L16);
    Checked<NumberTablesStore> r = changeExceptionEntry(L16, form, 3, RawText("36"), "7");
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(r->entry); // the fields keep what was typed
    EXPECT_EQ(r->patch.applyTo(image), 2);
    EXPECT_EQ(bytesAt(image, 1760 + 6, 2), (Bytes{54, 7}));
    EXPECT_EQ(decodeForEditors(image, L16).exceptions[3].text(), "3607");

    changeExceptionEntry(L16, form, 3, RawText("3"), "255")->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1766, 2), (Bytes{238, 255}));
    changeExceptionEntry(L16, form, 15, RawText("0620"), "11")->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1790, 2), (Bytes{238, 11}));
    EXPECT_EQ(image.at(1792), 0); // the call-in number after the table

    emptyExceptionEntry(L16, form, 3)->patch.applyTo(image);
    EXPECT_EQ(bytesAt(image, 1766, 2), (Bytes{0, 255}));
    const ExceptionView drawn = decodeForEditors(image, L16).exceptions[3];
    EXPECT_EQ(drawn.area, "00");
    EXPECT_EQ(drawn.length, "255");

    for (const char* length : {"x", "256", ""})
        EXPECT_EQ(changeExceptionEntry(L16, form, 3, RawText("36"), length).message(),
                  RangeMessage);
    EXPECT_TRUE(emptyExceptionEntry(L16, form, std::nullopt)->patch.empty());
    EXPECT_FALSE(emptyExceptionEntry(L16, form, std::nullopt)->entry);
}

TEST(StoreCallIn, NumberFlagsAndBarredList) {
    for (const DeviceModel m : {L4, L16}) {
        const std::size_t number = m == L4 ? 1632 : 1792;
        ConfigImage image = newImage(m);
        image.fill(number, 24, 'X');
        CallInForm form = callInOf(image, m);
        form.number = RawText("0612345678");
        storeCallIn(image, m, form)->applyTo(image);
        Bytes expected{'0', '6', '1', '2', '3', '4', '5', '6', '7', '8'};
        expected.resize(24, 0);
        EXPECT_EQ(bytesAt(image, number, 24), expected);
        EXPECT_EQ(decodeForEditors(image, m).callInNumber, "0612345678");

        form.number = RawText("123456789012345678901234567890");
        storeCallIn(image, m, form)->applyTo(image);
        EXPECT_EQ(decodeForEditors(image, m).callInNumber, "123456789012345678901234");
        EXPECT_EQ(image.at(number + 24), m == L4 ? 23 : 0); // CoPosition / unused byte
    }
}

TEST(StoreCallIn, FlagsKeepOtherBitsOnlyWhileBothBoxesAreChecked) {
    struct Case {
        bool foreign, domestic;
        Byte expected;
    };
    for (const Case c :
         {Case{true, true, 0xF3}, {true, false, 0x02}, {false, true, 0x01}, {false, false, 0x00}}) {
        ConfigImage image = newImage(L16);
        image.set(1818, 0xF0);
        CallInForm form = callInOf(image, L16);
        form.foreign = c.foreign;
        form.domestic = c.domestic;
        storeCallIn(image, L16, form)->applyTo(image);
        EXPECT_EQ(image.at(1818), c.expected) << c.foreign << c.domestic;
    }
}

TEST(BarredAreas, AddAndRemove) {
    ConfigImage image = newImage(L4);
    const CallInForm form = callInOf(image, L4);
    Checked<CallInStore> r = changeBarredEntry(image, L4, form, 20, RawText("1"));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->areaField, "1?");
    EXPECT_EQ(r->shown.barredItems[20], "1?");
    EXPECT_EQ(r->patch.applyTo(image), 1);
    EXPECT_EQ(image.at(1696 + 20), 31);
    EXPECT_EQ(callInOf(image, L4), r->shown);

    r = emptyBarredEntry(image, L4, r->shown, 0);
    EXPECT_EQ(r->areaField, "??");
    r->patch.applyTo(image);
    EXPECT_EQ(image.at(1696), 0xFF);

    // A text longer than the field is no digit pair; no entry selected changes nothing.
    changeBarredEntry(image, L4, r->shown, 1, RawText("123"))->patch.applyTo(image);
    EXPECT_EQ(image.at(1697), 238);
    const Checked<CallInStore> none = emptyBarredEntry(image, L4, form, std::nullopt);
    EXPECT_TRUE(none->patch.empty());
    EXPECT_EQ(none->areaField, "??");
    EXPECT_EQ(none->shown, form);

    ConfigImage image16 = newImage(L16);
    changeBarredEntry(image16, L16, callInOf(image16, L16), 63, RawText("9"))
        ->patch.applyTo(image16);
    EXPECT_EQ(image16.at(1840 + 63), 0x9F);
}

} // namespace
} // namespace zx
