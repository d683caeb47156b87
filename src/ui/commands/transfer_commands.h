#pragma once
// The window's glue to the line: "&Letöltés", "&Feltöltés", the clock setting of btnSync and the
// download of a comparison. It enables, starts, adopts and reports; the operations themselves
// run on a LineRunner's thread with the port, and come back as one result the window adopts on
// its own thread. One operation at a time, in the window's busy mode, with a cancel (Escape and
// the "Megszakítás" button beside the progress bar).
#include "files/connection_settings.h"
#include "files/upload_options.h"
#include "link/line_runner.h"
#include "link/tracing_link.h"
#include "ui/focus_return.h"

#include <QObject>

#include <atomic>
#include <functional>

class QProgressBar;
class QPushButton;
class MainWindow;

namespace zx {

class SerialPort;
class TerminalPage;
class TransferStatus;

class TransferCommands : public QObject {
    Q_OBJECT
  public:
    TransferCommands(MainWindow& form, SerialPort& port, ConnectionState& connection,
                     TerminalPage& page, QObject* parent = nullptr);
    ~TransferCommands() override;

    // Makes the line of each operation, watching the runner's cancel flag; by default
    // serialLine.
    std::function<TransferLine(SerialPort&, const std::atomic<bool>* cancel)> makeLine;
    // The serial port, which hands the operation every byte it receives, and the computer's
    // clock.
    static TransferLine serialLine(SerialPort& port, const std::atomic<bool>* cancel);

    void download();
    void upload();
    void setUnitClock();
    // The unit's configuration downloaded into an image of its own, for a comparison: `done`
    // gets it when it came whole; the configuration shown, its file name and the modified flag
    // stay as they are. False when it did not start (the reason was shown).
    bool downloadCopy(std::function<void(const DownloadResult&)> done);
    // Stops the running operation (Escape, "Megszakítás").
    void cancel();

    // Verify and backup around every upload, as the operator chose them (both off by default).
    void setUploadOptions(const UploadOptions& options) { options_ = options; }
    const UploadOptions& uploadOptions() const { return options_; }

    // A wire trace: every burst on the line of every operation from now on, written (whole,
    // atomically) to `path` after each operation; an empty path ends it.
    void setTraceFile(const QString& path);

    bool busy() const { return runner_.running(); }
    // The question asked when the window is closed during an operation.
    static QString closeQuestion();

  signals:
    // Each step of a running operation, as panel 3 and the progress bar show it.
    void progressed(const QString& status, int done, int total);
    // An operation has ended and its result been adopted, whatever its outcome.
    void finished();
    // The trace file could not be written: the trace has ended.
    void traceEnded();

  private:
    // Opens the port with the connection's name and speed; a failure is reported.
    bool openPort();
    // Starts `work` on the line in busy mode; a line that is not open is reported instead.
    bool start(LineOperation operation, LineRunner::Work work);
    void showProgress(const TransferProgress& p);
    void ended(const LineResult& result);
    void adoptDownload(const DownloadResult& download);
    void report(const LineResult& result);
    // Asks whether a closing window may stop the operation; stops it on Yes.
    bool stopForClose();
    void setBusy(bool busy);
    void writeTrace();

    MainWindow& form_;
    SerialPort& port_;
    ConnectionState& connection_;
    TerminalPage& page_;
    LineRunner runner_;
    TransferStatus* status_ = nullptr; // owned by the window
    // Error number of the port's last failure seen here (0: none yet).
    int lastPortError_ = 0;
    UploadOptions options_;
    QString tracePath_;
    WireTraceLog trace_;
    std::function<void(const DownloadResult&)> copyDone_;
    bool closing_ = false;
    // The control that had the focus when the operation began gets it back at its end.
    FocusReturn focus_;
};

} // namespace zx
