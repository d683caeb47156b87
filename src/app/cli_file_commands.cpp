// zendrax-cli new / show / diff: database files of a new configuration, everything a file holds
// as the editors would show it, and what differs between two files.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "app/cli_settings.h"
#include "files/database_file.h"
#include "model/new_configuration.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <optional>
#include <string>
#include <vector>

namespace zx::cli {

namespace {

int runNew(const QStringList& args) {
    const auto parsed = parseCommandArgs(
        args, {"--model", "--site", "--owner", "--password", "-o", "--output"}, {});
    if (!parsed) return ExitUsage;
    const ParsedArgs& p = *parsed;
    if (!p.positional.isEmpty()) {
        err(QStringLiteral("Fölösleges argumentum: %1 !!!").arg(p.positional.first()));
        return ExitUsage;
    }
    const auto model = parseModelOption(p.options.value("--model"));
    if (!model) {
        err(QStringLiteral("A --model értéke 4 vagy 16 lehet !!!"));
        return ExitUsage;
    }
    const QString path = p.options.value("-o", p.options.value("--output"));
    if (path.isEmpty()) {
        err(QStringLiteral("Hiányzik a kimeneti file (-o FILE) !!!"));
        return ExitUsage;
    }

    DatabaseRecord record;
    applyNewConfiguration(record, *model);
    if (!setRecordTexts(record, p)) return ExitUsage;
    const DatabaseWriteResult written = writeDatabaseFile(path, record, QString());
    if (!written.ok) {
        err(written.message);
        return ExitFailed;
    }
    return 0;
}

int runShow(const QStringList& args) {
    const auto parsed = parseCommandArgs(args, {"--model", "--password"}, {"--json"});
    if (!parsed) return ExitUsage;
    const ParsedArgs& p = *parsed;
    if (p.positional.size() != 1) {
        err(QStringLiteral("Egy adatbázis file nevét várom !!!"));
        return ExitUsage;
    }
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return status;

    const std::vector<ShownSetting> settings = readSettings(settingsOf(*db));
    if (p.options.contains("--json")) {
        QJsonObject o;
        for (const ShownSetting& s : settings)
            o[QString::fromStdString(s.entry->name)] = jsonOf(s.value);
        out(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        std::vector<std::string> lines;
        for (const ShownSetting& s : settings)
            appendShownLines(lines, s.entry->name, s.value);
        for (const std::string& line : lines)
            out(QString::fromStdString(line));
    }
    return ExitOk;
}

// Exit status of diff: nothing differs, something does, or the files could not be compared.
constexpr int DiffSame = 0;
constexpr int DiffDifferent = 1;
constexpr int DiffError = 2;

int runDiff(const QStringList& args) {
    const auto parsed =
        parseCommandArgs(args, {"--model", "--password", "--password-b"}, {"--json"});
    if (!parsed) return DiffError;
    ParsedArgs p = *parsed;
    if (p.positional.size() != 2) {
        err(QStringLiteral("Két adatbázis file nevét várom !!!"));
        return DiffError;
    }
    int status = ExitOk;
    const std::optional<CliDatabase> a = openDatabase(p.positional[0], p, status);
    if (!a) return DiffError;
    p.options["--password"] = p.value("--password-b", p.value("--password"));
    const std::optional<CliDatabase> b = openDatabase(p.positional[1], p, status);
    if (!b) return DiffError;

    const std::vector<SettingDifference> differences =
        compareSettings(settingsOf(*a), settingsOf(*b));
    printDifferences(differences, p.has("--json"));
    return differences.empty() ? DiffSame : DiffDifferent;
}

const bool registered =
    registerCommand(
        {"new", "new --model 4|16 [--site HELY] [--owner TULAJDONOS] [--password JELSZÓ] -o FÁJL",
         runNew}) &&
    registerCommand({"show", "show FÁJL [--model 4|16] [--password JELSZÓ] [--json]", runShow}) &&
    registerCommand({"diff",
                     "diff A B [--model 4|16] [--password JELSZÓ] [--password-b JELSZÓ] [--json]: "
                     "kilépési érték 0 azonos, 1 eltér, 2 hiba",
                     runDiff});

} // namespace

} // namespace zx::cli
