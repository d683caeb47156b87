// show's text applied back (set --from): a configuration's own dump changes nothing, another's
// makes every setting the same, and a faulty line is named.
#include "model/settings_dump.h"

#include "model/demo_configuration.h"
#include "model/image_patch.h"
#include "model/settings_comparison.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

#include <random>

namespace zx {
namespace {

using namespace fixtures;

std::string dumpOf(const DatabaseRecord& record, DeviceModel m) {
    std::string text;
    for (const std::string& line : settingsDumpLines(SettingsReading(record, m)))
        text += line + "\n";
    return text;
}

DatabaseRecord recordOf(const ConfigImage& image) {
    DatabaseRecord record;
    record.image = image;
    return record;
}

TEST(SettingsDump, AConfigurationsOwnDumpChangesNoByte) {
    std::mt19937 random(3434);
    for (const DeviceModel m : {L4, L16}) {
        std::vector<DatabaseRecord> records{recordOf(newImage(m))};
        if (m == L4) records.push_back(recordOf(demoConfiguration()));
        for (int run = 0; run < 3; ++run) {
            ConfigImage image;
            for (Byte& b : image.bytes())
                b = static_cast<Byte>(random());
            records.push_back(recordOf(image));
        }
        for (const DatabaseRecord& record : records) {
            DatabaseRecord applied = record;
            EXPECT_EQ(applySettingsDump(applied, m, dumpOf(record, m)), std::nullopt);
            EXPECT_EQ(applied.toBytes(), record.toBytes()) << modelIndex(m);
        }
    }
}

// Another configuration of the model, dumped and applied onto a new one, leaves no difference:
// no setting and no byte of the configuration range (rights characters the grid would not write
// back, 'Z' naming no right and 'A' a level in its low nibble, included).
TEST(SettingsDump, AnotherConfigurationsDumpCopiesEverySetting) {
    for (const DeviceModel m : {L4, L16}) {
        DatabaseRecord source =
            recordOf(m == L4 ? demoConfiguration()
                             : fixtures::codeTableImage(m, 5, {"12344", "4321Z", "9   A"}));
        if (m == L16) {
            ImagePatch numbers;
            numbers.setChars(2048, "0612345678      0680200200      ");
            numbers.applyTo(source.image);
        }
        for (const char* a :
             {"Site=Győr, Fő tér 1.", "Owner=\"Kft \\\"A\\\"\"", "SmdrSpeed.parity=Páros",
              "CoWidth=3", "CoNumbers[2]=7", "CoPosition=99", "CallInNumber=0612345678",
              "BarredCallInAreas[60]=12", "NationalExceptions[2].length=9"})
            ASSERT_EQ(applySetting(source, m, a), std::nullopt) << a;
        DatabaseRecord target = recordOf(newImage(m));
        target.setText(DatabaseRecord::Slot::Site, RawText("Elsewhere"));
        ASSERT_EQ(applySettingsDump(target, m, dumpOf(source, m)), std::nullopt);
        EXPECT_EQ(dumpOf(target, m), dumpOf(source, m));
        const std::vector<SettingDifference> differences =
            compareSettings(SettingsReading(source, m), SettingsReading(target, m));
        EXPECT_TRUE(differences.empty()) << differenceLine(differences.front());
    }
}

TEST(SettingsDump, AFaultyLineIsNamedAndNothingIsApplied) {
    const DatabaseRecord source = recordOf(demoConfiguration());
    const std::string dump = dumpOf(source, L4);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = dump;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct {
        std::string dump;
        DeviceModel model;
        std::string message;
    } cases[] = {
        {dump, L16, "1. sor: Model: a lista Vardo-4 (V2.39+) konfigurációé"},
        {replaced("CoPosition: 23", "CoPosition: 256"), L4, "8. sor: CoPosition: " + RangeMessage},
        {replaced("CoPosition: 23", "Bogus: 1"), L4, "8. sor: Bogus: Ismeretlen beállítás !!!"},
        {replaced("CoPosition: 23", "CoPosition 23"), L4, "8. sor: NÉV: ÉRTÉK alakban várom !!!"},
        {replaced("  2: \"02\"", "  2: \"0299\""), L4, "21. sor: CoNumbers[2]: CO szám: „0299”"},
        {replaced("CoNumbers: (4)", "CoNumbers: (5)"), L4, "19. sor: CoNumbers: 5 elemet ír, 4"},
        {replaced("  2: \"02\"", "  3: \"02\""), L4, "21. sor: CoNumbers 2. elemét várom !!!"},
        {replaced("code=\"1024\"", "code=\"1x24\""), L4, ". sor: CodeTable[1]: Kód: „1x24”"},
        {replaced("\"0680200200      \"", "\"06 80 AB\""), L4, ". sor: FreeNumbers[6]: Szám:"},
        {replaced("CodeCount: ", "CodeCounted: "), L4, "Ismeretlen beállítás"},
        // An input that holds no setting (a failed show in front of the pipe) is no copy.
        {"", L4, "Nincs beállítás a bemeneten"},
        {"\r\n   \n\n", L16, "Nincs beállítás a bemeneten"},
        {std::string("\xFF\xFEM\0o\0d\0", 8), L4, "UTF-16 kódolású"},
    };
    for (const auto& c : cases) {
        DatabaseRecord target = recordOf(newImage(c.model));
        const DatabaseRecord before = target;
        const SettingRefusal refused = applySettingsDump(target, c.model, c.dump);
        ASSERT_TRUE(refused) << c.message;
        EXPECT_NE(refused->find(c.message), std::string::npos) << *refused;
        EXPECT_EQ(target.toBytes(), before.toBytes()) << c.message;
    }
}

} // namespace
} // namespace zx
