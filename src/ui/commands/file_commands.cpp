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
#include <QFileInfo>
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
    // The last line tells of the new configuration, not of the file saved or opened before.
    form_.lineState().showOutcome(
        QString::fromUtf8("Új konfiguráció: %1")
            .arg(QString::fromStdString(modelShortName(form_.document().model()))));
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
        known_ = KnownFile{path, read.fileBytes};
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
    const std::optional<ModelQuestion> question = openedFileQuestion(recognition);
    if (!question) return;
    // Enter switches to the model the file fits; "Nem" keeps the model chosen, and the file is
    // read through its map as before.
    if (form_.interaction().askYesNo(
            &form_, QStringLiteral("Zendrax"), QString::fromStdString(question->text),
            question->yesByDefault ? Interaction::Answer::Yes : Interaction::Answer::No) ==
        Interaction::Answer::Yes)
        form_.showModel(*recognition.suggested);
}

void FileCommands::takeConnectionOf(const DatabaseRecord& record) {
    const QString name = fromCp1250(record.text(DatabaseRecord::Slot::ConnectionName));
    ConnectionState next = connection_;
    const auto selected = selectConnection(next, name);
    // Another port while the port is open is asked about; "Nem" keeps the connection in use,
    // its name and the telephone number.
    if (mayChangeConnection && !mayChangeConnection(next)) return;
    connection_ = next;
    if (selected) {
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
    // What this window last read or wrote there: another program's change since is not
    // replaced unseen. A file the window never had is replaced as the save dialog agreed.
    std::optional<QByteArray> seen =
        known_ && known_->path == path ? std::optional(known_->bytes) : std::nullopt;
    for (;;) {
        const SaveAttempt attempt = writeUnderLock(path, seen);
        if (attempt.outcome == SaveAttempt::Written) break;
        if (attempt.outcome == SaveAttempt::Failed) return false;
        // The lock is let go while the operator decides; a further change asks again.
        if (form_.interaction().askYesNo(
                &form_, QStringLiteral("Zendrax"),
                QString::fromUtf8("A fájlt időközben más program módosította. Felülírja?")) !=
            Interaction::Answer::Yes) {
            form_.lineState().showOutcome(true, QString::fromUtf8("Mentés elmaradt"), {}, path);
            return false;
        }
        seen = attempt.onDisk;
    }
    doc.markSaved(path, QFileInfo(path).lastModified());
    dialogs_.rememberFolderOf(path);
    form_.lineState().showOutcome(true, QStringLiteral("Mentve"), {}, path);
    return true;
}

FileCommands::SaveAttempt FileCommands::writeUnderLock(const QString& path,
                                                       const std::optional<QByteArray>& seen) {
    ConfigDocument& doc = form_.document();
    // One try: a command line command changing the file holds it for a moment, and the window's
    // thread does not wait for it. While it is held no other writer touches the file, so what
    // is compared is what is replaced.
    FileWriteLock lock(path);
    if (!lock.acquire(0)) {
        form_.interaction().error(&form_, lock.message());
        form_.lineState().showOutcome(QStringLiteral("Mentés sikertelen."));
        return {SaveAttempt::Failed, {}};
    }
    const std::optional<QByteArray> onDisk = databaseFileOnDisk(path);
    if (seen && onDisk && *onDisk != *seen) return {SaveAttempt::ChangedMeanwhile, onDisk};
    const auto bytes = databaseFileBytes(doc.record(), connection_.currentConnectionName);
    const QByteArray written(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<qsizetype>(bytes.size()));
    const FileWriteResult result = writeFileAtomically(path, written);
    if (!result.ok) {
        // The previous file is untouched, the changes stay unsaved and the configuration keeps
        // the name of the file it came from.
        form_.interaction().error(&form_, result.message);
        form_.lineState().showOutcome(QStringLiteral("Mentés sikertelen."));
        return {SaveAttempt::Failed, {}};
    }
    known_ = KnownFile{path, written};
    return {SaveAttempt::Written, {}};
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
