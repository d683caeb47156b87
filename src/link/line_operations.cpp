#include "link/line_operations.h"

#include "files/upload_backup.h"
#include "link/serial_port.h"
#include "model/model_recognition.h"
#include "model/read_back_report.h"

namespace zx {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QString lineOperationTitle(LineOperation operation) {
    switch (operation) {
    case LineOperation::Download:
        return QStringLiteral("Letöltés");
    case LineOperation::Upload:
        return QStringLiteral("Feltöltés");
    case LineOperation::SetClock:
        return QStringLiteral("Óra beállítása");
    case LineOperation::CompareDownload:
        return QStringLiteral("Letöltés összehasonlításra");
    }
    return {};
}

QString uploadCancelledMessage(bool partlyWritten, const QString& backupPath) {
    if (!partlyWritten)
        return QStringLiteral("A feltöltés megszakadt, az egységre semmi sem került.");
    QString text = QStringLiteral(
        "A feltöltés megszakadt: az egység részben írt konfigurációt tarthat, így nem biztos, "
        "hogy működőképes.");
    if (!backupPath.isEmpty())
        text += QStringLiteral("\nAz egység korábbi beállításai mentve: %1").arg(backupPath);
    return text;
}

LineResult downloadOperation(Transfer& engine, LineOperation operation) {
    LineResult result;
    result.operation = operation;
    DownloadResult download = engine.download();
    result.outcome = download.outcome;
    result.status = download.status;
    result.message = download.message;
    if (download.ok()) result.download = std::move(download);
    return result;
}

LineResult uploadOperation(Transfer& engine, const UploadJob& job) {
    LineResult result;
    result.operation = LineOperation::Upload;
    // A configuration laid out for the other model reaches no unit of this one, whatever the
    // operator answered or forced before: the unit would read its records in another layout.
    if (const std::string refused = uploadLayoutRefusal(job.image, job.model); !refused.empty()) {
        result.status = transfer_text::uploadSkipped();
        result.message = QString::fromStdString(refused);
        return result;
    }
    UploadChecks checks;
    checks.backup = job.backup;
    checks.readBack = job.verify;
    checks.phaseStarted = [&engine](UploadPhase phase) { engine.announce(uploadPhaseText(phase)); };
    checks.keepBackup = [&](const DownloadResult& unit) {
        const UploadBackupResult written =
            job.backupFile.isEmpty()
                ? writeUploadBackup(job.backupFolder, job.shown, unit.image, job.startedAt)
                : writeUploadBackupFile(job.backupFile, job.shown, unit.image);
        if (written.ok) {
            result.backupPath = written.path;
        } else {
            result.message = written.message;
            result.error = true;
        }
        return written.ok;
    };
    const CheckedUploadResult checked = uploadWithChecks(engine, job.image, job.model, checks);

    if (!checked.upload) {
        // Nothing went to the unit: the backup did not come about, or could not be kept.
        const DownloadResult& backup = *checked.backup;
        result.outcome = backup.ok() ? TransferOutcome::Failed : backup.outcome;
        if (result.outcome == TransferOutcome::Cancelled) {
            result.status = transfer_text::cancelled();
            result.message = uploadCancelledMessage(false, QString());
        } else {
            result.status = QStringLiteral("A mentés nem sikerült, az egységre semmi sem került.");
            if (!backup.ok()) result.message = backup.message;
        }
        return result;
    }
    const UploadResult& upload = *checked.upload;
    result.outcome = upload.outcome;
    result.status = upload.status;
    result.message = upload.message;
    if (upload.outcome == TransferOutcome::Cancelled) {
        result.partlyWritten = upload.framesSent > 0;
        result.message = uploadCancelledMessage(result.partlyWritten, result.backupPath);
        return result;
    }
    if (!upload.ok() || !checked.readBack) return result;

    const DownloadResult& readBack = *checked.readBack;
    if (readBack.outcome == TransferOutcome::Cancelled) {
        // What was sent is there; only its check was stopped.
        result.status = transfer_text::uploadDone();
        return result;
    }
    ReadBackReport report;
    if (!readBack.ok()) {
        result.readBackFailed = true;
        report = readBackFailed(readBack.message.toStdString());
    } else {
        DatabaseRecord sent = job.shown;
        sent.image = job.image;
        result.notKept = compareWithImage(sent, job.model, readBack.image, readBack.model);
        report = readBackReport(result.notKept);
    }
    result.status = fromUtf8(report.status);
    result.message = fromUtf8(report.message);
    return result;
}

LineResult clockOperation(Transfer& engine, const QDateTime& localTime) {
    LineResult result;
    result.operation = LineOperation::SetClock;
    const ClockResult clock = engine.setClock(localTime);
    result.outcome = clock.outcome;
    result.status = clock.status;
    result.message = clock.message;
    return result;
}

LineResult failedResult(LineOperation operation, const QString& message) {
    LineResult result;
    result.operation = operation;
    result.outcome = TransferOutcome::Failed;
    result.status = transfer_text::communicationError();
    result.message = message;
    result.error = true;
    return result;
}

LineResult portFailureResult(LineOperation operation, const SerialPortError& failure) {
    LineResult result;
    result.operation = operation;
    result.outcome = TransferOutcome::Failed;
    result.status = transfer_text::communicationError();
    result.message = failure.text();
    result.error = true;
    result.portErrorNumber = failure.errorNumber();
    return result;
}

QString lineFailureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const SerialPortError& e) {
        return e.text();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QString::fromUtf8("Váratlan hiba a vonalon.");
    }
}

LineResult lineFailureResult(LineOperation operation, const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const SerialPortError& e) {
        return portFailureResult(operation, e);
    } catch (...) {
        return failedResult(operation, lineFailureText(std::current_exception()));
    }
}

} // namespace zx
