// zendrax-cli download / upload / verify / set-clock: the transfers of the window on the command
// line, over the same engine. Progress goes to standard error (on a terminal one line rewritten in
// place, elsewhere only with --progress); the status is 0 only on success.
// With --trace FILE every byte on the line is written to FILE when the command ends. SIGINT and
// SIGTERM stop a transfer as the window's cancel does: it ends within a wait's cancel check, says
// what the window says, writes its trace, and the status is 130.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "app/cli_settings.h"
#include "files/database_file.h"
#include "files/file_bytes.h"
#include "link/checked_upload.h"
#include "link/line_operations.h"
#include "link/open_connection.h"
#include "link/serial_byte_link.h"
#include "link/serial_port.h"
#include "link/system_clock.h"
#include "link/tracing_link.h"
#include "link/transfer.h"
#include "model/editor_view.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <optional>
#include <utility>
#include <vector>

namespace zx::cli {

namespace {

constexpr int DefaultSpeed = 19200;
// The status of a command stopped by SIGINT or SIGTERM, as a shell gives one killed by SIGINT.
constexpr int ExitInterrupted = 130;

// Set by SIGINT and SIGTERM while a transfer command runs; the line's waits watch it.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void interruptTransfer(int) {
    interrupted.store(true);
}

// SIGINT and SIGTERM cancel the command's transfer instead of killing the process.
void catchInterrupts() {
    struct sigaction action {};
    action.sa_handler = interruptTransfer;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Opens the port of --port at the --speed of the speed table. Nothing on success, else the
// exit status.
std::optional<int> openPort(SerialPort& port, const ParsedArgs& a) {
    if (a.value("--port").isEmpty()) {
        err(QStringLiteral("Hiányzik a --port !!!"));
        return ExitUsage;
    }
    int index = -1;
    const std::optional<long> speed =
        parseNumberOption(a.value("--speed", QString::number(DefaultSpeed)), 1);
    for (int i = 0; speed && i < SpeedCount; ++i)
        if (speedBaud(i) == *speed) index = i;
    if (index < 0) {
        err(QStringLiteral("A --speed értéke 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, "
                           "57600 vagy 115200 lehet !!!"));
        return ExitUsage;
    }
    port.setPortName(a.value("--port"));
    port.setBaudRate(speedBaud(index));
    try {
        port.open();
    } catch (const SerialPortError& e) {
        err(e.text());
        return ExitFailed;
    }
    return std::nullopt;
}

// The steps (the model check, each segment) on a terminal as one line rewritten in place,
// elsewhere only when asked for (--progress); how the operation ended as a message of its own.
void printProgress(const TransferProgress& p) {
    const bool step = p.status == transfer_text::modelCheck() ||
                      (p.total > 0 && p.status == transfer_text::segment(p.done));
    if (step)
        progress(p.status);
    else
        err(p.status);
}

// The outcome of an operation as the operator is told it; the exit status.
int finish(TransferOutcome outcome, const QString& message) {
    switch (outcome) {
    case TransferOutcome::Success:
        return ExitOk;
    case TransferOutcome::PortNotOpen:
        err(Transfer::portNotOpenMessage(errno));
        return ExitFailed;
    case TransferOutcome::Cancelled:
        if (!message.isEmpty()) err(message);
        return ExitInterrupted;
    case TransferOutcome::Busy:
    case TransferOutcome::Failed:
        break;
    }
    err(message);
    return ExitFailed;
}

// The wire trace of --trace FILE: the time counts from when the command started; the lines are
// kept until the command ends and then written in one atomic step, also after a failure.
class WireTrace {
  public:
    void setPath(const QString& path) { path_ = path; }
    bool wanted() const { return !path_.isEmpty(); }

    // The link the engine runs on: the port's own, traced when a trace was asked for.
    ByteLink& over(ByteLink& link, std::optional<TracingLink>& traced) {
        if (!wanted()) return link;
        used_ = true;
        return traced.emplace(link, log_.timeSource(), log_.sink());
    }

    // The command's status; a trace that could not be written is said and makes it at least
    // `failed`.
    int conclude(int status, int failed) const {
        if (!used_) return status;
        const FileWriteResult written = writeFileAtomically(path_, log_.text());
        if (written.ok) return status;
        err(written.message);
        return std::max(status, failed);
    }

  private:
    WireTraceLog log_;
    QString path_;
    bool used_ = false;
};

// A transfer command run with its wire trace and with SIGINT and SIGTERM caught; the trace is
// written whatever the command's end, and a trace that could not be written makes the status at
// least `failed`.
int traced(const QStringList& args, int (*command)(const QStringList&, WireTrace&),
           int failed = ExitFailed) {
    catchInterrupts();
    WireTrace trace;
    const int status = command(args, trace);
    return trace.conclude(status, failed);
}

// Runs one operation of the engine on the open port, then closes the port. A port failure is
// reported and gives no result.
template <class Operation>
auto onPort(SerialPort& port, WireTrace& trace, Operation operation)
    -> std::optional<decltype(operation(std::declval<Transfer&>()))> {
    std::optional<decltype(operation(std::declval<Transfer&>()))> result;
    try {
        SerialByteLink link(port, &interrupted);
        std::optional<TracingLink> traced;
        SystemClock clock;
        clock.watchCancel(&interrupted);
        Transfer transfer(trace.over(link, traced), clock);
        transfer.setProgressHandler(printProgress);
        result = operation(transfer);
    } catch (const SerialPortError& e) {
        err(e.text());
        return std::nullopt;
    }
    port.close();
    return result;
}

bool usageProblem(const ParsedArgs& a, qsizetype positional) {
    if (!a.error.isEmpty()) {
        err(a.error);
        return true;
    }
    if (a.positional.size() != positional) {
        err(positional == 0
                ? QStringLiteral("Fölösleges paraméter: %1 !!!").arg(a.positional.first())
                : QStringLiteral("Egy adatbázis file nevét kell megadni !!!"));
        return true;
    }
    return false;
}

int download(const QStringList& args, WireTrace& trace) {
    const ParsedArgs a = parseArgs(args, {"--port", "--speed", "-o", "--output", "--site",
                                          "--owner", "--password", "--trace"});
    if (usageProblem(a, 0)) return ExitUsage;
    trace.setPath(a.value("--trace"));
    const QString output = a.value("-o", a.value("--output"));
    if (output.isEmpty()) {
        err(QStringLiteral("Hiányzik a kimeneti file (-o FILE) !!!"));
        return ExitUsage;
    }
    // The texts are checked before the unit is woken, so a refused one costs no transfer.
    DatabaseRecord record;
    if (!setRecordTexts(record, a)) return ExitUsage;

    SerialPort port;
    if (const std::optional<int> failed = openPort(port, a)) return *failed;
    const std::optional<DownloadResult> result =
        onPort(port, trace, [&](Transfer& transfer) { return transfer.download(); });
    if (!result) return ExitFailed;
    if (!result->ok()) return finish(result->outcome, result->message);

    // Only a complete download becomes a file.
    record.writeHeader();
    record.image = result->image;
    const DatabaseWriteResult written = writeDatabaseFile(output, record, QString());
    if (!written.ok) {
        err(written.message);
        return ExitFailed;
    }
    err(QString::fromStdString(modelCaption(result->model)));
    return ExitOk;
}

int runDownload(const QStringList& args) {
    return traced(args, download);
}

// The file's configuration beside what the unit holds, read with the model the unit reported.
std::vector<SettingDifference> unitDifferences(const DatabaseRecord& file, DeviceModel model,
                                               const DownloadResult& unit) {
    return compareWithImage(file, model, unit.image, unit.model);
}

int upload(const QStringList& args, WireTrace& trace) {
    const ParsedArgs a =
        parseArgs(args, {"--port", "--speed", "--model", "--password", "--backup", "--trace"},
                  {"--verify", "--force"});
    if (usageProblem(a, 1)) return ExitUsage;
    trace.setPath(a.value("--trace"));
    if (a.has("--backup") && a.value("--backup").isEmpty()) {
        err(QStringLiteral("Hiányzik a mentés file neve (--backup FILE) !!!"));
        return ExitUsage;
    }
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(a.positional.first(), a, status);
    if (!db) return status;
    const DatabaseRecord& file = db->record;
    const DeviceModel model = db->model;

    UploadChecks checks;
    QString backupPath;
    checks.backup = a.has("--backup");
    checks.readBack = a.has("--verify");
    checks.keepBackup = [&](const DownloadResult& unit) {
        // The backup carries the site and owner of the file sent and the password given, so it
        // opens as that file does.
        const DatabaseWriteResult written = writeDatabaseFile(
            a.value("--backup"), DatabaseRecord::keeping(unit.image, file), QString());
        if (!written.ok) {
            err(written.message);
            return false;
        }
        backupPath = a.value("--backup");
        err(QStringLiteral("Az egység korábbi beállításai mentve: %1").arg(backupPath));
        return true;
    };
    if (checks.backup || checks.readBack)
        checks.phaseStarted = [](UploadPhase phase) { err(uploadPhaseText(phase)); };

    SerialPort port;
    if (const std::optional<int> failed = openPort(port, a)) return *failed;
    const std::optional<CheckedUploadResult> result = onPort(
        port, trace, [&](Transfer& t) { return uploadWithChecks(t, file.image, model, checks); });
    if (!result) return ExitFailed;
    if (!result->upload && result->backup->outcome == TransferOutcome::Cancelled)
        return finish(TransferOutcome::Cancelled, uploadCancelledMessage(false, QString()));
    if (result->upload && result->upload->outcome == TransferOutcome::Cancelled)
        return finish(TransferOutcome::Cancelled,
                      uploadCancelledMessage(result->upload->framesSent > 0, backupPath));
    if (!result->upload) {
        err(QStringLiteral("A mentés nem sikerült, az egységre semmi sem került."));
        return result->backup->ok() ? ExitFailed
                                    : finish(result->backup->outcome, result->backup->message);
    }
    if (!result->upload->ok()) return finish(result->upload->outcome, result->upload->message);
    if (!result->readBack) return ExitOk;
    if (!result->readBack->ok()) {
        err(QStringLiteral("A visszaolvasás nem sikerült."));
        return finish(result->readBack->outcome, result->readBack->message);
    }
    const std::vector<SettingDifference> differences =
        unitDifferences(file, model, *result->readBack);
    if (!differences.empty()) {
        printDifferences(differences, false);
        err(QStringLiteral("Az egység nem azt tartja, amit kapott !!!"));
        return ExitFailed;
    }
    err(QStringLiteral("Az egység azt tartja, amit kapott."));
    return ExitOk;
}

int runUpload(const QStringList& args) {
    return traced(args, upload);
}

// Exit status of verify: the unit holds the file's configuration, it holds another, or the two
// could not be compared.
constexpr int VerifySame = 0;
constexpr int VerifyDifferent = 1;
constexpr int VerifyError = 2;

int verify(const QStringList& args, WireTrace& trace) {
    const ParsedArgs a = parseArgs(args, {"--port", "--speed", "--model", "--password", "--trace"},
                                   {"--json", "--force"});
    if (usageProblem(a, 1)) return VerifyError;
    trace.setPath(a.value("--trace"));
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(a.positional.first(), a, status);
    if (!db) return VerifyError;

    SerialPort port;
    if (openPort(port, a)) return VerifyError;
    const std::optional<DownloadResult> unit =
        onPort(port, trace, [](Transfer& t) { return t.download(); });
    if (!unit) return VerifyError;
    if (!unit->ok()) {
        const int status = finish(unit->outcome, unit->message);
        return status == ExitInterrupted ? status : VerifyError;
    }
    const std::vector<SettingDifference> differences =
        unitDifferences(db->record, db->model, *unit);
    printDifferences(differences, a.has("--json"));
    return differences.empty() ? VerifySame : VerifyDifferent;
}

int runVerify(const QStringList& args) {
    return traced(args, verify, VerifyError);
}

int setClock(const QStringList& args, WireTrace& trace) {
    const ParsedArgs a = parseArgs(args, {"--port", "--speed", "--trace"});
    if (usageProblem(a, 0)) return ExitUsage;
    trace.setPath(a.value("--trace"));
    SerialPort port;
    if (const std::optional<int> failed = openPort(port, a)) return *failed;
    const std::optional<ClockResult> result =
        onPort(port, trace, [&](Transfer& transfer) { return transfer.setClock(); });
    if (!result) return ExitFailed;
    return finish(result->outcome, result->message);
}

int runSetClock(const QStringList& args) {
    return traced(args, setClock);
}

const bool registered =
    registerCommand({"download",
                     "download --port PORT [--speed BAUD] -o FÁJL [--site HELY] "
                     "[--owner TULAJDONOS] [--password JELSZÓ] [--trace FÁJL] [--progress]",
                     runDownload}) &&
    registerCommand({"upload",
                     "upload --port PORT [--speed BAUD] [--model 4|16 [--force]] "
                     "[--password JELSZÓ] [--backup FÁJL] [--verify] [--trace FÁJL] "
                     "[--progress] FÁJL",
                     runUpload}) &&
    registerCommand(
        {"verify",
         "verify --port PORT [--speed BAUD] [--model 4|16 [--force]] [--password JELSZÓ] "
         "[--json] [--trace FÁJL] [--progress] FÁJL: kilépési érték 0 azonos, 1 eltér, 2 hiba",
         runVerify}) &&
    registerCommand({"set-clock",
                     "set-clock --port PORT [--speed BAUD] [--trace FÁJL] [--progress]",
                     runSetClock});

} // namespace

} // namespace zx::cli
