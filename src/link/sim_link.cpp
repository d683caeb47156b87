#include "link/sim_link.h"

#include <algorithm>

namespace zx {

void VirtualClock::sleepMs(int ms) {
    advanceToUs(nowUs_ + std::max(ms, 0) * 1000LL);
}

bool VirtualClock::cancelled() const {
    return Clock::cancelled() || (cancelAtUs_ && nowUs_ >= *cancelAtUs_);
}

void VirtualClock::advanceToUs(std::int64_t us) {
    nowUs_ = std::max(nowUs_, us);
}

void SimLink::write(const QByteArray& bytes) {
    if (!open_) return;
    writes_.push_back(bytes);
    writeTimesMs_.push_back(clock_.nowMs());
    unit_.receive(bytes, clock_.nowUs());
}

void SimLink::collect() {
    arrived_.append(unit_.takeOutput(clock_.nowUs()));
}

QByteArray SimLink::readAvailable(int maxBytes) {
    if (!open_ || maxBytes <= 0) return {};
    collect();
    const QByteArray bytes = arrived_.left(maxBytes);
    arrived_.remove(0, bytes.size());
    received_.append(bytes);
    return bytes;
}

bool SimLink::waitForData(int limitMs) {
    if (!open_) return false;
    collect();
    if (!arrived_.isEmpty()) return true;
    const std::int64_t deadline = clock_.nowUs() + std::max(limitMs, 0) * 1000LL;
    const std::optional<std::int64_t> next = unit_.nextOutputUs();
    if (next && *next <= deadline) {
        clock_.advanceToUs(*next);
        collect();
        return !arrived_.isEmpty();
    }
    clock_.advanceToUs(deadline);
    return false;
}

QByteArray SimLink::sent() const {
    QByteArray all;
    for (const QByteArray& w : writes_)
        all.append(w);
    return all;
}

} // namespace zx
