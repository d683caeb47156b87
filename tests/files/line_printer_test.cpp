#include "files/line_printer.h"

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
    // After 7 lines the top is 154. One empty line (169) leaves room for one more line of text.
    {
        FakePage page(1000, 200);
        LinePrinter printer(page);
        writeTexts(printer, 7);
        printer.writeLine({"", false});
        EXPECT_EQ(printer.top(), 169);
        EXPECT_EQ(printer.pageNumber(), 1);
        printer.writeLine({"utolsó", false});
        ASSERT_EQ(page.pages.size(), 1u);
        EXPECT_EQ(page.pages[0].back().y, 169);
        EXPECT_EQ(printer.pageNumber(), 2);
    }
    // Three empty lines reach 199, still not past 200: no break. The fourth reaches 214.
    {
        FakePage page(1000, 200);
        LinePrinter printer(page);
        writeTexts(printer, 7);
        for (int i = 0; i < 3; ++i)
            printer.writeLine({"", false});
        EXPECT_EQ(printer.top(), 199);
        EXPECT_EQ(printer.pageNumber(), 1);
        printer.writeLine({"", false});
        EXPECT_EQ(printer.pageNumber(), 2);
        EXPECT_EQ(printer.top(), 0);
        printer.writeLine({"új oldal", false});
        ASSERT_EQ(page.pages.size(), 2u);
        EXPECT_EQ(page.pages[1].front().y, 0);
    }
    // A line of text that would reach past the bottom after the empty lines goes on the next
    // page instead of being cut off.
    {
        FakePage page(1000, 200);
        LinePrinter printer(page);
        writeTexts(printer, 7);
        for (int i = 0; i < 3; ++i)
            printer.writeLine({"", false});
        printer.writeLine({"nem vész el", false});
        ASSERT_EQ(page.pages.size(), 2u);
        EXPECT_EQ(page.pages[0].size(), 7u);
        EXPECT_EQ(page.pages[1].front().text, "nem vész el");
        EXPECT_EQ(page.pages[1].front().y, 0);
        EXPECT_EQ(printer.pageNumber(), 2);
    }
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

TEST(LinePrinter, CodeListOnPagesShowsEachPageItsOwnNumber) {
    std::vector<CodeRowView> rows;
    for (int i = 1; i <= 120; ++i)
        rows.push_back({RawText(std::to_string(200000 + i)), {"Igen", "Nem", "Nem", "Igen"}});
    CodeListReport report;
    report.rows = rows;
    report.chosen = {1, 120};
    report.fileName = "k.vd1";
    FakePage page(2000, 600);
    LinePrinter printer(page);
    writeCodeListReport(printer, report);

    ASSERT_GE(page.pages.size(), 4u);
    EXPECT_EQ(printer.pagesStarted(), int(page.pages.size()));
    const QString indent(10, ' ');
    int entries = 0;
    for (std::size_t p = 0; p < page.pages.size(); ++p) {
        int numbered = 0;
        for (const auto& drawn : page.pages[p]) {
            EXPECT_LE(drawn.y + 20, 600);
            if (drawn.text.startsWith(indent + "Oldal:")) {
                EXPECT_EQ(drawn.text, indent + "Oldal:" + QString::number(p + 1));
                EXPECT_TRUE(drawn.bold);
                ++numbered;
            }
            entries += int(drawn.text.count("|20"));
            // Headings in bold, entries in the normal face.
            if (drawn.text.contains("|Jog") || drawn.text.contains("|20")) {
                EXPECT_EQ(drawn.bold, drawn.text.contains("|Jog")) << drawn.text.toStdString();
            }
        }
        EXPECT_EQ(numbered, 1) << "page " << p + 1;
        if (p > 0) {
            const bool shortHeading =
                std::any_of(page.pages[p].begin(), page.pages[p].end(), [](const auto& d) {
                    return d.text.endsWith("|Kód      |Jog        ");
                });
            EXPECT_TRUE(shortHeading) << "page " << p + 1;
        }
    }
    EXPECT_EQ(entries, 120);
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
