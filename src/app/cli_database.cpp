#include "app/cli_database.h"

#include "app/cli_common.h"
#include "files/cp1250.h"
#include "files/database_file.h"
#include "model/model_recognition.h"

namespace zx::cli {

std::optional<CliDatabase> openDatabase(const QString& path, const ParsedArgs& p, int& status) {
    const auto model = parseModelOption(p.value("--model", "4"));
    if (!model) {
        err(QStringLiteral("A --model értéke 4 vagy 16 lehet !!!"));
        status = ExitUsage;
        return std::nullopt;
    }
    DatabaseReadResult file = readDatabaseFile(path);
    if (!file.ok()) {
        err(file.message);
        status = ExitFailed;
        return std::nullopt;
    }
    // No --password is the empty password typed into the dialog.
    if (!passwordMatches(file.record, p.value("--password"))) {
        err(wrongPasswordMessage());
        status = ExitFailed;
        return std::nullopt;
    }
    DeviceModel chosen = *model;
    if (!p.has("--model")) {
        const ModelRecognition recognition = recognizeModel(file.record.image, chosen);
        if (recognition.suggested) {
            chosen = *recognition.suggested;
            err(path + ": " + QString::fromStdString(recognitionNotice(recognition)));
        }
    }
    return CliDatabase{path, chosen, std::move(file.record), file.lastModified};
}

bool setRecordTexts(DatabaseRecord& record, const ParsedArgs& p) {
    using Slot = DatabaseRecord::Slot;
    const std::pair<Slot, const char*> options[] = {
        {Slot::Site, "--site"}, {Slot::Owner, "--owner"}, {Slot::Password, "--password"}};
    DatabaseRecord changed = record;
    for (const auto& [slot, option] : options) {
        const Checked<RawText> text = toCp1250Exactly(p.value(QLatin1String(option)));
        if (!text) {
            err(QStringLiteral("%1: %2").arg(QLatin1String(option),
                                             QString::fromStdString(text.message())));
            return false;
        }
        changed.setText(slot, *text);
    }
    record = changed;
    return true;
}

std::optional<QString> exportTarget(const ParsedArgs& p) {
    const QString target = p.value("-o", p.value("--output"));
    if (p.positional.size() == 1 && !target.isEmpty()) return target;
    err(QStringLiteral("Egy adatbázis file nevét és a kimeneti file-t (-o FILE) várom !!!"));
    return std::nullopt;
}

int saveDatabase(const CliDatabase& db) {
    const QString connection = fromCp1250(db.record.text(DatabaseRecord::Slot::ConnectionName));
    const DatabaseWriteResult written = writeDatabaseFile(db.path, db.record, connection);
    if (!written.ok) {
        err(written.message);
        return ExitFailed;
    }
    return ExitOk;
}

} // namespace zx::cli
