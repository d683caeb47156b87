#include "model/report_text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

namespace zx {
namespace {

const std::string Ten(10, ' ');
// Headings and rules stand over the entry columns: the second where the second entry begins
// (character 54), so after the first page's heading and rule, one character wider than an
// entry, nine spaces.
const std::string Nine(9, ' ');
const std::string Rules =
    Ten + "-------+---------+-----------------" + Nine + "-------+---------+-----------------";

std::vector<CodeRowView> numberedRows(int count) {
    std::vector<CodeRowView> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({RawText(std::to_string(100000 + i)), {"Nem", "Nem", "Nem", "Nem"}});
    return rows;
}

std::string entry(int r) {
    char text[40];
    std::snprintf(text, sizeof text, "   %04d|%d   |                ", r, 100000 + r);
    return text;
}

CodeListReport report4(const std::vector<CodeRowView>& rows, NumberSpan chosen) {
    CodeListReport r;
    r.rows = rows;
    r.chosen = chosen;
    r.fileName = "/adat/iroda.vd1";
    r.site = "Győr";
    r.owner = "Kiss Béla";
    r.dateTime = "2024. 03. 05. 9:07:05";
    return r;
}

std::vector<ReportLine> codeList(const CodeListReport& report) {
    ReportLines out;
    writeCodeListReport(out, report);
    return out.lines;
}

// The texts after the eight lines of the first-page header.
std::vector<std::string> body(const std::vector<ReportLine>& lines) {
    std::vector<std::string> out;
    for (std::size_t i = 8; i < lines.size(); ++i)
        out.push_back(lines[i].text);
    return out;
}

TEST(CodeListReport, FirstPageHeaderInBoldEntriesInTheNormalFace) {
    const auto rows = numberedRows(1);
    const std::vector<ReportLine> lines = codeList(report4(rows, {1, 1}));
    const std::vector<ReportLine> header{
        {Ten + "Személyi kódok:/adat/iroda.vd1" + Ten + "2024. 03. 05. 9:07:05", true},
        {Ten + "Telepítési hely:Győr", true},
        {Ten + "Telepítő       :Kiss Béla", true},
        {"", true},
        {Ten + "Oldal:1", true},
        {"", true},
        {Ten + "Sorsz. |Kód      |Jog              " + Nine + "Sorsz. |Kód      |Jog              ",
         true},
        {Rules, true}};
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(std::vector<ReportLine>(lines.begin(), lines.begin() + 8), header);
    // The entry keeps its rule line on its page.
    EXPECT_EQ(lines[8], (ReportLine{Ten + entry(1), false, true}));
    EXPECT_EQ(lines[9], (ReportLine{Rules, false}));

    // A new configuration has no file name: the ten spaces follow the colon directly.
    CodeListReport unnamed = report4(rows, {1, 1});
    unnamed.fileName.clear();
    EXPECT_EQ(codeList(unnamed)[0].text, Ten + "Személyi kódok:" + Ten + "2024. 03. 05. 9:07:05");
}

TEST(CodeListReport, TwoEntriesALineEachFollowedByARule) {
    const auto rows = numberedRows(9);
    EXPECT_EQ(
        body(codeList(report4(rows, {1, 5}))),
        (std::vector<std::string>{Ten + entry(1) + Ten + entry(2), Rules,
                                  Ten + entry(3) + Ten + entry(4), Rules, Ten + entry(5), Rules}));
    // A block of rows 4 to 7 pairs 4 with 5 and 6 with 7.
    EXPECT_EQ(body(codeList(report4(rows, {4, 7}))),
              (std::vector<std::string>{Ten + entry(4) + Ten + entry(5), Rules,
                                        Ten + entry(6) + Ten + entry(7), Rules}));
    // Rows the grid lacks are left out; an empty choice prints the header alone.
    EXPECT_EQ(body(codeList(report4(rows, {9, 12}))).size(), 2u);
    EXPECT_TRUE(body(codeList(report4(rows, {1, 0}))).empty());
}

// Character columns (not bytes) where c stands in a UTF-8 text.
std::vector<std::size_t> columnsOf(const std::string& text, char c) {
    std::vector<std::size_t> out;
    std::size_t column = 0;
    for (const char byte : text) {
        if ((static_cast<unsigned char>(byte) & 0xC0) == 0x80) continue;
        if (byte == c) out.push_back(column);
        ++column;
    }
    return out;
}

// An output whose pages hold a few lines each, so that continuation headers come.
class ShortPages : public ReportOutput {
  public:
    void writeLine(const ReportLine& line) override {
        lines.push_back(line);
        if (++onPage_ >= 6 && !line.keepWithNext) {
            ++page_;
            onPage_ = 0;
        }
    }
    int pageNumber() const override { return page_; }
    std::vector<ReportLine> lines;

  private:
    int page_ = 1, onPage_ = 0;
};

TEST(CodeListReport, HeadingsAndRulesStandOverTheEntryColumns) {
    const auto rows = numberedRows(24);
    ShortPages out;
    writeCodeListReport(out, report4(rows, {1, 24}));
    const std::vector<std::size_t> bars = columnsOf(out.lines[8].text, '|');
    ASSERT_EQ(bars, (std::vector<std::size_t>{17, 27, 61, 71}));
    int headings = 0, rules = 0;
    for (const ReportLine& line : out.lines) {
        if (line.text.find("Sorsz.") != std::string::npos) {
            ++headings;
            EXPECT_EQ(columnsOf(line.text, '|'), bars) << line.text;
            EXPECT_EQ(columnsOf(line.text, 'S'), (std::vector<std::size_t>{10, 54}));
        }
        if (line.text.find("---") != std::string::npos) {
            ++rules;
            EXPECT_EQ(columnsOf(line.text, '+'), bars) << line.text;
        }
    }
    // The first page's heading and the continuation headings of further pages.
    EXPECT_GE(headings, 3);
    EXPECT_EQ(rules, headings + 12);
}

TEST(CodeListReport, EntryColumnsOfBothModels) {
    const auto entry4 = [](const char* code, std::vector<std::string> rights) {
        return codeListEntry(12, {RawText(code), std::move(rights)}, DeviceModel::Line4);
    };
    const auto entry16 = [](const char* code, const char* level) {
        return codeListEntry(7, {RawText(code), {level}}, DeviceModel::Line16);
    };
    // 4-line: the tags of the rights whose cell begins with "I", in column order.
    EXPECT_EQ(entry4("123456", {"Igen", "Nem", "Ix", "Nem"}), "   0012|123456   |Loc,Mob,        ");
    EXPECT_EQ(entry4("12", {"I", "Igen", "Igen", "Igen"}), "   0012|12       |Loc,Nat,Mob,Int,");
    EXPECT_EQ(entry4("12", {"", "igen", "N", "Nem"}), "   0012|12       |" + std::string(16, ' '));
    EXPECT_EQ(entry4("12", {"Igen"}), "   0012|12       |Loc,            ");
    // 16-line: the level letter.
    EXPECT_EQ(entry16("4711", "T"), "   0007|4711     |Tilt" + std::string(12, ' '));
    EXPECT_EQ(entry16("4711", "Nemzetközi"), "   0007|4711     |Int,            ");
    EXPECT_EQ(entry16("4711", "x"), "   0007|4711     |" + std::string(16, ' '));
    EXPECT_EQ(entry16("4711", ""), "   0007|4711     |" + std::string(16, ' '));
    // A longer code is not cut; stored padding stays; Windows-1250 characters count one each.
    EXPECT_EQ(entry16("12345678901", "H"), "   0007|12345678901|Loc,            ");
    EXPECT_EQ(entry16("12  ", "B").substr(7, 11), "|12       |");
    EXPECT_EQ(entry16("\xE1\xF5", "M").substr(7), "|áő       |Mob,            ");
}

TEST(CodeListReport, RowsOfEachChoice) {
    const NumberSpan block{3, 4}, range{5, 6};
    EXPECT_EQ(chosenCodeRows(PrintChoice::All, 12, block, range), (NumberSpan{1, 12}));
    EXPECT_EQ(chosenCodeRows(PrintChoice::Selection, 12, block, range), block);
    EXPECT_EQ(chosenCodeRows(PrintChoice::Range, 12, block, range), range);
    EXPECT_EQ(chosenCodeRows(PrintChoice::Range, 12, std::nullopt, {0, 99}), (NumberSpan{1, 12}));
    const NumberSpan none = chosenCodeRows(PrintChoice::Selection, 12, std::nullopt, range);
    EXPECT_LT(none.last, none.first);
}

TEST(FreeNumberReport, ItemsOfEachChoiceUnderTheHeader) {
    const std::vector<std::string> items{"104             ", "107             ", "0612345678      ",
                                         "112             "};
    const auto lines = [&](PrintChoice choice, NumberSpan range, std::vector<bool> marks) {
        FreeNumberReport r;
        r.items = items;
        r.choice = choice;
        r.range = range;
        r.selected = std::move(marks);
        r.fileName = "/adat/iroda.vd1";
        ReportLines out;
        writeFreeNumberReport(out, r);
        return out.lines;
    };
    const std::vector<ReportLine> header{
        {Ten + "Szabadon hívható számok /adat/iroda.vd1              Oldal:1", true}, {"", false}};
    const auto with = [&](std::vector<int> shown) {
        std::vector<ReportLine> expected = header;
        for (int i : shown)
            expected.push_back({Ten + items[std::size_t(i)], false});
        return expected;
    };
    EXPECT_EQ(lines(PrintChoice::All, {2, 2}, {}), with({0, 1, 2, 3}));
    EXPECT_EQ(lines(PrintChoice::Range, {2, 3}, {}), with({1, 2}));
    EXPECT_EQ(lines(PrintChoice::Range, {3, 9}, {}), with({2, 3}));
    // The selection prints the marked items; the range does not limit it.
    EXPECT_EQ(lines(PrintChoice::Selection, {2, 2}, {false, true, false, true}), with({1, 3}));
    // Nothing selected, or no marks at all: the header and the empty line only.
    EXPECT_EQ(lines(PrintChoice::Selection, {1, 4}, {false, false, false, false}), header);
    EXPECT_EQ(lines(PrintChoice::Selection, {1, 4}, {}), header);

    FreeNumberReport empty;
    empty.fileName = "/adat/iroda.vd1";
    ReportLines out;
    writeFreeNumberReport(out, empty);
    EXPECT_EQ(out.lines, header);
}

} // namespace
} // namespace zx
