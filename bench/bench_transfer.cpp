// Full downloads and uploads of both models against the simulated unit on a pseudo-terminal,
// served from another thread: wall time and processor time, unpaced and paced at 19200 baud,
// beside the line-time limit (bytes on the line x 10 bits / speed, plus the 1000 ms wake-up
// of a download).
//
// These transfers run on the calling thread, as the command line runs them.
//
// Then uploads of the 4-line model on slow lines (1200 and 300 baud): frames sent, frames the
// unit acknowledged and the time taken beside the line-time limit. These run on virtual time
// (a 300-baud upload takes more than eight minutes of real time); with --real they run through
// the pseudo-terminal in real time instead.
//
// Last, the largest gap between two paints of a window asked to repaint every 10 ms, in real
// time through a pseudo-terminal, while the window's line service carries the transfer on its own
// thread: during a download from a unit that never answers, during an upload at 300 baud (its
// first 20 s, then cancelled; the whole upload with --real) and during a download paced at 19200
// baud; each beside the same window idle for as long right afterwards, with the longest event of
// the window's thread in its own processor time. Then the time from a cancel request to the end
// of the operation, for a silent unit's download and a 300-baud upload.
#include "link/line_service.h"
#include "link/pty_server.h"
#include "link/serial_byte_link.h"
#include "link/serial_port.h"
#include "link/served_unit.h"
#include "link/sim_link.h"
#include "link/system_clock.h"
#include "link/transfer.h"

#include "paint_probe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace zx;

constexpr int LineSpeed = 19200;

double cpuMs(clockid_t which) {
    timespec ts{};
    clock_gettime(which, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1.0e6;
}

double wallMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Figures {
    bool ok = false;
    double wall = 0, engineCpu = 0, processCpu = 0, lineLimit = 0;
};

Figures runOne(DeviceModel model, bool download, int pace) {
    Figures f;
    SimulatedUnit unit(model);
    unit.faults().baud = pace;
    PtyServer server(unit);
    QString error;
    if (!server.open(&error)) {
        std::fprintf(stderr, "pty: %s\n", qPrintable(error));
        return f;
    }
    std::thread serving([&server] { server.serve(); });

    SerialPort port;
    port.setPortName(server.devicePath());
    port.setBaudRate(19200);
    try {
        port.open();
        SerialByteLink link(port);
        SystemClock clock;
        Transfer transfer(link, clock);
        const ConfigImage image;

        const double wall0 = wallMs();
        const double thread0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
        const double process0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
        f.ok = download ? transfer.download().ok() : transfer.upload(image, model).ok();
        f.wall = wallMs() - wall0;
        f.engineCpu = cpuMs(CLOCK_THREAD_CPUTIME_ID) - thread0;
        f.processCpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - process0;
    } catch (const SerialPortError& e) {
        std::fprintf(stderr, "port: %s\n", e.what());
    }
    port.close();
    server.stop();
    serving.join();

    const double bytes = static_cast<double>(unit.stats().bytesIn + unit.stats().bytesOut);
    f.lineLimit = bytes * 10.0 * 1000.0 / LineSpeed + (download ? 2 * Transfer::WakeUpPauseMs : 0);
    return f;
}

struct SlowFigures {
    bool ok = false;
    int sent = 0;         // write frames the unit received
    int acknowledged = 0; // of them, acknowledged by the unit
    int credited = 0;     // segments the program counted as acknowledged
    double ms = 0;        // time the upload took (virtual or real)
    double realMs = 0;    // real time it took to run
    double lineLimit = 0;
};

double lineLimitMs(const SimulatedUnit& unit, int baud) {
    const double bytes = static_cast<double>(unit.stats().bytesIn + unit.stats().bytesOut);
    return bytes * 10.0 * 1000.0 / baud;
}

// The upload on virtual time: the unit takes in and answers bytes at `baud`, and the link's
// writes return at once, as a driver that reports its output gone early would.
SlowFigures slowUploadVirtual(int baud) {
    SlowFigures f;
    SimulatedUnit unit(DeviceModel::Line4);
    unit.faults().baud = baud;
    VirtualClock clock;
    SimLink link(unit, clock);
    link.setBitsPerSecond(baud);
    Transfer transfer(link, clock);
    const double wall0 = wallMs();
    const UploadResult result = transfer.upload(ConfigImage{}, DeviceModel::Line4);
    f.realMs = wallMs() - wall0;
    f.ms = static_cast<double>(clock.nowUs()) / 1000.0;
    f.ok = result.ok();
    f.sent = unit.stats().writeFrames;
    f.acknowledged = unit.stats().accepted;
    f.credited = result.accepted;
    f.lineLimit = lineLimitMs(unit, baud);
    return f;
}

// The same through a pseudo-terminal in real time, the port set to `baud`.
SlowFigures slowUploadReal(int baud) {
    SlowFigures f;
    SimulatedUnit unit(DeviceModel::Line4);
    unit.faults().baud = baud;
    PtyServer server(unit);
    QString error;
    if (!server.open(&error)) {
        std::fprintf(stderr, "pty: %s\n", qPrintable(error));
        return f;
    }
    std::thread serving([&server] { server.serve(); });
    SerialPort port;
    port.setPortName(server.devicePath());
    port.setBaudRate(baud);
    try {
        port.open();
        SerialByteLink link(port);
        SystemClock clock;
        Transfer transfer(link, clock);
        const double wall0 = wallMs();
        const UploadResult result = transfer.upload(ConfigImage{}, DeviceModel::Line4);
        f.ms = f.realMs = wallMs() - wall0;
        f.ok = result.ok();
        f.credited = result.accepted;
    } catch (const SerialPortError& e) {
        std::fprintf(stderr, "port: %s\n", e.what());
    }
    port.close();
    server.stop();
    serving.join();
    f.sent = unit.stats().writeFrames;
    f.acknowledged = unit.stats().accepted;
    f.lineLimit = lineLimitMs(unit, baud);
    return f;
}

int slowUploads(bool real) {
    std::printf("\n4-line upload on slow lines (%s time)\n", real ? "real" : "virtual");
    std::printf("%-6s %6s %6s %9s %10s %11s %9s %10s\n", "baud", "sent", "acked", "credited",
                "time ms", "line limit", "time/lim", "real ms");
    int failures = 0;
    for (const int baud : {1200, 300}) {
        const SlowFigures f = real ? slowUploadReal(baud) : slowUploadVirtual(baud);
        // Every frame once, each acknowledged, and nothing credited that was not.
        const bool sound = f.ok && f.sent == 212 && f.acknowledged == 212 && f.credited == 212;
        failures += sound ? 0 : 1;
        std::printf("%-6d %6d %6d %9d %10.0f %11.0f %8.1f%% %10.0f%s\n", baud, f.sent,
                    f.acknowledged, f.credited, f.ms, f.lineLimit, 100.0 * f.ms / f.lineLimit,
                    f.realMs, sound ? "" : "  FAILED");
        std::fflush(stdout);
    }
    std::printf("sent: write frames the unit received; acked: of them acknowledged by the unit; "
                "credited: segments the program counted as acknowledged.\n");
    return failures;
}

struct PaintFigures {
    bool ran = false;
    int frames = 0; // write frames the unit acknowledged (upload)
    qint64 ms = 0, longestGap = 0;
    int paints = 0;
    double transferCpuMs = 0; // the line thread's processor time
    qint64 cancelMs = -1;     // from the cancel request to the result (-1: not cancelled)
    LoadedAndIdle gaps;       // beside the idle window
};

// The transfer on the line service's thread while this thread runs its event loop; cancelled once
// `cancelAfterMs` of real time have passed (0: never).
PaintFigures paintsDuring(TimedApplication& app, PaintProbe& probe, bool download, bool silent,
                          int baud, int cancelAfterMs) {
    PaintFigures f;
    UnitFaults faults;
    faults.silent = silent;
    faults.baud = baud;
    ServedUnit served(DeviceModel::Line4, ConfigImage{}, faults);
    QString error;
    if (!served.start(&error)) {
        std::fprintf(stderr, "pty: %s\n", qPrintable(error));
        return f;
    }
    LineService line;
    QEventLoop loop;
    QElapsedTimer sinceCancel;
    QObject::connect(&line, &LineService::finished, &loop, [&](const LineResult& r) {
        if (sinceCancel.isValid()) f.cancelMs = sinceCancel.elapsed();
        f.ran = r.outcome != TransferOutcome::PortNotOpen && !r.error;
        loop.quit();
    });
    ConnectionState connection;
    connection.portName = served.devicePath();
    connection.speedIndex = speedIndexOf(QString::number(baud));
    LineRequest request;
    request.operation = LineOperation::Download;
    request.work = [download, &f](Transfer& engine) {
        const double cpu0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
        LineResult r = download ? downloadOperation(engine) : [&] {
            UploadJob job;
            return uploadOperation(engine, job);
        }();
        f.transferCpuMs = cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpu0;
        return r;
    };
    f.gaps = measureLoadedThenIdle(app, probe, [&] {
        line.start(std::move(request), connection, false);
        if (cancelAfterMs > 0)
            QTimer::singleShot(cancelAfterMs, &loop, [&] {
                sinceCancel.start();
                line.cancel();
            });
        loop.exec();
    });
    served.stop();
    f.frames = served.unit().stats().accepted;
    f.ms = f.gaps.loaded.ms;
    f.longestGap = f.gaps.loaded.largestGapMs;
    f.paints = f.gaps.loaded.paints;
    return f;
}

int paintGaps(TimedApplication& app, bool real) {
    std::printf("\nPaints of a window asked to repaint every 10 ms, during a transfer on the line "
                "service's thread (real time)\n");
    PaintProbe probe;
    probe.show();
    QApplication::processEvents();
    int failures = 0;
    std::vector<std::pair<QByteArray, PaintFigures>> rows;
    const auto row = [&](const QByteArray& name, const PaintFigures& f) {
        failures += f.ran ? 0 : 1;
        printPaintGap(("during " + name).constData(), f.gaps, f.ran ? "" : "  FAILED");
        rows.emplace_back(name, f);
    };
    row("(a) download, unit never answers", paintsDuring(app, probe, true, true, LineSpeed, 0));
    const int sample = real ? 0 : 20000;
    const PaintFigures upload = paintsDuring(app, probe, false, false, 300, sample);
    row(real ? QByteArray("(b) upload at 300 baud")
             : "(b) upload at 300 baud, first 20 s (" + QByteArray::number(upload.frames) +
                   " frames)",
        upload);
    row("(c) download at 19200 baud", paintsDuring(app, probe, true, false, LineSpeed, 0));
    std::printf("\n%-44s %9s %7s %16s %13s\n", "transfer", "real ms", "paints", "largest gap ms",
                "transfer cpu");
    for (const auto& [name, f] : rows)
        std::printf("%-44s %9lld %7d %16lld %12.2f%%\n", name.constData(),
                    static_cast<long long>(f.ms), f.paints, static_cast<long long>(f.longestGap),
                    f.ms > 0 ? 100.0 * f.transferCpuMs / static_cast<double>(f.ms) : 0.0);

    std::printf("\nFrom a cancel request to the end of the operation (real time)\n");
    std::printf("%-44s %9s\n", "transfer", "cancel ms");
    const auto cancelRow = [&](const char* name, const PaintFigures& f) {
        const bool ok = f.ran && f.cancelMs >= 0;
        failures += ok ? 0 : 1;
        std::printf("%-44s %9lld%s\n", name, static_cast<long long>(f.cancelMs),
                    ok ? "" : "  FAILED");
        std::fflush(stdout);
    };
    cancelRow("download, unit never answers, at 3 s",
              paintsDuring(app, probe, true, true, LineSpeed, 3000));
    cancelRow("upload at 300 baud, at 10 s", paintsDuring(app, probe, false, false, 300, 10000));
    if (!real) cancelRow("upload at 300 baud, at 20 s", upload);
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    const bool real = app.arguments().contains(QStringLiteral("--real"));
    std::printf("%-9s %-9s %-7s %10s %11s %11s %11s %9s %9s\n", "model", "transfer", "paced",
                "wall ms", "engine cpu", "all cpu", "line limit", "wall/lim", "cpu/wall");
    int failures = 0;
    for (const DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        for (const int pace : {0, LineSpeed}) {
            for (const bool download : {true, false}) {
                const Figures f = runOne(model, download, pace);
                failures += f.ok ? 0 : 1;
                std::printf("%-9s %-9s %-7s %10.0f %11.1f %11.1f %11.0f %8.1f%% %8.2f%%%s\n",
                            model == DeviceModel::Line4 ? "4-line" : "16-line",
                            download ? "download" : "upload", pace ? "19200" : "no", f.wall,
                            f.engineCpu, f.processCpu, f.lineLimit, 100.0 * f.wall / f.lineLimit,
                            100.0 * f.processCpu / f.wall, f.ok ? "" : "  FAILED");
                std::fflush(stdout);
            }
        }
    }
    std::printf(
        "\nengine cpu: the transfer's own thread; all cpu: the process, simulator included.\n");
    failures += slowUploads(real);
    failures += paintGaps(app, real);
    return failures == 0 ? 0 : 1;
}
