#include "ui/demo_mode.h"

#include "model/demo_configuration.h"
#include "ui/commands/device_link_controller.h"
#include "ui/dialogs/connection_dialog.h"
#include "ui/main_window.h"

#include <QLabel>
#include <QStatusBar>

namespace zx {

namespace {

UnitFaults paced(int baud) {
    UnitFaults faults;
    faults.baud = baud;
    return faults;
}

} // namespace

DemoMode::DemoMode(int baud) : unit_(DeviceModel::Line4, demoConfiguration(), paced(baud)) {}

DemoMode::~DemoMode() {
    unit_.stop();
    setConfigDir(QString());
}

QString DemoMode::titleSuffix() {
    return QStringLiteral(" - Bemutató mód");
}

bool DemoMode::start(QString* error) {
    if (!settings_.isValid()) {
        if (error) *error = settings_.errorString();
        return false;
    }
    setConfigDir(settings_.path());
    return unit_.start(error);
}

void DemoMode::apply(ConnectionState& connection) const {
    connection.portName = devicePath();
    connection.currentConnectionName.clear();
}

void DemoMode::markWindow(MainWindow& form, DeviceLinkController& link) const {
    form.setWindowTitle(form.windowTitle() + titleSuffix());
    auto* note = new QLabel(QStringLiteral("Bemutató mód"), form.statusBarWidget);
    note->setObjectName(QStringLiteral("lblDemo"));
    note->setToolTip(
        QStringLiteral("Szimulált Vardo-4 egység a %1 porton, mintabeállításokkal; a beállítások "
                       "ideiglenes mappába kerülnek.")
            .arg(devicePath()));
    form.statusBarWidget->addPermanentWidget(note);
    const QString path = devicePath();
    link.listPorts = [path] { return ConnectionDialog::systemPortNames() << path; };
}

} // namespace zx
