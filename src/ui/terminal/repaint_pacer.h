#pragma once

#include <cstdint>

namespace zx {

// How long the terminal pane gathers changes before it draws them. An echo, an edit or a
// screen drawn after a pause shows within the short interval. Output that keeps scrolling the
// screen (a log streaming past faster than anyone reads it) is drawn in jumps at the longer
// one, as terminals do: every line still passes through the screen and stays in the scroll
// back, only fewer of the frames in between are drawn.
class RepaintPacer {
  public:
    static constexpr int IntervalMs = 50;
    static constexpr int ScrollIntervalMs = 100;

    // A change came at `nowMs` while no repaint was waiting: the gathering time before one.
    int delayFor(std::int64_t nowMs) const {
        const bool streaming = scrolled_ && nowMs - drawnAtMs_ < ScrollIntervalMs;
        return streaming ? ScrollIntervalMs : IntervalMs;
    }
    // The gathered changes were drawn at `nowMs`; `scrolled` when the lines moved up.
    void drawn(std::int64_t nowMs, bool scrolled) {
        drawnAtMs_ = nowMs;
        scrolled_ = scrolled;
    }

  private:
    std::int64_t drawnAtMs_ = 0;
    bool scrolled_ = false;
};

} // namespace zx
