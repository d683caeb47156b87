#pragma once
// The differences between the configuration shown and another one (a database file or what the
// unit holds), one row per setting in the window's own words ("Alap / CO pozíció"), with both
// values and the name `show` prints for scripts. The operator can narrow the rows by a part of
// the label or the name and save the list as text under a heading that says what was compared
// with what, when, and whether a filter was on.
#include "model/settings_comparison.h"

#include <QDateTime>
#include <QDialog>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zx {

class Interaction;

// What was compared with what, and when.
struct ComparedSides {
    QString shownFile;            // the file of the configuration shown; empty for a new one
    QString otherFile;            // the database file compared with; empty for the unit
    QDateTime when;               // when the comparison was made
    QString otherCaption() const; // the other side's column: the file's name, or "Egység"
};

class CompareDialog : public QDialog {
    Q_OBJECT
  public:
    CompareDialog(std::vector<SettingDifference> differences, ComparedSides sides,
                  Interaction& interaction, QWidget* parent = nullptr);

    // Shows only the rows whose label or name holds `part` (case ignored); all for an empty one.
    void setFilter(const QString& part);
    // The rows shown, as lines of text: the label, the shown value, the other value and the
    // name, tab-separated.
    QStringList shownLines() const;
    // The text "Mentés..." writes: the heading, the column titles, then the rows shown.
    QStringList savedText() const;
    // "Mentés...": savedText written to a text file the operator names (CR LF lines); false
    // when nothing was written.
    bool saveList();

  private:
    void fillRows();
    bool filtered() const;
    // What was compared with what, and when: two lines.
    QStringList sidesText() const;

    std::vector<SettingDifference> differences_;
    ComparedSides sides_;
    Interaction& interaction_;
    QLineEdit* edFilter;
    QTableWidget* tbDiff;
    QLabel* lblSides;
    QLabel* lblCount;
    QPushButton *btnSave, *btnClose;
};

} // namespace zx
