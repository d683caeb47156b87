#pragma once
// The computer's monotonic clock for transfers over a real line. Pauses run the thread's event
// loop (the window repaints and its timers run, while the operator's keys and clicks wait for
// the transfer to end) or, without one, simply sleep; neither spins the processor.
#include "link/byte_link.h"

#include <QElapsedTimer>

namespace zx {

class SystemClock : public Clock {
  public:
    SystemClock() { timer_.start(); }
    std::int64_t nowMs() const override { return timer_.elapsed(); }
    void pumpEvents() override;
    void sleepMs(int ms) override;

  private:
    QElapsedTimer timer_;
};

} // namespace zx
