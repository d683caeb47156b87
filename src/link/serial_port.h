#pragma once
// The program's one serial port, always 8N1 with CTS/RTS flow and DTR on while open.
#include "link/byte_link.h"
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <string>
#include <vector>

class QSerialPort;

namespace zx {

// What failed, as the first words of SerialPortError's text say it.
enum PortErrorCode { CE_OpenFailed, CE_WriteFailed, CE_ReadFailed, CE_SetupFailed, CE_LineFailed };

// A serial port failure: what failed and the system's error number (errno).
class SerialPortError : public std::exception {
  public:
    // advice, when given, follows the text on a line of its own (what to do about it); a read,
    // write or line failure without it gets the line's advice (portLineAdvice).
    SerialPortError(int code, int errorNumber, const QString& advice = QString());
    int code() const { return code_; }
    int errorNumber() const { return errorNumber_; }
    // "Unable to open com port (win error code: N)", and the advice if any.
    QString text() const { return QString::fromStdString(text_); }
    const char* what() const noexcept override { return text_.c_str(); }

  private:
    int code_;
    int errorNumber_;
    std::string text_;
};

// Device path of a port name: "COMn" is the n-th system port /dev/ttyS(n-1); a full path is
// taken as it is; any other name is a device of /dev. Names are never shortened.
QString systemPortPath(const QString& portName);
// Name shown for a port the system lists: ttyS(n-1) shows as "COMn", others as they are.
QString portNameOfSystemName(const QString& systemName);

// A receiver attached to a port; onReceived gets every batch of received bytes.
struct SerialReceiver {
    std::function<void(const char* data, int count)> onReceived;
};

class SerialPort : public QObject {
    Q_OBJECT
  public:
    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override; // closes without notifications: their handlers may be gone

    QString portName() const { return portName_; }
    // Same name: nothing. Otherwise stores it; an open port is reopened under the new name.
    void setPortName(const QString& name);
    // Bits per second (9600 until set). A different rate applies at once while open.
    int baudRate() const { return bits_; }
    void setBaudRate(int bitsPerSecond);
    bool isOpen() const { return open_; }

    // Throws SerialPortError (the port stays closed, unnotified); nothing when already open.
    void open();
    void close(); // nothing when closed

    // Up to count bytes of what has arrived; 0 at once when nothing has. Never waits.
    int read(char* buffer, int count);
    // Returns the bytes that went once the line has taken them all (the transmit queue is empty)
    // or the limit (WriteMsPerByte x length + WriteMs) ran out; the rest is dropped, never sent.
    int write(const QByteArray& text);
    static constexpr int WriteMsPerByte = 100;
    static constexpr int WriteMs = 1000;
    bool waitForData(int ms); // until bytes wait (true) or ms have passed
    // While a flag is given, every wait of the port blocks at most CancelCheckMs at a time and
    // ends once the flag is set (from any thread): a wait for data returns false, a write drops
    // what the line has not taken yet (a frame cut short, never one sent later).
    void setCancelFlag(const std::atomic<bool>* flag) { cancel_ = flag; }
    const std::atomic<bool>* cancelFlag() const { return cancel_; }
    static constexpr int CancelCheckMs = Clock::CancelCheckMs;

    void attachLink(SerialReceiver* link);
    void detachLink(SerialReceiver* link);
    // While set, received bytes stay in the port for read(); receivers get nothing (a transfer
    // owns the line). Clearing it hands what waits to the receivers on the event loop.
    void setReceiverSuspended(bool suspended);
    bool receiverSuspended() const { return suspended_; }

  signals:
    void opened();
    void closed();
    // A failure the event loop met (a device that hung up), once; the port then closes itself.
    // Not one a call has thrown, nor while a transfer owns the line: its own calls meet it.
    void lineFailed(const QString& text);

  private:
    void openDevice(); // these three as open(), close() and setBaudRate() without signals
    void applyLineSettings();
    void closeDevice();
    void deliverReceived();
    void onErrorOccurred(int error);
    int blockMs(qint64 leftMs) const; // a wait's block: at most CancelCheckMs when watched
    bool cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }
    // Waits for the library's and the system's queues to empty; the bytes dropped at the limit.
    int awaitOutputDrained(qint64 limitMs, const QElapsedTimer& clock);
    [[noreturn]] void fail(int code, int error);
    // What a failure of the open line means, named by the port ("COM2: A vonal megszakadt...").
    QString lineAdvice(int error) const;
    void scheduleCloseAfterFailure();

    QString portName_ = QStringLiteral("COM1");
    int bits_ = 9600;
    QSerialPort* port_;
    bool open_ = false;
    bool suspended_ = false;
    bool lineFailed_ = false; // the line's failure has been reported (thrown or signalled)
    int quietDepth_ = 0;
    std::vector<SerialReceiver*> links_;
    const std::atomic<bool>* cancel_ = nullptr;
};

} // namespace zx
