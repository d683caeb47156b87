#include "print/report_painter.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
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

QRect reportArea(const QPagedPaintDevice& device) {
    const QPageLayout layout = device.pageLayout();
    // Paper the device already keeps clear around the area it paints in.
    const QMarginsF kept = layout.mode() == QPageLayout::FullPageMode
                               ? QMarginsF()
                               : layout.margins(QPageLayout::Millimeter);
    const auto pixels = [](double keptMm, int dpi) {
        const double more = std::max(0.0, ReportMarginMm - keptMm);
        return static_cast<int>(std::ceil(more * dpi / 25.4));
    };
    const int dpiX = device.logicalDpiX(), dpiY = device.logicalDpiY();
    const QMargins inset(pixels(kept.left(), dpiX), pixels(kept.top(), dpiY),
                         pixels(kept.right(), dpiX), pixels(kept.bottom(), dpiY));
    const QRect area = QRect(0, 0, device.width(), device.height()).marginsRemoved(inset);
    return area.isValid() ? area : QRect(area.topLeft(), QSize(1, 1));
}

PainterPage::PainterPage(QPainter& painter, QPagedPaintDevice& device, int pointSize)
    : painter_(painter), device_(device), area_(reportArea(device)), font_(fixedFont(pointSize)),
      metrics_(font_, &device) {
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
    return area_.width();
}

int PainterPage::printableHeight() const {
    return area_.height();
}

void PainterPage::drawLine(int y, const QString& text) {
    painter_.drawText(area_.left(), area_.top() + y + metrics_.ascent(), text);
}

void PainterPage::newPage() {
    device_.newPage();
}

int freeNumberPoints(const QPagedPaintDevice& device) {
    return freeNumberFontPoints(reportArea(device).height(), device.logicalDpiY());
}

bool printReport(QPagedPaintDevice& device, int pointSize, const ReportWriter& write) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PainterPage page(painter, device, pointSize);
    LinePrinter printer(page);
    write(printer);
    return painter.end();
}

QString printIntoFile(const QString& target, const std::function<bool(const QString&)>& job,
                      FileAccess access) {
    const QString cannotWrite = QStringLiteral("A(z) %1 file nem írható !!!").arg(target);
    QString partial;
    {
        QTemporaryFile temporary(QFileInfo(target).absoluteFilePath() +
                                 QStringLiteral(".XXXXXX.pdf"));
        temporary.setAutoRemove(false);
        if (!temporary.open()) return cannotWrite;
        partial = temporary.fileName();
    }
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QFileDevice::Permissions permissions =
        QFile::exists(target)             ? QFile::permissions(target)
        : access == FileAccess::OwnerOnly ? owner
                                          : owner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const bool printed = job(partial);
    if (!printed || QFileInfo(partial).size() == 0 ||
        std::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        QFile::remove(partial);
        return printed ? cannotWrite : QStringLiteral("A nyomtatás nem sikerült.");
    }
    QFile::setPermissions(target, permissions);
    return QString();
}

namespace {

bool writeReportPdf(QPdfWriter& pdf, const std::function<int(const QPagedPaintDevice&)>& pointSize,
                    const ReportWriter& write) {
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setTitle(QString::fromUtf8(ReportDocumentName));
    return printReport(pdf, pointSize(pdf), write);
}

} // namespace

QString printReportToPdf(const QString& target,
                         const std::function<int(const QPagedPaintDevice&)>& pointSize,
                         const ReportWriter& write, FileAccess access) {
    return printIntoFile(
        target,
        [&](const QString& path) {
            // The writer is gone, and its file closed, before the file is renamed.
            QPdfWriter pdf(path);
            return writeReportPdf(pdf, pointSize, write);
        },
        access);
}

std::optional<QByteArray>
reportPdfBytes(const std::function<int(const QPagedPaintDevice&)>& pointSize,
               const ReportWriter& write) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        if (!writeReportPdf(pdf, pointSize, write)) return std::nullopt;
    }
    return bytes;
}

QString reportDateTime(const QDateTime& when) {
    const QLocale locale;
    // The long time format names the time zone as well; the header shows only the time.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), timeFormat.trimmed());
}

} // namespace zx
