#pragma once
// What a panel of the window's status bar shows, found as the operator sees it: by its object
// name "SBarPanelN" (0 the file, 1 the codes, 2 the connection, 3 the line's state).
#include "ui/status_bar.h"
#include "widget_lookup.h"

#include <QLabel>

namespace zx {

inline QString statusPanelText(const QObject& window, int panel) {
    const QString name = QStringLiteral("SBarPanel%1").arg(panel);
    if (panel == 0) {
        const auto* file = childNamed<PathPanel>(window, name);
        return file ? file->text() : QString();
    }
    const auto* label = childNamed<QLabel>(window, name);
    return label ? label->text() : QString();
}

} // namespace zx
