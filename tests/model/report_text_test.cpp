#include "model/report_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zx {
namespace {

const std::string Ten(10, ' ');
const std::string LongRule = "-------+---------+-----------------";

CodeRowView row4(const char* code, std::vector<std::string> rights = {"Nem", "Nem", "Nem", "Nem"}) {
    return {RawText(code), std::move(rights)};
}

CodeRowView row16(const char* code, const char* level) {
    return {RawText(code), {level}};
}

std::vector<CodeRowView> numberedRows(int count) {
    std::vector<CodeRowView> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back(row4(std::to_string(100000 + i).c_str()));
    return rows;
}

// An output whose page breaks after a given number of lines, as a printer's would.
class PagedLines : public ReportOutput {
  public:
    explicit PagedLines(int linesPerPage) : perPage_(linesPerPage) {}
    void writeLine(const ReportLine& line) override {
        lines.push_back({line, page_});
        if (++onPage_ == perPage_) {
            onPage_ = 0;
            ++page_;
        }
    }
    int pageNumber() const override { return page_; }

    struct Placed {
        ReportLine line;
        int page;
    };
    std::vector<Placed> lines;

  private:
    int perPage_;
    int onPage_ = 0;
    int page_ = 1;
};

std::vector<ReportLine> codeList(const CodeListReport& report) {
    ReportLines out;
    writeCodeListReport(out, report);
    return out.lines;
}

CodeListReport report4(const std::vector<CodeRowView>& rows, NumberSpan chosen) {
    CodeListReport r;
    r.model = DeviceModel::Line4;
    r.rows = rows;
    r.chosen = chosen;
    r.fileName = "/adat/iroda.vd1";
    r.site = "Győr";
    r.owner = "Kiss Béla";
    r.dateTime = "2024. 03. 05. 9:07:05";
    return r;
}

// The lines after the eight of the first-page header.
std::vector<std::string> bodyTexts(const std::vector<ReportLine>& lines) {
    std::vector<std::string> out;
    for (std::size_t i = 8; i < lines.size(); ++i)
        out.push_back(lines[i].text);
    return out;
}

TEST(CodeListReport, FirstPageHeaderIsBoldAndNamesTheFile) {
    const auto rows = numberedRows(1);
    const std::vector<ReportLine> lines = codeList(report4(rows, {1, 1}));
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0].text,
              Ten + "Személyi kódok:/adat/iroda.vd1" + Ten + "2024. 03. 05. 9:07:05");
    EXPECT_EQ(lines[1].text, Ten + "Telepítési hely:Győr");
    EXPECT_EQ(lines[2].text, Ten + "Telepítő       :Kiss Béla");
    EXPECT_EQ(lines[3].text, "");
    EXPECT_EQ(lines[4].text, Ten + "Oldal:1");
    EXPECT_EQ(lines[5].text, "");
    EXPECT_EQ(lines[6].text, Ten + "Sorsz. |Kód      |Jog              " + Ten +
                                 "Sorsz. |Kód      |Jog              ");
    EXPECT_EQ(lines[7].text, Ten + LongRule + Ten + LongRule);
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_TRUE(lines[i].bold) << i;
    for (std::size_t i = 8; i < lines.size(); ++i)
        EXPECT_FALSE(lines[i].bold) << i;

    // A new configuration has no file name: the ten spaces follow the colon directly.
    CodeListReport unnamed = report4(rows, {1, 1});
    unnamed.fileName.clear();
    EXPECT_EQ(codeList(unnamed)[0].text, Ten + "Személyi kódok:" + Ten + "2024. 03. 05. 9:07:05");
}

TEST(CodeListReport, TwoEntriesALineEachFollowedByARule) {
    const auto rows = numberedRows(5);
    const std::string entry1 = "   0001|100001   |                ";
    EXPECT_EQ(entry1.size(), 34u);
    EXPECT_EQ(
        bodyTexts(codeList(report4(rows, {1, 5}))),
        (std::vector<std::string>{
            Ten + entry1 + Ten + "   0002|100002   |                ",
            Ten + LongRule + Ten + LongRule,
            Ten + "   0003|100003   |                " + Ten + "   0004|100004   |                ",
            Ten + LongRule + Ten + LongRule,
            Ten + "   0005|100005   |                ",
            Ten + LongRule + Ten + LongRule,
        }));

    // A block of rows 4 to 7 pairs 4 with 5 and 6 with 7.
    const auto more = numberedRows(9);
    const std::vector<std::string> block = bodyTexts(codeList(report4(more, {4, 7})));
    ASSERT_EQ(block.size(), 4u);
    EXPECT_EQ(block[0], Ten + "   0004|100004   |                " + Ten +
                            "   0005|100005   |                ");
    EXPECT_EQ(block[2], Ten + "   0006|100006   |                " + Ten +
                            "   0007|100007   |                ");
}

TEST(CodeListReport, EntriesFollowTheRightsOfEachModel) {
    // 4-line: the tags of the granted rights in column order; a cell counts by its first letter.
    EXPECT_EQ(codeListEntry(12, row4("123456", {"Igen", "Nem", "Igen", "Nem"}), DeviceModel::Line4),
              "   0012|123456   |Loc,Mob,        ");
    EXPECT_EQ(codeListEntry(1, row4("12", {"I", "Igen", "Ix", "Igen"}), DeviceModel::Line4),
              "   0001|12       |Loc,Nat,Mob,Int,");
    EXPECT_EQ(codeListEntry(1, row4("12", {"", "igen", "N", "Nem"}), DeviceModel::Line4),
              "   0001|12       |" + std::string(16, ' '));
    // A row with fewer cells than columns grants only what it has.
    EXPECT_EQ(codeListEntry(1, row4("12", {"Igen"}), DeviceModel::Line4),
              "   0001|12       |Loc,            ");

    // 16-line: one level letter.
    EXPECT_EQ(codeListEntry(7, row16("4711", "T"), DeviceModel::Line16),
              "   0007|4711     |Tilt" + std::string(12, ' '));
    EXPECT_EQ(codeListEntry(7, row16("4711", "Helyi"), DeviceModel::Line16),
              "   0007|4711     |Loc,            ");
    EXPECT_EQ(codeListEntry(7, row16("4711", "B"), DeviceModel::Line16).substr(18),
              "Nat,            ");
    EXPECT_EQ(codeListEntry(7, row16("4711", "M"), DeviceModel::Line16).substr(18),
              "Mob,            ");
    EXPECT_EQ(codeListEntry(7, row16("4711", "N"), DeviceModel::Line16).substr(18),
              "Int,            ");
    EXPECT_EQ(codeListEntry(7, row16("4711", "x"), DeviceModel::Line16).substr(18),
              std::string(16, ' '));
    EXPECT_EQ(codeListEntry(7, row16("4711", ""), DeviceModel::Line16).substr(18),
              std::string(16, ' '));
    EXPECT_EQ(codeListEntry(7, {RawText("4711"), {}}, DeviceModel::Line16).substr(18),
              std::string(16, ' '));
}

TEST(CodeListReport, CodeColumnPadsToNineCharactersAndNeverCuts) {
    EXPECT_EQ(codeListEntry(1000, row16("123456", "H"), DeviceModel::Line16).substr(0, 18),
              "   1000|123456   |");
    // A code from the image keeps its trailing spaces; a longer code widens the entry.
    EXPECT_EQ(codeListEntry(1, row16("12345678901", "H"), DeviceModel::Line16),
              "   0001|12345678901|Loc,            ");
    EXPECT_EQ(codeListEntry(1, row16("12  ", "H"), DeviceModel::Line16).substr(7, 11),
              "|12       |");
    // The code's Windows-1250 characters count one each and come out as UTF-8.
    EXPECT_EQ(codeListEntry(1, row16("\xE1\xF5", "H"), DeviceModel::Line16).substr(7),
              "|áő       |Loc,            ");
}

TEST(CodeListReport, ContinuationHeaderComesWithEveryNewPage) {
    const auto rows = numberedRows(40);
    // Pages of 12 lines: the first page holds the header and two pairs of lines.
    PagedLines out(12);
    writeCodeListReport(out, report4(rows, {1, 40}));

    std::vector<std::size_t> oldal;
    for (std::size_t i = 0; i < out.lines.size(); ++i)
        if (out.lines[i].line.text.starts_with(Ten + "Oldal:")) oldal.push_back(i);
    ASSERT_GE(oldal.size(), 3u);
    for (std::size_t k = 0; k < oldal.size(); ++k) {
        const auto& placed = out.lines[oldal[k]];
        // Each header shows the page it is printed on.
        EXPECT_EQ(placed.line.text, Ten + "Oldal:" + std::to_string(placed.page));
        EXPECT_EQ(placed.page, static_cast<int>(k) + 1);
        EXPECT_TRUE(placed.line.bold);
        if (k == 0) continue;
        // Continuation: empty line, page, empty line, the shorter heading and rule, in bold.
        ASSERT_LT(oldal[k] + 3, out.lines.size());
        EXPECT_EQ(out.lines[oldal[k] - 1].line.text, "");
        EXPECT_EQ(out.lines[oldal[k] + 1].line.text, "");
        EXPECT_EQ(out.lines[oldal[k] + 2].line.text,
                  Ten + "Sorsz. |Kód      |Jog        " + Ten + "Sorsz. |Kód      |Jog        ");
        EXPECT_EQ(out.lines[oldal[k] + 3].line.text,
                  Ten + "-------+---------+-----------" + Ten + "-------+---------+-----------");
        EXPECT_TRUE(out.lines[oldal[k] + 3].line.bold);
        // What follows the header is an entry line again, in the normal face.
        if (oldal[k] + 4 < out.lines.size()) {
            EXPECT_FALSE(out.lines[oldal[k] + 4].line.bold);
        }
    }
    // No entry is lost or repeated over the page breaks.
    int entries = 0;
    for (const auto& placed : out.lines)
        for (std::size_t at = 0; (at = placed.line.text.find("|1000", at)) != std::string::npos;
             ++at)
            ++entries;
    EXPECT_EQ(entries, 40);
}

TEST(CodeListReport, ChosenRowsOfEachChoice) {
    EXPECT_EQ(chosenCodeRows(PrintChoice::All, 12, NumberSpan{3, 4}, {5, 6}), (NumberSpan{1, 12}));
    EXPECT_EQ(chosenCodeRows(PrintChoice::Selection, 12, NumberSpan{3, 4}, {5, 6}),
              (NumberSpan{3, 4}));
    EXPECT_EQ(chosenCodeRows(PrintChoice::Range, 12, NumberSpan{3, 4}, {5, 6}), (NumberSpan{5, 6}));
    // Never a row the grid lacks; no selection prints no row.
    EXPECT_EQ(chosenCodeRows(PrintChoice::Range, 12, std::nullopt, {0, 99}), (NumberSpan{1, 12}));
    const NumberSpan none = chosenCodeRows(PrintChoice::Selection, 12, std::nullopt, {1, 12});
    EXPECT_LT(none.last, none.first);

    // A range past the rows the report is given prints only what exists.
    const auto rows = numberedRows(3);
    EXPECT_EQ(bodyTexts(codeList(report4(rows, {3, 8}))).size(), 2u);
    EXPECT_TRUE(bodyTexts(codeList(report4(rows, {1, 0}))).empty());
}

FreeNumberReport freeNumbers(const std::vector<std::string>& items, PrintChoice choice) {
    FreeNumberReport r;
    r.items = items;
    r.choice = choice;
    r.fileName = "/adat/iroda.vd1";
    return r;
}

const std::string FreeHeader1 =
    Ten + "Szabadon hívható számok /adat/iroda.vd1              Oldal:1";

TEST(FreeNumberReport, HeaderAndItemsOfEachChoice) {
    const std::vector<std::string> items{"104             ", "107             ", "0612345678      ",
                                         "112             "};
    ReportLines all;
    writeFreeNumberReport(all, freeNumbers(items, PrintChoice::All));
    EXPECT_EQ(all.lines, (std::vector<ReportLine>{{FreeHeader1, true},
                                                  {"", false},
                                                  {Ten + items[0], false},
                                                  {Ten + items[1], false},
                                                  {Ten + items[2], false},
                                                  {Ten + items[3], false}}));

    FreeNumberReport range = freeNumbers(items, PrintChoice::Range);
    range.range = {2, 3};
    ReportLines ranged;
    writeFreeNumberReport(ranged, range);
    ASSERT_EQ(ranged.lines.size(), 4u);
    EXPECT_EQ(ranged.lines[2].text, Ten + items[1]);
    EXPECT_EQ(ranged.lines[3].text, Ten + items[2]);

    FreeNumberReport selection = freeNumbers(items, PrintChoice::Selection);
    selection.selected = {false, true, false, true};
    selection.range = {2, 2}; // the range does not limit a selection
    ReportLines selected;
    writeFreeNumberReport(selected, selection);
    ASSERT_EQ(selected.lines.size(), 4u);
    EXPECT_EQ(selected.lines[2].text, Ten + items[1]);
    EXPECT_EQ(selected.lines[3].text, Ten + items[3]);
}

TEST(FreeNumberReport, NothingToListGivesTheHeaderAndAnEmptyLine) {
    const std::vector<ReportLine> headerOnly{{FreeHeader1, true}, {"", false}};
    const std::vector<std::string> items{"104             ", "107             "};

    FreeNumberReport unselected = freeNumbers(items, PrintChoice::Selection);
    ReportLines none; // no marks at all
    writeFreeNumberReport(none, unselected);
    EXPECT_EQ(none.lines, headerOnly);
    unselected.selected = {false, false};
    ReportLines cleared;
    writeFreeNumberReport(cleared, unselected);
    EXPECT_EQ(cleared.lines, headerOnly);

    ReportLines empty;
    writeFreeNumberReport(empty, freeNumbers({}, PrintChoice::All));
    EXPECT_EQ(empty.lines, headerOnly);
}

TEST(FreeNumberReport, HeaderRepeatsOnEveryPage) {
    std::vector<std::string> items;
    for (int i = 0; i < 30; ++i)
        items.push_back("06" + std::to_string(1000 + i) + "          ");
    PagedLines out(7);
    writeFreeNumberReport(out, freeNumbers(items, PrintChoice::All));

    int headers = 0, numbers = 0;
    for (std::size_t i = 0; i < out.lines.size(); ++i) {
        const auto& placed = out.lines[i];
        if (!placed.line.text.starts_with(Ten + "Szabadon")) {
            numbers += placed.line.text.starts_with(Ten + "06");
            continue;
        }
        ++headers;
        EXPECT_TRUE(placed.line.text.ends_with("Oldal:" + std::to_string(placed.page)));
        EXPECT_EQ(placed.page, headers);
        ASSERT_LT(i + 1, out.lines.size());
        EXPECT_EQ(out.lines[i + 1].line, (ReportLine{"", false}));
    }
    EXPECT_EQ(numbers, 30);
    EXPECT_EQ(headers, out.lines.back().page);
    EXPECT_GT(headers, 4);
}

} // namespace
} // namespace zx
