#pragma once
// A stand-in for the unit: its side of the transfer dialogue on its own 8192-byte memory, with
// faults that can be switched on. It is fed the bytes the program sends and hands out the bytes
// it answers; time is whatever monotonic microsecond count the caller passes, so the same unit
// serves a virtual clock in tests and the real clock behind a pseudo-terminal.
#include "link/protocol.h"
#include "model/config_image.h"

#include <QByteArray>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace zx {

struct UnitFaults {
    bool silent = false;           // never answers anything
    int ignoreFirstRequests = 0;   // the first n complete requests get no answer
    int wrongSumEvery = 0;         // every n-th read reply carries a wrong check byte (0: never)
    int wrongSumSegment = -1;      // read replies of this segment carry a wrong check byte ...
    int wrongSumSegmentTimes = -1; // ... this many times (-1: always)
    int rejectSegment = -1;        // write frames of this segment are answered 15 ...
    int rejectSegmentTimes = -1;   // ... this many times (-1: always)
    int replyDelayMs = 0;          // every answer starts this long after its request ended
    int lateSegment = -1;          // answers to requests for this segment come ...
    int lateSegmentMs = 0;         // ... this much later still ...
    int lateSegmentTimes = 1;      // ... this many times (-1: always)
    long deadAfterBytes = -1;      // the line goes dead once the unit has sent this many bytes
    int deadAtSegment = -1;        // the line goes dead when a request for this segment arrives
    int dropWriteSegment = -1;     // write frames of this segment are acknowledged 06 but the
    int dropWriteTimes = -1;       // ... memory keeps its old bytes, this many times (-1: always)
    int baud = 0;                  // 0: bytes pass at once; else 10 bits a byte, both ways
};

class SimulatedUnit {
  public:
    explicit SimulatedUnit(DeviceModel model);

    DeviceModel model() const { return model_; }
    const ConfigImage& memory() const { return memory_; }
    // Replaces the memory; the ident segment keeps this unit's model identification.
    void setMemory(const ConfigImage& image);

    UnitFaults& faults() { return faults_; }
    void setFaults(const UnitFaults& faults) { faults_ = faults; }

    // Bytes the program sent, handed over at nowUs.
    void receive(const QByteArray& bytes, std::int64_t nowUs);
    // The answer bytes due by nowUs, taken out of the unit's queue.
    QByteArray takeOutput(std::int64_t nowUs);
    // When the next answer byte is due; nothing when no answer is pending.
    std::optional<std::int64_t> nextOutputUs() const { return outputDueUs(0); }
    // When the index-th pending answer byte is due (0 the next); nothing beyond the last.
    std::optional<std::int64_t> outputDueUs(std::size_t index) const;
    std::size_t pendingOutput() const { return out_.size(); }

    bool dead() const { return dead_; }

    struct Stats {
        int wakeUpBytes = 0;
        int readRequests = 0;
        int writeFrames = 0;
        int accepted = 0;
        int rejected = 0;
        int dropped = 0; // acknowledged but not kept
        long bytesIn = 0;
        long bytesOut = 0;
    };
    const Stats& stats() const { return stats_; }
    // Segment numbers of the read requests and of the accepted write frames, in arrival order.
    const std::vector<int>& readSegments() const { return readSegments_; }
    const std::vector<int>& acceptedSegments() const { return acceptedSegments_; }

  private:
    void take(Byte b, std::int64_t atNs);
    void handleRead(std::int64_t atNs);
    void handleWrite(std::int64_t atNs);
    bool admitRequest(int segment);
    // Extra nanoseconds before the answer to a request for `segment` starts.
    std::int64_t lateness(int segment);
    void send(const QByteArray& bytes, std::int64_t atNs);
    void stampModelId();
    std::int64_t byteTimeNs() const;

    DeviceModel model_;
    ConfigImage memory_;
    UnitFaults faults_;
    Stats stats_;
    std::vector<int> readSegments_;
    std::vector<int> acceptedSegments_;

    enum class Rx { Idle, Read, Write };
    Rx rx_ = Rx::Idle;
    QByteArray frame_;
    int requests_ = 0;
    int readReplies_ = 0;
    bool dead_ = false;
    // Line times in nanoseconds, so that pacing does not drift by rounding a byte's time.
    std::int64_t inLineFreeNs_ = 0;
    std::int64_t outLineFreeNs_ = 0;
    struct Pending {
        std::int64_t dueNs;
        char byte;
    };
    std::deque<Pending> out_;
};

} // namespace zx
