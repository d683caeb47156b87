#include "link/system_clock.h"

#include <chrono>
#include <thread>

namespace zx {

void SystemClock::sleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace zx
