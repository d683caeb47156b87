#pragma once
// "Összehasonlítás..." of the "&File" menu: the configuration shown compared, setting by setting,
// with a database file or with what the unit holds (downloaded into an image of its own: the
// configuration shown, its file name and the modified flag stay as they are). The differences
// are listed in a dialog.
#include "model/settings_comparison.h"

#include <QDateTime>
#include <QObject>

#include <functional>

#include <optional>
#include <vector>

class MainWindow;

namespace zx {

class SharedFileDialogs;
class TransferCommands;

class CompareCommand : public QObject {
    Q_OBJECT
  public:
    CompareCommand(MainWindow& form, TransferCommands& transfers, SharedFileDialogs& dialogs,
                   QObject* parent = nullptr);

    void compare();
    // The comparison with a database file; nothing when it did not come about (cancelled,
    // refused, failed, a file whose layout fits only the other model: the reason was shown).
    std::optional<std::vector<SettingDifference>> compareWithFile(const QString& path);
    // Starts the unit's download for a comparison; its differences are shown once it has come
    // whole (a failure, or a cancel, shows none).
    void compareWithUnit();

  private:
    // The list of differences with the database file at otherFile, or with the unit (empty).
    void show(const std::vector<SettingDifference>& differences, const QString& otherFile);

    MainWindow& form_;
    TransferCommands& transfers_;
    SharedFileDialogs& dialogs_;
};

} // namespace zx
