// zendrax-cli new / show: database files of a new configuration, and everything a file holds
// as the editors would show it.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "files/cp1250.h"
#include "files/database_file.h"
#include "model/editor_view.h"
#include "model/new_configuration.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>

#include <optional>
#include <utility>
#include <vector>

namespace zx::cli {

namespace {

QString utf8(const std::string& s) {
    return QString::fromStdString(s);
}
QString raw(const RawText& s) {
    return fromCp1250(s);
}

QString item(const std::vector<std::string>& items, int index) {
    return index >= 0 && index < static_cast<int>(items.size())
               ? utf8(items[static_cast<std::size_t>(index)])
               : QString();
}

template <typename Range> QJsonArray rawStrings(const Range& r) {
    QJsonArray a;
    for (const RawText& s : r)
        a.append(raw(s));
    return a;
}

template <typename Range> QJsonArray utf8Strings(const Range& r) {
    QJsonArray a;
    for (const std::string& s : r)
        a.append(utf8(s));
    return a;
}

using Entries = std::vector<std::pair<QString, QJsonValue>>;

QJsonValue lineSettings(const EditorView& v) {
    QJsonArray rows;
    int n = 1;
    for (const LineRowView& row : v.lines) {
        QJsonObject o;
        o["line"] = n;
        if (row.dialItem) o["dialling"] = item(dialItems(v.model, n), *row.dialItem);
        if (row.seizureItem) o["seizure"] = item(seizureItems(), *row.seizureItem);
        if (row.timerItem) o["timerSet"] = item(timerSetItems(), *row.timerItem);
        o["subLine"] = row.subLine;
        o["callIn"] = row.callIn;
        rows.append(o);
        ++n;
    }
    return rows;
}

QJsonValue codeTable(const EditorView& v) {
    static const QStringList columns4{"Helyi", "Távolsági", "Mobil", "Nemzetközi"};
    static const QMap<QString, QString> levels{
        {"T", "Tiltott"}, {"H", "Helyi"}, {"B", "Belföldi"}, {"M", "Mobil"}, {"N", "Nemzetközi"}};
    QJsonArray rows;
    for (const CodeRowView& row : v.codes) {
        QJsonObject o;
        o["code"] = raw(row.code);
        if (v.model == DeviceModel::Line4) {
            QJsonObject rights;
            for (qsizetype c = 0; c < columns4.size() && c < std::ssize(row.rights); ++c)
                rights[columns4[c]] = utf8(row.rights[static_cast<std::size_t>(c)]);
            o["rights"] = rights;
        } else {
            o["rights"] = row.rights.empty() ? QString() : levels.value(utf8(row.rights[0]));
        }
        rows.append(o);
    }
    return rows;
}

Entries describe(const CliDatabase& db) {
    using Slot = DatabaseRecord::Slot;
    const DeviceModel model = db.model;
    const DatabaseRecord& r = db.record;
    const EditorView v = decodeForEditors(r.image, model);
    Entries e;
    e.emplace_back("Model", modelCaption(model));
    e.emplace_back("Site", raw(r.text(Slot::Site)));
    e.emplace_back("Owner", raw(r.text(Slot::Owner)));
    e.emplace_back("ConnectionName", raw(r.text(Slot::ConnectionName)));
    e.emplace_back("LastModified", db.lastModified.toString(Qt::ISODate));

    e.emplace_back("SmdrSpeed", QJsonObject{{"speed", item(speedItems(model), v.speedItem)},
                                            {"parity", item(parityItems(), v.parityItem)}});
    e.emplace_back("SmdrMode",
                   QJsonObject{{"mode", item(modeItems(model), v.modeItem)},
                               {"controlCharacters", item(twentyHexItems(), v.twentyHexItem)}});
    e.emplace_back("CoPosition", v.coPosition);
    e.emplace_back("CoWidth", item(coWidthItems(), v.coWidthItem));
    e.emplace_back("CalledPosition", v.calledPosition);
    e.emplace_back("RecordTerminator", v.recordTerminator);
    if (v.numberTerminator) e.emplace_back("NumberTerminator", QString(QChar(*v.numberTerminator)));
    if (v.pinEnable) e.emplace_back("PinEnable", *v.pinEnable);
    if (v.dstEnable) e.emplace_back("DstEnable", *v.dstEnable);

    e.emplace_back("LineSettings", lineSettings(v));
    QJsonArray coNumbers;
    for (const LineRowView& row : v.lines)
        coNumbers.append(raw(row.coNumber));
    e.emplace_back("CoNumbers", coNumbers);

    e.emplace_back("SeizeTime", v.seizeTime);
    e.emplace_back("ReleaseTime", v.releaseTime);
    e.emplace_back("InterdigitTime", v.interdigitTime);
    e.emplace_back("FirstToneTime1", v.firstTone1);
    e.emplace_back("SecondToneTime1", v.secondTone1);
    e.emplace_back("CoTimeout1", v.coTimeout1);
    e.emplace_back("CoResetTime1", v.coReset1);
    if (v.firstTone2) e.emplace_back("FirstToneTime2", *v.firstTone2);
    if (v.secondTone2) e.emplace_back("SecondToneTime2", *v.secondTone2);
    if (v.coTimeout2) e.emplace_back("CoTimeout2", *v.coTimeout2);
    if (v.coReset2) e.emplace_back("CoResetTime2", *v.coReset2);
    if (v.loopPulseDelta) e.emplace_back("LoopPulseDelta", *v.loopPulseDelta);

    e.emplace_back("LocalLength", v.localLength);
    e.emplace_back("NationalLength", v.nationalLength);
    QJsonArray exceptions;
    for (const ExceptionView& x : v.exceptions)
        exceptions.append(QJsonObject{{"area", utf8(x.area)}, {"length", utf8(x.length)}});
    e.emplace_back("NationalExceptions", exceptions);
    if (v.mobilePrefixes) e.emplace_back("MobilePrefixes", utf8Strings(*v.mobilePrefixes));
    if (v.intlPrefixes) e.emplace_back("IntlPrefixes", utf8Strings(*v.intlPrefixes));

    e.emplace_back("CallInNumber", raw(v.callInNumber));
    e.emplace_back("CallInFlags",
                   QJsonObject{{"foreign", v.callInForeign}, {"domestic", v.callInDomestic}});
    e.emplace_back("BarredCallInAreas", utf8Strings(v.barredAreas));

    e.emplace_back("CodeLength", v.codeLength);
    e.emplace_back("CodeCount", v.codeCount);
    e.emplace_back("CodeTable", codeTable(v));
    e.emplace_back("CodeStatus", utf8(v.codePanelText()));
    e.emplace_back("FreeNumbers", rawStrings(v.freeNumbers));
    return e;
}

// A stored text between quotes, as it can be read back: control characters as \xNN, and the
// backslash and the quote escaped, so that a file's texts cannot start lines of their own or
// reach the terminal as escape sequences.
QString quotedText(const QString& text) {
    QString out(QLatin1Char('"'));
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\') + c;
        else if (c.category() == QChar::Other_Control)
            out += QStringLiteral("\\x") +
                   QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString scalarText(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return quotedText(value.toString());
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("igen") : QStringLiteral("nem");
    case QJsonValue::Double:
        return QString::number(value.toInteger());
    case QJsonValue::Object: {
        QStringList parts;
        const QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            parts << it.key() + '=' + scalarText(it.value());
        return parts.join(", ");
    }
    default:
        return QString();
    }
}

void printText(const Entries& entries) {
    for (const auto& [key, value] : entries) {
        if (!value.isArray()) {
            out(key + ": " + scalarText(value));
            continue;
        }
        const QJsonArray a = value.toArray();
        out(QStringLiteral("%1: (%2)").arg(key).arg(a.size()));
        for (qsizetype i = 0; i < a.size(); ++i)
            out(QStringLiteral("  %1: %2").arg(i + 1).arg(scalarText(a[i])));
    }
}

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

    const Entries entries = describe(*db);
    if (p.options.contains("--json")) {
        QJsonObject o;
        for (const auto& [key, value] : entries)
            o[key] = value;
        out(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        printText(entries);
    }
    return 0;
}

const bool registered =
    registerCommand(
        {"new", "new --model 4|16 [--site S] [--owner O] [--password P] -o FILE", runNew}) &&
    registerCommand({"show", "show FILE [--model 4|16] [--password P] [--json]", runShow});

} // namespace

} // namespace zx::cli
