#pragma once
// Where the program's own windows open: dialogs in the middle of the screen the first time they
// are shown, the help window wholly on the screen.
#include <QGuiApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace zx {

inline void centreOnScreen(QWidget& window) {
    if (const QScreen* screen =
            window.screen() ? window.screen() : QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

// The frame a desktop draws around a window (title bar and borders), for a window whose own
// frame is not known yet because it has not been shown.
inline constexpr QMargins UsualWindowFrame(8, 32, 8, 8);

// A window of `size` with its `frame` centred on `centre` and lying wholly within `available`:
// moved in from an edge it would cross, smaller where the screen is smaller. The window's own
// rectangle, without the frame.
inline QRect placedWithin(QSize size, QPoint centre, const QRect& available,
                          const QMargins& frame) {
    QRect inside(QPoint(), size.boundedTo(available.size().shrunkBy(frame)));
    inside.moveCenter(centre);
    QRect framed = inside.marginsAdded(frame);
    if (framed.right() > available.right()) framed.moveRight(available.right());
    if (framed.bottom() > available.bottom()) framed.moveBottom(available.bottom());
    if (framed.left() < available.left()) framed.moveLeft(available.left());
    if (framed.top() < available.top()) framed.moveTop(available.top());
    return framed.marginsRemoved(frame);
}

// The window, frame and all, on the screen that holds `centre`, centred there as far as the
// screen allows.
inline void placeOnScreen(QWidget& window, QPoint centre) {
    const QScreen* screen = QGuiApplication::screenAt(centre);
    if (!screen) screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QMargins frame =
        window.isVisible() ? QMargins(window.geometry().left() - window.frameGeometry().left(),
                                      window.geometry().top() - window.frameGeometry().top(),
                                      window.frameGeometry().right() - window.geometry().right(),
                                      window.frameGeometry().bottom() - window.geometry().bottom())
                           : UsualWindowFrame;
    window.setGeometry(placedWithin(window.size(), centre, screen->availableGeometry(), frame));
}

} // namespace zx
