#include "model/settings_registry.h"

#include "model/configuration_check.h"
#include "model/cp1250_text.h"
#include "model/demo_configuration.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace zx {
namespace {

using namespace fixtures;

std::vector<std::string> names(DeviceModel m) {
    DatabaseRecord record;
    record.image = newImage(m);
    std::vector<std::string> out;
    for (const ShownSetting& s : readSettings(SettingsReading(record, m)))
        out.push_back(s.entry->name);
    return out;
}

// What show prints, as the assignments set reads: one per setting, one per list element, and
// one per part of a compound value (NAME.part, NAME[i].part).
std::vector<std::string> assignmentsOf(const DatabaseRecord& record, DeviceModel m) {
    std::vector<std::string> out;
    const auto add = [&](const std::string& target, const SettingValue& value) {
        out.push_back(target + "=" + shownText(value));
        for (const SettingPart& p : value.parts)
            out.push_back(target + "." + p.name + "=" + shownText(p.value));
    };
    for (const ShownSetting& s : readSettings(SettingsReading(record, m))) {
        if (!s.entry->store) continue;
        if (s.value.kind != SettingValue::Kind::List) {
            add(s.entry->name, s.value);
            continue;
        }
        for (std::size_t i = 0; i < s.value.items.size(); ++i)
            add(s.entry->name + "[" + std::to_string(i + 1) + "]", s.value.items[i]);
    }
    return out;
}

// Records whose images hold every kind of value: new ones, the demo unit's, and bytes at
// random, with texts of every byte around them.
std::vector<std::pair<DeviceModel, DatabaseRecord>> sampleRecords() {
    std::vector<std::pair<DeviceModel, DatabaseRecord>> out;
    for (const DeviceModel m : {L4, L16}) {
        DatabaseRecord record;
        record.image = newImage(m);
        out.emplace_back(m, record);
    }
    DatabaseRecord demo;
    demo.image = demoConfiguration();
    out.emplace_back(L4, demo);
    std::mt19937 random(34);
    for (int run = 0; run < 6; ++run) {
        DatabaseRecord record;
        for (Byte& b : record.image.bytes())
            b = static_cast<Byte>(random());
        std::string text;
        for (int i = 0; i < 255; ++i)
            text.push_back(static_cast<char>(random()));
        record.setText(DatabaseRecord::Slot::Site, RawText(text));
        out.emplace_back(run % 2 ? L16 : L4, record);
    }
    return out;
}

TEST(SettingsRegistry, EachModelShowsTheSettingsOfItsMap) {
    const std::vector<std::string> four = names(L4);
    const std::vector<std::string> sixteen = names(L16);
    const std::set<std::string> only4{"PinEnable", "DstEnable", "LoopPulseDelta", "MobilePrefixes",
                                      "IntlPrefixes"};
    const std::set<std::string> only16{"NumberTerminator", "FirstToneTime2", "SecondToneTime2",
                                       "CoTimeout2", "CoResetTime2"};
    for (const SettingEntry& e : settingsRegistry()) {
        const bool in4 = std::find(four.begin(), four.end(), e.name) != four.end();
        const bool in16 = std::find(sixteen.begin(), sixteen.end(), e.name) != sixteen.end();
        EXPECT_EQ(in4, !only16.contains(e.name)) << e.name;
        EXPECT_EQ(in16, !only4.contains(e.name)) << e.name;
        EXPECT_EQ(findSetting(e.name), &e);
    }
    EXPECT_EQ(four.front(), "Model");
    EXPECT_EQ(four.back(), "FreeNumbers");
    EXPECT_EQ(findSetting("Nothing"), nullptr);
}

// Every setting of both models, whole, element by element and part by part: the value show
// prints stores nothing, whatever the bytes hold.
TEST(SettingsRegistry, WhatShowPrintsFedBackToSetChangesNoByte) {
    for (const auto& [model, record] : sampleRecords()) {
        const std::vector<std::string> assignments = assignmentsOf(record, model);
        EXPECT_GT(assignments.size(), 150u);
        DatabaseRecord changed = record;
        for (const std::string& a : assignments)
            EXPECT_EQ(applySetting(changed, model, a), std::nullopt) << a;
        EXPECT_EQ(changed.toBytes(), record.toBytes()) << modelIndex(model);
    }
}

// The bytes the choices of the 4-line speed do not tell (the new configuration's 0A) are shown
// as the stored byte, which set takes back.
TEST(SettingsRegistry, TheStoredByteTheChoicesDoNotTellIsShownAndSet) {
    DatabaseRecord record;
    record.image = newImage(L4);
    const SettingValue speed = findSetting("SmdrSpeed")->read(SettingsReading(record, L4));
    EXPECT_EQ(shownText(speed), "byte=10, parity=\"Nincs\", speed=\"9600\"");
    ConfigImage image = newImage(L4);
    ASSERT_EQ(applySetting(image, L4, "SmdrSpeed.parity=Páros"), std::nullopt);
    EXPECT_EQ(image.at(1659), 0x09);
    ASSERT_EQ(applySetting(image, L4, "SmdrSpeed=" + shownText(speed)), std::nullopt);
    EXPECT_EQ(image.at(1659), 0x0A);
    EXPECT_EQ(applySetting(image, L4, "SmdrSpeed=byte=10, speed=\"2400\""),
              "byte: a(z) 10 nem a mellette megadott választásokat tárolja !!!");
    EXPECT_EQ(applySetting(image, L4, "SmdrMode.byte=300"), "byte: " + RangeMessage);
}

// Digit fields take what the unit dials, text fields what fits: every limit refuses with the
// field, the limit and the value, and leaves the record as it was.
TEST(SettingsRegistry, EveryDigitAndLengthLimitRefusesNamingFieldLimitAndValue) {
    const std::string longText(256, 'a');
    const struct {
        DeviceModel model;
        std::string assignment;
        std::string message; // the start of it; the value shown follows the field's words
    } cases[] = {
        {L4, "MobilePrefixes[2]=06a",
         "Mobil prefix: „06a” nem tárolható, legfeljebb 4 karakter "
         "lehet: számjegy (0..9) vagy ? !!!"},
        {L4, "MobilePrefixes[1]=*", "Mobil prefix: „*”"},
        {L4, "MobilePrefixes[1]=06201", "Mobil prefix: „06201”"},
        {L4, "MobilePrefixes[3]=06==", "Mobil prefix: „06==”"},
        {L4, "IntlPrefixes[1]=001", "Nemzetközi prefix: „001” nem tárolható, legfeljebb 2"},
        {L4, "BarredCallInAreas[5]=a1", "Tiltott körzetszám: „a1” nem tárolható, legfeljebb 2"},
        {L16, "BarredCallInAreas[5]=123", "Tiltott körzetszám: „123”"},
        {L4, "NationalExceptions[5].area=x1", "Körzetszám: „x1” nem tárolható, legfeljebb 4"},
        {L4, "NationalExceptions[5].area=06201", "Körzetszám: „06201”"},
        {L16, "NationalExceptions[5].area=3a", AreaMessage},
        {L4, "CallInNumber=06-1-234", "Behívószám: „06-1-234” nem tárolható, legfeljebb 24"},
        {L16, "CallInNumber=0612345678901234567890123", "Behívószám: „0612345678901234567890123"},
        {L4, "CoNumbers[1]=12345",
         "CO szám: „12345” nem tárolható, legfeljebb 2 karakter "
         "lehet !!!"},
        {L16, "CoNumbers[16]=123", "CO szám: „123”"},
        {L4, "Site=" + longText,
         "Telepítés: a 256 karakteres érték nem tárolható, legfeljebb "
         "255 karakter lehet !!!"},
        {L16, "Owner=" + longText, "Tulajdonos: a 256 karakteres érték"},
        {L4, "ConnectionName=" + longText, "Kapcsolat: a 256 karakteres érték"},
    };
    for (const auto& c : cases) {
        DatabaseRecord record;
        record.image = newImage(c.model);
        const DatabaseRecord before = record;
        const SettingRefusal refused = applySetting(record, c.model, c.assignment);
        ASSERT_TRUE(refused) << c.assignment;
        EXPECT_TRUE(refused->starts_with(c.message)) << *refused;
        EXPECT_EQ(record.toBytes(), before.toBytes()) << c.assignment;
    }
    // What fits is stored as given: digits and "?" padded where the window pads them.
    DatabaseRecord record;
    record.image = newImage(L4);
    for (const char* a : {"MobilePrefixes[2]=06", "NationalExceptions[5].area=1?", "Site=Győr",
                          "CallInNumber=*06#1", "CoNumbers[1]=7", "BarredCallInAreas[5]=?1"})
        EXPECT_EQ(applySetting(record, L4, a), std::nullopt) << a;
    EXPECT_EQ(bytesAt(record.image, 1414, 2), (Bytes{0x06, 0xFF}));
    EXPECT_EQ(bytesAt(record.image, 1596, 3), (Bytes{0x1F, 0xFF, 0}));
    EXPECT_EQ(bytesAt(record.image, 1680, 2), (Bytes{'7', ' '}));
    EXPECT_EQ(record.image.at(1700), 0xF1);
    EXPECT_EQ(record.text(DatabaseRecord::Slot::Site), RawText("Gy\xF5r"));
}

// A CO width that would cut a number is refused, naming it, unless forced; then what was cut
// is told.
TEST(SettingsRegistry, CoWidthConvertsTheNumbersOrSaysWhatItWouldCut) {
    DatabaseRecord record;
    record.image = newImage(L4);
    ASSERT_EQ(applySetting(record, L4, "CoNumbers[2]=7"), std::nullopt);
    EXPECT_EQ(applySetting(record, L4, "CoWidth=1"),
              "3 CO szám rövidebb lenne, semmi sem változott (a --force mégis átírja) !!!\n"
              "  1. vonal CO száma: „01” → „0”\n  3. vonal CO száma: „03” → „0”\n"
              "  4. vonal CO száma: „04” → „0”");
    std::vector<std::string> notes;
    ASSERT_EQ(applySetting(record, L4, "CoWidth=1", SetOptions{true}, &notes), std::nullopt);
    EXPECT_EQ(notes.size(), 3u);
    EXPECT_EQ(bytesAt(record.image, 1680, 4), (Bytes{'0', '7', '0', '0'}));
    ASSERT_EQ(applySetting(record, L4, "CoWidth=3"), std::nullopt);
    EXPECT_EQ(findSetting("CoNumbers")->read(SettingsReading(record, L4)).items[1].text, "7  ");
}

// The names the shell completes are those set takes, per model.
TEST(SettingsRegistry, SettableNamesAreTheOnesSetTakesPerModel) {
    for (const DeviceModel m : {L4, L16}) {
        const std::vector<std::string> names = settableNames(m);
        for (const char* name : {"CoPosition", "SmdrSpeed.parity", "CoNumbers[1]", "Site"})
            EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
        for (const std::string& name : names) {
            ConfigImage image = newImage(m);
            const SettingRefusal refused = applySetting(image, m, name + "=?");
            EXPECT_EQ(refused.value_or("").find("Ebben a típusban"), std::string::npos) << name;
        }
        const bool four = m == L4;
        EXPECT_EQ(std::find(names.begin(), names.end(), "MobilePrefixes[4]") != names.end(), four);
        EXPECT_EQ(std::find(names.begin(), names.end(), "CoNumbers[16]") != names.end(), !four);
        EXPECT_EQ(std::find(names.begin(), names.end(), "CoNumbers"), names.end());
        EXPECT_EQ(std::find(names.begin(), names.end(), "CodeTable"), names.end());
    }
}

TEST(SettingsRegistry, SetStoresByTheEditorsRules) {
    struct Case {
        DeviceModel model;
        const char* assignment;
        std::size_t offset;
        std::vector<Byte> bytes;
    };
    const Case cases[] = {
        {L4, "CoPosition= 20 ", 1656, {20}},
        {L16, "CoTimeout2=\"9\"", 1671, {9}},
        {L4, "SmdrSpeed=parity=\"Páros\", speed=\"2400\"", 1659, {25}},
        {L16, "SmdrSpeed.parity=Páros", 1675, {'A'}},
        {L16, "SmdrMode.mode=Kaszkád", 1677, {0}},
        {L4, "CoWidth=3", 1657, {3}},
        {L16, "NumberTerminator=#", 1686, {'#'}},
        {L4, "PinEnable=nem", 1409, {1, 0}},
        {L4, "LineSettings[1].seizure=Tárcsázáskor", 1668, {2}},
        {L4, "LineSettings[3]=callIn=igen, line=3, subLine=nem", 1666, {0x40}},
        {L16, "LineSettings[5]=timerSet=\"#2\", dialling=Impulzus", 1652, {0x07}},
        {L4, "CoNumbers[3]=12", 1684, {'1', '2'}},
        {L4, "NationalExceptions[4]=area=\"36\", length=\"7\"", 1593, {0x36, 0xFF, 7}},
        {L16, "NationalExceptions[3]=", 1764, {0, 255}},
        {L4, "MobilePrefixes[4]=3", 1418, {0x3F, 0xFF}},
        {L4, "IntlPrefixes[2]=", 1421, {0xDD}},
        {L4, "CallInNumber=\"06\\x2A\"", 1632, {'0', '6', '*', 0}},
        {L4, "CallInFlags.foreign=nem", 1669, {1}},
        {L4, "BarredCallInAreas[13]=1", 1708, {0x1F}},
        {L4, "BarredCallInAreas[1]=", 1696, {0xFF}},
    };
    for (const Case& c : cases) {
        ConfigImage image = newImage(c.model);
        ASSERT_EQ(applySetting(image, c.model, c.assignment), std::nullopt) << c.assignment;
        EXPECT_EQ(bytesAt(image, c.offset, c.bytes.size()), c.bytes) << c.assignment;
    }
}

TEST(SettingsRegistry, ARefusedValueLeavesTheImageAsItWas) {
    struct Case {
        DeviceModel model;
        const char* assignment;
        std::string message;
    };
    const Case cases[] = {
        {L4, "SeizeTime=256", RangeMessage},
        {L4, "RecordTerminator=256", "Hibás érték !!!"},
        {L4, "CoWidth=0", "Válasszon egy értéket 1..4 között !!!"},
        {L16, "NumberTerminator=", "Csak 0..9,*,# lehet !!!"},
        {L4, "NationalExceptions[2]=area=36, length=x", RangeMessage},
        {L16, "NationalExceptions[1].area=1234", AreaMessage},
        {L16, "NationalExceptions[16]=area=12345, length=7", AreaMessage},
        {L16, "LoopPulseDelta=5", "A(z) Vardo-16 (V 4.27+) típusban nincs ilyen beállítás !!!"},
        {L4, "CoNumbers[5]=1", "Az elem sorszáma kell: CoNumbers[1..4] (Vardo-4 (V2.39+)) !!!"},
        {L4, "CoNumbers[1].x=1", "Ennek a listának az elemei nem összetettek !!!"},
        {L4, "CoPosition[1]=1", "Ez a beállítás egyetlen érték, sem lista, sem összetett !!!"},
        {L4, "LineSettings[2].dialling=DTMF",
         "A(z) Vardo-4 (V2.39+) 2. vonalán nincs dialling választás !!!"},
        {L4, "LineSettings[2]=line=3", "A line rész a sor száma, 2 !!!"},
        {L4, "SmdrSpeed.speed=2500",
         "Ismeretlen érték: 2500 (lehet: 19200, 9600, 4800, 2400, 1200, 600, 300) !!!"},
        {L4, "SmdrMode.bogus=1", "Ismeretlen rész: bogus (lehet: mode, controlCharacters) !!!"},
        {L4, "CallInFlags=garbage",
         "Összetett érték: rész=érték, rész=érték (lehet: foreign, domestic) !!!"},
        {L4, "PinEnable=talán", "Igen vagy nem lehet !!!"},
        {L4, "CallInNumber=1234567890123456789012345",
         "Behívószám: „1234567890123456789012345” nem tárolható, legfeljebb 24 karakter lehet: "
         "számjegy (0..9), * vagy # !!!"},
        {L4, "CallInNumber=ñ", outsideCp1250Refusal("ñ")},
        {L4, "LastModified=2026", "Ezt a set parancs nem állítja !!!"},
        {L4, "Bogus=1", "Ismeretlen beállítás (set --help) !!!"},
        {L4, "=1", "NÉV=ÉRTÉK alakban várom (set --help) !!!"},
    };
    for (const Case& c : cases) {
        ConfigImage image = newImage(c.model);
        const ConfigImage before = image;
        EXPECT_EQ(applySetting(image, c.model, c.assignment), c.message) << c.assignment;
        EXPECT_EQ(image, before) << c.assignment;
    }
    // A CO width of 0 leaves no room for a CO number: nothing would land, so it is refused.
    ConfigImage image = newImage(L4);
    image.set(1657, 0);
    EXPECT_EQ(applySetting(image, L4, "CoNumbers[1]=12"), "Ez az érték itt nem tárolható !!!");
}

TEST(SettingsRegistry, HelpNamesEverySettingSetChangesWithItsItems) {
    const std::string help = setHelpText();
    for (const SettingEntry& e : settingsRegistry()) {
        EXPECT_NE(help.find(e.name), std::string::npos) << e.name;
        EXPECT_EQ(e.store == nullptr, e.help.empty()) << e.name;
    }
    for (const char* line :
         {"  LoopPulseDelta (4 vonalas)", "  CoTimeout2 (16 vonalas)", "  BarredCallInAreas[i] ",
          ".mode (16 vonalas): Kaszkád, Normal, Saját", ".parity: Nincs, Páros (páratlan",
          "pontosan két számjegy 0-9"})
        EXPECT_NE(help.find(line), std::string::npos) << line;
}

// Every setting has the window's words: the page (or dialog) that shows it and its label there,
// each its own; a list's label numbers its element.
TEST(SettingsRegistry, EverySettingHasTheWindowsPageAndLabel) {
    const std::set<std::string> pages{
        "Alap",   "Vonalak", "Időzítők",     "Számhosszak",          "Kódok",
        "Számok", "Behívás", "Preferenciák", "Com port beállítások", "Állapotsor"};
    std::set<std::string> labels;
    for (const SettingEntry& e : settingsRegistry()) {
        const std::size_t slash = e.label.find(" / ");
        if (e.name != "Model") {
            ASSERT_NE(slash, std::string::npos) << e.name;
            EXPECT_TRUE(pages.contains(e.label.substr(0, slash))) << e.label;
        }
        EXPECT_TRUE(labels.insert(e.label).second) << "twice: " << e.label;
        bool isList = e.list;
        DatabaseRecord record;
        record.image = newImage(L4);
        if (e.availableIn(L4))
            isList = e.read(SettingsReading(record, L4)).kind == SettingValue::Kind::List;
        EXPECT_EQ(isList, e.label.find("#.") != std::string::npos) << e.name;
    }
    const struct {
        const char* name;
        std::optional<int> index;
        const char* label;
    } cases[] = {
        {"CoPosition", {}, "Alap / CO pozíció"},
        {"CodeTable", 2, "Kódok / 2. sor"},
        {"FreeNumbers", 1, "Számok / 1. szám"},
        {"CoTimeout2", {}, "Időzítők / CO leidözítés #2"},
        {"BarredCallInAreas", 64, "Behívás / 64. tiltott körzetszám"},
        {"CodeTable", {}, "Kódok / n. sor"},
    };
    for (const auto& c : cases) {
        const SettingEntry* e = findSetting(c.name);
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(settingLabel(*e, c.index), c.label);
    }
}

// Every choice a control lists, in either model, is stored and shown back as given, or refused
// naming the model with the configuration left as it was.
TEST(SettingsRegistry, EveryListedChoiceIsStoredAsGivenOrRefusedNamingTheModel) {
    int stored = 0;
    int refused = 0;
    for (const DeviceModel m : {L4, L16}) {
        for (const ListedChoices& list : listedChoices()) {
            for (const std::string& choice : list.choices) {
                const std::string assignment = list.target + "=" + choice;
                SCOPED_TRACE(assignment + " (" + modelCaption(m) + ")");
                DatabaseRecord record;
                record.image = newImage(m);
                const DatabaseRecord before = record;
                if (const SettingRefusal r = applySetting(record, m, assignment, {true})) {
                    EXPECT_NE(r->find(modelCaption(m)), std::string::npos) << *r;
                    EXPECT_EQ(record.toBytes(), before.toBytes());
                    ++refused;
                    continue;
                }
                const Checked<SettingValue> shown =
                    readSetting(SettingsReading(record, m), list.target);
                ASSERT_TRUE(shown.ok());
                EXPECT_EQ(unquotedText(shownText(*shown)), choice);
                ++stored;
            }
        }
    }
    EXPECT_GT(stored, 200);
    EXPECT_GT(refused, 50);
}

// A stored byte that names no choice is shown as it is, with what the setting may hold; set
// copies that line into another configuration byte for byte, and the check still reports it.
TEST(SettingsRegistry, AByteNamingNoChoiceIsShownAsStoredAndCopiedBack) {
    struct Case {
        DeviceModel model;
        std::size_t offset;
        Byte value;
        std::string target;
        std::string shown;
    };
    const std::string mark = " # nem érvényes: ";
    const Case cases[] = {
        {L4, 1657, 251, "CoWidth", "byte=251" + mark + "1..4"},
        {L16, 1675, '0', "SmdrSpeed", "byte=48" + mark + "'1'..'6' vagy 'A'..'F'"},
        {L4, 1661, 0x02, "SmdrMode", "byte=2" + mark + "mód 0..1 a 0..3. biten, az 5..7. bit 0"},
        {L16, 1686, 'x', "NumberTerminator", "byte=120" + mark + "0..9, *, # vagy szóköz"},
        {L16, 1650, 0x5A, "LineSettings[3]", "byte=90, line=3" + mark + "0..31, az 5..7. bit 0"},
        {L4, 1667, 9, "LineSettings[1]",
         "callIn=nem, diallingByte=9, line=1, seizure=\"Azonnal\", subLine=nem" + mark +
             "diallingByte 1..3"},
        {L4, 1668, 7, "LineSettings[1]",
         "callIn=nem, dialling=\"DTMF normal\", line=1, seizureByte=7, subLine=nem" + mark +
             "seizureByte 0..2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target + " " + std::to_string(c.value));
        DatabaseRecord stored;
        stored.image = newImage(c.model);
        stored.image.set(c.offset, c.value);
        const Checked<SettingValue> shown = readSetting(SettingsReading(stored, c.model), c.target);
        ASSERT_TRUE(shown.ok());
        EXPECT_EQ(shownText(*shown), c.shown);
        const std::vector<Finding> findings = checkConfiguration(stored, c.model);
        EXPECT_TRUE(std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
            return f.severity == Severity::Error && f.name() == c.target;
        }));
        DatabaseRecord copy;
        copy.image = newImage(c.model);
        EXPECT_EQ(applySetting(copy, c.model, c.target + "=" + shownText(*shown)), std::nullopt);
        EXPECT_EQ(copy.toBytes(), stored.toBytes());
    }
}

} // namespace
} // namespace zx
