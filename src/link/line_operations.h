#pragma once
// The window's operations on the line, whole: what runs on the engine and what the operator is
// told at the end, as one result value. They touch nothing outside the engine and the files they
// are told to write, so the line service can run them on a thread of its own, and tests on the
// virtual clock.
#include "link/checked_upload.h"
#include "link/transfer.h"
#include "model/database_record.h"
#include "model/settings_comparison.h"

#include <QString>

#include <exception>
#include <optional>
#include <vector>

namespace zx {

class SerialPortError;

enum class LineOperation { Download, Upload, SetClock, CompareDownload };
// The operation's name, as a wire trace heads its lines with it.
QString lineOperationTitle(LineOperation operation);

struct LineResult {
    LineOperation operation = LineOperation::Download;
    TransferOutcome outcome = TransferOutcome::Failed;
    // The status bar's line once the operation has ended, however it ended.
    QString status;
    // What the operator is told; empty: nothing to say.
    QString message;
    // The message tells of a failure of the port or of a file (shown as an error); a port's
    // failure comes with the system's error number.
    bool error = false;
    int portErrorNumber = 0;
    // A download's (or comparison's) configuration: only when it came whole.
    std::optional<DownloadResult> download;
    // An upload's backup file, when one was written before the first frame.
    QString backupPath;
    // An upload stopped after frames had gone out: the unit may hold a partly written
    // configuration.
    bool partlyWritten = false;
    // An upload's read-back: the settings the unit did not keep as they were sent, and whether
    // the read-back itself failed.
    std::vector<SettingDifference> notKept;
    bool readBackFailed = false;
    // Every burst on the line, when the operation was traced.
    QByteArray trace;

    bool ok() const { return outcome == TransferOutcome::Success; }
};

// An upload as the operator chose it.
struct UploadJob {
    ConfigImage image; // sent as it stood when the upload started
    DeviceModel model = DeviceModel::Line4;
    bool verify = false;
    bool backup = false;
    // Where the backup goes: this file, or else a file named after the site and `startedAt` in
    // `backupFolder`.
    QString backupFile;
    QString backupFolder;
    DatabaseRecord shown; // the configuration shown: the backup opens as it does
    QDateTime startedAt;  // names the backup
};

LineResult downloadOperation(Transfer& engine, LineOperation operation = LineOperation::Download);
LineResult uploadOperation(Transfer& engine, const UploadJob& job);
LineResult clockOperation(Transfer& engine, const QDateTime& localTime);
// A port failure that ended `operation`.
LineResult portFailureResult(LineOperation operation, const SerialPortError& failure);
// Any other failure that ended `operation`, said in `message`.
LineResult failedResult(LineOperation operation, const QString& message);
// What a thrown failure says: a port's text, an exception's own, or that something unexpected
// happened on the line.
QString lineFailureText(const std::exception_ptr& failure);
// The failure that ended `operation`, whatever was thrown.
LineResult lineFailureResult(LineOperation operation, const std::exception_ptr& failure);

// A cancelled upload as the operator is told it: nothing written, or a configuration that may be
// partly written (with the backup file, when there is one).
QString uploadCancelledMessage(bool partlyWritten, const QString& backupPath);

} // namespace zx
