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
    const char* shortcut;
};

template <std::size_t N> void addItems(MainMenu& m, QMenu* menu, const Item (&items)[N]) {
    for (const Item& item : items) {
        QAction* action =
            item.member ? menu->addAction(QString::fromUtf8(item.caption)) : menu->addSeparator();
        action->setObjectName(QString::fromUtf8(item.name));
        if (item.shortcut) action->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
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
    {&M::Uj1, "Uj1", "Uj", "Ctrl+N"},
    {&M::Open1, "Open1", "&Megnyitás", "Ctrl+O"},
    {&M::mnuSave, "mnuSave", "M&entés", "Ctrl+S"},
    {&M::SaveAs1, "SaveAs1", "Mentés másként", nullptr},
    {&M::mnuCompare, "mnuCompare", "Összehasonlítás...", nullptr},
    {nullptr, "N1", "-", nullptr},
    {&M::DnLoad1, "DnLoad1", "&Letöltés", "Ctrl+D"},
    {&M::UpLoad1, "UpLoad1", "&Feltöltés", "Ctrl+U"},
    {nullptr, "N3", "-", nullptr},
    {&M::Oldalbellts1, "Oldalbellts1", "Oldalbeállítás...", nullptr},
    {&M::Nyomtats1, "Nyomtats1", "Nyomtatás...", "Ctrl+P"},
    {nullptr, "N2", "-", nullptr},
    {&M::Exit1, "Exit1", "&Kilépés", nullptr},
};
const Item SettingsItems[] = {
    {&M::mnuComport, "mnuComport", "&Com port...", nullptr},
    {&M::Preferencik1, "Preferencik1", "&Preferenciák...", nullptr},
    {nullptr, "N8", "-", nullptr},
    {&M::mnuVerifyUpload, "mnuVerifyUpload", "Feltöltés után ellenőrzés", nullptr},
    {&M::mnuBackupUpload, "mnuBackupUpload", "Feltöltés előtt mentés az egységről", nullptr},
    {&M::mnuBackupFolder, "mnuBackupFolder", "Mentések mappája...", nullptr},
    {&M::mnuTrace, "mnuTrace", "Adatforgalom naplózása...", nullptr},
};
const Item ViewItems[] = {
    {&M::Alap1, "Alap1", "Alap", nullptr},
    {&M::Vonalak1, "Vonalak1", "Vonalak", nullptr},
    {&M::Idztk1, "Idztk1", "Idözítök", nullptr},
    {&M::Szmhosszak1, "Szmhosszak1", "Számhosszak", nullptr},
    {&M::Kdok1, "Kdok1", "Kódok", nullptr},
    {&M::Szmok1, "Szmok1", "Számok", nullptr},
    {&M::mnuBeh, "mnuBeh", "Behívás", nullptr},
    {&M::mnuTerm, "mnuTerm", "Terminál", nullptr},
    {nullptr, "N4", "-", nullptr},
    {&M::Refresh, "Refresh", "&Frissítés", "F5"},
};
const Item CodeItems[] = {
    {&M::SelectAllkod, "SelectAllkod", "Mind kijelöl", "Ctrl+A"},
    {nullptr, "N7", "-", nullptr},
    {&M::Generls1, "Generls1", "Generálás", "Ctrl+G"},
    {&M::Ellenrzs1, "Ellenrzs1", "Ellenörzés", "Ctrl+E"},
    {nullptr, "N5", "-", nullptr},
};
const Item CodeImportItems[] = {
    {&M::ImpText, "ImpText", "<--Txt", nullptr},
    {&M::ImpDat, "ImpDat", "<--PIN.DAT", nullptr},
};
const Item CodeExportItems[] = {
    {&M::xt1, "xt1", "-->Txt", nullptr},
    {&M::PINDAT1, "PINDAT1", "-->PIN.DAT", nullptr},
};
const Item NumberItems[] = {
    {&M::Mindtrl1, "Mindtrl1", "Mind töröl", nullptr},
    {&M::ABCRendezett1, "ABCRendezett1", "ABC Rendezett", nullptr},
    {nullptr, "N6", "-", nullptr},
    {&M::Importszam, "Importszam", "Import <- CALL.TXT", nullptr},
    {&M::Exportszam, "Exportszam", "Export -> CALL.TXT", nullptr},
};
const Item HelpItems[] = {
    {&M::Tartalom1, "Tartalom1", "&Tartalom", nullptr},
};

} // namespace

MainMenu::MainMenu(QMenuBar* bar) : bar_(bar) {
    File1 = addMenu(nullptr, bar, "File1", "&File");
    addItems(*this, File1, FileItems);
    Settings = addMenu(nullptr, bar, "Settings", "&Beállítások");
    addItems(*this, Settings, SettingsItems);
    Nzet1 = addMenu(nullptr, bar, "Nzet1", "&Nézet");
    addItems(*this, Nzet1, ViewItems);
    Kdok2 = addMenu(nullptr, bar, "Kdok2", "&Kódok");
    addItems(*this, Kdok2, CodeItems);
    Importkod = addMenu(Kdok2, bar, "Importkod", "Import");
    addItems(*this, Importkod, CodeImportItems);
    Exportkod = addMenu(Kdok2, bar, "Exportkod", "Export");
    addItems(*this, Exportkod, CodeExportItems);
    Szamok2 = addMenu(nullptr, bar, "Szamok2", "Számok");
    addItems(*this, Szamok2, NumberItems);
    Sg1 = addMenu(nullptr, bar, "Sg1", "&Súgó");
    addItems(*this, Sg1, HelpItems);
    ABCRendezett1->setCheckable(true);
    for (QAction* option : {mnuVerifyUpload, mnuBackupUpload, mnuTrace})
        option->setCheckable(true);
}

std::array<QAction*, MainMenu::ViewCount> MainMenu::viewActions() const {
    return {Alap1, Vonalak1, Idztk1, Szmhosszak1, Kdok1, Szmok1, mnuBeh, mnuTerm};
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
