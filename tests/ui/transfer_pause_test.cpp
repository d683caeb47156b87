// The pauses of a transfer on the real clock: the window keeps running its timers and painting,
// while what the operator types or clicks meanwhile waits, queued, until the transfer is over.
#include "link/system_clock.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

namespace zx {
namespace {

using Queued = QWindowSystemInterface::AsynchronousDelivery;

TEST(TransferPause, InputWaitsForTheTransferToEndAndIsThenDelivered) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* button = new QPushButton(QStringLiteral("Kapcsolódás"), &window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(button);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTest::qWait(10);

    // As the platform hands them over: a key press and release, and a click on the button.
    QWindow* w = window.windowHandle();
    QWindowSystemInterface::handleKeyEvent<Queued>(w, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier,
                                                   QStringLiteral("a"));
    QWindowSystemInterface::handleKeyEvent<Queued>(w, QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier,
                                                   QStringLiteral("a"));
    const QPointF local = button->mapTo(&window, button->rect().center());
    const QPointF global = window.mapToGlobal(local);
    QWindowSystemInterface::handleMouseEvent<Queued>(w, local, global, Qt::LeftButton,
                                                     Qt::LeftButton, QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Queued>(w, local, global, Qt::NoButton, Qt::LeftButton,
                                                     QEvent::MouseButtonRelease);

    SystemClock clock;
    bool timerRan = false;
    QTimer::singleShot(5, [&] { timerRan = true; });
    clock.pumpEvents();
    clock.sleepMs(30);
    clock.pumpEvents();
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(clicks, 0);

    // The transfer is over: the window's own loop delivers what waited, in order.
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 2000));
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
}

} // namespace
} // namespace zx
