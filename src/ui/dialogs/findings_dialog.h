#pragma once
// The findings of the configuration check, one row each: its severity, its place in the
// window's own words ("Kódok / 3. sor") with the name `show` prints, and what is wrong. A double
// click or Enter on a row closes the list with that finding chosen, for the window to take the
// operator to its control. The list can be saved as text under a heading that says what was
// checked and when.
#include "model/configuration_check.h"

#include <QDateTime>
#include <QDialog>

#include <optional>
#include <vector>

class QLabel;
class QModelIndex;
class QPushButton;
class QTableWidget;

namespace zx {

class Interaction;

// What was checked, and when.
struct CheckedConfiguration {
    QString file;   // the database file of the configuration shown; empty for a new one
    QDateTime when; // when the check ran
};

class FindingsDialog : public QDialog {
    Q_OBJECT
  public:
    FindingsDialog(std::vector<Finding> findings, CheckedConfiguration checked,
                   Interaction& interaction, QWidget* parent = nullptr);

    // The finding whose row the operator chose (double click or Enter); none when the list was
    // closed otherwise.
    const std::optional<Finding>& chosen() const { return chosen_; }
    // The text "Mentés..." writes: what was checked and when, the counts, the column titles,
    // then one line a finding as the command line prints it.
    QStringList savedText() const;
    // "Mentés...": savedText written to a text file the operator names (CR LF lines); false when
    // nothing was written.
    bool saveList();

  private:
    void choose(const QModelIndex& index);

    std::vector<Finding> findings_;
    CheckedConfiguration checked_;
    Interaction& interaction_;
    std::optional<Finding> chosen_;
    QLabel* lblChecked;
    QTableWidget* tbFindings;
    QLabel* lblCount;
    QPushButton *btnSave, *btnClose;
};

} // namespace zx
