#include "link/simulated_unit.h"

#include "model/codecs.h"

#include <algorithm>
#include <string_view>

namespace zx {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The byte of two hexadecimal characters at pos, or -1.
int hexByteAt(const QByteArray& text, int pos) {
    if (pos + 1 >= text.size()) return -1;
    const int hi = hexValue(text[pos]);
    const int lo = hexValue(text[pos + 1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

} // namespace

SimulatedUnit::SimulatedUnit(DeviceModel model) : model_(model) {
    stampModelId();
}

void SimulatedUnit::setMemory(const ConfigImage& image) {
    memory_ = image;
    stampModelId();
}

void SimulatedUnit::stampModelId() {
    const char* id = model_ == DeviceModel::Line4 ? FourLineModelId : SixteenLineModelId;
    const std::size_t base = IdentSegment * SegmentSize + ModelIdOffset;
    for (int i = 0; i < ModelIdLength; ++i)
        memory_.set(base + static_cast<std::size_t>(i), static_cast<Byte>(id[i]));
}

std::int64_t SimulatedUnit::byteTimeNs() const {
    return faults_.baud > 0 ? 10LL * 1000000000LL / faults_.baud : 0;
}

void SimulatedUnit::receive(const QByteArray& bytes, std::int64_t nowUs) {
    const std::int64_t nowNs = nowUs * 1000;
    for (const char c : bytes) {
        ++stats_.bytesIn;
        std::int64_t at = nowNs;
        // A byte is complete on the unit's side only once all its bits have crossed the line.
        if (faults_.baud > 0) {
            at = std::max(nowNs, inLineFreeNs_) + byteTimeNs();
            inLineFreeNs_ = at;
        }
        if (!dead_) take(static_cast<Byte>(c), at);
    }
}

void SimulatedUnit::take(Byte b, std::int64_t atNs) {
    switch (rx_) {
    case Rx::Idle:
        if (b == ReadCommand) {
            rx_ = Rx::Read;
            frame_ = "D";
        } else if (b == WriteCommand) {
            rx_ = Rx::Write;
            frame_ = "U";
        } else if (b == WakeUp1 || b == WakeUp2) {
            ++stats_.wakeUpBytes;
        }
        return;
    case Rx::Read:
        frame_.append(static_cast<char>(b));
        if (b == FrameEnd) {
            if (frame_.size() == ReadRequestSize) handleRead(atNs);
            rx_ = Rx::Idle;
        } else if (frame_.size() >= ReadRequestSize) {
            rx_ = Rx::Idle; // not a read request: forget it
        }
        return;
    case Rx::Write:
        frame_.append(static_cast<char>(b));
        if (b == FrameEnd || frame_.size() == WriteFrameSize) {
            handleWrite(atNs);
            rx_ = Rx::Idle;
        }
        return;
    }
}

bool SimulatedUnit::admitRequest(int segment) {
    if (segment >= 0 && segment == faults_.deadAtSegment) {
        dead_ = true;
        return false;
    }
    ++requests_;
    if (faults_.silent) return false;
    return requests_ > faults_.ignoreFirstRequests;
}

std::int64_t SimulatedUnit::lateness(int segment) {
    if (segment < 0 || segment != faults_.lateSegment || faults_.lateSegmentTimes == 0) return 0;
    if (faults_.lateSegmentTimes > 0) --faults_.lateSegmentTimes;
    return static_cast<std::int64_t>(faults_.lateSegmentMs) * 1000000;
}

void SimulatedUnit::handleRead(std::int64_t atNs) {
    const int segment = hexByteAt(frame_, 1);
    if (segment < 0) return;
    ++stats_.readRequests;
    readSegments_.push_back(segment);
    if (!admitRequest(segment)) return;

    const ConfigImage::Segment data = memory_.segment(segment);
    Byte sum = segmentSum(data);
    ++readReplies_;
    bool wrong = faults_.wrongSumEvery > 0 && readReplies_ % faults_.wrongSumEvery == 0;
    if (segment == faults_.wrongSumSegment && faults_.wrongSumSegmentTimes != 0) {
        wrong = true;
        if (faults_.wrongSumSegmentTimes > 0) --faults_.wrongSumSegmentTimes;
    }
    if (wrong) sum = static_cast<Byte>(sum + 1);

    QByteArray reply(reinterpret_cast<const char*>(data.data()), SegmentSize);
    reply.append(static_cast<char>(sum));
    send(reply, atNs + lateness(segment));
}

void SimulatedUnit::handleWrite(std::int64_t atNs) {
    ++stats_.writeFrames;
    const int segment = hexByteAt(frame_, 1);
    if (!admitRequest(segment)) return;

    bool valid = frame_.size() == WriteFrameSize && static_cast<Byte>(frame_.back()) == FrameEnd &&
                 segment >= 0;
    ConfigImage::Segment data{};
    for (std::size_t i = 0; valid && i < SegmentSize; ++i) {
        const int value = hexByteAt(frame_, 3 + 2 * static_cast<int>(i));
        valid = value >= 0;
        data[i] = static_cast<Byte>(value);
    }
    const int sum = valid ? hexByteAt(frame_, FrameSumPosition) : -1;
    valid = valid && sum >= 0 &&
            frameSum(std::string_view(frame_.constData(), FrameSumPosition)) == sum;
    if (valid && segment == faults_.rejectSegment && faults_.rejectSegmentTimes != 0) {
        valid = false;
        if (faults_.rejectSegmentTimes > 0) --faults_.rejectSegmentTimes;
    }
    atNs += lateness(segment);
    if (!valid) {
        ++stats_.rejected;
        send(QByteArray(1, static_cast<char>(Nak)), atNs);
        return;
    }

    if (segment == faults_.dropWriteSegment && faults_.dropWriteTimes != 0) {
        // Acknowledged as if kept, which is what a read back must catch.
        if (faults_.dropWriteTimes > 0) --faults_.dropWriteTimes;
        ++stats_.dropped;
    } else if (segment == IdentSegment) {
        // The clock write: seven packed-BCD bytes; the identification stays the unit's own.
        ConfigImage::Segment ident{};
        std::copy_n(data.begin(), ClockBytes, ident.begin());
        memory_.setSegment(segment, ident);
        stampModelId();
    } else {
        memory_.setSegment(segment, data);
    }
    ++stats_.accepted;
    acceptedSegments_.push_back(segment);
    send(QByteArray(1, static_cast<char>(Ack)), atNs);
}

void SimulatedUnit::send(const QByteArray& bytes, std::int64_t atNs) {
    const std::int64_t startNs = atNs + static_cast<std::int64_t>(faults_.replyDelayMs) * 1000000;
    for (const char c : bytes) {
        if (faults_.deadAfterBytes >= 0 && stats_.bytesOut >= faults_.deadAfterBytes) {
            dead_ = true;
            return;
        }
        std::int64_t due = startNs;
        if (faults_.baud > 0) {
            due = std::max(startNs, outLineFreeNs_) + byteTimeNs();
            outLineFreeNs_ = due;
        }
        if (!out_.empty()) due = std::max(due, out_.back().dueNs);
        out_.push_back({due, c});
        ++stats_.bytesOut;
    }
}

QByteArray SimulatedUnit::takeOutput(std::int64_t nowUs) {
    const std::int64_t nowNs = nowUs * 1000;
    QByteArray bytes;
    while (!out_.empty() && out_.front().dueNs <= nowNs) {
        bytes.append(out_.front().byte);
        out_.pop_front();
    }
    return bytes;
}

std::optional<std::int64_t> SimulatedUnit::outputDueUs(std::size_t index) const {
    if (index >= out_.size()) return std::nullopt;
    return (out_[index].dueNs + 999) / 1000;
}

} // namespace zx
