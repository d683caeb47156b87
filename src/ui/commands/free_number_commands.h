#pragma once
// The "Számok" menu's own commands: "Mind töröl" and "ABC Rendezett", on the list of the
// "Számok" view.
#include <QObject>

class TMainForm;

namespace zx {

class FreeNumberCommands : public QObject {
    Q_OBJECT
  public:
    explicit FreeNumberCommands(TMainForm& form, QObject* parent = nullptr);

    // Empties the list and the edit once the operator confirms "Biztos benne ?".
    void clearList();

  private:
    TMainForm& form_;
};

} // namespace zx
