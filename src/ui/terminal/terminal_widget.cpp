#include "ui/terminal/terminal_widget.h"

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>

#include <cstdlib>

namespace zx {

namespace {
QColor color(TermRgb c) {
    return QColor::fromRgb(c);
}
// A scroll bar that draws itself again only when what it shows changes. The pane moves the
// range and value with every repaint of a stream, which mostly leaves the slider where it was
// to the pixel; while the pane holds the bar, its settings are only noted (a new range comes
// before the value that goes with it), and the look is compared when it lets go.
class SteadyScrollBar : public QScrollBar {
  public:
    explicit SteadyScrollBar(Qt::Orientation orientation) : QScrollBar(orientation) {}

    void hold() { ++held_; }
    void release() {
        if (--held_ > 0 || !noted_) return;
        noted_ = false;
        if (look() != drawn_) update();
    }

  protected:
    void sliderChange(SliderChange change) override {
        if (change == SliderOrientationChange) {
            QScrollBar::sliderChange(change);
        } else if (held_ > 0) {
            noted_ = true;
        } else if (look() != drawn_) {
            QScrollBar::sliderChange(change);
        }
    }
    void paintEvent(QPaintEvent* event) override {
        drawn_ = look();
        QScrollBar::paintEvent(event);
    }

  private:
    struct Look {
        QRect slider;
        bool atMinimum = false, atMaximum = false, empty = false;
        bool operator==(const Look&) const = default;
    };
    Look look() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider,
                                        this),
                value() == minimum(), value() == maximum(), minimum() == maximum()};
    }
    Look drawn_;
    int held_ = 0;
    bool noted_ = false;
};

// Both bars of the pane held while it sets them.
class BarsHeld {
  public:
    explicit BarsHeld(QAbstractScrollArea& area)
        : bars_{dynamic_cast<SteadyScrollBar*>(area.verticalScrollBar()),
                dynamic_cast<SteadyScrollBar*>(area.horizontalScrollBar())} {
        for (SteadyScrollBar* bar : bars_)
            if (bar) bar->hold();
    }
    ~BarsHeld() {
        for (SteadyScrollBar* bar : bars_)
            if (bar) bar->release();
    }
    BarsHeld(const BarsHeld&) = delete;
    BarsHeld& operator=(const BarsHeld&) = delete;

  private:
    std::array<SteadyScrollBar*, 2> bars_;
};

// Sets what changed only: a scroll bar draws itself again at every setting. A new range is
// not announced: the scroll area lays out its bars afresh at every announcement (drawing both
// again), and bars that are always on need no new layout.
void setSteps(QScrollBar* bar, int maximum, int page, int single) {
    if (bar->minimum() != 0 || bar->maximum() != maximum) {
        const QSignalBlocker quiet(bar);
        bar->setRange(0, maximum);
    }
    if (bar->pageStep() != page) bar->setPageStep(page);
    if (bar->singleStep() != single) bar->setSingleStep(single);
}
} // namespace

const QFont& TerminalPane::fontFor(const TerminalCell& c) {
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

TerminalPane::TerminalPane(QWidget* parent, Clock clock)
    : QAbstractScrollArea(parent), clock_(std::move(clock)) {
    setObjectName(QStringLiteral("ComTerminal1"));
    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical));
    setHorizontalScrollBar(new SteadyScrollBar(Qt::Horizontal));
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
    if (!clock_) {
        QElapsedTimer started;
        started.start();
        clock_ = [started] { return static_cast<std::int64_t>(started.elapsed()); };
    }
    connect(&repaint_, &QTimer::timeout, this, &TerminalPane::flush);
    connect(&screen_, &TerminalScreen::changed, this, &TerminalPane::scheduleRepaint);
    screen_.onReply = [this](const QByteArray& b) { send(b); };
    // The operator scrolled: keep following only while the view is on the screen's rows with
    // the cursor in it.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int first) {
        if (adjusting_) return;
        const int line = cursorLine();
        following_ = first >= liveFirst() && line >= first && line < first + visibleRows();
    });
    updateScrollBars();
}

int TerminalPane::visibleRows() const {
    return std::max(1, viewport()->height() / ch_);
}

int TerminalPane::firstShownLine() const {
    return verticalScrollBar()->value();
}

int TerminalPane::cursorLine() const {
    return screen_.scrollbackCount() + screen_.cursor().y();
}

int TerminalPane::liveFirst() const {
    return screen_.scrollbackCount();
}

int TerminalPane::liveLast() const {
    return screen_.scrollbackCount() + std::max(0, TerminalScreen::Rows - visibleRows());
}

QSize TerminalPane::sizeHint() const {
    const int f = 2 * frameWidth();
    return QSize(TerminalScreen::Cols * cw_ + f + verticalScrollBar()->sizeHint().width(),
                 TerminalScreen::Rows * ch_ + f + horizontalScrollBar()->sizeHint().height());
}

void TerminalPane::receive(const char* data, int count) {
    screen_.feed(data, count);
}

void TerminalPane::send(const QByteArray& bytes) {
    if (bytes.isEmpty() || !sink || (canSend && !canSend())) return;
    sink(bytes);
}

void TerminalPane::keyPressEvent(QKeyEvent* event) {
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

void TerminalPane::scheduleRepaint() {
    // A pane nobody sees draws nothing; it is drawn whole when it is shown.
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    if (repaint_.isActive()) return;
    repaint_.setInterval(pacer_.delayFor(clock_()));
    repaint_.start();
}

void TerminalPane::repaintPending() {
    repaint_.stop();
    flush();
}

void TerminalPane::flush() {
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    const std::uint64_t top = drawnTop_;
    updateScrollBars();
    followView();
    pacer_.drawn(clock_(), drawnTop_ > top);
    const TerminalScreen::ChangedLines changed = screen_.takeChangedLines();
    if (changed.all || stale_) {
        stale_ = false;
        viewport()->update();
    } else {
        for (const std::uint64_t run : changed.lines)
            updateRunLine(run);
    }
    // The cursor is drawn over its cell: its old row and its new one.
    const std::uint64_t cursorRun =
        screen_.firstLineNumber() + static_cast<std::uint64_t>(cursorLine());
    const int column = screen_.cursor().x();
    const bool shown = screen_.cursorVisible();
    if (cursorRun != drawnCursorLine_ || column != drawnCursorColumn_ ||
        shown != drawnCursorShown_ || hasFocus() != drawnFocus_) {
        updateRunLine(drawnCursorLine_);
        updateRunLine(cursorRun);
        drawnCursorLine_ = cursorRun;
        drawnCursorColumn_ = column;
        drawnCursorShown_ = shown;
        drawnFocus_ = hasFocus();
    }
}

void TerminalPane::followView() {
    const std::uint64_t top =
        screen_.firstLineNumber() + static_cast<std::uint64_t>(verticalScrollBar()->value());
    const int x = horizontalScrollBar()->value();
    if (top == drawnTop_ && x == drawnX_) return;
    const long long down = static_cast<long long>(top) - static_cast<long long>(drawnTop_);
    const int right = x - drawnX_;
    drawnTop_ = top;
    drawnX_ = x;
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    if (std::llabs(down) <= visibleRows() && std::abs(right) < viewport()->width())
        viewport()->scroll(-right, static_cast<int>(-down) * ch_);
    else
        viewport()->update();
}

void TerminalPane::updateRunLine(std::uint64_t run) {
    const long long row = static_cast<long long>(run) - static_cast<long long>(drawnTop_);
    if (row < 0 || row > visibleRows()) return;
    viewport()->update(0, static_cast<int>(row) * ch_, viewport()->width(), ch_);
}

void TerminalPane::scrollContentsBy(int, int) {
    followView();
}

void TerminalPane::updateScrollBars() {
    const QScopedValueRollback<bool> own(adjusting_, true);
    const BarsHeld held(*this);
    setSteps(verticalScrollBar(), liveLast(), visibleRows(), 1);
    setSteps(horizontalScrollBar(), std::max(0, TerminalScreen::Cols * cw_ - viewport()->width()),
             std::max(1, viewport()->width()), cw_);

    if (following_) bringCursorIntoView();
}

void TerminalPane::bringCursorIntoView() {
    const QScopedValueRollback<bool> own(adjusting_, true);
    const BarsHeld held(*this);
    QScrollBar* v = verticalScrollBar();
    const int line = cursorLine();
    const int rows = visibleRows();
    int first = std::clamp(v->value(), liveFirst(), liveLast());
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

void TerminalPane::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TerminalPane::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    updateScrollBars();
    followView();
    // Drawn whole: what changed while the pane was not shown is not worth sorting out.
    screen_.takeChangedLines();
    stale_ = false;
    viewport()->update();
}

void TerminalPane::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    updateRunLine(drawnCursorLine_);
    drawnFocus_ = true;
}

void TerminalPane::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    updateRunLine(drawnCursorLine_);
    drawnFocus_ = false;
}

const QRawFont& TerminalPane::rawFontFor(const TerminalCell& c) {
    const int style = (c.bold ? 1 : 0) | (c.italic ? 2 : 0);
    const auto k = static_cast<std::size_t>(style);
    if (!rawReady_[k]) {
        rawReady_[k] = true;
        QFont f = font_;
        f.setBold(c.bold);
        f.setItalic(c.italic);
        const QRawFont raw = QRawFont::fromFont(f);
        // A style the system has no face for is made up by the text layout (emboldened,
        // slanted); such runs are left to it.
        const bool faceFits = raw.isValid() && (!c.bold || raw.weight() >= QFont::DemiBold) &&
                              (!c.italic || raw.style() != QFont::StyleNormal);
        rawFonts_[k] = faceFits ? raw : QRawFont();
    }
    return rawFonts_[k];
}

void TerminalPane::drawRun(QPainter& p, const TerminalCell& head, int x, int baseline) {
    const int n = static_cast<int>(run_.size());
    const QRawFont& raw = rawFontFor(head);
    bool asGlyphs = raw.isValid();
    if (asGlyphs) {
        glyphs_.resize(n);
        int made = n;
        asGlyphs = raw.glyphIndexesForChars(run_.constData(), n, glyphs_.data(), &made) &&
                   made == n && !glyphs_.contains(0u);
    }
    if (asGlyphs) {
        positions_.resize(n);
        for (int i = 0; i < n; ++i)
            positions_[i] = QPointF(runColumns_[static_cast<std::size_t>(i)] * cw_, 0);
        QGlyphRun glyphs;
        glyphs.setRawFont(raw);
        glyphs.setGlyphIndexes(glyphs_);
        glyphs.setPositions(positions_);
        glyphs.setUnderline(head.underline);
        glyphs.setStrikeOut(head.strike);
        p.drawGlyphRun(QPointF(x, baseline), glyphs);
        return;
    }
    // A character the font lacks comes from a fallback font through the text layout; each
    // character still goes into its own cell.
    p.setFont(fontFor(head));
    for (int i = 0; i < n;) {
        const int length = run_[i].isHighSurrogate() && i + 1 < n ? 2 : 1;
        p.drawText(x + runColumns_[static_cast<std::size_t>(i)] * cw_, baseline,
                   run_.mid(i, length));
        i += length;
    }
}

void TerminalPane::paintEvent(QPaintEvent* event) {
    ++paints_;
    QPainter p(viewport());
    const QColor background = color(TerminalScreen::DefaultBg);
    // Drawn as the pixels already there were: from the line and offset they show.
    const int x0 = -drawnX_;
    const long long first =
        static_cast<long long>(drawnTop_) - static_cast<long long>(screen_.firstLineNumber());
    const int rowsShown = viewport()->height() / ch_ + 1;
    rowsToPaint_.assign(static_cast<std::size_t>(rowsShown), false);
    for (const QRect& rect : event->region()) {
        p.fillRect(rect, background);
        const int top = std::max(0, rect.top() / ch_);
        const int bottom = std::min(rowsShown - 1, rect.bottom() / ch_);
        for (int r = top; r <= bottom; ++r)
            rowsToPaint_[static_cast<std::size_t>(r)] = true;
    }
    const int screenTop = screen_.scrollbackCount();

    for (int r = 0; r < rowsShown; ++r) {
        const long long line = first + r;
        if (!rowsToPaint_[static_cast<std::size_t>(r)] || line < 0) continue;
        if (line >= screen_.lineCount()) break;
        ++rowsPainted_;
        screen_.lineCells(static_cast<int>(line), line_);
        const int y = r * ch_;
        int c = 0;
        while (c < TerminalScreen::Cols) {
            const TerminalCell& head = line_[c];
            int end = c + 1;
            while (end < TerminalScreen::Cols && line_[end].sameLook(head))
                ++end;
            run_.clear();
            runColumns_.clear();
            for (int i = c; i < end; ++i) {
                const char32_t u = line_[i].ch;
                if (line_[i].width == 0) continue;
                if (u < 0x10000) {
                    run_.append(QChar(static_cast<char16_t>(u)));
                } else {
                    run_.append(QString::fromUcs4(&u, 1));
                    runColumns_.push_back(i - c);
                }
                runColumns_.push_back(i - c);
            }
            const QColor fg = color(head.reverse ? head.bg : head.fg);
            const QColor bg = color(head.reverse ? head.fg : head.bg);
            const QRect box(x0 + c * cw_, y, (end - c) * cw_, ch_);
            if (bg != background) p.fillRect(box, bg);
            // Blanks at a run's end draw nothing (unless a line goes through them).
            if (!head.underline && !head.strike)
                while (!run_.isEmpty() && run_.back() == QLatin1Char(' ')) {
                    run_.chop(1);
                    runColumns_.pop_back();
                }
            if (!run_.isEmpty()) {
                p.setPen(fg);
                drawRun(p, head, box.x(), y + ascent_);
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
