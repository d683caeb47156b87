#pragma once
// The terminal's bytes on their way from the window's thread to the line's. Bytes typed while
// the line has not yet taken the earlier ones wait together and go in one write, so a stalled
// line holds one write, not one per key. A stop (an operation taking the line, a close, the end
// of the program) drops every byte queued before it and tells the write in progress to stop.
// add and stop come from one thread, take from the other.
#include <QByteArray>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace zx {

class SendQueue {
  public:
    struct Batch {
        QByteArray bytes;
        // Set by the first stop after the batch was taken: its write ends there.
        std::shared_ptr<const std::atomic<bool>> stopped;
    };

    // Queues bytes; true when nothing was waiting, so the line's thread must be asked to take
    // them (it takes everything that waits by then).
    bool add(const QByteArray& bytes);
    // Everything waiting, as one batch; nothing when nothing waits.
    std::optional<Batch> take();
    // Drops what waits and stops every batch taken before; the bytes dropped from the queue.
    qsizetype stop();
    // The flag the next stop sets, for a write that is not the terminal's keys (the bytes sent
    // before a close) but ends at a stop all the same.
    std::shared_ptr<const std::atomic<bool>> nextStop();

  private:
    std::mutex mutex_;
    QByteArray waiting_;
    std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace zx
