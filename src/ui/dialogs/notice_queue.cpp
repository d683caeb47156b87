#include "ui/dialogs/notice_queue.h"

#include <utility>

namespace zx {

namespace {
// Marks the queue as running for as long as it lives.
class Running {
  public:
    explicit Running(bool& running) : running_(running) { running_ = true; }
    ~Running() { running_ = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

  private:
    bool& running_;
};
} // namespace

void NoticeQueue::post(std::function<void()> notice) {
    waiting_.push_back(std::move(notice));
    drain();
}

void NoticeQueue::runNow(const std::function<void()>& modal) {
    if (running_) {
        modal();
        return;
    }
    {
        const Running turn(running_);
        modal();
    }
    drain();
}

void NoticeQueue::drain() {
    if (running_) return;
    const Running turn(running_);
    while (!waiting_.empty()) {
        std::function<void()> next = std::move(waiting_.front());
        waiting_.pop_front();
        next();
    }
}

} // namespace zx
