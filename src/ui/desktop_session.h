#pragma once
// The desktop program as it starts: the connection settings, the record and its document, the
// main window, every command group acting on it, and a database file named on the command line. The
// program's main runs one; tests run one with scripted answers.
#include "files/connection_settings.h"
#include "model/database_record.h"

#include <QString>

#include <memory>
#include <optional>

class MainWindow;

namespace zx {

class CheckCommand;
class CodeCommands;
class CompareCommand;
class LineOptionCommands;
class ConfigDocument;
class DemoMode;
class EditCommands;
class DeviceLinkController;
class FileCommands;
class FreeNumberCommands;
class HelpCommand;
class Interaction;
class ListFileCommands;
class PrintCommands;
class TransferCommands;

struct DesktopOptions {
    bool demo = false;
    QString configDir;     // empty: the default settings folder
    QString helpDirectory; // where ZENDRAX.HLP lies
    DeviceModel model = DeviceModel::Line4;
    std::optional<int> view; // the view shown at start
    QString file;            // a database file to open, its password asked as by Open
};

class DesktopSession {
  public:
    explicit DesktopSession(Interaction& interaction);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Builds everything and opens the file, if one is named; false with the reason when the
    // demo unit cannot start (a file that is refused is only reported, as Open reports it).
    bool start(const DesktopOptions& options, QString* error);

    MainWindow& window() { return *window_; }
    DeviceLinkController& link() { return *link_; }
    TransferCommands& transfers() { return *transfers_; }
    FileCommands& files() { return *files_; }
    ListFileCommands& lists() { return *lists_; }
    PrintCommands& print() { return *print_; }
    HelpCommand& help() { return *help_; }
    CompareCommand& compare() { return *compare_; }

  private:
    Interaction& interaction_;
    std::unique_ptr<DemoMode> demo_;
    std::unique_ptr<DatabaseRecord> record_;
    std::unique_ptr<ConfigDocument> document_;
    std::unique_ptr<MainWindow> window_;
    // Every command group of the window, made here and nowhere else.
    std::unique_ptr<DeviceLinkController> link_;
    std::unique_ptr<TransferCommands> transfers_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<EditCommands> edits_;
    std::unique_ptr<ListFileCommands> lists_;
    std::unique_ptr<CodeCommands> codes_;
    std::unique_ptr<FreeNumberCommands> freeNumbers_;
    std::unique_ptr<PrintCommands> print_;
    std::unique_ptr<HelpCommand> help_;
    std::unique_ptr<CompareCommand> compare_;
    std::unique_ptr<CheckCommand> check_;
    std::unique_ptr<LineOptionCommands> lineOptions_;
};

} // namespace zx
