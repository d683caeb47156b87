#pragma once
// The simulated unit wired in process: a byte link and a clock that runs on virtual time.
// Waiting for data moves the clock straight to the moment the unit's next byte is due (or to
// the limit), so a transfer full of time-outs finishes in milliseconds of real time. A write
// returns at once, as on a driver that reports its output gone before it has crossed the line;
// a unit paced at a line speed takes the bytes in at that speed all the same.
#include "link/byte_link.h"
#include "link/simulated_unit.h"

#include <optional>
#include <vector>

namespace zx {

class VirtualClock : public Clock {
  public:
    std::int64_t nowMs() const override { return nowUs_ / 1000; }
    std::int64_t nowUs() const { return nowUs_; }
    void sleepMs(int ms) override;
    // Also cancelled from the moment set by cancelAtMs on.
    bool cancelled() const override;

    // Time only moves forward.
    void advanceToUs(std::int64_t us);
    // The operator asks to stop at virtual millisecond ms (as the window's Escape would).
    void cancelAtMs(std::int64_t ms) { cancelAtUs_ = ms * 1000; }

  private:
    std::int64_t nowUs_ = 0;
    std::optional<std::int64_t> cancelAtUs_;
};

class SimLink : public ByteLink {
  public:
    SimLink(SimulatedUnit& unit, VirtualClock& clock) : unit_(unit), clock_(clock) {}

    bool isOpen() const override { return open_; }
    void write(const QByteArray& bytes) override;
    QByteArray readAvailable(int maxBytes) override;
    bool waitForData(int limitMs) override;
    int bitsPerSecond() const override { return bitsPerSecond_; }

    void setOpen(bool open) { open_ = open; }
    // The speed the program believes its line runs at (0: no line time).
    void setBitsPerSecond(int bps) { bitsPerSecond_ = bps; }

    // Every write, as the program made it, and the virtual time it was made at.
    const std::vector<QByteArray>& writes() const { return writes_; }
    const std::vector<std::int64_t>& writeTimesMs() const { return writeTimesMs_; }
    // Every byte the program sent, and every byte it read, run together.
    QByteArray sent() const;
    const QByteArray& received() const { return received_; }

  private:
    void collect();

    SimulatedUnit& unit_;
    VirtualClock& clock_;
    bool open_ = true;
    int bitsPerSecond_ = 0;
    QByteArray arrived_;
    QByteArray received_;
    std::vector<QByteArray> writes_;
    std::vector<std::int64_t> writeTimesMs_;
};

} // namespace zx
