#include "history/history_entry.h"

#include "files/cp1250.h"

#include <QSysInfo>

#include <array>

#include <pwd.h>
#include <unistd.h>

namespace zx {

namespace {

struct OperationName {
    HistoryOperation operation;
    const char* key;
    const char* word;
};

constexpr std::array<OperationName, 7> OperationNames{{
    {HistoryOperation::Download, "download", "Letöltés"},
    {HistoryOperation::Upload, "upload", "Feltöltés"},
    {HistoryOperation::Backup, "backup", "Mentés feltöltés előtt"},
    {HistoryOperation::ReadBack, "read-back", "Visszaolvasás"},
    {HistoryOperation::Verify, "verify", "Egyeztetés"},
    {HistoryOperation::CompareDownload, "compare-download", "Letöltés összehasonlításhoz"},
    {HistoryOperation::SetClock, "set-clock", "Dátum/Idő szinkronizálás"},
}};

struct OutcomeName {
    HistoryOutcome outcome;
    const char* key;
    const char* word;
};

constexpr std::array<OutcomeName, 3> OutcomeNames{{
    {HistoryOutcome::Success, "success", "Sikeres"},
    {HistoryOutcome::Failure, "failure", "Sikertelen"},
    {HistoryOutcome::Cancelled, "cancelled", "Megszakítva"},
}};

// The login name of the user the program runs as; the environment's only when the system has
// no entry for that user.
QString systemUser() {
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace

QString operationKey(HistoryOperation operation) {
    for (const OperationName& n : OperationNames)
        if (n.operation == operation) return QString::fromLatin1(n.key);
    return {};
}

QString operationWord(HistoryOperation operation) {
    for (const OperationName& n : OperationNames)
        if (n.operation == operation) return QString::fromUtf8(n.word);
    return {};
}

std::optional<HistoryOperation> operationFromKey(const QString& key) {
    for (const OperationName& n : OperationNames)
        if (key == QLatin1String(n.key)) return n.operation;
    return std::nullopt;
}

QString outcomeKey(HistoryOutcome outcome) {
    for (const OutcomeName& n : OutcomeNames)
        if (n.outcome == outcome) return QString::fromLatin1(n.key);
    return {};
}

QString outcomeWord(HistoryOutcome outcome) {
    for (const OutcomeName& n : OutcomeNames)
        if (n.outcome == outcome) return QString::fromUtf8(n.word);
    return {};
}

std::optional<HistoryOutcome> outcomeFromKey(const QString& key) {
    for (const OutcomeName& n : OutcomeNames)
        if (key == QLatin1String(n.key)) return n.outcome;
    return std::nullopt;
}

HistoryEntry historyEntry(HistoryOperation operation, HistoryOutcome outcome,
                          const QString& message) {
    HistoryEntry entry;
    entry.operation = operation;
    entry.outcome = outcome;
    entry.message = message;
    stampEntry(entry);
    return entry;
}

void stampEntry(HistoryEntry& entry) {
    if (!entry.time.isValid()) entry.time = QDateTime::currentDateTimeUtc();
    entry.time = entry.time.toUTC();
    if (entry.user.isEmpty()) entry.user = systemUser();
    if (entry.host.isEmpty()) entry.host = QSysInfo::machineHostName();
}

DatabaseRecord recordOf(const HistoryEntry& entry) {
    DatabaseRecord record;
    record.writeHeader();
    record.setText(DatabaseRecord::Slot::Site, toCp1250(entry.site));
    record.setText(DatabaseRecord::Slot::Owner, toCp1250(entry.owner));
    record.setText(DatabaseRecord::Slot::ConnectionName, toCp1250(entry.connection.name));
    if (entry.image) record.image = entry.image->image;
    return record;
}

std::optional<std::vector<SettingDifference>>
historyDifferences(const HistoryEntry& a, const HistoryEntry& b, QString* refusal) {
    for (const HistoryEntry* e : {&a, &b}) {
        if (e->image) continue;
        if (refusal)
            *refusal = QStringLiteral("A(z) %1. bejegyzéshez nem tartozik konfiguráció (%2) !!!")
                           .arg(e->id)
                           .arg(operationWord(e->operation));
        return std::nullopt;
    }
    return compareWithImage(recordOf(a), a.image->model, b.image->image, b.image->model);
}

} // namespace zx
