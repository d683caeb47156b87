#pragma once
// What the line's answers have the window say or ask (a terminal's error, an operation's end
// with its report and what follows it, a comparison's list of differences), one at a time and
// in the order they came. A modal box runs an event loop of its own, in which the next answer
// arrives; that answer's notice waits until the box before it has closed, so no modal box ever
// opens inside another.
#include <cstddef>
#include <deque>
#include <functional>

namespace zx {

class NoticeQueue {
  public:
    // Runs `notice` now when no other is running, else once those before it have returned.
    void post(std::function<void()> notice);
    // Runs `modal` now, as a question that must be answered at once does: notices that come
    // meanwhile wait for it, and then run before this returns (unless another notice is
    // running around it, which runs them when it returns).
    void runNow(const std::function<void()>& modal);

    bool running() const { return running_; }
    std::size_t waiting() const { return waiting_.size(); }

  private:
    // Runs what waits, in order, unless a notice is running already.
    void drain();

    std::deque<std::function<void()>> waiting_;
    bool running_ = false;
};

} // namespace zx
