#include "link/system_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <thread>

namespace zx {

namespace {

// User input (keys, mouse) stays queued until the transfer is over, so no editor or command
// runs in the middle of it; repaints, timers and the port's own events go on.
constexpr QEventLoop::ProcessEventsFlags TransferPumpFlags = QEventLoop::ExcludeUserInputEvents;

bool onApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

} // namespace

void SystemClock::pumpEvents() {
    if (onApplicationThread()) QCoreApplication::processEvents(TransferPumpFlags);
}

void SystemClock::sleepMs(int ms) {
    if (ms <= 0) {
        pumpEvents();
        return;
    }
    if (!onApplicationThread()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(TransferPumpFlags);
}

} // namespace zx
