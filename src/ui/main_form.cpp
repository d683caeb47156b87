#include "ui/main_form.h"

#include "model/new_configuration.h"
#include "ui/code_grid.h"
#include "ui/help_viewer.h"
#include "ui/interaction.h"
#include "ui/radio_group.h"
#include "ui/view_helpers.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char* const OffsetProperty = "imageOffset";

// A transfer request posted to the window's own event queue.
class TransferRequestEvent : public QEvent {
  public:
    explicit TransferRequestEvent(int direction) : QEvent(eventType()), direction(direction) {}
    static QEvent::Type eventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    const int direction;
};

struct MenuItem {
    const char* name;
    const char* caption; // "-" for a separator
    const char* shortcut;
};

const MenuItem FileItems[] = {
    {"Uj1", "Uj", "Ctrl+N"},
    {"Open1", "&Megnyitás", "Ctrl+O"},
    {"mnuSave", "M&entés", "Ctrl+S"},
    {"SaveAs1", "Mentés másként", nullptr},
    {"N1", "-", nullptr},
    {"DnLoad1", "&Letöltés", "Ctrl+D"},
    {"UpLoad1", "&Feltöltés", "Ctrl+U"},
    {"N3", "-", nullptr},
    {"Oldalbellts1", "Oldalbeállítás...", nullptr},
    {"Nyomtats1", "Nyomtatás...", "Ctrl+P"},
    {"N2", "-", nullptr},
    {"Exit1", "&Kilépés", nullptr},
};
const MenuItem SettingsItems[] = {
    {"mnuComport", "&Com port...", nullptr},
    {"Preferencik1", "&Preferenciák...", nullptr},
};
// The first eight carry the index of the view they show.
const MenuItem ViewItems[] = {
    {"Alap1", "Alap", nullptr},
    {"Vonalak1", "Vonalak", nullptr},
    {"Idztk1", "Idözítök", nullptr},
    {"Szmhosszak1", "Számhosszak", nullptr},
    {"Kdok1", "Kódok", nullptr},
    {"Szmok1", "Számok", nullptr},
    {"mnuBeh", "Behívás", nullptr},
    {"mnuTerm", "Terminál", nullptr},
    {"N4", "-", nullptr},
    {"Refresh", "&Frissítés", "F5"},
};
const MenuItem CodeItems[] = {
    {"SelectAllkod", "Mind kijelöl", "Ctrl+A"},
    {"N7", "-", nullptr},
    {"Generls1", "Generálás", "Ctrl+G"},
    {"Ellenrzs1", "Ellenörzés", "Ctrl+E"},
    {"N5", "-", nullptr},
};
const MenuItem CodeImportItems[] = {
    {"ImpText", "<--Txt", nullptr},
    {"ImpDat", "<--PIN.DAT", nullptr},
};
const MenuItem CodeExportItems[] = {
    {"xt1", "-->Txt", nullptr},
    {"PINDAT1", "-->PIN.DAT", nullptr},
};
const MenuItem NumberItems[] = {
    {"Mindtrl1", "Mind töröl", nullptr},
    {"ABCRendezett1", "ABC Rendezett", nullptr},
    {"N6", "-", nullptr},
    {"Importszam", "Import <- CALL.TXT", nullptr},
    {"Exportszam", "Export -> CALL.TXT", nullptr},
};
const MenuItem HelpItems[] = {
    {"Tartalom1", "&Tartalom", nullptr},
};

struct ViewSheet {
    const char* name;
    const char* caption;
};
const ViewSheet ViewSheets[TMainForm::ViewCount] = {
    {"TabSheet1", "&Alap"},        {"TabSheet2", "&Vonalak"},  {"TabSheet3", "I&dőzítők"},
    {"TabSheet4", "Szám&hosszak"}, {"TabSheet5", "&Kódok"},    {"TabSheet6", "&Számok"},
    {"TabSheet7", "&Behívás"},     {"TabSheet8", "&Terminál"},
};

template <std::size_t N> void addItems(QMenu* menu, const MenuItem (&items)[N]) {
    for (const MenuItem& item : items) {
        QAction* action = QString::fromUtf8(item.caption) == QLatin1String("-")
                              ? menu->addSeparator()
                              : menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromUtf8(item.name));
        if (item.shortcut) action->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
    }
}

QMenu* addMenu(QMenuBar* bar, const char* name, const char* caption) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(name));
    return menu;
}

// A disabled menu also silences the shortcuts of its commands.
void setMenuEnabled(QMenu* menu, bool enabled) {
    menu->menuAction()->setEnabled(enabled);
    for (QAction* action : menu->actions()) {
        action->setEnabled(enabled);
        if (action->menu()) setMenuEnabled(action->menu(), enabled);
    }
}

} // namespace

TMainForm::TMainForm(zx::DatabaseRecord& record, zx::Interaction& interaction, QWidget* parent)
    : QMainWindow(parent), record_(record), interaction_(interaction),
      helpDirectory_(QCoreApplication::applicationDirPath()) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zendrax (Vardo-4 V2.39; Vardo-16 V4.29)"));

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 0);
    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl"));
    // A braced list is evaluated in order, so the views are built in page order.
    QWidget* const sheets[ViewCount] = {
        buildBasicView(), buildLinesView(), buildTimersView(), buildNumbersView(),
        buildCodesView(), buildFreeView(),  buildCallInView(), buildTerminalView(),
    };
    for (int i = 0; i < ViewCount; ++i) {
        sheets[i]->setObjectName(QString::fromUtf8(ViewSheets[i].name));
        PageControl1->addTab(sheets[i], QString::fromUtf8(ViewSheets[i].caption));
    }
    column->addWidget(PageControl1, 1);

    pnlBott = new QWidget(central);
    pnlBott->setObjectName(QStringLiteral("pnlBott"));
    auto* bottom = new QHBoxLayout(pnlBott);
    bottom->setContentsMargins(0, 2, 0, 2);
    auto* typeLabel = new QLabel(QString::fromUtf8("Típus:"), pnlBott);
    typeLabel->setObjectName(QStringLiteral("lblTipus"));
    cbTipus = new QComboBox(pnlBott);
    cbTipus->setObjectName(QStringLiteral("cbTipus"));
    cbTipus->addItems({QStringLiteral("Vardo-4 (V2.39+)"), QStringLiteral("Vardo-16 (V 4.27+)")});
    typeLabel->setBuddy(cbTipus);
    bottom->addWidget(typeLabel);
    bottom->addWidget(cbTipus);
    bottom->addStretch(1);
    column->addWidget(pnlBott);
    setCentralWidget(central);

    buildMenus();
    buildStatusBar();

    connect(PageControl1, &QTabWidget::currentChanged, this, &TMainForm::viewChanged);
    connect(cbTipus, &QComboBox::activated, this, &TMainForm::modelBoxChanged);

    cbTipus->setCurrentIndex(0);
    modelSwitch();
    newConfiguration();
    modified_ = false;
    setStatusText(PanelFile, QString::fromUtf8("Új"));
    setConnectionPanelText(QStringLiteral("COM1 ( 19200 )"));
    setStatusText(PanelState, QString::fromUtf8("Szétkapcsolva"));
    PageControl1->setCurrentIndex(0);

    resize(900, 560);
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() = default;

void TMainForm::buildMenus() {
    QMenuBar* bar = menuBar();
    addItems(addMenu(bar, "File1", "&File"), FileItems);
    addItems(addMenu(bar, "Settings", "&Beállítások"), SettingsItems);
    QMenu* view = addMenu(bar, "Nzet1", "&Nézet");
    addItems(view, ViewItems);
    Kdok2 = addMenu(bar, "Kdok2", "&Kódok");
    addItems(Kdok2, CodeItems);
    QMenu* import = Kdok2->addMenu(QStringLiteral("Import"));
    import->setObjectName(QStringLiteral("Importkod"));
    import->menuAction()->setObjectName(QStringLiteral("Importkod"));
    addItems(import, CodeImportItems);
    QMenu* exportMenu = Kdok2->addMenu(QStringLiteral("Export"));
    exportMenu->setObjectName(QStringLiteral("Exportkod"));
    exportMenu->menuAction()->setObjectName(QStringLiteral("Exportkod"));
    addItems(exportMenu, CodeExportItems);
    Szamok2 = addMenu(bar, "Szamok2", "Számok");
    addItems(Szamok2, NumberItems);
    addItems(addMenu(bar, "Sg1", "&Súgó"), HelpItems);

    Szamok2->findChild<QAction*>(QStringLiteral("ABCRendezett1"))->setCheckable(true);
    for (int i = 0; i < ViewCount; ++i) {
        QAction* a = view->findChild<QAction*>(QString::fromUtf8(ViewItems[i].name));
        connect(a, &QAction::triggered, this, [this, i] { showView(i); });
    }
    connect(view->findChild<QAction*>(QStringLiteral("Refresh")), &QAction::triggered, this,
            &TMainForm::refresh);
    connect(findChild<QAction*>(QStringLiteral("Exit1")), &QAction::triggered, this,
            &TMainForm::close);
    connect(findChild<QAction*>(QStringLiteral("Tartalom1")), &QAction::triggered, this,
            &TMainForm::showHelpContents);
    setMenuEnabled(Kdok2, false);
    setMenuEnabled(Szamok2, false);
}

zx::DeviceModel TMainForm::currentModel() const {
    return zx::modelFromIndex(cbTipus->currentIndex());
}

void TMainForm::setModelBoxEnabled(bool enabled) {
    cbTipus->setEnabled(enabled);
}

void TMainForm::modelSwitch() {
    mapModel_ = currentModel();
    StringGrid1->setDeviceModel(mapModel_);
    layoutBasicView(mapModel_);
    layoutLinesView(mapModel_);
    layoutTimersView(mapModel_);
    layoutNumbersView(mapModel_);
    // Offsets given by the last refill belong to the previous map.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->property(OffsetProperty).isValid()) w->setProperty(OffsetProperty, QVariant());
    lbKiv->viewport()->update();
}

void TMainForm::modelBoxChanged() {
    if (currentModel() == mapModel_) return;
    modelSwitch();
    // The editors show the unchanged image through the new map at once, so none of them can
    // store at an offset of the previous model.
    refill();
}

void TMainForm::chooseModel(zx::DeviceModel model) {
    cbTipus->setCurrentIndex(zx::modelIndex(model));
    modelBoxChanged();
}

void TMainForm::newConfiguration() {
    setModelBoxEnabled(true);
    currentFileName_.clear();
    zx::applyNewConfiguration(record_, mapModel_);
    refill();
}

void TMainForm::refill() {
    const zx::EditorView v = zx::decodeForEditors(record_.image, mapModel_);
    refillBasicView(v);
    refillCallInView(v);
    refillTimersView(v);
    refillLinesView(v);
    refillNumbersView(v);
    refillCodesView(v);
    refillFreeView(v);
    setStatusText(PanelCodes, zx::fromUtf8(v.codePanelText()));
}

void TMainForm::bindOffset(QWidget* edit, zx::Field field, int add) {
    const auto offset = memoryMap().offset(field);
    edit->setProperty(OffsetProperty, offset ? QVariant(int(*offset) + add) : QVariant());
}

std::optional<int> TMainForm::boundOffset(const QWidget* edit) {
    const QVariant v = edit->property(OffsetProperty);
    if (!v.isValid()) return std::nullopt;
    return v.toInt();
}

int TMainForm::currentView() const {
    return PageControl1->currentIndex();
}

void TMainForm::showView(int index) {
    if (index < 0 || index >= ViewCount) return;
    if (PageControl1->currentIndex() == index)
        viewChanged(index); // the menu runs the change rule even for the view already shown
    else
        PageControl1->setCurrentIndex(index);
}

void TMainForm::viewChanged(int index) {
    if (Szamok2->menuAction()->isEnabled()) StoreFreeNumbers();
    setMenuEnabled(Kdok2, index == 4);
    setMenuEnabled(Szamok2, index == 5);
}

bool TMainForm::askSaveChanges() {
    if (!modified_) return true;
    switch (interaction_.askYesNoCancel(this, QStringLiteral("Zendrax"),
                                        QString::fromUtf8("Menti a változásokat ?"))) {
    case zx::Interaction::Answer::Cancel:
        return false;
    case zx::Interaction::Answer::No:
        return true;
    case zx::Interaction::Answer::Yes:
        break;
    }
    return !saveHandler_ || saveHandler_();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (closeBlocker_ && closeBlocker_()) {
        event->ignore();
        return;
    }
    if (!askSaveChanges()) {
        event->ignore();
        return;
    }
    // On every close, so that a new port or speed is remembered without a configuration change.
    if (saveConnectionSettingsHandler_) saveConnectionSettingsHandler_();
    if (helpViewer_) helpViewer_->close();
    event->accept();
}

void TMainForm::postTransferRequest(int direction) {
    QCoreApplication::postEvent(this, new TransferRequestEvent(direction));
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == TransferRequestEvent::eventType()) {
        const int direction = static_cast<TransferRequestEvent*>(event)->direction;
        if ((direction == 0 || direction == 1) && transferHandler_) {
            repaint();
            transferHandler_(direction);
        }
        return true;
    }
    return QMainWindow::event(event);
}

QString TMainForm::helpFilePath() const {
    return helpDirectory_ + QLatin1Char('/') + QLatin1String(HelpFileName);
}

void TMainForm::showHelpContents() {
    const QString path = helpFilePath();
    if (!QFileInfo(path).isFile()) {
        interaction_.error(this, QString::fromUtf8("A súgófájl nem található: %1").arg(path));
        return;
    }
    if (!helpViewer_) helpViewer_ = new zx::HelpViewer(this);
    helpViewer_->openContents(path);
    helpViewer_->show();
    helpViewer_->raise();
    helpViewer_->activateWindow();
}
