// The demo unit's configuration, read back as the editors would show it.
#include "model/code_table.h"
#include "model/database_record.h"
#include "model/demo_configuration.h"
#include "model/editor_view.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zx {
namespace {

TEST(DemoConfiguration, ShowsCodesWithVariedRightsWithinTheTableLimits) {
    const EditorView v = decodeForEditors(demoConfiguration(), DeviceModel::Line4);
    EXPECT_EQ(v.codeDigits, DemoCodeDigits);
    ASSERT_EQ(v.codes.size(), 12u);
    EXPECT_LE(v.codeCount, codeCountLimit(DemoCodeDigits));
    EXPECT_EQ(v.codePanelText(), "12/4");

    std::set<std::string> codes;
    std::set<std::vector<std::string>> rights;
    for (const CodeRowView& row : v.codes) {
        EXPECT_EQ(row.code.size(), static_cast<std::size_t>(DemoCodeDigits)) << row.code;
        EXPECT_EQ(row.code.bytes().find_first_not_of("0123456789"), std::string::npos) << row.code;
        codes.insert(row.code.bytes());
        rights.insert(row.rights);
    }
    EXPECT_EQ(codes.size(), v.codes.size()) << "codes must be unique";
    EXPECT_GE(rights.size(), 5u);
    EXPECT_TRUE(rights.count({"Nem", "Nem", "Nem", "Nem"})) << "one barred code";
    EXPECT_TRUE(rights.count({"Igen", "Igen", "Igen", "Igen"})) << "one unrestricted code";
}

TEST(DemoConfiguration, ShowsFreeNumbersExceptionsPrefixesAndCallIn) {
    const EditorView v = decodeForEditors(demoConfiguration(), DeviceModel::Line4);
    ASSERT_EQ(v.freeNumbers.size(), 12u);
    EXPECT_EQ(v.freeNumbers.front(), "112             ");
    EXPECT_EQ(v.freeNumbers.back(), "0670555000      ");

    const char* const exceptions[] = {"062011", "063011", "067011", "065011", "068010", "064010"};
    for (std::size_t i = 0; i < v.exceptions.size(); ++i)
        EXPECT_EQ(v.exceptions[i].text(), i < std::size(exceptions) ? exceptions[i] : "====00")
            << i;
    ASSERT_TRUE(v.mobilePrefixes);
    EXPECT_EQ((*v.mobilePrefixes)[3], "0650");
    EXPECT_EQ(v.callInNumber, "0612345678");
}

// Everything else is a new configuration's, so the demo shows no value an editor would refuse.
TEST(DemoConfiguration, DiffersFromANewConfigurationOnlyInItsOwnFields) {
    DatabaseRecord fresh;
    applyNewConfiguration(fresh, DeviceModel::Line4);
    const ConfigImage demo = demoConfiguration();
    const MemoryMap& map = MemoryMap::of(DeviceModel::Line4);
    const Field changed[] = {Field::CodeLength,        Field::CodeCount,      Field::CodeTable,
                             Field::FreeNumbers,       Field::MobilePrefixes, Field::CallInNumber,
                             Field::NationalExceptions};
    for (std::size_t i = 0; i < ImageSize; ++i) {
        if (demo.at(i) == fresh.image.at(i)) continue;
        bool inField = false;
        for (Field f : changed) {
            const std::size_t start = *map.offset(f);
            inField = inField || (i >= start && i < start + static_cast<std::size_t>(map.width(f)));
        }
        EXPECT_TRUE(inField) << "offset " << i;
    }
}

} // namespace
} // namespace zx
