#include "ui/views/lines_view.h"

#include "files/cp1250.h"
#include "model/codecs.h"
#include "model/editor_store.h"
#include "ui/config_document.h"
#include "ui/print/printer_page.h"
#include "ui/views/radio_group.h"
#include "ui/views/view_helpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zx {

namespace {

struct Column {
    const char* heading;
    int width; // the least width, the gap after the column included
};
// Every row and the heading share the widths of the columns, so the columns line up whatever
// is hidden; a column is as wide as its widest control shown for the model (layoutFor).
const Column Columns[] = {
    {"Port", 38},     {"CO szám", 70}, {"Tárcsázás", 90}, {"Vonalfogás", 90},
    {"Időzítők", 80}, {"Alvonal", 62}, {"Behívás", 62},
};
constexpr int ColumnCount = sizeof(Columns) / sizeof(Columns[0]);
constexpr int ColumnGap = 10;

void fixColumns(QGridLayout* grid) {
    // A column whose controls are all hidden gets no spacing, so the gaps live in the widths.
    grid->setHorizontalSpacing(0);
    for (int c = 0; c < ColumnCount; ++c)
        grid->setColumnMinimumWidth(c, Columns[c].width);
    grid->setColumnStretch(ColumnCount, 1);
}

// The rows scroll under their heading, which stays on top and moves sideways with them.
class HeadedScrollArea : public QScrollArea {
  public:
    HeadedScrollArea(QWidget* heading, QWidget* parent)
        : QScrollArea(parent), clip_(new QWidget(this)), heading_(heading) {
        heading_->setParent(clip_);
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeHeading(); });
    }
    void setRows(QWidget* rows) {
        setWidget(rows);
        rows->installEventFilter(this);
        placeHeading();
    }
    void placeHeading() {
        const int h = heading_->sizeHint().height();
        if (viewportMargins().top() != h) setViewportMargins(0, h, 0, 0);
        const QRect v = viewport()->geometry();
        clip_->setGeometry(v.x(), v.y() - h, v.width(), h);
        const int w = widget() ? std::max(widget()->width(), v.width()) : v.width();
        heading_->setGeometry(-horizontalScrollBar()->value(), 0, w, h);
    }
    // The height the rows are to have room for, whatever the scroll area would ask for them.
    void setRowsRoom(int height) {
        if (rowsRoom_ == height) return;
        rowsRoom_ = height;
        updateGeometry();
    }
    // Room for every column of the heading and the rows under it.
    QSize sizeHint() const override {
        const QSize rows = QScrollArea::sizeHint();
        const int frame = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
        return {std::max(rows.width(), heading_->sizeHint().width() + frame),
                std::max(rows.height(), rowsRoom_ + 2 * frameWidth()) +
                    heading_->sizeHint().height()};
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        placeHeading();
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget() && event->type() == QEvent::Resize) placeHeading();
        return QScrollArea::eventFilter(watched, event);
    }

  private:
    QWidget* clip_;
    QWidget* heading_;
    int rowsRoom_ = 0;
};

RadioGroup* rowGroup(QWidget* parent, const QString& name, const QStringList& items) {
    auto* group = new RadioGroup(QString(), parent);
    group->setObjectName(name);
    group->setFlat(true);
    group->setItems(items);
    group->setColumns(static_cast<int>(items.size()));
    return group;
}

} // namespace

LinesView::LinesView(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : ConfigView(document, interaction, parent) {
    setObjectName(QStringLiteral("TabSheet2"));
    QWidget* sheet = this;
    auto* column = new QVBoxLayout(this);

    auto* heading = new QWidget;
    heading->setObjectName(QStringLiteral("pnlCOHead"));
    repeatOnEverySheet(*heading);
    auto* headingGrid = new QGridLayout(heading);
    headingGrid->setContentsMargins(4, 0, 4, 2);
    fixColumns(headingGrid);
    grids_.push_back(headingGrid);
    for (int c = 0; c < ColumnCount; ++c) {
        headings_[static_cast<std::size_t>(c)] =
            new QLabel(QString::fromUtf8(Columns[c].heading), heading);
        headingGrid->addWidget(headings_[static_cast<std::size_t>(c)], 0, c);
    }

    auto* scroll = new HeadedScrollArea(heading, sheet);
    scroll->setObjectName(QStringLiteral("sbLines"));
    scroll->setWidgetResizable(true);
    scroll_ = scroll;
    rows_ = new QWidget;
    rowColumn_ = new QVBoxLayout(rows_);
    rowColumn_->setContentsMargins(0, 0, 0, 0);
    rowColumn_->setSpacing(0);
    rowColumn_->addStretch(1);
    scroll->setRows(rows_);
    column->addWidget(scroll, 1);
    // The rows every model shows; the others when a model shows them.
    buildRows(MemoryMap::of(DeviceModel::Line4).lineCount());
    connect(&document_, &ConfigDocument::imageChanged, this, &LinesView::showStoredCoNumbers);
}

void LinesView::buildRows(int count) {
    const int from = built_;
    if (count <= from) return;
    QFont bold = font();
    bold.setBold(true);
    for (int i = from; i < count; ++i) {
        const QString nn = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        LineRow& row = lines[static_cast<std::size_t>(i)];
        row.panel = new QWidget(rows_);
        row.panel->setObjectName(QStringLiteral("pnlCO") + nn);
        auto* grid = new QGridLayout(row.panel);
        grid->setContentsMargins(4, 0, 4, 0);
        fixColumns(grid);
        grids_.push_back(grid);
        row.port = new QLabel(nn, row.panel);
        row.port->setObjectName(QStringLiteral("lblPort") + nn);
        row.port->setFont(bold);
        row.co = new QLineEdit(row.panel);
        row.co->setObjectName(QStringLiteral("MEco") + nn);
        row.co->setFixedWidth(Columns[1].width - 8);
        row.dial = rowGroup(row.panel, QStringLiteral("RGdial") + nn,
                            toStringList(dialItems(DeviceModel::Line16, i + 1)));
        row.seizure =
            rowGroup(row.panel, QStringLiteral("RGline") + nn, toStringList(seizureItems()));
        row.timer =
            rowGroup(row.panel, QStringLiteral("RGtime") + nn, toStringList(timerSetItems()));
        row.subLine = new QCheckBox(row.panel);
        row.subLine->setObjectName(QStringLiteral("CBalv") + nn);
        row.callIn = new QCheckBox(row.panel);
        row.callIn->setObjectName(QStringLiteral("CBbeh") + nn);
        QWidget* cells[] = {row.port,  row.co,      row.dial,  row.seizure,
                            row.timer, row.subLine, row.callIn};
        for (int c = 0; c < ColumnCount; ++c)
            grid->addWidget(cells[c], 0, c, Qt::AlignLeft | Qt::AlignVCenter);
        rowColumn_->insertWidget(i, row.panel);
        watchRow(i);
    }
    built_ = count;
    if (from > 0) chainAfterRow(from - 1, from);
}

void LinesView::buildAllRows() {
    if (built_ == LineCount) return;
    buildRows(LineCount);
    if (laidOut_) showRowsFor(*laidOut_);
}

void LinesView::chainAfterRow(int previous, int first) {
    // Widgets made now join the window's Tab order at its end; the new rows belong right after
    // the row above them. They stand together at the end of the order, as they were made. (The
    // order is only kept between widgets that take the focus.)
    std::vector<QWidget*> made;
    for (QWidget* w = lines[static_cast<std::size_t>(first)].panel; w && rows_->isAncestorOf(w);
         w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus) made.push_back(w);
    QWidget* before = lines[static_cast<std::size_t>(previous)].callIn;
    for (QWidget* w : made) {
        setTabOrder(before, w);
        before = w;
    }
}

void LinesView::watchRow(int i) {
    const int line = i + 1;
    LineRow& row = lines[static_cast<std::size_t>(i)];
    storeOnLeave(row.co, [this, line, edit = row.co] {
        const auto m = shownModel();
        return !m ||
               store(storeCoNumber(document_.image(), *m, line, toCp1250(edit->text())), edit);
    });
    // A group's buttons are made anew with its items, so a group tells of leaving itself.
    const std::pair<RadioGroup*, LineControl> groups[] = {
        {row.dial, LineControl::Dial},
        {row.seizure, LineControl::Seizure},
        {row.timer, LineControl::TimerSet},
    };
    for (const auto& [group, kind] : groups)
        storeOnLeave(group, [this, line, kind = kind, group = group] {
            return storeLine({kind, line}, group);
        });
    const std::pair<QCheckBox*, LineControl> boxes[] = {
        {row.subLine, LineControl::SubLine},
        {row.callIn, LineControl::CallIn},
    };
    for (const auto& [box, kind] : boxes)
        storeOnLeave(box, [this, line, kind = kind, box = box] {
            return storeLine({kind, line}, box);
        });
}

bool LinesView::storeLine(LineControlId left, QWidget* control) {
    const auto m = shownModel();
    if (!m) return true;
    std::vector<LineRowView> rows;
    for (const LineRow& row : builtRows()) {
        const auto item = [](const RadioGroup* g) {
            const int i = g->itemIndex();
            return i >= 0 ? std::optional<int>(i) : std::nullopt;
        };
        rows.push_back({RawText(), item(row.dial), item(row.seizure), item(row.timer),
                        row.subLine->isChecked(), row.callIn->isChecked()});
    }
    return store(storeLineSettings(document_.image(), *m, left, rows), control);
}

void LinesView::showStoredCoNumbers() {
    const auto m = shownModel();
    if (!m) return;
    const MemoryMap& map = MemoryMap::of(*m);
    const ConfigImage& image = document_.image();
    const int width = coNumberWidth(image.at(*map.offset(Field::CoWidth)));
    const int shown = std::min(map.lineCount(), built_);
    for (int n = 1; n <= shown; ++n) {
        QLineEdit* edit = lines[static_cast<std::size_t>(n - 1)].co;
        const QString stored =
            fromCp1250(RawText(readCoNumber(image, *map.offset(Field::CoNumbers), width, n)));
        if (!edit->hasFocus() && edit->text() != stored) edit->setText(stored);
    }
}

void LinesView::layoutFor(DeviceModel model) {
    ConfigView::layoutFor(model);
    laidOut_ = model;
    // Line 1's dial list differs per model; replacing it leaves no item selected.
    lines[0].dial->setItems(toStringList(dialItems(model, 1)));
    lines[0].dial->setColumns(static_cast<int>(lines[0].dial->items().size()));
    buildRows(MemoryMap::of(model).lineCount());
    showRowsFor(model);
}

void LinesView::showRowsFor(DeviceModel model) {
    const bool sixteen = model == DeviceModel::Line16;
    const int shown = MemoryMap::of(model).lineCount();
    for (int i = 0; i < built_; ++i) {
        LineRow& row = lines[static_cast<std::size_t>(i)];
        row.panel->setVisible(i < shown);
        // The 4-line unit has one dial and one seizure setting for all its lines (row 01).
        row.dial->setVisible(i == 0 || sixteen);
        row.seizure->setVisible(i == 0 || sixteen);
        row.timer->setVisible(sixteen);
    }
    fitColumns(shown);
}

void LinesView::fitColumns(int shownRows) {
    // The heading of a column with nothing shown under it goes too (the timer sets of the
    // 4-line unit).
    std::array<int, ColumnCount> widths{};
    std::array<bool, ColumnCount> used{};
    for (int i = 0; i < shownRows; ++i) {
        const LineRow& row = lines[static_cast<std::size_t>(i)];
        const QWidget* cells[] = {row.port,  row.co,      row.dial,  row.seizure,
                                  row.timer, row.subLine, row.callIn};
        for (int c = 0; c < ColumnCount; ++c) {
            const QWidget* cell = cells[c];
            if (cell->isHidden()) continue;
            used[static_cast<std::size_t>(c)] = true;
            // The width the row's layout gives the control (a fixed width wins over the hint).
            const int width =
                std::clamp(cell->sizeHint().width(), cell->minimumWidth(), cell->maximumWidth());
            widths[static_cast<std::size_t>(c)] =
                std::max(widths[static_cast<std::size_t>(c)], width);
        }
    }
    for (int c = 0; c < ColumnCount; ++c) {
        const auto k = static_cast<std::size_t>(c);
        headings_[k]->setVisible(used[k]);
        const int width = used[k] ? std::max({Columns[c].width, widths[k] + ColumnGap,
                                              headings_[k]->sizeHint().width() + ColumnGap})
                                  : 0;
        for (QGridLayout* grid : grids_)
            grid->setColumnMinimumWidth(c, width);
    }
    auto* scroll = static_cast<HeadedScrollArea*>(scroll_);
    scroll->placeHeading();
    // The view asks for room for all the lines a unit can have, each as tall as line 01 with its
    // choices, so that the 16 lines show without scrolling in the window fitted at start, in
    // either model.
    scroll->setRowsRoom(lines[0].panel->sizeHint().height() * LineCount);
}

void LinesView::refill(const EditorView& v) {
    ConfigView::refill(v);
    for (std::size_t i = 0; i < v.lines.size() && i < builtRows().size(); ++i) {
        const LineRowView& shown = v.lines[i];
        LineRow& row = lines[i];
        row.co->setText(fromCp1250(shown.coNumber));
        if (shown.dialItem) row.dial->setItemIndex(*shown.dialItem);
        if (shown.seizureItem) row.seizure->setItemIndex(*shown.seizureItem);
        if (shown.timerItem) row.timer->setItemIndex(*shown.timerItem);
        row.subLine->setChecked(shown.subLine);
        row.callIn->setChecked(shown.callIn);
    }
}

} // namespace zx
