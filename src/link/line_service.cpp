#include "link/line_service.h"

#include "link/open_connection.h"
#include "link/queued_call.h"
#include "link/serial_byte_link.h"
#include "link/serial_port.h"
#include "link/system_clock.h"
#include "link/tracing_link.h"

#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

namespace zx {

namespace {

// Sets the port's cancel flag for as long as it lives.
class CancelWatch {
  public:
    CancelWatch(SerialPort& port, const std::atomic<bool>* flag)
        : port_(port), previous_(port.cancelFlag()) {
        port_.setCancelFlag(flag);
    }
    ~CancelWatch() { port_.setCancelFlag(previous_); }
    CancelWatch(const CancelWatch&) = delete;
    CancelWatch& operator=(const CancelWatch&) = delete;

  private:
    SerialPort& port_;
    const std::atomic<bool>* previous_;
};

} // namespace

TransferLine serialLine(SerialPort& port, const std::atomic<bool>* cancel) {
    return TransferLine{std::make_unique<SerialByteLink>(port, cancel),
                        std::make_unique<SystemClock>()};
}

LineResult runLineOperation(SerialPort& port, const LineFactory& makeLine,
                            const std::atomic<bool>* cancel, const LineRequest& request,
                            const std::function<void(const TransferProgress&)>& progress) {
    WireTraceLog trace;
    LineResult result;
    try {
        TransferLine line = makeLine(port, cancel);
        line.clock->watchCancel(cancel);
        if (request.traced) {
            trace.start(request.traceTitle);
            line.link = std::make_unique<TracingLink>(std::move(line.link), trace.timeSource(),
                                                      trace.sink());
        }
        if (line.link->isOpen()) {
            Transfer engine(*line.link, *line.clock);
            engine.setProgressHandler(progress);
            result = request.work(engine);
        } else {
            // A line found closed: nothing is sent and no phase begins.
            result.outcome = TransferOutcome::PortNotOpen;
        }
    } catch (...) {
        result = lineFailureResult(request.operation, std::current_exception());
    }
    result.operation = request.operation;
    if (result.outcome == TransferOutcome::PortNotOpen && result.message.isEmpty())
        result.message = Transfer::portNotOpenMessage(EBADF);
    result.trace = trace.text();
    return result;
}

// The port and everything done with it. Every member function runs on the line's thread.
class LineService::Worker {
  public:
    Worker(LineService& service, LineFactory makeLine)
        : service_(service), makeLine_(std::move(makeLine)) {
        port_.setObjectName(QStringLiteral("ComPort1"));
        // What arrives within a batch's time goes to the window as one delivery: a fast line
        // arrives in many small reads, each of which would otherwise be an event of its own.
        receiver_.onReceived = [this](const char* data, int count) {
            pending_.append(data, count);
            if (!batch_.isActive()) batch_.start();
        };
        batch_.setSingleShot(true);
        batch_.setInterval(ReceiveBatchMs);
        QObject::connect(&batch_, &QTimer::timeout, &port_, [this] { deliver(); });
        port_.attachLink(&receiver_);
        QObject::connect(&port_, &SerialPort::opened, &port_, [this] {
            service_.answer([s = &service_] {
                s->open_ = true;
                emit s->opened();
            });
        });
        QObject::connect(&port_, &SerialPort::closed, &port_, [this] {
            deliver(); // what came before the close is shown before it
            service_.answer([s = &service_] {
                s->open_ = false;
                emit s->closed();
            });
        });
        QObject::connect(&port_, &SerialPort::lineFailed, &port_,
                         [this](const QString& text) { fail(text); });
    }
    ~Worker() { port_.detachLink(&receiver_); }

    void open(const ConnectionState& connection) {
        if (port_.isOpen()) return;
        try {
            openConnection(port_, connection);
        } catch (...) {
            const QString text = lineFailureText(std::current_exception());
            service_.answer([s = &service_, text] { emit s->openFailed(text); });
        }
    }
    void close() { port_.close(); }
    // Writes what the terminal's keys have queued, as one write that ends at the next stop.
    void flush() {
        std::optional<SendQueue::Batch> batch = service_.sends_.take();
        if (!batch) return;
        const qsizetype size = batch->bytes.size();
        if (!port_.isOpen()) {
            dropped(size);
            return;
        }
        qsizetype sent = 0;
        try {
            const CancelWatch watch(port_, batch->stopped.get());
            sent = port_.write(batch->bytes);
        } catch (...) {
            dropped(size);
            throw;
        }
        if (sent < size) dropped(size - sent);
    }
    // Bytes that are not the terminal's keys, written until `stop` is set.
    void write(const QByteArray& bytes, const std::atomic<bool>& stop) {
        if (!port_.isOpen()) return;
        const CancelWatch watch(port_, &stop);
        port_.write(bytes);
    }
    // Waits ms, or until `stop` is set.
    void pause(int ms, const std::atomic<bool>& stop) {
        using Clock = std::chrono::steady_clock;
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (!stop.load() && Clock::now() < end) {
            const auto step = std::min<Clock::duration>(
                end - Clock::now(), std::chrono::milliseconds(SerialPort::CancelCheckMs));
            std::this_thread::sleep_for(step);
        }
    }

    LineResult run(const LineRequest& request, const ConnectionState& connection, bool keepOpen,
                   const std::atomic<bool>* cancel) {
        LineResult result;
        try {
            if (!port_.isOpen()) openConnection(port_, connection);
        } catch (...) {
            result = lineFailureResult(request.operation, std::current_exception());
            result.status.clear(); // nothing went on the line
            return result;
        }
        deliver(); // the terminal's bytes so far, before the operation's own
        result = runLineOperation(port_, makeLine_, cancel, request, [this](const auto& p) {
            service_.answer([s = &service_, p] { emit s->progressed(p); });
        });
        if (!keepOpen) port_.close();
        return result;
    }

    void fail(const QString& text) {
        deliver();
        service_.answer([s = &service_, text] { emit s->failed(text); });
    }

  private:
    static constexpr int ReceiveBatchMs = 10;

    void dropped(qsizetype bytes) {
        const int count = static_cast<int>(bytes);
        service_.answer([s = &service_, count] { emit s->sendDropped(count); });
    }

    void deliver() {
        batch_.stop();
        if (pending_.isEmpty()) return;
        service_.answer([s = &service_, bytes = std::exchange(pending_, QByteArray())] {
            emit s->received(bytes);
        });
    }
    LineService& service_;
    LineFactory makeLine_;
    SerialPort port_;
    SerialReceiver receiver_;
    QByteArray pending_;
    QTimer batch_;
};

LineService::LineService(LineFactory makeLine, QObject* parent)
    : QObject(parent), thread_(new QThread), lineContext_(new CallTarget),
      answers_(new CallTarget(this)) {
    setObjectName(QStringLiteral("ComPort1"));
    lineContext_->moveToThread(thread_);
    thread_->start();
    // The port is made on the line's thread, so that everything it does happens there.
    lineContext_->postAndWait(
        [this, &makeLine] { worker_ = std::make_unique<Worker>(*this, std::move(makeLine)); });
}

LineService::~LineService() {
    // Nothing waits for what is queued: requests not yet run are skipped, the running operation
    // and the terminal's write end within a wait's cancel check, and the port closes on its own
    // thread; what it answers then is not delivered.
    ending_ = true;
    cancel_ = true;
    sends_.stop();
    lineContext_->postAndWait([this] { worker_.reset(); });
    thread_->quit();
    thread_->wait();
    delete lineContext_;
    delete thread_;
}

void LineService::post(std::function<void(Worker&)> request) {
    lineContext_->post([this, request = std::move(request)] {
        if (!worker_ || ending_) return;
        try {
            request(*worker_);
        } catch (...) {
            // Out of an event handler an exception would end the program.
            worker_->fail(lineFailureText(std::current_exception()));
        }
    });
}

void LineService::answer(std::function<void()> change) {
    answers_->post(std::move(change));
}

void LineService::stopSends() {
    const qsizetype dropped = sends_.stop();
    if (dropped > 0) emit sendDropped(static_cast<int>(dropped));
}

void LineService::open(const ConnectionState& connection) {
    post([connection](Worker& w) { w.open(connection); });
}

void LineService::close() {
    stopSends();
    post([](Worker& w) { w.close(); });
}

void LineService::send(const QByteArray& bytes) {
    if (sends_.add(bytes)) post([](Worker& w) { w.flush(); });
}

void LineService::sendThenClose(const QByteArray& bytes, int pauseMs) {
    stopSends();
    post([bytes, pauseMs, stop = sends_.nextStop()](Worker& w) {
        try {
            w.write(bytes, *stop);
            w.pause(pauseMs, *stop);
        } catch (...) {
            w.close(); // the port goes as asked even when the write failed
            throw;
        }
        w.close();
    });
}

bool LineService::start(LineRequest request, const ConnectionState& connection, bool keepOpen) {
    if (busy_) return false;
    busy_ = true;
    cancel_ = false;
    stopSends();
    const quint64 serial = ++serial_;
    post([this, serial, request = std::move(request), connection, keepOpen](Worker& w) {
        done(serial, w.run(request, connection, keepOpen, &cancel_));
    });
    return true;
}

void LineService::done(quint64 serial, LineResult result) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        result_.emplace(serial, std::move(result));
    }
    ended_.notify_all();
    answer([this, serial] { handOver(serial); });
}

void LineService::handOver(quint64 serial) {
    std::optional<LineResult> result;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!result_ || result_->first != serial) return; // taken by cancelAndWait
        result = std::move(result_->second);
        result_.reset();
    }
    busy_ = false;
    emit finished(*result);
}

void LineService::cancel() {
    if (busy_) cancel_ = true;
}

std::optional<LineResult> LineService::cancelAndWait() {
    if (!busy_) return std::nullopt;
    cancel_ = true;
    std::unique_lock<std::mutex> lock(mutex_);
    ended_.wait(lock, [this] { return result_ && result_->first == serial_; });
    LineResult result = std::move(result_->second);
    result_.reset();
    busy_ = false;
    return result;
}

} // namespace zx
