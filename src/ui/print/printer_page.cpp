#include "ui/print/printer_page.h"

#include "model/picture_slices.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace zx {

namespace {

// The rows each control of the page takes, for cuts between sheets.
std::vector<RowSpan> controlRows(const QWidget& page) {
    std::vector<RowSpan> rows;
    for (const QWidget* child : page.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&page)) continue;
        const int top = child->mapTo(&page, QPoint(0, 0)).y();
        rows.push_back({top, top + child->height()});
    }
    return rows;
}

// The page's layouts give its controls the room they have now, not when the event loop next
// runs: outer layouts first.
void activateLayouts(QWidget& page) {
    if (page.layout()) page.layout()->activate();
    for (QWidget* child : page.findChildren<QWidget*>())
        if (child->layout()) child->layout()->activate();
}

// The rows the page's column headings take, when it has headings to repeat on every sheet.
std::optional<RowSpan> repeatedHeadingRows(const QWidget& page) {
    for (const QWidget* child : page.findChildren<QWidget*>()) {
        if (!child->property(RepeatedHeadingProperty).toBool() || !child->isVisibleTo(&page))
            continue;
        const int top = child->mapTo(&page, QPoint(0, 0)).y();
        return RowSpan{top, top + child->height()};
    }
    return std::nullopt;
}

} // namespace

void repeatOnEverySheet(QWidget& heading) {
    heading.setProperty(RepeatedHeadingProperty, true);
}

PageOnPaper::PageOnPaper(QWidget& page) : page_(page), size_(page.size()) {
    for (QAbstractScrollArea* area : page.findChildren<QAbstractScrollArea*>()) {
        if (!area->isVisibleTo(&page)) continue;
        scrolled_.push_back({area, area->horizontalScrollBar()->value(),
                             area->verticalScrollBar()->value(), area->horizontalScrollBarPolicy(),
                             area->verticalScrollBarPolicy(), area->minimumSize()});
        // Room for everything the area holds: a list as tall as all its rows (64 barred areas),
        // the rows of a scrolled panel (16 lines) whole; paper gets no scroll bar.
        QSize needed = area->size();
        if (auto* view = qobject_cast<QAbstractItemView*>(area)) {
            const int rows = view->model() ? view->model()->rowCount(view->rootIndex()) : 0;
            if (rows > 0) needed.setHeight(view->sizeHintForRow(0) * rows + 2 * view->frameWidth());
        } else if (auto* scroll = qobject_cast<QScrollArea*>(area); scroll && scroll->widget()) {
            const QSize frame = area->size() - area->viewport()->size();
            needed = scroll->widget()->sizeHint() + frame;
            if (area->verticalScrollBar()->isVisibleTo(area))
                needed.rwidth() -= area->verticalScrollBar()->width();
            if (area->horizontalScrollBar()->isVisibleTo(area))
                needed.rheight() -= area->horizontalScrollBar()->height();
        }
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setMinimumSize(area->minimumSize().expandedTo(needed));
    }
    const QSize full = size_.expandedTo(page.sizeHint());
    if (full != size_) page.resize(full);
    activateLayouts(page);
}

PageOnPaper::~PageOnPaper() {
    for (const Scrolled& s : scrolled_) {
        s.area->setMinimumSize(s.minimum);
        s.area->setHorizontalScrollBarPolicy(s.horizontalPolicy);
        s.area->setVerticalScrollBarPolicy(s.verticalPolicy);
    }
    if (page_.size() != size_) page_.resize(size_);
    activateLayouts(page_);
    // Where the operator had scrolled the lists to.
    for (const Scrolled& s : scrolled_) {
        s.area->horizontalScrollBar()->setValue(s.x);
        s.area->verticalScrollBar()->setValue(s.y);
    }
}

QString PageHeading::text() const {
    const QString gap = QStringLiteral("   ");
    return page + gap + QString::fromUtf8("Fájl: ") +
           (fileName.isEmpty() ? QString::fromUtf8("Új") : fileName) + gap +
           QString::fromUtf8("Telepítési hely: ") + site + gap + dateTime;
}

bool printWindowPage(QPagedPaintDevice& device, QWidget& page, const PageHeading& heading) {
    const PageOnPaper full(page);
    const QRect area = reportArea(device);

    QPainter painter;
    if (!painter.begin(&device)) return false;
    QFont font = page.font();
    font.setPointSizeF(9);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold, &device);
    const int line = metrics.height();
    // The heading (on more lines where the paper is narrow), the sheet's number, a rule and a
    // gap above the window's page.
    const QString headingText = heading.text();
    const QRect headingRect(
        area.left(), area.top(), area.width(),
        metrics
            .boundingRect(QRect(0, 0, area.width(), area.height()), Qt::TextWordWrap, headingText)
            .height());
    const int numberTop = headingRect.bottom() + 1;
    const int rule = numberTop + line + line / 3;
    const int top = numberTop + 2 * line;
    const int room = std::max(area.bottom() + 1 - top, 1);

    // The same physical size as on the screen, smaller where the paper is narrower.
    double scale = double(device.logicalDpiX()) / std::max(page.logicalDpiX(), 1);
    if (page.width() * scale > area.width()) scale = double(area.width()) / page.width();
    const int sliceHeight = std::max(1, static_cast<int>(std::floor(room / scale)));
    // Column headings that the first sheet shows go at the top of every further sheet too.
    // Headings below the first sheet's cut, or taking half a sheet, are not repeated.
    std::optional<RowSpan> columnHeading = repeatedHeadingRows(page);
    if (columnHeading && (columnHeading->bottom > sliceHeight ||
                          2 * (columnHeading->bottom - columnHeading->top) > sliceHeight))
        columnHeading.reset();
    const int headingHeight = columnHeading ? columnHeading->bottom - columnHeading->top : 0;
    const std::vector<RowSpan> slices =
        pictureSlices(page.height(), sliceHeight, sliceHeight - headingHeight, controlRows(page));

    for (std::size_t n = 0; n < slices.size(); ++n) {
        if (n > 0 && !device.newPage()) return false;
        painter.setFont(bold);
        painter.drawText(headingRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, headingText);
        painter.setFont(font);
        painter.drawText(QRect(area.left(), numberTop, area.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Oldal: %1").arg(n + 1));
        painter.drawLine(area.left(), rule, area.right(), rule);

        // The slice's own drawing recorded as drawing commands: drawn into a picture, the
        // widgets' text and lines stay text and lines on any device (a printer would get a
        // bitmap of them). Only the controls within the slice draw, so no text of another
        // sheet lies hidden under this one's clip.
        const RowSpan& slice = slices[n];
        const QRect source(0, slice.top, page.width(), slice.bottom - slice.top);
        const bool headed = n > 0 && columnHeading;
        const int shift = headed ? headingHeight : 0;
        QPicture picture;
        {
            QPainter recorder(&picture);
            if (headed)
                page.render(&recorder, QPoint(),
                            QRegion(0, columnHeading->top, page.width(), headingHeight),
                            QWidget::DrawChildren);
            page.render(&recorder, QPoint(0, shift), QRegion(source), QWidget::DrawChildren);
        }
        painter.save();
        painter.translate(area.left(), top);
        painter.scale(scale, scale); // in the page's pixels from here
        painter.setClipRect(QRect(QPoint(), source.size() + QSize(0, shift)));
        // A picture plays itself scaled from its own resolution to the device's: undone, so
        // that the page's pixels are what it draws in.
        painter.scale(double(picture.logicalDpiX()) / device.logicalDpiX(),
                      double(picture.logicalDpiY()) / device.logicalDpiY());
        painter.drawPicture(0, 0, picture);
        painter.restore();
    }
    return painter.end();
}

QString runPrintJob(QPrinter& printer, const std::function<bool(QPrinter&)>& job,
                    FileAccess access) {
    const QString target = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || target.isEmpty())
        return job(printer) ? QString() : QStringLiteral("A nyomtatás nem sikerült.");
    const QString failure = printIntoFile(
        target,
        [&](const QString& partial) {
            printer.setOutputFileName(partial);
            return job(printer);
        },
        access);
    printer.setOutputFileName(target);
    return failure;
}

} // namespace zx
