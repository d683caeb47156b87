#pragma once
// The database commands of the "&File" menu (New, Open, Save, Save As) and the preferences
// dialog of "&Beállítások", with the shared open and save dialogs every file command uses.
#include "files/connection_settings.h"
#include "model/database_record.h"
#include "ui/commands/shared_file_dialogs.h"

#include <QObject>

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
    bool saveTo(const QString& path);
    // A file taken that fits only the other model's layout: the operator is asked whether the
    // window switches to that model.
    void offerRecognizedModel();
    void takeConnectionOf(const DatabaseRecord& record);

    MainWindow& form_;
    ConnectionState& connection_;
    SharedFileDialogs dialogs_;
};

} // namespace zx
