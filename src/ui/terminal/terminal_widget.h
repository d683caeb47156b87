#pragma once
// The terminal pane: draws the terminal screen white on black in a fixed-pitch font with both
// scroll bars, and hands every typed key to the line at once. The screen's 24 rows stand at the
// top left of the pane; the lines scrolled off them are seen by scrolling back. In a pane too
// small for the screen the view keeps the cursor's row in sight, unless the operator has
// scrolled back to read; typing brings the cursor back into view.
//
// Repaints are gathered on a short timer, so a fast stream costs one repaint per interval, not
// one per byte, and output that keeps scrolling is drawn in jumps (RepaintPacer); each moves what
// is already drawn when the lines scroll and draws only the rows that changed. A pane that is not
// shown draws nothing until it is shown again.
#include "link/terminal_screen.h"
#include "ui/terminal/repaint_pacer.h"

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QFont>
#include <QRawFont>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace zx {

class TerminalPane : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr int RepaintIntervalMs = RepaintPacer::IntervalMs;

    // The pane's clock in milliseconds: a steady clock unless one is given.
    using Clock = std::function<std::int64_t()>;
    explicit TerminalPane(QWidget* parent = nullptr, Clock clock = {});

    TerminalScreen& screen() { return screen_; }
    const TerminalScreen& screen() const { return screen_; }

    // Bytes received from the line.
    void receive(const char* data, int count);
    void receive(const QByteArray& bytes) {
        receive(bytes.constData(), static_cast<int>(bytes.size()));
    }

    // Where typed bytes go, one call per character or key sequence (no local echo). Nothing is
    // handed over while canSend says no (the port is closed).
    std::function<void(const QByteArray&)> sink;
    std::function<bool()> canSend;

    // Repaints done so far, and the text rows they drew (what a stream costs in drawing).
    int paintCount() const { return paints_; }
    long long rowsPainted() const { return rowsPainted_; }
    // Whether a gathered repaint is waiting for its interval to end; runs it now.
    bool repaintDue() const { return repaint_.isActive(); }
    int repaintDelay() const { return repaint_.interval(); }
    void repaintPending();
    // All 80 columns and 24 rows with the frame and both scroll bars.
    QSize sizeHint() const override;
    QSize cellSize() const { return QSize(cw_, ch_); }
    // Rows the viewport shows whole (at least one), and the first line shown (0 is the oldest
    // line kept above the screen, scrollbackCount() the screen's first row).
    int visibleRows() const;
    int firstShownLine() const;
    const QFont& terminalFont() const { return font_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab belongs to the far end, not to focus changes.
    bool focusNextPrevChild(bool) override { return false; }

  private:
    Clock clock_;
    void send(const QByteArray& bytes);
    void scheduleRepaint();
    void flush();
    void updateScrollBars();
    // The line of the cursor, counted like firstShownLine().
    int cursorLine() const;
    // The first line the view may show while it follows the cursor: the screen's first row,
    // and in a pane too small for the screen as far down as its last row allows.
    int liveFirst() const;
    int liveLast() const;
    // Scrolls as little as needed for the cursor to be in view (both ways), on the screen's
    // rows, not the lines scrolled off them.
    void bringCursorIntoView();
    // Moves what is drawn to where the scroll bars and the kept lines put the view now; a
    // move too large to gain anything redraws the pane.
    void followView();
    // Redraws the viewport row of the line with that run number, if it is in view.
    void updateRunLine(std::uint64_t run);

    TerminalScreen screen_;
    QTimer repaint_;
    RepaintPacer pacer_;
    const QFont& fontFor(const TerminalCell& cell);

    QFont font_;
    // The font of each combination of bold, underline, italic and strike-out.
    std::array<QFont, 16> fonts_;
    std::array<bool, 16> fontReady_{};
    QString run_;
    // The cell, counted from the run's first, each character of run_ stands in.
    std::vector<int> runColumns_;
    // Runs are drawn as glyphs placed on the cell grid (a fixed-pitch font has nothing to
    // shape, and an advance of a fraction of a pixel must not carry a line off its cells).
    // The font of each combination of bold and italic as glyphs; none where the system has no
    // face of that style.
    std::array<QRawFont, 4> rawFonts_;
    std::array<bool, 4> rawReady_{};
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
    const QRawFont& rawFontFor(const TerminalCell& cell);
    // Draws run_, each character in its cell from x on.
    void drawRun(QPainter& p, const TerminalCell& head, int x, int baseline);
    int cw_ = 8;
    int ch_ = 16;
    int ascent_ = 12;
    int paints_ = 0;
    long long rowsPainted_ = 0;
    std::vector<TerminalCell> line_;
    std::vector<bool> rowsToPaint_;
    // What the drawn pixels show: the run number of the line in the first row, the horizontal
    // offset, and where the cursor was drawn (run line, column; shown or not; with focus).
    std::uint64_t drawnTop_ = 0;
    int drawnX_ = 0;
    std::uint64_t drawnCursorLine_ = 0;
    int drawnCursorColumn_ = -1;
    bool drawnCursorShown_ = false;
    bool drawnFocus_ = false;
    // Changes came while the pane was not shown: it is drawn whole when shown.
    bool stale_ = true;
    // The view goes with the cursor; false while the operator reads back through the lines.
    bool following_ = true;
    // Set while the pane moves its own scroll bars, so that only the operator's moves count.
    bool adjusting_ = false;
};

} // namespace zx
