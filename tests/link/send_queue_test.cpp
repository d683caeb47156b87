// The terminal's bytes between the window's thread and the line's: what waits goes as one
// write, and a stop drops what waits and stops what was taken before it (the bytes sent before
// a close included, whose write watches the next stop).
#include "link/send_queue.h"

#include <gtest/gtest.h>

#include <vector>

namespace zx {
namespace {

// One step of the window's thread or the line's, and what it must give.
struct Step {
    enum { Add, Take, Stop } what;
    QByteArray bytes; // added, or expected from a take (empty: nothing taken)
    qsizetype gives;  // Add: 1 when the line's thread must be asked; Stop: the bytes dropped
};

TEST(SendQueue, WhatWaitsGoesTogetherAndAStopDropsItAndStopsWhatWasTaken) {
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::vector<bool> stopped; // of each batch taken, at the end
    } cases[] = {
        {"keys typed before the line takes them go as one write",
         {{Step::Add, "a", 1},
          {Step::Add, "b", 0},
          {Step::Add, "\x1b[A", 0},
          {Step::Take, "ab\x1b[A", 0},
          {Step::Take, "", 0}},
         {false}},
        {"a key after a take asks again",
         {{Step::Add, "a", 1}, {Step::Take, "a", 0}, {Step::Add, "b", 1}, {Step::Take, "b", 0}},
         {false, false}},
        {"a stop drops what waits and stops the write under way, not the next",
         {{Step::Add, "a", 1},
          {Step::Take, "a", 0},
          {Step::Add, "bc", 1},
          {Step::Stop, "", 2},
          {Step::Take, "", 0},
          {Step::Add, "d", 1},
          {Step::Take, "d", 0}},
         {true, false}},
        {"a stop with nothing waiting drops nothing",
         {{Step::Stop, "", 0}, {Step::Add, "x", 1}, {Step::Take, "x", 0}},
         {false}},
        {"nothing to send asks for nothing", {{Step::Add, "", 0}, {Step::Take, "", 0}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SendQueue queue;
        std::vector<SendQueue::Batch> taken;
        for (const Step& step : c.steps) {
            switch (step.what) {
            case Step::Add:
                EXPECT_EQ(queue.add(step.bytes), step.gives == 1) << step.bytes.toStdString();
                break;
            case Step::Take: {
                const std::optional<SendQueue::Batch> batch = queue.take();
                EXPECT_EQ(batch.has_value(), !step.bytes.isEmpty());
                if (batch) {
                    EXPECT_EQ(batch->bytes, step.bytes);
                    taken.push_back(*batch);
                }
                break;
            }
            case Step::Stop:
                EXPECT_EQ(queue.stop(), step.gives);
                break;
            }
        }
        std::vector<bool> stopped;
        for (const SendQueue::Batch& batch : taken)
            stopped.push_back(batch.stopped->load());
        EXPECT_EQ(stopped, c.stopped);
        const auto beforeClose = queue.nextStop();
        queue.stop();
        EXPECT_TRUE(beforeClose->load());
    }
}

} // namespace
} // namespace zx
