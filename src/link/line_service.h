#pragma once
// The serial line's one owner while the program runs. The port lives on a thread of its own for
// as long as it exists, and everything done on the line is a request queued to that thread: the
// terminal's traffic (open, close, keys and dialling out, the unit's transparent mode switched
// off with its pause, bytes in) and the line operations (download, upload with its backup and
// read-back, clock setting, a comparison's download). The service answers with queued signals and
// one result value per operation, so the thread that asks never reads, writes, waits on or asks
// the port; what it knows of the port (open or not, an operation running) it learnt from those
// answers. The port is never closed and reopened between the terminal and an operation: a close
// drops DTR and hangs up a call the operator dialled.
//
// Nothing the window asks for waits behind the terminal's keys: keys typed while the line does
// not take them (a stalled line, CTS low) wait together as one write, and a stop (an operation,
// a close, the end of the program) drops them, the write in progress included, within a wait's
// cancel check. Every exception on the line's thread becomes a failure answer.
#include "files/connection_settings.h"
#include "link/line_operations.h"
#include "link/send_queue.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QThread;

namespace zx {

class CallTarget;
class ByteLink;
class Clock;
class SerialPort;

// The byte link and the clock one operation runs on.
struct TransferLine {
    std::unique_ptr<ByteLink> link;
    std::unique_ptr<Clock> clock;
};
// Makes the line of an operation over the open port, its waits watching `cancel`.
using LineFactory = std::function<TransferLine(SerialPort& port, const std::atomic<bool>* cancel)>;
// The serial port itself (which hands the operation every byte it receives) and the computer's
// clock.
TransferLine serialLine(SerialPort& port, const std::atomic<bool>* cancel);

// One operation as it is asked for.
struct LineRequest {
    LineOperation operation = LineOperation::Download;
    std::function<LineResult(Transfer&)> work;
    // Every burst of the operation is traced into the result, headed by `traceTitle` when given.
    bool traced = false;
    QString traceTitle;
};

// The one hand-over of the line to an operation: builds its link and clock over the open port,
// wires the cancel flag, traces it when asked, runs it, and turns every exception into a failed
// result with its message. The result comes back by value with the operation's own trace.
LineResult runLineOperation(SerialPort& port, const LineFactory& makeLine,
                            const std::atomic<bool>* cancel, const LineRequest& request,
                            const std::function<void(const TransferProgress&)>& progress);

class LineService : public QObject {
    Q_OBJECT
  public:
    explicit LineService(LineFactory makeLine = serialLine, QObject* parent = nullptr);
    // Stops a running operation, closes the port on its own thread and ends that thread.
    ~LineService() override;

    // The port as its last answer said: opened and not closed since.
    bool isOpen() const { return open_; }
    // An operation was started and its result not yet handed over.
    bool busy() const { return busy_; }

    // Opens the port with the connection's name and speed (answered by opened or openFailed);
    // nothing when it is open.
    void open(const ConnectionState& connection);
    // Closes the port; the terminal's bytes not yet on the line are dropped.
    void close();
    // Puts bytes on the line as the terminal types them (a failure is answered by failed, bytes
    // that never went by sendDropped). Bytes the line has not taken yet wait and go together.
    void send(const QByteArray& bytes);
    // Drops the terminal's waiting bytes, sends these, lets the unit take them for pauseMs and
    // closes the port; the end of the program cuts the write and the pause short.
    void sendThenClose(const QByteArray& bytes, int pauseMs);

    // Runs the operation on the line's thread: the port opened with `connection` first when it is
    // closed, and closed afterwards unless `keepOpen`. The terminal's bytes not yet on the line
    // are dropped first, so the operation starts within a wait's cancel check. False, with
    // nothing queued and the port untouched, while another operation has not yet been handed
    // over.
    bool start(LineRequest request, const ConnectionState& connection, bool keepOpen);
    // Asks the running operation to stop: it ends within a wait's cancel check.
    void cancel();
    // Cancels and blocks until the operation has ended; its result is returned here, and
    // `finished` is not emitted for it. Nothing when none runs.
    std::optional<LineResult> cancelAndWait();

  signals:
    void opened();
    void closed();
    void openFailed(const QString& text);
    // A write the terminal asked for failed, or the open line failed (a device that hung up).
    void failed(const QString& text);
    // Bytes the terminal sent that never went on the line: dropped by a stop, not taken by a
    // stalled line within the write's limit, or sent to a port that had closed.
    void sendDropped(int bytes);
    // Bytes that arrived while no operation owned the line.
    void received(const QByteArray& bytes);
    void progressed(const zx::TransferProgress& progress);
    // Once per started operation, after it has ended and the port is as it is to stay.
    void finished(const zx::LineResult& result);

  private:
    class Worker;
    // Queues `request` to the line's thread; what it throws is answered by failed. Requests
    // still queued when the program ends are not run.
    void post(std::function<void(Worker&)> request);
    // On this thread: what the line's thread answered.
    void answer(std::function<void()> change);
    // Drops the terminal's bytes not yet on the line and tells the operator how many.
    void stopSends();
    void done(quint64 serial, LineResult result);
    void handOver(quint64 serial);

    QThread* thread_;
    CallTarget* lineContext_; // lives on the line's thread: queued requests run there
    CallTarget* answers_;     // this thread's receiver of the answers
    std::unique_ptr<Worker> worker_;
    SendQueue sends_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> ending_{false};
    bool open_ = false;
    bool busy_ = false;
    quint64 serial_ = 0;
    // The last operation's result, from its end until it is handed over.
    std::mutex mutex_;
    std::condition_variable ended_;
    std::optional<std::pair<quint64, LineResult>> result_;
};

} // namespace zx
