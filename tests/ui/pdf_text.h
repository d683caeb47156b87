#pragma once
// What a PDF file says, read back with the pdftotext tool of poppler-utils: its text page by
// page, laid out as on paper.
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>

inline bool havePdfToText() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of each page; nothing when the file cannot be read.
inline QStringList pdfPages(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    // Every page ends with a form feed: the last piece is what follows the last page.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// The document name the file carries (pdfinfo, of the same tools).
inline QString pdfTitle(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith(QLatin1String("Title:"))) return line.mid(6).trimmed();
    return {};
}

// Where the words stand on each page, in points from the paper's top left corner.
struct PdfWord {
    QString text;
    QRectF box;
};
struct PdfPage {
    QSizeF size;
    QList<PdfWord> words; // in reading order
};

inline QList<PdfPage> pdfWordBoxes(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression page(
        QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfPage> pages;
    for (const QString& piece : html.split(QStringLiteral("</page>"))) {
        const auto head = page.match(piece);
        if (!head.hasMatch()) continue;
        PdfPage out{{head.captured(1).toDouble(), head.captured(2).toDouble()}, {}};
        for (auto it = word.globalMatch(piece); it.hasNext();) {
            const auto m = it.next();
            const QPointF from(m.captured(1).toDouble(), m.captured(2).toDouble());
            const QPointF to(m.captured(3).toDouble(), m.captured(4).toDouble());
            QString text = m.captured(5);
            text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            out.words.push_back({text, QRectF(from, to)});
        }
        pages.push_back(out);
    }
    return pages;
}

// Points in a millimetre.
inline constexpr double PointsPerMm = 72.0 / 25.4;

// What is wrong with the layout of a printed code list: words closer than 10 mm to the paper's
// edge, a later page that does not begin with its "Oldal:" line (a rule line left over from
// the page before), headings not over the columns of the entries below them. Nothing when
// the layout is sound.
inline QStringList codeListLayoutFaults(const QList<PdfPage>& pages) {
    QStringList faults;
    const double margin = 10 * PointsPerMm - 0.3;
    const auto near = [](double a, double b) { return std::abs(a - b) < 0.5; };
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const PdfPage& page = pages[p];
        const QString where = QStringLiteral("page %1: ").arg(p + 1);
        const QRectF inside(margin, margin, page.size.width() - 2 * margin,
                            page.size.height() - 2 * margin);
        const PdfWord* top = nullptr;
        QList<double> headingBars, entryBars, headingStarts, ruleStarts;
        for (const PdfWord& w : page.words) {
            if (!inside.contains(w.box))
                faults << where + QStringLiteral("%1 at %2,%3 outside the margins")
                                      .arg(w.text)
                                      .arg(w.box.left())
                                      .arg(w.box.top());
            if (!top || w.box.top() < top->box.top()) top = &w;
            if (w.text == QStringLiteral("|Jog"))
                headingBars << w.box.left();
            else if (w.text.startsWith(QLatin1Char('|')) && w.text != QString::fromUtf8("|Kód"))
                entryBars << w.box.left();
            if (w.text == QStringLiteral("Sorsz.")) headingStarts << w.box.left();
            if (w.text.startsWith(QStringLiteral("-------+"))) ruleStarts << w.box.left();
        }
        if (p > 0 && (!top || top->text != QStringLiteral("Oldal:%1").arg(p + 1)))
            faults << where + QStringLiteral("begins with %1").arg(top ? top->text : QString());
        const auto over = [&](const QList<double>& upper, const QList<double>& lower,
                              const QString& what) {
            for (const double x : upper)
                if (std::none_of(lower.begin(), lower.end(), [&](double y) { return near(x, y); }))
                    faults << where + QStringLiteral("%1 at %2 over no column").arg(what).arg(x);
        };
        over(headingBars, entryBars, QStringLiteral("|Jog"));
        over(entryBars, headingBars, QStringLiteral("an entry's rights"));
        over(headingStarts, ruleStarts, QStringLiteral("Sorsz."));
    }
    return faults;
}
