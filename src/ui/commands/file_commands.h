#pragma once
// The database commands of the "&File" menu (New, Open, Save, Save As) and the preferences
// dialog of "&Beállítások", with the shared open and save dialogs every file command uses.
#include "files/connection_settings.h"
#include "model/database_record.h"
#include "ui/commands/shared_file_dialogs.h"

#include <QByteArray>
#include <QObject>

#include <functional>
#include <optional>

class MainWindow;

namespace zx {

class FileCommands : public QObject {
    Q_OBJECT
  public:
    // `connection` is the device link's: a file opened selects its saved connection, a file
    // saved records the connection in use.
    FileCommands(MainWindow& form, ConnectionState& connection, QObject* parent = nullptr);
    ~FileCommands() override;

    SharedFileDialogs& dialogs() { return dialogs_; }
    // Whether a file opened may select its saved connection (the device link asks when that
    // would change the port while it is open); none: always.
    std::function<bool(const ConnectionState& next)> mayChangeConnection;

    void newConfiguration();
    void open();
    // True when the file was written; false when the dialog was cancelled or the write failed.
    bool save();
    bool saveAs();
    void editPreferences();

    // Reads a database file, asks its password and shows it: the end of Open, and what the
    // program does with a file named on its command line. True when the file was taken.
    bool openDatabase(const QString& path);

  private:
    // Writes the record to path, asking first when the file changed since this window last read
    // or wrote it; no question is open while the file's lock is held.
    bool saveTo(const QString& path);
    struct SaveAttempt {
        enum Outcome { Written, Failed, ChangedMeanwhile } outcome;
        std::optional<QByteArray> onDisk; // what the file holds now (ChangedMeanwhile)
    };
    // One try under the file's lock: the file compared with `seen` (when given), then written.
    SaveAttempt writeUnderLock(const QString& path, const std::optional<QByteArray>& seen);
    // A file taken that fits only the other model's layout: the operator is asked whether the
    // window switches to that model.
    void offerRecognizedModel();
    void takeConnectionOf(const DatabaseRecord& record);

    MainWindow& form_;
    ConnectionState& connection_;
    SharedFileDialogs dialogs_;
    // The database file this window last opened or saved, as its bytes were then.
    struct KnownFile {
        QString path;
        QByteArray bytes;
    };
    std::optional<KnownFile> known_;
};

} // namespace zx
