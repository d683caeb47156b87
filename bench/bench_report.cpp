// How long the code list report of a full code table (1024 rows of two-digit codes) takes to
// lay out and write as a PDF on A4 pages, the way the print command and `zendrax-cli report`
// print it. Goal: under one second.
//
// Run: QT_QPA_PLATFORM=offscreen build/bin/bench_report [repetitions]
#include "model/report_text.h"
#include "ui/print/printer_page.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    std::vector<zx::CodeRowView> rows;
    for (int i = 0; i < 1024; ++i)
        rows.push_back({zx::RawText(std::to_string(10 + i % 90)), {"Igen", "Nem", "Igen", "Nem"}});
    zx::CodeListReport report;
    report.rows = rows;
    report.chosen = {1, 1024};
    report.fileName = "/home/operator/zendrax/teljes.vd1";
    report.site = "Budapest";
    report.owner = "Telepítő Kft.";
    report.dateTime = "2024. 03. 05. 9:07:05";
    const auto write = [&](zx::ReportOutput& out) { zx::writeCodeListReport(out, report); };

    QElapsedTimer timer;
    timer.start();
    zx::ReportLines lines;
    write(lines);
    const double textMs = double(timer.nsecsElapsed()) / 1e6;

    QTemporaryDir dir;
    double best = 1e9, total = 0;
    qint64 size = 0;
    for (int r = 0; r < repetitions; ++r) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(dir.filePath("teljes.pdf"));
        timer.restart();
        const QString failure = zx::runPrintJob(
            printer,
            [&](QPrinter& device) { return zx::printReport(device, zx::CodeListPoints, write); },
            zx::FileAccess::OwnerOnly);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(failure));
            return 1;
        }
        best = std::min(best, ms);
        total += ms;
        size = QFileInfo(dir.filePath("teljes.pdf")).size();
    }
    std::printf("code list of 1024 rows: %zu lines, text %.2f ms\n", lines.lines.size(), textMs);
    std::printf("PDF on A4 at 1200 dpi: best %.1f ms, mean %.1f ms over %d runs, %lld bytes "
                "(goal < 1000 ms)\n",
                best, total / repetitions, repetitions, static_cast<long long>(size));
    return 0;
}
