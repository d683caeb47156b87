#pragma once
// The benchmarks' measure of a window that keeps painting: a window asked to repaint every 10 ms
// that notes the largest gap between two of its paints while something else goes on.
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <algorithm>

// A window asked to repaint every 10 ms that notes the largest gap between two of its paints.
class PaintProbe : public QWidget {
  public:
    PaintProbe() {
        resize(120, 40);
        connect(&tick_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        tick_.start(10);
    }
    void startMeasuring() {
        clock_.start();
        last_ = 0;
        longest_ = 0;
        paints_ = 0;
        measuring_ = true;
    }
    void stopMeasuring() {
        longest_ = std::max(longest_, clock_.elapsed() - last_);
        measuring_ = false;
    }
    qint64 longestGapMs() const { return longest_; }
    int paints() const { return paints_; }
    qint64 elapsedMs() const { return clock_.elapsed(); }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!measuring_) return;
        const qint64 now = clock_.elapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
        ++paints_;
    }

  private:
    QTimer tick_;
    QElapsedTimer clock_;
    bool measuring_ = false;
    qint64 last_ = 0;
    qint64 longest_ = 0;
    int paints_ = 0;
};
