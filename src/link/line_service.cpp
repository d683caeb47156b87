#include "link/line_service.h"

#include "link/open_connection.h"
#include "link/serial_byte_link.h"
#include "link/serial_port.h"
#include "link/system_clock.h"
#include "link/tracing_link.h"

#include <QThread>
#include <QTimer>

#include <cerrno>
#include <utility>

namespace zx {

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
    } catch (const SerialPortError& e) {
        result = portFailureResult(request.operation, e);
    } catch (const std::exception& e) {
        result = failedResult(request.operation, QString::fromUtf8(e.what()));
    } catch (...) {
        result = failedResult(request.operation, QStringLiteral("Váratlan hiba a vonalon."));
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
        } catch (const std::exception& e) {
            const QString text = QString::fromUtf8(e.what());
            service_.answer([s = &service_, text] { emit s->openFailed(text); });
        }
    }
    void close() { port_.close(); }
    void send(const QByteArray& bytes) {
        if (!port_.isOpen()) return;
        try {
            port_.write(bytes);
        } catch (const SerialPortError& e) {
            fail(e.text());
        }
    }
    void pause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

    LineResult run(const LineRequest& request, const ConnectionState& connection, bool keepOpen,
                   const std::atomic<bool>* cancel) {
        LineResult result;
        try {
            if (!port_.isOpen()) openConnection(port_, connection);
        } catch (const SerialPortError& e) {
            result = portFailureResult(request.operation, e);
            result.status.clear(); // nothing went on the line
            return result;
        } catch (const std::exception& e) {
            result = failedResult(request.operation, QString::fromUtf8(e.what()));
            result.status.clear();
            return result;
        }
        deliver(); // the terminal's bytes so far, before the operation's own
        result = runLineOperation(port_, makeLine_, cancel, request, [this](const auto& p) {
            service_.answer([s = &service_, p] { emit s->progressed(p); });
        });
        if (!keepOpen) port_.close();
        return result;
    }

  private:
    static constexpr int ReceiveBatchMs = 10;

    void deliver() {
        batch_.stop();
        if (pending_.isEmpty()) return;
        service_.answer([s = &service_, bytes = std::exchange(pending_, QByteArray())] {
            emit s->received(bytes);
        });
    }
    void fail(const QString& text) {
        deliver();
        service_.answer([s = &service_, text] { emit s->failed(text); });
    }

    LineService& service_;
    LineFactory makeLine_;
    SerialPort port_;
    SerialReceiver receiver_;
    QByteArray pending_;
    QTimer batch_;
};

LineService::LineService(LineFactory makeLine, QObject* parent)
    : QObject(parent), thread_(new QThread), lineContext_(new QObject) {
    setObjectName(QStringLiteral("ComPort1"));
    lineContext_->moveToThread(thread_);
    thread_->start();
    // The port is made on the line's thread, so that everything it does happens there.
    QMetaObject::invokeMethod(
        lineContext_,
        [this, makeLine = std::move(makeLine)]() mutable {
            worker_ = std::make_unique<Worker>(*this, std::move(makeLine));
        },
        Qt::BlockingQueuedConnection);
}

LineService::~LineService() {
    cancel_ = true;
    // The port closes on its own thread once a running operation has ended; what it answers
    // then is not delivered.
    QMetaObject::invokeMethod(
        lineContext_, [this] { worker_.reset(); }, Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    delete lineContext_;
    delete thread_;
}

void LineService::post(std::function<void(Worker&)> request) {
    QMetaObject::invokeMethod(
        lineContext_,
        [this, request = std::move(request)] {
            if (worker_) request(*worker_);
        },
        Qt::QueuedConnection);
}

void LineService::answer(std::function<void()> change) {
    QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

void LineService::open(const ConnectionState& connection) {
    post([connection](Worker& w) { w.open(connection); });
}

void LineService::close() {
    post([](Worker& w) { w.close(); });
}

void LineService::send(const QByteArray& bytes) {
    post([bytes](Worker& w) { w.send(bytes); });
}

void LineService::sendThenClose(const QByteArray& bytes, int pauseMs) {
    post([bytes, pauseMs](Worker& w) {
        w.send(bytes);
        w.pause(pauseMs);
        w.close();
    });
}

bool LineService::start(LineRequest request, const ConnectionState& connection, bool keepOpen) {
    if (busy_) return false;
    busy_ = true;
    cancel_ = false;
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
