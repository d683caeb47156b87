#include "ui/commands/transfer_commands.h"

#include "files/cp1250.h"
#include "files/database_file.h"
#include "files/file_bytes.h"
#include "link/checked_upload.h"
#include "link/com_port.h"
#include "link/open_connection.h"
#include "link/serial_byte_link.h"
#include "link/system_clock.h"
#include "link/tracing_link.h"
#include "model/settings_comparison.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_form.h"
#include "ui/terminal/terminal_page.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/terminal_view.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include <cerrno>
#include <optional>

namespace zx {

namespace {

// The busy cursor for the length of an operation on the line, the operator's input dropped
// meanwhile: keys and clicks made while it runs are not applied when it ends. The messages that
// may follow take input again.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() {
        drop_.dropQueued();
        QApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    UserInputDrop drop_;
};

// Marks a transfer as running for the length of a scope.
class RunningFlag {
  public:
    RunningFlag(bool& flag, std::function<void()> changed)
        : flag_(flag), changed_(std::move(changed)) {
        flag_ = true;
        changed_();
    }
    ~RunningFlag() {
        flag_ = false;
        changed_();
    }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

  private:
    bool& flag_;
    std::function<void()> changed_;
};

// Runs an operation of the engine; a port failure ends it with onFailure as its result.
template <class Result, class Operation>
Result catchPortFailure(std::optional<PortFailure>& failure, Result onFailure,
                        Operation operation) {
    try {
        return operation();
    } catch (const EComPort& e) {
        failure = PortFailure{e.Text(), e.WinCode()};
        return onFailure;
    }
}

// A transfer request posted to the command group's own event queue.
class TransferRequestEvent : public QEvent {
  public:
    explicit TransferRequestEvent(TransferDirection direction)
        : QEvent(eventType()), direction(direction) {}
    static QEvent::Type eventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    const TransferDirection direction;
};

const QString Connecting = QStringLiteral("Kapcsolódás...");
const QString Disconnected = QStringLiteral("Szétkapcsolva");

} // namespace

TransferCommands::TransferCommands(TMainForm& form, TComPort& port, ConnectionState& connection,
                                   TerminalPage& page, QObject* parent)
    : QObject(parent), form_(form), port_(port), connection_(connection), page_(page) {
    makeLine = &TransferCommands::serialLine;

    dnLoad_ = form_.menu().DnLoad1;
    upLoad_ = form_.menu().UpLoad1;
    connect(dnLoad_, &QAction::triggered, this, &TransferCommands::download);
    connect(upLoad_, &QAction::triggered, this, &TransferCommands::upload);
    connect(form_.terminalView(), &TerminalView::syncClicked, this,
            &TransferCommands::setUnitClock);

    // Panel 3 shows every text of a transfer whole.
    form_.statusPanels().fitTexts(TMainForm::Panel::State,
                                  {transfer_text::modelCheck(), transfer_text::segment(255),
                                   transfer_text::downloadDone(),
                                   transfer_text::communicationError(), transfer_text::uploadDone(),
                                   Connecting, Disconnected, QStringLiteral("Kapcsolódva...")});
    progress_ = new QProgressBar(form_.SBar);
    progress_->setObjectName(QStringLiteral("pbTransfer"));
    progress_->setTextVisible(true);
    progress_->setMaximumWidth(150);
    // The status bar makes room even for a hidden bar; no taller than a panel, it takes none.
    if (const auto* panel = form_.SBar->findChild<QLabel*>(QStringLiteral("SBarPanel3")))
        progress_->setMaximumHeight(panel->sizeHint().height());
    progress_->hide();
    form_.SBar->addWidget(progress_, 1);
    traceNote_ = new QLabel(form_.SBar);
    traceNote_->setObjectName(QStringLiteral("lblTrace"));
    traceNote_->hide();
    form_.SBar->addPermanentWidget(traceNote_);
}

void TransferCommands::setTraceFile(const QString& path) {
    tracePath_ = path;
    trace_.clear();
    if (!traceNote_) return;
    traceNote_->setText(QStringLiteral("Napló: %1").arg(QFileInfo(path).fileName()));
    traceNote_->setToolTip(path);
    traceNote_->setVisible(!path.isEmpty());
}

TransferLine TransferCommands::lineForOperation(const QString& operation) {
    TransferLine line = makeLine(port_);
    if (tracePath_.isEmpty()) return line;
    trace_.start(operation + ' ' + QDateTime::currentDateTime().toString(Qt::ISODate));
    line.link =
        std::make_unique<TracingLink>(std::move(line.link), trace_.timeSource(), trace_.sink());
    return line;
}

void TransferCommands::writeTrace() {
    if (tracePath_.isEmpty()) return;
    const FileWriteResult written = writeFileAtomically(tracePath_, trace_.text());
    if (written.ok) return;
    setTraceFile(QString());
    form_.interaction().error(&form_, written.message);
    emit traceEnded();
}

TransferCommands::~TransferCommands() {
    form_.setBusyReason(QString());
}

TransferLine TransferCommands::serialLine(TComPort& port) {
    // Every wait on the line lets the window paint and run its timers; the link owns every
    // received byte meanwhile, so nothing reaches the terminal pane.
    return TransferLine{std::make_unique<SerialByteLink>(port, &pumpEventsWithoutInput),
                        std::make_unique<SystemClock>()};
}

QString TransferCommands::busyMessage() {
    return QStringLiteral("Adatátvitel folyik: a program a végéig nem zárható be.");
}

QProgressBar* TransferCommands::progressBar() const {
    return progress_;
}

void TransferCommands::updateCommands() {
    const bool idle = !busy();
    if (dnLoad_) dnLoad_->setEnabled(idle);
    if (upLoad_) upLoad_->setEnabled(idle);
    form_.terminalView()->setSyncEnabled(idle);
    form_.menu().mnuComport->setEnabled(idle);
    page_.setLineBusy(!idle);
    // The transfer pumps the event queue; a close meanwhile would pull the window from under it.
    form_.setBusyReason(idle ? QString() : busyMessage());
    emit busyChanged(!idle);
}

void TransferCommands::postRequest(TransferDirection direction) {
    QCoreApplication::postEvent(this, new TransferRequestEvent(direction));
}

bool TransferCommands::event(QEvent* event) {
    if (event->type() != TransferRequestEvent::eventType()) return QObject::event(event);
    const TransferDirection direction = static_cast<TransferRequestEvent*>(event)->direction;
    // The window is drawn as it stands before the transfer holds its input back.
    form_.repaint();
    runTransfer(direction);
    return true;
}

void TransferCommands::message(const QString& text) {
    form_.interaction().message(&form_, text);
}

void TransferCommands::portError(const QString& text, int errorNumber) {
    lastPortError_ = errorNumber;
    form_.interaction().error(&form_, text);
}

void TransferCommands::reportPortNotOpen() {
    const int number = lastPortError_ != 0 ? lastPortError_ : errno;
    message(Transfer::portNotOpenMessage(number));
}

void TransferCommands::closeUnlessHeld() {
    if (!page_.operatorHoldsPort()) port_.close();
}

bool TransferCommands::openPort() {
    try {
        // The port opens as every command opens it: with the connection's name and speed, not
        // whatever it was last opened with.
        openConnection(port_, connection_);
        return true;
    } catch (const EComPort& e) {
        portError(e.Text(), e.WinCode());
    } catch (const std::exception& e) {
        portError(QString::fromUtf8(e.what()), EINVAL);
    }
    return false;
}

void TransferCommands::onLine(const QString& operation,
                              const std::function<void(TransferLine&)>& work) {
    {
        RunningFlag running(running_, [this] { updateCommands(); });
        TransferLine line = lineForOperation(operation);
        if (!line.link->isOpen())
            reportPortNotOpen();
        else
            work(line);
    }
    writeTrace();
}

template <class Result, class Operation>
Result TransferCommands::withProgress(TransferLine& line, std::optional<PortFailure>& failure,
                                      Result onFailure, Operation operation) {
    setProgressVisible(true);
    Transfer engine(*line.link, *line.clock);
    engine.setProgressHandler([this](const TransferProgress& p) { showProgress(p); });
    Result result =
        catchPortFailure(failure, std::move(onFailure), [&] { return operation(engine); });
    closeUnlessHeld();
    setProgressVisible(false);
    return result;
}

DownloadResult TransferCommands::downloadOn(TransferLine& line, std::optional<PortFailure>& failure,
                                            std::function<void(DeviceModel)> modelSeen) {
    DownloadResult onFailure;
    onFailure.status = transfer_text::communicationError();
    DownloadResult result = withProgress(line, failure, onFailure, [&](Transfer& engine) {
        if (modelSeen) engine.setModelHandler(std::move(modelSeen));
        return engine.download();
    });
    form_.setStatusText(TMainForm::Panel::State, result.status);
    return result;
}

bool TransferCommands::requestTransfer(TransferDirection direction) {
    if (!page_.operatorHoldsPort() && !openPort()) return false;
    pending_ = true;
    updateCommands();
    postRequest(direction);
    return true;
}

void TransferCommands::download() {
    if (busy() || !form_.commitPendingEdits() || !form_.askSaveChanges()) return;
    form_.setPanelsEnabled(false);
    if (requestTransfer(TransferDirection::Download)) {
        form_.document().markModified();
        form_.setModelBoxEnabled(false);
    }
    form_.setPanelsEnabled(true);
}

void TransferCommands::upload() {
    // The unit gets what the window shows: the field being typed in and the working copies are
    // stored first, and a refused value sends nothing.
    if (busy() || !form_.commitPendingEdits()) return;
    form_.setPanelsEnabled(false);
    requestTransfer(TransferDirection::Upload);
    form_.setPanelsEnabled(true);
}

void TransferCommands::runTransfer(TransferDirection direction) {
    pending_ = false;
    if (running_ ||
        (direction != TransferDirection::Download && direction != TransferDirection::Upload)) {
        updateCommands();
        return;
    }
    if (direction == TransferDirection::Download)
        onLine(QStringLiteral("Letöltés"), [this](TransferLine& line) { runDownload(line); });
    else
        onLine(QStringLiteral("Feltöltés"), [this](TransferLine& line) { runUpload(line); });
    emit finished();
}

void TransferCommands::showProgress(const TransferProgress& p) {
    form_.setStatusText(TMainForm::Panel::State, p.status);
    if (progress_) {
        // No range yet (the model check) shows a moving bar.
        progress_->setRange(0, p.total);
        progress_->setValue(p.done);
    }
    emit progressed(p.status, p.done, p.total);
}

void TransferCommands::setProgressVisible(bool visible) {
    if (!progress_) return;
    progress_->reset();
    progress_->setVisible(visible);
}

void TransferCommands::runDownload(TransferLine& line) {
    const DeviceModel previous = form_.currentModel();
    DownloadResult result;
    std::optional<PortFailure> failure;
    {
        BusyCursor cursor;
        // The map follows the unit at once; the editors are refilled once, at the end.
        result = downloadOn(line, failure, [this](DeviceModel m) { form_.showModel(m); });

        // A failed download leaves the image as it was; the model goes back with it, so the
        // editors and the image always agree.
        ConfigImage image = form_.document().image();
        DeviceModel model = previous;
        if (adoptDownload(result, image, model)) form_.document().replaceImage(image);
        form_.showModel(model);
        form_.refill();
    }
    reportOutcome(failure, result.ok(), result.message);
}

void TransferCommands::runUpload(TransferLine& line) {
    CheckedUploadResult result;
    std::optional<PortFailure> failure;
    // The unit gets the image as it stood when the upload started; the operator's input is
    // dropped until the transfer has ended.
    const ConfigImage frozen = form_.document().image();
    const DeviceModel model = form_.document().model();
    {
        BusyCursor cursor;
        UploadChecks checks;
        checks.backup = options_.backup;
        checks.readBack = options_.verify;
        checks.keepBackup = [this](const DownloadResult& unit) { return keepBackup(unit); };
        checks.phaseStarted = [this](UploadPhase phase) {
            form_.setStatusText(TMainForm::Panel::State, uploadPhaseText(phase));
        };
        result = withProgress(line, failure, CheckedUploadResult{}, [&](Transfer& engine) {
            return uploadWithChecks(engine, frozen, model, checks);
        });
    }
    if (failure || !result.upload) {
        if (!failure)
            form_.setStatusText(
                TMainForm::Panel::State,
                QStringLiteral("A mentés nem sikerült, az egységre semmi sem került."));
        // A backup download that failed says why; a backup file that could not be written
        // has said so already.
        const bool backupFailed = !failure && result.backup && !result.backup->ok();
        reportOutcome(failure, false, backupFailed ? result.backup->message : QString());
        return;
    }
    const UploadResult& upload = *result.upload;
    if (upload.ok()) form_.setStatusText(TMainForm::Panel::State, upload.status);
    reportOutcome({}, upload.ok(), upload.message);
    if (upload.ok() && result.readBack) reportReadBack(*result.readBack, frozen, model);
}

bool TransferCommands::keepBackup(const DownloadResult& unit) {
    // The backup opens as the configuration shown does: its site, owner and password.
    const DatabaseRecord& shown = form_.document().record();
    const DatabaseRecord backup = DatabaseRecord::keeping(unit.image, shown);
    const QString folder = backupFolderOf(options_);
    const QString path = QDir(folder).filePath(backupFileName(
        fromCp1250(shown.text(DatabaseRecord::Slot::Site)), QDateTime::currentDateTime()));
    QDir().mkpath(folder);
    const DatabaseWriteResult written = writeDatabaseFile(path, backup, QString());
    if (!written.ok) {
        form_.interaction().error(&form_, written.message);
        return false;
    }
    lastBackup_ = path;
    return true;
}

void TransferCommands::reportReadBack(const DownloadResult& readBack, const ConfigImage& sent,
                                      DeviceModel model) {
    if (!readBack.ok()) {
        form_.setStatusText(TMainForm::Panel::State,
                            QStringLiteral("A visszaolvasás nem sikerült."));
        message(QStringLiteral("A visszaolvasás nem sikerült: ") + readBack.message);
        return;
    }
    DatabaseRecord sentRecord = form_.document().record();
    sentRecord.image = sent;
    const std::vector<SettingDifference> differences =
        compareWithImage(sentRecord, model, readBack.image, readBack.model);
    if (differences.empty()) {
        form_.setStatusText(TMainForm::Panel::State,
                            QStringLiteral("Sikeres feltöltés, ellenőrizve."));
        return;
    }
    form_.setStatusText(TMainForm::Panel::State,
                        QStringLiteral("Az egység nem azt tartja, amit kapott !!!"));
    // The settings in the window's words, one a line; a long list is cut short.
    constexpr std::size_t Listed = 12;
    QStringList labels;
    for (std::size_t i = 0; i < differences.size() && i < Listed; ++i)
        labels << QString::fromStdString(differences[i].label);
    if (differences.size() > Listed)
        labels << QStringLiteral("... és még %1").arg(differences.size() - Listed);
    message(QStringLiteral("Az egység nem azt tartja, amit kapott !!!\nEltérő beállítások:\n") +
            labels.join(QLatin1Char('\n')));
}

void TransferCommands::reportOutcome(const std::optional<PortFailure>& failure, bool ok,
                                     const QString& text) {
    if (failure)
        portError(failure->text, failure->number);
    else if (!ok && !text.isEmpty())
        message(text);
}

void TransferCommands::setUnitClock() {
    if (busy()) return;
    if (!port_.Connected()) {
        form_.setStatusText(TMainForm::Panel::State, Connecting);
        if (!openPort()) {
            form_.setStatusText(TMainForm::Panel::State, Disconnected);
            return;
        }
    }
    onLine(QStringLiteral("Óra beállítása"), [this](TransferLine& line) {
        ClockResult result;
        std::optional<PortFailure> failure;
        {
            BusyCursor cursor;
            Transfer engine(*line.link, *line.clock);
            ClockResult onFailure;
            onFailure.message = transfer_text::uploadTimeout();
            result = catchPortFailure(failure, onFailure, [&] { return engine.setClock(); });
            closeUnlessHeld();
            if (result.ok()) form_.setStatusText(TMainForm::Panel::State, result.status);
        }
        reportOutcome(failure, result.ok(), result.message);
    });
    form_.terminalView()->focusTerminal();
    emit finished();
}

std::optional<DownloadResult> TransferCommands::downloadCopy() {
    if (busy() || (!page_.operatorHoldsPort() && !openPort())) return std::nullopt;
    std::optional<DownloadResult> result;
    std::optional<PortFailure> failure;
    onLine(QStringLiteral("Letöltés összehasonlításra"), [&](TransferLine& line) {
        BusyCursor cursor;
        result = downloadOn(line, failure, {});
    });
    emit finished();
    if (!result) return std::nullopt;
    if (failure || !result->ok()) {
        reportOutcome(failure, false, result->message);
        return std::nullopt;
    }
    return result;
}

} // namespace zx
