// zendrax-cli report: the printed code list or free-number list of a database file, as text
// lines on standard output or laid out on A4 pages into a PDF file, by the same line printer and
// painter page as the window's print command.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "app/cli_io.h"
#include "files/cp1250.h"
#include "model/editor_view.h"
#include "model/report_text.h"
#include "print/report_painter.h"

#include <QDateTime>
#include <QFileInfo>

#include <optional>
#include <string>
#include <vector>

namespace zx::cli {

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

int runReport(const ParsedArgs& p) {
    const QString what = p.positional.value(0);
    if (p.positional.size() != 2 || (what != "codes" && what != "numbers")) {
        err(QStringLiteral(
            "Használat: report codes|numbers FÁJL [--model|--as-model 4|16] [--password JELSZÓ] "
            "[--pdf KIMENET|-] !!!"));
        return ExitUsage;
    }
    if (p.has("--pdf") && p.value("--pdf").isEmpty()) {
        err(QStringLiteral("Hiányzik a --pdf értéke !!!"));
        return ExitUsage;
    }
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(p.positional[1], p, status);
    if (!db) return status;

    using Slot = DatabaseRecord::Slot;
    const EditorView view = decodeForEditors(db->record.image, db->model);
    const std::string fileName = utf8(QFileInfo(db->path).absoluteFilePath());

    CodeListReport codes;
    codes.model = db->model;
    codes.rows = view.codes;
    codes.chosen = {1, static_cast<int>(view.codes.size())};
    codes.fileName = fileName;
    codes.site = utf8(fromCp1250(db->record.text(Slot::Site)));
    codes.owner = utf8(fromCp1250(db->record.text(Slot::Owner)));
    codes.dateTime = utf8(reportDateTime(QDateTime::currentDateTime()));

    std::vector<std::string> items;
    for (const RawText& number : view.freeNumbers)
        items.push_back(utf8(fromCp1250(number)));
    FreeNumberReport numbers;
    numbers.items = items;
    numbers.fileName = fileName;

    const bool codeList = what == "codes";
    const auto write = [&](ReportOutput& out) {
        if (codeList)
            writeCodeListReport(out, codes);
        else
            writeFreeNumberReport(out, numbers);
    };

    if (!p.has("--pdf")) {
        ReportLines lines;
        write(lines);
        for (const ReportLine& line : lines.lines)
            out(QString::fromStdString(line.text));
        return ExitOk;
    }

    const auto points = [codeList](const QPagedPaintDevice& page) {
        return codeList ? CodeListPoints : freeNumberPoints(page);
    };
    const QString target = p.value("--pdf");
    if (isStandardStream(target)) {
        const std::optional<QByteArray> pdf = reportPdfBytes(points, write);
        if (!pdf) {
            err(QStringLiteral("A nyomtatás nem sikerült."));
            return ExitFailed;
        }
        return outBytes(pdf->constData(), static_cast<std::size_t>(pdf->size())) ? ExitOk
                                                                                 : ExitFailed;
    }
    // The code list is its owner's only, as every file of codes.
    const QString failure = printReportToPdf(target, points, write,
                                             codeList ? FileAccess::OwnerOnly : FileAccess::Shared);
    if (!failure.isEmpty()) {
        err(failure);
        return ExitFailed;
    }
    return ExitOk;
}

const bool registered = registerCommand({"report",
                                         "report codes|numbers FÁJL|- [--model|--as-model 4|16] "
                                         "[--password JELSZÓ] [--pdf KIMENET|-]",
                                         runReport,
                                         {ModelOptions + QSet<QString>{"--password", "--pdf"}, {}},
                                         true});

} // namespace

} // namespace zx::cli
