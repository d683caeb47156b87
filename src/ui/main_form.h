#pragma once
// The main window: the frame around the configuration. It holds the page control with the eight
// views, the menu bar, the model box and the status bar, and wires the views and the command
// groups to the one document. The views own their widgets and editors; the command groups own
// their commands.
#include "link/protocol.h"
#include "ui/config_document.h"
#include "ui/main_menu.h"
#include "ui/status_bar.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QKeyEvent;
class QTabWidget;

namespace zx {
class BasicView;
class CallInView;
class CodeCommands;
class CodesView;
class ConfigView;
class FreeNumberCommands;
class FreeNumbersView;
class HelpViewer;
class Interaction;
class LinesView;
class NumbersView;
class TerminalView;
class TimersView;
} // namespace zx

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int ViewCount = zx::MainMenu::ViewCount;
    using Panel = zx::StatusPanels::Panel;
    // The help file, looked for beside the program.
    static constexpr const char* HelpFileName = "ZENDRAX.HLP";

    // The document outlives the window: every view and command refers to it until the last of
    // them is gone.
    TMainForm(zx::ConfigDocument& document, zx::Interaction& interaction,
              QWidget* parent = nullptr);
    // Ends the document's editing first, so that no store fired by the teardown reaches it.
    ~TMainForm() override;

    zx::ConfigDocument& document() { return document_; }
    zx::Interaction& interaction() { return interaction_; }
    zx::MainMenu& menu() { return *menu_; }

    zx::BasicView* basicView() const { return basic_; }
    zx::LinesView* linesView() const { return lines_; }
    zx::TimersView* timersView() const { return timers_; }
    zx::NumbersView* numbersView() const { return numbers_; }
    zx::CodesView* codesView() const { return codes_; }
    zx::FreeNumbersView* freeNumbersView() const { return free_; }
    zx::CallInView* callInView() const { return callIn_; }
    zx::TerminalView* terminalView() const { return terminal_; }
    zx::CodeCommands& codeCommands() { return *codeCommands_; }
    zx::FreeNumberCommands& freeNumberCommands() { return *freeNumberCommands_; }

    // The model box's item: the model every part of the program works with.
    zx::DeviceModel currentModel() const;
    void setModelBoxEnabled(bool enabled);
    // Installs the map of the model box's model and lays the views out for it. The image is not
    // touched and the editors are not refilled: the download's model check calls this and refills
    // after the transfer. A change made by the operator in the model box refills at once.
    void modelSwitch();
    // What a choice in the model box does: the commit step, the switch, then the refill; the
    // untouched new configuration becomes the new configuration of the model chosen.
    void chooseModel(zx::DeviceModel model);
    // The defaults of the current model into the record, then the refill.
    void newConfiguration();
    // Fills every view from the image through the current model's map.
    void refill();
    // The refresh command: the refill, with nothing stored first.
    void refresh() { refill(); }

    void setStatusText(int panel, const QString& text) { panels_->setText(panel, text); }
    QString statusText(int panel) const { return panels_->text(panel); }
    int statusPanelWidth(int panel) const { return panels_->width(panel); }
    zx::StatusPanels& statusPanels() { return *panels_; }

    int currentView() const;
    // Shows a view the way the view menu does; leaving the free-number view stores its list.
    void showView(int index);
    // Grows the window (within the screen) until every view has the room it asks for, and
    // centres it again: the terminal pane wants all its 24 rows.
    void fitToViews();
    // The image offset a numeric edit of any view stores at (none while unbound).
    std::optional<int> boundOffset(const QWidget* edit) const;

    // The commit step every command that reads, sends or replaces the configuration runs first:
    // the field being edited, the code grid's open cell and the working copies are stored. False
    // when a value was refused; the command must then stop.
    bool commitPendingEdits() { return document_.commitPendingEdits(); }

    // Asks "Menti a változásokat ?" when the modified flag is set. True when the command may go
    // on: nothing to save, No, or Yes and the file was written. False on Cancel, and on Yes when
    // the save's file dialog was cancelled or the write failed: nothing unsaved is thrown away.
    bool askSaveChanges();

    // Save of the database file; true when the file was written. Without a handler Yes saves
    // nothing.
    void setSaveHandler(std::function<bool()> handler) { saveHandler_ = std::move(handler); }
    // Writes port and speed to the program's settings on every close that is not cancelled.
    void setSaveConnectionSettingsHandler(std::function<void()> handler) {
        saveConnectionSettingsHandler_ = std::move(handler);
    }
    // While it gives a reason (a transfer is running) the window refuses to close and shows the
    // reason in the status bar: the transfer pumps the event queue, and a close then would pull
    // the window from under it.
    void setCloseBlocker(std::function<QString()> blocker) { closeBlocker_ = std::move(blocker); }
    // Runs a transfer request when the event loop delivers it.
    void setTransferHandler(std::function<void(zx::TransferDirection)> handler) {
        transferHandler_ = std::move(handler);
    }
    // Queues a transfer request to this window; it runs after the posting command has returned
    // and the window has been redrawn. A value that is neither direction is ignored on delivery.
    void postTransferRequest(zx::TransferDirection direction);

    void setHelpDirectory(const QString& directory) { helpDirectory_ = directory; }
    QString helpFilePath() const;
    // Opens the help file at its contents; a missing file is reported, nothing else changes.
    void showHelpContents();
    zx::HelpViewer* helpViewer() const { return helpViewer_; }

    // The frame's controls, under their documented names (also their objectNames).
    QTabWidget* PageControl1 = nullptr;
    QWidget* pnlBott = nullptr;
    QComboBox* cbTipus = nullptr;
    QStatusBar* SBar = nullptr;

    // Whether the window may close now: no transfer running, the commit step accepted, and the
    // closing question not cancelled. Writes the connection settings when it may.
    bool mayClose();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    // The window's shortcuts win over the same keys of the text fields and the grid's editor.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void viewChanged(int index);
    void modelBoxChanged();

    // The enabled menu command the key runs, if any.
    QAction* commandForKey(const QKeyEvent& key) const;

    zx::ConfigDocument& document_;
    zx::Interaction& interaction_;
    std::unique_ptr<zx::MainMenu> menu_;
    std::unique_ptr<zx::StatusPanels> panels_;
    std::unique_ptr<zx::CodeCommands> codeCommands_;
    std::unique_ptr<zx::FreeNumberCommands> freeNumberCommands_;
    zx::BasicView* basic_;
    zx::LinesView* lines_;
    zx::TimersView* timers_;
    zx::NumbersView* numbers_;
    zx::CodesView* codes_;
    zx::FreeNumbersView* free_;
    zx::CallInView* callIn_;
    zx::TerminalView* terminal_;
    // The seven views of the configuration, in page order.
    std::array<zx::ConfigView*, 7> configViews_{};
    QString helpDirectory_;
    zx::HelpViewer* helpViewer_ = nullptr;
    std::function<bool()> saveHandler_;
    std::function<void()> saveConnectionSettingsHandler_;
    std::function<void(zx::TransferDirection)> transferHandler_;
    std::function<QString()> closeBlocker_;
};
