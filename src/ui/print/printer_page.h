#pragma once
// The window's side of printing: the window picture on a page, and print jobs on a QPrinter
// (paper, or a PDF file written whole). The reports themselves are drawn by the print layer.
#include "print/report_painter.h"

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace zx {

// The window's client area (below its menu bar) on one page at the top left, at the size it
// has on the screen; a window larger than the printable area is scaled down to fit it.
bool printWindowPicture(QPagedPaintDevice& device, QWidget& window);

// Runs a print job on the printer. Into a PDF file the job is written beside the file first and
// renamed over it only when it has succeeded, so a failed job leaves the previous file whole.
// Returns an empty text on success, else the operator's message.
QString runPrintJob(QPrinter& printer, const std::function<bool(QPrinter&)>& job);

} // namespace zx
