#pragma once
// The main window's menu bar: every command as a typed member, under the names the operator's
// documentation uses (also their objectNames). The command groups connect to these members.
#include "ui/views/page_order.h"

#include <array>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace zx {

struct MainMenu {
    static constexpr int ViewCount = PageOrder::Count;

    // Builds every menu and command into the bar.
    explicit MainMenu(QMenuBar* bar);

    QMenu *fileMenu, *editMenu, *settingsMenu, *viewMenu, *codesMenu, *codeImportMenu,
        *codeExportMenu, *numbersMenu, *helpMenu;

    QAction *newConfiguration, *openFile, *saveFile, *saveFileAs, *download, *upload, *pageSetup,
        *print, *exitProgram;
    QAction *compareConfigurations, *checkConfiguration;
    QAction *undo, *redo;
    QAction *portSettings, *preferences;
    QAction *verifyAfterUpload, *backupBeforeUpload, *chooseBackupFolder, *traceTraffic;
    QAction *showBasicView, *showLinesView, *showTimersView, *showNumbersView, *showCodesView,
        *showFreeNumbersView, *showCallInView, *showTerminalView, *refreshViews;
    QAction *selectAllCodes, *generateCodes, *checkCodes, *importCodesFromText,
        *importCodesFromPinDat, *exportCodesAsText, *exportCodesAsPinDat;
    QAction *deleteAllFreeNumbers, *sortFreeNumbers, *importFreeNumbers, *exportFreeNumbers;
    QAction* helpContents;

    // The view commands in page order.
    std::array<QAction*, ViewCount> viewActions() const;

    // The menu's shortcuts reach their commands from every control of the window: a text field
    // takes some Ctrl keys for itself (Ctrl+U erases the line, Ctrl+E goes to its end) before the
    // window's shortcuts are looked at, and such a key now runs the command while the field hears
    // nothing of it and keeps its text.
    void takeShortcutsFirstIn(QWidget* window);

  private:
    QMenuBar* bar_;
};

// A disabled menu also silences the shortcuts of its commands.
void setMenuEnabled(QMenu* menu, bool enabled);

} // namespace zx
