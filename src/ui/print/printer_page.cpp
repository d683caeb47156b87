#include "ui/print/printer_page.h"

#include <QMainWindow>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

#include <algorithm>

namespace zx {

bool printWindowPicture(QPagedPaintDevice& device, QWidget& window) {
    QRect area = window.rect();
    if (auto* main = qobject_cast<QMainWindow*>(&window);
        main && main->menuWidget() && main->menuWidget()->isVisibleTo(main))
        area.setTop(main->menuWidget()->geometry().bottom() + 1);
    const QPixmap picture = window.grab(area);
    if (picture.isNull()) return false;

    // The same physical size: screen pixels to the device's pixels by the two resolutions.
    const QSizeF onScreen = picture.deviceIndependentSize();
    const double scale = double(device.logicalDpiX()) / std::max(window.logicalDpiX(), 1);
    QSizeF size = onScreen * scale;
    const QSizeF printable(device.width(), device.height());
    if (size.width() > printable.width() || size.height() > printable.height())
        size.scale(printable, Qt::KeepAspectRatio);

    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(QPointF(0, 0), size), picture, QRectF(picture.rect()));
    return painter.end();
}

QString runPrintJob(QPrinter& printer, const std::function<bool(QPrinter&)>& job) {
    const QString target = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || target.isEmpty())
        return job(printer) ? QString() : QStringLiteral("A nyomtatás nem sikerült.");
    const QString failure = printIntoFile(target, [&](const QString& partial) {
        printer.setOutputFileName(partial);
        return job(printer);
    });
    printer.setOutputFileName(target);
    return failure;
}

} // namespace zx
