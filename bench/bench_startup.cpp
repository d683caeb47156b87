// Start-up of the desktop program against a bare Qt Widgets window of the same shape built by
// the same compiler and Qt (bare_qt_window): the time from process start to the first paint
// and the peak memory of each, in alternating pairs under a virtual X server of its own (Xvfb),
// with the medians and the program's ratios to the bare window. The processor time each run
// used (user and system, to its exit) is shown too: on a machine busy with other work it
// varies far less than the time to the first paint, which includes waiting for a processor.
//
//   bench_startup [pairs] [path-to-zendrax] [path-to-bare_qt_window] [--offscreen]
//
// --offscreen runs both on Qt's offscreen platform instead, where no X server is at hand.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Run {
    double shownMs = 0;
    double peakMiB = 0;
    double cpuMs = 0;
};

double milliseconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs a program that prints "shown-at-ns N" at its first paint and exits.
bool runOnce(const std::vector<std::string>& argv, Run& run) {
    int out[2];
    if (pipe(out) != 0) return false;
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const long long started = nowNs();
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        // The toolkit's notes about the platform would drown the figures.
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;
    const std::size_t at = text.find("shown-at-ns ");
    if (at == std::string::npos) return false;
    const long long shown = std::atoll(text.c_str() + at + std::strlen("shown-at-ns "));
    run.shownMs = static_cast<double>(shown - started) / 1e6;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.cpuMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    return true;
}

// An X server of our own on the first free display; its number, or -1.
int startXvfb(pid_t& server) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    server = fork();
    if (server < 0) return -1;
    if (server == 0) {
        close(fds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    return number.empty() ? -1 : std::atoi(number.c_str());
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> positional;
    bool offscreen = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--offscreen") == 0)
            offscreen = true;
        else
            positional.push_back(argv[i]);
    }
    const int pairs = positional.size() > 0 ? std::max(1, std::atoi(positional[0].c_str())) : 15;
    const std::filesystem::path here =
        std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const std::string program = positional.size() > 1 ? positional[1] : (here / "zendrax").string();
    const std::string bare =
        positional.size() > 2 ? positional[2] : (here / "bare_qt_window").string();

    pid_t server = -1;
    std::string platform = "offscreen";
    if (offscreen) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        const int display = startXvfb(server);
        if (display < 0) {
            std::fprintf(stderr, "bench_startup: Xvfb did not start (package xvfb); "
                                 "--offscreen measures without an X server\n");
            return 1;
        }
        setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        platform = "xcb on Xvfb :" + std::to_string(display);
    }
    // Settings of the program's own, so that the runs neither read nor touch the operator's.
    char folder[] = "/tmp/zendrax-startup-XXXXXX";
    const bool haveFolder = mkdtemp(folder) != nullptr;
    std::vector<std::string> programArgs{program, "--quit-when-shown"};
    if (haveFolder) programArgs.insert(programArgs.end(), {"--config-dir", folder});
    const std::vector<std::string> bareArgs{bare};

    std::vector<double> programMs, bareMs, programMiB, bareMiB, timeRatios, memoryRatios;
    std::vector<double> programCpu, bareCpu, cpuRatios;
    int status = 0;
    for (int i = 0; i < pairs && status == 0; ++i) {
        // Alternating order, so neither side always starts on a warmer cache.
        Run p, b;
        const bool programFirst = i % 2 == 0;
        const bool ok = programFirst ? runOnce(programArgs, p) && runOnce(bareArgs, b)
                                     : runOnce(bareArgs, b) && runOnce(programArgs, p);
        if (!ok) {
            std::fprintf(stderr, "bench_startup: %s or %s did not start and paint its window\n",
                         program.c_str(), bare.c_str());
            status = 1;
            break;
        }
        std::printf("pair %2d: zendrax %7.1f ms %6.1f MiB %6.1f ms cpu | bare window %7.1f ms "
                    "%6.1f MiB %6.1f ms cpu\n",
                    i + 1, p.shownMs, p.peakMiB, p.cpuMs, b.shownMs, b.peakMiB, b.cpuMs);
        programMs.push_back(p.shownMs);
        bareMs.push_back(b.shownMs);
        programMiB.push_back(p.peakMiB);
        bareMiB.push_back(b.peakMiB);
        timeRatios.push_back(p.shownMs / b.shownMs);
        memoryRatios.push_back(p.peakMiB / b.peakMiB);
        programCpu.push_back(p.cpuMs);
        bareCpu.push_back(b.cpuMs);
        if (b.cpuMs > 0) cpuRatios.push_back(p.cpuMs / b.cpuMs);
    }
    if (server > 0) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    if (haveFolder) std::filesystem::remove_all(folder);
    if (status != 0) return status;

    std::printf("platform %s, %d alternating pairs\n", platform.c_str(), pairs);
    std::printf("time to first paint: zendrax median %.1f ms, bare window median %.1f ms\n",
                median(programMs), median(bareMs));
    std::printf("peak memory:         zendrax median %.1f MiB, bare window median %.1f MiB\n",
                median(programMiB), median(bareMiB));
    std::printf("time-to-first-paint ratio (median of pairs): %.2f\n", median(timeRatios));
    std::printf("peak-memory ratio (median of pairs):         %.2f\n", median(memoryRatios));
    std::printf("processor time:      zendrax median %.1f ms, bare window median %.1f ms\n",
                median(programCpu), median(bareCpu));
    if (!cpuRatios.empty())
        std::printf("processor-time ratio (median of pairs):      %.2f\n", median(cpuRatios));
    return 0;
}
