// zendrax-cli history: the site history listed (by site, connection and date), one entry shown
// or written out as a database file, two entries compared by setting, and old entries pruned.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "app/cli_io.h"
#include "app/cli_settings.h"
#include "files/file_lock.h"
#include "history/history_store.h"
#include "model/editor_view.h"
#include "model/settings_dump.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace zx::cli {

namespace {

constexpr int DiffSame = 0;
constexpr int DiffDifferent = 1;
constexpr int DiffError = 2;

// "2026-01-15" (the start of that day here), "2026-01-15T10:30[:00]" (local time) or with an
// offset or Z; nothing for anything else.
std::optional<QDateTime> parseDate(const QString& text) {
    if (const QDate day = QDate::fromString(text, Qt::ISODate); day.isValid())
        return day.startOfDay();
    const QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (moment.isValid()) return moment;
    return std::nullopt;
}

std::optional<QDateTime> dateOption(const ParsedArgs& p, const QString& option) {
    const std::optional<QDateTime> date = parseDate(p.value(option));
    if (!date)
        err(QStringLiteral("A(z) %1 értéke dátum (ÉÉÉÉ-HH-NN) vagy időpont (ÉÉÉÉ-HH-NNTÓÓ:PP) "
                           "lehet: %2 !!!")
                .arg(option, p.value(option)));
    return date;
}

// The options of `history` are read once for all its subcommands; each subcommand takes only its
// own, and the first other one given is refused as an unknown option.
bool onlyOptions(const ParsedArgs& p, const QSet<QString>& own) {
    static const QSet<QString> everyCommand{"--help", "-h", "--progress", "--quiet"};
    for (auto it = p.options.cbegin(); it != p.options.cend(); ++it)
        if (!own.contains(it.key()) && !everyCommand.contains(it.key())) {
            err(QStringLiteral("Ismeretlen kapcsoló: %1 !!!").arg(it.key()));
            return false;
        }
    return true;
}

std::optional<qint64> idArgument(const QString& text) {
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok || id <= 0) {
        err(QStringLiteral("Bejegyzés azonosítója (pozitív egész szám) kell: %1 !!!").arg(text));
        return std::nullopt;
    }
    return id;
}

// The store's notice (a corrupt file moved aside) on stderr; its value, or its error there.
template <typename T> std::optional<T> taken(HistoryResult<T> result) {
    if (!result.notice.isEmpty()) err(result.notice);
    if (!result.ok()) {
        err(QStringLiteral("Előzmények: %1 !!!").arg(result.error));
        return std::nullopt;
    }
    return std::move(result.value);
}

QJsonValue modelJson(std::optional<DeviceModel> model) {
    if (!model) return QJsonValue::Null;
    return *model == DeviceModel::Line16 ? 16 : 4;
}

QJsonObject entryJson(const HistoryEntry& e) {
    return QJsonObject{
        {"id", e.id},
        {"time", e.time.toUTC().toString(Qt::ISODateWithMs)},
        {"user", e.user},
        {"host", e.host},
        {"connection", QJsonObject{{"name", e.connection.name},
                                   {"port", e.connection.port},
                                   {"speed", e.connection.speed},
                                   {"phone", e.connection.phone}}},
        {"model", modelJson(e.unitModel)},
        {"file", e.file},
        {"site", e.site},
        {"owner", e.owner},
        {"operation", operationKey(e.operation)},
        {"outcome", outcomeKey(e.outcome)},
        {"message", e.message},
        {"image", e.imageDigest.isEmpty() ? QJsonValue(QJsonValue::Null) : e.imageDigest},
        {"partial", e.partial},
    };
}

QString modelText(std::optional<DeviceModel> model) {
    return model ? QString::fromStdString(modelCaption(*model)) : QString();
}

QString connectionText(const HistoryConnection& c) {
    return c.name.isEmpty() ? c.port : c.name;
}

QString outcomeText(const HistoryEntry& e) {
    return e.partial ? outcomeWord(e.outcome) + QStringLiteral(" (részleges)")
                     : outcomeWord(e.outcome);
}

// Tabs and line ends of a text (a message) as spaces: one entry, one line.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

int runList(const ParsedArgs& p) {
    if (!onlyOptions(p, {"--site", "--connection", "--since", "--json"})) return ExitUsage;
    if (!p.positional.isEmpty()) {
        err(QStringLiteral("Ismeretlen history parancs: %1 !!!").arg(p.positional.first()));
        return ExitUsage;
    }
    HistoryFilter filter{p.value("--site"), p.value("--connection"), {}};
    if (p.has("--since")) {
        const auto since = dateOption(p, "--since");
        if (!since) return ExitUsage;
        filter.since = *since;
    }
    HistoryStore store;
    const auto entries = taken(store.list(filter));
    if (!entries) return ExitFailed;
    if (p.has("--json")) {
        QJsonArray list;
        for (const HistoryEntry& e : *entries)
            list.append(entryJson(e));
        out(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)).trimmed());
        return ExitOk;
    }
    for (const HistoryEntry& e : *entries)
        out(QStringList{QString::number(e.id),
                        e.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                        operationWord(e.operation), outcomeText(e), oneLine(e.site),
                        oneLine(connectionText(e.connection)), modelText(e.unitModel),
                        e.user + '@' + e.host, oneLine(e.message)}
                .join('\t'));
    return ExitOk;
}

// The entry's facts as lines "Név: érték", then the settings of its image as show prints them.
void printEntry(const HistoryEntry& e) {
    const auto line = [](const char* name, const QString& value) {
        out(QString::fromUtf8(name) + QStringLiteral(": ") + value);
    };
    line("Azonosító", QString::number(e.id));
    line("Idő", e.time.toLocalTime().toString(Qt::ISODate));
    line("Felhasználó", e.user + '@' + e.host);
    line("Kapcsolat", e.connection.name);
    line("Port", e.connection.port);
    line("Sebesség", e.connection.speed ? QString::number(e.connection.speed) : QString());
    line("Telefonszám", e.connection.phone);
    line("Típus", modelText(e.unitModel));
    line("Fájl", e.file);
    line("Hely", e.site);
    line("Tulajdonos", e.owner);
    line("Művelet", operationWord(e.operation));
    line("Eredmény", outcomeText(e));
    line("Üzenet", e.message);
    if (!e.image) return;
    out(QString());
    for (const std::string& setting :
         settingsDumpLines(SettingsReading(recordOf(e), e.image->model)))
        out(QString::fromStdString(setting));
}

int runShow(const ParsedArgs& p) {
    if (!onlyOptions(p, {"-o", "--output", "--password", "--password-file", "--force", "--json"}))
        return ExitUsage;
    if (p.positional.size() != 2) {
        err(QStringLiteral("Egy bejegyzés azonosítóját várom !!!"));
        return ExitUsage;
    }
    const auto id = idArgument(p.positional[1]);
    if (!id) return ExitUsage;
    HistoryStore store;
    const auto entry = taken(store.entry(*id));
    if (!entry) return ExitFailed;

    const QString path = p.value("-o", p.value("--output"));
    if (path.isEmpty()) {
        if (p.has("--json")) {
            QJsonObject o = entryJson(*entry);
            if (entry->image) {
                QJsonObject settings;
                for (const ShownSetting& s :
                     readSettings(SettingsReading(recordOf(*entry), entry->image->model)))
                    settings[QString::fromStdString(s.entry->name)] = jsonOf(s.value);
                o["settings"] = settings;
            }
            out(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)).trimmed());
        } else {
            printEntry(*entry);
        }
        return ExitOk;
    }
    if (!entry->image) {
        err(QStringLiteral("A(z) %1. bejegyzéshez nem tartozik konfiguráció (%2) !!!")
                .arg(*id)
                .arg(operationWord(entry->operation)));
        return ExitFailed;
    }
    DatabaseRecord record = recordOf(*entry);
    if (!setRecordTexts(record, p, path)) return ExitUsage;
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
    return saveDatabase(CliDatabase{path, entry->image->model, record, {}, {}});
}

int runDiff(const ParsedArgs& p) {
    if (!onlyOptions(p, {"--json"})) return DiffError;
    if (p.positional.size() != 3) {
        err(QStringLiteral("Két bejegyzés azonosítóját várom !!!"));
        return DiffError;
    }
    const auto a = idArgument(p.positional[1]);
    const auto b = idArgument(p.positional[2]);
    if (!a || !b) return DiffError;
    HistoryStore store;
    const auto first = taken(store.entry(*a));
    if (!first) return DiffError;
    const auto second = taken(store.entry(*b));
    if (!second) return DiffError;
    QString refusal;
    const auto differences = historyDifferences(*first, *second, &refusal);
    if (!differences) {
        err(refusal);
        return DiffError;
    }
    printDifferences(*differences, p.has("--json"));
    return differences->empty() ? DiffSame : DiffDifferent;
}

int runPrune(const ParsedArgs& p) {
    if (!onlyOptions(p, {"--before"})) return ExitUsage;
    if (p.positional.size() != 1 || !p.has("--before")) {
        err(QStringLiteral("A history prune egyetlen kapcsolója a --before DÁTUM !!!"));
        return ExitUsage;
    }
    const auto before = dateOption(p, "--before");
    if (!before) return ExitUsage;
    HistoryStore store;
    const auto removed = taken(store.prune(*before));
    if (!removed) return ExitFailed;
    err(QStringLiteral("%1 bejegyzés törölve.").arg(*removed));
    return ExitOk;
}

// The subcommand is the first positional argument; without one the entries are listed.
int runHistory(const ParsedArgs& p) {
    const QString first = p.positional.value(0);
    if (first == QLatin1String("show")) return runShow(p);
    if (first == QLatin1String("diff")) return runDiff(p);
    if (first == QLatin1String("prune")) return runPrune(p);
    return runList(p);
}

QString historyHelp() {
    return QStringLiteral(
               "Használat: zendrax-cli history [--site HELY] [--connection KAPCSOLAT] [--since "
               "DÁTUM] "
               "[--json]\n"
               "           zendrax-cli history show AZONOSÍTÓ [--json] [-o FÁJL|- [--password "
               "JELSZÓ] [--force]]\n"
               "           zendrax-cli history diff AZONOSÍTÓ1 AZONOSÍTÓ2 [--json]\n"
               "           zendrax-cli history prune --before DÁTUM\n"
               "Az előzmények (%1) a soros vonalon végzett műveletek: a legújabb elöl, soronként "
               "az "
               "azonosító, az idő, a művelet, az eredmény, a hely, a kapcsolat, az egység típusa, "
               "a "
               "felhasználó és az üzenet, tabulátorral elválasztva.\n"
               "A DÁTUM ÉÉÉÉ-HH-NN (a nap kezdete) vagy ÉÉÉÉ-HH-NNTÓÓ:PP.\n"
               "show: a bejegyzés és konfigurációja; a -o adatbázis fájlba írja (meglévő fájlt "
               "csak a "
               "--force ír felül).\n"
               "diff: két bejegyzés konfigurációjának eltérései; kilépési érték 0 azonos, 1 eltér, "
               "2 hiba.\n"
               "prune: a DÁTUM előtti bejegyzéseket és a már sehol sem használt konfigurációkat "
               "törli.")
        .arg(QDir::toNativeSeparators(defaultHistoryPath()));
}

const bool registered = registerCommand(
    {"history",
     "history [--site HELY] [--connection KAPCSOLAT] [--since DÁTUM] [--json]\n"
     "      history show AZONOSÍTÓ [--json] [-o FÁJL|- [--password JELSZÓ] [--force]]\n"
     "      history diff AZONOSÍTÓ1 AZONOSÍTÓ2 [--json]: kilépési érték 0 azonos, 1 eltér, "
     "2 hiba\n"
     "      history prune --before DÁTUM",
     runHistory,
     {{"--site", "--connection", "--since", "-o", "--output", "--password", "--before"},
      {"--json", "--force"}},
     false,
     historyHelp});

} // namespace

} // namespace zx::cli
