#pragma once
// Dialogs that open in the middle of the screen the first time they are shown.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zx {

inline void centreOnScreen(QWidget& window) {
    if (const QScreen* screen =
            window.screen() ? window.screen() : QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace zx
