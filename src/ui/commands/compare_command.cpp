#include "ui/commands/compare_command.h"

#include "files/database_file.h"
#include "model/model_recognition.h"
#include "ui/commands/shared_file_dialogs.h"
#include "ui/commands/transfer_commands.h"
#include "ui/dialogs/compare_dialog.h"
#include "ui/dialogs/interaction.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/main_window.h"

#include <QAction>

namespace zx {

CompareCommand::CompareCommand(MainWindow& form, TransferCommands& transfers,
                               SharedFileDialogs& dialogs, QObject* parent)
    : QObject(parent), form_(form), transfers_(transfers), dialogs_(dialogs) {
    connect(form_.menu().compareConfigurations, &QAction::triggered, this,
            &CompareCommand::compare);
}

void CompareCommand::compare() {
    // What the window shows is what is compared.
    if (!form_.commitPendingEdits()) return;
    const Interaction::Answer with = form_.interaction().askYesNoCancel(
        &form_, QString::fromUtf8("Összehasonlítás"),
        QString::fromUtf8("Mivel hasonlítsa össze a megjelenített beállításokat?"),
        {QString::fromUtf8("Adatbázis fájllal"), QString::fromUtf8("Az egységgel"),
         QString::fromUtf8("Mégsem")});
    if (with == Interaction::Answer::Yes) {
        dialogs_.setDatabaseFilter();
        const QString path = dialogs_.open(&form_, form_.interaction());
        if (path.isEmpty()) return;
        if (const auto differences = compareWithFile(path)) {
            dialogs_.rememberFolderOf(path);
            show(*differences, path);
        }
    } else if (with == Interaction::Answer::No) {
        compareWithUnit();
    }
}

std::optional<std::vector<SettingDifference>> CompareCommand::compareWithFile(const QString& path) {
    const DatabaseReadResult read = readDatabaseFile(path);
    if (!read.ok()) {
        form_.interaction().message(&form_, read.message);
        return std::nullopt;
    }
    if (!askPasswordOf(read.record, form_.interaction(), &form_)) {
        form_.interaction().message(&form_, wrongPasswordMessage());
        return std::nullopt;
    }
    const ConfigDocument& doc = form_.document();
    // A file holds no model: it is read with the model shown, unless its layout fits only the
    // other model. Then its settings read through this model's map would be nonsense, and the
    // comparison is with the configuration shown, so nothing is compared.
    const ModelRecognition recognition = recognizeModel(read.record.image, doc.model());
    if (recognition.suggested) {
        form_.interaction().message(&form_, QString::fromStdString(notComparableMessage(
                                                *recognition.suggested, doc.model())));
        return std::nullopt;
    }
    return compareSettings(SettingsReading(doc.record(), doc.model()),
                           SettingsReading(read.record, doc.model()));
}

void CompareCommand::compareWithUnit() {
    transfers_.downloadCopy([this](const DownloadResult& unit) {
        const ConfigDocument& doc = form_.document();
        show(compareWithImage(doc.record(), doc.model(), unit.image, unit.model), QString());
    });
}

void CompareCommand::show(const std::vector<SettingDifference>& differences,
                          const QString& otherFile) {
    const ComparedSides sides{form_.document().currentFileName(), otherFile,
                              QDateTime::currentDateTime()};
    CompareDialog dialog(differences, sides, form_.interaction(), &form_);
    form_.interaction().runDialog(dialog);
}

} // namespace zx
