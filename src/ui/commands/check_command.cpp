#include "ui/commands/check_command.h"

#include "ui/dialogs/findings_dialog.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/views/config_view.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>

#include <algorithm>
#include <iterator>

namespace zx {

namespace {

// Where the window shows each setting a finding can name: its page and the control's
// objectName. A list's element is a row of the control; a numbered one is a control of its own
// whose name ends in the element's number with two digits (MEco03).
struct Place {
    std::string_view setting;
    int page;
    const char* control;
    enum Kind { Single, Row, Numbered } kind = Single;
};

constexpr Place Places[] = {
    {"SmdrSpeed", PageOrder::BasicPage, "RGspeed"},
    {"SmdrMode", PageOrder::BasicPage, "RGmod"},
    {"CoPosition", PageOrder::BasicPage, "MEcopos"},
    {"CoWidth", PageOrder::BasicPage, "CBcokar"},
    {"CalledPosition", PageOrder::BasicPage, "MEcallpos"},
    {"RecordTerminator", PageOrder::BasicPage, "MErzk"},
    {"NumberTerminator", PageOrder::BasicPage, "MEszamz"},
    {"PinEnable", PageOrder::BasicPage, "chkPinEna"},
    {"DstEnable", PageOrder::BasicPage, "chkDSTena"},
    {"LineSettings", PageOrder::LinesPage, "RGdial", Place::Numbered},
    {"CoNumbers", PageOrder::LinesPage, "MEco", Place::Numbered},
    {"LocalLength", PageOrder::NumbersPage, "MEloclen"},
    {"NationalLength", PageOrder::NumbersPage, "MEnatlen"},
    {"NationalExceptions", PageOrder::NumbersPage, "lbKiv", Place::Row},
    {"MobilePrefixes", PageOrder::NumbersPage, "edMP", Place::Numbered},
    {"IntlPrefixes", PageOrder::NumbersPage, "edIP", Place::Numbered},
    {"CodeTable", PageOrder::CodesPage, "StringGrid1", Place::Row},
    {"FreeNumbers", PageOrder::FreeNumbersPage, "lbFreeCall", Place::Row},
    {"CallInNumber", PageOrder::CallInPage, "edBehiv"},
    {"CallInFlags", PageOrder::CallInPage, "chkIntGW"},
    {"BarredCallInAreas", PageOrder::CallInPage, "lbGW", Place::Row},
};

// The settings the preferences dialog edits.
bool inPreferences(const Finding& f) {
    return f.setting == "CodeLength" || f.setting == "CodeCount";
}

QString warningsTip(const std::vector<Finding>& findings) {
    constexpr int Shown = 20;
    QStringList lines;
    for (const Finding& f : findings) {
        if (lines.size() == Shown) {
            lines << QString::fromUtf8("... (F7: mind)");
            break;
        }
        lines << QString::fromStdString(f.label() + ": " + f.message);
    }
    return lines.join(QLatin1Char('\n'));
}

// The status bar's note of the warnings the last upload went with; gone once the configuration
// changes.
QLabel* checkNote(MainWindow& form) {
    if (auto* note = form.statusBarWidget->findChild<QLabel*>(QStringLiteral("lblCheck")))
        return note;
    auto* note = new QLabel(form.statusBarWidget);
    note->setObjectName(QStringLiteral("lblCheck"));
    note->setTextFormat(Qt::RichText);
    note->hide();
    form.statusBarWidget->addWidget(note);
    QObject::connect(note, &QLabel::linkActivated, &form,
                     [&form] { form.menu().checkConfiguration->trigger(); });
    QObject::connect(&form.document(), &ConfigDocument::imageChanged, note, &QLabel::hide);
    return note;
}

} // namespace

CheckCommand::CheckCommand(MainWindow& form, QObject* parent) : QObject(parent), form_(form) {
    connect(form_.menu().checkConfiguration, &QAction::triggered, this, &CheckCommand::check);
}

void CheckCommand::check() {
    // What the window shows is what is checked.
    if (!form_.commitPendingEdits()) return;
    const std::vector<Finding> findings = checkShownConfiguration(form_);
    if (findings.empty()) {
        form_.interaction().message(&form_, QString::fromStdString(findingsSummary({})));
        return;
    }
    showFindings(form_, findings);
}

std::vector<Finding> checkShownConfiguration(MainWindow& form) {
    const ConfigDocument& doc = form.document();
    return checkConfiguration(doc.record(), doc.model());
}

void showFindings(MainWindow& form, const std::vector<Finding>& findings) {
    FindingsDialog dialog(findings,
                          {form.document().currentFileName(), QDateTime::currentDateTime()},
                          form.interaction(), &form);
    form.interaction().runDialog(dialog);
    if (dialog.chosen()) goToFinding(form, *dialog.chosen());
}

bool goToFinding(MainWindow& form, const Finding& finding) {
    if (inPreferences(finding)) {
        form.menu().preferences->trigger();
        return true;
    }
    const auto place = std::find_if(std::begin(Places), std::end(Places),
                                    [&](const Place& p) { return p.setting == finding.setting; });
    if (place == std::end(Places)) return false;
    form.showView(place->page);
    auto* view = qobject_cast<ConfigView*>(form.viewPages->widget(place->page));
    if (!view) return false;
    QString control = QString::fromUtf8(place->control);
    std::optional<int> row;
    if (place->kind == Place::Numbered)
        control += QStringLiteral("%1").arg(finding.element.value_or(1), 2, 10, QLatin1Char('0'));
    else if (place->kind == Place::Row)
        row = finding.element.value_or(1);
    return view->goToControl(control, row);
}

bool uploadPassesCheck(MainWindow& form) {
    const std::vector<Finding> findings = checkShownConfiguration(form);
    const FindingCounts counts = countFindings(findings);
    QLabel* note = checkNote(form);
    note->hide();
    if (counts.errors > 0) {
        const QString question = QString::fromStdString(uploadWithErrorsQuestion(counts.errors));
        if (form.interaction().askYesNo(&form, QStringLiteral("Zendrax"), question) ==
            Interaction::Answer::Yes)
            return true;
        showFindings(form, findings);
        return false;
    }
    if (counts.warnings > 0) {
        note->setText(
            QString::fromUtf8("<a href=\"check\">Figyelmeztetés: %1</a>").arg(counts.warnings));
        note->setToolTip(warningsTip(findings));
        note->show();
    }
    return true;
}

} // namespace zx
