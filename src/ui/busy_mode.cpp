#include "ui/busy_mode.h"

#include "ui/main_menu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace zx {

BusyMode::BusyMode(QMenuBar& menus, const MainMenu& menu, std::vector<QWidget*> inputs)
    : menus_(menus),
      // The menus that hold the two commands left enabled stay open.
      kept_{menu.exitProgram, menu.helpContents, menu.fileMenu->menuAction(),
            menu.helpMenu->menuAction()},
      inputs_(std::move(inputs)) {}

BusyMode::~BusyMode() {
    if (on_) QApplication::restoreOverrideCursor();
}

void BusyMode::set(bool busy) {
    if (busy == on_) return;
    on_ = busy;
    if (!busy) {
        for (const auto& [object, enabled] : enabledBefore_) {
            if (auto* action = qobject_cast<QAction*>(object.data()))
                action->setEnabled(enabled);
            else if (auto* widget = qobject_cast<QWidget*>(object.data()))
                widget->setEnabled(enabled);
        }
        enabledBefore_.clear();
        QApplication::restoreOverrideCursor();
        return;
    }
    for (QAction* action : menus_.findChildren<QAction*>()) {
        if (kept_.contains(action) || action->isSeparator()) continue;
        enabledBefore_.emplace_back(action, action->isEnabled());
        action->setEnabled(false);
    }
    for (QWidget* widget : inputs_) {
        enabledBefore_.emplace_back(widget, widget->isEnabled());
        widget->setEnabled(false);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

} // namespace zx
