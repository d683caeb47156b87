// The terminal emulation: what received bytes put on the screen, and what keys send.
#include "link/terminal_screen.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <random>

namespace zx {
namespace {

TEST(TerminalScreenTest, TextLineEndsAndWrappingOfLongLines) {
    TerminalScreen t;
    t.feed("hello\r\nworld");
    EXPECT_EQ(t.rowText(0), "hello");
    EXPECT_EQ(t.rowText(1), "world");
    EXPECT_EQ(t.cursor(), QPoint(5, 1));
    t.feed("\r\n" + QByteArray(85, 'x'));
    EXPECT_EQ(t.rowText(2), QString(80, 'x'));
    EXPECT_EQ(t.rowText(3), QString(5, 'x'));
    EXPECT_EQ(t.cursor(), QPoint(5, 3));
}

TEST(TerminalScreenTest, CursorAndEraseSequencesPlaceTheText) {
    TerminalScreen t;
    t.feed("garbage on the screen\r\n\x1b[2J\x1b[5;10HHi\x1b[1;1Habc\x1b[2D\x1b[K");
    EXPECT_EQ(t.rowText(0), "a");
    EXPECT_EQ(t.rowText(1), "");
    EXPECT_EQ(t.cell(4, 9).ch, U'H');
    EXPECT_EQ(t.cell(4, 10).ch, U'i');
    EXPECT_EQ(t.cursor(), QPoint(1, 0));
}

TEST(TerminalScreenTest, ColoursAndAttributesReachTheCells) {
    TerminalScreen t;
    t.feed("\x1b[1;31;44mR\x1b[0mN\x1b[7mV\x1b[0;4mU");
    const TerminalCell r = t.cell(0, 0);
    EXPECT_EQ(r.ch, U'R');
    EXPECT_TRUE(r.bold);
    EXPECT_GT(termRed(r.fg), 150);
    EXPECT_EQ(termGreen(r.fg), 0);
    EXPECT_EQ(termBlue(r.fg), 0);
    EXPECT_GT(termBlue(r.bg), 150);
    EXPECT_EQ(termRed(r.bg), 0);
    const TerminalCell n = t.cell(0, 1);
    EXPECT_FALSE(n.bold);
    EXPECT_EQ(n.fg, TerminalScreen::DefaultFg);
    EXPECT_EQ(n.bg, TerminalScreen::DefaultBg);
    EXPECT_TRUE(t.cell(0, 2).reverse);
    EXPECT_TRUE(t.cell(0, 3).underline);
    EXPECT_FALSE(t.cell(0, 3).reverse);
    // An untouched cell is white on black too.
    EXPECT_EQ(t.cell(20, 70).fg, TerminalScreen::DefaultFg);
    EXPECT_EQ(t.cell(20, 70).bg, TerminalScreen::DefaultBg);
}

TEST(TerminalScreenTest, CentralEuropeanBytesShowAsTheirLetters) {
    TerminalScreen t;
    t.feed("\xF5\xFB\x8A\xE1 \x80");
    EXPECT_EQ(t.rowText(0), QString::fromUtf8("őűŠá €"));
}

TEST(TerminalScreenTest, LinesScrolledOffTheTopAreKeptUpToTheLimit) {
    TerminalScreen t(5);
    for (int i = 0; i < 30; ++i)
        t.feed(QByteArray("L") + QByteArray::number(i) + "\r\n");
    // 30 line ends leave 31 lines: 7 went over the top, the oldest 2 beyond the limit.
    EXPECT_EQ(t.scrollbackCount(), 5);
    EXPECT_EQ(t.lineText(0), "L2");
    EXPECT_EQ(t.lineText(4), "L6");
    EXPECT_EQ(t.rowText(0), "L7");
    EXPECT_EQ(t.lineText(5), "L7");
    EXPECT_EQ(t.lineCount(), 5 + 24);
}

TEST(TerminalScreenTest, OneChangeNotificationPerFeedThatChangedSomething) {
    TerminalScreen t;
    QSignalSpy spy(&t, &TerminalScreen::changed);
    t.feed(QByteArray(5000, 'a'));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(t.changeCount(), 1u);
    t.feed(QByteArray());
    t.feed("\x1b[0m"); // attributes only: nothing visible changes
    EXPECT_EQ(spy.count(), 1);
    t.feed("b");
    EXPECT_EQ(spy.count(), 2);
}

// Changed lines by run number: a line keeps its number as it scrolls up into the kept lines,
// so a scroll changes only the rows that show other cells under their numbers.
TEST(TerminalScreenTest, ChangedLinesAreNumberedForTheWholeRun) {
    using Lines = std::vector<std::uint64_t>;
    TerminalScreen t(3);
    EXPECT_TRUE(t.takeChangedLines().all); // a new screen is drawn whole
    t.feed("\x1b[4;1Hfour");
    EXPECT_EQ(t.takeChangedLines().lines, Lines{3});
    EXPECT_TRUE(t.takeChangedLines().lines.empty());

    // A line end at the bottom pushes row 0 (run 0) into the kept lines; the new bottom row
    // is run 24. The 22 rows between moved up and kept their numbers.
    t.feed("\x1b[24;1Hbottom\r\nnew");
    const TerminalScreen::ChangedLines scrolled = t.takeChangedLines();
    EXPECT_FALSE(scrolled.all);
    EXPECT_EQ(scrolled.lines, (Lines{0, 23, 24}));
    EXPECT_EQ(t.lineText(23), "bottom");
    EXPECT_EQ(t.firstLineNumber(), 0u);

    // A region in the middle scrolls without keeping a line: its rows show other cells.
    t.feed("\x1b[5;8r\x1b[8;1H\r\n\x1b[r");
    const std::uint64_t top = t.firstLineNumber() + std::uint64_t(t.scrollbackCount());
    Lines region;
    for (std::uint64_t row = 4; row <= 7; ++row)
        region.push_back(top + row);
    EXPECT_EQ(t.takeChangedLines().lines, region);

    // A region from the top keeps its first line; the rows below it stayed where they were,
    // under numbers one higher now.
    t.feed("\x1b[1;20r\x1b[20;1H\r\n\x1b[r\x1b[24;1H");
    const TerminalScreen::ChangedLines kept = t.takeChangedLines();
    const std::uint64_t newTop = t.firstLineNumber() + std::uint64_t(t.scrollbackCount());
    EXPECT_EQ(newTop, top + 1);
    Lines expected{top}; // the kept line
    for (std::uint64_t row = 19; row < 24; ++row)
        expected.push_back(newTop + row);
    EXPECT_EQ(kept.lines, expected);

    // Past the limit of kept lines the oldest go, and the numbering goes on.
    t.feed("\r\n\r\n\r\n");
    EXPECT_EQ(t.scrollbackCount(), 3);
    EXPECT_EQ(t.firstLineNumber(), 2u);
    t.takeChangedLines();
    t.reset();
    EXPECT_TRUE(t.takeChangedLines().all);
}

TEST(TerminalScreenTest, StatusRequestsAreAnsweredOnTheLine) {
    TerminalScreen t;
    QByteArray replies;
    t.onReply = [&](const QByteArray& b) { replies += b; };
    t.feed("\x1b[3;7H\x1b[6n");
    EXPECT_EQ(replies, "\x1b[3;7R");
}

TEST(TerminalScreenTest, KeysSendVt100Bytes) {
    TerminalScreen t;
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
        const char* text;
        QByteArray want;
    } cases[] = {
        {Qt::Key_Return, Qt::NoModifier, "\r", "\r"},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", "\r"},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", "\b"},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", "\x1b"},
        {Qt::Key_Up, Qt::NoModifier, "", "\x1b[A"},
        {Qt::Key_Left, Qt::NoModifier, "", "\x1b[D"},
        {Qt::Key_Delete, Qt::NoModifier, "", "\x1b[3~"},
        {Qt::Key_F1, Qt::NoModifier, "", "\x1bOP"},
        {Qt::Key_A, Qt::NoModifier, "a", "a"},
        {Qt::Key_C, Qt::ControlModifier, "", "\x03"},
        {0, Qt::NoModifier, "ő", "\xF5"},
        {Qt::Key_Shift, Qt::ShiftModifier, "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.keyBytes(c.key, c.mods, QString::fromUtf8(c.text)), c.want) << c.key;
    // The far end may switch the cursor keys to application mode.
    t.feed("\x1b[?1h");
    EXPECT_EQ(t.keyBytes(Qt::Key_Up, Qt::NoModifier, QString()), "\x1bOA");
}

TEST(TerminalScreenTest, AnyByteStreamLeavesAUsableScreen) {
    TerminalScreen t(100);
    std::mt19937 rng(7);
    QByteArray junk;
    for (int i = 0; i < 200000; ++i)
        junk.append(static_cast<char>(rng() & 0xFF));
    for (qsizetype at = 0; at < junk.size(); at += 997)
        t.feed(junk.mid(at, 997));
    t.feed("\x1b"
           "c\x1b[0m\r\nok");
    EXPECT_EQ(t.lineCount(), t.scrollbackCount() + 24);
    EXPECT_LE(t.scrollbackCount(), 100);
    EXPECT_TRUE(t.rowText(t.cursor().y()).endsWith("ok"));
}

} // namespace
} // namespace zx
