// zendrax-cli check: a database file's configuration checked by the rules the window checks it
// with before an upload; one line a finding (severity, place, name, message, tab-separated) or
// JSON. The exit status says the worst: 0 nothing found, 1 warnings only, 2 errors, 3 the file
// could not be read (or the command line was wrong).
#include "app/cli_args.h"
#include "app/cli_check.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "model/configuration_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zx::cli {

namespace {

constexpr int CheckClean = 0;
constexpr int CheckWarnings = 1;
constexpr int CheckErrors = 2;
constexpr int CheckUnread = 3;

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

QJsonObject jsonOf(const Finding& f) {
    QJsonObject o{{"severity", f.severity == Severity::Error ? "error" : "warning"},
                  {"name", qtext(f.name())},
                  {"setting", qtext(f.setting)},
                  {"label", qtext(f.label())},
                  {"page", qtext(f.page())},
                  {"message", qtext(f.message)}};
    if (f.element) o["element"] = *f.element;
    return o;
}

int statusOf(FindingCounts counts) {
    if (counts.errors > 0) return CheckErrors;
    return counts.warnings > 0 ? CheckWarnings : CheckClean;
}

int runCheck(const ParsedArgs& p) {
    if (p.positional.size() != 1) {
        err(QStringLiteral("Egy adatbázis file nevét várom !!!"));
        return CheckUnread;
    }
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(p.positional.first(), p, status);
    if (!db) return CheckUnread;

    const std::vector<Finding> findings = checkConfiguration(db->record, db->model);
    const FindingCounts counts = countFindings(findings);
    if (p.has("--json")) {
        QJsonArray list;
        for (const Finding& f : findings)
            list.append(jsonOf(f));
        const QJsonObject o{
            {"errors", counts.errors}, {"warnings", counts.warnings}, {"findings", list}};
        out(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        // One write for every line: a full table's thousand findings are not a thousand flushes.
        std::string lines;
        for (const Finding& f : findings)
            lines += findingLine(f) + '\n';
        if (!lines.empty()) {
            lines.pop_back();
            out(qtext(lines));
        }
        notice(qtext(findingsSummary(counts)));
    }
    return statusOf(counts);
}

const bool registered = registerCommand({"check",
                                         "check FÁJL [--model|--as-model 4|16] [--password "
                                         "JELSZÓ] [--json]: kilépési érték 0 rendben, "
                                         "1 csak figyelmeztetés, 2 hiba, 3 a file nem olvasható",
                                         runCheck,
                                         {ModelOptions + QSet<QString>{"--password"}, {"--json"}},
                                         false,
                                         {},
                                         CheckUnread,
                                         CheckUnread});

} // namespace

std::optional<int> refuseUploadOnErrors(const CliDatabase& db, const ParsedArgs& args) {
    const std::vector<Finding> findings = checkConfiguration(db.record, db.model);
    const FindingCounts counts = countFindings(findings);
    // The findings explain a refusal; beside an upload that goes on they are notices.
    const bool refused = counts.errors > 0 && !args.has("--force");
    for (const Finding& f : findings)
        refused ? err(qtext(findingLine(f))) : notice(qtext(findingLine(f)));
    if (counts.errors == 0) return std::nullopt;
    if (!refused) {
        notice(QStringLiteral("A konfiguráció %1 hibát tartalmaz; --force: mégis feltöltöm.")
                   .arg(counts.errors));
        return std::nullopt;
    }
    err(QStringLiteral("A konfiguráció %1 hibát tartalmaz: nem töltöm fel (--force: mégis) !!!")
            .arg(counts.errors));
    return CheckErrors;
}

} // namespace zx::cli
