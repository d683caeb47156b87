#include "model/settings_comparison.h"

#include "model/free_number_table.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

#include <string>
#include <vector>

namespace zx {
namespace {

using namespace fixtures;

DatabaseRecord recordOf(const ConfigImage& image) {
    DatabaseRecord r;
    r.image = image;
    return r;
}

std::vector<SettingDifference> compare(const ConfigImage& a, const ConfigImage& b, DeviceModel m) {
    return compareSettings(SettingsReading(recordOf(a), m), SettingsReading(recordOf(b), m));
}

// name: A's value, B's value, as show prints them ("-" for a side that lacks it).
std::vector<std::string> lines(const std::vector<SettingDifference>& differences) {
    std::vector<std::string> out;
    const auto text = [](const std::optional<SettingValue>& v) {
        return v ? shownText(*v) : std::string("-");
    };
    for (const SettingDifference& d : differences)
        out.push_back(d.name + ": " + text(d.a) + " | " + text(d.b));
    return out;
}

// An image with `count` codes of CodeLength 5 ("1000", "1001", ...) with all rights.
ConfigImage withCodes(DeviceModel m, int count) {
    ConfigImage image = newImage(m);
    const MemoryMap& map = MemoryMap::of(m);
    image.set(*map.offset(Field::CodeLength), 5);
    image.setWord(*map.offset(Field::CodeCount), static_cast<std::uint16_t>(count));
    for (int r = 0; r < count; ++r) {
        const std::string code = std::to_string(1000 + r) + (m == L4 ? "?" : "4");
        for (std::size_t k = 0; k < code.size(); ++k)
            image.set(CodeTableStart + 5 * static_cast<std::size_t>(r) + k,
                      static_cast<Byte>(code[k]));
    }
    return image;
}

TEST(SettingsComparison, EqualConfigurationsHaveNoDifference) {
    for (const DeviceModel m : {L4, L16})
        EXPECT_TRUE(compare(newImage(m), newImage(m), m).empty());
}

TEST(SettingsComparison, ScalarsAndCompoundsByNameListElementsCountedFromOne) {
    ConfigImage a = newImage(L4);
    ConfigImage b = a;
    b.set(1656, 99);        // CoPosition
    b.set(1659, 3 * 8 + 1); // SmdrSpeed: 2400, Páros
    b.set(1682, 'X');       // CoNumbers entry 2, first character
    b.set(1587, 0x36);      // NationalExceptions entry 2, first area byte
    b.set(1696 + 63, 0x12); // BarredCallInAreas entry 64
    b.set(1666, 0x10);      // LineSettings: call-in of line 1
    EXPECT_EQ(lines(compare(a, b, L4)),
              (std::vector<std::string>{
                  "SmdrSpeed: byte=10, parity=\"Nincs\", speed=\"9600\" | parity=\"Páros\", "
                  "speed=\"2400\"",
                  "CoPosition: 23 | 99",
                  "LineSettings[1]: callIn=nem, dialling=\"DTMF normal\", line=1, "
                  "seizure=\"Azonnal\", subLine=nem | callIn=igen, dialling=\"DTMF normal\", "
                  "line=1, seizure=\"Azonnal\", subLine=nem",
                  "CoNumbers[2]: \"02\" | \"X2\"",
                  "NationalExceptions[2]: area=\"0630\", length=\"11\" | "
                  "area=\"3630\", length=\"11\"",
                  "BarredCallInAreas[64]: \"??\" | \"12\""}));

    ConfigImage c = newImage(L16);
    ConfigImage d = c;
    d.set(1671, 5);         // CoTimeout2
    d.set(1686, '#');       // NumberTerminator
    d.set(1648 + 15, 0x05); // LineSettings of line 16: timer set #2
    EXPECT_EQ(lines(compare(c, d, L16)),
              (std::vector<std::string>{
                  "NumberTerminator: \" \" | \"#\"",
                  "LineSettings[16]: callIn=nem, dialling=\"DTMF\", line=16, seizure=\"Azonnal\", "
                  "subLine=nem, timerSet=\"#1\" | callIn=nem, dialling=\"DTMF\", line=16, "
                  "seizure=\"Azonnal\", subLine=nem, timerSet=\"#2\"",
                  "CoTimeout2: 90 | 5"}));
}

TEST(SettingsComparison, CodeRowsAndFreeNumbersOfListsOfDifferentLength) {
    for (const DeviceModel m : {L4, L16}) {
        const ConfigImage a = withCodes(m, 3);
        ConfigImage b = withCodes(m, 4);
        b.set(CodeTableStart + 5 * 1, '9'); // row 2: "9001"
        writeFreeNumbers(b, m, {RawText("0612345"), RawText("0699")});
        const std::vector<SettingDifference> diff = compare(a, b, m);
        std::vector<std::string> names;
        for (const SettingDifference& d : diff)
            names.push_back(d.name);
        EXPECT_EQ(names, (std::vector<std::string>{"CodeCount", "CodeTable[2]", "CodeTable[4]",
                                                   "FreeNumbers[1]", "FreeNumbers[2]"}))
            << modelIndex(m);
        ASSERT_EQ(diff.size(), 5u);
        EXPECT_EQ(diff[1].label, "Kódok / 2. sor");
        EXPECT_EQ(diff[3].label, "Számok / 1. szám");
        EXPECT_EQ(diff[1].a->parts[0].value.text, "1001");
        EXPECT_EQ(diff[1].b->parts[0].value.text, "9001");
        EXPECT_FALSE(diff[2].a) << "A has only three rows";
        EXPECT_EQ(diff[3].b->text, "0612345         ");
        EXPECT_FALSE(diff[4].a);
    }
}

TEST(SettingsComparison, FileTextsAndModelsCountButNotTheFileDate) {
    DatabaseRecord a = recordOf(newImage(L4));
    DatabaseRecord b = a;
    b.setText(DatabaseRecord::Slot::Owner, RawText("Kiss"));
    EXPECT_EQ(lines(compareSettings(SettingsReading(a, L4, "2026-01-01T00:00:00"),
                                    SettingsReading(b, L4, "2027-01-01T00:00:00"))),
              (std::vector<std::string>{"Owner: \"\" | \"Kiss\""}));

    // The same bytes read as another model: the model, and what only one model has.
    const std::vector<SettingDifference> models =
        compareSettings(SettingsReading(a, L4), SettingsReading(a, L16));
    ASSERT_FALSE(models.empty());
    EXPECT_EQ(models.front().name, "Model");
    bool pinOnlyInA = false;
    for (const SettingDifference& d : models)
        if (d.name == "PinEnable") pinOnlyInA = d.a && !d.b;
    EXPECT_TRUE(pinOnlyInA);
}

TEST(SettingsComparison, BytesNoSettingShowsAreNamedByTheirSegment) {
    // Codes past CodeCount and bytes of no field reach the unit all the same.
    const ConfigImage a = newImage(L4);
    ConfigImage b = a;
    b.set(8191, 'X');
    b.set(1430, 7);
    b.set(100, 1); // below the configuration: never transferred
    const std::vector<SettingDifference> diff = compare(a, b, L4);
    ASSERT_EQ(diff.size(), 2u);
    EXPECT_EQ(diff[0].name, "Segment[44]");
    EXPECT_EQ(diff[0].label, "Memória / 44. szegmens");
    EXPECT_EQ(diff[0].b->text.substr(44, 2), "07");
    EXPECT_EQ(diff[1].name, "Segment[255]");
    EXPECT_EQ(diff[1].a->text.substr(62), "20");
    EXPECT_EQ(diff[1].b->text.substr(62), "58");

    // Where a setting differs, that is what is listed.
    b.set(1656, 1);
    EXPECT_EQ(lines(compare(a, b, L4)), (std::vector<std::string>{"CoPosition: 23 | 1"}));
    EXPECT_EQ(compare(a, b, L4).front().label, "Alap / CO pozíció");
}

} // namespace
} // namespace zx
