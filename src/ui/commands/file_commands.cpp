#include "ui/commands/file_commands.h"

#include "files/cp1250.h"
#include "files/database_file.h"
#include "files/file_lock.h"
#include "model/model_recognition.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/main_window.h"
#include "ui/views/basic_view.h"
#include "ui/views/codes_view.h"
#include "ui/views/radio_group.h"
#include "ui/views/terminal_view.h"

#include <QAction>
#include <QLineEdit>

namespace zx {

namespace {
const QString OpenFailed = QStringLiteral("Megnyitás sikertelen.");
} // namespace

FileCommands::FileCommands(MainWindow& form, ConnectionState& connection, QObject* parent)
    : QObject(parent), form_(form), connection_(connection) {
    const MainMenu& m = form_.menu();
    connect(m.newConfiguration, &QAction::triggered, this, &FileCommands::newConfiguration);
    connect(m.openFile, &QAction::triggered, this, &FileCommands::open);
    connect(m.saveFile, &QAction::triggered, this, &FileCommands::save);
    connect(m.saveFileAs, &QAction::triggered, this, &FileCommands::saveAs);
    connect(m.preferences, &QAction::triggered, this, &FileCommands::editPreferences);
    // Yes to the save question saves; the question reads the outcome off the modified flag.
    connect(&form_, &MainWindow::saveRequested, this, &FileCommands::save);
}

FileCommands::~FileCommands() = default;

void FileCommands::newConfiguration() {
    if (!form_.commitPendingEdits()) return;
    // The "Alap" page with the focus in the speed group, as the new configuration shows it.
    form_.showView(PageOrder::BasicPage);
    form_.basicView()->focusSpeedChoice();
    if (!form_.askSaveChanges()) return;
    form_.newConfiguration();
}

void FileCommands::open() {
    if (!form_.commitPendingEdits() || !form_.askSaveChanges()) return;
    dialogs_.setDatabaseFilter();
    const QString path = dialogs_.open(&form_, form_.interaction());
    if (!path.isEmpty()) openDatabase(path);
}

bool FileCommands::openDatabase(const QString& path) {
    ConfigDocument& doc = form_.document();
    const DatabaseReadResult read = readDatabaseFile(path);
    if (!read.ok()) {
        // A file that is no database leaves everything as it was, the modified flag included.
        form_.interaction().message(&form_, read.message);
        form_.lineState().showOutcome(false, {}, OpenFailed, path);
        return false;
    }
    const bool accepted = askPasswordOf(read.record, form_.interaction(), &form_);
    // Only a file taken clears the flag: changes made before a refused file are kept.
    if (accepted) {
        doc.takeFile(read.record, path, read.lastModified);
        dialogs_.rememberFolderOf(path);
        offerRecognizedModel();
    } else
        form_.interaction().message(&form_, wrongPasswordMessage());
    takeConnectionOf(doc.record());
    form_.refill();
    form_.lineState().showOutcome(accepted, QStringLiteral("Megnyitva"), OpenFailed, path);
    return accepted;
}

void FileCommands::offerRecognizedModel() {
    const ConfigDocument& doc = form_.document();
    const ModelRecognition recognition = recognizeModel(doc.image(), doc.model());
    if (!recognition.suggested) return;
    const QString question = QString::fromStdString(switchModelQuestion(*recognition.suggested));
    // No keeps the model chosen; the file is read through its map as before.
    if (form_.interaction().askYesNo(&form_, QStringLiteral("Zendrax"), question) ==
        Interaction::Answer::Yes)
        form_.showModel(*recognition.suggested);
}

void FileCommands::takeConnectionOf(const DatabaseRecord& record) {
    const QString name = fromCp1250(record.text(DatabaseRecord::Slot::ConnectionName));
    if (const auto selected = selectConnection(connection_, name)) {
        form_.terminalView()->setPhone(selected->phone);
        if (selected->panelText)
            form_.setStatusText(MainWindow::Panel::Connection, *selected->panelText);
    }
    connection_.currentConnectionName = name;
}

bool FileCommands::save() {
    if (!form_.commitPendingEdits()) return false;
    QString path = form_.document().currentFileName();
    if (path.isEmpty()) {
        dialogs_.setDatabaseFilter();
        path = dialogs_.save(&form_, form_.interaction());
        if (path.isEmpty()) return false;
    }
    return saveTo(path);
}

bool FileCommands::saveAs() {
    if (!form_.commitPendingEdits()) return false;
    dialogs_.setDatabaseFilter();
    const QString path = dialogs_.save(&form_, form_.interaction());
    if (path.isEmpty()) return false;
    return saveTo(path);
}

bool FileCommands::saveTo(const QString& path) {
    ConfigDocument& doc = form_.document();
    const RawText connection = toCp1250(connection_.currentConnectionName);
    doc.setText(DatabaseRecord::Slot::ConnectionName, connection);
    // A command line command changing the file at this moment finishes first; its change is
    // then replaced by the window's, never half of each.
    FileWriteLock lock(path);
    if (!lock.acquire()) {
        form_.interaction().error(&form_, lock.message());
        return false;
    }
    const DatabaseWriteResult written =
        writeDatabaseFile(path, doc.record(), connection_.currentConnectionName);
    if (!written.ok) {
        // The previous file is untouched, the changes stay unsaved and the configuration keeps
        // the name of the file it came from.
        form_.interaction().error(&form_, written.message);
        form_.lineState().showOutcome(QStringLiteral("Mentés sikertelen."));
        return false;
    }
    doc.markSaved(path);
    dialogs_.rememberFolderOf(path);
    form_.lineState().showOutcome(true, QStringLiteral("Mentve"), {}, path);
    return true;
}

void FileCommands::editPreferences() {
    if (!form_.commitPendingEdits()) return;
    ConfigDocument& doc = form_.document();
    DatabaseRecord edited = doc.record();
    PreferencesDialog dialog(edited, doc.model(), doc.lastModified(), form_.interaction(), &form_);
    form_.interaction().runDialog(dialog);
    const bool codesChanged = !(edited.image == doc.image());
    // One step, named by what changed; the undo shows the code table when it changed.
    doc.replaceRecord(edited, {.control = codesChanged ? "StringGrid1" : ""});
    // The grid shows the code table as it is stored now, in its new size.
    if (codesChanged) {
        form_.codesView()->refill(decodeForEditors(doc.image(), doc.model()));
        form_.codesView()->takeShownAsStored();
    }
}

} // namespace zx
