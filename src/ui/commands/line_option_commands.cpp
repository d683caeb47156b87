#include "ui/commands/line_option_commands.h"

#include "ui/commands/transfer_commands.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"

#include <QAction>
#include <QSignalBlocker>

namespace zx {

LineOptionCommands::LineOptionCommands(MainWindow& form, TransferCommands& transfers,
                                       const UploadOptions& read, const QString& settingsPath,
                                       QObject* parent)
    : QObject(parent), form_(form), transfers_(transfers), settingsPath_(settingsPath) {
    const MainMenu& m = form_.menu();
    transfers_.setUploadOptions(read);
    m.verifyAfterUpload->setChecked(transfers_.uploadOptions().verify);
    m.backupBeforeUpload->setChecked(transfers_.uploadOptions().backup);
    connect(m.verifyAfterUpload, &QAction::toggled, this, &LineOptionCommands::setVerify);
    connect(m.backupBeforeUpload, &QAction::toggled, this, &LineOptionCommands::setBackup);
    connect(m.chooseBackupFolder, &QAction::triggered, this,
            &LineOptionCommands::chooseBackupFolder);
    connect(m.traceTraffic, &QAction::toggled, this, &LineOptionCommands::setTrace);
    connect(&transfers_, &TransferCommands::traceEnded, this, &LineOptionCommands::uncheckTrace);
}

void LineOptionCommands::uncheckTrace() {
    const QSignalBlocker quiet(form_.menu().traceTraffic);
    form_.menu().traceTraffic->setChecked(false);
}

void LineOptionCommands::apply(const UploadOptions& options) {
    transfers_.setUploadOptions(options);
    QString error;
    if (!saveUploadOptions(options, settingsPath_, &error))
        form_.interaction().error(&form_, error);
}

void LineOptionCommands::setVerify(bool on) {
    UploadOptions o = transfers_.uploadOptions();
    o.verify = on;
    apply(o);
}

void LineOptionCommands::setBackup(bool on) {
    UploadOptions o = transfers_.uploadOptions();
    o.backup = on;
    apply(o);
}

void LineOptionCommands::chooseBackupFolder() {
    UploadOptions o = transfers_.uploadOptions();
    const QString folder = form_.interaction().folderName(
        &form_, QStringLiteral("Mentések mappája"), backupFolderOf(o));
    if (folder.isEmpty()) return;
    o.backupFolder = folder;
    apply(o);
}

void LineOptionCommands::setTrace(bool on) {
    if (!on) {
        transfers_.setTraceFile(QString());
        return;
    }
    Interaction::FileRequest request;
    request.title = QStringLiteral("Adatforgalom naplója");
    request.filter = QStringLiteral("Napló (*.txt *.log)");
    request.defaultSuffix = QStringLiteral("txt");
    const QString path = form_.interaction().saveFileName(&form_, request);
    if (path.isEmpty()) {
        // No file, no trace.
        uncheckTrace();
        return;
    }
    transfers_.setTraceFile(path);
}

} // namespace zx
