#include "ui/main_menu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace zx {

namespace {

struct Item {
    QAction* MainMenu::*member; // none for a separator
    const char* name;
    const char* caption;
    const char* shortcut; // several as "Ctrl+Y; Ctrl+Shift+Z"
};

template <std::size_t N> void addItems(MainMenu& m, QMenu* menu, const Item (&items)[N]) {
    for (const Item& item : items) {
        QAction* action =
            item.member ? menu->addAction(QString::fromUtf8(item.caption)) : menu->addSeparator();
        action->setObjectName(QString::fromUtf8(item.name));
        if (item.shortcut)
            action->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(item.shortcut)));
        if (item.member) m.*item.member = action;
    }
}

QMenu* addMenu(QMenu* parent, QMenuBar* bar, const char* name, const char* caption) {
    QMenu* menu = parent ? parent->addMenu(QString::fromUtf8(caption))
                         : bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    return menu;
}

using M = MainMenu;

const Item FileItems[] = {
    {&M::newConfiguration, "Uj1", "Uj", "Ctrl+N"},
    {&M::openFile, "Open1", "&Megnyitás", "Ctrl+O"},
    {&M::saveFile, "mnuSave", "M&entés", "Ctrl+S"},
    {&M::saveFileAs, "SaveAs1", "Mentés másként", nullptr},
    {&M::compareConfigurations, "mnuCompare", "Összehasonlítás...", nullptr},
    {&M::checkConfiguration, "mnuCheck", "Ellenőrzés", "F7"},
    {nullptr, "N1", "-", nullptr},
    {&M::download, "DnLoad1", "&Letöltés", "Ctrl+D"},
    {&M::upload, "UpLoad1", "&Feltöltés", "Ctrl+U"},
    {nullptr, "N3", "-", nullptr},
    {&M::pageSetup, "Oldalbellts1", "Oldalbeállítás...", nullptr},
    {&M::print, "Nyomtats1", "Nyomtatás...", "Ctrl+P"},
    {nullptr, "N2", "-", nullptr},
    {&M::exitProgram, "Exit1", "&Kilépés", nullptr},
};
const Item EditItems[] = {
    {&M::undo, "mnuUndo", "&Visszavonás", "Ctrl+Z"},
    {&M::redo, "mnuRedo", "&Mégis", "Ctrl+Y; Ctrl+Shift+Z"},
};
const Item SettingsItems[] = {
    {&M::portSettings, "mnuComport", "&Com port...", nullptr},
    {&M::preferences, "Preferencik1", "&Preferenciák...", nullptr},
    {nullptr, "N8", "-", nullptr},
    {&M::verifyAfterUpload, "mnuVerifyUpload", "Feltöltés után ellenőrzés", nullptr},
    {&M::backupBeforeUpload, "mnuBackupUpload", "Feltöltés előtt mentés az egységről", nullptr},
    {&M::chooseBackupFolder, "mnuBackupFolder", "Mentések mappája...", nullptr},
    {&M::traceTraffic, "mnuTrace", "Adatforgalom naplózása...", nullptr},
};
const Item ViewItems[] = {
    {&M::showBasicView, "Alap1", "Alap", nullptr},
    {&M::showLinesView, "Vonalak1", "Vonalak", nullptr},
    {&M::showTimersView, "Idztk1", "Idözítök", nullptr},
    {&M::showNumbersView, "Szmhosszak1", "Számhosszak", nullptr},
    {&M::showCodesView, "Kdok1", "Kódok", nullptr},
    {&M::showFreeNumbersView, "Szmok1", "Számok", nullptr},
    {&M::showCallInView, "mnuBeh", "Behívás", nullptr},
    {&M::showTerminalView, "mnuTerm", "Terminál", nullptr},
    {nullptr, "N4", "-", nullptr},
    {&M::refreshViews, "Refresh", "&Frissítés", "F5"},
};
const Item CodeItems[] = {
    {&M::selectAllCodes, "SelectAllkod", "Mind kijelöl", "Ctrl+A"},
    {nullptr, "N7", "-", nullptr},
    {&M::generateCodes, "Generls1", "Generálás", "Ctrl+G"},
    {&M::checkCodes, "Ellenrzs1", "Ellenörzés", "Ctrl+E"},
    {nullptr, "N5", "-", nullptr},
};
const Item CodeImportItems[] = {
    {&M::importCodesFromText, "ImpText", "<--Txt", nullptr},
    {&M::importCodesFromPinDat, "ImpDat", "<--PIN.DAT", nullptr},
};
const Item CodeExportItems[] = {
    {&M::exportCodesAsText, "xt1", "-->Txt", nullptr},
    {&M::exportCodesAsPinDat, "PINDAT1", "-->PIN.DAT", nullptr},
};
const Item NumberItems[] = {
    {&M::deleteAllFreeNumbers, "Mindtrl1", "Mind töröl", nullptr},
    {&M::sortFreeNumbers, "ABCRendezett1", "ABC Rendezett", nullptr},
    {nullptr, "N6", "-", nullptr},
    {&M::importFreeNumbers, "Importszam", "Import <- CALL.TXT", nullptr},
    {&M::exportFreeNumbers, "Exportszam", "Export -> CALL.TXT", nullptr},
};
const Item HelpItems[] = {
    {&M::helpContents, "Tartalom1", "&Tartalom", nullptr},
};

} // namespace

MainMenu::MainMenu(QMenuBar* bar) : bar_(bar) {
    fileMenu = addMenu(nullptr, bar, "File1", "&File");
    addItems(*this, fileMenu, FileItems);
    editMenu = addMenu(nullptr, bar, "mnuEdit", "&Szerkesztés");
    addItems(*this, editMenu, EditItems);
    settingsMenu = addMenu(nullptr, bar, "Settings", "&Beállítások");
    addItems(*this, settingsMenu, SettingsItems);
    viewMenu = addMenu(nullptr, bar, "Nzet1", "&Nézet");
    addItems(*this, viewMenu, ViewItems);
    codesMenu = addMenu(nullptr, bar, "Kdok2", "&Kódok");
    addItems(*this, codesMenu, CodeItems);
    codeImportMenu = addMenu(codesMenu, bar, "Importkod", "Import");
    addItems(*this, codeImportMenu, CodeImportItems);
    codeExportMenu = addMenu(codesMenu, bar, "Exportkod", "Export");
    addItems(*this, codeExportMenu, CodeExportItems);
    numbersMenu = addMenu(nullptr, bar, "Szamok2", "S&zámok");
    addItems(*this, numbersMenu, NumberItems);
    helpMenu = addMenu(nullptr, bar, "Sg1", "&Súgó");
    addItems(*this, helpMenu, HelpItems);
    sortFreeNumbers->setCheckable(true);
    for (QAction* option : {verifyAfterUpload, backupBeforeUpload, traceTraffic})
        option->setCheckable(true);
}

std::array<QAction*, MainMenu::ViewCount> MainMenu::viewActions() const {
    return {showBasicView, showLinesView,       showTimersView, showNumbersView,
            showCodesView, showFreeNumbersView, showCallInView, showTerminalView};
}

namespace {

QAction* enabledCommandFor(const QMenuBar* bar, QKeyCombination key) {
    const QKeySequence pressed(key);
    for (QAction* action : bar->findChildren<QAction*>()) {
        if (!action->isEnabled()) continue;
        for (const QKeySequence& shortcut : action->shortcuts())
            if (shortcut == pressed) return action;
    }
    return nullptr;
}

// Lives as long as the menu bar it reads.
class ShortcutsFirst : public QObject {
  public:
    ShortcutsFirst(QMenuBar* bar, QWidget* window) : QObject(bar), bar_(bar), window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType() ||
            static_cast<QWidget*>(watched)->window() != window_)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == 0 || key->key() == Qt::Key_unknown) return false;
        if (!enabledCommandFor(
                bar_, QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key()))))
            return false;
        // Not accepted: the window's shortcut map runs the command.
        event->ignore();
        return true;
    }

  private:
    QMenuBar* bar_;
    QWidget* window_;
};

} // namespace

void MainMenu::takeShortcutsFirstIn(QWidget* window) {
    qApp->installEventFilter(new ShortcutsFirst(bar_, window));
}

void setMenuEnabled(QMenu* menu, bool enabled) {
    menu->menuAction()->setEnabled(enabled);
    for (QAction* action : menu->actions()) {
        action->setEnabled(enabled);
        if (action->menu()) setMenuEnabled(action->menu(), enabled);
    }
}

} // namespace zx
