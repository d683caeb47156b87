#pragma once
// The window's busy mode, while an operation owns the line: every command that reads, changes or
// replaces the configuration or uses the line is disabled at its action (every menu command but
// "&Kilépés" and the help, and so their shortcuts), the given controls take no input, and the
// busy cursor is on. Leaving it gives back exactly what was enabled before.
#include <QList>
#include <QPointer>

#include <utility>
#include <vector>

class QAction;
class QMenuBar;
class QObject;
class QWidget;

namespace zx {

struct MainMenu;

class BusyMode {
  public:
    BusyMode(QMenuBar& menus, const MainMenu& menu, std::vector<QWidget*> inputs);
    ~BusyMode();
    BusyMode(const BusyMode&) = delete;
    BusyMode& operator=(const BusyMode&) = delete;

    void set(bool busy);
    bool on() const { return on_; }

  private:
    QMenuBar& menus_;
    QList<const QAction*> kept_;
    std::vector<QWidget*> inputs_;
    bool on_ = false;
    // What busy mode disabled, with the state each had.
    std::vector<std::pair<QPointer<QObject>, bool>> enabledBefore_;
};

} // namespace zx
