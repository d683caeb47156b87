#include "link/line_runner.h"

#include "link/serial_port.h"

#include <QThread>

namespace zx {

LineRunner::LineRunner(QObject* parent) : QObject(parent) {}

LineRunner::~LineRunner() {
    if (!thread_) return;
    cancel_ = true;
    thread_->wait();
    delete thread_;
}

bool LineRunner::start(SerialPort* port, TransferLine line, LineOperation operation, Work work) {
    if (thread_) return false;
    cancel_ = false;
    line_ = std::move(line);
    line_.clock->watchCancel(&cancel_);
    port_ = port;
    const quint64 serial = ++serial_;
    QThread* home = thread();
    // Only the line, the port and the result are touched on the operation's thread.
    thread_ = QThread::create([this, home, serial, operation, work = std::move(work)] {
        Transfer engine(*line_.link, *line_.clock);
        engine.setProgressHandler([this, serial](const TransferProgress& p) {
            QMetaObject::invokeMethod(
                this,
                [this, serial, p] {
                    if (serial == serial_ && thread_) emit progressed(p);
                },
                Qt::QueuedConnection);
        });
        LineResult result;
        try {
            result = work(engine);
        } catch (const SerialPortError& e) {
            result = portFailureResult(operation, e);
        }
        result.operation = operation;
        if (port_) port_->moveToThread(home);
        result_ = std::move(result);
    });
    connect(thread_, &QThread::finished, this, [this, serial] {
        if (serial == serial_ && thread_) complete();
    });
    if (port_) port_->moveToThread(thread_);
    thread_->start();
    return true;
}

void LineRunner::cancel() {
    if (thread_) cancel_ = true;
}

void LineRunner::cancelAndWait() {
    if (!thread_) return;
    cancel_ = true;
    complete();
}

void LineRunner::complete() {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    // The link gives the port back to its receivers on the port's own thread, this one again.
    line_ = TransferLine{};
    emit finished(result_);
}

} // namespace zx
