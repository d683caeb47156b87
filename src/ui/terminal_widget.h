#pragma once
// The terminal pane: draws the terminal screen white on black in a fixed-pitch font with both
// scroll bars, and hands every typed key to the line at once. Repaints are gathered on a short
// timer, so a fast stream costs one repaint per interval, not one per byte. However small the
// pane, the view keeps the cursor's row in sight (with as much of the text above it as fits),
// unless the operator has scrolled back to read; typing brings the cursor back into view.
#include "link/terminal_screen.h"

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QFont>
#include <QTimer>

#include <array>
#include <functional>
#include <vector>

namespace zx {

class TComTerminal : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr int RepaintIntervalMs = 40;

    explicit TComTerminal(QWidget* parent = nullptr);

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

    // Repaints done so far (what a stream costs in drawing).
    int paintCount() const { return paints_; }
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
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab belongs to the far end, not to focus changes.
    bool focusNextPrevChild(bool) override { return false; }

  private:
    void send(const QByteArray& bytes);
    void scheduleRepaint();
    void flush();
    void updateScrollBars();
    // The line of the cursor, counted like firstShownLine().
    int cursorLine() const;
    // Scrolls as little as needed for the cursor to be in view (both ways).
    void bringCursorIntoView();

    TerminalScreen screen_;
    QTimer repaint_;
    const QFont& fontFor(const TerminalCell& cell);

    QFont font_;
    // The font of each combination of bold, underline, italic and strike-out.
    std::array<QFont, 16> fonts_;
    std::array<bool, 16> fontReady_{};
    QString run_;
    int cw_ = 8;
    int ch_ = 16;
    int ascent_ = 12;
    int paints_ = 0;
    std::vector<TerminalCell> line_;
    // The view goes with the cursor; false while the operator reads back through the lines.
    bool following_ = true;
    // Set while the pane moves its own scroll bars, so that only the operator's moves count.
    bool adjusting_ = false;
};

} // namespace zx
