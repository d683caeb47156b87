#include "app/cli_database.h"

#include "app/cli_common.h"
#include "app/cli_io.h"
#include "files/cp1250.h"
#include "files/database_file.h"
#include "model/model_recognition.h"
#include "model/value_rules.h"

namespace zx::cli {

std::optional<CliDatabase> openDatabase(const QString& path, const ParsedArgs& p, int& status,
                                        Access access, bool asModelOffered) {
    if (p.has("--model") && p.has("--as-model")) {
        err(QStringLiteral("A --model és az --as-model közül csak az egyik adható meg !!!"));
        status = ExitUsage;
        return std::nullopt;
    }
    const bool asModel = p.has("--as-model");
    const QString modelOption = asModel ? QStringLiteral("--as-model") : QStringLiteral("--model");
    const auto model = parseModelOption(p.value(modelOption, "4"));
    if (!model) {
        err(QStringLiteral("A %1 értéke 4 vagy 16 lehet !!!").arg(modelOption));
        status = ExitUsage;
        return std::nullopt;
    }
    std::shared_ptr<FileWriteLock> lock;
    if (access == Access::Change && !isStandardStream(path)) {
        lock = std::make_shared<FileWriteLock>(path);
        if (!lock->acquire()) {
            err(lock->message());
            status = ExitFailed;
            return std::nullopt;
        }
    }
    DatabaseReadResult file;
    if (isStandardStream(path)) {
        // One byte more than a record tells a database from a longer stream.
        const std::optional<QByteArray> bytes = readInput(path, 64 * 1024);
        if (!bytes) {
            status = ExitFailed;
            return std::nullopt;
        }
        file = decodeDatabaseBytes(*bytes);
    } else {
        file = readDatabaseFile(path);
    }
    if (!file.ok()) {
        err(aboutFile(path, file.message));
        status = ExitFailed;
        return std::nullopt;
    }
    // No --password is the empty password typed into the dialog.
    if (!passwordMatches(file.record, p.value("--password"))) {
        err(aboutFile(path, wrongPasswordMessage()));
        status = ExitFailed;
        return std::nullopt;
    }
    DeviceModel chosen = *model;
    const ModelRecognition recognition = recognizeModel(file.record.image, chosen);
    if (recognition.suggested) {
        if (asModel) {
            notice(aboutFile(path, QString::fromStdString(otherModelRefusal(recognition)) +
                                       QStringLiteral("; --as-model: mégis így olvasom")));
        } else if (!p.has("--model")) {
            chosen = *recognition.suggested;
            notice(aboutFile(path, QString::fromStdString(recognitionNotice(recognition))));
        } else {
            const QString hint = asModelOffered
                                     ? QStringLiteral("; az --as-model %1 mégis így olvassa !!!")
                                           .arg(p.value("--model"))
                                     : QStringLiteral(" !!!");
            err(aboutFile(path, QString::fromStdString(otherModelRefusal(recognition)) + hint));
            status = ExitUsage;
            return std::nullopt;
        }
    }
    return CliDatabase{path, chosen, std::move(file.record), file.lastModified, std::move(lock)};
}

bool setRecordTexts(DatabaseRecord& record, const ParsedArgs& p, const QString& path,
                    const char* passwordOption) {
    using Slot = DatabaseRecord::Slot;
    struct Text {
        Slot slot;
        const char* option;
        const FieldRule& rule;
    };
    const Text texts[] = {{Slot::Site, "--site", SiteRule},
                          {Slot::Owner, "--owner", OwnerRule},
                          {Slot::Password, passwordOption, PasswordRule}};
    DatabaseRecord changed = record;
    for (const Text& t : texts) {
        const QString option = QLatin1String(t.option);
        if (!p.has(option)) continue;
        const Checked<RawText> text = toCp1250Exactly(p.value(option));
        std::optional<std::string> refused;
        if (!text)
            refused = text.message();
        else if (const auto tooLong = fieldRefusal(t.rule, *text))
            refused = tooLong->message;
        if (refused) {
            err(aboutFile(path,
                          QStringLiteral("%1: %2").arg(option, QString::fromStdString(*refused)),
                          true));
            return false;
        }
        changed.setText(t.slot, *text);
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
    const auto bytes = databaseFileBytes(db.record, connection);
    return writeOutput(db.path,
                       QByteArrayView(reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<qsizetype>(bytes.size())),
                       FileAccess::OwnerOnly)
               ? ExitOk
               : ExitFailed;
}

} // namespace zx::cli
