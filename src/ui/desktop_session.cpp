#include "ui/desktop_session.h"

#include "files/cp1250.h"
#include "files/ini_file.h"
#include "ui/commands/check_command.h"
#include "ui/commands/code_commands.h"
#include "ui/commands/compare_command.h"
#include "ui/commands/device_link_controller.h"
#include "ui/commands/edit_commands.h"
#include "ui/commands/file_commands.h"
#include "ui/commands/free_number_commands.h"
#include "ui/commands/help_command.h"
#include "ui/commands/line_option_commands.h"
#include "ui/commands/list_file_commands.h"
#include "ui/commands/print_commands.h"
#include "ui/commands/transfer_commands.h"
#include "ui/demo_mode.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/terminal/terminal_widget.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/view_helpers.h"

#include <QApplication>
#include <QSessionManager>

#include <algorithm>

namespace zx {

namespace {

// What the print commands read of the window.
PrintSources printSources(MainWindow& w, DeviceLinkController& link) {
    PrintSources s;
    // What is printed is what the window shows: the field being typed in is stored first.
    s.commitEdits = [&w] { return w.commitPendingEdits(); };
    s.page = [&w] { return w.currentView(); };
    s.model = [&w] { return w.document().model(); };
    // The code list is printed as the grid shows it, once the grid has been stored.
    s.codeRows = [&w] {
        w.codesView()->storeGrid();
        return w.codesView()->rows();
    };
    s.codeSelection = [&w] { return w.codesView()->selectedRows(); };
    s.freeNumbers = [&w] {
        QStringList items;
        for (const RawText& entry : w.freeNumbersView()->entries())
            items << fromCp1250(entry);
        return items;
    };
    s.freeNumberSelection = [&w] { return w.freeNumbersView()->selectedEntries(); };
    s.fileName = [&w] { return w.document().currentFileName(); };
    s.site = [&w] { return fromCp1250(w.document().record().text(DatabaseRecord::Slot::Site)); };
    s.owner = [&w] { return fromCp1250(w.document().record().text(DatabaseRecord::Slot::Owner)); };
    s.terminalText = [&link] {
        QStringList lines;
        const TerminalScreen& screen = link.terminal()->screen();
        for (int line = 0; line < screen.lineCount(); ++line)
            lines << screen.lineText(line);
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    };
    s.window = [&w]() -> QWidget* { return &w; };
    s.ended = [&w](const QString& outcome) { w.lineState().showOutcome(outcome); };
    s.pageWidget = [&w] { return w.viewPages->currentWidget(); };
    s.pageName = [&w] {
        return w.viewPages->tabText(w.viewPages->currentIndex()).remove(QLatin1Char('&'));
    };
    return s;
}

} // namespace

DesktopSession::DesktopSession(Interaction& interaction) : interaction_(interaction) {}

DesktopSession::~DesktopSession() {
    lineOptions_.reset();
    check_.reset();
    compare_.reset();
    help_.reset();
    print_.reset();
    freeNumbers_.reset();
    codes_.reset();
    lists_.reset();
    edits_.reset();
    files_.reset();
    transfers_.reset();
    link_.reset();
    // The window and its views go before the document they edit.
    window_.reset();
    document_.reset();
}

bool DesktopSession::start(const DesktopOptions& options, QString* error) {
    // The demo keeps its settings in a folder of its own, so the saved connection stays as it is.
    if (options.demo) {
        demo_ = std::make_unique<DemoMode>();
        if (!demo_->start(error)) return false;
    } else if (!options.configDir.isEmpty()) {
        setConfigDir(options.configDir);
    }
    // The program's settings file, read once for all that starts from it.
    const IniFile settings(programSettingsPath());
    ConnectionState connection;
    readConnectionSettings(connection, settings);
    if (demo_) demo_->apply(connection);

    record_ = std::make_unique<DatabaseRecord>();
    document_ = std::make_unique<ConfigDocument>(*record_);
    // The window starts with the new configuration of the model chosen, without showing the
    // other model's bytes through its map first.
    document_->setModel(options.model);
    window_ = std::make_unique<MainWindow>(*document_, interaction_);
    MainWindow& w = *window_;
    link_ = std::make_unique<DeviceLinkController>(w, connection);
    // Every page that gives the window its size is in place now, the terminal pane included.
    fitToHint(w);
    transfers_ = std::make_unique<TransferCommands>(w, link_->line(), link_->connection(),
                                                    link_->terminalPage(), link_->notices());
    files_ = std::make_unique<FileCommands>(w, link_->connection());
    files_->mayChangeConnection = [link = link_.get()](const ConnectionState& next) {
        return link->mayChangeConnection(next);
    };
    edits_ = std::make_unique<EditCommands>(w);
    lists_ = std::make_unique<ListFileCommands>(w, files_->dialogs());
    codes_ = std::make_unique<CodeCommands>(w);
    freeNumbers_ = std::make_unique<FreeNumberCommands>(w);
    print_ = std::make_unique<PrintCommands>(interaction_, printSources(w, *link_));
    print_->connectActions(w.menu().pageSetup, w.menu().print);
    help_ = std::make_unique<HelpCommand>(w);
    compare_ = std::make_unique<CompareCommand>(w, *transfers_, files_->dialogs());
    check_ = std::make_unique<CheckCommand>(w);
    lineOptions_ = std::make_unique<LineOptionCommands>(w, *transfers_, loadUploadOptions(settings),
                                                        programSettingsPath());
    if (!options.helpDirectory.isEmpty()) help_->setHelpDirectory(options.helpDirectory);
    if (demo_) demo_->markWindow(*window_, *link_);
    // The desktop session ending (the operator logging out) closes the window as its close
    // button does: the value being typed is stored, and unsaved changes are asked about; a
    // cancelled question keeps the session.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, window_.get(),
                     [w = window_.get()](QSessionManager& manager) {
                         if (!manager.allowsInteraction()) return;
                         const bool mayEnd = w->mayClose();
                         manager.release();
                         if (!mayEnd) manager.cancel();
                     });
    if (options.view) window_->showView(*options.view);
    if (!options.file.isEmpty()) files_->openDatabase(options.file);
    return true;
}

} // namespace zx
