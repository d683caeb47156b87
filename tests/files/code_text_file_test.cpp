// The tab-separated code text: the longest code sets the length, the rights are written per
// model and read back from the same layout, and a code alone gets every right.
#include "files/code_text_file.h"

#include "code_rows.h"
#include "model/image_fixtures.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

using test::Rights;
using test::row;
constexpr DeviceModel Four = DeviceModel::Line4;
constexpr DeviceModel Sixteen = DeviceModel::Line16;

std::vector<std::string> codes(const CodeList& list) {
    std::vector<std::string> out;
    for (const CodeRowView& r : list.rows)
        out.push_back(r.code.bytes());
    return out;
}

TEST(CodeTextFile, TheLongestCodeSetsTheLengthAndEveryCodeGetsEveryRight) {
    for (const char* text : {"1234\r\n56789\r\n12\r\n", "12\n1234\n56789", "56789\r\n12\n1234"}) {
        for (DeviceModel model : {Four, Sixteen}) {
            const Checked<CodeList> read = parseCodeTextFile(text, model);
            ASSERT_TRUE(read) << read.message();
            EXPECT_EQ(read->codeLength, 6) << text;
            EXPECT_EQ(read->codeCount, 3);
            ASSERT_EQ(read->rows.size(), 3u);
            for (const CodeRowView& r : read->rows)
                EXPECT_EQ(r.rights, allRights(model));
        }
    }
}

TEST(CodeTextFile, OnlyTheTextBeforeTheFirstTabIsACode) {
    const Checked<CodeList> read =
        parseCodeTextFile("1234\tHelyi\r\n\tHelyi\tT\xE1v\r\n\r\n 4321  \t\tx\r\n99", Sixteen);
    ASSERT_TRUE(read) << read.message();
    // Blank lines count as rows with an empty code; blanks around a code are not part of it.
    EXPECT_EQ(codes(*read), (std::vector<std::string>{"1234", "", "", "4321", "99"}));
    EXPECT_EQ(read->codeLength, 5);
    EXPECT_EQ(read->codeCount, 5);
}

TEST(CodeTextFile, RightsAreWrittenAsWordsPerModel) {
    const CodeList four{7,
                        3,
                        {row("123456", {"Igen", "Igen", "Igen", "Igen"}),
                         row("654321", {"Nem", "Nem", "Nem", "Nem"}),
                         row("11", {"Nem", "Igen", "", "I"})}};
    EXPECT_EQ(codeTextFileBytes(four, Four), "123456\tHelyi\tT\xE1v\tMobil\tNemz\r\n"
                                             "654321\t\t\t\t\r\n"
                                             "11\t\tT\xE1v\t\tNemz\r\n");
    const CodeList sixteen{3,
                           7,
                           {row("10", {"T"}), row("11", {"Helyi"}), row("12", {"B"}),
                            row("13", {"M"}), row("14", {"Nem"}), row("15", {""}),
                            row("16", {"X"})}};
    EXPECT_EQ(codeTextFileBytes(sixteen, Sixteen), "10\tTilt\r\n11\tHelyi\r\n12\tT\xE1v\r\n"
                                                   "13\tMobil\r\n14\tNemz\r\n15\t\r\n16\t\r\n");
    // Only CodeCount rows are written; rows the grid lacks are empty.
    EXPECT_EQ(codeTextFileBytes(CodeList{3, 2, {row("10", {"T"})}}, Sixteen), "10\tTilt\r\n\t\r\n");
    EXPECT_EQ(codeTextFileBytes(CodeList{3, 0, {row(" ", {"N"})}}, Sixteen), "");
}

TEST(CodeTextFile, ExportThenImportGivesBackTheSameTable) {
    // Every right combination of each model, codes of full width, shorter and empty.
    for (DeviceModel model : {Four, Sixteen}) {
        const int combinations = model == Four ? 16 : 5;
        std::vector<std::string> records;
        for (int n = 0; n < combinations; ++n)
            records.push_back(std::to_string(100000 + n * 37) + static_cast<char>('0' + n));
        records.push_back("42    0");
        records.push_back("      1");
        const ConfigImage before = fixtures::codeTableImage(model, 7, records);
        const CodeList exported = codeListOf(before, model);
        const Checked<CodeList> read = parseCodeTextFile(codeTextFileBytes(exported, model), model);
        ASSERT_TRUE(read) << read.message();
        ConfigImage image = before;
        codeListPatch(image, *read, model).applyTo(image);
        EXPECT_TRUE(image == before) << "model " << static_cast<int>(model);
    }
}

TEST(CodeTextFile, RightsAreReadOnlyFromTheWritersOwnLayout) {
    const auto expectRights = [](DeviceModel model, const std::string& line, const Rights& rights) {
        const Checked<CodeList> read = parseCodeTextFile(line, model);
        ASSERT_TRUE(read) << line;
        EXPECT_EQ(read->rows.at(0).rights, rights) << line;
    };
    const Rights none{"Nem", "Nem", "Nem", "Nem"};
    const std::pair<std::string, Rights> four[] = {
        {"12\tHelyi\tT\xE1v\tMobil\tNemz", {"Igen", "Igen", "Igen", "Igen"}},
        {"12\t\t\t\t", none},
        {"12\t\tT\xE1v\t\tNemz", {"Nem", "Igen", "Nem", "Igen"}},
        {"12\t Helyi \t\tMobil\t", {"Igen", "Nem", "Igen", "Nem"}},
    };
    for (const auto& [line, rights] : four)
        expectRights(Four, line, rights);
    // The code alone, or anything else, keeps every right.
    for (const char* line : {"12", "12\tHelyi", "12\t\t\t", "12\t\t\t\t\t", "12\tT\xE1v\tHelyi\t\t",
                             "12\tIgen\tNem\tNem\tNem", "12\tT\xC3\xA1v\t\t\t"})
        expectRights(Four, line, allRights(Four));
    const std::pair<std::string, Rights> sixteen[] = {
        {"12\tTilt", {"T"}},   {"12\tHelyi", {"H"}},   {"12\tT\xE1v", {"B"}}, {"12\tMobil", {"M"}},
        {"12\tNemz", {"N"}},   {"12\t Mobil ", {"M"}}, {"12\t", {"T"}},       {"12", {"N"}},
        {"12\tNemz\t", {"N"}}, {"12\tTiltott", {"N"}}, {"12\tIgen", {"N"}},   {"12\t\tTilt", {"N"}},
    };
    for (const auto& [line, rights] : sixteen)
        expectRights(Sixteen, line, rights);
}

TEST(CodeTextFile, RefusesCodesOfNoSupportedLengthAndTablesThatDoNotFit) {
    EXPECT_TRUE(parseCodeTextFile("12345678\r\n1\r\n", Four));
    std::string full;
    for (int i = 0; i < 1024; ++i)
        full += "12\r\n";
    ASSERT_TRUE(parseCodeTextFile(full, Four));
    const std::string refused[] = {
        "",
        "\r\n",
        "\t123\r\n",
        "1\r\n2\r\n",
        "123456789\r\n12\r\n",
        full + "12",
        std::string(384, '\n') + "1234567\n",
    };
    for (const std::string& text : refused) {
        const Checked<CodeList> read = parseCodeTextFile(text, Sixteen);
        EXPECT_FALSE(read) << text.size();
        EXPECT_NE(read.message().find("!!!"), std::string::npos) << read.message();
    }
    // Codes the grid could never take: letters, signs, control bytes; the message names the line.
    const std::pair<std::string, std::string> notDigits[] = {
        {"abc\r\n", " 1. "},
        {"1234\r\n12x4\tHelyi\r\n", " 2. "},
        {"12\n34\n5-6\n", " 3. "},
        {std::string("12\n1\0"
                     "2\n",
                     6),
         " 2. "},
    };
    for (const auto& [text, line] : notDigits) {
        const Checked<CodeList> read = parseCodeTextFile(text, Four);
        ASSERT_FALSE(read) << text;
        EXPECT_NE(read.message().find(line), std::string::npos) << read.message();
    }
    const std::string fits = std::string(383, '\n') + "1234567\n";
    EXPECT_TRUE(parseCodeTextFile(fits, Sixteen)) << "384 lines of up to seven digits fit";
}

} // namespace
} // namespace zx
