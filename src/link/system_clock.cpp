#include "link/system_clock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <thread>

namespace zx {

namespace {

bool onApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

class InputFilter : public QObject {
  public:
    explicit InputFilter(int deepestLoop) : deepestLoop_(deepestLoop) {}
    bool eventFilter(QObject*, QEvent* event) override {
        return isUserInput(event->type()) && QThread::currentThread()->loopLevel() <= deepestLoop_;
    }

  private:
    int deepestLoop_;
};

} // namespace

UserInputDrop::UserInputDrop(int ownLoops) {
    if (!onApplicationThread()) return;
    filter_ = std::make_unique<InputFilter>(QThread::currentThread()->loopLevel() + ownLoops);
    QCoreApplication::instance()->installEventFilter(filter_.get());
}

UserInputDrop::~UserInputDrop() {
    if (filter_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(filter_.get());
}

void UserInputDrop::dropQueued() {
    if (filter_) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void pumpEventsWithoutInput() {
    UserInputDrop drop;
    drop.dropQueued();
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
    const UserInputDrop drop(1); // the pause's own loop
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace zx
