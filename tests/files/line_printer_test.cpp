#include "files/line_printer.h"

#include <QStringList>

#include <algorithm>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zx {
namespace {

// A page of fixed-pitch text: every character 10 pixels wide, a line of text 20 pixels high
// (22 with the gap), an empty line 15. It records what is drawn, page by page.
class FakePage : public ReportPage {
  public:
    FakePage(int width, int height) : width_(width), height_(height) {}

    struct Drawn {
        int y;
        QString text;
        bool bold;
    };

    void setBold(bool bold) override { bold_ = bold; }
    int textWidth(const QString& text) const override { return 10 * int(text.size()); }
    int textHeight(const QString&) const override { return 20; }
    int characterHeight() const override { return 15; }
    int printableWidth() const override { return width_; }
    int printableHeight() const override { return height_; }
    void drawLine(int y, const QString& text) override { pages.back().push_back({y, text, bold_}); }
    void newPage() override { pages.emplace_back(); }

    std::vector<std::vector<Drawn>> pages{1};

  private:
    int width_, height_;
    bool bold_ = false;
};

void writeTexts(LinePrinter& printer, int count, const char* text = "sor") {
    for (int i = 0; i < count; ++i)
        printer.writeLine({text, false});
}

// The texts drawn on one page.
QStringList texts(const std::vector<FakePage::Drawn>& page) {
    QStringList out;
    for (const auto& drawn : page)
        out << drawn.text;
    return out;
}

TEST(LinePrinter, TextLinesBreakWhenTwoMoreAdvancesWouldNotFit) {
    // Height 200: after line k the next top is 22k; a break comes once 22k > 200 - 44,
    // so a page holds 8 lines at 0, 22, ..., 154.
    FakePage page(1000, 200);
    LinePrinter printer(page);
    std::vector<int> pageAfter;
    for (int i = 0; i < 20; ++i) {
        printer.writeLine({"sor " + std::to_string(i), false});
        pageAfter.push_back(printer.pageNumber());
    }
    ASSERT_EQ(page.pages.size(), 3u);
    EXPECT_EQ(page.pages[0].size(), 8u);
    EXPECT_EQ(page.pages[1].size(), 8u);
    EXPECT_EQ(page.pages[2].size(), 4u);
    for (std::size_t i = 0; i < page.pages[0].size(); ++i)
        EXPECT_EQ(page.pages[0][i].y, 22 * int(i));
    EXPECT_EQ(page.pages[1][0].text, "sor 8");
    EXPECT_EQ(page.pages[1][0].y, 0);
    // The page number goes up right after the line that fills a page, before the next line.
    EXPECT_EQ(pageAfter[6], 1);
    EXPECT_EQ(pageAfter[7], 2);
    EXPECT_EQ(pageAfter[15], 3);
    EXPECT_EQ(printer.pagesStarted(), 3);
}

TEST(LinePrinter, EmptyLinesBreakOnlyPastThePageHeight) {
    // Seven lines of text (the next top at 154), some empty lines (15 each), then a text line.
    struct Placed {
        int page, top, pageNumberBefore;
    };
    const auto after = [](int emptyLines) {
        FakePage page(1000, 200);
        LinePrinter printer(page);
        writeTexts(printer, 7);
        for (int i = 0; i < emptyLines; ++i)
            printer.writeLine({"", false});
        const int before = printer.pageNumber();
        printer.writeLine({"utolsó", false});
        return Placed{int(page.pages.size()), page.pages.back().back().y, before};
    };
    // 169 leaves room for the line on the same page.
    EXPECT_EQ(after(1).page, 1);
    EXPECT_EQ(after(1).top, 169);
    // 184 and 199 are not past 200: no break, but the line would reach past the bottom, so it
    // goes to the top of the next page rather than being cut off.
    for (int empty : {2, 3}) {
        EXPECT_EQ(after(empty).pageNumberBefore, 1);
        EXPECT_EQ(after(empty).page, 2);
        EXPECT_EQ(after(empty).top, 0);
    }
    // 214 is past the page: the break comes with the empty line itself.
    EXPECT_EQ(after(4).pageNumberBefore, 2);
    EXPECT_EQ(after(4).page, 2);
    EXPECT_EQ(after(4).top, 0);
}

TEST(LinePrinter, ALineKeptWithTheNextIsNeverLastOnItsPage) {
    // Eight lines fill a page of 200; the eighth is kept with the ninth, which goes below it
    // (at 176, its bottom at 196) and then breaks the page.
    FakePage page(1000, 200);
    LinePrinter printer(page);
    writeTexts(printer, 7);
    printer.writeLine({"bejegyzés", false, true});
    EXPECT_EQ(printer.pageNumber(), 1);
    printer.writeLine({"-------+", false});
    EXPECT_EQ(printer.pageNumber(), 2);
    printer.writeLine({"következő", false});
    ASSERT_EQ(page.pages.size(), 2u);
    ASSERT_EQ(page.pages[0].size(), 9u);
    EXPECT_EQ(page.pages[0][8].text, "-------+");
    EXPECT_EQ(page.pages[0][8].y, 176);
    EXPECT_EQ(texts(page.pages[1]), QStringList{"következő"});
}

TEST(LinePrinter, WideLinesBreakAfterTheLastCharacterThatFits) {
    FakePage page(100, 1000); // ten characters
    LinePrinter printer(page);
    printer.writeLine({"0123456789", false});
    printer.writeLine({"abcdefghijKLMNOPQRSTuvwxy", false});
    // Half of a surrogate pair never ends a piece.
    printer.writeLine({"123456789\xF0\x9F\x93\x9E"
                       "b",
                       false});
    std::vector<QString> texts;
    std::vector<int> tops;
    for (const auto& drawn : page.pages[0]) {
        texts.push_back(drawn.text);
        tops.push_back(drawn.y);
    }
    EXPECT_EQ(texts,
              (std::vector<QString>{"0123456789", "abcdefghij", "KLMNOPQRST", "uvwxy", "123456789",
                                    QString::fromUtf8("\xF0\x9F\x93\x9E") + "b"}));
    EXPECT_EQ(tops, (std::vector<int>{0, 22, 44, 66, 88, 110}));

    // A page narrower than one character still prints one character a line.
    FakePage narrow(5, 1000);
    LinePrinter one(narrow);
    one.writeLine({"abc", false});
    ASSERT_EQ(narrow.pages[0].size(), 3u);
    EXPECT_EQ(narrow.pages[0][2].text, "c");
}

TEST(LinePrinter, ReportHeadersShowThePageTheyArePrintedOn) {
    std::vector<CodeRowView> rows;
    for (int i = 1; i <= 120; ++i)
        rows.push_back({RawText(std::to_string(200000 + i)), {"Igen", "Nem", "Nem", "Igen"}});
    CodeListReport codes;
    codes.rows = rows;
    codes.chosen = {1, 120};
    FakePage page(2000, 600);
    LinePrinter printer(page);
    writeCodeListReport(printer, codes);

    ASSERT_GE(page.pages.size(), 4u);
    EXPECT_EQ(printer.pagesStarted(), int(page.pages.size()));
    const QString ten(10, ' ');
    int entries = 0;
    for (std::size_t p = 0; p < page.pages.size(); ++p) {
        const QStringList drawn = texts(page.pages[p]);
        const qsizetype at = drawn.indexOf(ten + "Oldal:" + QString::number(p + 1));
        ASSERT_GE(at, 0) << "page " << p + 1;
        EXPECT_TRUE(page.pages[p][std::size_t(at)].bold);
        EXPECT_EQ(drawn.filter("Oldal:").size(), 1);
        entries += int(drawn.join("").count("|20"));
        if (p == 0) continue;
        // Further pages begin with their header, not with the rule line of the entry before;
        // the shorter heading and rule stand over the columns, and no first-page header.
        EXPECT_EQ(at, 0) << "page " << p + 1;
        ASSERT_LT(at + 2, drawn.size());
        const QString fifteen(15, ' ');
        EXPECT_EQ(drawn[at + 1], ten + "Sorsz. |Kód      |Jog        " + fifteen +
                                     "Sorsz. |Kód      |Jog        ");
        EXPECT_EQ(drawn[at + 2], ten + "-------+---------+-----------" + fifteen +
                                     "-------+---------+-----------");
        // The page before ends with a rule line.
        EXPECT_TRUE(texts(page.pages[p - 1]).last().contains("-------+"));
        EXPECT_TRUE(drawn.filter(QString::fromUtf8("Személyi")).isEmpty());
    }
    EXPECT_EQ(entries, 120);

    std::vector<std::string> items(40, "0612345678      ");
    FreeNumberReport numbers;
    numbers.items = items;
    numbers.fileName = "f.vd1";
    FakePage listPage(2000, 300);
    LinePrinter listPrinter(listPage);
    writeFreeNumberReport(listPrinter, numbers);
    ASSERT_GE(listPage.pages.size(), 3u);
    int listed = 0;
    for (std::size_t p = 0; p < listPage.pages.size(); ++p) {
        const QStringList drawn = texts(listPage.pages[p]);
        EXPECT_EQ(drawn.first(), QString::fromUtf8("          Szabadon hívható számok f.vd1"
                                                   "              Oldal:") +
                                     QString::number(p + 1));
        listed += int(drawn.filter("0612345678").size());
    }
    EXPECT_EQ(listed, 40);
}

TEST(LinePrinter, FreeNumberFontFollowsThePaperNotTheResolution) {
    // The printable height of A4 (277 mm) at 300 and at 1200 pixels to the inch.
    EXPECT_EQ(freeNumberFontPoints(3272, 300), 8);
    EXPECT_EQ(freeNumberFontPoints(13087, 1200), 8);
    // A3 is taller: a larger font.
    EXPECT_EQ(freeNumberFontPoints(18520, 1200), 12);
    EXPECT_EQ(freeNumberFontPoints(50, 1200), 1);
    EXPECT_EQ(freeNumberFontPoints(1000, 0), 1);
}

} // namespace
} // namespace zx
