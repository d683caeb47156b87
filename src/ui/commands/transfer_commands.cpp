#include "ui/commands/transfer_commands.h"

#include "files/file_bytes.h"
#include "link/open_connection.h"
#include "link/serial_byte_link.h"
#include "link/serial_port.h"
#include "link/system_clock.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/terminal/terminal_page.h"
#include "ui/transfer_status.h"
#include "ui/views/terminal_view.h"

#include <QAction>
#include <QDateTime>

#include <cerrno>
#include <utility>

namespace zx {

TransferCommands::TransferCommands(MainWindow& form, SerialPort& port, ConnectionState& connection,
                                   TerminalPage& page, QObject* parent)
    : QObject(parent), form_(form), port_(port), connection_(connection), page_(page) {
    makeLine = &TransferCommands::serialLine;
    connect(form_.menu().download, &QAction::triggered, this, &TransferCommands::download);
    connect(form_.menu().upload, &QAction::triggered, this, &TransferCommands::upload);
    connect(form_.terminalView(), &TerminalView::syncClicked, this,
            &TransferCommands::setUnitClock);
    connect(&runner_, &LineRunner::progressed, this, &TransferCommands::showProgress);
    connect(&runner_, &LineRunner::finished, this, &TransferCommands::ended);
    form_.closeWhileBusy = [this] { return stopForClose(); };

    // Panel 3 shows every text of a transfer whole.
    form_.lineState().fitTexts({transfer_text::modelCheck(), transfer_text::segment(255),
                                transfer_text::downloadDone(), transfer_text::communicationError(),
                                transfer_text::uploadDone(), transfer_text::cancelled()});
    status_ = new TransferStatus(form_);
    connect(status_, &TransferStatus::cancelRequested, this, &TransferCommands::cancel);
}

TransferCommands::~TransferCommands() {
    form_.closeWhileBusy = nullptr;
}

TransferLine TransferCommands::serialLine(SerialPort& port, const std::atomic<bool>* cancel) {
    return TransferLine{std::make_unique<SerialByteLink>(port, cancel),
                        std::make_unique<SystemClock>()};
}

QString TransferCommands::closeQuestion() {
    return QStringLiteral("Adatátvitel folyik. Megszakítja, és bezárja a programot ?");
}

void TransferCommands::setTraceFile(const QString& path) {
    tracePath_ = path;
    trace_.clear();
    status_->setTraceFile(path);
}

void TransferCommands::writeTrace() {
    if (tracePath_.isEmpty()) return;
    const FileWriteResult written = writeFileAtomically(tracePath_, trace_.text());
    if (written.ok) return;
    setTraceFile(QString());
    form_.interaction().error(&form_, written.message);
    emit traceEnded();
}

bool TransferCommands::openPort() {
    try {
        // The port opens as every command opens it: with the connection's name and speed, not
        // whatever it was last opened with.
        openConnection(port_, connection_);
        return true;
    } catch (const SerialPortError& e) {
        lastPortError_ = e.errorNumber();
        form_.interaction().error(&form_, e.text());
    } catch (const std::exception& e) {
        lastPortError_ = EINVAL;
        form_.interaction().error(&form_, QString::fromUtf8(e.what()));
    }
    return false;
}

void TransferCommands::setBusy(bool busy) {
    if (busy) focus_.keep(form_);
    form_.setBusy(busy);
    page_.setLineBusy(busy);
    status_->setRunning(busy);
    if (!busy) focus_.giveBack();
}

bool TransferCommands::start(LineOperation operation, LineRunner::Work work) {
    TransferLine line = makeLine(port_, runner_.cancelFlag());
    if (!line.link->isOpen()) {
        form_.lineState().show(LineStatePanel::Disconnected);
        form_.interaction().message(
            &form_, Transfer::portNotOpenMessage(lastPortError_ != 0 ? lastPortError_ : errno));
        return false;
    }
    if (!tracePath_.isEmpty()) {
        trace_.start(lineOperationTitle(operation) + ' ' +
                     QDateTime::currentDateTime().toString(Qt::ISODate));
        line.link =
            std::make_unique<TracingLink>(std::move(line.link), trace_.timeSource(), trace_.sink());
    }
    setBusy(true);
    if (runner_.start(&port_, std::move(line), operation, std::move(work))) return true;
    setBusy(false);
    return false;
}

void TransferCommands::download() {
    if (busy() || !form_.commitPendingEdits() || !form_.askSaveChanges()) return;
    if (!page_.operatorHoldsPort() && !openPort()) return;
    start(LineOperation::Download, [](Transfer& engine) { return downloadOperation(engine); });
}

void TransferCommands::upload() {
    // The unit gets what the window shows: the field being typed in and the working copies are
    // stored first, and a refused value sends nothing.
    if (busy() || !form_.commitPendingEdits()) return;
    if (!page_.operatorHoldsPort() && !openPort()) return;
    // The unit gets the image as it stands now, whatever happens to the window meanwhile.
    UploadJob job;
    job.image = form_.document().image();
    job.model = form_.document().model();
    job.verify = options_.verify;
    job.backup = options_.backup;
    job.backupFolder = backupFolderOf(options_);
    job.shown = form_.document().record();
    job.startedAt = QDateTime::currentDateTime();
    start(LineOperation::Upload, [job](Transfer& engine) { return uploadOperation(engine, job); });
}

void TransferCommands::setUnitClock() {
    if (busy()) return;
    if (!port_.isOpen()) {
        form_.lineState().show(LineStatePanel::Connecting);
        if (!openPort()) {
            form_.lineState().show(LineStatePanel::Disconnected);
            return;
        }
    }
    const QDateTime now = QDateTime::currentDateTime();
    start(LineOperation::SetClock, [now](Transfer& engine) { return clockOperation(engine, now); });
}

bool TransferCommands::downloadCopy(std::function<void(const DownloadResult&)> done) {
    if (busy() || (!page_.operatorHoldsPort() && !openPort())) return false;
    copyDone_ = std::move(done);
    const bool started = start(LineOperation::CompareDownload, [](Transfer& engine) {
        return downloadOperation(engine, LineOperation::CompareDownload);
    });
    if (!started) copyDone_ = nullptr;
    return started;
}

void TransferCommands::cancel() {
    runner_.cancel();
}

void TransferCommands::showProgress(const TransferProgress& p) {
    form_.lineState().show(p.status);
    status_->showProgress(p);
    emit progressed(p.status, p.done, p.total);
}

void TransferCommands::ended(const LineResult& result) {
    // The port is back on this thread: closed unless the operator holds it, before the status
    // says how the operation ended (a close says "Szétkapcsolva").
    if (!page_.operatorHoldsPort()) port_.close();
    setBusy(false);
    writeTrace();
    if (!result.status.isEmpty()) form_.lineState().show(result.status);
    const auto copyDone = std::exchange(copyDone_, nullptr);
    if (result.download && result.operation == LineOperation::Download)
        adoptDownload(*result.download);
    if (result.operation == LineOperation::SetClock) form_.terminalView()->focusTerminal();
    report(result);
    if (result.download && copyDone) copyDone(*result.download);
    emit finished();
}

void TransferCommands::adoptDownload(const DownloadResult& download) {
    // Only a whole download reaches the window: the unit's model, then its image, one refill.
    form_.showModel(download.model);
    form_.document().replaceImage(download.image);
    form_.document().markModified();
    form_.refill();
    form_.setModelBoxEnabled(false);
}

void TransferCommands::report(const LineResult& result) {
    if (result.message.isEmpty()) return;
    if (result.error) {
        if (result.portErrorNumber != 0) lastPortError_ = result.portErrorNumber;
        form_.interaction().error(&form_, result.message);
        return;
    }
    const bool offerUpload = result.operation == LineOperation::Upload &&
                             result.outcome == TransferOutcome::Cancelled && result.partlyWritten &&
                             !closing_;
    if (!offerUpload) {
        form_.interaction().message(&form_, result.message);
        return;
    }
    if (form_.interaction().askYesNo(&form_, QStringLiteral("Zendrax"),
                                     result.message + QStringLiteral("\nÚjra feltölti ?")) ==
        Interaction::Answer::Yes)
        upload();
}

bool TransferCommands::stopForClose() {
    if (!busy()) return true;
    if (form_.interaction().askYesNo(&form_, QStringLiteral("Zendrax"), closeQuestion()) !=
        Interaction::Answer::Yes)
        return false;
    closing_ = true;
    runner_.cancelAndWait();
    closing_ = false;
    return true;
}

} // namespace zx
