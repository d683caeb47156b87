#pragma once
// The main window: the frame around the configuration. It holds the page control with the eight
// views, the menu bar, the model box and the status bar, and shows the one document through the
// views. The command groups act on it from outside (the desktop session makes them); what it
// leaves to them it tells through its signals.
#include "ui/config_document.h"
#include "ui/main_menu.h"
#include "ui/status_bar.h"
#include "ui/views/view_pages.h"

#include <QComboBox>
#include <QMainWindow>

#include <functional>
#include <memory>

namespace zx {
class BusyMode;
}

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int ViewCount = zx::ViewPages::Count;
    using Panel = zx::StatusPanels::Panel;

    // The document outlives the window: every view refers to it until the last of them is gone.
    MainWindow(zx::ConfigDocument& document, zx::Interaction& interaction,
               QWidget* parent = nullptr);
    // Ends the document's editing first, so that no store fired by the teardown reaches it.
    ~MainWindow() override;

    zx::ConfigDocument& document() { return document_; }
    zx::Interaction& interaction() { return interaction_; }
    zx::MainMenu& menu() { return *menu_; }

    zx::BasicView* basicView() const { return viewPages->basic(); }
    zx::LinesView* linesView() const { return viewPages->lines(); }
    zx::TimersView* timersView() const { return viewPages->timers(); }
    zx::NumbersView* numbersView() const { return viewPages->numbers(); }
    zx::CodesView* codesView() const { return viewPages->codes(); }
    zx::FreeNumbersView* freeNumbersView() const { return viewPages->freeNumbers(); }
    zx::CallInView* callInView() const { return viewPages->callIn(); }
    zx::TerminalView* terminalView() const { return viewPages->terminal(); }

    // The model box's item: the model every part of the program works with.
    zx::DeviceModel currentModel() const;
    void setModelBoxEnabled(bool enabled) { modelBox->setEnabled(enabled); }
    // Installs the map of the model box's model and lays the views out for it. The image is not
    // touched and the editors are not refilled: the download's model check calls this and refills
    // after the transfer. A change made by the operator in the model box refills at once.
    void modelSwitch();
    // The model box shows `model` and the switch follows, without a refill.
    void showModel(zx::DeviceModel model);
    // What a choice in the model box does: the commit step, the switch, then the refill; the
    // untouched new configuration becomes the new configuration of the model chosen.
    void chooseModel(zx::DeviceModel model);
    // The defaults of the current model into the record, then the refill.
    void newConfiguration();
    // Fills every view from the image through the current model's map (also the refresh
    // command, which stores nothing first).
    void refill();

    void setStatusText(int panel, const QString& text) { panels_->setText(panel, text); }
    zx::StatusPanels& statusPanels() { return *panels_; }
    zx::LineStatePanel& lineState() { return *lineState_; }

    int currentView() const { return viewPages->currentIndex(); }
    // Shows a view the way the view menu does; leaving the free-number view stores its list.
    void showView(int index);

    // The commit step every command that reads, sends or replaces the configuration runs first:
    // the field being edited, the code grid's open cell and the working copies are stored. False
    // when a value was refused; the command must then stop.
    bool commitPendingEdits() { return document_.commitPendingEdits(); }

    // Asks "Menti a változásokat ?" when the modified flag is set. True when the command may go
    // on: nothing to save, No, or Yes and the save left nothing unsaved. False on Cancel, and on
    // Yes when the save did not happen (its dialog was cancelled, the write failed): nothing
    // unsaved is thrown away.
    bool askSaveChanges();

    // Busy mode (BusyMode), while an operation owns the line: every menu command but "&Kilépés"
    // and the help disabled, the pages and the model box too, the busy cursor on.
    void setBusy(bool busy);
    bool isBusy() const;
    // Asked when the window is to close in busy mode: true when the operation has ended and the
    // window may go on closing; false keeps it open and the operation running.
    std::function<bool()> closeWhileBusy;
    // Whether the window may close now: no operation running (or it ended on request), the
    // commit step accepted, and the closing question not cancelled. Tells `closing` when it may.
    bool mayClose();

    // The frame's controls, under their documented names (also their objectNames).
    zx::ViewPages* viewPages = nullptr;
    QWidget* modelPanel = nullptr;
    QComboBox* modelBox = nullptr;
    QStatusBar* statusBarWidget = nullptr;

  signals:
    // Yes to the save question: the database file is to be saved now.
    void saveRequested();
    // The window closes (the question, if any, answered Yes or No): the connection is to be
    // remembered.
    void closing();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void viewChanged(int index);
    void modelBoxChanged();

    zx::ConfigDocument& document_;
    zx::Interaction& interaction_;
    std::unique_ptr<zx::MainMenu> menu_;
    std::unique_ptr<zx::StatusPanels> panels_;
    std::unique_ptr<zx::LineStatePanel> lineState_;
    std::unique_ptr<zx::BusyMode> busy_;
};
