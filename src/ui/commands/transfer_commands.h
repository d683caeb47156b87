#pragma once
// The main window's transfer commands: "&Letöltés" and "&Feltöltés" of the file menu, the
// transfer request they post to the window, and the clock setting of btnSync. One transfer at a
// time: from the posting of a request to the end of its transfer the commands are disabled, and
// a command or request that comes anyway is refused.
#include "files/connection_settings.h"
#include "files/upload_options.h"
#include "link/byte_link.h"
#include "link/protocol.h"
#include "link/tracing_link.h"
#include "link/transfer.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
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
    // The unit's configuration downloaded into an image of its own, for a comparison: the
    // configuration shown, its file name and the modified flag stay as they are. Nothing when
    // the port could not be opened or another operation owns the line (already reported).
    std::optional<DownloadResult> downloadCopy();

    // Verify and backup around every upload, as the operator chose them (both off by default).
    void setUploadOptions(const UploadOptions& options) { options_ = options; }
    const UploadOptions& uploadOptions() const { return options_; }

    // A wire trace: every burst on the line of every operation from now on, written (whole,
    // atomically) to `path` after each operation; an empty path ends it.
    void setTraceFile(const QString& path);
    QString traceFile() const { return tracePath_; }
    // The database file the last upload kept the unit's previous configuration in.
    QString lastBackup() const { return lastBackup_; }
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
    // The trace file could not be written: the trace has ended.
    void traceEnded();

  protected:
    bool event(QEvent* event) override;

  private:
    // Opens the port with the connection's name and speed; a failure is reported.
    bool openPort();
    // Runs work on the line of one operation while the line belongs to it; a line that is not
    // open is reported instead. The trace is written afterwards.
    void onLine(const QString& operation, const std::function<void(TransferLine&)>& work);
    // Runs `operation` on an engine over the line with its progress shown; a port failure ends it
    // with `onFailure` as its result. The port is closed afterwards unless the operator holds it.
    template <class Result, class Operation>
    Result withProgress(TransferLine& line, std::optional<PortFailure>& failure, Result onFailure,
                        Operation operation);
    // A download on the line, with its progress and status shown and the port closed unless
    // held; modelSeen hears the unit's model as soon as it is known.
    DownloadResult downloadOn(TransferLine& line, std::optional<PortFailure>& failure,
                              std::function<void(DeviceModel)> modelSeen);
    // Opens the port unless the operator holds it open, then posts the request.
    bool requestTransfer(TransferDirection direction);
    void runDownload(TransferLine& line);
    void runUpload(TransferLine& line);
    // The line of one operation: makeLine's, traced when a trace is on.
    TransferLine lineForOperation(const QString& operation);
    // Writes the trace after an operation; a failure is reported and ends the trace.
    void writeTrace();
    // The backup file an upload keeps the unit's configuration in; false when it cannot be
    // written (reported), which stops the upload before its first frame.
    bool keepBackup(const DownloadResult& unit);
    // The checked upload's outcome told to the operator.
    void reportReadBack(const DownloadResult& readBack, const ConfigImage& sent, DeviceModel model);
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
    UploadOptions options_;
    QString tracePath_;
    WireTraceLog trace_;
    QPointer<QLabel> traceNote_;
    QString lastBackup_;
};

} // namespace zx
