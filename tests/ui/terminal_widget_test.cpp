// The terminal pane widget: drawing, scrolling, key handling and the cost of a stream.
#include "ui/terminal_widget.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace zx {
namespace {

class TerminalWidgetTest : public ::testing::Test {
  protected:
    TerminalWidgetTest() {
        term.sink = [this](const QByteArray& b) { sent << b; };
        term.canSend = [this] { return lineOpen; };
        term.resize(term.sizeHint());
        term.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&term));
    }
    // Lets the coalescing timer run and the repaint happen.
    void settle() { QTest::qWait(TComTerminal::RepaintIntervalMs * 3); }

    TComTerminal term;
    QList<QByteArray> sent;
    bool lineOpen = true;
};

TEST_F(TerminalWidgetTest, IsTheFixedPitchPaneWithBothScrollBars) {
    EXPECT_EQ(term.objectName(), "ComTerminal1");
    EXPECT_EQ(term.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(term.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QFontMetrics fm(term.terminalFont());
    for (QChar c : QStringLiteral("iW.őŠ_"))
        EXPECT_EQ(fm.horizontalAdvance(c), fm.horizontalAdvance(QLatin1Char('M')))
            << int(c.unicode());
    // At its size hint the pane shows every column and every row.
    EXPECT_GE(term.viewport()->width(), 80 * term.cellSize().width());
    EXPECT_GE(term.visibleRows(), 24);
}

// Whether anything bright is drawn in the viewport's first cell row.
bool topRowHasText(TComTerminal& t) {
    const QImage img = t.viewport()->grab().toImage();
    for (int y = 0; y < t.cellSize().height() && y < img.height(); ++y)
        for (int x = 0; x < 20 * t.cellSize().width() && x < img.width(); ++x)
            if (img.pixelColor(x, y).lightness() > 128) return true;
    return false;
}

TEST_F(TerminalWidgetTest, TheCursorsRowAndTheTextAboveItStayInViewAtAnySize) {
    const QSize cell = term.cellSize();
    const int chrome = term.sizeHint().height() - 24 * cell.height();
    for (const int rows : {22, 10, 1}) {
        SCOPED_TRACE(rows);
        TComTerminal t;
        t.resize(t.sizeHint().width(), chrome + rows * cell.height());
        t.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&t));
        const auto cursorShown = [&t] {
            const int line = t.screen().scrollbackCount() + t.screen().cursor().y();
            return line >= t.firstShownLine() && line < t.firstShownLine() + t.visibleRows();
        };
        ASSERT_EQ(t.visibleRows(), rows);

        // A new connection's first words, at the top of an empty screen.
        t.receive("CONNECT 19200\r\n");
        settle();
        EXPECT_TRUE(cursorShown());
        if (rows > 1) {
            EXPECT_EQ(t.firstShownLine(), 0);
            EXPECT_TRUE(topRowHasText(t));
        }

        // A screenful and more: the view goes down with the cursor.
        for (int i = 0; i < 40; ++i)
            t.receive(QByteArray("line ") + QByteArray::number(i) + "\r\n");
        settle();
        EXPECT_TRUE(cursorShown());

        // A cleared screen puts the cursor back at its top row.
        t.receive("\x1b[2J\x1b[HMenu");
        settle();
        EXPECT_TRUE(cursorShown());
        if (rows > 1) {
            EXPECT_TRUE(topRowHasText(t));
        }

        // Growing the pane keeps the cursor and shows the lines above it.
        t.resize(t.sizeHint());
        settle();
        EXPECT_TRUE(cursorShown());
        const int line = t.screen().scrollbackCount() + t.screen().cursor().y();
        EXPECT_EQ(t.firstShownLine(), std::max(0, line - t.visibleRows() + 1));
    }
}

TEST_F(TerminalWidgetTest, TheCursorsColumnStaysInViewInANarrowPane) {
    term.resize(20 * term.cellSize().width(), term.height());
    term.receive(QByteArray(60, '-') + "X");
    settle();
    QScrollBar* h = term.horizontalScrollBar();
    const int cursorX = term.screen().cursor().x() * term.cellSize().width();
    EXPECT_LE(h->value(), cursorX);
    EXPECT_GE(h->value() + term.viewport()->width(), cursorX + term.cellSize().width());
    term.receive("\r");
    settle();
    EXPECT_EQ(h->value(), 0);
}

TEST_F(TerminalWidgetTest, AStreamCostsOneRepaintPerIntervalNotOnePerByte) {
    settle();
    const int before = term.paintCount();
    for (int i = 0; i < 2000; ++i)
        term.receive("x", 1);
    settle();
    const int repaints = term.paintCount() - before;
    EXPECT_GE(repaints, 1);
    EXPECT_LE(repaints, 2);
    EXPECT_EQ(term.screen().rowText(0), QString(80, 'x'));
}

TEST_F(TerminalWidgetTest, CellsAreDrawnInTheirColoursOnBlack) {
    term.receive("\x1b[44m    \x1b[0m");
    settle();
    const QImage img = term.viewport()->grab().toImage();
    const QSize cell = term.cellSize();
    const QColor inBlue = img.pixelColor(cell.width() * 2 + cell.width() / 2, cell.height() / 2);
    const QColor plain = img.pixelColor(cell.width() * 40, cell.height() * 10);
    EXPECT_GT(inBlue.blue(), 150);
    EXPECT_LT(inBlue.red(), 50);
    EXPECT_EQ(plain, QColor(Qt::black));
}

TEST_F(TerminalWidgetTest, TheViewFollowsNewLinesAndShiftPageUpLooksBack) {
    for (int i = 0; i < 100; ++i)
        term.receive(QByteArray("line ") + QByteArray::number(i) + "\r\n");
    settle();
    QScrollBar* v = term.verticalScrollBar();
    EXPECT_EQ(term.screen().scrollbackCount(), 77);
    EXPECT_EQ(v->value(), v->maximum());
    EXPECT_GT(v->maximum(), 0);
    QTest::keyClick(&term, Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_LT(v->value(), v->maximum());
    EXPECT_TRUE(sent.isEmpty());
    // Typing sends at once and brings the live screen back.
    QTest::keyClick(&term, Qt::Key_A);
    EXPECT_EQ(sent, QList<QByteArray>({"a"}));
    EXPECT_EQ(v->value(), v->maximum());
}

TEST_F(TerminalWidgetTest, EachCharacterIsItsOwnWriteAndNothingGoesWhileClosed) {
    QTest::keyClicks(&term, "ATZ");
    QTest::keyClick(&term, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&term, Qt::Key_Tab);
    EXPECT_EQ(sent, QList<QByteArray>({"A", "T", "Z", "\r", "\t"}));
    lineOpen = false;
    QTest::keyClicks(&term, "x");
    term.receive("\x1b[6n"); // a status request is not answered on a closed line
    EXPECT_EQ(sent.size(), 5);
    lineOpen = true;
    term.receive("\x1b[6n");
    EXPECT_EQ(sent.last(), "\x1b[1;1R");
}

} // namespace
} // namespace zx
