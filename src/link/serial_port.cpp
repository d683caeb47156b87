#include "link/serial_port.h"
#include "link/port_open_failure.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zx {

namespace {

// What the port's receive buffer holds before it stops taking bytes from the system (whose own
// buffer, once full too, holds the line off).
constexpr int ReceiveBufferSize = 1024;
// Milliseconds between looks at the transmit queue while a write waits for it to empty.
constexpr int DrainStepMs = 20;

// Counts a nesting level for as long as it lives.
class DepthGuard {
  public:
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

  private:
    int& depth_;
};

// The reason an open failed, as the system's error number. The port library keeps only a
// category, so the path is examined again.
int openErrno(const QString& path) {
    const QByteArray native = path.toLocal8Bit();
    struct stat st {};
    if (native.isEmpty() || ::stat(native.constData(), &st) != 0)
        return native.isEmpty() ? ENOENT : errno;
    if (!S_ISCHR(st.st_mode)) return ENOTTY;
    if (::access(native.constData(), R_OK | W_OK) != 0) return errno;
    return EBUSY; // present and permitted: another program holds it
}

// The system's error number behind a failure the port library reports.
int errnoFor(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError:
        return EACCES;
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return EIO; // the library keeps no system number for these
    case QSerialPort::UnsupportedOperationError:
        return EINVAL;
    case QSerialPort::NotOpenError:
        return EBADF;
    default:
        return errno != 0 ? errno : EIO;
    }
}

bool lineFailure(QSerialPort::SerialPortError e) {
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError ||
           e == QSerialPort::WriteError;
}

QString messageOf(int code) {
    switch (code) {
    case CE_OpenFailed:
        return QStringLiteral("Unable to open com port");
    case CE_WriteFailed:
        return QStringLiteral("WriteFile function failed");
    case CE_ReadFailed:
        return QStringLiteral("ReadFile function failed");
    case CE_SetupFailed:
        return QStringLiteral("SetCommState function failed");
    case CE_LineFailed:
        return QStringLiteral("ClearCommError function failed");
    default:
        return QStringLiteral("Com port error %1").arg(code);
    }
}

} // namespace

SerialPortError::SerialPortError(int code, int errorNumber, const QString& advice)
    : code_(code), errorNumber_(errorNumber) {
    QString text = QStringLiteral("%1 (win error code: %2)").arg(messageOf(code)).arg(errorNumber);
    // A failure of the open line always says what happened and what to do.
    const bool lineFailure =
        code == CE_ReadFailed || code == CE_WriteFailed || code == CE_LineFailed;
    const QString said = advice.isEmpty() && lineFailure ? portLineAdvice(errorNumber) : advice;
    if (!said.isEmpty()) text += QLatin1Char('\n') + said;
    text_ = text.toStdString();
}

QString systemPortPath(const QString& portName) {
    static const QRegularExpression comN(QStringLiteral("^COM([1-9][0-9]{0,3})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (portName.isEmpty()) return QString();
    const auto m = comN.match(portName);
    if (m.hasMatch()) return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
    if (portName.startsWith(QLatin1Char('/'))) return portName;
    return QStringLiteral("/dev/") + portName;
}

QString portNameOfSystemName(const QString& systemName) {
    static const QRegularExpression ttyS(QStringLiteral("^ttyS([0-9]{1,4})$"));
    const auto m = ttyS.match(systemName);
    if (m.hasMatch()) return QStringLiteral("COM%1").arg(m.captured(1).toInt() + 1);
    return systemName;
}

SerialPort::SerialPort(QObject* parent) : QObject(parent), port_(new QSerialPort(this)) {
    connect(port_, &QSerialPort::readyRead, this, &SerialPort::deliverReceived);
    connect(port_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onErrorOccurred(static_cast<int>(e)); });
}

SerialPort::~SerialPort() {
    if (open_) {
        const QSignalBlocker quiet(this);
        closeDevice();
    }
}

void SerialPort::setPortName(const QString& name) {
    if (name == portName_) return;
    portName_ = name;
    if (open_) {
        close();
        open();
    }
}

void SerialPort::setBaudRate(int bitsPerSecond) {
    if (bitsPerSecond == bits_) return;
    bits_ = bitsPerSecond;
    if (open_) applyLineSettings();
}

void SerialPort::open() {
    if (open_) return;
    openDevice();
    emit opened();
}

void SerialPort::openDevice() {
    DepthGuard sync(quietDepth_);
    const QString path = systemPortPath(portName_);
    // Neutral stored settings, so that the library's own open cannot fail on ours: a refused
    // line setting must be reported as such, not as a port that does not open.
    port_->setBaudRate(9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    port_->setPortName(path);
    if (path.isEmpty() || !port_->open(QIODevice::ReadWrite)) {
        const int err = openErrno(path);
        port_->clearError();
        throw SerialPortError(CE_OpenFailed, err, portOpenAdvice(err, path, [](const QString& p) {
                                  return systemPortHolder(p);
                              }));
    }
    open_ = true;
    lineFailed_ = false;
    try {
        port_->setReadBufferSize(ReceiveBufferSize);
        applyLineSettings();
        // A device without modem lines (a pseudo-terminal) refuses this; that is no error.
        port_->setDataTerminalReady(true);
        port_->clearError();
    } catch (...) {
        closeDevice();
        throw;
    }
}

void SerialPort::close() {
    if (!open_) return;
    closeDevice();
    emit closed();
}

void SerialPort::closeDevice() {
    DepthGuard sync(quietDepth_);
    port_->clear(QSerialPort::Input);
    // Output still held back by the line (no CTS) would make the close wait for it.
    int pending = 0;
    if (::ioctl(port_->handle(), TIOCOUTQ, &pending) == 0 && pending > 0)
        port_->clear(QSerialPort::Output);
    port_->close();
    port_->clearError();
    open_ = false;
}

void SerialPort::applyLineSettings() {
    DepthGuard sync(quietDepth_);
    // RTS is the driver's while the flow is hardware.
    const bool ok =
        bits_ > 0 && port_->setBaudRate(bits_) && port_->setDataBits(QSerialPort::Data8) &&
        port_->setParity(QSerialPort::NoParity) && port_->setStopBits(QSerialPort::OneStop) &&
        port_->setFlowControl(QSerialPort::HardwareControl);
    if (!ok) {
        const int err = bits_ > 0 ? errnoFor(port_->error()) : EINVAL;
        port_->clearError();
        throw SerialPortError(CE_SetupFailed, err);
    }
}

int SerialPort::read(char* buffer, int count) {
    if (count <= 0) return 0;
    if (!open_) throw SerialPortError(CE_ReadFailed, EBADF);
    DepthGuard sync(quietDepth_);
    if (port_->bytesAvailable() < count) {
        // Take in what the driver holds without waiting.
        port_->waitForReadyRead(0);
        const auto e = port_->error();
        port_->clearError();
        if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError)
            fail(CE_ReadFailed, errnoFor(e));
    }
    const qint64 got = port_->read(buffer, count);
    if (got < 0) {
        const int err = errnoFor(port_->error());
        port_->clearError();
        fail(CE_ReadFailed, err);
    }
    return static_cast<int>(got);
}

bool SerialPort::waitForData(int ms) {
    if (!open_) return false;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (port_->bytesAvailable() > 0) return true;
        if (cancelled()) return false;
        const qint64 left = std::max<qint64>(0, ms - clock.elapsed());
        {
            DepthGuard sync(quietDepth_);
            port_->waitForReadyRead(blockMs(left));
            const auto e = port_->error();
            port_->clearError();
            if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError)
                fail(CE_ReadFailed, errnoFor(e));
        }
        if (left == 0 && port_->bytesAvailable() == 0) return false;
    }
}

int SerialPort::blockMs(qint64 leftMs) const {
    qint64 ms = std::max<qint64>(0, leftMs);
    if (cancel_) ms = std::min<qint64>(ms, CancelCheckMs);
    return static_cast<int>(std::min<qint64>(ms, std::numeric_limits<int>::max()));
}

int SerialPort::write(const QByteArray& text) {
    if (text.isEmpty()) return 0;
    if (!open_) throw SerialPortError(CE_WriteFailed, EBADF);
    DepthGuard sync(quietDepth_);
    const qint64 limit = static_cast<qint64>(WriteMsPerByte) * text.size() + WriteMs;
    QElapsedTimer clock;
    clock.start();
    // The library queues the bytes; its waits hand them to the system as the line takes them.
    port_->write(text);
    while (port_->bytesToWrite() > 0 && !cancelled()) {
        const qint64 left = limit - clock.elapsed();
        if (left <= 0) break;
        if (port_->waitForBytesWritten(blockMs(left))) continue;
        const auto e = port_->error();
        port_->clearError();
        if (lineFailure(e)) fail(CE_WriteFailed, errnoFor(e));
        // A full receive buffer stops the library's wait before it writes: for the rest of this
        // write it takes in what arrives, so that the bytes still go.
        if (e != QSerialPort::TimeoutError) port_->setReadBufferSize(0);
    }
    port_->setReadBufferSize(ReceiveBufferSize);
    const int dropped = awaitOutputDrained(limit, clock);
    // Bytes that arrived meanwhile were taken in quietly; the receivers get them now.
    if (!suspended_ && port_->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &SerialPort::deliverReceived);
    return static_cast<int>(text.size() - dropped);
}

int SerialPort::awaitOutputDrained(qint64 limitMs, const QElapsedTimer& clock) {
    const int fd = static_cast<int>(port_->handle());
    const int bits = std::max(bits_, 1);
    for (;;) {
        int pending = 0;
        if (::ioctl(fd, TIOCOUTQ, &pending) != 0) {
            if (errno == EINTR) continue;
            if (errno != ENOTTY && errno != EINVAL) fail(CE_WriteFailed, errno);
            pending = 0; // no queue to watch
        }
        const qint64 queued = port_->bytesToWrite() + std::max(pending, 0);
        if (queued == 0) return 0;
        const qint64 left = limitMs - clock.elapsed();
        if (left <= 0 || cancelled() || port_->bytesToWrite() > 0) {
            // What the line did not take within the limit (or before a cancel) is dropped, the
            // library's queue and the system's, not sent later.
            port_->clear(QSerialPort::Output);
            port_->clearError();
            return static_cast<int>(queued);
        }
        // Sleep in short steps of at most the queue's own line time, so the write returns soon
        // after the last byte has gone without waking up more often than needed.
        const qint64 queueMs = static_cast<qint64>(pending) * 10 * 1000 / bits + 1;
        const qint64 step = std::min<qint64>({queueMs, DrainStepMs, blockMs(left)});
        ::usleep(static_cast<useconds_t>(step * 1000));
    }
}

void SerialPort::fail(int code, int error) {
    lineFailed_ = true;
    throw SerialPortError(code, error, lineAdvice(error));
}

QString SerialPort::lineAdvice(int error) const {
    // The port's name first: the operator may have more than one.
    return QStringLiteral("%1: %2").arg(portName_, portLineAdvice(error));
}

void SerialPort::attachLink(SerialReceiver* link) {
    if (link && std::find(links_.begin(), links_.end(), link) == links_.end())
        links_.push_back(link);
}

void SerialPort::detachLink(SerialReceiver* link) {
    std::erase(links_, link);
}

void SerialPort::setReceiverSuspended(bool suspended) {
    if (suspended == suspended_) return;
    suspended_ = suspended;
    if (suspended_) return;
    if (open_ && lineFailed_)
        scheduleCloseAfterFailure();
    else
        QTimer::singleShot(0, this, &SerialPort::deliverReceived);
}

void SerialPort::scheduleCloseAfterFailure() {
    QTimer::singleShot(0, this, [this] {
        if (open_ && lineFailed_ && !suspended_) close();
    });
}

void SerialPort::deliverReceived() {
    if (!open_ || suspended_ || quietDepth_ > 0 || port_->bytesAvailable() == 0) return;
    const auto wants = [](SerialReceiver* l) { return static_cast<bool>(l->onReceived); };
    if (std::none_of(links_.begin(), links_.end(), wants)) return;
    const QByteArray data = port_->readAll();
    if (data.isEmpty()) return;
    // A handler may detach receivers or close the port; work on a copy of the list.
    const std::vector<SerialReceiver*> receivers = links_;
    for (SerialReceiver* l : receivers)
        if (std::find(links_.begin(), links_.end(), l) != links_.end() && l->onReceived)
            l->onReceived(data.constData(), static_cast<int>(data.size()));
}

void SerialPort::onErrorOccurred(int error) {
    const auto e = static_cast<QSerialPort::SerialPortError>(error);
    if (quietDepth_ > 0 || e == QSerialPort::NoError || e == QSerialPort::TimeoutError ||
        e == QSerialPort::UnsupportedOperationError)
        return;
    port_->clearError();
    const int code = e == QSerialPort::WriteError  ? CE_WriteFailed
                     : e == QSerialPort::ReadError ? CE_ReadFailed
                                                   : CE_LineFailed;
    // A failure is reported once: to the caller that met it (thrown) or else here. While a
    // transfer owns the line its own calls meet it; a line that stays failed is seen again
    // once the transfer has let it go.
    if (suspended_) return;
    if (!lineFailed_) {
        lineFailed_ = true;
        const int error = errnoFor(e);
        emit lineFailed(SerialPortError(code, error, lineAdvice(error)).text());
    }
    // A line that fails (a hung-up device) would report the same failure for ever and keep the
    // processor busy; it is closed once the report has been made.
    scheduleCloseAfterFailure();
}

} // namespace zx
