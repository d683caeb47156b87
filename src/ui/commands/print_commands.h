#pragma once
// The file menu's print commands: "Oldalbeállítás..." (the page setup dialog) and
// "Nyomtatás..." (the print dialog prepared for the page shown, a preview, then the print job).
// The code page prints the code list, the free-number page the free-number list, the terminal
// page the text of its screen, every other page itself as its widgets draw it, under a heading
// (the page's name, the file, the site, the date and time) and the sheet's number. The printer, its
// paper and orientation and the dialog's choice between all, range and selection stay for the
// next use. The commands read the window only through the sources they are given.
#include "model/code_record.h"
#include "model/report_text.h"
#include "ui/views/page_order.h"

#include <QDateTime>
#include <QObject>
#include <QPrinter>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QPrintDialog;
class QPrintPreviewDialog;
class QWidget;

namespace zx {

class Interaction;

struct PrintSources {
    // The window's commit step: stores the field being edited; false when it refused the
    // entry, and then the command ends with nothing printed. Unset: nothing to commit.
    std::function<bool()> commitEdits;
    std::function<int()> page; // the page shown (PageOrder)
    std::function<DeviceModel()> model;
    // The code grid's rows below the header, as shown, and its selected block as grid rows
    // (none when nothing is selected).
    std::function<std::vector<CodeRowView>()> codeRows;
    std::function<std::optional<NumberSpan>()> codeSelection;
    // The free-number list's items in order, and which of them are selected.
    std::function<QStringList()> freeNumbers;
    std::function<std::vector<bool>()> freeNumberSelection;
    std::function<QString()> fileName; // CurrentFileName
    std::function<QString()> site;
    std::function<QString()> owner;
    std::function<QStringList()> terminalText; // the terminal screen's lines, top first
    std::function<QWidget*()> window;          // parent of the dialogs
    // The page shown, as a widget, and its name ("Alap"), printed on the settings pages.
    std::function<QWidget*()> pageWidget;
    std::function<QString()> pageName;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // Told how a print that went to the printer ended ("Nyomtatás kész.", or its failure).
    std::function<void(const QString&)> ended;
};

class PrintCommands : public QObject {
    Q_OBJECT
  public:
    // The window's pages, as `page` counts them.
    using enum PageOrder::Index;
    static constexpr const char* DocumentName = "Zendrax nyomtatás";
    static constexpr const char* NothingToPrint =
        "Nincs mit nyomtatni: a terminál képernyője üres.";

    PrintCommands(Interaction& interaction, PrintSources sources, QObject* parent = nullptr);
    ~PrintCommands() override;

    // Runs the commands from the window's menu items.
    void connectActions(QAction* pageSetup, QAction* print);

    // "Oldalbeállítás...": printer, paper and orientation for later jobs.
    void pageSetup();
    // "Nyomtatás...": the window's commit step, dialog, preview, job. Nothing is printed when
    // the commit refuses or either dialog is cancelled.
    void print();

    // The printer every job goes to, made on first use.
    QPrinter& printer();
    // The choice the print dialog offers first on the code and free-number pages.
    QPrinter::PrintRange keptChoice() const { return keptChoice_; }

  private:
    enum class Kind { WindowPage, CodeList, FreeNumbers, Terminal };
    Kind kindOfPage(int page) const;
    QWidget* window() const;
    // Prepares the dialog for the page: all only, or all, range and selection over count
    // numbers with the range 1..count and the kept choice. Choices the report would not honour
    // are not shown.
    void prepare(QPrintDialog& dialog, Kind kind, int count);
    // The job of the page with the choice just made: what it prints on a device.
    std::function<bool(QPrinter&)> makeJob(Kind kind);
    // The preview of the job, over most of the screen with the page fitted to its width; its
    // print button confirms, its page setup goes through the same door as every dialog. False
    // when it was closed without printing.
    bool preview(const std::function<bool(QPrinter&)>& job);

    Interaction& interaction_;
    PrintSources sources_;
    std::unique_ptr<QPrinter> printer_;
    QPrinter::PrintRange keptChoice_ = QPrinter::AllPages;
};

} // namespace zx
