#pragma once
// The main window's transfer commands: "&Letöltés" and "&Feltöltés" of the file menu, the
// transfer request they post to the window, and the clock setting of btnSync. One transfer at a
// time: from the posting of a request to the end of its transfer the commands are disabled, and
// a command or request that comes anyway is refused.
#include "files/connection_settings.h"
#include "link/byte_link.h"
#include "link/protocol.h"
#include "link/transfer.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QProgressBar;
class TMainForm;

namespace zx {

class TComPort;
class TerminalPage;

// The byte link and the clock one transfer runs on.
struct TransferLine {
    std::unique_ptr<ByteLink> link;
    std::unique_ptr<Clock> clock;
};

// A port failure during an operation, kept until the busy cursor is gone to be reported.
struct PortFailure {
    QString text;
    int number = 0;
};

class TransferCommands : public QObject {
    Q_OBJECT
  public:
    TransferCommands(TMainForm& form, TComPort& port, ConnectionState& connection,
                     TerminalPage& page, QObject* parent = nullptr);
    ~TransferCommands() override;

    // Makes the line of each transfer; by default serialLine.
    std::function<TransferLine(TComPort&)> makeLine;
    // The serial port, which hands the transfer every byte it receives and lets the window's
    // events (paints, timers; not the operator's input) be handled while it waits on the line,
    // and the computer's clock.
    static TransferLine serialLine(TComPort& port);

    void download();
    void upload();
    void setUnitClock();
    // Posts a transfer request to this group's own event queue: it runs after the posting
    // command has returned and the window has been drawn. A value that is neither direction is
    // ignored on delivery.
    void postRequest(TransferDirection direction);
    // A transfer request as the event queue delivers it.
    void runTransfer(TransferDirection direction);

    bool busy() const { return pending_ || running_; }
    // Why the window does not close now: "Adatátvitel folyik: ...".
    static QString busyMessage();
    // Shown in the status bar while a transfer runs: segments done of the model's range.
    QProgressBar* progressBar() const;

  signals:
    // Each step of a running transfer, as panel 3 and the progress bar show it.
    void progressed(const QString& status, int done, int total);
    // A transfer or clock setting has ended, whatever its outcome.
    void finished();
    // From the posting of a request (or the start of a clock setting) to the end of the
    // operation the line belongs to it.
    void busyChanged(bool busy);

  protected:
    bool event(QEvent* event) override;

  private:
    // Opens the port unless the operator holds it open, then posts the request.
    bool requestTransfer(TransferDirection direction);
    void runDownload(TransferLine& line);
    void runUpload(TransferLine& line);
    void showProgress(const TransferProgress& p);
    void setProgressVisible(bool visible);
    void closeUnlessHeld();
    void updateCommands();
    void reportPortNotOpen();
    // The failure of an operation, if any: the port's error, else the engine's message.
    void reportOutcome(const std::optional<PortFailure>& failure, bool ok, const QString& text);
    void portError(const QString& text, int errorNumber);
    void message(const QString& text);

    TMainForm& form_;
    TComPort& port_;
    ConnectionState& connection_;
    TerminalPage& page_;
    QPointer<QAction> dnLoad_;
    QPointer<QAction> upLoad_;
    QPointer<QProgressBar> progress_;
    bool pending_ = false;
    bool running_ = false;
    // Error number of the port's last failure seen here (0: none yet).
    int lastPortError_ = 0;
};

} // namespace zx
