#include "ui/commands/list_file_commands.h"

#include "files/code_list.h"
#include "files/code_list_file.h"
#include "files/code_text_file.h"
#include "files/free_number_file.h"
#include "ui/commands/shared_file_dialogs.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"

#include <QAction>

namespace zx {

namespace {

// Gives the dialogs their database settings back however the command ends.
class DialogDefaultsAtEnd {
  public:
    explicit DialogDefaultsAtEnd(SharedFileDialogs& d) : d_(d) {}
    ~DialogDefaultsAtEnd() { d_.restoreDatabaseDefaults(); }
    DialogDefaultsAtEnd(const DialogDefaultsAtEnd&) = delete;
    DialogDefaultsAtEnd& operator=(const DialogDefaultsAtEnd&) = delete;

  private:
    SharedFileDialogs& d_;
};

} // namespace

ListFileCommands::ListFileCommands(MainWindow& form, SharedFileDialogs& dialogs, QObject* parent)
    : QObject(parent), form_(form), dialogs_(dialogs) {
    const MainMenu& m = form_.menu();
    connect(m.importCodesFromText, &QAction::triggered, this, &ListFileCommands::importCodeText);
    connect(m.importCodesFromPinDat, &QAction::triggered, this, &ListFileCommands::importCodeList);
    connect(m.exportCodesAsText, &QAction::triggered, this, &ListFileCommands::exportCodeText);
    connect(m.exportCodesAsPinDat, &QAction::triggered, this, &ListFileCommands::exportCodeList);
    connect(m.importFreeNumbers, &QAction::triggered, this, &ListFileCommands::importFreeNumbers);
    connect(m.exportFreeNumbers, &QAction::triggered, this, &ListFileCommands::exportFreeNumbers);
}

void ListFileCommands::message(const QString& text) {
    form_.interaction().message(&form_, text);
}

void ListFileCommands::importCodes(bool text) {
    // A code still being typed is stored first, as every command does: an import that is then
    // cancelled or refused loses nothing, and the undo of the import gives it back.
    if (!form_.commitPendingEdits()) return;
    DialogDefaultsAtEnd defaults(dialogs_);
    dialogs_.setOpen(text ? dialogs::ImportCodeText : dialogs::ImportCodeList);
    const QString path = dialogs_.open(&form_, form_.interaction());
    // A cancelled dialog changes nothing.
    if (path.isEmpty()) return;
    ConfigDocument& doc = form_.document();
    const Checked<CodeList> list =
        text ? readCodeTextFile(path, doc.model()) : readCodeListFile(path, doc.model());
    if (!list) {
        message(QString::fromStdString(list.message()));
        form_.lineState().showOutcome(QStringLiteral("Kódok importálása sikertelen."));
        return;
    }
    // CodeLength, CodeCount and the codes as the grid's store writes them, all at once, one
    // step; the grid then shows what the table holds.
    const QString step = QString::fromUtf8("Import %1 (%2 kód)")
                             .arg(text ? QStringLiteral("<--Txt") : QStringLiteral("<--PIN.DAT"))
                             .arg(list->rows.size());
    doc.apply(codeListPatch(doc.image(), *list, doc.model()),
              {.name = step.toStdString(), .control = "StringGrid1", .row = 1});
    CodesView& codes = *form_.codesView();
    codes.refill(decodeForEditors(doc.image(), doc.model()));
    codes.focusGrid();
    dialogs_.rememberFolderOf(path);
    form_.lineState().showOutcome(true, QStringLiteral("Kódok importálva"), {}, path);
}

void ListFileCommands::exportCodes(bool text) {
    // What the window shows is what is written: the code being typed and the grid are stored.
    if (!form_.commitPendingEdits()) return;
    DialogDefaultsAtEnd defaults(dialogs_);
    CodesView& codes = *form_.codesView();
    dialogs_.setSave(text ? dialogs::ExportCodeText : dialogs::ExportCodeList);
    const QString path = dialogs_.save(&form_, form_.interaction());
    if (path.isEmpty()) return;
    const ConfigDocument& doc = form_.document();
    CodeList list = codeListOf(doc.image(), doc.model());
    list.rows = codes.rows();
    const FileWriteResult written = text ? writeCodeTextFile(path, list, doc.model())
                                         : writeCodeListFile(path, list, doc.model());
    wrote(written, path, QStringLiteral("Kódok exportálva"),
          QStringLiteral("Kódok exportálása sikertelen."));
}

void ListFileCommands::importFreeNumbers() {
    if (!form_.commitPendingEdits()) return;
    DialogDefaultsAtEnd defaults(dialogs_);
    dialogs_.setOpen(dialogs::ImportFreeNumbers);
    const QString path = dialogs_.open(&form_, form_.interaction());
    if (path.isEmpty()) return;
    // The buttons say what they do; the question keeps its own words.
    const auto answer = form_.interaction().askYesNoCancel(
        &form_, QStringLiteral("Zendrax"),
        QStringLiteral("Hozzáfűzés=YES\rFelülírás =NO\rMégsem    =CANCEL"),
        {QStringLiteral("Hozzáfűzés"), QStringLiteral("Felülírás"), QStringLiteral("Mégsem")});
    if (answer == Interaction::Answer::Cancel) return;
    const bool replace = answer == Interaction::Answer::No;
    FreeNumbersView& view = *form_.freeNumbersView();
    const int kept = replace ? 0 : static_cast<int>(view.entries().size());
    // The list is emptied only once the file has been read.
    const Checked<FreeNumberImport> read = readFreeNumberFile(path, kept, view.capacity());
    if (!read) {
        message(QString::fromStdString(read.message()));
        form_.lineState().showOutcome(QStringLiteral("Számok importálása sikertelen."));
        return;
    }
    view.takeEntries(read->entries, replace);
    dialogs_.rememberFolderOf(path);
    form_.lineState().showOutcome(true, QStringLiteral("Számok importálva"), {}, path);
    if (read->truncated) message(QString::fromStdString(read->message));
}

void ListFileCommands::exportFreeNumbers() {
    if (!form_.commitPendingEdits()) return;
    DialogDefaultsAtEnd defaults(dialogs_);
    dialogs_.setSave(dialogs::ExportFreeNumbers);
    const QString path = dialogs_.save(&form_, form_.interaction());
    if (path.isEmpty()) return;
    const FileWriteResult written = writeFreeNumberFile(path, form_.freeNumbersView()->entries());
    wrote(written, path, QStringLiteral("Számok exportálva"),
          QStringLiteral("Számok exportálása sikertelen."));
}

void ListFileCommands::wrote(const FileWriteResult& written, const QString& path,
                             const QString& done, const QString& failed) {
    if (written.ok)
        dialogs_.rememberFolderOf(path);
    else
        form_.interaction().error(&form_, written.message);
    form_.lineState().showOutcome(written.ok, done, failed, path);
}

} // namespace zx
