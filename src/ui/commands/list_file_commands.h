#pragma once
// Importing and exporting the code list ("&Kódok" menu: "<--Txt", "<--PIN.DAT", "-->Txt",
// "-->PIN.DAT") and the free-number list ("Számok" menu: "Import <- CALL.TXT",
// "Export -> CALL.TXT") through the shared file dialogs. An import reads and checks the whole
// file before it changes anything; an export is written atomically.
#include <QObject>

class MainWindow;

namespace zx {

class SharedFileDialogs;
struct FileWriteResult;

class ListFileCommands : public QObject {
    Q_OBJECT
  public:
    ListFileCommands(MainWindow& form, SharedFileDialogs& dialogs, QObject* parent = nullptr);

    void importCodeText() { importCodes(true); }
    void importCodeList() { importCodes(false); }
    void exportCodeText() { exportCodes(true); }
    void exportCodeList() { exportCodes(false); }
    void importFreeNumbers();
    void exportFreeNumbers();

  private:
    void importCodes(bool text);
    void exportCodes(bool text);
    void message(const QString& text);
    // An export's end: the folder remembered or the failure shown, and the status bar's line.
    void wrote(const FileWriteResult& written, const QString& path, const QString& done,
               const QString& failed);

    MainWindow& form_;
    SharedFileDialogs& dialogs_;
};

} // namespace zx
