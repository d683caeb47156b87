// zendrax-cli new / show / get / diff: database files of a new configuration (never over a file
// that is there, unless forced), everything a file holds as the editors would show it, the
// settings named, and what differs between two files.
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

int runNew(const ParsedArgs& p) {
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
    if (!setRecordTexts(record, p, path)) return ExitUsage;
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

int runShow(const ParsedArgs& p) {
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

// The settings named, each as show prints it, in the order named; a name the file's model lacks
// or show does not print is refused before anything is printed.
int runGet(const ParsedArgs& p) {
    if (p.positional.size() < 2) {
        err(QStringLiteral("Egy adatbázis file nevét és legalább egy beállítás nevét várom !!!"));
        return ExitUsage;
    }
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return status;
    const SettingsReading reading = settingsOf(*db);
    std::vector<std::string> lines;
    for (qsizetype i = 1; i < p.positional.size(); ++i) {
        const std::string name = p.positional[i].toStdString();
        const Checked<SettingValue> value = readSetting(reading, name);
        if (!value) {
            err(aboutFile(db->path, QString::fromStdString(name + ": " + value.message())));
            return ExitFailed;
        }
        appendShownLines(lines, name, *value);
    }
    for (const std::string& line : lines)
        out(QString::fromStdString(line));
    return ExitOk;
}

// Exit status of diff: nothing differs, something does, or the files could not be compared.
constexpr int DiffSame = 0;
constexpr int DiffDifferent = 1;
constexpr int DiffError = 2;

int runDiff(const ParsedArgs& given) {
    ParsedArgs p = given;
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
         runNew,
         {{"--model", "--site", "--owner", "--password", "-o", "--output"}, {"--force"}}}) &&
    registerCommand({"show",
                     "show FÁJL|- [--model|--as-model 4|16] [--password JELSZÓ] [--json]",
                     runShow,
                     {ModelOptions + QSet<QString>{"--password"}, {"--json"}}}) &&
    registerCommand({"get",
                     "get FÁJL|- NÉV... [--model|--as-model 4|16] [--password JELSZÓ]: a "
                     "megnevezett beállítások a show alakjában",
                     runGet,
                     {ModelOptions + QSet<QString>{"--password"}, {}}}) &&
    registerCommand({"diff",
                     "diff A B [--model|--as-model 4|16] [--password JELSZÓ] "
                     "[--password-b JELSZÓ] [--json]: kilépési érték 0 azonos, 1 eltér, 2 hiba",
                     runDiff,
                     {ModelOptions + QSet<QString>{"--password", "--password-b"}, {"--json"}},
                     false,
                     {},
                     DiffError,
                     DiffError});

} // namespace

} // namespace zx::cli
