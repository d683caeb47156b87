#pragma once
// One entry of the site history: an operation on the line, whatever its outcome, with who ran it
// where, the connection, the unit, the database file involved and what the unit held or was
// sent.
#include "model/config_image.h"
#include "model/database_record.h"
#include "model/settings_comparison.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace zx {

enum class HistoryOperation {
    Download,
    Upload,
    Backup,   // an upload's download of what the unit held before it
    ReadBack, // an upload's read-back of what the unit kept
    Verify,   // the unit's configuration compared with a file
    CompareDownload,
    SetClock,
};

enum class HistoryOutcome { Success, Failure, Cancelled };

// Keys as the database and `zendrax-cli history --json` keep them ("download", "success"); the
// words as the operator reads them ("Letöltés", "Sikeres").
QString operationKey(HistoryOperation operation);
QString operationWord(HistoryOperation operation);
std::optional<HistoryOperation> operationFromKey(const QString& key);
QString outcomeKey(HistoryOutcome outcome);
QString outcomeWord(HistoryOutcome outcome);
std::optional<HistoryOutcome> outcomeFromKey(const QString& key);

struct HistoryConnection {
    QString name; // the saved connection's name; empty for a port chosen by hand
    QString port;
    int speed = 0; // bits per second
    QString phone; // the number a modem dialled; empty for a direct line
    bool operator==(const HistoryConnection&) const = default;
};

// What was read or sent, as `transferredImage` gives it, and the model it is laid out in.
struct HistoryImage {
    ConfigImage image;
    DeviceModel model = DeviceModel::Line4;
    bool operator==(const HistoryImage&) const = default;
};

// An entry's image or none, as `std::optional` would hold it, but kept on the heap and shared
// by the entry's copies: a list of thousands of entries stays small, and copying one is cheap.
// It never changes once made.
class EntryImage {
  public:
    EntryImage() = default;
    EntryImage(std::nullopt_t) {}
    EntryImage(HistoryImage image)
        : held_(std::make_shared<const HistoryImage>(std::move(image))) {}
    EntryImage(const std::optional<HistoryImage>& image) {
        if (image) held_ = std::make_shared<const HistoryImage>(*image);
    }
    explicit operator bool() const { return held_ != nullptr; }
    const HistoryImage& operator*() const { return *held_; }
    const HistoryImage* operator->() const { return held_.get(); }
    bool operator==(const EntryImage& other) const {
        return held_ == other.held_ || (held_ && other.held_ && *held_ == *other.held_);
    }

  private:
    std::shared_ptr<const HistoryImage> held_;
};

struct HistoryEntry {
    qint64 id = 0;  // given by the store
    QDateTime time; // UTC
    QString user;
    QString host;
    HistoryConnection connection;
    // The unit's model as the model check identified it; nothing when the unit never answered.
    std::optional<DeviceModel> unitModel;
    // The database file the operation involved, with its site and owner; empty when none.
    QString file;
    QString site;
    QString owner;
    HistoryOperation operation = HistoryOperation::Download;
    HistoryOutcome outcome = HistoryOutcome::Success;
    QString message;
    // None for a clock setting. A list of entries leaves the bytes out (one entry read whole
    // has them); `imageDigest` says whether there is one and which.
    EntryImage image;
    // The operation did not end well: the image holds what was read or sent up to then.
    bool partial = false;
    // The SHA-256 of the image's bytes in hexadecimal, given by the store; empty: no image.
    QString imageDigest;
    bool operator==(const HistoryEntry&) const = default;
};

// An entry of the operation as it ends now: the time, the system user and the host filled in.
HistoryEntry historyEntry(HistoryOperation operation, HistoryOutcome outcome,
                          const QString& message = {});
// The time, user and host of `entry` filled in where it has none.
void stampEntry(HistoryEntry& entry);

// The entry's image in a record that opens as a database file of its site and owner (no
// password: the history keeps none).
DatabaseRecord recordOf(const HistoryEntry& entry);

// The differences of two entries' images in the window's words, as the comparison of the
// window names them: what the unit held at `a` beside what it held at `b` (texts of `a`; a
// unit keeps none of its own). Nothing, with `refusal` set, when either entry has no image.
std::optional<std::vector<SettingDifference>>
historyDifferences(const HistoryEntry& a, const HistoryEntry& b, QString* refusal = nullptr);

} // namespace zx
