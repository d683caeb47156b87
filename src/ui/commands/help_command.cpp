#include "ui/commands/help_command.h"

#include "ui/dialogs/help_viewer.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_form.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>

namespace zx {

HelpCommand::HelpCommand(TMainForm& form, QObject* parent)
    : QObject(parent), form_(form), directory_(QCoreApplication::applicationDirPath()) {
    connect(form_.menu().Tartalom1, &QAction::triggered, this, &HelpCommand::showContents);
    // The viewer is a window of its own: it goes with the main window, or the program would
    // live on behind it.
    connect(&form_, &TMainForm::closing, this, [this] {
        if (viewer_) viewer_->close();
    });
}

QString HelpCommand::helpFilePath() const {
    return directory_ + QLatin1Char('/') + QLatin1String(HelpFileName);
}

void HelpCommand::showContents() {
    const QString path = helpFilePath();
    if (!QFileInfo(path).isFile()) {
        form_.interaction().error(&form_,
                                  QString::fromUtf8("A súgófájl nem található: %1").arg(path));
        return;
    }
    if (!viewer_) viewer_ = new HelpViewer(&form_);
    viewer_->openContents(path);
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
}

} // namespace zx
