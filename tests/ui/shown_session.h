#pragma once
// The whole program as main starts it, settings in a folder of its own, with every page built
// and the window shown.
#include "scripted_interaction.h"
#include "ui/desktop_session.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zx {

struct ShownSession {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    DesktopSession session{ui};

    // False (with a test failure) when the program did not start or the window never showed.
    bool start() {
        DesktopOptions options;
        options.configDir = dir.path();
        QString error;
        if (!session.start(options, &error)) {
            ADD_FAILURE() << error.toStdString();
            return false;
        }
        window().viewPages->buildAll();
        window().show();
        return QTest::qWaitForWindowExposed(&window());
    }
    MainWindow& window() { return session.window(); }
};

} // namespace zx
