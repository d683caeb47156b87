#pragma once
// "Összehasonlítás..." of the "&File" menu: the configuration shown compared, setting by setting,
// with a database file or with what the unit holds (downloaded into an image of its own: the
// configuration shown, its file name and the modified flag stay as they are). The differences
// are listed in a dialog.
#include "model/settings_comparison.h"

#include <QObject>

#include <optional>
#include <vector>

class TMainForm;

namespace zx {

class SharedFileDialogs;
class TransferCommands;

class CompareCommand : public QObject {
    Q_OBJECT
  public:
    CompareCommand(TMainForm& form, TransferCommands& transfers, SharedFileDialogs& dialogs,
                   QObject* parent = nullptr);

    void compare();
    // The comparison with a database file or with the unit; nothing when it did not come about
    // (cancelled, refused, failed, a file whose layout fits only the other model: the reason
    // was shown).
    std::optional<std::vector<SettingDifference>> compareWithFile(const QString& path);
    std::optional<std::vector<SettingDifference>> compareWithUnit();

  private:
    void show(const std::vector<SettingDifference>& differences, const QString& otherCaption);

    TMainForm& form_;
    TransferCommands& transfers_;
    SharedFileDialogs& dialogs_;
};

} // namespace zx
