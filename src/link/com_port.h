#pragma once
// The one serial port object of the program: settings, open/close with their notifications,
// a read that never waits, a write with a time limit, and receivers fed with what arrives.
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QSerialPort;

namespace zx {

// Positions matter: callers pass these values by their index.
enum TBaudRate {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };

// Bits per second of a fixed rate; custom gives the custom rate.
int baudRateBits(TBaudRate rate, int customBaudRate);
// The fixed rate of exactly bps bits per second, brCustom when there is none.
TBaudRate baudRateOfBits(int bps);

struct TComParity {
    TParityBits Bits = prNone;
    bool Check = false;
    bool Replace = false;
    char ReplaceChar = 0;
};

struct TComFlowControl {
    bool OutCTSFlow = false;
    bool OutDSRFlow = false;
    TDTRFlowControl ControlDTR = dtrDisable;
    TRTSFlowControl ControlRTS = rtsDisable;
    bool XonXoffOut = false;
    bool XonXoffIn = false;
    char XonChar = 17;
    char XoffChar = 19;
    bool DSRSensitivity = false;
    bool TxContinueOnXoff = false;
};

// Milliseconds; ReadInterval -1 means a read returns at once with what has arrived.
struct TComTimeouts {
    int ReadInterval = -1;
    int ReadTotalMultiplier = 0;
    int ReadTotalConstant = 0;
    int WriteTotalMultiplier = 100;
    int WriteTotalConstant = 1000;
};

struct TComBuffer {
    int InputSize = 1024;
    int OutputSize = 1024;
};

// Default-constructed: the values of a newly created port.
struct TComPortSettings {
    QString Port = QStringLiteral("COM1");
    TBaudRate BaudRate = br9600;
    int CustomBaudRate = 9600;
    TDataBits DataBits = dbEight;
    TStopBits StopBits = sbOneStopBit;
    TComParity Parity;
    TComFlowControl FlowControl;
    bool DiscardNull = false;
    char EventChar = 0;
    TComTimeouts Timeouts;
    TComBuffer Buffer;

    // The line the unit and the modems expect: 8N1, CTS/RTS hardware flow, DTR on while open.
    static TComPortSettings comPort1();
};

// Error codes of EComPort.
enum EComPortCode {
    CE_OpenFailed = 1,
    CE_WriteFailed = 2,
    CE_ReadFailed = 3,
    CE_PurgeFailed = 5,
    CE_SetStateFailed = 7,
    CE_SetTimeoutsFailed = 8,
    CE_SetupComFailed = 9,
    CE_ClearComFailed = 10
};

// A serial port failure: a code, its message and the system's error number (errno).
class EComPort : public std::exception {
  public:
    // advice, when given, follows the text on a line of its own (what to do about it).
    EComPort(int code, int winCode, const QString& advice = QString());
    int Code() const { return code_; }
    int WinCode() const { return winCode_; }
    // The message of the code alone, e.g. "Unable to open com port".
    QString Message() const;
    // Message followed by " (win error code: N)", and the advice if any.
    QString Text() const { return QString::fromStdString(text_); }
    const char* what() const noexcept override { return text_.c_str(); }

    static QString messageOf(int code);

  private:
    int code_;
    int winCode_;
    std::string text_;
};

// Device path of a port name: "COMn" is the n-th system port /dev/ttyS(n-1); a full path is
// taken as it is; any other name is a device of /dev. Names are never shortened.
QString systemPortPath(const QString& portName);
// Name shown for a port the system lists: ttyS(n-1) shows as "COMn", others as they are.
QString portNameOfSystemName(const QString& systemName);

// A receiver attached to a port; OnRxBuf gets every batch of received bytes.
class TComLink {
  public:
    std::function<void(const char* data, int count)> OnRxBuf;
};

class TComPort : public QObject {
    Q_OBJECT
  public:
    explicit TComPort(QObject* parent = nullptr,
                      const TComPortSettings& settings = TComPortSettings::comPort1());
    // Destroying the port closes it without notifications: their handlers may be gone.
    ~TComPort() override;

    const TComPortSettings& settings() const { return s_; }
    // Stores all settings; while open, the line settings and the limits apply at once.
    void setSettings(const TComPortSettings& settings);

    QString Port() const { return s_.Port; }
    // Same name: nothing. Otherwise stores it; an open port is reopened under the new name.
    void setPort(const QString& name);
    TBaudRate BaudRate() const { return s_.BaudRate; }
    // A different rate is stored and, while open, given to the driver at once.
    void setBaudRate(TBaudRate rate);
    int CustomBaudRate() const { return s_.CustomBaudRate; }
    void setCustomBaudRate(int bps);
    // Odd sizes are lowered by one.
    void setBufferSizes(int inputSize, int outputSize);
    int InputBufferSize() const { return s_.Buffer.InputSize; }
    int OutputBufferSize() const { return s_.Buffer.OutputSize; }
    // The rate the line runs at (or would run at when opened), in bits per second.
    int lineBits() const;

    bool Connected() const { return open_; }

    // No-op when open. Throws EComPort; a failed open leaves the port closed, unnotified.
    void open();
    // No-op when closed.
    void close();

    // Up to count bytes of what has arrived; 0 at once when nothing has. Never waits.
    int read(char* buffer, int count);
    // Writes all bytes and waits until the driver has let them go (its transmit queue is
    // empty), or until the write limit (multiplier x length + constant) runs out; what has not
    // gone by then is dropped. Returns the bytes that went. Waiting sleeps, it does not spin.
    int WriteText(const QByteArray& text);
    // Blocks in the driver until bytes are waiting or ms have passed; true when bytes wait.
    bool waitForData(int ms);
    // While a flag is given, the waits of the port (for data, for room to write, for the output
    // to drain) block at most CancelCheckMs at a time and end as soon as the flag is set: a wait
    // for data returns false, a write stops and drops what the line has not taken yet (a frame
    // cut short, never one sent later). The flag may be set from any thread.
    void setCancelFlag(const std::atomic<bool>* flag) { cancel_ = flag; }
    const std::atomic<bool>* cancelFlag() const { return cancel_; }
    static constexpr int CancelCheckMs = 50;
    // Bytes waiting for read().
    int bytesWaiting() const;

    void attachLink(TComLink* link);
    void detachLink(TComLink* link);
    // While set, received bytes stay in the port for read(); receivers get nothing (a transfer
    // owns the line). Clearing it hands what waits to the receivers on the event loop.
    void setReceiverSuspended(bool suspended);
    bool receiverSuspended() const { return suspended_; }

  signals:
    void AfterOpen();
    void AfterClose();
    // A failure noticed while the event loop delivered line events (e.g. the device hung up);
    // reported once, after which the port closes itself (with AfterClose). A failure that a
    // call has already thrown is not reported here again, nor one met while a transfer owns the
    // line (receivers suspended): the transfer's own calls meet it.
    void LineError(const QString& text);

  private:
    void applyLineSettings();
    void applyBuffers();
    void applyModemLines();
    void openDevice();
    void closeDevice();
    void deliverReceived();
    void onErrorOccurred(int error);
    // Milliseconds between looks at the transmit queue while a write waits for it to empty.
    static constexpr int DrainStepMs = 20;
    // How long one block of a wait may last when leftMs remain of it: no longer than
    // CancelCheckMs while a cancel flag is watched.
    int blockMs(qint64 leftMs) const;
    bool cancelled() const;
    // Waits for the transmit queue to empty within what is left of the limit; returns how many
    // bytes were still queued and dropped when it ran out.
    int awaitOutputDrained(int fd, qint64 elapsedMs, qint64 limitMs);
    [[noreturn]] void failWrite(int err);
    [[noreturn]] void failRead(int err);
    void scheduleCloseAfterFailure();
    int errnoFor(int error) const;

    TComPortSettings s_;
    QSerialPort* port_;
    bool open_ = false;
    bool suspended_ = false;
    // The line's failure has been reported (thrown or signalled).
    bool lineFailed_ = false;
    int quietDepth_ = 0;
    std::vector<TComLink*> links_;
    const std::atomic<bool>* cancel_ = nullptr;
};

} // namespace zx
