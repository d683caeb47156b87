#pragma once
// The main window: eight views of the configuration image, the menu bar, the model box and the
// four-panel status bar. The window owns the modified flag and the model switch; the image lives
// in the one DatabaseRecord it is given, and every editor is filled from that image by refill().
#include "model/database_record.h"
#include "model/editor_view.h"
#include "model/memory_map.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace zx {
class CodeGrid;
class HelpViewer;
class Interaction;
class PathPanel;
class RadioGroup;
} // namespace zx

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int ViewCount = 8;
    static constexpr int LineCount = 16;
    enum StatusPanel { PanelFile = 0, PanelCodes = 1, PanelConnection = 2, PanelState = 3 };
    static constexpr int PanelCount = 4;
    // The help file, looked for beside the program.
    static constexpr const char* HelpFileName = "ZENDRAX.HLP";

    TMainForm(zx::DatabaseRecord& record, zx::Interaction& interaction, QWidget* parent = nullptr);
    ~TMainForm() override;

    zx::DatabaseRecord& record() { return record_; }
    zx::Interaction& interaction() { return interaction_; }

    // Changes of the image (or of the code grid and free-number list) not yet saved.
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // The model box's item: the model every part of the program works with.
    zx::DeviceModel currentModel() const;
    void setModelBoxEnabled(bool enabled);
    // The map installed by the last model switch; every editor stores through it.
    const zx::MemoryMap& memoryMap() const { return zx::MemoryMap::of(mapModel_); }
    // Installs the map of the model box's model and lays the views out for it. The image is not
    // touched and the editors are not refilled: the download's model check calls this and refills
    // after the transfer. A change made by the operator in the model box refills at once.
    void modelSwitch();
    // What a choice in the model box does: the switch, then the refill.
    void chooseModel(zx::DeviceModel model);
    // The defaults of the current model into the record, then the refill.
    void newConfiguration();
    // Fills every editor from the image through the current model's map.
    void refill();
    // The refresh command: the refill, with nothing stored first.
    void refresh() { refill(); }

    void setStatusText(int panel, const QString& text);
    QString statusText(int panel) const;
    int statusPanelWidth(int panel) const;
    void setConnectionPanelText(const QString& text);

    QString currentFileName() const { return currentFileName_; }
    void setCurrentFileName(const QString& name) { currentFileName_ = name; }

    int currentView() const;
    // Shows a view the way the view menu does; leaving the free-number view stores its list.
    void showView(int index);

    // The image offset the last refill gave a numeric edit (the byte-range check stores there).
    // None after a model switch until the next refill, so no edit stores at an offset of the
    // previous model.
    static std::optional<int> boundOffset(const QWidget* edit);

    // Writes the free-number list into the image as it stands.
    void StoreFreeNumbers();

    // Asks "Menti a változásokat ?" when the modified flag is set. True when the command may go
    // on: nothing to save, No, or Yes and the save did not fail. False on Cancel or a failed save.
    bool askSaveChanges();

    // Save of the database file; returns false when it failed (an operator who cancels the
    // file dialog has not made it fail). Without a handler Yes saves nothing.
    void setSaveHandler(std::function<bool()> handler) { saveHandler_ = std::move(handler); }
    // Writes port and speed to the program's settings on every close that is not cancelled.
    void setSaveConnectionSettingsHandler(std::function<void()> handler) {
        saveConnectionSettingsHandler_ = std::move(handler);
    }
    // While it answers true (a transfer is running) the window refuses to close: the transfer
    // pumps the event queue, and a close then would pull the window from under it.
    void setCloseBlocker(std::function<bool()> blocker) { closeBlocker_ = std::move(blocker); }
    // Runs a transfer request (0 download, 1 upload) when the event loop delivers it.
    void setTransferHandler(std::function<void(int)> handler) {
        transferHandler_ = std::move(handler);
    }
    // Queues a transfer request to this window; it runs after the posting command has returned
    // and the window has been redrawn. Other directions are ignored on delivery.
    void postTransferRequest(int direction);

    void setHelpDirectory(const QString& directory) { helpDirectory_ = directory; }
    QString helpFilePath() const;
    // Opens the help file at its contents; a missing file is reported, nothing else changes.
    void showHelpContents();
    zx::HelpViewer* helpViewer() const { return helpViewer_; }

    // Puts the real terminal pane where the placeholder stands.
    void setTerminalWidget(QWidget* terminal);

    // Controls, under the names the operator's documentation uses (also their objectNames).
    QTabWidget* PageControl1 = nullptr;
    QWidget* pnlBott = nullptr;
    QComboBox* cbTipus = nullptr;
    QStatusBar* SBar = nullptr;
    QMenu* Kdok2 = nullptr;
    QMenu* Szamok2 = nullptr;

    zx::RadioGroup *RGspeed = nullptr, *RGbit = nullptr, *RGmod = nullptr, *RG20h = nullptr;
    QLineEdit *MEcopos = nullptr, *MEcallpos = nullptr, *MErzk = nullptr, *MEszamz = nullptr;
    QComboBox* CBcokar = nullptr;
    QLabel* lblSzamz = nullptr;
    QCheckBox *chkPinEna = nullptr, *chkDSTena = nullptr;

    struct LineRow {
        QWidget* panel = nullptr; // pnlCOnn
        QLabel* port = nullptr;   // lblPortnn
        QLineEdit* co = nullptr;  // MEconn
        zx::RadioGroup *dial = nullptr, *seizure = nullptr, *timer = nullptr;
        QCheckBox *subLine = nullptr, *callIn = nullptr;
    };
    std::array<LineRow, LineCount> lines;

    QLineEdit *MEibe = nullptr, *MEibo = nullptr, *MEintd = nullptr;
    QLineEdit *ME1t1 = nullptr, *ME2t1 = nullptr, *MEcol1 = nullptr, *MEcor1 = nullptr;
    QLineEdit *ME1t2 = nullptr, *ME2t2 = nullptr, *MEcol2 = nullptr, *MEcor2 = nullptr;
    QLineEdit* edLI = nullptr;
    QLabel *lblido2 = nullptr, *lblDeltaLI = nullptr;

    QLineEdit *MEloclen = nullptr, *MEnatlen = nullptr;
    QListWidget* lbKiv = nullptr;
    QLineEdit *edKivSzam = nullptr, *edKivHossz = nullptr;
    QPushButton *btnKivEdit = nullptr, *btnKivDel = nullptr;
    QWidget* pnlPref = nullptr;
    std::array<QLineEdit*, 4> edMP{};
    std::array<QLineEdit*, 2> edIP{};

    zx::CodeGrid* StringGrid1 = nullptr;

    QLabel *Label34 = nullptr, *Label50 = nullptr;
    QListWidget* lbFreeCall = nullptr;
    QLineEdit* MEfreecall = nullptr;
    QPushButton *BTNfreejav = nullptr, *BTNujszam1 = nullptr, *BTNfreedel = nullptr;

    QLineEdit *edBehiv = nullptr, *edGW = nullptr;
    QCheckBox *chkIntGW = nullptr, *chkNatGW = nullptr;
    QListWidget* lbGW = nullptr;
    QLabel *lblNoGW = nullptr, *lblKorz = nullptr;
    QPushButton *btnGWAdd = nullptr, *btnGWDel = nullptr;

    QPushButton *btnConnect = nullptr, *btnTransp = nullptr, *btnSync = nullptr, *btnDial = nullptr;
    QLineEdit* edPhone = nullptr;
    QWidget* ComTerminal1 = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void buildMenus();
    void buildStatusBar();
    QWidget* buildBasicView();
    QWidget* buildLinesView();
    QWidget* buildTimersView();
    QWidget* buildNumbersView();
    QWidget* buildCodesView();
    QWidget* buildFreeView();
    QWidget* buildCallInView();
    QWidget* buildTerminalView();

    void layoutBasicView(zx::DeviceModel model);
    void layoutLinesView(zx::DeviceModel model);
    void layoutTimersView(zx::DeviceModel model);
    void layoutNumbersView(zx::DeviceModel model);

    void refillBasicView(const zx::EditorView& v);
    void refillLinesView(const zx::EditorView& v);
    void refillTimersView(const zx::EditorView& v);
    void refillNumbersView(const zx::EditorView& v);
    void refillCodesView(const zx::EditorView& v);
    void refillFreeView(const zx::EditorView& v);
    void refillCallInView(const zx::EditorView& v);

    // Texts that the exception list draws for entry row: area code and length.
    std::pair<QString, QString> exceptionTexts(int row) const;
    // Gives a numeric edit the image offset of the field it shows, or none.
    void bindOffset(QWidget* edit, zx::Field field, int add = 0);

    void viewChanged(int index);
    void modelBoxChanged();

    zx::DatabaseRecord& record_;
    zx::Interaction& interaction_;
    zx::DeviceModel mapModel_ = zx::DeviceModel::Line4;
    bool modified_ = false;
    QString currentFileName_;
    QString helpDirectory_;
    zx::HelpViewer* helpViewer_ = nullptr;
    zx::PathPanel* filePanel_ = nullptr;
    std::array<QLabel*, PanelCount> panels_{};
    QVBoxLayout* terminalLayout_ = nullptr;
    std::function<bool()> saveHandler_;
    std::function<void()> saveConnectionSettingsHandler_;
    std::function<void(int)> transferHandler_;
    std::function<bool()> closeBlocker_;
};
