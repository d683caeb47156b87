#pragma once
// The benchmarks' measure of a window that keeps painting: a window asked to repaint every 10 ms
// that notes the gaps between two of its paints while something else goes on, the same window
// measured idle for as long right afterwards (a largest gap alone says nothing on a machine
// whose other work stalls every thread now and then), and the longest single event the window's
// thread handled, in that thread's own processor time, which a stall of the machine does not
// lengthen.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

inline double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1.0e6;
}

// The application object of a benchmark: times every event of the window's thread.
class TimedApplication : public QApplication {
  public:
    using QApplication::QApplication;

    void startTiming() { longestMs_ = 0; }
    // The longest event since startTiming, in the window's thread's processor time.
    double longestEventMs() const { return longestMs_; }

    bool notify(QObject* receiver, QEvent* event) override {
        // Only the outermost event of the window's thread: what it sends on the way is its own.
        if (depth_ > 0 || QThread::currentThread() != thread())
            return QApplication::notify(receiver, event);
        ++depth_;
        const double start = threadCpuMs();
        const bool handled = QApplication::notify(receiver, event);
        longestMs_ = std::max(longestMs_, threadCpuMs() - start);
        --depth_;
        return handled;
    }

  private:
    int depth_ = 0;
    double longestMs_ = 0;
};

// A window asked to repaint every 10 ms that notes the gaps between its paints.
class PaintProbe : public QWidget {
  public:
    static constexpr int LongGapMs = 16;

    PaintProbe() {
        resize(120, 40);
        connect(&tick_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        tick_.start(10);
    }
    void startMeasuring() {
        clock_.start();
        last_ = 0;
        longest_ = 0;
        long_ = 0;
        paints_ = 0;
        measuring_ = true;
    }
    void stopMeasuring() {
        note(clock_.elapsed());
        measuring_ = false;
    }
    qint64 longestGapMs() const { return longest_; }
    // Gaps longer than LongGapMs: a frame of a 60 Hz screen missed.
    int longGaps() const { return long_; }
    int paints() const { return paints_; }
    qint64 elapsedMs() const { return clock_.elapsed(); }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!measuring_) return;
        note(clock_.elapsed());
        ++paints_;
    }

  private:
    void note(qint64 now) {
        const qint64 gap = now - last_;
        longest_ = std::max(longest_, gap);
        if (gap > LongGapMs) ++long_;
        last_ = now;
    }

    QTimer tick_;
    QElapsedTimer clock_;
    bool measuring_ = false;
    qint64 last_ = 0;
    qint64 longest_ = 0;
    int long_ = 0;
    int paints_ = 0;
};

// One measured period of the probe.
struct PeriodFigures {
    qint64 ms = 0;
    qint64 largestGapMs = 0;
    int longGaps = 0;
    int paints = 0;
    double longestEventMs = 0; // the window's thread's processor time
};

inline void runEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Measures while `load` runs (it returns once its load has passed, the event loop running
// meanwhile), then the idle window for as long.
struct LoadedAndIdle {
    PeriodFigures loaded, idle;
};
inline LoadedAndIdle measureLoadedThenIdle(TimedApplication& app, PaintProbe& probe,
                                           const std::function<void()>& load) {
    const auto period = [&](const std::function<void()>& run) {
        PeriodFigures f;
        probe.startMeasuring();
        app.startTiming();
        run();
        probe.stopMeasuring();
        f.ms = probe.elapsedMs();
        f.largestGapMs = probe.longestGapMs();
        f.longGaps = probe.longGaps();
        f.paints = probe.paints();
        f.longestEventMs = app.longestEventMs();
        return f;
    };
    LoadedAndIdle figures;
    figures.loaded = period(load);
    figures.idle = period([&] { runEventLoopFor(static_cast<int>(figures.loaded.ms)); });
    return figures;
}

// "largest paint gap WHAT: N ms (idle: M ms; over 16 ms: K, idle: L; longest event: C ms cpu)"
inline void printPaintGap(const char* what, const LoadedAndIdle& f, const char* tail = "") {
    std::printf("largest paint gap %s: %lld ms (idle: %lld ms; over %d ms: %d, idle: %d; longest "
                "event: %.1f ms cpu)%s\n",
                what, static_cast<long long>(f.loaded.largestGapMs),
                static_cast<long long>(f.idle.largestGapMs), PaintProbe::LongGapMs,
                f.loaded.longGaps, f.idle.longGaps, f.loaded.longestEventMs, tail);
    std::fflush(stdout);
}
