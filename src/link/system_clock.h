#pragma once
// The computer's monotonic clock for transfers over a real line. Pauses run the thread's event
// loop (the window repaints and its timers run, while the operator's keys and clicks are
// dropped) or, without one, simply sleep; neither spins the processor.
#include "link/byte_link.h"

#include <QElapsedTimer>

#include <memory>

class QObject;

namespace zx {

// While one lives, the operator's input (keys and shortcuts, mouse buttons, moves and wheel,
// touch, tablet, context menus, input method, drag and drop) sent to any object of the
// application's thread is dropped: neither delivered nor kept for later. Paints, timers, the
// port's events and requests the program posts to itself are no input and go on. Input that
// reaches an event loop started deeper than the holder's own `ownLoops` (a modal message shown
// meanwhile runs one) belongs to that loop's window and goes through. Off the application's
// thread it does nothing.
class UserInputDrop {
  public:
    explicit UserInputDrop(int ownLoops = 0);
    ~UserInputDrop();
    UserInputDrop(const UserInputDrop&) = delete;
    UserInputDrop& operator=(const UserInputDrop&) = delete;

    // Handles what is pending now, the input that the window system has queued among it
    // dropped: a key pressed just before a transfer ends is not applied after it.
    void dropQueued();

  private:
    std::unique_ptr<QObject> filter_;
};

// Handles the events pending on the application's thread, the operator's input among them
// dropped; nothing off that thread.
void pumpEventsWithoutInput();

class SystemClock : public Clock {
  public:
    SystemClock() { timer_.start(); }
    std::int64_t nowMs() const override { return timer_.elapsed(); }
    void pumpEvents() override { pumpEventsWithoutInput(); }
    void sleepMs(int ms) override;

  private:
    QElapsedTimer timer_;
};

} // namespace zx
