// zendrax-cli set: changes settings of a database file by the rules of the window's editors.
// Each NAME=VALUE is what the operator would type into the control that shows NAME, followed by
// leaving it; the values run in the order given on the file's image, and the file is written once
// when every one of them was accepted. The names, their values and the help are the settings
// registry's.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "model/settings_registry.h"

#include <optional>

namespace zx::cli {

namespace {

int runSet(const QStringList& args) {
    if (args.contains("--help") || args.contains("-h")) {
        out(QString::fromStdString(setHelpText()).trimmed());
        return ExitOk;
    }
    // Not in the help: the names set changes, one a line, for the shell's completion.
    if (args == QStringList{QStringLiteral("--names")}) {
        for (const SettingEntry& entry : settingsRegistry())
            if (entry.store) out(QString::fromStdString(entry.name));
        return ExitOk;
    }
    const auto parsed = parseCommandArgs(args, {"--model", "--password"}, {});
    if (!parsed) return ExitUsage;
    const ParsedArgs& p = *parsed;
    if (p.positional.size() < 2) {
        err(QStringLiteral("Egy adatbázis file nevét és legalább egy NÉV=ÉRTÉK értéket várok "
                           "(set --help) !!!"));
        return ExitUsage;
    }
    int status = ExitOk;
    std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return status;

    for (qsizetype i = 1; i < p.positional.size(); ++i) {
        const QString& assignment = p.positional[i];
        if (const SettingRefusal refused =
                applySetting(db->record.image, db->model, assignment.toStdString())) {
            err(assignment + ": " + QString::fromStdString(*refused));
            return ExitFailed;
        }
    }
    return saveDatabase(*db);
}

const bool registered = registerCommand(
    {"set", "set FÁJL [--model 4|16] [--password JELSZÓ] NÉV=ÉRTÉK... (set --help: a nevek)",
     runSet});

} // namespace

} // namespace zx::cli
