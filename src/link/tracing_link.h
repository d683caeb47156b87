#pragma once
// A byte link that tells what passes on the line: every write, and every read that brought
// bytes, becomes one line of the time since the traced work started, the direction ("->" sent,
// "<-" received) and the bytes as two-digit hexadecimal, for example "    1502.3 -> 44 32 42 0D".
// It wraps any link, so the serial port and the simulated unit are traced alike.
#include "link/byte_link.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace zx {

class TracingLink : public ByteLink {
  public:
    // Microseconds since the traced work started.
    using TimeSource = std::function<std::int64_t()>;
    using Sink = std::function<void(const QString& line)>;

    TracingLink(ByteLink& inner, TimeSource nowUs, Sink sink)
        : inner_(inner), nowUs_(std::move(nowUs)), sink_(std::move(sink)) {}

    bool isOpen() const override { return inner_.isOpen(); }
    void write(const QByteArray& bytes) override;
    QByteArray readAvailable(int maxBytes) override;
    bool waitForData(int limitMs) override { return inner_.waitForData(limitMs); }
    int bitsPerSecond() const override { return inner_.bitsPerSecond(); }

    // One line of the trace: milliseconds with one decimal, right-aligned in ten places.
    static QString line(std::int64_t atUs, bool sent, const QByteArray& bytes);

  private:
    ByteLink& inner_;
    TimeSource nowUs_;
    Sink sink_;
};

} // namespace zx
