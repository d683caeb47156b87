// zendrax-cli download / upload / set-clock: the transfers of the window on the command line,
// over the same engine. Progress goes to standard error; the status is 0 only on success.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "app/cli_database.h"
#include "files/database_file.h"
#include "link/com_port.h"
#include "link/open_connection.h"
#include "link/serial_byte_link.h"
#include "link/system_clock.h"
#include "link/transfer.h"
#include "model/editor_view.h"

#include <cerrno>
#include <optional>
#include <utility>

namespace zx::cli {

namespace {

constexpr int DefaultSpeed = 19200;

// Opens the port of --port at the --speed of the speed table. Nothing on success, else the
// exit status.
std::optional<int> openPort(TComPort& port, const ParsedArgs& a) {
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
    port.setPort(a.value("--port"));
    port.setBaudRate(speedBaudRate(index));
    try {
        port.open();
    } catch (const EComPort& e) {
        err(e.Text());
        return ExitFailed;
    }
    return std::nullopt;
}

void printProgress(const TransferProgress& p) {
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
    case TransferOutcome::Busy:
    case TransferOutcome::Failed:
        break;
    }
    err(message);
    return ExitFailed;
}

// Runs one operation of the engine on the open port, then closes the port. A port failure is
// reported and gives no result.
template <class Operation>
auto onPort(TComPort& port, Operation operation)
    -> std::optional<decltype(operation(std::declval<Transfer&>()))> {
    std::optional<decltype(operation(std::declval<Transfer&>()))> result;
    try {
        SerialByteLink link(port);
        SystemClock clock;
        Transfer transfer(link, clock);
        transfer.setProgressHandler(printProgress);
        result = operation(transfer);
    } catch (const EComPort& e) {
        err(e.Text());
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

int runDownload(const QStringList& args) {
    const ParsedArgs a =
        parseArgs(args, {"--port", "--speed", "-o", "--output", "--site", "--owner", "--password"});
    if (usageProblem(a, 0)) return ExitUsage;
    const QString output = a.value("-o", a.value("--output"));
    if (output.isEmpty()) {
        err(QStringLiteral("Hiányzik a kimeneti file (-o FILE) !!!"));
        return ExitUsage;
    }
    // The texts are checked before the unit is woken, so a refused one costs no transfer.
    DatabaseRecord record;
    if (!setRecordTexts(record, a)) return ExitUsage;

    TComPort port;
    if (const std::optional<int> failed = openPort(port, a)) return *failed;
    const std::optional<DownloadResult> result =
        onPort(port, [&](Transfer& transfer) { return transfer.download(); });
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

int runUpload(const QStringList& args) {
    const ParsedArgs a = parseArgs(args, {"--port", "--speed", "--model", "--password"});
    if (usageProblem(a, 1)) return ExitUsage;
    const std::optional<DeviceModel> model = parseModelOption(a.value("--model", "4"));
    if (!model) {
        err(QStringLiteral("A --model értéke 4 vagy 16 lehet !!!"));
        return ExitUsage;
    }
    const DatabaseReadResult read = readDatabaseFile(a.positional.first());
    if (!read.ok()) {
        err(read.message);
        return ExitFailed;
    }
    if (!passwordMatches(read.record, a.value("--password"))) {
        err(wrongPasswordMessage());
        return ExitFailed;
    }

    TComPort port;
    if (const std::optional<int> failed = openPort(port, a)) return *failed;
    const std::optional<UploadResult> result = onPort(
        port, [&](Transfer& transfer) { return transfer.upload(read.record.image, *model); });
    if (!result) return ExitFailed;
    return finish(result->outcome, result->message);
}

int runSetClock(const QStringList& args) {
    const ParsedArgs a = parseArgs(args, {"--port", "--speed"});
    if (usageProblem(a, 0)) return ExitUsage;
    TComPort port;
    if (const std::optional<int> failed = openPort(port, a)) return *failed;
    const std::optional<ClockResult> result =
        onPort(port, [&](Transfer& transfer) { return transfer.setClock(); });
    if (!result) return ExitFailed;
    return finish(result->outcome, result->message);
}

const bool registered =
    registerCommand({"download",
                     "download --port PORT [--speed BAUD] -o FILE [--site S] [--owner O] "
                     "[--password P]",
                     runDownload}) &&
    registerCommand({"upload",
                     "upload --port PORT [--speed BAUD] [--model 4|16] [--password P] FILE",
                     runUpload}) &&
    registerCommand({"set-clock", "set-clock --port PORT [--speed BAUD]", runSetClock});

} // namespace

} // namespace zx::cli
