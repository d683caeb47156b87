#include "link/transfer.h"

#include "model/codecs.h"
#include "model/memory_map.h"
#include "model/model_recognition.h"

#include <algorithm>
#include <string>

namespace zx {

namespace transfer_text {
QString modelCheck() {
    return QStringLiteral("Tipusellenőrzés...");
}
QString segment(int n) {
    return QStringLiteral("Memória szegmens: ") + QString::number(n) + QStringLiteral("/255");
}
QString downloadDone() {
    return QStringLiteral("Sikeres letöltés.");
}
QString communicationError() {
    return QStringLiteral("Kommunikációs hiba.");
}
QString uploadDone() {
    return QStringLiteral("Sikeres feltöltés");
}
QString downloadTimeout() {
    return QStringLiteral("Letöltési időtúllépés !!!");
}
QString uploadTimeout() {
    return QStringLiteral("Feltöltési időtúllépés !!!");
}
QString cancelled() {
    return QStringLiteral("Megszakítva.");
}
QString clockNotSet() {
    return QStringLiteral("Az óra beállítása nem sikerült: az egység nem válaszolt.");
}
QString uploadSkipped() {
    return QStringLiteral("Feltöltés elmaradt.");
}
QString wrongUnitModel(DeviceModel unit, DeviceModel configuration) {
    return QStringLiteral("Az egység %1 típusú, a konfiguráció %2 típusú: a feltöltés elmaradt, "
                          "az egységre semmi sem került.")
        .arg(QString::fromStdString(modelShortName(unit)),
             QString::fromStdString(modelShortName(configuration)));
}
} // namespace transfer_text

bool UploadResult::wrongModel() const {
    return unitModel && *unitModel != sentModel;
}

namespace {

// Marks the engine busy for the length of one operation.
class RunningGuard {
  public:
    explicit RunningGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningGuard() { flag_ = false; }
    RunningGuard(const RunningGuard&) = delete;
    RunningGuard& operator=(const RunningGuard&) = delete;

  private:
    bool& flag_;
};

QByteArray hex(Byte b) {
    return QByteArray::fromStdString(hexPair(b));
}

QByteArray withSumAndCr(QByteArray text) {
    const Byte sum =
        frameSum(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    text.append(hex(sum));
    text.append(static_cast<char>(FrameEnd));
    return text;
}

} // namespace

int Transfer::Reply::checkByte() const {
    return bytes.size() >= ReadReplySize ? static_cast<Byte>(bytes[SegmentSize]) : -1;
}

bool Transfer::Reply::valid() const {
    if (timedOut || bytes.size() < ReadReplySize) return false;
    return segmentSumValid(
        std::span<const Byte>(reinterpret_cast<const Byte*>(bytes.constData()), ReadReplySize));
}

int Transfer::startSegment(DeviceModel model) {
    return MemoryMap::of(model).startSegment();
}

QString Transfer::portNotOpenMessage(int errorNumber) {
    return QStringLiteral("Portnyitási hiba!") + QString::number(errorNumber);
}

QByteArray Transfer::readRequest(int segment) {
    QByteArray text(1, static_cast<char>(ReadCommand));
    text.append(hex(static_cast<Byte>(segment)));
    text.append(static_cast<char>(FrameEnd));
    return text;
}

QByteArray Transfer::writeFrame(int segment, const ConfigImage::Segment& data) {
    QByteArray text(1, static_cast<char>(WriteCommand));
    text.append(hex(static_cast<Byte>(segment)));
    for (const Byte b : data)
        text.append(hex(b));
    return withSumAndCr(text);
}

QByteArray Transfer::clockFrame(const QDateTime& localTime) {
    QByteArray text(1, static_cast<char>(WriteCommand));
    text.append(hex(static_cast<Byte>(IdentSegment)));
    text.append(localTime.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1());
    text.append(QByteArray(ClockZeros, '0'));
    return withSumAndCr(text);
}

std::optional<TransferOutcome> Transfer::refusal() const {
    if (running_) return TransferOutcome::Busy;
    if (!link_.isOpen()) return TransferOutcome::PortNotOpen;
    return std::nullopt;
}

void Transfer::report(const QString& status, int done, int total) {
    if (progress_) progress_({status, done, total});
}

void Transfer::pause(int ms) {
    const std::int64_t start = clock_.nowMs();
    for (std::int64_t passed = 0; passed < ms && !clock_.cancelled();
         passed = clock_.nowMs() - start)
        clock_.sleepMs(static_cast<int>(std::min<std::int64_t>(ms - passed, Clock::CancelCheckMs)));
}

void Transfer::waitOnLink(std::int64_t ms) {
    link_.waitForData(static_cast<int>(std::min<std::int64_t>(ms, Clock::CancelCheckMs)));
}

void Transfer::wakeUp() {
    link_.write(QByteArray(1, static_cast<char>(WakeUp1)));
    pause(WakeUpPauseMs);
    if (clock_.cancelled()) return;
    link_.write(QByteArray(2, static_cast<char>(WakeUp2)));
    pause(WakeUpPauseMs);
}

std::int64_t Transfer::send(const QByteArray& frame) {
    link_.write(frame);
    return clock_.nowMs();
}

int Transfer::replyLimitAfter(int frameBytes) const {
    return ReplyLimitMs + link_.lineTimeMs(frameBytes);
}

void Transfer::drain(int chunk) {
    while (!link_.readAvailable(chunk).isEmpty()) {
    }
}

Transfer::Reply Transfer::singleRead(int segment) {
    drain(ReadReplySize);
    const QByteArray request = readRequest(segment);
    // The first byte of the reply may come only after the request has crossed the line; later
    // bytes follow each other closely.
    std::int64_t lastData = send(request);
    int limit = replyLimitAfter(static_cast<int>(request.size()));
    QByteArray buffer;
    for (;;) {
        const QByteArray chunk = link_.readAvailable(ReadReplySize);
        if (!chunk.isEmpty()) {
            // A read that brings a whole reply at once replaces whatever came before it.
            if (chunk.size() == ReadReplySize)
                buffer = chunk;
            else
                buffer.append(chunk);
            lastData = clock_.nowMs();
            limit = ReplyLimitMs;
            if (buffer.size() >= ReadReplySize) break;
            continue;
        }
        const std::int64_t waited = clock_.nowMs() - lastData;
        if (waited > limit || !link_.isOpen() || clock_.cancelled()) break;
        waitOnLink(limit - waited + 1);
    }
    Reply reply;
    reply.timedOut = buffer.size() < ReadReplySize;
    reply.bytes = buffer.left(ReadReplySize);
    return reply;
}

std::optional<Byte> Transfer::awaitByte(std::int64_t startMs, int limitMs) {
    for (;;) {
        const QByteArray b = link_.readAvailable(WriteReplySize);
        if (!b.isEmpty()) return static_cast<Byte>(b[0]);
        const std::int64_t waited = clock_.nowMs() - startMs;
        if (waited > limitMs || !link_.isOpen() || clock_.cancelled()) return std::nullopt;
        waitOnLink(limitMs - waited + 1);
    }
}

std::optional<Transfer::Reply> Transfer::identifyUnit() {
    wakeUp();
    if (clock_.cancelled()) return std::nullopt;
    report(transfer_text::modelCheck(), 0, 0);
    for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
        Reply ident = singleRead(IdentSegment);
        if (clock_.cancelled()) return std::nullopt;
        if (ident.valid()) return ident;
    }
    return std::nullopt;
}

DeviceModel Transfer::modelOf(const Reply& ident) {
    const bool fourLine = ident.bytes.mid(ModelIdOffset, ModelIdLength) == FourLineModelId;
    return fourLine ? DeviceModel::Line4 : DeviceModel::Line16;
}

DownloadResult Transfer::download() {
    DownloadResult result;
    if (const auto refused = refusal()) {
        result.outcome = *refused;
        return result;
    }
    RunningGuard guard(running_);
    const auto cancelledHere = [&] {
        result.outcome = TransferOutcome::Cancelled;
        result.status = transfer_text::cancelled();
        report(result.status, 0, 0);
        return result;
    };

    result.image.fill(0);
    const std::optional<Reply> ident = identifyUnit();
    if (clock_.cancelled()) return cancelledHere();
    result.identified = ident.has_value();
    if (!result.identified) {
        // No unit answered: there is no model to read a configuration with.
        result.outcome = TransferOutcome::Failed;
        result.status = transfer_text::communicationError();
        result.message = transfer_text::downloadTimeout();
        report(result.status, 0, 0);
        return result;
    }
    ConfigImage::Segment identData{};
    std::copy_n(reinterpret_cast<const Byte*>(ident->bytes.constData()), SegmentSize,
                identData.begin());
    result.image.setSegment(IdentSegment, identData);
    result.model = modelOf(*ident);

    const int start = startSegment(result.model);
    int segment = start;
    int failures = 0;
    bool complete = false;
    while (!complete && failures < MaxAttempts) {
        const Reply first = singleRead(segment);
        const Reply second = clock_.cancelled() ? Reply{} : singleRead(segment);
        if (clock_.cancelled()) return cancelledHere();
        // Differing replies, a time-out or a wrong sum all count as one failed attempt, so a
        // noisy line ends the download instead of asking for ever.
        if (first.checkByte() != second.checkByte() || !second.valid()) {
            ++failures;
        } else {
            failures = 0;
            ConfigImage::Segment data{};
            std::copy_n(reinterpret_cast<const Byte*>(second.bytes.constData()), SegmentSize,
                        data.begin());
            result.image.setSegment(segment, data);
            report(transfer_text::segment(segment), segment, TransferProgress::LastSegment);
            complete = segment == SegmentCount - 1;
            segment = (segment + 1) % SegmentCount;
        }
    }

    if (complete) {
        result.outcome = TransferOutcome::Success;
        result.status = transfer_text::downloadDone();
        report(result.status, TransferProgress::LastSegment, TransferProgress::LastSegment);
    } else {
        result.outcome = TransferOutcome::Failed;
        result.status = transfer_text::communicationError();
        result.message = transfer_text::downloadTimeout();
        report(result.status, segment - 1, TransferProgress::LastSegment);
    }
    return result;
}

UploadResult Transfer::upload(ConfigImage image, DeviceModel model,
                              std::optional<DeviceModel> identifiedUnit) {
    UploadResult result;
    result.sentModel = model;
    if (const auto refused = refusal()) {
        result.outcome = *refused;
        return result;
    }
    RunningGuard guard(running_);

    constexpr int last = TransferProgress::LastSegment;
    // A configuration laid out for the other model would land at the wrong offsets: the unit
    // is asked what it is before anything is written to it.
    result.unitModel = identifiedUnit;
    if (!result.unitModel) {
        const std::optional<Reply> ident = identifyUnit();
        if (ident) result.unitModel = modelOf(*ident);
    }
    if (!result.unitModel || result.wrongModel()) {
        if (clock_.cancelled()) {
            result.outcome = TransferOutcome::Cancelled;
            result.status = transfer_text::cancelled();
        } else if (!result.unitModel) {
            result.status = transfer_text::communicationError();
            result.message = transfer_text::uploadTimeout();
        } else {
            result.status = transfer_text::uploadSkipped();
            result.message = transfer_text::wrongUnitModel(*result.unitModel, model);
        }
        report(result.status, 0, 0);
        return result;
    }
    int segment = startSegment(model);
    int retries = 0;
    do {
        if (clock_.cancelled()) break;
        // Late answers to an earlier frame must not count as the answer to this one.
        drain(ReadReplySize);
        const QByteArray frame = writeFrame(segment, image.segment(segment));
        ++result.framesSent;
        const std::int64_t sent = send(frame);
        report(transfer_text::segment(segment), segment, last);
        const std::optional<Byte> reply =
            awaitByte(sent, replyLimitAfter(static_cast<int>(frame.size())));
        if (reply == Ack) {
            ++result.accepted;
            segment = (segment + 1) % SegmentCount;
            retries = 0;
        } else {
            ++retries;
        }
    } while (segment != 0 && retries < MaxAttempts);

    if (segment == 0) {
        result.outcome = TransferOutcome::Success;
        result.status = transfer_text::uploadDone();
        report(result.status, last, last);
    } else if (clock_.cancelled()) {
        result.outcome = TransferOutcome::Cancelled;
        result.status = transfer_text::cancelled();
        report(result.status, segment, last);
    } else {
        result.outcome = TransferOutcome::Failed;
        result.status = transfer_text::communicationError();
        result.message = transfer_text::uploadTimeout();
        report(result.status, segment, last);
    }
    return result;
}

ClockResult Transfer::setClock() {
    return setClock(QDateTime::currentDateTime());
}

ClockResult Transfer::setClock(const QDateTime& localTime) {
    ClockResult result;
    if (const auto refused = refusal()) {
        result.outcome = *refused;
        return result;
    }
    RunningGuard guard(running_);

    const QByteArray frame = clockFrame(localTime);
    bool answered = false;
    for (int attempt = 0; attempt < MaxAttempts && !answered && !clock_.cancelled(); ++attempt) {
        // A byte left over from the terminal must not pass for the unit's answer.
        drain(ReadReplySize);
        const std::int64_t sent = send(frame);
        answered = awaitByte(sent, replyLimitAfter(static_cast<int>(frame.size()))).has_value();
    }
    if (answered) {
        result.outcome = TransferOutcome::Success;
        result.status = transfer_text::uploadDone();
    } else if (clock_.cancelled()) {
        result.outcome = TransferOutcome::Cancelled;
        result.status = transfer_text::cancelled();
    } else {
        result.status = transfer_text::communicationError();
        result.message = transfer_text::clockNotSet();
    }
    report(result.status, 0, 0);
    return result;
}

bool adoptDownload(const DownloadResult& result, ConfigImage& image, DeviceModel& model) {
    if (!result.ok()) return false;
    image = result.image;
    model = result.model;
    return true;
}

} // namespace zx
