// zendrax-cli export-codes / import-codes: the code table of a database file to and from a
// binary code list or a code text, through the same readers and writers as the window.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "files/code_list_file.h"
#include "files/code_text_file.h"

#include <optional>

namespace zx::cli {

namespace {

enum class CodeFormat { Binary, Text };

// --format dat|txt, else the file name's extension.
std::optional<CodeFormat> codeFormat(const ParsedArgs& p, const QString& file) {
    const QString chosen = p.value("--format").toLower();
    if (p.has("--format")) {
        if (chosen == "dat") return CodeFormat::Binary;
        if (chosen == "txt") return CodeFormat::Text;
        err(QStringLiteral("A --format értéke dat vagy txt lehet !!!"));
        return std::nullopt;
    }
    if (file.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive)) return CodeFormat::Binary;
    if (file.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) return CodeFormat::Text;
    err(QStringLiteral("A file neve nem .dat vagy .txt végű, a formátumot a --format dat|txt "
                       "adja meg: %1 !!!")
            .arg(file));
    return std::nullopt;
}

QString summary(const CodeList& list) {
    return QStringLiteral("%1 kód, %2 jegyű").arg(list.codeCount).arg(list.codeLength - 1);
}

int runExportCodes(const QStringList& args) {
    const auto parsed =
        parseCommandArgs(args, {"--model", "--password", "--format", "-o", "--output"});
    if (!parsed) return ExitUsage;
    const ParsedArgs& p = *parsed;
    const std::optional<QString> target = exportTarget(p);
    if (!target) return ExitUsage;
    const std::optional<CodeFormat> format = codeFormat(p, *target);
    if (!format) return ExitUsage;
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return status;

    const CodeList list = codeListOf(db->record.image, db->model);
    const FileWriteResult written = *format == CodeFormat::Binary
                                        ? writeCodeListFile(*target, list, db->model)
                                        : writeCodeTextFile(*target, list, db->model);
    if (!written.ok) {
        err(written.message);
        return ExitFailed;
    }
    out(summary(list));
    return ExitOk;
}

int runImportCodes(const QStringList& args) {
    const auto parsed = parseCommandArgs(args, {"--model", "--password", "--format"});
    if (!parsed) return ExitUsage;
    const ParsedArgs& p = *parsed;
    if (p.positional.size() != 2) {
        err(QStringLiteral("Egy adatbázis file és egy kódlista file nevét várom !!!"));
        return ExitUsage;
    }
    const QString source = p.positional[1];
    const std::optional<CodeFormat> format = codeFormat(p, source);
    if (!format) return ExitUsage;
    int status = ExitOk;
    std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return status;

    // The whole file is read and checked before the table changes.
    const Checked<CodeList> list = *format == CodeFormat::Binary
                                       ? readCodeListFile(source, db->model)
                                       : readCodeTextFile(source, db->model);
    if (!list) {
        err(QString::fromStdString(list.message()));
        return ExitFailed;
    }
    codeListPatch(db->record.image, *list, db->model).applyTo(db->record.image);
    status = saveDatabase(*db);
    if (status == ExitOk) out(summary(*list));
    return status;
}

const bool registered =
    registerCommand({"export-codes",
                     "export-codes ADATBÁZIS [--model 4|16] [--password JELSZÓ] [--format dat|txt] "
                     "-o KIMENET",
                     runExportCodes}) &&
    registerCommand({"import-codes",
                     "import-codes ADATBÁZIS [--model 4|16] [--password JELSZÓ] [--format dat|txt] "
                     "BEMENET",
                     runImportCodes});

} // namespace

} // namespace zx::cli
