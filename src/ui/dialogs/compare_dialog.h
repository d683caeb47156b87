#pragma once
// The differences between the configuration shown and another one (a database file or what the
// unit holds), one row per setting by the name `show` prints, with both values. The operator can
// narrow the rows by a part of the name and save the list as text.
#include "model/settings_comparison.h"

#include <QDialog>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zx {

class Interaction;

class CompareDialog : public QDialog {
    Q_OBJECT
  public:
    // `otherCaption` names the other side ("Egység", or the file's name).
    CompareDialog(std::vector<SettingDifference> differences, const QString& otherCaption,
                  Interaction& interaction, QWidget* parent = nullptr);

    // Shows only the rows whose name holds `part` (case ignored); all for an empty one.
    void setFilter(const QString& part);
    // The rows shown, as lines of text: name, the shown value, the other value, tab-separated.
    QStringList shownLines() const;
    // "Mentés...": the rows shown written to a text file the operator names (CR LF lines);
    // false when nothing was written.
    bool saveList();

  private:
    void fillRows();

    std::vector<SettingDifference> differences_;
    Interaction& interaction_;
    QLineEdit* edFilter;
    QTableWidget* tbDiff;
    QLabel* lblCount;
    QPushButton *btnSave, *btnClose;
};

} // namespace zx
