// zendrax-cli new / show / diff: database files of a new configuration (never over a file that
// is there, unless forced), everything a file holds as the editors would show it, and what
// differs between two files.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "app/cli_io.h"
#include "app/cli_settings.h"
#include "files/database_file.h"
#include "files/file_lock.h"
#include "model/new_configuration.h"
#include "model/settings_dump.h"

#include <QFileInfo>

#include <QJsonDocument>
#include <QJsonObject>

#include <optional>
#include <string>
#include <vector>

namespace zx::cli {

namespace {

int runNew(const QStringList& args) {
    const auto parsed = parseCommandArgs(
        args, {"--model", "--site", "--owner", "--password", "-o", "--output"}, {"--force"});
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
    // The file is held from the test to the write, so that no other command's file is replaced.
    FileWriteLock lock(path);
    if (!isStandardStream(path)) {
        if (!lock.acquire()) {
            err(lock.message());
            return ExitFailed;
        }
        if (QFileInfo::exists(path) && !p.has("--force")) {
            err(aboutFile(path, QStringLiteral("már létezik, nem írom felül (a --force "
                                               "felülírja) !!!")));
            return ExitFailed;
        }
    }
    return saveDatabase(CliDatabase{path, *model, record, {}, {}});
}

int runShow(const QStringList& args) {
    const auto parsed = parseCommandArgs(args, {"--model", "--password"}, {"--json", "--force"});
    if (!parsed) return ExitUsage;
    const ParsedArgs& p = *parsed;
    if (p.positional.size() != 1) {
        err(QStringLiteral("Egy adatbázis file nevét várom !!!"));
        return ExitUsage;
    }
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return status;

    if (p.options.contains("--json")) {
        QJsonObject o;
        for (const ShownSetting& s : readSettings(settingsOf(*db)))
            o[QString::fromStdString(s.entry->name)] = jsonOf(s.value);
        out(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        for (const std::string& line : settingsDumpLines(settingsOf(*db)))
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
        parseCommandArgs(args, {"--model", "--password", "--password-b"}, {"--json", "--force"});
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
        {"new",
         "new --model 4|16 [--site HELY] [--owner TULAJDONOS] [--password JELSZÓ] [--force] "
         "-o FÁJL|-",
         runNew}) &&
    registerCommand(
        {"show", "show FÁJL|- [--model 4|16 [--force]] [--password JELSZÓ] [--json]", runShow}) &&
    registerCommand({"diff",
                     "diff A B [--model 4|16 [--force]] [--password JELSZÓ] [--password-b JELSZÓ] "
                     "[--json]: kilépési érték 0 azonos, 1 eltér, 2 hiba",
                     runDiff});

} // namespace

} // namespace zx::cli
