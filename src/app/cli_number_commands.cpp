// zendrax-cli export-numbers / import-numbers: the free-number list of a database file to and
// from a text file, one number per line, through the same reader and writer as the window.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "app/cli_io.h"
#include "files/file_bytes.h"
#include "files/free_number_file.h"
#include "model/editor_view.h"
#include "model/free_number_table.h"
#include "model/memory_map.h"

#include <optional>

namespace zx::cli {

namespace {

// The list as the window shows it: the table's entries that are not empty, in table order.
std::vector<RawText> freeNumberList(const CliDatabase& db) {
    return decodeForEditors(db.record.image, db.model).freeNumbers;
}

int runExportNumbers(const ParsedArgs& p) {
    const std::optional<QString> target = exportTarget(p);
    if (!target) return ExitUsage;
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return status;

    const std::vector<RawText> list = freeNumberList(*db);
    const std::string bytes = freeNumberFileBytes(list);
    if (!writeOutput(*target, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                     FileAccess::Shared))
        return ExitFailed;
    notice(aboutFile(*target, QStringLiteral("%1 szám").arg(list.size()), true));
    return ExitOk;
}

int runImportNumbers(const ParsedArgs& p) {
    if (p.positional.size() != 2) {
        err(QStringLiteral("Egy adatbázis file és egy számlista file nevét várom !!!"));
        return ExitUsage;
    }
    if (p.has("--append") == p.has("--replace")) {
        err(QStringLiteral("A --append (hozzáfűzés) és a --replace (felülírás) közül pontosan "
                           "az egyiket kell megadni !!!"));
        return ExitUsage;
    }
    const QString source = p.positional[1];
    if (isStandardStream(source) && isStandardStream(p.positional.first())) {
        err(QStringLiteral("Az adatbázis és a számlista közül csak az egyik lehet a szabványos "
                           "bemenet !!!"));
        return ExitUsage;
    }
    // The list is read before the database is locked (it may come from a command on the same
    // database).
    const std::optional<QByteArray> bytes = readInput(source, ListFileSizeLimit);
    if (!bytes) return ExitFailed;
    const std::string_view text(bytes->constData(), static_cast<std::size_t>(bytes->size()));
    if (auto fault = freeNumberTextFault(text)) {
        err(aboutFile(source, QString::fromStdString(*fault)));
        return ExitFailed;
    }
    int status = ExitOk;
    std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status, Access::Change);
    if (!db) return status;

    const bool append = p.has("--append");
    std::vector<RawText> list = append ? freeNumberList(*db) : std::vector<RawText>{};
    const int capacity = MemoryMap::of(db->model).freeNumberCapacity();
    const FreeNumberImport read = importFreeNumbers(text, static_cast<int>(list.size()), capacity);
    // Unlike the window, which keeps the first lines, a command takes the file whole or not.
    if (read.truncated) {
        err(aboutFile(source, QString::fromStdString(freeNumberOverflowRefusal(
                                  read, static_cast<int>(list.size()), capacity))));
        return ExitFailed;
    }
    list.insert(list.end(), read.entries.begin(), read.entries.end());
    writeFreeNumbers(db->record.image, db->model, list);
    status = saveDatabase(*db);
    // The count is the list's as the file now holds it.
    if (status == ExitOk)
        notice(aboutFile(
            db->path, QStringLiteral("%1 szám a listában").arg(freeNumberList(*db).size()), true));
    return status;
}

const bool registered =
    registerCommand({"export-numbers",
                     "export-numbers ADATBÁZIS|- [--model|--as-model 4|16] [--password JELSZÓ] "
                     "-o KIMENET|-",
                     runExportNumbers,
                     {ModelOptions + QSet<QString>{"--password", "-o", "--output"}, {}}}) &&
    registerCommand({"import-numbers",
                     "import-numbers ADATBÁZIS|- [--model|--as-model 4|16] [--password JELSZÓ] "
                     "(--append | --replace) BEMENET|-",
                     runImportNumbers,
                     {ModelOptions + QSet<QString>{"--password"}, {"--append", "--replace"}}});

} // namespace

} // namespace zx::cli
