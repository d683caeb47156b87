#include "link/send_queue.h"

#include <utility>

namespace zx {

bool SendQueue::add(const QByteArray& bytes) {
    if (bytes.isEmpty()) return false;
    const std::lock_guard<std::mutex> lock(mutex_);
    const bool wasEmpty = waiting_.isEmpty();
    waiting_ += bytes;
    return wasEmpty;
}

std::optional<SendQueue::Batch> SendQueue::take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (waiting_.isEmpty()) return std::nullopt;
    return Batch{std::exchange(waiting_, QByteArray()), stop_};
}

qsizetype SendQueue::stop() {
    const std::lock_guard<std::mutex> lock(mutex_);
    const qsizetype dropped = waiting_.size();
    waiting_.clear();
    stop_->store(true);
    stop_ = std::make_shared<std::atomic<bool>>(false);
    return dropped;
}

std::shared_ptr<const std::atomic<bool>> SendQueue::nextStop() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return stop_;
}

} // namespace zx
