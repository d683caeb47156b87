#pragma once
// The "&Szerkesztés" menu: "&Visszavonás" (Ctrl+Z) and "&Mégis" (Ctrl+Y, Ctrl+Shift+Z) over the
// document's undo history. Each command names the step it takes back or does again and is
// disabled when there is none; after either, every view shows the record as it now is (the
// refill of Open) and the page holding the change is shown with its control or row selected;
// the status bar's last line says what was taken back or done again.
#include <QObject>

class MainWindow;
class QWidget;

namespace zx {

struct StepPlace;

class EditCommands : public QObject {
    Q_OBJECT
  public:
    explicit EditCommands(MainWindow& form, QObject* parent = nullptr);

    // The commit step first, as every command runs it: a value still being typed is stored as a
    // step of its own, which is then the one taken back (Ctrl+Z in a field being edited gives
    // back the value stored before). A refused value stops the command.
    void undo();
    // The commit step, then the step last taken back is done again.
    void redo();

  private:
    void step(bool back);
    // The page holding the change shown, with its control (or the row of its list or grid)
    // selected.
    void showChange(const StepPlace& place);
    // The commands' names and enabled state follow the history.
    void followHistory();
    // The menu opening: the commit step runs as an undo would run it, so that each command
    // names exactly the step it takes (the value being typed included).
    void nameStepsAsStored();
    // Ctrl+Z in a field of the window whose value is still being typed: undo is offered even
    // with an empty history, since the commit step makes that value a step to take back.
    bool eventFilter(QObject* watched, QEvent* event) override;
    static bool storedByAView(const QWidget* field);
    // Undo is disabled while `watched` is a field of the window, stored by the commit step, that
    // holds typed text.
    bool typedIntoStoredField(QObject* watched) const;

    MainWindow& form_;
};

} // namespace zx
