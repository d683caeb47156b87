// The pauses of a transfer on the real clock: the window keeps running its timers and painting,
// while what the operator types or clicks meanwhile is dropped, not applied once the transfer is
// over.
#include "link/system_clock.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

namespace zx {
namespace {

using Queued = QWindowSystemInterface::AsynchronousDelivery;

class PaintCounter : public QWidget {
  public:
    using QWidget::QWidget;
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// A window with a text field, a button and a spin box, and the operator's hands on it: input
// queued by the platform as it hands it over.
class TransferPause : public ::testing::Test {
  protected:
    void SetUp() override {
        edit = new QLineEdit(&window);
        button = new QPushButton(QStringLiteral("Kapcsolódás"), &window);
        spin = new QSpinBox(&window);
        painted = new PaintCounter(&window);
        painted->setMinimumSize(20, 20);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(button);
        layout->addWidget(spin);
        layout->addWidget(painted);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QTest::qWait(10);
    }

    void type(const QString& text) {
        QWindow* w = window.windowHandle();
        for (const QChar c : text) {
            const int key = Qt::Key_A + (c.toLatin1() - 'a');
            QWindowSystemInterface::handleKeyEvent<Queued>(w, QEvent::KeyPress, key, Qt::NoModifier,
                                                           QString(c));
            QWindowSystemInterface::handleKeyEvent<Queued>(w, QEvent::KeyRelease, key,
                                                           Qt::NoModifier, QString(c));
        }
    }
    void click(QWidget* target) {
        QWindow* w = window.windowHandle();
        const QPointF local = target->mapTo(&window, target->rect().center());
        const QPointF global = window.mapToGlobal(local);
        QWindowSystemInterface::handleMouseEvent<Queued>(w, local, global, Qt::LeftButton,
                                                         Qt::LeftButton, QEvent::MouseButtonPress);
        QWindowSystemInterface::handleMouseEvent<Queued>(
            w, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
    }
    void wheel(QWidget* target) {
        const QPointF local = target->mapTo(&window, target->rect().center());
        // Queued, as every event of the platform is by default.
        QWindowSystemInterface::handleWheelEvent(
            window.windowHandle(), local, window.mapToGlobal(local), QPoint(), QPoint(0, 120));
    }

    QWidget window;
    QLineEdit* edit = nullptr;
    QPushButton* button = nullptr;
    QSpinBox* spin = nullptr;
    PaintCounter* painted = nullptr;
    int clicks = 0;
};

TEST_F(TransferPause, InputMadeWhileTheClockPausesIsDroppedNotReplayedAfterwards) {
    type(QStringLiteral("a"));
    click(button);
    wheel(spin);

    SystemClock clock;
    bool timerRan = false;
    QTimer::singleShot(5, [&] { timerRan = true; });
    const int paintsBefore = painted->paints;
    painted->update();
    // The pause runs an event loop of its own, the pump none.
    clock.sleepMs(30);
    type(QStringLiteral("b"));
    click(button);
    clock.pumpEvents();
    EXPECT_TRUE(timerRan);
    EXPECT_GT(painted->paints, paintsBefore);

    // The transfer is over: nothing of it comes back through the window's own loop.
    QTest::qWait(50);
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(spin->value(), 0);

    // What is typed and clicked from now on reaches the window as ever.
    type(QStringLiteral("c"));
    click(button);
    wheel(spin);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1 && spin->value() == 1; }, 2000));
    EXPECT_EQ(edit->text(), QStringLiteral("c"));
}

TEST_F(TransferPause, AMessageShownMeanwhileTakesItsInput) {
    UserInputDrop drop;
    // A modal message runs an event loop of its own; what is typed there is the message's.
    QEventLoop message;
    QObject::connect(edit, &QLineEdit::textChanged, &message, &QEventLoop::quit);
    QTimer::singleShot(5000, &message, &QEventLoop::quit);
    type(QStringLiteral("a"));
    message.exec();
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
    // The message has gone: input is dropped again.
    type(QStringLiteral("b"));
    drop.dropQueued();
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
}

} // namespace
} // namespace zx
