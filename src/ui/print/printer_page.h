#pragma once
// The window's side of printing: a page of the window drawn by its own widgets on paper, and
// print jobs on a QPrinter (paper, or a PDF file written whole). The reports themselves are
// drawn by the print layer.
#include "print/report_painter.h"

#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QAbstractScrollArea;
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

// Column headings of a page (over rows that scroll under them) that a printed page repeats at
// the top of every sheet it goes on over.
void repeatOnEverySheet(QWidget& heading);
inline constexpr const char* RepeatedHeadingProperty = "repeatedOnEverySheet";

// While it lives, the page has the size that shows everything it holds, as paper shows it:
// every scrolled area of it (a list, the rows of a panel) with room for all it holds and no
// scroll bar. Then the page, its areas and where they were scrolled to are as they were. Nothing
// is painted on the screen meanwhile: the event loop does not run.
class PageOnPaper {
  public:
    explicit PageOnPaper(QWidget& page);
    ~PageOnPaper();
    PageOnPaper(const PageOnPaper&) = delete;
    PageOnPaper& operator=(const PageOnPaper&) = delete;

  private:
    struct Scrolled {
        QAbstractScrollArea* area;
        int x, y;
        Qt::ScrollBarPolicy horizontalPolicy, verticalPolicy;
        QSize minimum;
    };
    QWidget& page_;
    QSize size_;
    std::vector<Scrolled> scrolled_;
};

// A page of the window printed as its widgets draw themselves (text and lines, not a picture)
// inside the report area (ReportMarginMm of paper clear at every edge), under the heading and
// the sheet's number: at the size it has on the screen, smaller where it would be wider than
// the paper; a page taller than a sheet goes on over further sheets, cut between its controls.
// A scrolled list on the page is printed with every row it holds, and column headings marked
// to repeat head every sheet. False when the device could not be opened.
bool printWindowPage(QPagedPaintDevice& device, QWidget& page, const PageHeading& heading);

// Runs a print job on the printer. Into a PDF file the job is written beside the file first and
// renamed over it only when it has succeeded, so a failed job leaves the previous file whole; a
// new file gets the permissions of `access`. Returns an empty text on success, else the
// operator's message.
QString runPrintJob(QPrinter& printer, const std::function<bool(QPrinter&)>& job,
                    FileAccess access);

} // namespace zx
