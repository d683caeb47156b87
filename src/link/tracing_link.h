#pragma once
// A byte link that tells what passes on the line: every write, and every read that brought
// bytes, becomes one line of the time since the traced work started, the direction ("->" sent,
// "<-" received) and the bytes as two-digit hexadecimal, for example "    1502.3 -> 44 32 42 0D".
// It wraps any link, so the serial port and the simulated unit are traced alike.
#include "link/byte_link.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace zx {

class TracingLink : public ByteLink {
  public:
    // Microseconds since the traced work started.
    using TimeSource = std::function<std::int64_t()>;
    using Sink = std::function<void(const QString& line)>;

    TracingLink(ByteLink& inner, TimeSource nowUs, Sink sink)
        : inner_(inner), nowUs_(std::move(nowUs)), sink_(std::move(sink)) {}
    // The same over a link it owns.
    TracingLink(std::unique_ptr<ByteLink> owned, TimeSource nowUs, Sink sink)
        : owned_(std::move(owned)), inner_(*owned_), nowUs_(std::move(nowUs)),
          sink_(std::move(sink)) {}

    bool isOpen() const override { return inner_.isOpen(); }
    void write(const QByteArray& bytes) override;
    QByteArray readAvailable(int maxBytes) override;
    bool waitForData(int limitMs) override { return inner_.waitForData(limitMs); }
    int bitsPerSecond() const override { return inner_.bitsPerSecond(); }

    // One line of the trace: milliseconds with one decimal, right-aligned in ten places.
    static QString line(std::int64_t atUs, bool sent, const QByteArray& bytes);

  private:
    std::unique_ptr<ByteLink> owned_;
    ByteLink& inner_;
    TimeSource nowUs_;
    Sink sink_;
};

// The lines of a wire trace as the traced links tell them, each burst timed from the start of the
// work it belongs to.
class WireTraceLog {
  public:
    WireTraceLog() { started_.start(); }

    // Times count from now; a comment line ("# text") marks the start when one is given.
    void start(const QString& comment = {});
    // What a tracing link over the line of the present work is given.
    TracingLink::TimeSource timeSource() const;
    TracingLink::Sink sink();

    const QByteArray& text() const { return text_; }
    void clear() { text_.clear(); }

  private:
    QElapsedTimer started_;
    QByteArray text_;
};

} // namespace zx
