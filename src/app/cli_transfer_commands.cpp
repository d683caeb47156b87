// zendrax-cli download / upload / verify / set-clock: the transfers of the window on the command
// line, over the same operations (the upload with its backup and read-back included). Progress
// goes to standard error (on a terminal one line rewritten in place, elsewhere only with
// --progress); the status is 0 only on success. With --trace FILE every byte on the line is
// written to FILE when the command ends. SIGINT and SIGTERM stop a transfer as the window's
// cancel does: it ends within a wait's cancel check, says what the window says, writes its trace,
// and the status is 130 (SIGINT) or 143 (SIGTERM); a second signal ends the program at once.
#include "app/cli_args.h"
#include "app/cli_check.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "app/cli_io.h"
#include "app/cli_settings.h"
#include "files/database_file.h"
#include "files/file_bytes.h"
#include "files/file_lock.h"
#include "link/line_operations.h"
#include "link/line_service.h"
#include "link/open_connection.h"
#include "link/serial_port.h"
#include "link/transfer.h"
#include "model/editor_view.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <optional>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zx::cli {

namespace {

constexpr int DefaultSpeed = 19200;

// Set by SIGINT and SIGTERM while a transfer command runs; the line's waits watch it.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void interruptTransfer(int signal) {
    // A second signal is not asked twice: a step that does not look at the flag ends here.
    if (interrupted.exchange(true)) _exit(128 + signal);
    caughtSignal = signal;
}

// The status of a command stopped by a signal, as a shell gives one killed by it.
int interruptedStatus() {
    return 128 + (caughtSignal != 0 ? static_cast<int>(caughtSignal) : SIGINT);
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
        QStringList speeds;
        for (int i = 0; i < SpeedCount; ++i)
            speeds << QString::number(speedBaud(i));
        const QString last = speeds.takeLast();
        err(QStringLiteral("A --speed értéke %1 vagy %2 lehet !!!").arg(speeds.join(", "), last));
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

// What the command says of an operation: its steps (the model check, each segment) on a terminal
// as one line rewritten in place, elsewhere only when asked for (--progress); its phases as
// notices; how it ended once, at its end (sayEnd).
class Progress {
  public:
    void operator()(const TransferProgress& p) {
        const bool step = p.status == transfer_text::modelCheck() ||
                          (p.total > 0 && p.status == transfer_text::segment(p.done));
        if (step) {
            progress(p.status);
            return;
        }
        // The engine also reports how each of its steps ended; the command says it once.
        static const QStringList ends{transfer_text::uploadDone(), transfer_text::downloadDone(),
                                      transfer_text::communicationError(),
                                      transfer_text::cancelled(), transfer_text::uploadSkipped()};
        if (!ends.contains(p.status)) notice(p.status);
    }
    // Says the end of an operation: its status line (on success `success` when given, as a
    // notice), then its message.
    void sayEnd(const LineResult& result, const QString& success = {}) const {
        if (result.ok())
            notice(success.isEmpty() ? result.status : success);
        else if (!result.status.isEmpty())
            err(result.status);
        if (!result.message.isEmpty()) err(result.message);
    }
};

// The exit status of an operation that did not succeed, its end said.
int failure(const LineResult& result, const Progress& progress) {
    progress.sayEnd(result);
    return result.outcome == TransferOutcome::Cancelled ? interruptedStatus() : ExitFailed;
}

// The wire trace of --trace FILE, written in one atomic step when the command ends, also after
// a failure.
class WireTrace {
  public:
    void setPath(const QString& path) { path_ = path; }
    bool wanted() const { return !path_.isEmpty(); }
    void keep(const QByteArray& text) { text_ += text; }

    // The command's status; a trace that could not be written is said and makes it at least
    // `failed`.
    int conclude(int status, int failed) const {
        if (!wanted()) return status;
        // The image in hexadecimal: its owner's only, as the database file.
        const FileWriteResult written = writeFileAtomically(path_, text_, FileAccess::OwnerOnly);
        if (written.ok) return status;
        err(written.message);
        return std::max(status, failed);
    }

  private:
    QString path_;
    QByteArray text_;
};

// A transfer command run with its wire trace and with SIGINT and SIGTERM caught; the trace is
// written whatever the command's end, and a trace that could not be written makes the status at
// least `failed`.
int traced(const ParsedArgs& args, int (*command)(const ParsedArgs&, WireTrace&),
           int failed = ExitFailed) {
    catchInterrupts();
    WireTrace trace;
    const int status = command(args, trace);
    return trace.conclude(status, failed);
}

// Runs one operation on the open port through the line's one hand-over, then closes the port.
LineResult onPort(SerialPort& port, WireTrace& trace, Progress& progress, LineOperation operation,
                  std::function<LineResult(Transfer&)> work) {
    LineRequest request;
    request.operation = operation;
    request.work = std::move(work);
    request.traced = trace.wanted();
    const LineResult result =
        runLineOperation(port, serialLine, &interrupted, request,
                         [&progress](const TransferProgress& p) { progress(p); });
    trace.keep(result.trace);
    port.close();
    return result;
}

bool usageProblem(const ParsedArgs& a, qsizetype positional) {
    if (a.positional.size() != positional) {
        err(positional == 0
                ? QStringLiteral("Fölösleges paraméter: %1 !!!").arg(a.positional.first())
                : QStringLiteral("Egy adatbázis file nevét kell megadni !!!"));
        return true;
    }
    return false;
}

// A file that is there is replaced only with --force; said naming it.
bool mayWrite(const QString& output, const ParsedArgs& a) {
    if (isStandardStream(output) || a.has("--force") || !QFileInfo::exists(output)) return true;
    err(aboutFile(output, QStringLiteral("már létezik, nem írom felül (a --force felülírja) !!!"),
                  true));
    return false;
}

int download(const ParsedArgs& a, WireTrace& trace) {
    if (usageProblem(a, 0)) return ExitUsage;
    trace.setPath(a.value("--trace"));
    const QString output = a.value("-o", a.value("--output"));
    if (output.isEmpty()) {
        err(QStringLiteral("Hiányzik a kimeneti file (-o FILE) !!!"));
        return ExitUsage;
    }
    // The texts and the file are checked before the unit is woken, so a refusal costs no
    // transfer.
    DatabaseRecord record;
    if (!setRecordTexts(record, a, output)) return ExitUsage;
    if (!mayWrite(output, a)) return ExitFailed;

    SerialPort port;
    if (const std::optional<int> failed = openPort(port, a)) return *failed;
    Progress progress;
    const LineResult result = onPort(port, trace, progress, LineOperation::Download,
                                     [](Transfer& engine) { return downloadOperation(engine); });
    if (!result.download) return failure(result, progress);

    // Only a complete download becomes a file; it is held against other writers (the window's
    // Save, set, an import) while it is written, as every command that writes a database does.
    progress.sayEnd(result);
    record.writeHeader();
    record.image = result.download->image;
    FileWriteLock lock(output);
    if (!isStandardStream(output)) {
        if (!lock.acquire()) {
            err(lock.message());
            return ExitFailed;
        }
        if (!mayWrite(output, a)) return ExitFailed;
    }
    const CliDatabase downloaded{output, result.download->model, record, {}, {}};
    if (saveDatabase(downloaded) != ExitOk) return ExitFailed;
    notice(aboutFile(output, QString::fromStdString(modelCaption(result.download->model)), true));
    return ExitOk;
}

int runDownload(const ParsedArgs& args) {
    return traced(args, download);
}

int upload(const ParsedArgs& a, WireTrace& trace) {
    if (usageProblem(a, 1)) return ExitUsage;
    trace.setPath(a.value("--trace"));
    if (a.has("--backup") && a.value("--backup").isEmpty()) {
        err(QStringLiteral("Hiányzik a mentés file neve (--backup FILE) !!!"));
        return ExitUsage;
    }
    int status = ExitOk;
    const std::optional<CliDatabase> db =
        openDatabase(a.positional.first(), a, status, Access::Read, false);
    if (!db) return status;
    if (const std::optional<int> refused = refuseUploadOnErrors(*db, a)) return *refused;

    // The window's upload: the backup carries the site and owner of the file sent and the
    // password given, so it opens as that file does.
    UploadJob job;
    job.image = db->record.image;
    job.model = db->model;
    job.verify = a.has("--verify");
    job.backup = a.has("--backup");
    job.backupFile = a.value("--backup");
    job.shown = db->record;

    SerialPort port;
    if (const std::optional<int> failed = openPort(port, a)) return *failed;
    Progress progress;
    const LineResult result =
        onPort(port, trace, progress, LineOperation::Upload,
               [&job](Transfer& engine) { return uploadOperation(engine, job); });
    if (!result.backupPath.isEmpty() && !result.message.contains(result.backupPath))
        notice(QStringLiteral("Az egység korábbi beállításai mentve: %1").arg(result.backupPath));
    if (!result.ok()) return failure(result, progress);
    if (!result.notKept.empty()) {
        // The settings on standard output, the verdict without its list on standard error.
        printDifferences(result.notKept, false);
        err(result.status);
        return ExitFailed;
    }
    if (result.readBackFailed) return failure(result, progress);
    progress.sayEnd(result);
    return ExitOk;
}

int runUpload(const ParsedArgs& args) {
    return traced(args, upload);
}

// Exit status of verify: the unit holds the file's configuration, it holds another, or the two
// could not be compared.
constexpr int VerifySame = 0;
constexpr int VerifyDifferent = 1;
constexpr int VerifyError = 2;

int verify(const ParsedArgs& a, WireTrace& trace) {
    if (usageProblem(a, 1)) return VerifyError;
    trace.setPath(a.value("--trace"));
    int status = ExitOk;
    const std::optional<CliDatabase> db = openDatabase(a.positional.first(), a, status);
    if (!db) return VerifyError;

    SerialPort port;
    if (openPort(port, a)) return VerifyError;
    Progress progress;
    const LineResult unit = onPort(port, trace, progress, LineOperation::Download,
                                   [](Transfer& engine) { return downloadOperation(engine); });
    if (!unit.download) {
        const int failed = failure(unit, progress);
        return failed == ExitFailed ? VerifyError : failed;
    }
    progress.sayEnd(unit);
    // The file's configuration beside what the unit holds, read with the model it reported.
    const std::vector<SettingDifference> differences =
        compareWithImage(db->record, db->model, unit.download->image, unit.download->model);
    printDifferences(differences, a.has("--json"));
    return differences.empty() ? VerifySame : VerifyDifferent;
}

int runVerify(const ParsedArgs& args) {
    return traced(args, verify, VerifyError);
}

int setClock(const ParsedArgs& a, WireTrace& trace) {
    if (usageProblem(a, 0)) return ExitUsage;
    trace.setPath(a.value("--trace"));
    SerialPort port;
    if (const std::optional<int> failed = openPort(port, a)) return *failed;
    Progress progress;
    const QDateTime now = QDateTime::currentDateTime();
    const LineResult result =
        onPort(port, trace, progress, LineOperation::SetClock,
               [now](Transfer& engine) { return clockOperation(engine, now); });
    if (!result.ok()) return failure(result, progress);
    progress.sayEnd(result, QStringLiteral("Az óra beállítva."));
    return ExitOk;
}

int runSetClock(const ParsedArgs& args) {
    return traced(args, setClock);
}

QString uploadHelp() {
    return QString::fromUtf8(
        "Használat: zendrax-cli upload --port PORT [--speed BAUD] [--model 4|16]\n"
        "    [--password JELSZÓ] [--backup FÁJL] [--verify] [--force] [--trace FÁJL] FÁJL\n"
        "\n"
        "A file konfigurációját az egységre tölti. Előtte lefut a check: ha hibát talál,\n"
        "semmit sem küld (kilépési érték 2); a --force csak ezt az elutasítást oldja fel.\n"
        "A --model csak akkor választ típust, ha a file elrendezése mindkettőnek megfelel;\n"
        "a csak a másik típusnak megfelelő file-t semmilyen kapcsoló mellett sem küldi el,\n"
        "és az egység típusellenőrzése sem engedi más típusú egységre.\n"
        "--backup FÁJL: előbb letölti és FÁJL-ba menti az egység beállításait;\n"
        "--verify: utána visszaolvassa és összeveti; --trace FÁJL: a vonal minden bájtja.");
}

const bool registered =
    registerCommand(
        {"download",
         "download --port PORT [--speed BAUD] -o FÁJL|- [--force] [--site HELY] "
         "[--owner TULAJDONOS] [--password JELSZÓ] [--trace FÁJL] [--progress]",
         runDownload,
         {{"--port", "--speed", "-o", "--output", "--site", "--owner", "--password", "--trace"},
          {"--force"}}}) &&
    registerCommand({"upload",
                     "upload --port PORT [--speed BAUD] [--model 4|16] [--password JELSZÓ] "
                     "[--backup FÁJL] [--verify] [--force] [--trace FÁJL] [--progress] FÁJL",
                     runUpload,
                     {{"--port", "--speed", "--model", "--password", "--backup", "--trace"},
                      {"--verify", "--force"}},
                     false,
                     uploadHelp}) &&
    registerCommand(
        {"verify",
         "verify --port PORT [--speed BAUD] [--model|--as-model 4|16] [--password JELSZÓ] "
         "[--json] [--trace FÁJL] [--progress] FÁJL: kilépési érték 0 azonos, 1 eltér, 2 hiba",
         runVerify,
         {ModelOptions + QSet<QString>{"--port", "--speed", "--password", "--trace"}, {"--json"}},
         false,
         {},
         VerifyError,
         VerifyError}) &&
    registerCommand({"set-clock",
                     "set-clock --port PORT [--speed BAUD] [--trace FÁJL] [--progress]",
                     runSetClock,
                     {{"--port", "--speed", "--trace"}, {}}});

} // namespace

} // namespace zx::cli
