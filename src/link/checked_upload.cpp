#include "link/checked_upload.h"

#include <iterator>

namespace zx {

QString uploadPhaseText(UploadPhase phase) {
    // In the order of UploadPhase.
    static const char* const texts[] = {"Biztonsági mentés az egységről...", "Feltöltés...",
                                        "Visszaolvasás ellenőrzésre..."};
    const auto i = static_cast<std::size_t>(phase);
    return i < std::size(texts) ? QString::fromUtf8(texts[i]) : QString();
}

CheckedUploadResult uploadWithChecks(Transfer& transfer, const ConfigImage& image,
                                     DeviceModel model, const UploadChecks& checks) {
    const auto phase = [&](UploadPhase p) {
        if (checks.phaseStarted) checks.phaseStarted(p);
    };
    CheckedUploadResult result;
    if (checks.backup) {
        phase(UploadPhase::Backup);
        result.backup = transfer.download();
        if (!result.backup->ok()) return result;
        result.backupKept = !checks.keepBackup || checks.keepBackup(*result.backup);
        if (!result.backupKept) return result;
    }
    phase(UploadPhase::Upload);
    // The backup's download has just asked the unit its model; the upload takes its answer.
    result.upload = transfer.upload(
        image, model, result.backup ? std::optional(result.backup->model) : std::nullopt);
    if (checks.readBack && result.upload->ok()) {
        phase(UploadPhase::ReadBack);
        result.readBack = transfer.download();
    }
    return result;
}

} // namespace zx
