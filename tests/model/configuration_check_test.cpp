// The check of a configuration before it goes to the unit: each rule's smallest case, and the
// configurations the program makes itself, which must pass.
#include "model/configuration_check.h"

#include "model/demo_configuration.h"
#include "model/free_number_table.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

#include <set>

namespace zx {
namespace {

using namespace fixtures;

// A finding as "E CodeTable[3]" or "W LocalLength".
std::vector<std::string> shortForm(const std::vector<Finding>& findings) {
    std::vector<std::string> out;
    for (const Finding& f : findings)
        out.push_back((f.severity == Severity::Error ? "E " : "W ") + f.name());
    return out;
}

struct Write {
    Field field;
    std::size_t at;
    Bytes bytes;
};

ConfigImage changed(ConfigImage image, DeviceModel m, const std::vector<Write>& writes) {
    for (const Write& w : writes)
        for (std::size_t i = 0; i < w.bytes.size(); ++i)
            image.set(*MemoryMap::of(m).offset(w.field) + w.at + i, w.bytes[i]);
    return image;
}

Bytes text(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

// n different codes of `digits` digits with the rights character given (every 4-line right).
std::vector<std::string> distinctCodes(int n, int digits, char rights = '?') {
    std::vector<std::string> records;
    for (int i = 0; i < n; ++i) {
        std::string code = std::to_string(i);
        records.push_back(std::string(static_cast<std::size_t>(digits) - code.size(), '0') + code +
                          rights);
    }
    return records;
}

TEST(ConfigurationCheck, EachRuleFindsItsSmallestCase) {
    using F = Field;
    struct Case {
        const char* rule;
        DeviceModel model;
        std::vector<Write> writes;             // into a new configuration of the model
        std::vector<std::string> found;        // every finding of the whole check, all of this rule
        std::string message = {};              // a part of the first finding's message
        std::vector<std::string> codes = {};   // records of 4-digit codes, before the writes
        std::vector<std::string> numbers = {}; // free numbers, before the writes
        ConfigImage (*base)() = nullptr;       // instead of a new configuration
    };
    const Case cases[] = {
        {"storedLayout", L4, {{F::CoWidth, 0, {0}}}, {"E CoWidth"}},
        {"storedLayout", L4, {{F::CodeLength, 0, {12}}}, {"E CodeLength"}, "=12 (3..9 lehet)"},
        {"storedLayout",
         L4,
         {},
         {"E CodeCount"},
         "legfeljebb 438",
         {},
         {},
         [] { return codeTableImage(L4, 7, distinctCodes(438, 6), 439); }},
        {"storedLayout", L16, {{F::SmdrSpeed, 0, {'Z'}}}, {"E SmdrSpeed"}},
        {"smdrBytes", L4, {{F::SmdrSpeed, 0, {0x38}}}, {"E SmdrSpeed"}, "(0x38)"},
        {"smdrBytes", L16, {{F::SmdrMode, 0, {0x13}}}, {"E SmdrMode"}},
        {"smdrColumns", L4, {{F::CoWidth, 0, {4}}}, {"E CalledPosition"}, "esik (23..26.)"},
        {"numberTerminator", L16, {{F::NumberTerminator, 0, {'A'}}}, {"E NumberTerminator"}},
        {"numberTerminator", L16, {{F::NumberTerminator, 0, {'5'}}}, {"W NumberTerminator"}},
        {"lineBytes", L4, {{F::LineSettings, 1, {0}}}, {"E LineSettings[1]"}, "A tárcsázás"},
        {"lineBytes", L4, {{F::LineSettings, 2, {3}}}, {"E LineSettings[1]"}, "A vonalfogás"},
        {"lineBytes", L16, {{F::LineSettings, 2, {0x24}}}, {"E LineSettings[3]"}},
        // Line 2 with its sub-line needs its CO number; line 4, left alone, does not.
        {"coNumbers",
         L4,
         {{F::LineSettings, 0, {2}}, {F::CoNumbers, 2, text("  ")}},
         {"E CoNumbers[2]"}},
        {"coNumbers", L4, {{F::CoNumbers, 6, text("  ")}}, {}},
        {"coNumbers",
         L16,
         {{F::LineSettings, 4, {6}}, {F::CoNumbers, 8, text("  ")}},
         {"E CoNumbers[5]"}},
        {"coNumbers", L16, {{F::CoNumbers, 8, text("  ")}}, {}},
        {"coNumbers", L4, {{F::CoNumbers, 4, text("3 ")}}, {"W CoNumbers[3]"}, "„3 ”) nem tölti"},
        {"coNumbers", L4, {{F::CoNumbers, 4, {'0', 1}}}, {"E CoNumbers[3]"}, "„0\\x01”"},
        {"repeatedCoNumbers",
         L4,
         {{F::CoNumbers, 6, text("01")}},
         {"E CoNumbers[1]", "E CoNumbers[4]"}},
        {"numberLengths", L4, {{F::LocalLength, 0, {0}}}, {"E LocalLength"}},
        {"numberLengths", L16, {{F::NationalLength, 0, {17}}}, {"W NationalLength"}},
        {"numberLengths", L4, {{F::LocalLength, 0, {10}}}, {"W LocalLength"}, "belföldinél (10)"},
        {"areaForm",
         L4,
         {{F::NationalExceptions, 9, {0x3E, 0xFF, 7}}},
         {"E NationalExceptions[4]"},
         "„3>??”"},
        {"areaForm", L16, {{F::NationalExceptions, 0, {0xEE, 7}}}, {"E NationalExceptions[1]"}},
        {"areaForm",
         L4,
         {{F::MobilePrefixes, 0, {0xF6, 0x20}},
          {F::IntlPrefixes, 1, {0x0D}},
          {F::BarredCallInAreas, 12, {0xF1}}},
         {"E MobilePrefixes[1]", "E IntlPrefixes[2]", "E BarredCallInAreas[13]"}},
        {"exceptionLengths",
         L4,
         {{F::NationalExceptions, 9, {6, 0x50, 0}}},
         {"E NationalExceptions[4]"}},
        {"exceptionLengths",
         L16,
         {{F::NationalExceptions, 2, {0x36, 20}}},
         {"W NationalExceptions[2]"}},
        {"repeatedAreas",
         L4,
         {{F::NationalExceptions, 9, {6, 0x20, 12}}},
         {"E NationalExceptions[1]", "E NationalExceptions[4]"},
         "más hosszal"},
        {"repeatedAreas",
         L4,
         {{F::NationalExceptions, 9, {6, 0x20, 11}},
          {F::MobilePrefixes, 6, {6, 0x20}},
          {F::BarredCallInAreas, 12, {0x21}}},
         {"W NationalExceptions[1]", "W NationalExceptions[4]", "W MobilePrefixes[1]",
          "W MobilePrefixes[4]", "W BarredCallInAreas[1]", "W BarredCallInAreas[13]"}},
        {"pinCheckingOff",
         L4,
         {{F::PinEnable, 0, {0}}},
         {"W PinEnable"},
         "2 kódnak",
         {"1234?", "5678?"}},
        {"codeForm", L4, {}, {"W CodeTable[2]"}, "Üres sor", {"1234?", "    ?"}},
        {"codeForm", L4, {}, {"E CodeTable[1]"}, "„12 4”", {"12 4?"}},
        {"codeForm", L16, {}, {"E CodeTable[1]"}, "„12a4”", {"12a44"}},
        {"codeForm", L4, {}, {"E CodeTable[1]"}, "(4 számjegy)", {"123 ?"}},
        {"codeRights", L4, {}, {"W CodeTable[1]"}, "(0x41)", {"1234A"}},
        {"codeRights", L16, {}, {"W CodeTable[1]"}, "(0x37)", {"12347"}},
        {"duplicateCodes",
         L4,
         {},
         {"E CodeTable[1]", "E CodeTable[3]"},
         "sorokban is: 3",
         {"1234?", "5678?", "1234?"}},
        {"codesBeyondCount",
         L4,
         {{F::CodeCount, 0, {1}}},
         {"W CodeCount"},
         "(2. rekord)",
         {"1234?", "5678?"}},
        {"freeNumberForm", L4, {}, {"E FreeNumbers[2]"}, "„06-1-234”", {}, {"104", "06-1-234"}},
        {"freeNumberForm", L16, {}, {"E FreeNumbers[1]"}, "„06 1234”", {}, {"06 1234"}},
        {"repeatedFreeNumbers",
         L4,
         {},
         {"W FreeNumbers[1]", "W FreeNumbers[3]"},
         "",
         {},
         {"112", "*21#", "112"}},
        {"callInNumber", L4, {{F::CallInNumber, 0, text("06A1")}}, {"E CallInNumber"}},
        {"callInNumber", L16, {{F::LineSettings, 1, {0x14}}}, {"W CallInNumber"}, "(2. vonal)"},
    };
    std::set<std::string_view> ruled;
    for (const Case& c : cases) {
        DatabaseRecord record;
        ConfigImage image = c.base ? c.base() : codeTableImage(c.model, 5, c.codes);
        writeFreeNumbers(image, c.model, std::vector<RawText>(c.numbers.begin(), c.numbers.end()));
        record.image = changed(image, c.model, c.writes);
        const SettingsReading reading(record, c.model);
        const auto rule =
            std::find_if(checkRules().begin(), checkRules().end(),
                         [&](const CheckRule& r) { return r.id == std::string_view(c.rule); });
        ASSERT_NE(rule, checkRules().end()) << c.rule;
        const std::vector<Finding> found = checkConfiguration(reading);
        EXPECT_EQ(shortForm(found), c.found) << c.rule << " " << c.message;
        EXPECT_EQ(shortForm(rule->find(reading)), c.found) << c.rule << " " << c.message;
        if (!c.message.empty() && !found.empty()) {
            EXPECT_NE(found.front().message.find(c.message), std::string::npos)
                << found.front().message;
        }
        if (!c.found.empty()) ruled.insert(rule->id);
    }
    for (const CheckRule& rule : checkRules())
        EXPECT_TRUE(ruled.count(rule.id)) << rule.id << " has no case that triggers it";
}

TEST(ConfigurationCheck, TheProgramsOwnConfigurationsPass) {
    const struct {
        const char* name;
        ConfigImage image;
        DeviceModel model;
    } cases[] = {
        {"new 4-line", newImage(L4), L4},
        {"new 16-line", newImage(L16), L16},
        {"demo", demoConfiguration(), L4},
        {"full table", codeTableImage(L16, 3, distinctCodes(100, 2, '4'), 100), L16},
    };
    for (const auto& c : cases) {
        DatabaseRecord record;
        record.image = c.image;
        EXPECT_EQ(shortForm(checkConfiguration(record, c.model)), std::vector<std::string>{})
            << c.name;
    }
}

TEST(ConfigurationCheck, AFindingNamesItsPlaceAsTheWindowAndShowDo) {
    DatabaseRecord record;
    record.image = codeTableImage(L4, 5, {"1234?", "1234?"});
    const std::vector<Finding> found = checkConfiguration(record, L4);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].page(), "Kódok");
    EXPECT_EQ(findingLine(found[1]),
              "hiba\tKódok / 2. sor\tCodeTable[2]\tUgyanez a kód („1234”) van ezekben a sorokban "
              "is: 1");
    EXPECT_EQ(countFindings(found), (FindingCounts{2, 0}));
    EXPECT_EQ(uploadWithErrorsQuestion(2), "A konfiguráció 2 hibát tartalmaz. Feltölti mégis?");

    // A code every row shares is told once a row, the other rows named up to ten.
    record.image = codeTableImage(L4, 5, std::vector<std::string>(14, "1111?"));
    const std::vector<Finding> shared = checkConfiguration(record, L4);
    ASSERT_EQ(shared.size(), 14u);
    EXPECT_NE(shared[0].message.find("2, 3, 4, 5, 6, 7, 8, 9, 10, 11, ... és még 3"),
              std::string::npos)
        << shared[0].message;
}

} // namespace
} // namespace zx
