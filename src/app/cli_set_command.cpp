// zendrax-cli set: changes settings of a database file by the rules of the window's editors.
// Each NAME=VALUE is what the operator would type into the control that shows NAME, followed by
// leaving it; the values run in the order given on the file's image, and the file is written once
// when every one of them was accepted.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "files/cp1250.h"
#include "model/editor_store.h"
#include "model/editor_view.h"
#include "model/memory_map.h"
#include "model/number_tables.h"

#include <QRegularExpression>

#include <optional>
#include <utility>
#include <vector>

namespace zx::cli {

namespace {

const char* const SetHelp = R"(set FILE [--model 4|16] [--password P] NAME=VALUE...

Changes settings of a database file by the rules of the window's editors. The values are
applied in the order given (CoWidth=3 CoNumbers[1]=123 stores three characters); the file is
written once, atomically, after every value was accepted. A refused value prints the message
the window would show, nothing is written and the status is not 0.

NAME and VALUE are written the way `show` prints them:
  NAME=VALUE                    a single value
  NAME[i]=VALUE                 element i of a list, counted from 1 as show numbers them
  NAME.part=VALUE               one part of a compound value (NAME[i].part for a list element)
  NAME=part=VALUE, part=VALUE   several parts, as a show line; a part whose value equals what
                                show prints is left alone (so a show line fed back changes
                                nothing)
Double quotes around a value are optional; a list or compound value needs quoting in the shell.

Names (4-line or 16-line: only in that model):
  CoPosition CalledPosition SeizeTime ReleaseTime InterdigitTime FirstToneTime1
  SecondToneTime1 CoTimeout1 CoResetTime1 LocalLength NationalLength
  FirstToneTime2 SecondToneTime2 CoTimeout2 CoResetTime2 (16-line) LoopPulseDelta (4-line)
                                a whole number 0..255
  RecordTerminator              a whole number 0..255
  CoWidth                       1, 2, 3 or 4
  NumberTerminator              (16-line) one character: 0..9, *, # or a space
  PinEnable DstEnable           (4-line) igen or nem
  SmdrSpeed                     .speed: 19200 9600 4800 2400 1200 600 300 (16-line: 9600..300)
                                .parity: Nincs, Páros, Páratlan
  SmdrMode                      .mode: Normal, Saját (16-line: Kaszkád, Normal, Saját)
                                .controlCharacters: Lenyel, Átenged
  CoNumbers[i]                  text; its first CoWidth characters are stored
  LineSettings[i]               .dialling, .seizure, .timerSet (16-line): an item as show
                                prints it; .subLine, .callIn: igen or nem. 4-line: dialling and
                                seizure on line 1 only
  NationalExceptions[i]         .area: up to 4 characters, .length: 0..255; an empty value
                                empties the entry (i = 1..16)
  MobilePrefixes[i]             (4-line, i = 1..4) up to 4 digits; empty: no prefix
  IntlPrefixes[i]               (4-line, i = 1..2) up to 2 digits; empty: no prefix
  CallInNumber                  up to 24 characters
  CallInFlags                   .foreign, .domestic: igen or nem
  BarredCallInAreas[i]          (i = 1..64) up to 2 digits; empty: frees the entry
)";

using Outcome = std::optional<QString>; // the message of a refused value; nothing when stored

struct Target {
    QString name;
    std::optional<int> index; // 1-based
    QString part;
};

std::optional<Target> parseTarget(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral(R"(^([A-Za-z][A-Za-z0-9]*)(?:\[([0-9]{1,3})\])?(?:\.([A-Za-z]+))?$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    Target t{m.captured(1), std::nullopt, m.captured(3)};
    if (m.hasCaptured(2) && !m.captured(2).isEmpty()) t.index = m.captured(2).toInt();
    return t;
}

// The inside of a quoted text as show prints it: \\, \" and \xNN stand for one character each.
QString unescape(const QString& inner) {
    QString out;
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] != '\\' || i + 1 == inner.size()) {
            out += inner[i];
            continue;
        }
        const QChar next = inner[++i];
        bool hex = false;
        const int code =
            next == 'x' && i + 2 < inner.size() ? inner.mid(i + 1, 2).toInt(&hex, 16) : 0;
        if (hex) {
            out += QChar(code);
            i += 2;
        } else {
            out += next;
        }
    }
    return out;
}

// Where the quoted text starting at `open` ends: the next quote that no backslash escapes.
qsizetype closingQuote(const QString& text, qsizetype open) {
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            return i;
    }
    return -1;
}

QString unquote(const QString& text) {
    if (text.startsWith('"') && closingQuote(text, 0) == text.size() - 1)
        return unescape(text.mid(1, text.size() - 2));
    return text;
}

using PartList = std::vector<std::pair<QString, QString>>;

// "part=value, part=value" as show prints a compound value; values may be quoted, and a quoted
// value may hold commas.
std::optional<PartList> parseParts(const QString& text) {
    PartList parts;
    qsizetype i = 0;
    const auto skipSpaces = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
    skipSpaces();
    while (i < text.size()) {
        const qsizetype eq = text.indexOf('=', i);
        if (eq < 0) return std::nullopt;
        const QString key = text.mid(i, eq - i).trimmed();
        i = eq + 1;
        QString value;
        if (i < text.size() && text[i] == '"') {
            // The closing quote is the first unescaped one followed by the end or by a comma.
            qsizetype close = i;
            for (;;) {
                close = closingQuote(text, close);
                if (close < 0) return std::nullopt;
                qsizetype after = close + 1;
                while (after < text.size() && text[after] == ' ')
                    ++after;
                if (after == text.size() || text[after] == ',') break;
            }
            value = unescape(text.mid(i + 1, close - i - 1));
            i = close + 1;
            skipSpaces();
        } else {
            const qsizetype comma = text.indexOf(',', i);
            const qsizetype end = comma < 0 ? text.size() : comma;
            value = text.mid(i, end - i).trimmed();
            i = end;
        }
        if (key.isEmpty()) return std::nullopt;
        parts.emplace_back(key, value);
        if (i < text.size()) {
            if (text[i] != ',') return std::nullopt;
            ++i;
            skipSpaces();
            if (i == text.size()) return std::nullopt;
        }
    }
    if (parts.empty()) return std::nullopt;
    return parts;
}

QString joined(const std::vector<std::string>& items) {
    QStringList out;
    for (const std::string& s : items)
        out << QString::fromStdString(s);
    return out.join(", ");
}

std::optional<int> itemIndex(const std::vector<std::string>& items, const QString& text) {
    const std::string wanted = text.toStdString();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == wanted) return static_cast<int>(i);
    return std::nullopt;
}

std::optional<bool> parseYesNo(const QString& text) {
    if (text == "igen" || text == "true") return true;
    if (text == "nem" || text == "false") return false;
    return std::nullopt;
}

QString tooLong(int limit) {
    return QStringLiteral("Legfeljebb %1 karakter lehet !!!").arg(limit);
}

std::optional<Field> byteRangeField(const QString& name) {
    for (int f = 0; f < FieldCount; ++f) {
        const Field field = static_cast<Field>(f);
        if (isByteRangeField(field) &&
            QString::fromStdString(std::string(fieldName(field))) == name)
            return field;
    }
    return std::nullopt;
}

class Setter {
  public:
    explicit Setter(CliDatabase& db) : db_(db) {}

    Outcome assign(const QString& assignment) {
        const qsizetype eq = assignment.indexOf('=');
        const std::optional<Target> target =
            eq > 0 ? parseTarget(assignment.left(eq)) : std::nullopt;
        if (!target) return QStringLiteral("NAME=VALUE alakban várom (set --help) !!!");
        return assign(*target, assignment.mid(eq + 1));
    }

  private:
    DeviceModel model() const { return db_.model; }
    const MemoryMap& map() const { return MemoryMap::of(db_.model); }
    ConfigImage& image() { return db_.record.image; }
    EditorView view() const { return decodeForEditors(db_.record.image, db_.model); }

    Outcome store(const Checked<ImagePatch>& result) {
        if (!result) return QString::fromStdString(result.message());
        // Every value a command names must land somewhere; an editor that stores nothing for it
        // (a CO width of 0 leaves no room for a CO number) is a refusal here.
        if (result->empty()) return QStringLiteral("Ez az érték itt nem tárolható !!!");
        result->applyTo(image());
        return std::nullopt;
    }

    template <typename Store> Outcome storeTables(const Checked<Store>& result) {
        if (!result) return QString::fromStdString(result.message());
        result->patch.applyTo(image());
        return std::nullopt;
    }

    Outcome requireField(Field f) const {
        if (map().has(f)) return std::nullopt;
        return QStringLiteral("Ebben a típusban nincs ilyen beállítás !!!");
    }

    static Outcome requireSingle(const Target& t) {
        if (!t.index && t.part.isEmpty()) return std::nullopt;
        return QStringLiteral("Ez a beállítás egyetlen érték, sem lista, sem összetett !!!");
    }

    // The element number of a list, 1..count.
    static Outcome requireIndex(const Target& t, int count, bool partAllowed = false) {
        if (!t.index || *t.index < 1 || *t.index > count)
            return QStringLiteral("Az elem sorszáma kell: %1[1..%2] !!!").arg(t.name).arg(count);
        if (!partAllowed && !t.part.isEmpty())
            return QStringLiteral("Ennek a listának az elemei nem összetettek !!!");
        return std::nullopt;
    }

    // The parts a value names: one with NAME.part, several with "part=value, ...". `whole` tells
    // which form was used.
    static Outcome partsOf(const Target& t, const QString& value, const QStringList& known,
                           PartList& parts, bool& whole) {
        whole = t.part.isEmpty();
        if (!whole) {
            parts = {{t.part, unquote(value)}};
        } else if (const auto parsed = parseParts(value)) {
            parts = *parsed;
        } else {
            return QStringLiteral("Összetett érték: rész=érték, rész=érték (lehet: %1) !!!")
                .arg(known.join(", "));
        }
        for (const auto& [part, text] : parts)
            if (!known.contains(part))
                return QStringLiteral("Ismeretlen rész: %1 (lehet: %2) !!!")
                    .arg(part, known.join(", "));
        return std::nullopt;
    }

    static Outcome choose(const std::vector<std::string>& items, const QString& text, int& item) {
        const std::optional<int> i = itemIndex(items, text);
        if (!i)
            return QStringLiteral("Ismeretlen érték: %1 (lehet: %2) !!!").arg(text, joined(items));
        item = *i;
        return std::nullopt;
    }

    static Outcome yesNo(const QString& text, bool& flag) {
        const std::optional<bool> b = parseYesNo(text);
        if (!b) return QStringLiteral("Igen vagy nem lehet !!!");
        flag = *b;
        return std::nullopt;
    }

    Outcome assign(const Target& t, const QString& raw) {
        const QString value = unquote(raw);
        const QString& n = t.name;
        if (const auto field = byteRangeField(n)) {
            if (auto e = requireField(*field)) return e;
            if (auto e = requireSingle(t)) return e;
            return store(storeByteRange(model(), *field, value.toStdString()));
        }
        if (n == "RecordTerminator") {
            if (auto e = requireSingle(t)) return e;
            return store(storeRecordTerminator(model(), value.toStdString()));
        }
        if (n == "CoWidth") {
            if (auto e = requireSingle(t)) return e;
            return store(storeCoWidth(model(), itemIndex(coWidthItems(), value).value_or(-1)));
        }
        if (n == "NumberTerminator") {
            if (auto e = requireField(Field::NumberTerminator)) return e;
            if (auto e = requireSingle(t)) return e;
            if (value.size() > 1) return tooLong(1);
            return store(storeNumberTerminator(model(), toCp1250(value)));
        }
        if (n == "PinEnable" || n == "DstEnable") return setPinOrDst(t, value);
        if (n == "SmdrSpeed") return setSpeed(t, raw);
        if (n == "SmdrMode") return setMode(t, raw);
        if (n == "CoNumbers") {
            if (auto e = requireIndex(t, map().lineCount())) return e;
            return store(storeCoNumber(image(), model(), *t.index, toCp1250(value)));
        }
        if (n == "LineSettings") return setLine(t, raw);
        if (n == "NationalExceptions") return setException(t, raw);
        if (n == "MobilePrefixes" || n == "IntlPrefixes") return setPrefix(t, value);
        if (n == "CallInNumber" || n == "CallInFlags") return setCallIn(t, raw);
        if (n == "BarredCallInAreas") return setBarred(t, value);
        static const QStringList elsewhere{
            "Model",      "Site",      "Owner",     "ConnectionName", "LastModified",
            "CodeLength", "CodeCount", "CodeTable", "CodeStatus",     "FreeNumbers"};
        if (elsewhere.contains(n)) return QStringLiteral("Ezt a set parancs nem állítja !!!");
        return QStringLiteral("Ismeretlen beállítás (set --help) !!!");
    }

    Outcome setPinOrDst(const Target& t, const QString& value) {
        if (auto e = requireField(Field::PinEnable)) return e;
        if (auto e = requireSingle(t)) return e;
        const EditorView v = view();
        bool pin = v.pinEnable.value_or(false);
        bool dst = v.dstEnable.value_or(false);
        if (auto e = yesNo(value, t.name == "PinEnable" ? pin : dst)) return e;
        return store(storePinAndSummerTime(model(), pin, dst));
    }

    Outcome setSpeed(const Target& t, const QString& raw) {
        if (t.index) return requireSingle(t);
        PartList parts;
        bool whole = false;
        if (auto e = partsOf(t, raw, {"speed", "parity"}, parts, whole)) return e;
        const EditorView v = view();
        int speed = v.speedItem, parity = v.parityItem;
        bool touched = false;
        for (const auto& [part, text] : parts) {
            int& item = part == "speed" ? speed : parity;
            const int shown = item;
            if (auto e = choose(part == "speed" ? speedItems(model()) : parityItems(), text, item))
                return e;
            touched |= !whole || item != shown;
        }
        return touched ? store(storeSpeedAndParity(model(), speed, parity)) : std::nullopt;
    }

    Outcome setMode(const Target& t, const QString& raw) {
        if (t.index) return requireSingle(t);
        PartList parts;
        bool whole = false;
        if (auto e = partsOf(t, raw, {"mode", "controlCharacters"}, parts, whole)) return e;
        const EditorView v = view();
        int mode = v.modeItem, twentyHex = v.twentyHexItem;
        bool touched = false;
        for (const auto& [part, text] : parts) {
            int& item = part == "mode" ? mode : twentyHex;
            const int shown = item;
            if (auto e = choose(part == "mode" ? modeItems(model()) : twentyHexItems(), text, item))
                return e;
            touched |= !whole || item != shown;
        }
        return touched ? store(storeMode(model(), mode, twentyHex)) : std::nullopt;
    }

    Outcome setLine(const Target& t, const QString& raw) {
        const int line = t.index.value_or(0);
        if (auto e = requireIndex(t, map().lineCount(), true)) return e;
        PartList parts;
        bool whole = false;
        if (auto e =
                partsOf(t, raw, {"line", "dialling", "seizure", "timerSet", "subLine", "callIn"},
                        parts, whole))
            return e;
        std::vector<LineRowView> rows = view().lines;
        LineRowView& row = rows[static_cast<std::size_t>(line - 1)];
        std::vector<LineControl> left;
        for (const auto& [part, text] : parts) {
            if (part == "line") {
                if (text != QString::number(line))
                    return QStringLiteral("A line rész a sor száma, %1 !!!").arg(line);
                continue;
            }
            const bool flag = part == "subLine" || part == "callIn";
            const LineControl control = part == "dialling"   ? LineControl::Dial
                                        : part == "seizure"  ? LineControl::Seizure
                                        : part == "timerSet" ? LineControl::TimerSet
                                        : part == "subLine"  ? LineControl::SubLine
                                                             : LineControl::CallIn;
            bool changed = false;
            if (flag) {
                bool& b = part == "subLine" ? row.subLine : row.callIn;
                const bool shown = b;
                if (auto e = yesNo(text, b)) return e;
                changed = b != shown;
            } else {
                std::optional<int>& item = control == LineControl::Dial      ? row.dialItem
                                           : control == LineControl::Seizure ? row.seizureItem
                                                                             : row.timerItem;
                if (!item) return QStringLiteral("Ebben a sorban nincs ilyen választás !!!");
                const std::vector<std::string> items =
                    control == LineControl::Dial      ? dialItems(model(), line)
                    : control == LineControl::Seizure ? seizureItems()
                                                      : timerSetItems();
                const int shown = *item;
                int chosen = shown;
                if (auto e = choose(items, text, chosen)) return e;
                item = chosen;
                changed = chosen != shown;
            }
            if (!whole || changed) left.push_back(control);
        }
        // The 16-line rows are stored whole from any control; the 4-line unit stores each
        // control left on its own.
        const std::size_t stores =
            model() == DeviceModel::Line16 ? std::min<std::size_t>(left.size(), 1) : left.size();
        for (std::size_t i = 0; i < stores; ++i)
            if (auto e = store(storeLineSettings(image(), model(), {left[i], line}, rows)))
                return e;
        return std::nullopt;
    }

    Outcome setException(const Target& t, const QString& raw) {
        if (auto e = requireIndex(t, map().exceptionCount(), true)) return e;
        const int entry = *t.index - 1;
        const EditorView v = view();
        const NumberTablesForm form = numberTablesForm(v);
        if (t.part.isEmpty() && unquote(raw).isEmpty())
            return storeTables(emptyExceptionEntry(model(), form, entry));
        PartList parts;
        bool whole = false;
        if (auto e = partsOf(t, raw, {"area", "length"}, parts, whole)) return e;
        const ExceptionView& shown = v.exceptions[static_cast<std::size_t>(entry)];
        QString area = QString::fromStdString(shown.area);
        QString length = QString::fromStdString(shown.length);
        bool touched = !whole;
        for (const auto& [part, text] : parts) {
            QString& into = part == "area" ? area : length;
            if (text.size() > (part == "area" ? 4 : 3)) return tooLong(part == "area" ? 4 : 3);
            touched |= text != into;
            into = text;
        }
        if (!touched) return std::nullopt;
        return storeTables(
            changeExceptionEntry(model(), form, entry, toCp1250(area), length.toStdString()));
    }

    Outcome setPrefix(const Target& t, const QString& value) {
        const bool mobile = t.name == "MobilePrefixes";
        if (auto e = requireField(mobile ? Field::MobilePrefixes : Field::IntlPrefixes)) return e;
        const int count = mobile ? 4 : 2;
        if (auto e = requireIndex(t, count)) return e;
        const int limit = mobile ? 4 : 2;
        if (value.size() > limit) return tooLong(limit);
        NumberTablesForm form = numberTablesForm(view());
        const auto k = static_cast<std::size_t>(*t.index - 1);
        (mobile ? form.mobilePrefixes[k] : form.intlPrefixes[k]) = toCp1250(value);
        return storeTables(storeNumberTables(model(), form));
    }

    Outcome setCallIn(const Target& t, const QString& raw) {
        CallInForm form = callInForm(view());
        if (t.name == "CallInNumber") {
            if (auto e = requireSingle(t)) return e;
            const QString number = unquote(raw);
            if (number.size() > 24) return tooLong(24);
            form.number = toCp1250(number);
            return store(storeCallIn(image(), model(), form));
        }
        if (t.index) return requireSingle(t);
        PartList parts;
        bool whole = false;
        if (auto e = partsOf(t, raw, {"foreign", "domestic"}, parts, whole)) return e;
        bool touched = false;
        for (const auto& [part, text] : parts) {
            bool& flag = part == "foreign" ? form.foreign : form.domestic;
            const bool shown = flag;
            if (auto e = yesNo(text, flag)) return e;
            touched |= !whole || flag != shown;
        }
        return touched ? store(storeCallIn(image(), model(), form)) : std::nullopt;
    }

    Outcome setBarred(const Target& t, const QString& value) {
        CallInForm form = callInForm(view());
        if (auto e = requireIndex(t, static_cast<int>(form.barredItems.size()))) return e;
        if (value.size() > 2) return tooLong(2);
        const int entry = *t.index - 1;
        return storeTables(value.isEmpty()
                               ? emptyBarredEntry(image(), model(), form, entry)
                               : changeBarredEntry(image(), model(), form, entry, toCp1250(value)));
    }

    CliDatabase& db_;
};

int runSet(const QStringList& args) {
    if (args.contains("--help") || args.contains("-h")) {
        out(QString::fromUtf8(SetHelp).trimmed());
        return ExitOk;
    }
    const auto parsed = parseCommandArgs(args, {"--model", "--password"}, {});
    if (!parsed) return ExitUsage;
    const ParsedArgs& p = *parsed;
    if (p.positional.size() < 2) {
        err(QStringLiteral("Egy adatbázis file nevét és legalább egy NAME=VALUE értéket várok "
                           "(set --help) !!!"));
        return ExitUsage;
    }
    int status = ExitOk;
    std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return status;

    Setter setter(*db);
    for (qsizetype i = 1; i < p.positional.size(); ++i) {
        const QString& assignment = p.positional[i];
        if (const Outcome refused = setter.assign(assignment)) {
            err(assignment + ": " + *refused);
            return ExitFailed;
        }
    }
    return saveDatabase(*db);
}

const bool registered = registerCommand(
    {"set", "set FILE [--model 4|16] [--password P] NAME=VALUE... (set --help: the names)",
     runSet});

} // namespace

} // namespace zx::cli
