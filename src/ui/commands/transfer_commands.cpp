#include "ui/commands/transfer_commands.h"

#include "files/file_bytes.h"
#include "link/line_service.h"
#include "model/model_recognition.h"
#include "ui/commands/check_command.h"
#include "ui/dialogs/interaction.h"
#include "ui/dialogs/notice_queue.h"
#include "ui/main_window.h"
#include "ui/terminal/terminal_page.h"
#include "ui/transfer_status.h"
#include "ui/views/terminal_view.h"

#include <QAction>
#include <QDateTime>
#include <QPointer>

#include <utility>

namespace zx {

TransferCommands::TransferCommands(MainWindow& form, LineService& line, ConnectionState& connection,
                                   TerminalPage& page, NoticeQueue& notices, QObject* parent)
    : QObject(parent), form_(form), line_(line), connection_(connection), page_(page),
      notices_(notices) {
    connect(form_.menu().download, &QAction::triggered, this, &TransferCommands::download);
    connect(form_.menu().upload, &QAction::triggered, this, &TransferCommands::upload);
    connect(form_.terminalView(), &TerminalView::syncClicked, this,
            &TransferCommands::setUnitClock);
    connect(&line_, &LineService::progressed, this, &TransferCommands::showProgress);
    connect(&line_, &LineService::finished, this, &TransferCommands::resultArrived);
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

QString TransferCommands::closeQuestion() {
    return QStringLiteral("Adatátvitel folyik. Megszakítja, és bezárja a programot ?");
}

bool TransferCommands::busy() const {
    return line_.busy() || waiting_ > 0;
}

void TransferCommands::setTraceFile(const QString& path) {
    tracePath_ = path;
    trace_.clear();
    status_->setTraceFile(path);
}

void TransferCommands::writeTrace(const QByteArray& trace) {
    if (tracePath_.isEmpty()) return;
    trace_ += trace;
    const FileWriteResult written = writeFileAtomically(tracePath_, trace_, FileAccess::OwnerOnly);
    if (written.ok) return;
    setTraceFile(QString());
    form_.interaction().error(&form_, written.message);
    emit traceEnded();
}

void TransferCommands::setBusy(bool busy) {
    if (busy) focus_.keep(form_);
    form_.setBusy(busy);
    page_.setLineBusy(busy);
    status_->setRunning(busy);
    if (!busy) focus_.giveBack();
}

bool TransferCommands::start(LineOperation operation, std::function<LineResult(Transfer&)> work) {
    if (busy()) return false;
    LineRequest request;
    request.operation = operation;
    request.work = std::move(work);
    request.traced = !tracePath_.isEmpty();
    request.traceTitle = lineOperationTitle(operation) + QLatin1Char(' ') +
                         QDateTime::currentDateTime().toString(Qt::ISODate);
    // The port opens as every command opens it, with the connection's name and speed, and stays
    // open afterwards only while the operator holds it.
    if (!line_.start(std::move(request), connection_, page_.operatorHoldsPort())) return false;
    setBusy(true);
    return true;
}

void TransferCommands::download() {
    if (busy() || !form_.commitPendingEdits() || !form_.askSaveChanges()) return;
    start(LineOperation::Download, [](Transfer& engine) { return downloadOperation(engine); });
}

void TransferCommands::upload() {
    // The unit gets what the window shows: the field being typed in and the working copies are
    // stored first, and a refused value sends nothing.
    if (busy() || !form_.commitPendingEdits()) return;
    // No answer sends a configuration laid out for the other model.
    if (const std::string refused =
            uploadLayoutRefusal(form_.document().image(), form_.document().model());
        !refused.empty()) {
        form_.interaction().error(&form_, QString::fromStdString(refused));
        return;
    }
    if (!uploadPassesCheck(form_)) return;
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
    if (!line_.isOpen()) form_.lineState().show(LineStatePanel::Connecting);
    const QDateTime now = QDateTime::currentDateTime();
    start(LineOperation::SetClock, [now](Transfer& engine) { return clockOperation(engine, now); });
}

bool TransferCommands::downloadCopy(std::function<void(const DownloadResult&)> done) {
    if (busy()) return false;
    copyDone_ = std::move(done);
    const bool started = start(LineOperation::CompareDownload, [](Transfer& engine) {
        return downloadOperation(engine, LineOperation::CompareDownload);
    });
    if (!started) copyDone_ = nullptr;
    return started;
}

void TransferCommands::cancel() {
    line_.cancel();
}

void TransferCommands::showProgress(const TransferProgress& p) {
    form_.lineState().show(p.status);
    status_->showProgress(p);
    emit progressed(p.status, p.done, p.total);
}

void TransferCommands::resultArrived(const LineResult& result) {
    ++waiting_;
    notices_.post([self = QPointer<TransferCommands>(this), result] {
        if (!self) return;
        --self->waiting_;
        self->ended(result);
    });
}

void TransferCommands::ended(const LineResult& result) {
    // The port is as it is to stay (closed unless the operator holds it) and panel 3 has said
    // so; the status then says how the operation ended.
    setBusy(false);
    writeTrace(result.trace);
    if (!result.status.isEmpty())
        form_.lineState().show(result.status);
    else if (!line_.isOpen())
        form_.lineState().show(LineStatePanel::Disconnected);
    const auto copyDone = std::exchange(copyDone_, nullptr);
    if (result.download && result.operation == LineOperation::Download)
        adoptDownload(*result.download);
    if (result.operation == LineOperation::SetClock) form_.terminalView()->focusTerminal();
    const bool again = report(result);
    emit finished();
    // The comparison's list is a box of its own, after this end has been handled.
    if (result.download && copyDone)
        notices_.post([copyDone, download = *result.download] { copyDone(download); });
    // A new upload only once the last one has been reported whole.
    if (again) upload();
}

void TransferCommands::adoptDownload(const DownloadResult& download) {
    // Only a whole download reaches the window: the unit's model, then its image, one refill.
    form_.showModel(download.model);
    form_.document().replaceImage(download.image);
    form_.document().markModified();
    form_.refill();
    form_.setModelBoxEnabled(false);
}

bool TransferCommands::report(const LineResult& result) {
    if (result.message.isEmpty()) return false;
    if (result.error) {
        form_.interaction().error(&form_, result.message);
        return false;
    }
    const bool offerUpload = result.operation == LineOperation::Upload &&
                             result.outcome == TransferOutcome::Cancelled && result.partlyWritten &&
                             !closing_;
    if (!offerUpload) {
        form_.interaction().message(&form_, result.message);
        return false;
    }
    return form_.interaction().askYesNo(&form_, QStringLiteral("Zendrax"),
                                        result.message + QStringLiteral("\nÚjra feltölti ?")) ==
           Interaction::Answer::Yes;
}

bool TransferCommands::stopForClose() {
    if (!busy()) return true;
    // An operation that ends while the question is open is reported after its answer, in order.
    bool stop = false;
    notices_.runNow([this, &stop] {
        stop = form_.interaction().askYesNo(&form_, QStringLiteral("Zendrax"), closeQuestion()) ==
               Interaction::Answer::Yes;
        if (!stop) return;
        closing_ = true;
        if (waiting_ == 0) {
            if (const std::optional<LineResult> result = line_.cancelAndWait()) ended(*result);
        }
    });
    closing_ = false;
    return stop;
}

} // namespace zx
