#pragma once
// Runs one operation on the line (a download, an upload with its backup and read-back, a clock
// setting, a comparison's download) on a thread of its own, so that the thread that started it
// never waits on the line. For the length of the operation the open serial port belongs to that
// thread: the port object is moved there and back, never closed and reopened (a close drops DTR
// and hangs up a call the operator dialled). Progress comes back by queued calls; the end as one
// result value, handed over on the starting thread.
#include "link/byte_link.h"
#include "link/line_operations.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace zx {

class SerialPort;

// The byte link and the clock one operation runs on.
struct TransferLine {
    std::unique_ptr<ByteLink> link;
    std::unique_ptr<Clock> clock;
};

class LineRunner : public QObject {
    Q_OBJECT
  public:
    using Work = std::function<LineResult(Transfer&)>;

    explicit LineRunner(QObject* parent = nullptr);
    // Cancels a running operation and waits for its end; its result is not handed over.
    ~LineRunner() override;

    // The flag the line's link and clock are to watch (the runner sets the clock's itself).
    const std::atomic<bool>* cancelFlag() const { return &cancel_; }

    // Runs `work` over `line` on a new thread; `port`, when given, goes with it for the length
    // of the operation and comes back before the result is handed over. False (nothing
    // started) while an operation runs.
    bool start(SerialPort* port, TransferLine line, LineOperation operation, Work work);
    bool running() const { return thread_ != nullptr; }
    // Asks the operation to stop: it ends within a wait's cancel check (Clock::CancelCheckMs)
    // with its Cancelled outcome. From the starting thread; nothing when none runs.
    void cancel();
    // Cancels and blocks until the operation has ended, then hands its result over at once.
    void cancelAndWait();

  signals:
    void progressed(const zx::TransferProgress& progress);
    // Once per start, on the starting thread, the port back and the line let go.
    void finished(const zx::LineResult& result);

  private:
    void complete();

    std::atomic<bool> cancel_{false};
    QThread* thread_ = nullptr;
    SerialPort* port_ = nullptr;
    TransferLine line_;
    LineResult result_;
    quint64 serial_ = 0;
};

} // namespace zx
