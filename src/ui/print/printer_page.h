#pragma once
// The window's side of printing: a page of the window drawn by its own widgets on paper, and
// print jobs on a QPrinter (paper, or a PDF file written whole). The reports themselves are
// drawn by the print layer.
#include "print/report_painter.h"

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace zx {

// What heads every sheet of a printed window page, over its "Oldal: n" line.
struct PageHeading {
    QString page;     // the page's name ("Alap")
    QString fileName; // CurrentFileName; empty for a new configuration
    QString site;
    QString dateTime;
    // "Alap   Fájl: /adat/iroda.vd1   Telepítési hely: Pécs   2024.03.05. 9:07:05"
    QString text() const;
};

// A page of the window printed as its widgets draw themselves (text and lines, not a picture)
// inside the report area (ReportMarginMm of paper clear at every edge), under the heading and
// the sheet's number: at the size it has on the screen, smaller where it would be wider than
// the paper; a page taller than a sheet goes on over further sheets, cut between its controls.
// A scrolled list on the page is printed with every row it holds. False when the device could
// not be opened.
bool printWindowPage(QPagedPaintDevice& device, QWidget& page, const PageHeading& heading);

// Runs a print job on the printer. Into a PDF file the job is written beside the file first and
// renamed over it only when it has succeeded, so a failed job leaves the previous file whole.
// Returns an empty text on success, else the operator's message.
QString runPrintJob(QPrinter& printer, const std::function<bool(QPrinter&)>& job);

} // namespace zx
