// zendrax-cli export-codes / import-codes: the code table of a database file to and from a
// binary code list or a code text, through the same readers and writers as the window. The
// lists are data ("-" for standard input or output); what the table holds is said on stderr.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "app/cli_io.h"
#include "files/code_list_file.h"
#include "files/code_text_file.h"

#include <optional>

namespace zx::cli {

namespace {

enum class CodeFormat { Binary, Text };

// --format dat|txt, else the file name's extension ("-" has none: --format says it).
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
    err(aboutFile(file, QStringLiteral("a file neve nem .dat vagy .txt végű, a formátumot a "
                                       "--format dat|txt adja meg !!!")));
    return std::nullopt;
}

// What the table holds afterwards: "3 kód, 6 jegyű".
QString summary(const CodeList& list) {
    return QStringLiteral("%1 kód, %2 jegyű").arg(list.codeCount).arg(list.codeLength - 1);
}

int runExportCodes(const ParsedArgs& p) {
    const std::optional<QString> target = exportTarget(p);
    if (!target) return ExitUsage;
    const std::optional<CodeFormat> format = codeFormat(p, *target);
    if (!format) return ExitUsage;
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return status;

    const CodeList list = codeListOf(db->record.image, db->model);
    std::string bytes;
    if (*format == CodeFormat::Binary) {
        const Checked<std::string> written = codeListFileBytes(list, db->model);
        if (!written) {
            err(aboutFile(db->path, QString::fromStdString(written.message())));
            return ExitFailed;
        }
        bytes = *written;
    } else {
        bytes = codeTextFileBytes(list, db->model);
    }
    if (!writeOutput(*target, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                     FileAccess::OwnerOnly))
        return ExitFailed;
    notice(aboutFile(*target, summary(list), true));
    return ExitOk;
}

int runImportCodes(const ParsedArgs& p) {
    if (p.positional.size() != 2) {
        err(QStringLiteral("Egy adatbázis file és egy kódlista file nevét várom !!!"));
        return ExitUsage;
    }
    const QString source = p.positional[1];
    if (isStandardStream(source) && isStandardStream(p.positional.first())) {
        err(QStringLiteral("Az adatbázis és a kódlista közül csak az egyik lehet a szabványos "
                           "bemenet !!!"));
        return ExitUsage;
    }
    const std::optional<CodeFormat> format = codeFormat(p, source);
    if (!format) return ExitUsage;
    // The list is read before the database is locked (it may come from a command on the same
    // database).
    const std::optional<QByteArray> bytes = readInput(source, ListFileSizeLimit);
    if (!bytes) return ExitFailed;
    int status = ExitOk;
    std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status, Access::Change);
    if (!db) return status;

    // The whole file is read and checked before the table changes.
    const std::string_view text(bytes->constData(), static_cast<std::size_t>(bytes->size()));
    const Checked<CodeList> list = *format == CodeFormat::Binary
                                       ? parseCodeListFile(text, db->model)
                                       : parseCodeTextFile(text, db->model);
    if (!list) {
        err(aboutFile(source, QString::fromStdString(list.message())));
        return ExitFailed;
    }
    codeListPatch(db->record.image, *list, db->model).applyTo(db->record.image);
    status = saveDatabase(*db);
    if (status == ExitOk)
        notice(aboutFile(db->path, summary(codeListOf(db->record.image, db->model)), true));
    return status;
}

const bool registered =
    registerCommand(
        {"export-codes",
         "export-codes ADATBÁZIS|- [--model|--as-model 4|16] [--password JELSZÓ] "
         "[--format dat|txt] -o KIMENET|-",
         runExportCodes,
         {ModelOptions + QSet<QString>{"--password", "--format", "-o", "--output"}, {}}}) &&
    registerCommand({"import-codes",
                     "import-codes ADATBÁZIS|- [--model|--as-model 4|16] [--password JELSZÓ] "
                     "[--format dat|txt] BEMENET|-",
                     runImportCodes,
                     {ModelOptions + QSet<QString>{"--password", "--format"}, {}}});

} // namespace

} // namespace zx::cli
