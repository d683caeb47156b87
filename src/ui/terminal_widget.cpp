#include "ui/terminal_widget.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace zx {

namespace {
QColor color(TermRgb c) {
    return QColor::fromRgb(c);
}
bool isBlank(const QString& s) {
    for (const QChar c : s)
        if (c != QLatin1Char(' ')) return false;
    return true;
}
} // namespace

const QFont& TComTerminal::fontFor(const TerminalCell& c) {
    const int style =
        (c.bold ? 1 : 0) | (c.underline ? 2 : 0) | (c.italic ? 4 : 0) | (c.strike ? 8 : 0);
    if (!fontReady_[style]) {
        QFont f = font_;
        f.setBold(c.bold);
        f.setUnderline(c.underline);
        f.setItalic(c.italic);
        f.setStrikeOut(c.strike);
        fonts_[style] = f;
        fontReady_[style] = true;
    }
    return fonts_[style];
}

TComTerminal::TComTerminal(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("ComTerminal1"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);

    font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font_.setStyleHint(QFont::Monospace, QFont::PreferDefault);
    font_.setFixedPitch(true);
    font_.setPointSize(10);
    const QFontMetrics fm(font_);
    cw_ = std::max(1, fm.horizontalAdvance(QLatin1Char('M')));
    ch_ = std::max(1, fm.height());
    ascent_ = fm.ascent();

    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, color(TerminalScreen::DefaultBg));
    pal.setColor(QPalette::Window, color(TerminalScreen::DefaultBg));
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

    repaint_.setSingleShot(true);
    repaint_.setInterval(RepaintIntervalMs);
    connect(&repaint_, &QTimer::timeout, this, &TComTerminal::flush);
    connect(&screen_, &TerminalScreen::changed, this, &TComTerminal::scheduleRepaint);
    screen_.onReply = [this](const QByteArray& b) { send(b); };
    // The operator scrolled: keep following only when the cursor is still in view.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int first) {
        if (adjusting_) return;
        const int line = cursorLine();
        following_ = line >= first && line < first + visibleRows();
    });
    updateScrollBars();
}

int TComTerminal::visibleRows() const {
    return std::max(1, viewport()->height() / ch_);
}

int TComTerminal::firstShownLine() const {
    return verticalScrollBar()->value();
}

int TComTerminal::cursorLine() const {
    return screen_.scrollbackCount() + screen_.cursor().y();
}

QSize TComTerminal::sizeHint() const {
    const int f = 2 * frameWidth();
    return QSize(TerminalScreen::Cols * cw_ + f + verticalScrollBar()->sizeHint().width(),
                 TerminalScreen::Rows * ch_ + f + horizontalScrollBar()->sizeHint().height());
}

void TComTerminal::receive(const char* data, int count) {
    screen_.feed(data, count);
}

void TComTerminal::send(const QByteArray& bytes) {
    if (bytes.isEmpty() || !sink || (canSend && !canSend())) return;
    sink(bytes);
}

void TComTerminal::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers();
    // Shift+PageUp/PageDown look back through what scrolled away, as terminals do.
    if ((mods & Qt::ShiftModifier) &&
        (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)) {
        QScrollBar* v = verticalScrollBar();
        v->setValue(v->value() + (event->key() == Qt::Key_PageUp ? -1 : 1) * v->pageStep());
        return;
    }
    const QString text = event->text();
    QByteArray bytes = screen_.keyBytes(event->key(), mods, text);
    if (bytes.isEmpty()) {
        event->ignore();
        return;
    }
    event->accept();
    // Text of several characters (a composed or repeated key) goes one character per write.
    const bool plainText = text.size() > 1 && !(mods & (Qt::ControlModifier | Qt::AltModifier));
    if (plainText) {
        for (const QChar c : text)
            send(screen_.keyBytes(0, Qt::NoModifier, QString(c)));
    } else {
        send(bytes);
    }
    // Typing brings the view back to the cursor.
    following_ = true;
    bringCursorIntoView();
}

void TComTerminal::scheduleRepaint() {
    if (!repaint_.isActive()) repaint_.start();
}

void TComTerminal::flush() {
    updateScrollBars();
    viewport()->update();
}

void TComTerminal::updateScrollBars() {
    const QScopedValueRollback<bool> own(adjusting_, true);
    QScrollBar* v = verticalScrollBar();
    const int rows = visibleRows();
    v->setRange(0, std::max(0, screen_.lineCount() - rows));
    v->setPageStep(rows);
    v->setSingleStep(1);

    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, TerminalScreen::Cols * cw_ - viewport()->width()));
    h->setPageStep(std::max(1, viewport()->width()));
    h->setSingleStep(cw_);

    if (following_) bringCursorIntoView();
}

void TComTerminal::bringCursorIntoView() {
    const QScopedValueRollback<bool> own(adjusting_, true);
    QScrollBar* v = verticalScrollBar();
    const int line = cursorLine();
    const int rows = visibleRows();
    int first = v->value();
    if (line < first) first = line;
    if (line >= first + rows) first = line - rows + 1;
    v->setValue(first);

    QScrollBar* h = horizontalScrollBar();
    const int left = screen_.cursor().x() * cw_;
    const int width = std::max(cw_, viewport()->width());
    int x = h->value();
    if (left < x) x = left;
    if (left + cw_ > x + width) x = left + cw_ - width;
    h->setValue(x);
}

void TComTerminal::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // A new size shows the cursor with as many of the lines above it as now fit.
    if (following_) {
        const QScopedValueRollback<bool> own(adjusting_, true);
        verticalScrollBar()->setValue(0);
    }
    updateScrollBars();
}

void TComTerminal::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TComTerminal::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TComTerminal::paintEvent(QPaintEvent*) {
    ++paints_;
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), color(TerminalScreen::DefaultBg));
    const int x0 = -horizontalScrollBar()->value();
    const int first = verticalScrollBar()->value();
    const int visibleRows = viewport()->height() / ch_ + 1;
    const int screenTop = screen_.scrollbackCount();
    const QColor background = color(TerminalScreen::DefaultBg);

    for (int r = 0; r < visibleRows; ++r) {
        const int line = first + r;
        if (line >= screen_.lineCount()) break;
        screen_.lineCells(line, line_);
        const int y = r * ch_;
        int c = 0;
        while (c < TerminalScreen::Cols) {
            const TerminalCell& head = line_[c];
            int end = c + 1;
            while (end < TerminalScreen::Cols && line_[end].sameLook(head))
                ++end;
            run_.clear();
            for (int i = c; i < end; ++i) {
                const char32_t u = line_[i].ch;
                if (line_[i].width == 0) continue;
                if (u < 0x10000)
                    run_.append(QChar(static_cast<char16_t>(u)));
                else
                    run_.append(QString::fromUcs4(&u, 1));
            }
            const QColor fg = color(head.reverse ? head.bg : head.fg);
            const QColor bg = color(head.reverse ? head.fg : head.bg);
            const QRect box(x0 + c * cw_, y, (end - c) * cw_, ch_);
            if (bg != background) p.fillRect(box, bg);
            if (!isBlank(run_)) {
                p.setFont(fontFor(head));
                p.setPen(fg);
                p.drawText(box.x(), y + ascent_, run_);
            }
            c = end;
        }
        if (line - screenTop == screen_.cursor().y() && screen_.cursorVisible()) {
            const QRect cur(x0 + screen_.cursor().x() * cw_, y, cw_, ch_);
            if (hasFocus()) {
                p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                p.fillRect(cur, Qt::white);
                p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            } else {
                p.setPen(color(TerminalScreen::DefaultFg));
                p.drawRect(cur.adjusted(0, 0, -1, -1));
            }
        }
    }
}

} // namespace zx
