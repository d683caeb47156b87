#include "ui/commands/device_link_controller.h"

#include "ui/dialogs/connset_dialog.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_form.h"
#include "ui/terminal/terminal_page.h"
#include "ui/terminal/terminal_widget.h"
#include "ui/views/terminal_view.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace zx {

DeviceLinkController::DeviceLinkController(TMainForm& form, const ConnectionState& connection,
                                           QObject* parent)
    : QObject(parent), form_(form), connection_(connection) {
    listPorts = [] { return TConnset::systemPortNames(); };
    port_.setObjectName(QStringLiteral("ComPort1"));

    terminal_ = new TComTerminal;
    const TerminalPageWidgets widgets = form_.terminalView()->setTerminalWidget(terminal_);
    page_ = std::make_unique<TerminalPage>(widgets, port_, connection_);
    page_->showLineState = [this](LineStatePanel::State state) { form_.lineState().show(state); };
    page_->showError = [this](const QString& text) { form_.interaction().error(&form_, text); };

    connect(form_.menu().mnuComport, &QAction::triggered, this,
            &DeviceLinkController::editConnection);
    // On every close, so that a new port or speed is remembered without a configuration change.
    connect(&form_, &TMainForm::closing, this, &DeviceLinkController::saveConnectionSettings);

    form_.setStatusText(TMainForm::Panel::Connection, connection_.panelText());
}

DeviceLinkController::~DeviceLinkController() {
    page_.reset();
}

TComTerminal* DeviceLinkController::terminal() const {
    return terminal_;
}

void DeviceLinkController::editConnection() {
    TConnset dialog(connection_, &form_, listPorts(), savedConnectionsPath());
    dialog.showError = [this](const QString& text) { form_.interaction().error(&form_, text); };
    // The dialog applies itself only when it closes through OK.
    bool closed = false;
    connect(&dialog, &QDialog::finished, this, [&closed] { closed = true; });
    form_.interaction().runDialog(dialog);
    if (!closed || !dialog.applied()) return;
    form_.terminalView()->setPhone(dialog.phone());
    form_.setStatusText(TMainForm::Panel::Connection, dialog.panelText());
}

void DeviceLinkController::saveConnectionSettings() {
    QString error;
    if (!SaveConnectionSettings(connection_, &error)) form_.interaction().error(&form_, error);
}

} // namespace zx
