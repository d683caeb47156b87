#pragma once
// The seams the transfer protocol runs on: a byte link to the unit and a clock that also tells
// whether the operation has been cancelled. The desktop and the command line wire the serial
// port and the computer's clock; tests wire the in-process simulated unit and a virtual clock.
#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>

namespace zx {

class ByteLink {
  public:
    virtual ~ByteLink() = default;
    virtual bool isOpen() const = 0;
    // Writes all bytes; returns when the port has let them go. Some drivers (pseudo-terminals,
    // many USB adapters) say so before the bytes have crossed the line, so a wait for an answer
    // adds the frame's own line time on top.
    virtual void write(const QByteArray& bytes) = 0;
    // Up to maxBytes of what has arrived; empty at once when nothing has.
    virtual QByteArray readAvailable(int maxBytes) = 0;
    // Blocks until data is there or limitMs has passed on the link's clock; true when data is
    // there. Must not spin: a real link sleeps in the driver, a simulated one advances its virtual
    // clock.
    virtual bool waitForData(int limitMs) = 0;
    // Speed of the line in bits per second; 0 when bytes take no time on it.
    virtual int bitsPerSecond() const { return 0; }
    // Milliseconds that `bytes` bytes take on the line at 10 bits a byte, rounded up.
    int lineTimeMs(int bytes) const {
        const int bps = bitsPerSecond();
        if (bps <= 0 || bytes <= 0) return 0;
        return static_cast<int>((static_cast<std::int64_t>(bytes) * 10 * 1000 + bps - 1) / bps);
    }
};

class Clock {
  public:
    // The longest a transfer blocks (in a pause or a wait on the line) before it looks at the
    // cancel request again.
    static constexpr int CancelCheckMs = 50;

    virtual ~Clock() = default;
    // Monotonic milliseconds.
    virtual std::int64_t nowMs() const = 0;
    // Waits ms (at most CancelCheckMs are asked for at a time). Never spins.
    virtual void sleepMs(int ms) = 0;
    // Whether the operation running on this clock has been asked to stop: the flag given to
    // watchCancel was set (from any thread, or from a signal handler).
    virtual bool cancelled() const {
        return cancel_ != nullptr && cancel_->load(std::memory_order_relaxed);
    }
    void watchCancel(const std::atomic<bool>* flag) { cancel_ = flag; }

  private:
    const std::atomic<bool>* cancel_ = nullptr;
};

} // namespace zx
