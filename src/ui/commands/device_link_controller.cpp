#include "ui/commands/device_link_controller.h"

#include "ui/dialogs/connection_dialog.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/terminal/terminal_page.h"
#include "ui/terminal/terminal_widget.h"
#include "ui/views/terminal_view.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace zx {

DeviceLinkController::DeviceLinkController(MainWindow& form, const ConnectionState& connection,
                                           LineFactory makeLine, QObject* parent)
    : QObject(parent), form_(form), connection_(connection), line_(std::move(makeLine)) {
    listPorts = [] { return ConnectionDialog::systemPortNames(); };

    terminal_ = new TerminalPane;
    const TerminalPageWidgets widgets = form_.terminalView()->setTerminalWidget(terminal_);
    page_ = std::make_unique<TerminalPage>(widgets, line_, connection_);
    page_->showLineState = [this](LineStatePanel::State state) { form_.lineState().show(state); };
    page_->showError = [this](const QString& text) {
        notices_.post([this, text] { form_.interaction().error(&form_, text); });
    };
    page_->ask = [this](const QString& question, std::function<void(bool)> answered) {
        notices_.post([this, question, answered = std::move(answered)] {
            answered(form_.interaction().askYesNo(&form_, QStringLiteral("Zendrax"), question) ==
                     Interaction::Answer::Yes);
        });
    };

    connect(form_.menu().portSettings, &QAction::triggered, this,
            &DeviceLinkController::editConnection);
    // On every close, so that a new port or speed is remembered without a configuration change.
    connect(&form_, &MainWindow::closing, this, &DeviceLinkController::saveConnectionSettings);

    form_.setStatusText(MainWindow::Panel::Connection, connection_.panelText());
}

DeviceLinkController::~DeviceLinkController() {
    page_.reset();
}

TerminalPane* DeviceLinkController::terminal() const {
    return terminal_;
}

void DeviceLinkController::editConnection() {
    ConnectionDialog dialog(connection_, &form_, listPorts(), savedConnectionsPath());
    dialog.showError = [this](const QString& text) { form_.interaction().error(&form_, text); };
    dialog.setAppliesItself(false);
    // The dialog is applied only when it closes through OK, and a new port or speed while the
    // port is open only once the operator let it go.
    bool closed = false;
    connect(&dialog, &QDialog::finished, this, [&closed] { closed = true; });
    form_.interaction().runDialog(dialog);
    if (!closed || !dialog.applied() || !mayChangeConnection(dialog.chosen())) return;
    dialog.applyChoice();
    form_.terminalView()->setPhone(dialog.phone());
    form_.setStatusText(MainWindow::Panel::Connection, dialog.panelText());
}

bool DeviceLinkController::mayChangeConnection(const ConnectionState& next) {
    const bool lineChanges =
        next.portName != connection_.portName || next.speedIndex != connection_.speedIndex;
    if (!lineChanges || !page_->holdsPort()) return true;
    const QString question =
        QString::fromUtf8("A kapcsolat nyitva van: %1. Bontja, és ezután ezt használja: %2?")
            .arg(connection_.panelText(), next.panelText());
    if (form_.interaction().askYesNo(&form_, QStringLiteral("Zendrax"), question) !=
        Interaction::Answer::Yes)
        return false;
    // As "Ka&pcsolódás" closes it; the next connect or operation opens the new port.
    page_->disconnectLine();
    return true;
}

void DeviceLinkController::saveConnectionSettings() {
    QString error;
    if (!writeConnectionSettings(connection_, &error)) form_.interaction().error(&form_, error);
}

} // namespace zx
