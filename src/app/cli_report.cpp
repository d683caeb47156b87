// zendrax-cli report: the printed code list or free-number list of a database file, as text
// lines on standard output or laid out on A4 pages into a PDF file, by the same line printer and
// painter page as the window's print command.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
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

int runReport(const QStringList& args) {
    const auto parsed = parseCommandArgs(args, {"--model", "--password", "--pdf"}, {"--force"});
    if (!parsed) return ExitUsage;
    const ParsedArgs& p = *parsed;
    const QString what = p.positional.value(0);
    if (p.positional.size() != 2 || (what != "codes" && what != "numbers")) {
        err(QStringLiteral(
            "Használat: report codes|numbers FÁJL [--model 4|16] [--password JELSZÓ] "
            "[--pdf KIMENET] !!!"));
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

    const QString failure = printReportToPdf(
        p.value("--pdf"),
        [codeList](const QPagedPaintDevice& page) {
            return codeList ? CodeListPoints : freeNumberPoints(page);
        },
        write);
    if (!failure.isEmpty()) {
        err(failure);
        return ExitFailed;
    }
    return ExitOk;
}

const bool registered = registerCommand(
    {"report",
     "report codes|numbers FÁJL|- [--model 4|16 [--force]] [--password JELSZÓ] [--pdf KIMENET]",
     runReport, true});

} // namespace

} // namespace zx::cli
