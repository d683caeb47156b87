#pragma once
// The "&Beállítások" menu's choices of what an operation on the line does besides its work:
// verify after upload, keep the unit's configuration before upload (and where), and a wire
// trace to a file. The upload choices are kept in the program's settings file; the trace lasts
// until it is switched off or the program ends.
#include "files/upload_options.h"

#include <QObject>
#include <QString>

class MainWindow;

namespace zx {

class TransferCommands;

class LineOptionCommands : public QObject {
    Q_OBJECT
  public:
    // The choices as the settings file at `settingsPath` holds them; every change is written
    // back there.
    LineOptionCommands(MainWindow& form, TransferCommands& transfers, const UploadOptions& read,
                       const QString& settingsPath, QObject* parent = nullptr);

    void setVerify(bool on);
    void setBackup(bool on);
    // "Mentések mappája...": the folder backups go to.
    void chooseBackupFolder();
    // "Adatforgalom naplózása...": on asks for the file, off ends the trace.
    void setTrace(bool on);

  private:
    void apply(const UploadOptions& options);
    // The trace's check mark goes off without switching anything.
    void uncheckTrace();

    MainWindow& form_;
    TransferCommands& transfers_;
    QString settingsPath_;
};

} // namespace zx
