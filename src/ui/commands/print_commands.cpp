#include "ui/commands/print_commands.h"

#include "ui/dialogs/interaction.h"
#include "ui/print/printer_page.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace zx {

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

std::vector<std::string> utf8Lines(const QStringList& lines) {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines)
        out.push_back(utf8(line));
    return out;
}

PrintChoice choiceOf(QAbstractPrintDialog::PrintRange range) {
    switch (range) {
    case QAbstractPrintDialog::Selection:
        return PrintChoice::Selection;
    case QAbstractPrintDialog::PageRange:
        return PrintChoice::Range;
    default:
        return PrintChoice::All;
    }
}

// The preview dialog's own action with the given caption.
QAction* previewAction(QPrintPreviewDialog& dialog, const char* caption) {
    const QString text = QCoreApplication::translate("QPrintPreviewDialog", caption);
    for (QAction* action : dialog.findChildren<QAction*>())
        if (action->text() == text) return action;
    return nullptr;
}

// Hides choices of the print dialog that the job would not honour. The dialog shows its page
// range whenever the print service could pick pages itself, even where the program offered no
// range, and shows its widgets afresh each time it is shown: they are hidden after that.
class HiddenChoices : public QObject {
  public:
    HiddenChoices(QDialog& dialog, QStringList names) : QObject(&dialog), names_(std::move(names)) {
        dialog.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            for (const QString& name : names_)
                if (auto* widget = watched->findChild<QWidget*>(name)) widget->hide();
        return QObject::eventFilter(watched, event);
    }

  private:
    QStringList names_;
};

// The share of the screen's width and height the preview opens at.
constexpr double PreviewShare = 0.85;

} // namespace

PrintCommands::PrintCommands(Interaction& interaction, PrintSources sources, QObject* parent)
    : QObject(parent), interaction_(interaction), sources_(std::move(sources)) {}

PrintCommands::~PrintCommands() = default;

void PrintCommands::connectActions(QAction* pageSetup, QAction* print) {
    if (pageSetup) connect(pageSetup, &QAction::triggered, this, &PrintCommands::pageSetup);
    if (print) connect(print, &QAction::triggered, this, &PrintCommands::print);
}

QWidget* PrintCommands::window() const {
    return sources_.window ? sources_.window() : nullptr;
}

PrintCommands::Kind PrintCommands::kindOfPage(int page) const {
    switch (page) {
    case CodesPage:
        return Kind::CodeList;
    case FreeNumbersPage:
        return Kind::FreeNumbers;
    case TerminalPage:
        return Kind::Terminal;
    default:
        return Kind::WindowPage;
    }
}

void PrintCommands::pageSetup() {
    QPageSetupDialog dialog(&printer(), window());
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    interaction_.runDialog(dialog);
}

void PrintCommands::print() {
    if (sources_.commitEdits && !sources_.commitEdits()) return;
    const Kind kind = kindOfPage(sources_.page ? sources_.page() : BasicPage);
    int count = 0;
    switch (kind) {
    case Kind::WindowPage:
        if (!sources_.pageWidget || !sources_.pageWidget()) return;
        break;
    case Kind::Terminal: {
        const QStringList lines = sources_.terminalText ? sources_.terminalText() : QStringList();
        if (std::all_of(lines.begin(), lines.end(),
                        [](const QString& line) { return line.trimmed().isEmpty(); })) {
            interaction_.message(window(), QString::fromUtf8(NothingToPrint));
            return;
        }
        break;
    }
    case Kind::CodeList:
        count = sources_.codeRows ? static_cast<int>(sources_.codeRows().size()) : 0;
        break;
    case Kind::FreeNumbers:
        count = sources_.freeNumbers ? static_cast<int>(sources_.freeNumbers().size()) : 0;
        break;
    }

    QPrintDialog dialog(&printer(), window());
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    prepare(dialog, kind, count);
    if (interaction_.runDialog(dialog) != QDialog::Accepted) return;
    if (kind == Kind::CodeList || kind == Kind::FreeNumbers)
        keptChoice_ = static_cast<QPrinter::PrintRange>(dialog.printRange());

    const std::function<bool(QPrinter&)> job = makeJob(kind);
    if (!preview(job)) return;
    printer().setDocName(QString::fromUtf8(DocumentName));
    // A PDF of the codes, or of a page that may show them, is its owner's only.
    const QString failure = runPrintJob(
        printer(), job, kind == Kind::FreeNumbers ? FileAccess::Shared : FileAccess::OwnerOnly);
    if (!failure.isEmpty()) interaction_.error(window(), failure);
    if (sources_.ended)
        sources_.ended(failure.isEmpty() ? QStringLiteral("Nyomtatás kész.")
                                         : QStringLiteral("Nyomtatás sikertelen."));
}

void PrintCommands::prepare(QPrintDialog& dialog, Kind kind, int count) {
    QAbstractPrintDialog::PrintDialogOptions options =
        QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize;
    if (kind == Kind::CodeList || kind == Kind::FreeNumbers) {
        options |= QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintSelection;
        // An empty list still offers a range the dialog accepts; the report prints no item.
        const int last = std::max(count, 1);
        dialog.setOptions(options);
        dialog.setMinMax(1, last);
        dialog.setFromTo(1, last);
        dialog.setPrintRange(static_cast<QAbstractPrintDialog::PrintRange>(keptChoice_));
        // The dialog's free list of pages ("1-3,7") would reach the report only as its first
        // and last number.
        new HiddenChoices(dialog,
                          {QStringLiteral("pagesRadioButton"), QStringLiteral("pagesLineEdit")});
    } else {
        dialog.setOptions(options);
        dialog.setPrintRange(QAbstractPrintDialog::AllPages);
        // A window page or the terminal's text is printed whole.
        new HiddenChoices(dialog, {QStringLiteral("gbPrintRange")});
    }
}

std::function<bool(QPrinter&)> PrintCommands::makeJob(Kind kind) {
    // What is printed is taken now, once: the preview and the job show the same report.
    const std::string fileName = sources_.fileName ? utf8(sources_.fileName()) : std::string();
    const PrintChoice choice =
        choiceOf(static_cast<QAbstractPrintDialog::PrintRange>(printer().printRange()));
    const NumberSpan range{printer().fromPage(), printer().toPage()};

    switch (kind) {
    case Kind::CodeList: {
        auto rows = std::make_shared<std::vector<CodeRowView>>(sources_.codeRows());
        CodeListReport report;
        report.model = sources_.model ? sources_.model() : DeviceModel::Line4;
        report.chosen =
            chosenCodeRows(choice, static_cast<int>(rows->size()),
                           sources_.codeSelection ? sources_.codeSelection() : std::nullopt, range);
        report.fileName = fileName;
        report.site = sources_.site ? utf8(sources_.site()) : std::string();
        report.owner = sources_.owner ? utf8(sources_.owner()) : std::string();
        report.dateTime = utf8(reportDateTime(sources_.now()));
        return [rows, report](QPrinter& printer) mutable {
            report.rows = *rows;
            return printReport(printer, CodeListPoints,
                               [&report](ReportOutput& out) { writeCodeListReport(out, report); });
        };
    }
    case Kind::FreeNumbers: {
        auto items = std::make_shared<std::vector<std::string>>(utf8Lines(sources_.freeNumbers()));
        FreeNumberReport report;
        report.selected =
            sources_.freeNumberSelection ? sources_.freeNumberSelection() : std::vector<bool>();
        report.choice = choice;
        report.range = range;
        report.fileName = fileName;
        return [items, report](QPrinter& printer) mutable {
            report.items = *items;
            return printReport(printer, freeNumberPoints(printer), [&report](ReportOutput& out) {
                writeFreeNumberReport(out, report);
            });
        };
    }
    case Kind::Terminal: {
        QStringList lines = sources_.terminalText();
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
        auto text = std::make_shared<std::vector<std::string>>(utf8Lines(lines));
        return [text](QPrinter& printer) {
            return printReport(printer, CodeListPoints,
                               [&text](ReportOutput& out) { writePlainReport(out, *text); });
        };
    }
    case Kind::WindowPage:
        break;
    }
    QPointer<QWidget> shown = sources_.pageWidget();
    PageHeading heading;
    heading.page = sources_.pageName ? sources_.pageName() : QString();
    heading.fileName = QString::fromStdString(fileName);
    heading.site = sources_.site ? sources_.site() : QString();
    heading.dateTime = reportDateTime(sources_.now());
    return [shown, heading](QPrinter& printer) {
        return shown && printWindowPage(printer, *shown, heading);
    };
}

bool PrintCommands::preview(const std::function<bool(QPrinter&)>& job) {
    QPrintPreviewDialog dialog(&printer(), window());
    dialog.setObjectName(QStringLiteral("PrintPreviewDialog1"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&job](QPrinter* printer) { job(*printer); });

    // The preview's own print button would open a second print dialog, and its page setup a
    // dialog of its own, both outside the one door for dialogs: the print button confirms the
    // choice already made, the page setup is the command's own.
    if (QAction* print = previewAction(dialog, "Print")) {
        disconnect(print, &QAction::triggered, nullptr, nullptr);
        connect(print, &QAction::triggered, &dialog, &QDialog::accept);
    }
    if (QAction* setup = previewAction(dialog, "Page setup")) {
        disconnect(setup, &QAction::triggered, nullptr, nullptr);
        connect(setup, &QAction::triggered, &dialog, [this, &dialog] {
            QPageSetupDialog pageSetup(&printer(), &dialog);
            pageSetup.setObjectName(QStringLiteral("PrinterSetupDialog1"));
            if (interaction_.runDialog(pageSetup) != QDialog::Accepted) return;
            if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) widget->updatePreview();
        });
    }
    // Readable at once: most of the screen, the page as wide as the view.
    const QScreen* screen = window() ? window()->screen() : QGuiApplication::primaryScreen();
    if (screen) dialog.resize(screen->availableGeometry().size() * PreviewShare);
    if (QAction* fitWidth = previewAction(dialog, "Fit width"))
        fitWidth->trigger();
    else if (auto* widget = dialog.findChild<QPrintPreviewWidget*>())
        widget->fitToWidth();
    return interaction_.runDialog(dialog) == QDialog::Accepted;
}

QPrinter& PrintCommands::printer() {
    // Made when printing first needs it: a printer brings the print system's plugin and its
    // libraries, and may ask a print server, which nothing before that should wait for.
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setDocName(QString::fromUtf8(DocumentName));
    }
    return *printer_;
}

} // namespace zx
