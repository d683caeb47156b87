// Full downloads and uploads of both models against the simulated unit on a pseudo-terminal,
// served from another thread: wall time and processor time, unpaced and paced at 19200 baud,
// beside the line-time limit (bytes on the line x 10 bits / speed, plus the 1000 ms wake-up
// of a download).
#include "link/com_port.h"
#include "link/pty_server.h"
#include "link/serial_byte_link.h"
#include "link/system_clock.h"
#include "link/transfer.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

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

    TComPort port;
    port.setPort(server.devicePath());
    port.setBaudRate(br19200);
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
    } catch (const EComPort& e) {
        std::fprintf(stderr, "port: %s\n", e.what());
    }
    port.close();
    server.stop();
    serving.join();

    const double bytes = static_cast<double>(unit.stats().bytesIn + unit.stats().bytesOut);
    f.lineLimit = bytes * 10.0 * 1000.0 / LineSpeed + (download ? 2 * Transfer::WakeUpPauseMs : 0);
    return f;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
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
    return failures == 0 ? 0 : 1;
}
