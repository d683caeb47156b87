#pragma once
// The reports on paper: the line printer's page drawn with a painter on any paged device (a
// printer, the preview's pages, a PDF writer), inside margins a printer does not clip, and a
// print job into a file that replaces the file only when it has succeeded. Qt GUI only, so the
// command line prints without the window's libraries.
#include "files/file_bytes.h"
#include "files/line_printer.h"

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

class QDateTime;
class QPagedPaintDevice;
class QPainter;

namespace zx {

// The name of every report's print job.
inline constexpr const char* ReportDocumentName = "Zendrax nyomtatás";

// Paper every report keeps clear at each edge, in millimetres: printers clip close to the edge.
inline constexpr double ReportMarginMm = 10.0;

// Where a report is drawn on the device's pages, in the device's pixels from the origin of its
// painter: the device's printable area less whatever it takes to keep ReportMarginMm of paper
// clear at every edge.
QRect reportArea(const QPagedPaintDevice& device);

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
    QRect area_;
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

// A job that writes the file at the path it is given (a PDF) run beside the target first: the
// result is renamed over the target only when the job succeeded and wrote something, so a
// failed job leaves the previous file whole. A target that was there keeps its permissions; a new
// one gets those of `access` (a code report is its owner's only). Returns an empty text on
// success, else the operator's message.
QString printIntoFile(const QString& target, const std::function<bool(const QString&)>& job,
                      FileAccess access);

// A report into a PDF file on A4 pages under the print job's document name, written whole, in
// the font size pointSize gives for the page.
QString printReportToPdf(const QString& target,
                         const std::function<int(const QPagedPaintDevice&)>& pointSize,
                         const ReportWriter& write, FileAccess access);
// The same PDF as bytes (for standard output); nothing when it could not be laid out.
std::optional<QByteArray>
reportPdfBytes(const std::function<int(const QPagedPaintDevice&)>& pointSize,
               const ReportWriter& write);

// The date and time the code list's header shows: the short date and the time with seconds of
// the program's locale (Hungarian in both programs, whatever the session's).
QString reportDateTime(const QDateTime& when);

} // namespace zx
