#pragma once
// The reports and the window picture on paper: the line printer's page drawn with a painter on a
// printer (or on the preview's pages), and the print jobs the window and the command line run.
#include "files/line_printer.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <functional>

class QDateTime;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

namespace zx {

// The report page on a paged device, in the system's fixed-pitch font at the given size.
class PainterPage : public ReportPage {
  public:
    PainterPage(QPainter& painter, QPagedPaintDevice& device, int pointSize);

    void setBold(bool bold) override;
    int textWidth(const QString& text) const override;
    int textHeight(const QString& text) const override;
    int characterHeight() const override;
    int printableWidth() const override;
    int printableHeight() const override;
    void drawLine(int y, const QString& text) override;
    void newPage() override;

  private:
    QPainter& painter_;
    QPagedPaintDevice& device_;
    QFont font_;
    QFontMetrics metrics_;
};

// Writes a report's lines.
using ReportWriter = std::function<void(ReportOutput&)>;

// Font sizes of the reports: 9 points for the code list (and the terminal text), and for the
// free numbers a size that follows the printable height of the device's page.
inline constexpr int CodeListPoints = 9;
int freeNumberPoints(const QPagedPaintDevice& device);

// One print job of a report on the device: the painter begins, the line printer prints what the
// writer writes, the painter ends. False when the device could not be opened (no printer, an
// output file that cannot be written).
bool printReport(QPagedPaintDevice& device, int pointSize, const ReportWriter& write);

// The window's client area (below its menu bar) on one page at the top left, at the size it
// has on the screen; a window larger than the printable area is scaled down to fit it.
bool printWindowPicture(QPagedPaintDevice& device, QWidget& window);

// Runs a print job on the printer. Into a PDF file the job is written beside the file first and
// renamed over it only when it has succeeded, so a failed job leaves the previous file whole.
// Returns an empty text on success, else the operator's message.
QString runPrintJob(QPrinter& printer, const std::function<bool(QPrinter&)>& job);

// The date and time the code list's header shows: the system's short date and its time with
// seconds.
QString reportDateTime(const QDateTime& when);

} // namespace zx
