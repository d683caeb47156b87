// The tab-separated code text: the longest code sets the length, the rights are written per
// model and read back from the same layout, and a code alone gets every right.
#include "files/code_text_file.h"

#include "code_rows.h"
#include "model/code_table_store.h"
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
        parseCodeTextFile("1234\tHelyi\r\n\tHelyi\r\n\r\n 4321  \t\tMobil\r\n99", Sixteen);
    ASSERT_TRUE(read) << read.message();
    // A line with a TAB before its rights is a row, an empty code too; a blank line is none;
    // blanks around a code are not part of it.
    EXPECT_EQ(codes(*read), (std::vector<std::string>{"1234", "", "4321", "99"}));
    EXPECT_EQ(read->codeLength, 5);
    EXPECT_EQ(read->codeCount, 4);
}

// Lines of spaces only are no rows, wherever they stand (the last one included); a line is named
// by its number in the file, and the file's encoding is read or refused before its lines.
TEST(CodeTextFile, BlankLinesAreSkippedAndLinesNamedByTheirNumber) {
    EXPECT_EQ(parseCodeTextFile("\r\n1234\r\n   \r\n5678 \r\n\r\n", Sixteen)->codeCount, 2);
    EXPECT_NE(parseCodeTextFile("12\r\n\r\n3x\r\n", Four).message().find("a fájl 3. sorában"),
              std::string::npos);
    EXPECT_NE(parseCodeTextFile(std::string("\xFF\xFE"
                                            "1\0",
                                            4),
                                Four)
                  .message()
                  .find("UTF-16"),
              std::string::npos);
}

// A list of 2 codes imported over 100 leaves none of the other 98 behind: the table past the
// two records is blank, and a grown table shows empty rows.
TEST(CodeTextFile, ImportingFewerCodesLeavesNothingOfTheOthers) {
    for (DeviceModel model : {Four, Sixteen}) {
        std::string hundred;
        for (int n = 0; n < 100; ++n)
            hundred += std::to_string(100000 + n) + "\r\n";
        ConfigImage image = fixtures::newImage(model);
        for (const std::string& text : {hundred, std::string("111111\r\n222222\r\n")}) {
            const Checked<CodeList> read = parseCodeTextFile(text, model);
            ASSERT_TRUE(read) << read.message();
            codeListPatch(image, *read, model).applyTo(image);
        }
        for (std::size_t at = 5120 + 2 * 7; at < ImageSize; ++at)
            ASSERT_EQ(image.at(at), ' ') << at;
        codeCountPatch(image, model, 5).applyTo(image);
        const CodeList grown = codeListOf(image, model);
        ASSERT_EQ(grown.rows.size(), 5u);
        EXPECT_EQ(grown.rows[1].code.bytes(), "222222");
        for (std::size_t r = 2; r < 5; ++r)
            EXPECT_EQ(grown.rows[r].code.bytes(), "      ");
    }
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

// The rights words people write: the writer's and the window's, any letter case, with or
// without accents, in UTF-8 or Windows-1250; a code alone keeps every right.
TEST(CodeTextFile, RightsAreReadFromTheWordsPeopleWrite) {
    const Rights none{"Nem", "Nem", "Nem", "Nem"};
    const Rights all4 = allRights(Four);
    const struct {
        DeviceModel model;
        std::string line;
        Rights rights;
    } cases[] = {
        {Four, "12\tHelyi\tT\xE1v\tMobil\tNemz", all4},
        {Four, "12\t\t\t\t", none},
        {Four, "12\t\tT\xE1v\t\tNemz", {"Nem", "Igen", "Nem", "Igen"}},
        {Four, "12\t Helyi \t\tMobil\t", {"Igen", "Nem", "Igen", "Nem"}},
        {Four, "12\t\tT\xC3\xA1v", {"Nem", "Igen", "Nem", "Nem"}}, // UTF-8
        {Four, "12\t\tTav", {"Nem", "Igen", "Nem", "Nem"}},        // without accents
        {Four, "12\thelyi", {"Igen", "Nem", "Nem", "Nem"}},        // any case
        {Four, "12\tNEMZETK\xD6ZI\tbelf\xF6ldi", {"Nem", "Igen", "Nem", "Igen"}},
        {Four, "12\tIgen\tNem\tigen\tNEM", {"Igen", "Nem", "Igen", "Nem"}}, // per column
        {Four, "12\tTiltott", none},
        {Four, "12\tT\xE1vols\xE1gi\tMobil", {"Nem", "Igen", "Igen", "Nem"}},
        {Four, "12", all4},
        {Sixteen, "12\tTilt", {"T"}},
        {Sixteen, "12\tTiltott", {"T"}},
        {Sixteen, "12\tHelyi", {"H"}},
        {Sixteen, "12\tT\xE1v", {"B"}},
        {Sixteen, "12\tBelf\xC3\xB6ldi", {"B"}},
        {Sixteen, "12\tmobil", {"M"}},
        {Sixteen, "12\tnemzetkozi", {"N"}},
        {Sixteen, "12\t M ", {"M"}},
        {Sixteen, "12\t", {"T"}},
        {Sixteen, "12\t\t\tNemz\t", {"N"}},
        {Sixteen, "12", {"N"}},
    };
    for (const auto& c : cases) {
        const Checked<CodeList> read = parseCodeTextFile(c.line, c.model);
        ASSERT_TRUE(read) << c.line << ": " << read.message();
        EXPECT_EQ(read->rows.at(0).rights, c.rights) << c.line;
    }
    // Anything else refuses the whole file, naming the line; no right is granted by a word that
    // was not read.
    const struct {
        DeviceModel model;
        std::string text;
        std::string message;
    } refused[] = {
        {Sixteen, "12\tNemz\r\n456789\tIgen\r\n",
         "A kódszöveg nem tölthető be: a fájl 2. sorában ismeretlen jogosultság: „Igen” !!!"},
        {Four, "12\r\n34\r\n56\tx\r\n", "a fájl 3. sorában ismeretlen jogosultság: „x”"},
        {Four, "12\tIgen\tNem\tNem\tNem\tIgen", "a négy jogosultság oszlopán túl áll"},
        {Four, "12\tTilt\tHelyi", "a tiltott kód mellett jogosultság is áll"},
        {Sixteen, "12\tHelyi\tMobil", "egy kódnak egy jogosultsági szintje lehet"},
        {Four, "12\tB", "ismeretlen jogosultság: „B”"},
        {Sixteen, "12\tTávolság", "ismeretlen jogosultság: „Távolság”"},
    };
    for (const auto& r : refused) {
        const Checked<CodeList> read = parseCodeTextFile(r.text, r.model);
        ASSERT_FALSE(read) << r.text;
        EXPECT_NE(read.message().find(r.message), std::string::npos) << read.message();
    }
}

TEST(CodeTextFile, RefusesCodesOfNoSupportedLengthAndTablesThatDoNotFit) {
    EXPECT_TRUE(parseCodeTextFile("12345678\r\n1\r\n", Four));
    std::string full;
    for (int i = 0; i < 1024; ++i)
        full += "12\r\n";
    ASSERT_TRUE(parseCodeTextFile(full, Four));
    // An empty text is an empty table (what the export of one writes): no codes, no length.
    const Checked<CodeList> empty = parseCodeTextFile("", Four);
    ASSERT_TRUE(empty);
    EXPECT_EQ(*empty, CodeList{});
    EXPECT_EQ(codeTextFileBytes(CodeList{7, 0, {}}, Four), "");
    ConfigImage image = fixtures::codeTableImage(Four, 5);
    const ConfigImage before = image;
    codeListPatch(image, *empty, Four).applyTo(image);
    EXPECT_TRUE(image == before);
    // Blank lines only are no codes: an empty table too.
    EXPECT_EQ(*parseCodeTextFile("\r\n  \n", Four), CodeList{});
    std::string sevenDigits;
    for (int i = 0; i < 384; ++i)
        sevenDigits += "1234567\n";
    const std::string refused[] = {
        "\t123\r\n", "1\r\n2\r\n", "123456789\r\n12\r\n", full + "12", sevenDigits + "7654321\n",
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
    EXPECT_TRUE(parseCodeTextFile(sevenDigits, Sixteen)) << "384 codes of seven digits fit";
}

} // namespace
} // namespace zx
