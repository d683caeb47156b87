#pragma once
// The "&Terminál" page's logic: connecting and disconnecting by hand, dialling the modem, the
// unit's transparent mode and the terminal pane, kept in step with the port whoever opens or
// closes it (a transfer included). Everything it does on the line is a request to the line
// service, and everything it knows of the port the service's answers told it: the window's
// thread never waits on the line.
#include "files/connection_settings.h"
#include "ui/status_bar.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace zx {

class LineService;
class TerminalPane;

struct TerminalPageWidgets {
    QAbstractButton* btnConnect = nullptr;
    QAbstractButton* btnTransp = nullptr;
    QAbstractButton* btnDial = nullptr;
    QLineEdit* edPhone = nullptr;
    TerminalPane* terminal = nullptr;
    // Where the page says what the operator would not see otherwise (typed bytes that never went
    // out, a unit that may have been left in transparent mode).
    QLabel* note = nullptr;
};

class TerminalPage : public QObject {
    Q_OBJECT
  public:
    static constexpr int TransparentOffWaitMs = 1000;

    TerminalPage(const TerminalPageWidgets& widgets, LineService& line, ConnectionState& connection,
                 QObject* parent = nullptr);

    // The port's state for the status bar: connected when it opens, disconnected when it closes.
    std::function<void(LineStatePanel::State state)> showLineState;
    // The program's error message (a port that does not open, a failed write).
    std::function<void(const QString& text)> showError;
    // A Yes/No question; `answered` gets true for Yes, whenever the operator has answered.
    std::function<void(const QString& question, std::function<void(bool yes)> answered)> ask;

    // The note after a line failure in transparent mode, and the question the next connect asks.
    static QString transparentLeftNote();
    static QString transparentOffQuestion();
    static QString droppedNote(int bytes);

    bool transparent() const { return transparent_; }
    // The line failed while transparent mode was on: the unit may still be in it.
    bool unitMayBeTransparent() const { return mayBeTransparent_; }
    // While a transfer owns the line the page puts nothing on it: the pane sends no key and the
    // connect, transparent and dial buttons are disabled until it ends.
    void setLineBusy(bool busy);
    bool lineBusy() const { return lineBusy_; }
    // True while the operator holds the port open (transfers then leave it open).
    bool operatorHoldsPort() const;

    // The port open, or asked to open, by the operator outside an operation.
    bool holdsPort() const;
    // Closes the port the operator holds as "Ka&pcsolódás" does (transparent mode switched off
    // with its pause first; a dialled call hangs up with the line), the button back up.
    void disconnectLine();

    void connectClicked();
    void dialClicked();
    void transparentClicked();
    void portOpened();
    void portClosed();

  private:
    void closeLine();
    void write(const QByteArray& bytes);
    void focusTerminal();
    void error(const QString& text);
    // The port asked to open did not: the button comes back up.
    void openFailed(const QString& text);
    // The open line failed: nothing more is said to the unit as if it were still there.
    void lineFailed(const QString& text);
    void sendDropped(int bytes);
    void showNote(const QString& text);
    // After a connect: offers to switch off the transparent mode the unit may have been left in.
    void offerTransparentOff();
    void setTransparent(bool on);
    void updateButtons();

    TerminalPageWidgets w_;
    LineService& line_;
    ConnectionState& connection_;

    bool transparent_ = false;
    bool mayBeTransparent_ = false;
    bool lineBusy_ = false;
    int droppedBytes_ = 0; // since the operator last connected
};

} // namespace zx
