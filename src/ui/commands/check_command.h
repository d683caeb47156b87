#pragma once
// "Ellenőrzés" (F7) of the "&File" menu, beside the comparison: the configuration shown checked
// by the model's rules, its findings listed; the operator goes from a finding to its control.
// The same check runs before every upload (the menu's, the one after a backup, the repeat after
// a cancel): errors are asked about, warnings alone are told in the status bar.
#include "model/configuration_check.h"

#include <QObject>

#include <vector>

class MainWindow;

namespace zx {

class CheckCommand : public QObject {
    Q_OBJECT
  public:
    explicit CheckCommand(MainWindow& form, QObject* parent = nullptr);

    // The commit step, then the findings listed, or a message that there are none.
    void check();

  private:
    MainWindow& form_;
};

// The findings of the configuration the window holds now (run after the commit step).
std::vector<Finding> checkShownConfiguration(MainWindow& form);

// The list of findings; once it is closed on a finding, the window shows that finding's place.
void showFindings(MainWindow& form, const std::vector<Finding>& findings);

// Takes the operator to the control of a finding: its page shown, the control focused and, in a
// list or the code grid, its row selected; the preferences dialog for the code count and
// length. False when the window has no control for it.
bool goToFinding(MainWindow& form, const Finding& finding);

// Run by every upload after its commit step. With errors the operator is asked "A konfiguráció
// N hibát tartalmaz. Feltölti mégis?" (Nem is the default); on Nem the findings are listed and
// the upload sends nothing. Warnings alone are told in the status bar (lblCheck, the list in
// its tip and a click away) and do not stop it. True when the upload may go on.
bool uploadPassesCheck(MainWindow& form);

} // namespace zx
