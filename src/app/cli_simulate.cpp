// zendrax-cli simulate: a simulated unit on a pseudo-terminal, for trying the transfer commands
// and the window without a unit.
#include "app/cli_args.h"
#include "app/cli_common.h"
#include "files/database_file.h"
#include "files/file_bytes.h"
#include "link/pty_server.h"
#include "model/editor_view.h"
#include "model/new_configuration.h"

#include <QFile>

#include <csignal>
#include <functional>

namespace zx::cli {

namespace {

PtyServer* activeServer = nullptr;

extern "C" void stopServing(int) {
    if (activeServer) activeServer->stop();
}

// A raw 8192-byte image, or a database file whose image is taken as the unit's memory.
std::optional<ConfigImage> loadImage(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(RecordSize) + 1);
    if (bytes.size() == static_cast<qsizetype>(ImageSize)) {
        ConfigImage image;
        std::copy(bytes.begin(), bytes.end(), image.bytes().begin());
        return image;
    }
    const DatabaseReadResult read = decodeDatabaseBytes(bytes);
    if (!read.ok()) {
        *error = QStringLiteral("%1: %2").arg(path, read.message);
        return std::nullopt;
    }
    return read.record.image;
}

bool saveImage(const QString& path, const ConfigImage& image, QString* error) {
    const FileWriteResult written =
        writeFileAtomically(path,
                            QByteArrayView(reinterpret_cast<const char*>(image.bytes().data()),
                                           static_cast<qsizetype>(ImageSize)),
                            FileAccess::OwnerOnly);
    if (!written.ok) *error = written.message;
    return written.ok;
}

// "S" or "S:TIMES" (TIMES -1 or missing: always).
bool parseSegmentTimes(const QString& text, int* segment, int* times) {
    const QStringList parts = text.split(':');
    const std::optional<long> s = parseNumberOption(parts.value(0));
    const std::optional<long> t =
        parts.size() > 1 ? parseNumberOption(parts[1], -1) : std::optional<long>(-1);
    if (parts.size() > 2 || !s || *s > 255 || !t) return false;
    *segment = static_cast<int>(*s);
    *times = static_cast<int>(*t);
    return true;
}

int runSimulate(const ParsedArgs& a) {
    if (!a.positional.isEmpty()) {
        err(QStringLiteral("Fölösleges paraméter: %1 !!!").arg(a.positional.first()));
        return ExitUsage;
    }
    const std::optional<DeviceModel> model = parseModelOption(a.value("--model", "4"));
    if (!model) {
        err(QStringLiteral("A --model értéke 4 vagy 16 lehet !!!"));
        return ExitUsage;
    }

    SimulatedUnit unit(*model);
    if (a.has("--image")) {
        QString error;
        const std::optional<ConfigImage> image = loadImage(a.value("--image"), &error);
        if (!image) {
            err(error);
            return ExitFailed;
        }
        unit.setMemory(*image);
    } else {
        DatabaseRecord record;
        applyNewConfiguration(record, *model);
        unit.setMemory(record.image);
    }

    UnitFaults& f = unit.faults();
    f.silent = a.has("--silent");
    struct NumberOption {
        const char* name;
        long minimum;
        long maximum;
        std::function<void(long)> apply;
    };
    const NumberOption numbers[] = {
        {"--ignore-first", 0, 1L << 30,
         [&](long v) { f.ignoreFirstRequests = static_cast<int>(v); }},
        {"--wrong-sum-every", 1, 1L << 30, [&](long v) { f.wrongSumEvery = static_cast<int>(v); }},
        {"--delay", 0, 3600000, [&](long v) { f.replyDelayMs = static_cast<int>(v); }},
        {"--dead-after-bytes", 0, 1L << 40, [&](long v) { f.deadAfterBytes = v; }},
        {"--dead-at-segment", 0, 255, [&](long v) { f.deadAtSegment = static_cast<int>(v); }},
        {"--pace", 1, 10000000, [&](long v) { f.baud = static_cast<int>(v); }},
    };
    for (const NumberOption& n : numbers) {
        if (!a.has(n.name)) continue;
        const std::optional<long> v = parseNumberOption(a.value(n.name), n.minimum);
        if (!v || *v > n.maximum) {
            err(QStringLiteral("Hibás érték: %1 %2 !!!").arg(n.name, a.value(n.name)));
            return ExitUsage;
        }
        n.apply(*v);
    }
    const struct {
        const char* name;
        int* segment;
        int* times;
    } segmentOptions[] = {
        {"--wrong-sum-segment", &f.wrongSumSegment, &f.wrongSumSegmentTimes},
        {"--reject-segment", &f.rejectSegment, &f.rejectSegmentTimes},
        {"--drop-write", &f.dropWriteSegment, &f.dropWriteTimes},
    };
    for (const auto& o : segmentOptions) {
        if (a.has(o.name) && !parseSegmentTimes(a.value(o.name), o.segment, o.times)) {
            err(QStringLiteral("Hibás érték: %1 %2 !!!").arg(o.name, a.value(o.name)));
            return ExitUsage;
        }
    }

    PtyServer server(unit);
    QString error;
    if (!server.open(&error)) {
        err(error);
        return ExitFailed;
    }
    // The first line of standard output is all a client needs to find the unit.
    out(server.devicePath());

    activeServer = &server;
    struct sigaction action {};
    action.sa_handler = stopServing;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    server.serve();
    activeServer = nullptr;

    const SimulatedUnit::Stats& s = unit.stats();
    QString summary =
        QStringLiteral("%1: %2 olvasási kérés, %3 írási keret (%4 elfogadva, %5 elutasítva)")
            .arg(QString::fromStdString(modelCaption(*model)))
            .arg(s.readRequests)
            .arg(s.writeFrames)
            .arg(s.accepted)
            .arg(s.rejected);
    if (s.dropped > 0)
        summary += QStringLiteral(", %1 nyugtázva, de meg nem tartva").arg(s.dropped);
    err(summary);
    if (a.has("--save-memory") && !saveImage(a.value("--save-memory"), unit.memory(), &error)) {
        err(error);
        return ExitFailed;
    }
    return ExitOk;
}

const bool registered = registerCommand(
    {"simulate",
     "simulate --model 4|16 [--image FÁJL] [--save-memory FÁJL] [--silent] [--ignore-first N]\n"
     "      [--wrong-sum-every N] [--wrong-sum-segment SZEGMENS[:SZER]]\n"
     "      [--reject-segment SZEGMENS[:SZER]] [--delay MS] [--dead-after-bytes N]\n"
     "      [--dead-at-segment SZEGMENS] [--pace BAUD]\n"
     "      [--drop-write SZEGMENS[:SZER]] (nyugtázza a szegmens írását, de megtartja a régi "
     "bájtjait)",
     runSimulate,
     {{"--model", "--image", "--save-memory", "--ignore-first", "--wrong-sum-every",
       "--wrong-sum-segment", "--reject-segment", "--delay", "--dead-after-bytes",
       "--dead-at-segment", "--pace", "--drop-write"},
      {"--silent"}}});

} // namespace

} // namespace zx::cli
