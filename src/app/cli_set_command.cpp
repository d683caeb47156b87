// zendrax-cli set: changes settings of a database file by the rules of the window's editors.
// Each NAME=VALUE is what the operator would type into the control that shows NAME, followed by
// leaving it; the values run in the order given on the file's image, and the file is written once
// when every one of them was accepted. --from takes the values of a dump in show's format (a file,
// or "-" for standard input), so that show A | set B --from - copies A's settings into B. The
// names, their values and the help are the settings registry's.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "app/cli_io.h"
#include "files/database_file.h"
#include "model/model_recognition.h"
#include "model/settings_dump.h"
#include "model/settings_registry.h"

#include <optional>
#include <set>

namespace zx::cli {

namespace {

// A dump is a few hundred lines; a thousand times more is no dump.
constexpr qint64 DumpSizeLimit = 16 * 1024 * 1024;

// The names set takes, one a line, for the shell's completion: of the --model given, else of the
// model the FILE's layout fits, else of both models.
int printNames(const ParsedArgs& p) {
    std::vector<DeviceModel> models{DeviceModel::Line4, DeviceModel::Line16};
    if (p.has("--model")) {
        const auto model = parseModelOption(p.value("--model"));
        if (!model) return ExitUsage;
        models = {*model};
    } else if (p.positional.size() == 1) {
        // The layout needs no password: the image's key comes from the file's own texts.
        const std::optional<QByteArray> bytes = readInput(p.positional.first(), 64 * 1024);
        const DatabaseReadResult read = bytes ? decodeDatabaseBytes(*bytes) : DatabaseReadResult{};
        if (read.ok())
            models = {recognizeModel(read.record.image, DeviceModel::Line4)
                          .suggested.value_or(DeviceModel::Line4)};
    }
    std::set<std::string> printed;
    for (const DeviceModel m : models)
        for (const std::string& name : settableNames(m))
            if (printed.insert(name).second) out(QString::fromStdString(name));
    return ExitOk;
}

int runSet(const ParsedArgs& p) {
    // Not in the help: the names set changes, for the shell's completion.
    if (p.has("--names")) return printNames(p);
    const bool texts = p.has("--site") || p.has("--owner") || p.has("--password-new");
    if (p.positional.isEmpty() || (p.positional.size() < 2 && !p.has("--from") && !texts)) {
        err(QStringLiteral("Egy adatbázis file nevét és legalább egy NÉV=ÉRTÉK értéket, "
                           "--from LISTÁT vagy --site, --owner, --password-new kapcsolót várok "
                           "(set --help) !!!"));
        return ExitUsage;
    }
    const QString path = p.positional.first();
    if (isStandardStream(path) && isStandardStream(p.value("--from"))) {
        err(QStringLiteral("A file és a --from lista közül csak az egyik lehet a szabványos "
                           "bemenet !!!"));
        return ExitUsage;
    }
    // The dump is read before the file is locked: a pipe from show of the same file must not
    // wait for its own end.
    std::optional<QByteArray> dump;
    if (p.has("--from")) {
        dump = readInput(p.value("--from"), DumpSizeLimit);
        if (!dump) return ExitFailed;
    }
    int status = ExitOk;
    std::optional<CliDatabase> db = openDatabase(path, p, status, Access::Change);
    if (!db) return status;

    if (!setRecordTexts(db->record, p, path, "--password-new")) return ExitFailed;
    if (dump) {
        if (const SettingRefusal refused = applySettingsDump(
                db->record, db->model, std::string_view(dump->constData(), dump->size()))) {
            err(aboutFile(p.value("--from"), QString::fromStdString(*refused)));
            return ExitFailed;
        }
    }
    const SetOptions options{p.has("--force")};
    std::vector<std::string> notes;
    for (qsizetype i = 1; i < p.positional.size(); ++i) {
        const QString& assignment = p.positional[i];
        if (const SettingRefusal refused =
                applySetting(db->record, db->model, assignment.toStdString(), options, &notes)) {
            err(aboutFile(path, assignment + ": " + QString::fromStdString(*refused)));
            return ExitFailed;
        }
    }
    status = saveDatabase(*db);
    if (status == ExitOk)
        for (const std::string& note : notes)
            notice(aboutFile(path, QString::fromStdString(note)));
    return status;
}

const bool registered = registerCommand(
    {"set",
     "set FÁJL|- [--model|--as-model 4|16] [--password JELSZÓ] [--force] [--from LISTA|-] "
     "[--site HELY] [--owner TULAJDONOS] [--password-new JELSZÓ] [NÉV=ÉRTÉK...] (set --help: a "
     "nevek)",
     runSet,
     {ModelOptions + QSet<QString>{"--password", "--from", "--site", "--owner", "--password-new"},
      {"--force", "--names"}},
     false,
     [] { return QString::fromStdString(setHelpText()).trimmed(); }});

} // namespace

} // namespace zx::cli
