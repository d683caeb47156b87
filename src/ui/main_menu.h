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

    QMenu *File1, *Settings, *Nzet1, *Kdok2, *Importkod, *Exportkod, *Szamok2, *Sg1;

    QAction *Uj1, *Open1, *mnuSave, *SaveAs1, *DnLoad1, *UpLoad1, *Oldalbellts1, *Nyomtats1, *Exit1;
    QAction* mnuCompare;
    QAction *mnuComport, *Preferencik1;
    QAction *mnuVerifyUpload, *mnuBackupUpload, *mnuBackupFolder, *mnuTrace;
    QAction *Alap1, *Vonalak1, *Idztk1, *Szmhosszak1, *Kdok1, *Szmok1, *mnuBeh, *mnuTerm, *Refresh;
    QAction *SelectAllkod, *Generls1, *Ellenrzs1, *ImpText, *ImpDat, *xt1, *PINDAT1;
    QAction *Mindtrl1, *ABCRendezett1, *Importszam, *Exportszam;
    QAction* Tartalom1;

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
