#pragma once
// The computer's monotonic clock for transfers over a real line. A pause sleeps the calling
// thread; it neither spins nor runs an event loop.
#include "link/byte_link.h"

#include <QElapsedTimer>

namespace zx {

class SystemClock : public Clock {
  public:
    SystemClock() { timer_.start(); }
    std::int64_t nowMs() const override { return timer_.elapsed(); }
    void sleepMs(int ms) override;

  private:
    QElapsedTimer timer_;
};

} // namespace zx
