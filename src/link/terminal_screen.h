#pragma once
// The terminal pane's screen: VT100/ANSI emulation of what the line sends, 80 columns by 24
// rows, long lines wrapped, lines scrolled off the top kept for scrolling back. Received bytes
// are Windows-1250 text; typed keys become the bytes a VT100 sends.
#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

struct VTerm;
struct VTermScreen;

namespace zx {

// 0xAARRGGBB, the layout QColor reads.
using TermRgb = std::uint32_t;
constexpr TermRgb termRgb(int r, int g, int b) {
    return 0xFF000000u | (TermRgb(r & 0xFF) << 16) | (TermRgb(g & 0xFF) << 8) | TermRgb(b & 0xFF);
}
constexpr int termRed(TermRgb c) {
    return (c >> 16) & 0xFF;
}
constexpr int termGreen(TermRgb c) {
    return (c >> 8) & 0xFF;
}
constexpr int termBlue(TermRgb c) {
    return c & 0xFF;
}

struct TerminalCell {
    char32_t ch = U' ';
    TermRgb fg = 0;
    TermRgb bg = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    bool blink = false;
    bool reverse = false;
    bool strike = false;
    // 2 for the left half of a double-width character, 0 for its right half.
    int width = 1;

    bool sameLook(const TerminalCell& o) const {
        return fg == o.fg && bg == o.bg && bold == o.bold && underline == o.underline &&
               italic == o.italic && blink == o.blink && reverse == o.reverse && strike == o.strike;
    }
};

class TerminalScreen : public QObject {
    Q_OBJECT
  public:
    static constexpr int Rows = 24;
    static constexpr int Cols = 80;
    static constexpr TermRgb DefaultFg = termRgb(255, 255, 255); // white characters
    static constexpr TermRgb DefaultBg = termRgb(0, 0, 0);       // on black

    explicit TerminalScreen(int scrollbackLimit = 2000, QObject* parent = nullptr);
    ~TerminalScreen() override;
    TerminalScreen(const TerminalScreen&) = delete;
    TerminalScreen& operator=(const TerminalScreen&) = delete;

    // Bytes received from the line.
    void feed(const char* data, int count);
    void feed(const QByteArray& bytes) { feed(bytes.constData(), static_cast<int>(bytes.size())); }

    // The visible screen, row 0 at the top.
    TerminalCell cell(int row, int col) const;
    // A row's characters without its trailing blanks.
    QString rowText(int row) const;
    QPoint cursor() const { return cursor_; } // x = column, y = row
    bool cursorVisible() const { return cursorVisible_; }

    // Scrolled-off lines then the screen rows, as one list of lines; line 0 is the oldest.
    int lineCount() const { return static_cast<int>(scrollback_.size()) + Rows; }
    int scrollbackCount() const { return static_cast<int>(scrollback_.size()); }
    // Cols cells of a line of that list.
    void lineCells(int line, std::vector<TerminalCell>& out) const;
    QString lineText(int line) const;

    // Goes up by one for every feed that changed what is shown.
    std::uint64_t changeCount() const { return changes_; }

    // Lines are numbered for the whole run: line 0 of the list above is run line
    // firstLineNumber(), and a line keeps its run number as it scrolls up off the screen into
    // the kept lines, so a view can move what it has drawn instead of drawing it again.
    std::uint64_t firstLineNumber() const { return dropped_; }
    // The lines whose cells changed since the last call, by run number: each once, in
    // ascending order; or all of them (after a reset, or when too many to list piled up).
    struct ChangedLines {
        bool all = false;
        std::vector<std::uint64_t> lines;
    };
    ChangedLines takeChangedLines();

    // The bytes a key sends: VT100 sequences for cursor and editing keys and function keys
    // (following the modes the far end set), CR alone for Enter, BS for Backspace, control
    // codes for Ctrl+letter, printable text in Windows-1250. Empty for keys that send nothing.
    QByteArray keyBytes(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

    // Answers the emulation itself gives to the line (cursor position and device reports).
    std::function<void(const QByteArray&)> onReply;

    // Clears the screen and the scrolled-off lines.
    void reset();

  signals:
    // Once per feed that changed the screen, the scrolled-off lines or the cursor.
    void changed();

  private:
    friend struct TerminalScreenHooks;
    TerminalCell blank() const;
    // Screen rows first..end-1 changed.
    void markRows(int first, int end);
    void markLine(std::uint64_t run);

    VTerm* vt_;
    VTermScreen* screen_;
    int scrollbackLimit_;
    std::deque<std::vector<TerminalCell>> scrollback_;
    QPoint cursor_{0, 0};
    bool cursorVisible_ = true;
    bool dirty_ = false;
    bool capturing_ = false;
    QByteArray captured_;
    std::uint64_t changes_ = 0;
    std::string utf8_;
    // Lines gone from the front of the kept lines (or never kept) so far.
    std::uint64_t dropped_ = 0;
    // Lines pushed off the screen since the last move of screen rows was reported.
    int pushedSinceMove_ = 0;
    std::vector<std::uint64_t> changedLines_;
    bool allChanged_ = false;
};

} // namespace zx
