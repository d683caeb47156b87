#pragma once
// The "Számok" menu's own commands: "Mind töröl" and "ABC Rendezett", on the list of the
// "Számok" view.
#include <QObject>

class MainWindow;

namespace zx {

class FreeNumberCommands : public QObject {
    Q_OBJECT
  public:
    explicit FreeNumberCommands(MainWindow& form, QObject* parent = nullptr);

    // Empties the list and the edit once the operator answers "Igen" to "Biztos benne ?"
    // ("Nem" is the default answer).
    void clearList();

  private:
    MainWindow& form_;
};

} // namespace zx
