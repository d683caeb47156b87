// Start-up of the desktop program: time from process start to the main window shown, and the
// peak memory of the process. Runs the program beside this one several times with
// --quit-when-shown (offscreen unless a display platform is chosen) and prints the figures.
//
//   bench_startup [runs] [path-to-zendrax]
#include <fcntl.h>
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
    long peakKb = 0;
};

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool runOnce(const std::string& program, Run& run) {
    int out[2];
    if (pipe(out) != 0) return false;
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
        execl(program.c_str(), program.c_str(), "--quit-when-shown", static_cast<char*>(nullptr));
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
    run.peakKb = usage.ru_maxrss;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string program;
    if (argc > 2) {
        program = argv[2];
    } else {
        const auto self = std::filesystem::read_symlink("/proc/self/exe");
        program = (self.parent_path() / "zendrax").string();
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    std::vector<Run> results;
    for (int i = 0; i < runs; ++i) {
        Run run;
        if (!runOnce(program, run)) {
            std::fprintf(stderr, "bench_startup: %s did not start and show its window\n",
                         program.c_str());
            return 1;
        }
        std::printf("run %d: window shown after %.1f ms, peak memory %.1f MiB\n", i + 1,
                    run.shownMs, static_cast<double>(run.peakKb) / 1024.0);
        results.push_back(run);
    }
    std::vector<double> times;
    long peak = 0;
    for (const Run& r : results) {
        times.push_back(r.shownMs);
        peak = std::max(peak, r.peakKb);
    }
    std::sort(times.begin(), times.end());
    std::printf("start to window shown: median %.1f ms, best %.1f ms, worst %.1f ms (%d runs, "
                "platform %s)\n",
                times[times.size() / 2], times.front(), times.back(), runs,
                std::getenv("QT_QPA_PLATFORM"));
    std::printf("peak memory: %.1f MiB\n", static_cast<double>(peak) / 1024.0);
    return 0;
}
