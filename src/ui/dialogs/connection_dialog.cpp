#include "ui/dialogs/connection_dialog.h"

#include "link/serial_port.h"
#include "ui/dialogs/dialog_placement.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

#include <algorithm>

namespace zx {

namespace {

QStringList comOneToNine() {
    QStringList names;
    for (int i = 1; i <= 9; ++i)
        names << QStringLiteral("COM%1").arg(i);
    return names;
}

void selectText(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text));
}

bool lessAsText(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

// Selects the port in the box; a port the system does not list (a pseudo-terminal, an adapter
// unplugged for now) joins the items at its sorted place, so the port in use is always shown.
void selectPort(QComboBox* box, const QString& port) {
    if (!port.isEmpty() && box->findText(port) < 0) {
        int at = 0;
        while (at < box->count() && lessAsText(box->itemText(at), port))
            ++at;
        box->insertItem(at, port);
    }
    selectText(box, port);
}

} // namespace

QStringList ConnectionDialog::systemPortNames() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << portNameOfSystemName(info.portName());
    return names;
}

ConnectionDialog::ConnectionDialog(ConnectionState& state, QWidget* parent,
                                   const QStringList& ports, const QString& connectionsPath)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), state_(state),
      path_(connectionsPath) {
    setObjectName(QStringLiteral("TConnset"));
    setWindowTitle(QStringLiteral("Com port beállítások"));
    setModal(true);

    CmbCom = new QComboBox(this);
    CmbCom->setObjectName(QStringLiteral("CmbCom"));
    // A device path can be typed; what is typed does not become an item.
    CmbCom->setEditable(true);
    CmbCom->setInsertPolicy(QComboBox::NoInsert);
    CmbCom->addItems(comOneToNine());
    CmbSpeed = new QComboBox(this);
    CmbSpeed->setObjectName(QStringLiteral("CmbSpeed"));
    for (int i = 0; i < SpeedCount; ++i)
        CmbSpeed->addItem(speedTextOf(i));
    edPhone = new QLineEdit(this);
    edPhone->setObjectName(QStringLiteral("edPhone"));
    edConn = new QLineEdit(this);
    edConn->setObjectName(QStringLiteral("edConn"));
    edConn->setMaxLength(255);
    lbConn = new QListWidget(this);
    lbConn->setObjectName(QStringLiteral("lbConn"));
    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnOK->setAutoDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Portszám:"), CmbCom);
    form->addRow(QStringLiteral("Sebesség:"), CmbSpeed);
    form->addRow(QStringLiteral("Telefonszám:"), edPhone);
    form->addRow(QStringLiteral("Kapcsolat:"), edConn);
    auto* group = new QGroupBox(QStringLiteral("Kapcsolatok"), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(lbConn);
    auto* columns = new QHBoxLayout;
    columns->addLayout(form);
    columns->addWidget(group);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    auto* main = new QVBoxLayout(this);
    main->addLayout(columns);
    main->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(lbConn, &QListWidget::itemSelectionChanged, this,
            &ConnectionDialog::savedConnectionChosen);
    fillPortList(ports);
    prepareFields();
}

void ConnectionDialog::fillPortList(const QStringList& ports) {
    if (ports.isEmpty()) return;
    QStringList sorted = ports;
    sorted.removeDuplicates();
    std::sort(sorted.begin(), sorted.end(), lessAsText);
    CmbCom->clear();
    CmbCom->addItems(sorted);
}

void ConnectionDialog::prepareFields() {
    selectPort(CmbCom, state_.portName);
    CmbSpeed->setCurrentIndex(isValidSpeedIndex(state_.speedIndex) ? state_.speedIndex : -1);
    shownSpeedItem_ = CmbSpeed->currentIndex();
    const QSignalBlocker quiet(lbConn);
    lbConn->clear();
    lbConn->addItems(savedConnectionNames(path_));
    edConn->clear();
    edPhone->clear();
}

void ConnectionDialog::savedConnectionChosen() {
    const QListWidgetItem* item = lbConn->currentItem();
    if (!item || !item->isSelected()) return;
    const QString name = item->text();
    edConn->setText(name);
    const SavedConnection c = readSavedConnection(name, path_);
    selectPort(CmbCom, c.com);
    selectText(CmbSpeed, c.speed);
    edPhone->setText(c.phone);
}

QString ConnectionDialog::portText() const {
    return CmbCom->currentText().trimmed();
}

bool ConnectionDialog::untouched() const {
    return edConn->text().isEmpty() && edPhone->text().isEmpty() && portText() == state_.portName &&
           CmbSpeed->currentIndex() == shownSpeedItem_;
}

void ConnectionDialog::storeFields() {
    readChoice();
    if (applied_ && appliesItself_) applyChoice();
}

void ConnectionDialog::readChoice() {
    // OK on the dialog as it opened keeps the connection, its name, the telephone number and
    // the status bar as they were.
    applied_ = !untouched();
    if (!applied_) return;
    const QString name = edConn->text();
    chosen_ = state_;
    chosen_.portName = portText();
    chosen_.speedIndex =
        CmbSpeed->currentIndex() >= 0 ? static_cast<std::uint8_t>(CmbSpeed->currentIndex()) : 255;
    chosen_.currentConnectionName = name.left(255);
    phone_ = edPhone->text();
    speedText_ = CmbSpeed->currentText();
    panelText_ =
        !name.trimmed().isEmpty() ? name : connectionPanelText(portText(), CmbSpeed->currentText());
}

void ConnectionDialog::applyChoice() {
    if (!applied_) return;
    const QString name = chosen_.currentConnectionName;
    // A name of blanks only would make a section no one can pick again.
    if (!name.trimmed().isEmpty()) {
        QString error;
        if (!writeSavedConnection(name.trimmed(), {chosen_.portName, speedText_, phone_}, &error,
                                  path_) &&
            showError)
            showError(error);
    }
    state_ = chosen_;
}

void ConnectionDialog::done(int result) {
    if (!closed_) {
        closed_ = true;
        storeFields();
    }
    QDialog::done(result);
}

void ConnectionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (centred_) return;
    centred_ = true;
    centreOnScreen(*this);
}

} // namespace zx
