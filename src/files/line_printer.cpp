#include "files/line_printer.h"

#include <algorithm>

namespace zx {

void LinePrinter::writeLine(const ReportLine& line) {
    if (line.bold != bold_) {
        bold_ = line.bold;
        page_.setBold(bold_);
    }
    writeText(QString::fromStdString(line.text), line.keepWithNext);
}

void LinePrinter::writeText(const QString& text, bool keepWithNext) {
    if (text.isEmpty()) {
        y_ += page_.characterHeight();
        if (y_ > page_.printableHeight()) breakPage();
        return;
    }
    QString rest = text;
    while (!rest.isEmpty()) {
        const qsizetype n = fittingLength(rest);
        const QString piece = rest.left(n);
        rest.remove(0, n);
        const int height = page_.textHeight(piece);
        if (y_ > 0 && y_ + height > page_.printableHeight()) breakPage();
        startPendingPage();
        page_.drawLine(y_, piece);
        const int advance = height + LineGap;
        y_ += advance;
        // The room of two advances the rule leaves holds the line kept with this one; a page
        // broken early would start with that line alone. After it the rule breaks the page.
        if (keepWithNext && rest.isEmpty()) continue;
        if (y_ > page_.printableHeight() - 2 * advance) breakPage();
    }
}

qsizetype LinePrinter::fittingLength(const QString& text) const {
    const int width = page_.printableWidth();
    if (page_.textWidth(text) <= width) return text.size();
    // The longest fitting start: widths grow with the length.
    qsizetype fits = 0, tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype mid = fits + (tooLong - fits) / 2;
        if (page_.textWidth(text.left(mid)) <= width)
            fits = mid;
        else
            tooLong = mid;
    }
    qsizetype n = std::max<qsizetype>(fits, 1);
    if (n < text.size() && text[n - 1].isHighSurrogate() && text[n].isLowSurrogate())
        n = n > 1 ? n - 1 : n + 1;
    return n;
}

void LinePrinter::breakPage() {
    // A page broken again before anything was drawn on it is still a page of its own.
    startPendingPage();
    y_ = 0;
    ++page_number_;
    page_pending_ = true;
}

void LinePrinter::startPendingPage() {
    if (!page_pending_) return;
    page_pending_ = false;
    page_.newPage();
    ++pages_started_;
}

int freeNumberFontPoints(int printableHeightPixels, int dotsPerInch) {
    if (dotsPerInch <= 0) return 1;
    const long long screenPixels = static_cast<long long>(printableHeightPixels) * 96 / dotsPerInch;
    return static_cast<int>(std::max<long long>(screenPixels / 120, 1));
}

} // namespace zx
