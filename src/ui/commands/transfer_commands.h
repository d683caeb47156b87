#pragma once
// The window's glue to the line: "&Letöltés", "&Feltöltés", the clock setting of btnSync and the
// download of a comparison. It enables, starts, adopts and reports; the operations themselves
// run on the line service's thread and come back as one result the window adopts on its own
// thread. One operation at a time, in the window's busy mode, with a cancel (Escape and the
// "Megszakítás" button beside the progress bar). The end of an operation is handled once and in
// order: the report, the adoption of a download, a follow-up question, and only then a new
// upload the operator asked for or a comparison's list; never inside another modal box of this
// window (the end waits its turn in the window's notice queue).
#include "files/connection_settings.h"
#include "files/upload_options.h"
#include "link/line_operations.h"
#include "ui/focus_return.h"

#include <QObject>

#include <functional>

class MainWindow;

namespace zx {

class LineService;
class NoticeQueue;
class TerminalPage;
class TransferStatus;

class TransferCommands : public QObject {
    Q_OBJECT
  public:
    TransferCommands(MainWindow& form, LineService& line, ConnectionState& connection,
                     TerminalPage& page, NoticeQueue& notices, QObject* parent = nullptr);
    ~TransferCommands() override;

    void download();
    void upload();
    void setUnitClock();
    // The unit's configuration downloaded into an image of its own, for a comparison: `done`
    // gets it when it came whole, once the operation's end has been handled and `finished`
    // told; the configuration shown, its file name and the modified flag stay as they are.
    // False when it did not start.
    bool downloadCopy(std::function<void(const DownloadResult&)> done);
    // Stops the running operation (Escape, "Megszakítás").
    void cancel();

    // Verify and backup around every upload, as the operator chose them (both off by default).
    void setUploadOptions(const UploadOptions& options) { options_ = options; }
    const UploadOptions& uploadOptions() const { return options_; }

    // A wire trace: every burst on the line of every operation from now on, written (whole,
    // atomically) to `path` after each operation; an empty path ends it.
    void setTraceFile(const QString& path);

    bool busy() const;
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
    // Starts the operation in busy mode; false (nothing started) while one runs.
    bool start(LineOperation operation, std::function<LineResult(Transfer&)> work);
    void showProgress(const TransferProgress& p);
    // The line service handed a result over: its end waits its turn among the window's notices.
    void resultArrived(const LineResult& result);
    void ended(const LineResult& result);
    void adoptDownload(const DownloadResult& download);
    // Says how the operation ended; true when the operator asked to upload again.
    bool report(const LineResult& result);
    // Asks whether a closing window may stop the operation; stops it on Yes.
    bool stopForClose();
    void setBusy(bool busy);
    void writeTrace(const QByteArray& trace);

    MainWindow& form_;
    LineService& line_;
    ConnectionState& connection_;
    TerminalPage& page_;
    NoticeQueue& notices_;
    TransferStatus* status_ = nullptr; // owned by the window
    UploadOptions options_;
    QString tracePath_;
    QByteArray trace_;
    std::function<void(const DownloadResult&)> copyDone_;
    bool closing_ = false;
    // Results handed over whose end has not yet had its turn.
    int waiting_ = 0;
    // The control that had the focus when the operation began gets it back at its end.
    FocusReturn focus_;
};

} // namespace zx
