#include "ui/printer_page.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLocale>
#include <QMainWindow>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace zx {

namespace {

QFont fixedFont(int pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

} // namespace

PainterPage::PainterPage(QPainter& painter, QPagedPaintDevice& device, int pointSize)
    : painter_(painter), device_(device), font_(fixedFont(pointSize)), metrics_(font_, &device) {
    painter_.setFont(font_);
}

void PainterPage::setBold(bool bold) {
    font_.setBold(bold);
    metrics_ = QFontMetrics(font_, &device_);
    painter_.setFont(font_);
}

int PainterPage::textWidth(const QString& text) const {
    return metrics_.horizontalAdvance(text);
}

int PainterPage::textHeight(const QString&) const {
    return metrics_.height();
}

int PainterPage::characterHeight() const {
    return metrics_.height();
}

int PainterPage::printableWidth() const {
    return device_.width();
}

int PainterPage::printableHeight() const {
    return device_.height();
}

void PainterPage::drawLine(int y, const QString& text) {
    painter_.drawText(0, y + metrics_.ascent(), text);
}

void PainterPage::newPage() {
    device_.newPage();
}

int freeNumberPoints(const QPagedPaintDevice& device) {
    return freeNumberFontPoints(device.height(), device.logicalDpiY());
}

bool printReport(QPagedPaintDevice& device, int pointSize, const ReportWriter& write) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PainterPage page(painter, device, pointSize);
    LinePrinter printer(page);
    write(printer);
    return painter.end();
}

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
    const QString failed = QStringLiteral("A nyomtatás nem sikerült.");
    const QString target = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || target.isEmpty())
        return job(printer) ? QString() : failed;

    const QString cannotWrite = QStringLiteral("A(z) %1 file nem írható !!!").arg(target);
    QString partial;
    {
        QTemporaryFile temporary(QFileInfo(target).absoluteFilePath() +
                                 QStringLiteral(".XXXXXX.pdf"));
        temporary.setAutoRemove(false);
        if (!temporary.open()) return cannotWrite;
        partial = temporary.fileName();
    }
    const QFileDevice::Permissions permissions =
        QFile::exists(target) ? QFile::permissions(target)
                              : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadGroup | QFileDevice::ReadOther;
    printer.setOutputFileName(partial);
    const bool printed = job(printer);
    printer.setOutputFileName(target);
    if (!printed || QFileInfo(partial).size() == 0 ||
        std::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        QFile::remove(partial);
        return printed ? cannotWrite : failed;
    }
    QFile::setPermissions(target, permissions);
    return QString();
}

QString reportDateTime(const QDateTime& when) {
    const QLocale locale = QLocale::system();
    // The long time format names the time zone as well; the header shows only the time.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), timeFormat.trimmed());
}

} // namespace zx
