#pragma once
// The transfer protocol's byte link over the program's serial port. While one exists the
// transfer owns the line: received bytes stay for its reads instead of reaching the terminal.
#include "link/byte_link.h"

#include <atomic>

namespace zx {

class SerialPort;

class SerialByteLink : public ByteLink {
  public:
    // `cancel`, when given, is watched by every wait of the port while the link lives: a set
    // flag ends a wait for data and cuts a write short (see SerialPort::setCancelFlag).
    explicit SerialByteLink(SerialPort& port, const std::atomic<bool>* cancel = nullptr);
    ~SerialByteLink() override;
    SerialByteLink(const SerialByteLink&) = delete;
    SerialByteLink& operator=(const SerialByteLink&) = delete;

    bool isOpen() const override;
    // These throw SerialPortError when the port fails (a write error, a device that hung up).
    void write(const QByteArray& bytes) override;
    QByteArray readAvailable(int maxBytes) override;
    bool waitForData(int limitMs) override;
    int bitsPerSecond() const override;

  private:
    SerialPort& port_;
    bool wasSuspended_;
    const std::atomic<bool>* previousCancel_;
};

} // namespace zx
