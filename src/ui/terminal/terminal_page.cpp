#include "ui/terminal/terminal_page.h"

#include "files/cp1250.h"
#include "link/line_service.h"
#include "ui/terminal/terminal_widget.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace zx {

namespace {
const QString TranspOn = QStringLiteral("Transzp. Be");
const QString TranspOff = QStringLiteral("Transzp. Ki");
} // namespace

TerminalPage::TerminalPage(const TerminalPageWidgets& widgets, LineService& line,
                           ConnectionState& connection, QObject* parent)
    : QObject(parent), w_(widgets), line_(line), connection_(connection) {
    w_.btnConnect->setCheckable(true);
    w_.btnTransp->setCheckable(true);
    w_.btnTransp->setText(TranspOn);
    w_.btnTransp->setChecked(false);
    updateButtons();

    connect(w_.btnConnect, &QAbstractButton::clicked, this, &TerminalPage::connectClicked);
    connect(w_.btnTransp, &QAbstractButton::clicked, this, &TerminalPage::transparentClicked);
    connect(w_.btnDial, &QAbstractButton::clicked, this, &TerminalPage::dialClicked);
    connect(&line_, &LineService::opened, this, &TerminalPage::portOpened);
    connect(&line_, &LineService::closed, this, &TerminalPage::portClosed);
    connect(&line_, &LineService::openFailed, this, &TerminalPage::openFailed);
    connect(&line_, &LineService::failed, this, &TerminalPage::lineFailed);
    connect(&line_, &LineService::sendDropped, this, &TerminalPage::sendDropped);

    if (w_.terminal) {
        QPointer<TerminalPane> term = w_.terminal;
        connect(&line_, &LineService::received, this, [term](const QByteArray& bytes) {
            if (term) term->receive(bytes);
        });
        w_.terminal->canSend = [this] { return !lineBusy_ && line_.isOpen(); };
        w_.terminal->sink = [this](const QByteArray& bytes) { write(bytes); };
    }
}

QString TerminalPage::transparentLeftNote() {
    return QString::fromUtf8("Vonalhiba: az egység átlátszó módban maradhatott.");
}

QString TerminalPage::transparentOffQuestion() {
    return QString::fromUtf8("A vonalhiba előtt az egység átlátszó módban volt, és abban "
                             "maradhatott. Kikapcsolja az átlátszó módot ?");
}

QString TerminalPage::droppedNote(int bytes) {
    return QString::fromUtf8("%1 begépelt bájt nem ment ki a vonalra.").arg(bytes);
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
    const bool open = !lineBusy_ && line_.isOpen();
    w_.btnConnect->setEnabled(!lineBusy_);
    w_.btnTransp->setEnabled(open && !lineBusy_);
    w_.btnDial->setEnabled(open && !lineBusy_);
}

void TerminalPage::write(const QByteArray& bytes) {
    // While an operation owns the line nothing goes out from here.
    if (lineBusy_ || !line_.isOpen()) return;
    line_.send(bytes);
}

void TerminalPage::focusTerminal() {
    if (w_.terminal) w_.terminal->setFocus();
}

void TerminalPage::connectClicked() {
    if (lineBusy_) {
        // The click has toggled the button; the port is not the page's to close now.
        w_.btnConnect->setChecked(line_.isOpen());
        return;
    }
    if (line_.isOpen()) {
        closeLine();
    } else {
        droppedBytes_ = 0;
        if (!mayBeTransparent_) showNote(QString());
        line_.open(connection_);
    }
    focusTerminal();
}

bool TerminalPage::holdsPort() const {
    return !lineBusy_ && (line_.isOpen() || operatorHoldsPort());
}

void TerminalPage::disconnectLine() {
    if (!holdsPort()) return;
    w_.btnConnect->setChecked(false);
    // An open asked for and not yet answered is closed behind it: the requests keep their order.
    closeLine();
}

void TerminalPage::closeLine() {
    if (transparent_) {
        // The unit leaves transparent mode before the line goes: the pause it needs runs on the
        // line's thread.
        setTransparent(false);
        line_.sendThenClose(QByteArrayLiteral("transpof"), TransparentOffWaitMs);
    } else {
        line_.close();
    }
}

void TerminalPage::lineFailed(const QString& text) {
    if (transparent_) {
        // A dead line takes no "transpof"; the next connect asks instead.
        setTransparent(false);
        mayBeTransparent_ = true;
        showNote(transparentLeftNote());
    }
    error(text);
}

void TerminalPage::sendDropped(int bytes) {
    droppedBytes_ += bytes;
    if (!mayBeTransparent_) showNote(droppedNote(droppedBytes_));
}

void TerminalPage::showNote(const QString& text) {
    if (w_.note) w_.note->setText(text);
}

void TerminalPage::offerTransparentOff() {
    if (!ask) return;
    ask(transparentOffQuestion(), [page = QPointer<TerminalPage>(this)](bool yes) {
        if (!page || !page->mayBeTransparent_) return;
        page->mayBeTransparent_ = false;
        page->showNote(QString());
        if (yes) page->write(QByteArrayLiteral("transpof"));
    });
}

void TerminalPage::openFailed(const QString& text) {
    // The button follows the port: left down, a transfer would take the closed port for one the
    // operator holds open.
    w_.btnConnect->setChecked(false);
    error(text);
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
    setTransparent(!transparent_);
    write(transparent_ ? QByteArrayLiteral("transpon") : QByteArrayLiteral("transpof"));
    focusTerminal();
}

void TerminalPage::setTransparent(bool on) {
    transparent_ = on;
    w_.btnTransp->setText(transparent_ ? TranspOff : TranspOn);
    w_.btnTransp->setChecked(transparent_);
}

void TerminalPage::portOpened() {
    if (showLineState) showLineState(LineStatePanel::Connected);
    updateButtons();
    if (mayBeTransparent_ && operatorHoldsPort() && !lineBusy_) offerTransparentOff();
}

void TerminalPage::portClosed() {
    if (showLineState) showLineState(LineStatePanel::Disconnected);
    w_.btnConnect->setChecked(false);
    updateButtons();
}

} // namespace zx
