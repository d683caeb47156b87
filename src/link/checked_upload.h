#pragma once
// An upload with the checks an operator may want around it, over one engine and one session on
// the line: the unit's configuration downloaded first, so that what the upload overwrites can be
// kept, and downloaded again afterwards, so that what the unit kept can be compared with what it
// was sent. Nothing is written to the unit unless the backup, when asked for, was downloaded and
// kept, and the unit reported the configuration's model (one model check serves both).
#include "link/transfer.h"

#include <QString>

#include <functional>
#include <optional>

namespace zx {

enum class UploadPhase { Backup, Upload, ReadBack };

// What the operator is told as a phase begins.
QString uploadPhaseText(UploadPhase phase);

struct UploadChecks {
    bool backup = false;   // download the unit's configuration before the first write frame
    bool readBack = false; // download it again after a successful upload
    // Given the backup once it is downloaded whole; false (it could not be kept) stops the
    // command before anything is written.
    std::function<bool(const DownloadResult&)> keepBackup;
    // Told as each phase begins, so that the operator sees which one runs.
    std::function<void(UploadPhase)> phaseStarted;
};

struct CheckedUploadResult {
    std::optional<DownloadResult> backup;   // when asked for
    bool backupKept = false;                // keepBackup accepted it
    std::optional<UploadResult> upload;     // nothing when the backup stopped the command
    std::optional<DownloadResult> readBack; // when asked for and the upload succeeded
};

CheckedUploadResult uploadWithChecks(Transfer& transfer, const ConfigImage& image,
                                     DeviceModel model, const UploadChecks& checks);

} // namespace zx
