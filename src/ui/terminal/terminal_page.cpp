#include "ui/terminal/terminal_page.h"

#include "files/cp1250.h"
#include "link/open_connection.h"
#include "ui/terminal/terminal_widget.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QThread>

namespace zx {

namespace {
const QString TranspOn = QStringLiteral("Transzp. Be");
const QString TranspOff = QStringLiteral("Transzp. Ki");
} // namespace

TerminalPage::TerminalPage(const TerminalPageWidgets& widgets, SerialPort& port,
                           ConnectionState& connection, QObject* parent)
    : QObject(parent), w_(widgets), port_(port), portAlive_(&port), connection_(connection) {
    sleepMs = [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };

    w_.btnConnect->setCheckable(true);
    w_.btnTransp->setCheckable(true);
    w_.btnTransp->setText(TranspOn);
    w_.btnTransp->setChecked(false);
    updateButtons();

    connect(w_.btnConnect, &QAbstractButton::clicked, this, &TerminalPage::connectClicked);
    connect(w_.btnTransp, &QAbstractButton::clicked, this, &TerminalPage::transparentClicked);
    connect(w_.btnDial, &QAbstractButton::clicked, this, &TerminalPage::dialClicked);
    connect(&port_, &SerialPort::opened, this, &TerminalPage::portOpened);
    connect(&port_, &SerialPort::closed, this, &TerminalPage::portClosed);
    connect(&port_, &SerialPort::lineFailed, this, &TerminalPage::error);

    if (w_.terminal) {
        QPointer<TerminalPane> term = w_.terminal;
        link_.onReceived = [term](const char* data, int count) {
            if (term) term->receive(data, count);
        };
        port_.attachLink(&link_);
        w_.terminal->canSend = [this] { return !lineBusy_ && port_.isOpen(); };
        w_.terminal->sink = [this](const QByteArray& bytes) { write(bytes); };
    }
}

TerminalPage::~TerminalPage() {
    if (portAlive_) port_.detachLink(&link_);
}

bool TerminalPage::operatorHoldsPort() const {
    return w_.btnConnect->isChecked();
}

void TerminalPage::error(const QString& text) {
    if (showError) showError(text);
}

void TerminalPage::setLineBusy(bool busy) {
    lineBusy_ = busy;
    updateButtons();
}

void TerminalPage::updateButtons() {
    const bool open = !lineBusy_ && port_.isOpen();
    w_.btnConnect->setEnabled(!lineBusy_);
    w_.btnTransp->setEnabled(open && !lineBusy_);
    w_.btnDial->setEnabled(open && !lineBusy_);
}

void TerminalPage::write(const QByteArray& bytes) {
    // While an operation owns the line the port is on its thread: not even asked here.
    if (lineBusy_ || !port_.isOpen()) return;
    try {
        port_.write(bytes);
    } catch (const SerialPortError& e) {
        error(e.text());
    }
}

void TerminalPage::focusTerminal() {
    if (w_.terminal) w_.terminal->setFocus();
}

void TerminalPage::connectClicked() {
    if (lineBusy_) {
        // The click has toggled the button; the port is not the page's to close now.
        w_.btnConnect->setChecked(port_.isOpen());
        return;
    }
    if (port_.isOpen()) {
        if (transparent_) {
            transparentClicked();
            sleepMs(TransparentOffWaitMs);
        }
        port_.close();
    } else {
        try {
            openConnection(port_, connection_);
        } catch (const std::exception& e) {
            // The button follows the port: left down, a transfer would take the closed port
            // for one the operator holds open.
            w_.btnConnect->setChecked(false);
            error(QString::fromUtf8(e.what()));
        }
    }
    focusTerminal();
}

void TerminalPage::dialClicked() {
    const std::string number = toCp1250(w_.edPhone->text()).bytes();
    QByteArray text("ATD");
    text.append(number.data(), static_cast<qsizetype>(number.size()));
    text.append('\r');
    write(text);
    focusTerminal();
}

void TerminalPage::transparentClicked() {
    if (lineBusy_) return;
    transparent_ = !transparent_;
    w_.btnTransp->setText(transparent_ ? TranspOff : TranspOn);
    w_.btnTransp->setChecked(transparent_);
    write(transparent_ ? QByteArrayLiteral("transpon") : QByteArrayLiteral("transpof"));
    focusTerminal();
}

void TerminalPage::portOpened() {
    if (showLineState) showLineState(LineStatePanel::Connected);
    updateButtons();
}

void TerminalPage::portClosed() {
    if (showLineState) showLineState(LineStatePanel::Disconnected);
    w_.btnConnect->setChecked(false);
    updateButtons();
}

} // namespace zx
