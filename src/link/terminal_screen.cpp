#include "link/terminal_screen.h"

#include "files/cp1250.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vterm.h>

namespace zx {

namespace {

// UTF-8 of every received byte. The line speaks Windows-1250, where 80..9F are letters and
// signs, not C1 controls; codes the page leaves undefined show as the replacement character.
const std::array<std::string, 256>& byteToUtf8() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        for (int b = 0; b < 256; ++b) {
            if (b < 0x80) {
                t[b] = std::string(1, static_cast<char>(b));
                continue;
            }
            const char byte = static_cast<char>(b);
            QString s = fromCp1250(RawText(std::string_view(&byte, 1)));
            if (s.size() != 1 || (s[0].unicode() >= 0x80 && s[0].unicode() < 0xA0))
                s = QString(QChar(0xFFFD));
            t[b] = s.toUtf8().toStdString();
        }
        return t;
    }();
    return table;
}

TermRgb toRgb(const VTermScreen* screen, VTermColor c) {
    vterm_screen_convert_color_to_rgb(screen, &c);
    return termRgb(c.rgb.red, c.rgb.green, c.rgb.blue);
}

} // namespace

struct TerminalScreenHooks {
    static void convert(const TerminalScreen& t, const VTermScreenCell& in, TerminalCell& out) {
        out.ch = in.chars[0] ? static_cast<char32_t>(in.chars[0]) : U' ';
        out.fg = toRgb(t.screen_, in.fg);
        out.bg = toRgb(t.screen_, in.bg);
        out.bold = in.attrs.bold;
        out.underline = in.attrs.underline != 0;
        out.italic = in.attrs.italic;
        out.blink = in.attrs.blink;
        out.reverse = in.attrs.reverse;
        out.strike = in.attrs.strike;
        out.width = in.width;
    }
    static int damage(VTermRect rect, void* user) {
        auto* t = static_cast<TerminalScreen*>(user);
        t->markRows(rect.start_row, rect.end_row);
        t->dirty_ = true;
        return 1;
    }
    // Screen rows moved (a scroll, an inserted or deleted line or character). Rows that went
    // up by as many lines as were pushed off the screen keep their run numbers; rows that
    // moved otherwise, or stayed while the lines around them moved, show other cells under
    // their run numbers now.
    static int moveRect(VTermRect dest, VTermRect src, void* user) {
        auto* t = static_cast<TerminalScreen*>(user);
        const int pushed = std::exchange(t->pushedSinceMove_, 0);
        const bool fullWidth = dest.start_col == 0 && dest.end_col == TerminalScreen::Cols &&
                               src.start_col == 0 && src.end_col == TerminalScreen::Cols;
        if (pushed == 0)
            t->markRows(dest.start_row, dest.end_row);
        else if (fullWidth && dest.start_row == 0 && src.start_row == pushed)
            t->markRows(src.end_row, TerminalScreen::Rows);
        else
            t->markRows(0, TerminalScreen::Rows);
        t->dirty_ = true;
        return 1;
    }
    static int moveCursor(VTermPos pos, VTermPos, int visible, void* user) {
        auto* t = static_cast<TerminalScreen*>(user);
        t->cursor_ = QPoint(pos.col, pos.row);
        t->cursorVisible_ = visible != 0;
        t->dirty_ = true;
        return 1;
    }
    static int setTermProp(VTermProp prop, VTermValue* val, void* user) {
        auto* t = static_cast<TerminalScreen*>(user);
        if (prop == VTERM_PROP_CURSORVISIBLE) {
            t->cursorVisible_ = val->boolean != 0;
            t->dirty_ = true;
        }
        return 1;
    }
    static int pushLine(int cols, const VTermScreenCell* cells, void* user) {
        auto* t = static_cast<TerminalScreen*>(user);
        ++t->pushedSinceMove_;
        t->dirty_ = true;
        if (t->scrollbackLimit_ <= 0) {
            ++t->dropped_;
            return 1;
        }
        // A full scroll back gives its oldest line's cells to the new one.
        std::vector<TerminalCell> line;
        if (static_cast<int>(t->scrollback_.size()) >= t->scrollbackLimit_) {
            line = std::move(t->scrollback_.front());
            t->scrollback_.pop_front();
            ++t->dropped_;
        }
        line.resize(TerminalScreen::Cols);
        for (int c = 0; c < std::min(cols, TerminalScreen::Cols); ++c)
            convert(*t, cells[c], line[c]);
        for (int c = std::min(cols, TerminalScreen::Cols); c < TerminalScreen::Cols; ++c)
            line[c] = t->blank();
        t->scrollback_.push_back(std::move(line));
        // The line may have changed in the same feed that pushed it, where the change reported
        // for its screen row went with it.
        t->markLine(t->dropped_ + t->scrollback_.size() - 1);
        return 1;
    }
    static void output(const char* s, size_t len, void* user) {
        auto* t = static_cast<TerminalScreen*>(user);
        if (t->capturing_)
            t->captured_.append(s, static_cast<qsizetype>(len));
        else if (t->onReply)
            t->onReply(QByteArray(s, static_cast<qsizetype>(len)));
    }
};

namespace {
const VTermScreenCallbacks ScreenCallbacks = {
    &TerminalScreenHooks::damage,
    &TerminalScreenHooks::moveRect,
    &TerminalScreenHooks::moveCursor,
    &TerminalScreenHooks::setTermProp,
    nullptr, // bell
    nullptr, // resize: the size is fixed
    &TerminalScreenHooks::pushLine,
    nullptr, // popline: never grows taller
};
} // namespace

TerminalScreen::TerminalScreen(int scrollbackLimit, QObject* parent)
    : QObject(parent), vt_(vterm_new(Rows, Cols)), scrollbackLimit_(scrollbackLimit) {
    vterm_set_utf8(vt_, 1);
    vterm_output_set_callback(vt_, &TerminalScreenHooks::output, this);
    screen_ = vterm_obtain_screen(vt_);
    vterm_screen_set_callbacks(screen_, &ScreenCallbacks, this);
    vterm_screen_set_damage_merge(screen_, VTERM_DAMAGE_SCROLL);
    vterm_screen_enable_altscreen(screen_, 1);
    VTermColor fg, bg;
    vterm_color_rgb(&fg, termRed(DefaultFg), termGreen(DefaultFg), termBlue(DefaultFg));
    vterm_color_rgb(&bg, termRed(DefaultBg), termGreen(DefaultBg), termBlue(DefaultBg));
    vterm_state_set_default_colors(vterm_obtain_state(vt_), &fg, &bg);
    vterm_screen_reset(screen_, 1);
    dirty_ = false;
    changedLines_.clear();
    allChanged_ = true;
}

TerminalScreen::~TerminalScreen() {
    vterm_free(vt_);
}

void TerminalScreen::reset() {
    vterm_screen_reset(screen_, 1);
    dropped_ += scrollback_.size();
    scrollback_.clear();
    pushedSinceMove_ = 0;
    allChanged_ = true;
    changedLines_.clear();
    ++changes_;
    dirty_ = false;
    emit changed();
}

TerminalCell TerminalScreen::blank() const {
    TerminalCell c;
    c.fg = DefaultFg;
    c.bg = DefaultBg;
    return c;
}

void TerminalScreen::feed(const char* data, int count) {
    if (count <= 0) return;
    const auto& table = byteToUtf8();
    utf8_.clear();
    utf8_.reserve(static_cast<std::size_t>(count) + 16);
    for (int i = 0; i < count; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b < 0x80)
            utf8_.push_back(static_cast<char>(b));
        else
            utf8_ += table[b];
    }
    vterm_input_write(vt_, utf8_.data(), utf8_.size());
    vterm_screen_flush_damage(screen_);
    // Every move is reported by now; a scroll past the whole screen is reported as erased rows
    // rather than as a move.
    pushedSinceMove_ = 0;
    if (dirty_) {
        dirty_ = false;
        ++changes_;
        emit changed();
    }
}

void TerminalScreen::markRows(int first, int end) {
    const std::uint64_t top = dropped_ + scrollback_.size();
    for (int row = std::max(first, 0); row < std::min(end, Rows); ++row)
        markLine(top + static_cast<std::uint64_t>(row));
}

void TerminalScreen::markLine(std::uint64_t run) {
    if (allChanged_) return;
    // A pane that nobody looks at takes no changes; past this many it redraws everything.
    constexpr std::size_t MostListed = 4096;
    if (changedLines_.size() >= MostListed) {
        allChanged_ = true;
        changedLines_.clear();
        return;
    }
    changedLines_.push_back(run);
}

TerminalScreen::ChangedLines TerminalScreen::takeChangedLines() {
    ChangedLines out;
    out.all = std::exchange(allChanged_, false);
    out.lines.swap(changedLines_);
    if (out.all) {
        out.lines.clear();
    } else {
        std::sort(out.lines.begin(), out.lines.end());
        out.lines.erase(std::unique(out.lines.begin(), out.lines.end()), out.lines.end());
    }
    return out;
}

TerminalCell TerminalScreen::cell(int row, int col) const {
    TerminalCell out = blank();
    if (row < 0 || row >= Rows || col < 0 || col >= Cols) return out;
    VTermScreenCell c;
    if (vterm_screen_get_cell(screen_, VTermPos{row, col}, &c))
        TerminalScreenHooks::convert(*this, c, out);
    return out;
}

QString TerminalScreen::rowText(int row) const {
    return lineText(scrollbackCount() + row);
}

void TerminalScreen::lineCells(int line, std::vector<TerminalCell>& out) const {
    out.resize(Cols);
    const int sb = scrollbackCount();
    if (line >= 0 && line < sb) {
        out = scrollback_[static_cast<std::size_t>(line)];
        return;
    }
    for (int c = 0; c < Cols; ++c)
        out[c] = cell(line - sb, c);
}

QString TerminalScreen::lineText(int line) const {
    std::vector<TerminalCell> cells;
    lineCells(line, cells);
    QString text;
    for (const TerminalCell& c : cells) {
        if (c.width == 0) continue; // right half of a wide character
        text += QString::fromUcs4(&c.ch, 1);
    }
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QByteArray TerminalScreen::keyBytes(int qtKey, Qt::KeyboardModifiers modifiers,
                                    const QString& text) {
    VTermModifier mod = VTERM_MOD_NONE;
    if (modifiers & Qt::ShiftModifier) mod = static_cast<VTermModifier>(mod | VTERM_MOD_SHIFT);
    if (modifiers & Qt::AltModifier) mod = static_cast<VTermModifier>(mod | VTERM_MOD_ALT);
    if (modifiers & Qt::ControlModifier) mod = static_cast<VTermModifier>(mod | VTERM_MOD_CTRL);

    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QByteArray(1, '\r');
    case Qt::Key_Backspace:
        return QByteArray(1, '\b');
    case Qt::Key_Tab:
        return QByteArray(1, '\t');
    case Qt::Key_Escape:
        return QByteArray(1, '\x1b');
    default:
        break;
    }

    VTermKey key = VTERM_KEY_NONE;
    switch (qtKey) {
    case Qt::Key_Up:
        key = VTERM_KEY_UP;
        break;
    case Qt::Key_Down:
        key = VTERM_KEY_DOWN;
        break;
    case Qt::Key_Left:
        key = VTERM_KEY_LEFT;
        break;
    case Qt::Key_Right:
        key = VTERM_KEY_RIGHT;
        break;
    case Qt::Key_Insert:
        key = VTERM_KEY_INS;
        break;
    case Qt::Key_Delete:
        key = VTERM_KEY_DEL;
        break;
    case Qt::Key_Home:
        key = VTERM_KEY_HOME;
        break;
    case Qt::Key_End:
        key = VTERM_KEY_END;
        break;
    case Qt::Key_PageUp:
        key = VTERM_KEY_PAGEUP;
        break;
    case Qt::Key_PageDown:
        key = VTERM_KEY_PAGEDOWN;
        break;
    default:
        if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
            key = static_cast<VTermKey>(VTERM_KEY_FUNCTION(1 + qtKey - Qt::Key_F1));
        break;
    }
    if (key != VTERM_KEY_NONE) {
        capturing_ = true;
        captured_.clear();
        vterm_keyboard_key(vt_, key, mod);
        capturing_ = false;
        return captured_;
    }

    if ((modifiers & Qt::ControlModifier) && qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return QByteArray(1, static_cast<char>(qtKey - Qt::Key_A + 1));
    if (text.isEmpty()) return QByteArray();
    const std::string bytes = toCp1250(text).bytes();
    QByteArray out(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if ((modifiers & Qt::AltModifier) && !out.isEmpty()) out.prepend('\x1b');
    return out;
}

} // namespace zx
