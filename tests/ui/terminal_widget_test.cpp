// The terminal pane widget: drawing, scrolling, key handling and the cost of a stream.
#include "ui/terminal/terminal_widget.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>

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
    void settle() { settle(term); }
    static void settle(TerminalPane& t) {
        EXPECT_TRUE(QTest::qWaitFor([&t] { return !t.repaintDue(); }, 2000));
        QTest::qWait(10);
    }

    TerminalPane term;
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
bool topRowHasText(TerminalPane& t) {
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
        TerminalPane t;
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
        settle(t);
        EXPECT_TRUE(cursorShown());
        if (rows > 1) {
            EXPECT_EQ(t.firstShownLine(), 0);
            EXPECT_TRUE(topRowHasText(t));
        }

        // A screenful and more: the view goes down with the cursor.
        for (int i = 0; i < 40; ++i)
            t.receive(QByteArray("line ") + QByteArray::number(i) + "\r\n");
        settle(t);
        EXPECT_TRUE(cursorShown());

        // A cleared screen puts the cursor back at its top row.
        t.receive("\x1b[2J\x1b[HMenu");
        settle(t);
        EXPECT_TRUE(cursorShown());
        if (rows > 1) {
            EXPECT_TRUE(topRowHasText(t));
        }

        // Growing the pane keeps the cursor and shows the screen from its top row; the lines
        // scrolled off it are seen only by scrolling back.
        t.resize(t.sizeHint());
        settle(t);
        EXPECT_TRUE(cursorShown());
        EXPECT_EQ(t.firstShownLine(), t.screen().scrollbackCount());
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

TEST(RepaintPacerTest, OnlyOutputThatKeepsScrollingWaitsTheLongerInterval) {
    RepaintPacer pacer;
    EXPECT_EQ(pacer.delayFor(0), RepaintPacer::IntervalMs);
    pacer.drawn(1000, true);
    EXPECT_EQ(pacer.delayFor(1005), RepaintPacer::ScrollIntervalMs);
    EXPECT_EQ(pacer.delayFor(1000 + RepaintPacer::ScrollIntervalMs - 1),
              RepaintPacer::ScrollIntervalMs);
    // A pause after the scrolling, or a drawing that did not scroll (an echo, an edit).
    EXPECT_EQ(pacer.delayFor(1000 + RepaintPacer::ScrollIntervalMs), RepaintPacer::IntervalMs);
    pacer.drawn(2000, false);
    EXPECT_EQ(pacer.delayFor(2001), RepaintPacer::IntervalMs);
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

// Each character stands in its own cell, as the pane's font draws it there: a font whose advance
// is not a whole pixel must not let a line drift from the cells (their colours, the cursor).
TEST_F(TerminalWidgetTest, EachCharacterStandsInItsOwnCell) {
    const QString text = QString::fromUtf8("Sor 12: árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ 06-1-234");
    // The unit's bytes are Windows-1250; the second line is bold.
    const QByteArray bytes = "Sor 12: \xe1rv\xedzt\xfbr\xf5 t\xfck\xf6rf\xfar\xf3g\xe9p "
                             "\xc1RV\xcdZT\xdbR\xd5 06-1-234";
    term.receive(bytes + "\r\n\x1b[1m" + bytes + "\x1b[0m\r\n");
    settle();
    const QSize cell = term.cellSize();
    for (const int row : {0, 1}) {
        SCOPED_TRACE(row == 0 ? "plain" : "bold");
        ASSERT_EQ(term.screen().rowText(row).trimmed(), text);
        const QImage shown =
            term.viewport()
                ->grab(QRect(0, row * cell.height(), cell.width() * 80, cell.height()))
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        QImage drawn(shown.size(), QImage::Format_RGB32);
        drawn.setDevicePixelRatio(shown.devicePixelRatio());
        drawn.fill(Qt::black);
        QFont font = term.terminalFont();
        font.setBold(row == 1);
        {
            QPainter p(&drawn);
            p.setFont(font);
            p.setPen(Qt::white);
            for (int i = 0; i < text.size(); ++i)
                p.drawText(i * cell.width(), QFontMetrics(font).ascent(), text.mid(i, 1));
        }
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != drawn.pixel(x, y)) ++differing;
        EXPECT_EQ(differing, 0);
    }
}

// Blanks at the end of a run are left undrawn, but not where a line runs under them.
TEST_F(TerminalWidgetTest, UnderlinedBlanksKeepTheirLine) {
    term.receive("\x1b[4mab   \x1b[0m\r\n"
                 "ab   \r\n"
                 "\x1b[4m    \x1b[0m");
    settle();
    const QImage img = term.viewport()->grab().toImage();
    const QSize cell = term.cellSize();
    const auto litInLowerHalf = [&](int row, int column) {
        for (int y = row * cell.height() + cell.height() / 2; y < (row + 1) * cell.height(); ++y)
            for (int x = column * cell.width(); x < (column + 1) * cell.width(); ++x)
                if (img.pixelColor(x, y).lightness() > 128) return true;
        return false;
    };
    EXPECT_TRUE(litInLowerHalf(0, 3));
    EXPECT_FALSE(litInLowerHalf(1, 3));
    EXPECT_TRUE(litInLowerHalf(2, 1)); // a run of underlined blanks alone
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

// The rows the view shows, top first, as text; rows below the last line are empty.
QStringList shownRows(const TerminalPane& t) {
    QStringList rows;
    for (int r = 0; r < t.visibleRows(); ++r) {
        const int line = t.firstShownLine() + r;
        rows << (line < t.screen().lineCount() ? t.screen().lineText(line) : QString());
    }
    return rows;
}

// The cell rows of the viewport that hold anything brighter than the background.
QList<int> litRows(TerminalPane& t) {
    const QImage img = t.viewport()->grab().toImage();
    QList<int> rows;
    const int ch = t.cellSize().height();
    for (int r = 0; r * ch < img.height(); ++r) {
        bool lit = false;
        for (int y = r * ch; y < std::min(img.height(), (r + 1) * ch) && !lit; ++y)
            for (int x = 0; x < img.width() && !lit; ++x)
                lit = img.pixelColor(x, y).lightness() > 128;
        if (lit) rows << r;
    }
    return rows;
}

// Runs the gathered repaint and the paint it asks for, without waiting for the interval.
void repaintNow(TerminalPane& t) {
    t.repaintPending();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// A pane taller than the screen, given bytes, shows the screen's rows from its top.
class TallTerminalTest : public ::testing::Test {
  protected:
    TallTerminalTest() {
        const int chrome = t.sizeHint().height() - 24 * t.cellSize().height();
        t.resize(t.sizeHint().width(), chrome + 30 * t.cellSize().height());
        t.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&t));
        EXPECT_EQ(t.visibleRows(), 30);
    }
    void receive(const QByteArray& bytes) {
        t.receive(bytes);
        repaintNow(t);
    }
    TerminalPane t;
};

TEST_F(TallTerminalTest, AClearedScreenLooksClearedWithHomeAtTheTopLeft) {
    QByteArray lines;
    for (int i = 0; i < 30; ++i)
        lines += "line " + QByteArray::number(i) + "\r\n";
    receive(lines);
    // 30 line ends: seven lines went over the top; the screen shows lines 7 to 29 and the
    // cursor's empty row, and nothing of the seven above it.
    EXPECT_EQ(t.screen().scrollbackCount(), 7);
    QStringList expected;
    for (int i = 7; i < 30; ++i)
        expected << QStringLiteral("line %1").arg(i);
    expected << QString();
    while (expected.size() < 30)
        expected << QString();
    EXPECT_EQ(shownRows(t), expected);
    EXPECT_EQ(t.firstShownLine(), 7);

    receive("\x1b[2J\x1b[H");
    EXPECT_EQ(shownRows(t), QStringList(30, QString()));
    EXPECT_EQ(t.screen().cursor(), QPoint(0, 0));
    // Drawn: nothing lit but the cursor in the first cell.
    EXPECT_EQ(litRows(t), QList<int>{0});
    t.clearFocus();
    repaintNow(t);
    EXPECT_EQ(litRows(t), QList<int>{0});

    receive("Menu\r\n1 Kodok");
    EXPECT_EQ(shownRows(t).mid(0, 3), (QStringList{"Menu", "1 Kodok", ""}));
    EXPECT_EQ(litRows(t), (QList<int>{0, 1}));

    // The old lines are there to scroll back to.
    QTest::keyClick(&t, Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(t.firstShownLine(), 0);
    EXPECT_EQ(shownRows(t).first(), "line 0");
    EXPECT_EQ(shownRows(t)[7], "Menu");
}

// What the pane holds on the screen after each step of a stream, drawn piece by piece (rows
// moved, changed rows drawn, scroll bars drawn when their look changes), is what drawing it
// whole gives.
TEST_F(TerminalWidgetTest, PiecewiseDrawingShowsWhatAWholeRepaintShows) {
    // The pane's pixels as the window holds them, and the pane drawn whole afresh (its text,
    // frame and scroll bars).
    const auto onScreen = [this] {
        return term.QWidget::screen()
            ->grabWindow(term.winId(), 0, 0, term.width(), term.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const auto whole = [this] {
        return term.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto check = [&](const char* step) {
        repaintNow(term);
        const QImage shown = onScreen();
        const QImage drawn = whole();
        ASSERT_EQ(shown.size(), drawn.size()) << step;
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y)
            differing += std::memcmp(shown.constScanLine(y), drawn.constScanLine(y),
                                     std::size_t(shown.bytesPerLine())) != 0;
        EXPECT_EQ(differing, 0) << step;
    };
    term.setFocus();
    check("start");
    for (int chunk = 0; chunk < 12; ++chunk) {
        QByteArray bytes;
        for (int i = 0; i < 1 + chunk * 3; ++i)
            bytes += "\x1b[1;3" + QByteArray::number(i % 8) + "mSor " +
                     QByteArray::number(chunk * 100 + i) + "\x1b[0m hívás 06-1-234-5678\r\n";
        term.receive(bytes);
        check("lines scrolling in");
    }
    term.receive("\x1b[5;10Hközép\x1b[K\x1b[12;1H\x1b[2Lbeszúrt\x1b[3;1H\x1b[M");
    check("edits, inserted and deleted lines");
    term.receive("\x1b[3;20r\x1b[20;1H\r\nA\r\nB\r\nC\x1b[r");
    check("a scroll region");
    term.receive("\x1b[1;20r\x1b[20;1H\r\nD\r\nE\x1b[r");
    check("a scroll region from the top, its lines kept");
    term.receive("\x1b[1;1H\x1b[4@\x1b[2P\x1b[44m  \x1b[0m");
    check("inserted and deleted characters");
    term.clearFocus();
    check("focus gone");
    QTest::keyClick(&term, Qt::Key_PageUp, Qt::ShiftModifier);
    check("scrolled back");
    term.receive("still scrolled back\r\n");
    check("a line while scrolled back");
    QTest::keyClick(&term, Qt::Key_PageDown, Qt::ShiftModifier);
    check("back to the screen");
    term.verticalScrollBar()->setValue(term.verticalScrollBar()->value() - 3);
    term.receive("\x1b[1;1Hchanged as it went\x1b[24;1H\r\n");
    check("the top row changed as it scrolled off, in view above");
    QTest::keyClick(&term, Qt::Key_A);
    check("typing brings the screen back");
    QByteArray many;
    for (int i = 0; i < 2100; ++i)
        many += "kept " + QByteArray::number(i) + "\r\n";
    term.receive(many);
    check("more lines than are kept");
    term.receive("last\r\n");
    check("the oldest kept line dropped");
    term.receive("\x1b[2J\x1b[H");
    check("cleared");
}

TEST_F(TerminalWidgetTest, OnlyTheRowsThatChangedAreDrawn) {
    for (int i = 0; i < 40; ++i)
        term.receive("line " + QByteArray::number(i) + "\r\n");
    repaintNow(term);
    // One character in the middle: its row and the cursor's old row.
    long long before = term.rowsPainted();
    term.receive("\x1b[10;5Hx");
    repaintNow(term);
    EXPECT_GE(term.rowsPainted() - before, 1);
    EXPECT_LE(term.rowsPainted() - before, 2);
    // A new line at the bottom of a full screen moves the others up: the new row and the
    // cursor's rows are drawn, not the screen.
    term.receive("\x1b[24;1H");
    repaintNow(term);
    before = term.rowsPainted();
    term.receive("tail\r\n");
    repaintNow(term);
    EXPECT_GE(term.rowsPainted() - before, 1);
    EXPECT_LE(term.rowsPainted() - before, 3);
    EXPECT_EQ(term.screen().rowText(22), "tail");
}

TEST_F(TerminalWidgetTest, AHiddenPaneDrawsNothingUntilShown) {
    repaintNow(term);
    term.hide();
    const int paints = term.paintCount();
    for (int i = 0; i < 50; ++i)
        term.receive("unseen " + QByteArray::number(i) + "\r\n");
    EXPECT_FALSE(term.repaintDue());
    repaintNow(term);
    EXPECT_EQ(term.paintCount(), paints);

    term.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&term));
    repaintNow(term);
    EXPECT_GT(term.paintCount(), paints);
    EXPECT_EQ(shownRows(term)[22], "unseen 49");
    EXPECT_EQ(term.firstShownLine(), term.screen().scrollbackCount());
}

TEST_F(TerminalWidgetTest, AStreamThatScrollsIsDrawnInJumpsAndAnEchoAfterAPauseIsNot) {
    std::int64_t now = 0;
    TerminalPane term(nullptr, [&now] { return now; });
    term.resize(term.sizeHint());
    term.show();
    settle(term);
    for (int i = 0; i < 30; ++i)
        term.receive("line " + QByteArray::number(i) + "\r\n");
    EXPECT_EQ(term.repaintDelay(), RepaintPacer::IntervalMs);
    term.repaintPending();
    now += 5;
    term.receive("line 30\r\n");
    EXPECT_EQ(term.repaintDelay(), RepaintPacer::ScrollIntervalMs);
    term.repaintPending();
    now += 1000;
    term.receive("x");
    EXPECT_EQ(term.repaintDelay(), RepaintPacer::IntervalMs);
    settle(term);
    const QStringList rows = shownRows(term);
    EXPECT_EQ(rows.value(22), "line 30");
    EXPECT_EQ(rows.value(23), "x");
}

} // namespace
} // namespace zx
