#include "ui/commands/device_link_controller.h"

#include "ui/commands/transfer_commands.h"
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
    TerminalView& view = *form_.terminalView();
    view.setTerminalWidget(terminal_);
    form_.fitToViews();
    page_ = std::make_unique<TerminalPage>(
        TerminalPageWidgets{view.btnConnect, view.btnTransp, view.btnDial, view.edPhone, terminal_},
        port_, connection_);
    page_->setStatusText = [this](int panel, const QString& text) {
        form_.setStatusText(panel, text);
    };
    page_->showError = [this](const QString& text) { form_.interaction().error(&form_, text); };
    transfers_ = std::make_unique<TransferCommands>(form_, port_, connection_, *page_);
    connect(transfers_.get(), &TransferCommands::busyChanged, this, [this](bool busy) {
        page_->setLineBusy(busy);
        form_.menu().mnuComport->setEnabled(!busy);
    });

    connect(form_.menu().mnuComport, &QAction::triggered, this,
            &DeviceLinkController::mnuComportClick);
    form_.setSaveConnectionSettingsHandler([this] { saveConnectionSettings(); });

    form_.setStatusText(TMainForm::Panel::Connection, connection_.panelText());
    form_.setStatusText(TMainForm::Panel::State, QStringLiteral("Szétkapcsolva"));
}

DeviceLinkController::~DeviceLinkController() {
    form_.setSaveConnectionSettingsHandler({});
    transfers_.reset();
    page_.reset();
}

TComTerminal* DeviceLinkController::terminal() const {
    return terminal_;
}

void DeviceLinkController::mnuComportClick() {
    TConnset dialog(connection_, &form_, listPorts(), savedConnectionsPath());
    dialog.showError = [this](const QString& text) { form_.interaction().error(&form_, text); };
    // The dialog applies itself only when it closes through OK.
    bool closed = false;
    connect(&dialog, &QDialog::finished, this, [&closed] { closed = true; });
    form_.interaction().runDialog(dialog);
    if (!closed) return;
    form_.terminalView()->edPhone->setText(dialog.phone());
    form_.setStatusText(TMainForm::Panel::Connection, dialog.panelText());
}

void DeviceLinkController::saveConnectionSettings() {
    QString error;
    if (!SaveConnectionSettings(connection_, &error)) form_.interaction().error(&form_, error);
}

} // namespace zx
