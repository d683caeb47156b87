#pragma once
// The transfer engine: download, upload and clock setting over a byte link, timed by a clock.
// One engine serves the window, the command line and the tests. It never owns the port (the
// caller opens and closes it) and never touches the caller's image: a download builds a new
// image and model and the caller adopts them only on success. A cancel request (the clock's
// flag) is looked at between frames and at least every Clock::CancelCheckMs of any wait; the
// operation then ends at once with the outcome Cancelled.
#include "link/byte_link.h"
#include "link/protocol.h"
#include "model/config_image.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

namespace zx {

// One measure of progress for every reader: the segment the status text names, of the last
// segment number (255), as the text itself counts. No total (0) while no segment is in hand
// (the wake-up, the model check, a phase just begun).
struct TransferProgress {
    QString status; // text of status bar panel 3
    int done = 0;   // segment number the text names ...
    int total = 0;  // ... of LastSegment; 0: no measure yet
    static constexpr int LastSegment = 255;
};

enum class TransferOutcome {
    Success,
    Failed,      // time-outs, rejections or a noisy line used up every attempt
    PortNotOpen, // nothing was sent
    Busy,        // another transfer of this engine is running; nothing was sent
    Cancelled,   // the operator stopped it
};

struct DownloadResult {
    TransferOutcome outcome = TransferOutcome::Failed;
    ConfigImage image;                       // whole on success; what was read so far otherwise
    DeviceModel model = DeviceModel::Line16; // as the model check found it
    bool identified = false;                 // the model check got a valid reply
    QString status;                          // last text of panel 3
    QString message;                         // failure message; empty on success
    bool ok() const { return outcome == TransferOutcome::Success; }
};

struct UploadResult {
    TransferOutcome outcome = TransferOutcome::Failed;
    int accepted = 0;   // segments the unit acknowledged
    int framesSent = 0; // write frames put on the line (a cut-short frame included)
    // The model the unit reported before the first frame; nothing when it never answered.
    std::optional<DeviceModel> unitModel;
    // The unit is of another model than the configuration: nothing was written.
    bool wrongModel() const;
    DeviceModel sentModel = DeviceModel::Line4;
    QString status;
    QString message;
    bool ok() const { return outcome == TransferOutcome::Success; }
};

struct ClockResult {
    TransferOutcome outcome = TransferOutcome::Failed;
    QString status;
    QString message;
    bool ok() const { return outcome == TransferOutcome::Success; }
};

class Transfer {
  public:
    static constexpr int ReplyLimitMs = zx::ReplyLimitMs;
    static constexpr int WakeUpPauseMs = zx::WakeUpPauseMs;
    static constexpr int MaxAttempts = zx::MaxAttempts;

    Transfer(ByteLink& link, Clock& clock) : link_(link), clock_(clock) {}

    using ProgressHandler = std::function<void(const TransferProgress&)>;
    void setProgressHandler(ProgressHandler handler) { progress_ = std::move(handler); }
    // Shows a phase's text with no measure yet (an upload's backup, upload, read-back).
    void announce(const QString& status) { report(status, 0, 0); }
    bool cancelled() const { return clock_.cancelled(); }

    bool running() const { return running_; }

    DownloadResult download();
    // Sends the image as it was when the upload started: the engine keeps its own copy. Before
    // the first frame the unit is woken and asked its model as a download asks it; a unit that
    // does not answer, or that is of another model than `model`, gets no write frame. A caller
    // that has just identified the unit on the same line (a backup downloaded first) passes
    // the model it reported instead, and the unit is not asked again.
    UploadResult upload(ConfigImage image, DeviceModel model,
                        std::optional<DeviceModel> identifiedUnit = std::nullopt);
    // The clock frame carries localTime; the overload takes the computer's local time once.
    ClockResult setClock(const QDateTime& localTime);
    ClockResult setClock();

    // Frames as they go on the line.
    static QByteArray readRequest(int segment);
    static QByteArray writeFrame(int segment, const ConfigImage::Segment& data);
    static QByteArray clockFrame(const QDateTime& localTime);

    // "Portnyitási hiba!" immediately followed by the system's error number.
    static QString portNotOpenMessage(int errorNumber);
    // Segment range of the model: first configuration segment and count (44 and 212, 51 and 205).
    static int startSegment(DeviceModel model);
    static int segmentTotal(DeviceModel model) { return SegmentCount - startSegment(model); }

  private:
    // Why an operation cannot start (a transfer already runs, or the link is closed), if it
    // cannot.
    std::optional<TransferOutcome> refusal() const;
    struct Reply {
        QByteArray bytes; // at most 33
        bool timedOut = true;
        int checkByte() const;
        bool valid() const;
    };

    Reply singleRead(int segment);
    // Wakes the unit and reads its identification with the download's attempts: the
    // identification segment's reply, or nothing when no valid one came (or on a cancel).
    std::optional<Reply> identifyUnit();
    static DeviceModel modelOf(const Reply& ident);
    void drain(int chunk);
    // Writes a frame and returns the moment its answer may start to be awaited from.
    std::int64_t send(const QByteArray& frame);
    // The reply limit after a frame of `frameBytes` bytes: the unit's time to answer plus the
    // frame's own time on the line, which a driver may not have waited for.
    int replyLimitAfter(int frameBytes) const;
    // Waits for one byte; nothing when limitMs passed since start or the operation was
    // cancelled.
    std::optional<Byte> awaitByte(std::int64_t startMs, int limitMs);
    // Waits on the link for at most `ms`, in blocks short enough to notice a cancel.
    void waitOnLink(std::int64_t ms);
    void wakeUp();
    void pause(int ms);
    void report(const QString& status, int done, int total);

    ByteLink& link_;
    Clock& clock_;
    ProgressHandler progress_;
    bool running_ = false;
};

// Takes a successful download's image and model; after a failed one leaves both as they were.
bool adoptDownload(const DownloadResult& result, ConfigImage& image, DeviceModel& model);

namespace transfer_text {
QString modelCheck();         // "Tipusellenőrzés..."
QString segment(int n);       // "Memória szegmens: " n "/255"
QString downloadDone();       // "Sikeres letöltés."
QString communicationError(); // "Kommunikációs hiba."
QString uploadDone();         // "Sikeres feltöltés"
QString downloadTimeout();    // "Letöltési időtúllépés !!!"
QString uploadTimeout();      // "Feltöltési időtúllépés !!!"
QString uploadSkipped();      // "Feltöltés elmaradt."
QString clockNotSet();        // the clock frame got no answer
// The unit is of another model than the configuration: which is which, and that nothing was
// written.
QString wrongUnitModel(DeviceModel unit, DeviceModel configuration);
QString cancelled(); // "Megszakítva."
} // namespace transfer_text

} // namespace zx
