// Reports printed through QPrinter into PDF files, read back as text.
#include "model/report_text.h"
#include "ui/print/printer_page.h"

#include "ui/pdf_text.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(ReportPdf, FourHundredCodeRowsGiveNumberedPagesWithHeaders) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    std::vector<CodeRowView> rows;
    for (int i = 1; i <= 400; ++i)
        rows.push_back({RawText(std::to_string(500000 + i)), {"Igen", "Igen", "Nem", "Nem"}});
    CodeListReport report;
    report.rows = rows;
    report.chosen = {1, 400};
    report.fileName = "/adat/négyszáz.vd1";
    report.site = "Szeged";
    report.owner = "Tóth";
    report.dateTime = "2024.03.05. 9:07:05";

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(dir.filePath("kodok.pdf"));
    ASSERT_TRUE(printReport(printer, CodeListPoints,
                            [&](ReportOutput& out) { writeCodeListReport(out, report); }));

    const QStringList pages = pdfPages(dir.filePath("kodok.pdf"));
    // 200 entry lines and 200 rule lines do not fit on one A4 page at 9 points.
    ASSERT_GE(pages.size(), 4);
    EXPECT_TRUE(pages[0].contains(QString::fromUtf8("Személyi kódok:/adat/négyszáz.vd1")));
    EXPECT_TRUE(pages[0].contains(QString::fromUtf8("Telepítési hely:Szeged")));
    EXPECT_TRUE(pages[0].contains(QRegularExpression("Jog {5,}Sorsz")));
    const QRegularExpression shortHeading(QString::fromUtf8("Sorsz\\. \\|Kód +\\|Jog +Sorsz"));
    const QRegularExpression pageLine("Oldal:(\\d+)");
    QSet<QString> entries;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        QStringList numbers;
        for (auto it = pageLine.globalMatch(pages[p]); it.hasNext();)
            numbers << it.next().captured(1);
        EXPECT_EQ(numbers, QStringList{QString::number(p + 1)}) << "page " << p + 1;
        if (p > 0) {
            EXPECT_TRUE(pages[p].contains(shortHeading)) << "page " << p + 1;
            EXPECT_FALSE(pages[p].contains(QString::fromUtf8("Személyi kódok:")));
        }
        for (auto it = QRegularExpression("(\\d{4})\\|(\\d{6})").globalMatch(pages[p]);
             it.hasNext();) {
            const auto m = it.next();
            EXPECT_EQ(m.captured(2).toInt() - 500000, m.captured(1).toInt());
            entries.insert(m.captured(1));
        }
    }
    EXPECT_EQ(entries.size(), 400);
}

// On paper the code list keeps 10 mm clear at every edge (what printers clip), never begins a
// page with the rule line of the entry before, and stands its headings over their columns:
// through the printer of the window and through a PDF writer alike, whatever margins the
// device keeps itself.
TEST(ReportPdf, TheCodeListLiesInsideTheMarginsWithHeadingsOverTheirColumns) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    std::vector<CodeRowView> rows;
    for (int i = 1; i <= 300; ++i)
        rows.push_back({RawText(std::to_string(700000 + i)), {"Igen", "Nem", "Igen", "Nem"}});
    CodeListReport report;
    report.rows = rows;
    report.chosen = {1, 300};
    report.fileName = "/adat/iroda.vd1";
    report.dateTime = "2024.03.05. 9:07:05";
    const ReportWriter write = [&](ReportOutput& out) { writeCodeListReport(out, report); };

    QTemporaryDir dir;
    for (const double deviceMarginMm : {3.5, 0.0, 15.0}) {
        SCOPED_TRACE(deviceMarginMm);
        const QString path = dir.filePath("kodok.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(
            QMarginsF(deviceMarginMm, deviceMarginMm, deviceMarginMm, deviceMarginMm),
            QPageLayout::Millimeter);
        printer.setOutputFileName(path);
        ASSERT_TRUE(printReport(printer, CodeListPoints, write));
        const QList<PdfPage> pages = pdfWordBoxes(path);
        ASSERT_GE(pages.size(), 3);
        EXPECT_EQ(codeListLayoutFaults(pages).join('\n').toStdString(), "");
        // The first line stands at the top of the margin, a wider one of the device's own too.
        const double top = std::max(deviceMarginMm, 10.0) * PointsPerMm;
        EXPECT_GT(pages[0].words[0].box.top(), top - 0.3);
        EXPECT_LT(pages[0].words[0].box.top(), top + 4);
    }

    const QString written = dir.filePath("iras.pdf");
    EXPECT_EQ(printReportToPdf(
                  written, [](const QPagedPaintDevice&) { return CodeListPoints; }, write,
                  FileAccess::OwnerOnly),
              QString());
    const QList<PdfPage> pages = pdfWordBoxes(written);
    ASSERT_GE(pages.size(), 3);
    EXPECT_EQ(codeListLayoutFaults(pages).join('\n').toStdString(), "");
    EXPECT_EQ(pdfTitle(written), QString::fromUtf8("Zendrax nyomtatás"));
}

TEST(ReportPdf, AFailedJobLeavesThePreviousFileWhole) {
    QTemporaryDir dir;
    const QString target = dir.filePath("lista.pdf");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous");
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(target);
    const auto drawThen = [](bool outcome) {
        return [outcome](QPrinter& device) {
            const bool drawn = printReport(device, CodeListPoints, [](ReportOutput& out) {
                out.writeLine({"          Oldal:1", true});
            });
            return drawn && outcome;
        };
    };

    EXPECT_FALSE(runPrintJob(printer, drawThen(false), FileAccess::Shared).isEmpty());
    const auto contents = [&] {
        QFile f(target);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_EQ(contents(), "previous");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"lista.pdf"});
    EXPECT_EQ(printer.outputFileName(), target);

    EXPECT_EQ(runPrintJob(printer, drawThen(true), FileAccess::Shared), QString());
    EXPECT_TRUE(contents().startsWith("%PDF"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"lista.pdf"});

    printer.setOutputFileName(dir.filePath("nincs/lista.pdf"));
    EXPECT_TRUE(
        runPrintJob(printer, drawThen(true), FileAccess::Shared).contains("nincs/lista.pdf"));
}

} // namespace
} // namespace zx
