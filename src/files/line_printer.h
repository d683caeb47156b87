#pragma once
// The line printer the reports are printed with: text lines one below the other at the left
// edge of the printable area, pages broken by the rules below, page numbers counted. It works
// on a small page interface; the printer's page draws with a painter, tests record what comes.
#include "model/report_text.h"

#include <QString>

namespace zx {

// One printable page at a time, in the device's pixels, with a fixed-pitch font in the normal
// or the bold face.
class ReportPage {
  public:
    virtual ~ReportPage() = default;
    virtual void setBold(bool bold) = 0;
    virtual int textWidth(const QString& text) const = 0;
    virtual int textHeight(const QString& text) const = 0;
    // The font's character height: the advance of an empty line.
    virtual int characterHeight() const = 0;
    virtual int printableWidth() const = 0;
    virtual int printableHeight() const = 0;
    // Draws a line whose top is y pixels below the top of the printable area.
    virtual void drawLine(int y, const QString& text) = 0;
    virtual void newPage() = 0;
};

// Pixels between two lines of text.
inline constexpr int LineGap = 2;

class LinePrinter : public ReportOutput {
  public:
    explicit LinePrinter(ReportPage& page) : page_(page) {}

    // A line with text advances by its text height plus LineGap; after it the next line goes on
    // a new page when its top would lie below the printable height minus twice that advance.
    // An empty line advances by the character height; after it the next line goes on a new
    // page only when its top would lie below the printable height. A line wider than the page
    // is broken after the last character that fits and goes on as a line of its own. A line
    // that would still reach past the bottom of the page (after several empty lines) is moved
    // to the top of a new page rather than cut off. A line to be kept with the next one is not
    // followed by a page break: the next line goes below it, and the rule applies after that.
    void writeLine(const ReportLine& line) override;
    int pageNumber() const override { return page_number_; }

    // Where the next line's top lies on the current page.
    int top() const { return y_; }
    // Pages the page interface has been given: a page broken after the last line is counted in
    // the page number but never started, so a report ends without an empty page.
    int pagesStarted() const { return pages_started_; }

  private:
    void writeText(const QString& text, bool keepWithNext);
    // The length of the longest start of text that fits the printable width; at least one
    // character, and never half of a surrogate pair.
    qsizetype fittingLength(const QString& text) const;
    void breakPage();
    void startPendingPage();

    ReportPage& page_;
    int y_ = 0;
    int page_number_ = 1;
    int pages_started_ = 1;
    bool page_pending_ = false;
    bool bold_ = false;
};

// Size in points of the free-number report's font: the printable height divided by 120, with
// the height counted in pixels of 96 to the inch so that it follows the paper, not the
// printer's resolution (about 8 points on A4). Never below 1.
int freeNumberFontPoints(int printableHeightPixels, int dotsPerInch);

} // namespace zx
