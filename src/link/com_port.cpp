#include "link/com_port.h"
#include "link/port_open_failure.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace zx {

namespace {

constexpr int RateBits[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                            14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

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

} // namespace

int baudRateBits(TBaudRate rate, int customBaudRate) {
    if (rate == brCustom) return customBaudRate;
    const int i = static_cast<int>(rate);
    return i > 0 && i <= static_cast<int>(br256000) ? RateBits[i] : 0;
}

TBaudRate baudRateOfBits(int bps) {
    for (int i = 1; i <= static_cast<int>(br256000); ++i)
        if (RateBits[i] == bps) return static_cast<TBaudRate>(i);
    return brCustom;
}

TComPortSettings TComPortSettings::comPort1() {
    TComPortSettings s;
    s.FlowControl.OutCTSFlow = true;
    s.FlowControl.ControlDTR = dtrEnable;
    s.FlowControl.ControlRTS = rtsHandshake;
    return s;
}

EComPort::EComPort(int code, int winCode, const QString& advice) : code_(code), winCode_(winCode) {
    QString text = QStringLiteral("%1 (win error code: %2)").arg(messageOf(code)).arg(winCode);
    if (!advice.isEmpty()) text += QLatin1Char('\n') + advice;
    text_ = text.toStdString();
}

QString EComPort::Message() const {
    return messageOf(code_);
}

QString EComPort::messageOf(int code) {
    switch (code) {
    case CE_OpenFailed:
        return QStringLiteral("Unable to open com port");
    case CE_WriteFailed:
        return QStringLiteral("WriteFile function failed");
    case CE_ReadFailed:
        return QStringLiteral("ReadFile function failed");
    case CE_PurgeFailed:
        return QStringLiteral("PurgeComm function failed");
    case CE_SetStateFailed:
        return QStringLiteral("SetCommState function failed");
    case CE_SetTimeoutsFailed:
        return QStringLiteral("SetCommTimeouts failed");
    case CE_SetupComFailed:
        return QStringLiteral("SetupComm function failed");
    case CE_ClearComFailed:
        return QStringLiteral("ClearCommError function failed");
    default:
        return QStringLiteral("Com port error %1").arg(code);
    }
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

TComPort::TComPort(QObject* parent, const TComPortSettings& settings)
    : QObject(parent), port_(new QSerialPort(this)) {
    setSettings(settings);
    connect(port_, &QSerialPort::readyRead, this, &TComPort::deliverReceived);
    connect(port_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onErrorOccurred(static_cast<int>(e)); });
}

TComPort::~TComPort() {
    if (open_) {
        const QSignalBlocker quiet(this);
        closeDevice();
    }
}

void TComPort::setSettings(const TComPortSettings& settings) {
    const QString oldPort = s_.Port;
    s_ = settings;
    s_.Port = oldPort; // a new name goes through setPort, which reopens an open port
    s_.Buffer.InputSize -= s_.Buffer.InputSize % 2;
    s_.Buffer.OutputSize -= s_.Buffer.OutputSize % 2;
    if (open_) {
        applyBuffers();
        applyLineSettings();
        applyModemLines();
    }
    setPort(settings.Port);
}

void TComPort::setPort(const QString& name) {
    if (name == s_.Port) return;
    s_.Port = name;
    if (open_) {
        close();
        open();
    }
}

void TComPort::setBaudRate(TBaudRate rate) {
    if (rate == s_.BaudRate) return;
    s_.BaudRate = rate;
    if (open_) applyLineSettings();
}

void TComPort::setCustomBaudRate(int bps) {
    if (bps == s_.CustomBaudRate) return;
    s_.CustomBaudRate = bps;
    if (open_ && s_.BaudRate == brCustom) applyLineSettings();
}

void TComPort::setBufferSizes(int inputSize, int outputSize) {
    s_.Buffer.InputSize = inputSize - inputSize % 2;
    s_.Buffer.OutputSize = outputSize - outputSize % 2;
    if (open_) applyBuffers();
}

int TComPort::lineBits() const {
    return baudRateBits(s_.BaudRate, s_.CustomBaudRate);
}

void TComPort::open() {
    if (open_) return;
    openDevice();
    emit AfterOpen();
}

void TComPort::openDevice() {
    DepthGuard sync(quietDepth_);
    const QString path = systemPortPath(s_.Port);
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
        throw EComPort(CE_OpenFailed, err, portOpenAdvice(err, path, [](const QString& p) {
                           return systemPortHolder(p);
                       }));
    }
    open_ = true;
    lineFailed_ = false;
    try {
        applyBuffers();
        applyLineSettings();
        // The time limits need nothing from the driver: the device is non-blocking, reads
        // return what has arrived and writes are timed by WriteText itself.
        applyModemLines();
    } catch (...) {
        closeDevice();
        throw;
    }
}

void TComPort::close() {
    if (!open_) return;
    closeDevice();
    emit AfterClose();
}

void TComPort::closeDevice() {
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

void TComPort::applyBuffers() {
    // The receive buffer is what the port holds before the line is held off.
    port_->setReadBufferSize(std::max(s_.Buffer.InputSize, 2));
}

void TComPort::applyLineSettings() {
    DepthGuard sync(quietDepth_);
    static constexpr QSerialPort::DataBits Data[] = {QSerialPort::Data5, QSerialPort::Data6,
                                                     QSerialPort::Data7, QSerialPort::Data8};
    static constexpr QSerialPort::Parity Par[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                  QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                  QSerialPort::SpaceParity};
    // 1.5 stop bits do not exist here; two are the closest that keeps the receiver in step.
    const QSerialPort::StopBits stop =
        s_.StopBits == sbOneStopBit ? QSerialPort::OneStop : QSerialPort::TwoStop;
    const auto& f = s_.FlowControl;
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    if (f.XonXoffOut || f.XonXoffIn)
        flow = QSerialPort::SoftwareControl;
    else if (f.OutCTSFlow || f.ControlRTS == rtsHandshake)
        flow = QSerialPort::HardwareControl;

    const int bits = lineBits();
    const bool ok = bits > 0 && port_->setBaudRate(bits) &&
                    port_->setDataBits(Data[std::clamp(static_cast<int>(s_.DataBits), 0, 3)]) &&
                    port_->setParity(Par[std::clamp(static_cast<int>(s_.Parity.Bits), 0, 4)]) &&
                    port_->setStopBits(stop) && port_->setFlowControl(flow);
    if (!ok) {
        const int err = bits > 0 ? errnoFor(port_->error()) : EINVAL;
        port_->clearError();
        throw EComPort(CE_SetStateFailed, err);
    }
}

void TComPort::applyModemLines() {
    DepthGuard sync(quietDepth_);
    // A device without modem lines (a pseudo-terminal) refuses these; that is no error.
    port_->setDataTerminalReady(s_.FlowControl.ControlDTR != dtrDisable);
    if (port_->flowControl() != QSerialPort::HardwareControl)
        port_->setRequestToSend(s_.FlowControl.ControlRTS != rtsDisable);
    port_->clearError();
}

int TComPort::bytesWaiting() const {
    return open_ ? static_cast<int>(port_->bytesAvailable()) : 0;
}

int TComPort::read(char* buffer, int count) {
    if (count <= 0) return 0;
    if (!open_) throw EComPort(CE_ReadFailed, EBADF);
    DepthGuard sync(quietDepth_);
    if (port_->bytesAvailable() < count) {
        // Take in what the driver holds without waiting.
        port_->waitForReadyRead(0);
        const auto e = port_->error();
        if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError) {
            const int err = errnoFor(e);
            port_->clearError();
            failRead(err);
        }
        port_->clearError();
    }
    const qint64 got = port_->read(buffer, count);
    if (got < 0) {
        const int err = errnoFor(port_->error());
        port_->clearError();
        failRead(err);
    }
    return static_cast<int>(got);
}

bool TComPort::waitForData(int ms) {
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
                failRead(errnoFor(e));
        }
        if (left == 0 && port_->bytesAvailable() == 0) return false;
    }
}

bool TComPort::cancelled() const {
    return cancel_ != nullptr && cancel_->load(std::memory_order_relaxed);
}

int TComPort::blockMs(qint64 leftMs) const {
    qint64 ms = std::max<qint64>(0, leftMs);
    if (cancel_) ms = std::min<qint64>(ms, CancelCheckMs);
    return static_cast<int>(std::min<qint64>(ms, std::numeric_limits<int>::max()));
}

int TComPort::WriteText(const QByteArray& text) {
    if (text.isEmpty()) return 0;
    if (!open_) throw EComPort(CE_WriteFailed, EBADF);
    // Written straight to the device rather than through the library's queue, so that what
    // the limit cuts off is exactly what never left: nothing is left to trickle out later and
    // nothing already gone is thrown away.
    const int fd = static_cast<int>(port_->handle());
    const qint64 limit = static_cast<qint64>(s_.Timeouts.WriteTotalMultiplier) * text.size() +
                         s_.Timeouts.WriteTotalConstant;
    QElapsedTimer clock;
    clock.start();
    qsizetype done = 0;
    while (done < text.size() && !cancelled()) {
        const ssize_t n = ::write(fd, text.constData() + done, text.size() - done);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) failWrite(errno);
        const qint64 left = limit - clock.elapsed();
        if (left <= 0) break;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, blockMs(left)) < 0 && errno != EINTR) failWrite(errno);
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) failWrite(EIO);
    }
    done -= awaitOutputDrained(fd, clock.elapsed(), limit);
    return static_cast<int>(done);
}

int TComPort::awaitOutputDrained(int fd, qint64 elapsedMs, qint64 limitMs) {
    QElapsedTimer clock;
    clock.start();
    const int bits = std::max(lineBits(), 1);
    for (;;) {
        int pending = 0;
        if (::ioctl(fd, TIOCOUTQ, &pending) != 0) {
            if (errno == EINTR) continue;
            if (errno == ENOTTY || errno == EINVAL) return 0; // no queue to watch
            failWrite(errno);
        }
        if (pending <= 0) return 0;
        const qint64 left = limitMs - elapsedMs - clock.elapsed();
        if (left <= 0 || cancelled()) {
            // What the line did not take within the limit (or before a cancel) is dropped, not
            // sent later.
            ::tcflush(fd, TCOFLUSH);
            return pending;
        }
        // Sleep in short steps of at most the queue's own line time, so the write returns soon
        // after the last byte has gone without waking up more often than needed.
        const qint64 queueMs = static_cast<qint64>(pending) * 10 * 1000 / bits + 1;
        const qint64 step = std::min<qint64>({queueMs, DrainStepMs, blockMs(left)});
        ::usleep(static_cast<useconds_t>(step * 1000));
    }
}

void TComPort::failWrite(int err) {
    lineFailed_ = true;
    throw EComPort(CE_WriteFailed, err);
}

void TComPort::failRead(int err) {
    lineFailed_ = true;
    throw EComPort(CE_ReadFailed, err);
}

void TComPort::attachLink(TComLink* link) {
    if (link && std::find(links_.begin(), links_.end(), link) == links_.end())
        links_.push_back(link);
}

void TComPort::detachLink(TComLink* link) {
    std::erase(links_, link);
}

void TComPort::setReceiverSuspended(bool suspended) {
    if (suspended == suspended_) return;
    suspended_ = suspended;
    if (suspended_) return;
    if (open_ && lineFailed_)
        scheduleCloseAfterFailure();
    else
        QTimer::singleShot(0, this, &TComPort::deliverReceived);
}

void TComPort::scheduleCloseAfterFailure() {
    QTimer::singleShot(0, this, [this] {
        if (open_ && lineFailed_ && !suspended_) close();
    });
}

void TComPort::deliverReceived() {
    if (!open_ || suspended_ || quietDepth_ > 0 || port_->bytesAvailable() == 0) return;
    const auto wants = [](TComLink* l) { return static_cast<bool>(l->OnRxBuf); };
    if (std::none_of(links_.begin(), links_.end(), wants)) return;
    const QByteArray data = port_->readAll();
    if (data.isEmpty()) return;
    // A handler may detach receivers or close the port; work on a copy of the list.
    const std::vector<TComLink*> receivers = links_;
    for (TComLink* l : receivers)
        if (std::find(links_.begin(), links_.end(), l) != links_.end() && l->OnRxBuf)
            l->OnRxBuf(data.constData(), static_cast<int>(data.size()));
}

void TComPort::onErrorOccurred(int error) {
    const auto e = static_cast<QSerialPort::SerialPortError>(error);
    if (quietDepth_ > 0 || e == QSerialPort::NoError || e == QSerialPort::TimeoutError ||
        e == QSerialPort::UnsupportedOperationError)
        return;
    port_->clearError();
    const int code = e == QSerialPort::WriteError  ? CE_WriteFailed
                     : e == QSerialPort::ReadError ? CE_ReadFailed
                                                   : CE_ClearComFailed;
    // A failure is reported once: to the caller that met it (thrown) or else here. While a
    // transfer owns the line its own calls meet it; a line that stays failed is seen again
    // once the transfer has let it go.
    if (suspended_) return;
    if (!lineFailed_) {
        lineFailed_ = true;
        emit LineError(EComPort(code, errnoFor(e)).Text());
    }
    // A line that fails (a hung-up device) would report the same failure for ever and keep the
    // processor busy; it is closed once the report has been made.
    scheduleCloseAfterFailure();
}

int TComPort::errnoFor(int error) const {
    switch (static_cast<QSerialPort::SerialPortError>(error)) {
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

} // namespace zx
