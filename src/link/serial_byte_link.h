#pragma once
// The transfer protocol's byte link over the program's serial port. While one exists the
// transfer owns the line: received bytes stay for its reads instead of reaching the terminal.
#include "link/byte_link.h"

#include <functional>

namespace zx {

class TComPort;

class SerialByteLink : public ByteLink {
  public:
    // `whileWaiting`, when given, runs at least every TComPort::WaitSliceMs while the link waits
    // on the line (for a reply, for room to write, for its output to drain): the window's
    // event pump, so it paints while the line is slow or silent.
    explicit SerialByteLink(TComPort& port, std::function<void()> whileWaiting = {});
    ~SerialByteLink() override;
    SerialByteLink(const SerialByteLink&) = delete;
    SerialByteLink& operator=(const SerialByteLink&) = delete;

    bool isOpen() const override;
    // These throw EComPort when the port fails (a write error, a device that hung up).
    void write(const QByteArray& bytes) override;
    QByteArray readAvailable(int maxBytes) override;
    bool waitForData(int limitMs) override;
    int bitsPerSecond() const override;

  private:
    TComPort& port_;
    bool wasSuspended_;
    std::function<void()> previousHandler_;
};

} // namespace zx
