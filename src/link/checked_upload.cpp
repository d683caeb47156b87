#include "link/checked_upload.h"

namespace zx {

QString uploadPhaseText(UploadPhase phase) {
    switch (phase) {
    case UploadPhase::Backup:
        return QStringLiteral("Biztonsági mentés az egységről...");
    case UploadPhase::Upload:
        return QStringLiteral("Feltöltés...");
    case UploadPhase::ReadBack:
        return QStringLiteral("Visszaolvasás ellenőrzésre...");
    }
    return {};
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
    result.upload = transfer.upload(image, model);
    if (checks.readBack && result.upload->ok()) {
        phase(UploadPhase::ReadBack);
        result.readBack = transfer.download();
    }
    return result;
}

} // namespace zx
