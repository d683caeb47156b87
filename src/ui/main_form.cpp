#include "ui/main_form.h"

#include "ui/dialogs/interaction.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/view_helpers.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace zx;

TMainForm::TMainForm(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : QMainWindow(parent), document_(document), interaction_(interaction) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zendrax (Vardo-4 V2.39; Vardo-16 V4.29)"));
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 0);
    PageControl1 = new ViewPages(document_, interaction_, central);
    column->addWidget(PageControl1, 1);

    pnlBott = new QWidget(central);
    pnlBott->setObjectName(QStringLiteral("pnlBott"));
    auto* bottom = new QHBoxLayout(pnlBott);
    bottom->setContentsMargins(0, 2, 0, 2);
    cbTipus = new QComboBox(pnlBott);
    cbTipus->setObjectName(QStringLiteral("cbTipus"));
    cbTipus->addItems({QStringLiteral("Vardo-4 (V2.39+)"), QStringLiteral("Vardo-16 (V 4.27+)")});
    bottom->addWidget(makeLabel(pnlBott, "lblTipus", "Típus:", cbTipus));
    bottom->addWidget(cbTipus);
    bottom->addStretch(1);
    column->addWidget(pnlBott);
    setCentralWidget(central);

    menu_ = std::make_unique<MainMenu>(menuBar());
    menu_->takeShortcutsFirstIn(this);
    SBar = statusBar();
    SBar->setObjectName(QStringLiteral("SBar"));
    panels_ = std::make_unique<StatusPanels>(SBar);
    lineState_ = std::make_unique<LineStatePanel>(*panels_);

    const auto views = menu_->viewActions();
    for (int i = 0; i < ViewCount; ++i)
        connect(views[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { showView(i); });
    connect(menu_->Refresh, &QAction::triggered, this, &TMainForm::refill);
    connect(menu_->Exit1, &QAction::triggered, this, &TMainForm::close);
    setMenuEnabled(menu_->Kdok2, false);
    setMenuEnabled(menu_->Szamok2, false);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TMainForm::viewChanged);
    connect(cbTipus, &QComboBox::activated, this, &TMainForm::modelBoxChanged);
    connect(PageControl1, &ViewPages::codePanelTextChanged, this,
            [this](const QString& text) { setStatusText(Panel::Codes, text); });
    connect(&document_, &ConfigDocument::fileNameChanged, this, [this](const QString& name) {
        setStatusText(Panel::File, name.isEmpty() ? QString::fromUtf8("Új") : name);
    });

    cbTipus->setCurrentIndex(modelIndex(document_.model()));
    PageControl1->layoutFor(document_.model());
    newConfiguration();
    setStatusText(Panel::Connection, QStringLiteral("COM1 ( 19200 )"));
    resize(900, 560);
}

TMainForm::~TMainForm() {
    if (busy_) QApplication::restoreOverrideCursor();
    document_.endEditing();
}

void TMainForm::fitToViews() {
    // The window's hint holds the largest page built: a page control asks for the room of every
    // page, not only of the one shown.
    QSize size = this->size().expandedTo(sizeHint());
    const QScreen* s = screen();
    if (s) size = size.boundedTo(s->availableGeometry().size());
    resize(size);
    if (s) move(s->availableGeometry().center() - rect().center());
}

DeviceModel TMainForm::currentModel() const {
    return modelFromIndex(cbTipus->currentIndex());
}

void TMainForm::modelSwitch() {
    document_.setModel(currentModel());
    PageControl1->layoutFor(document_.model());
}

void TMainForm::showModel(DeviceModel model) {
    cbTipus->setCurrentIndex(modelIndex(model));
    // The same model again would only empty the choice lists until the refill.
    if (document_.model() != model) modelSwitch();
}

void TMainForm::modelBoxChanged() {
    const DeviceModel chosen = currentModel();
    if (chosen == document_.model()) return;
    // A value still being typed is stored through the map it was typed for; a refused one keeps
    // the model as it was.
    cbTipus->setCurrentIndex(modelIndex(document_.model()));
    if (!commitPendingEdits()) return;
    // Nothing has been put into the new configuration yet: the model chosen gets its own, as
    // New would give it, instead of the other model's defaults read through the wrong map.
    const bool untouched = document_.isUntouchedNew();
    showModel(chosen);
    // Otherwise the editors show the unchanged image through the new map at once, so none of
    // them can store at an offset of the previous model.
    untouched ? newConfiguration() : refill();
}

void TMainForm::chooseModel(DeviceModel model) {
    cbTipus->setCurrentIndex(modelIndex(model));
    modelBoxChanged();
}

void TMainForm::newConfiguration() {
    setModelBoxEnabled(true);
    document_.newConfiguration();
    refill();
}

void TMainForm::refill() {
    PageControl1->refill(decodeForEditors(document_.image(), document_.model()));
}

void TMainForm::showView(int index) {
    if (index < 0 || index >= ViewCount) return;
    if (PageControl1->currentIndex() == index)
        viewChanged(index); // the menu runs the change rule even for the view already shown
    else
        PageControl1->setCurrentIndex(index);
}

void TMainForm::viewChanged(int index) {
    if (menu_->Szamok2->menuAction()->isEnabled()) freeNumbersView()->StoreFreeNumbers();
    setMenuEnabled(menu_->Kdok2, index == ViewPages::CodesPage);
    setMenuEnabled(menu_->Szamok2, index == ViewPages::FreeNumbersPage);
}

bool TMainForm::askSaveChanges() {
    if (!document_.isModified()) return true;
    switch (interaction_.askYesNoCancel(this, QStringLiteral("Zendrax"),
                                        QString::fromUtf8("Menti a változásokat ?"))) {
    case Interaction::Answer::Cancel:
        return false;
    case Interaction::Answer::No:
        return true;
    case Interaction::Answer::Yes:
        break;
    }
    emit saveRequested();
    return !document_.isModified();
}

void TMainForm::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (!busy) {
        for (const auto& [object, enabled] : enabledBeforeBusy_) {
            if (auto* action = qobject_cast<QAction*>(object.data()))
                action->setEnabled(enabled);
            else if (auto* widget = qobject_cast<QWidget*>(object.data()))
                widget->setEnabled(enabled);
        }
        enabledBeforeBusy_.clear();
        QApplication::restoreOverrideCursor();
        return;
    }
    // The menus that hold the two commands left enabled stay open.
    const QList<const QAction*> kept = {menu_->Exit1, menu_->Tartalom1, menu_->File1->menuAction(),
                                        menu_->Sg1->menuAction()};
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (kept.contains(action) || action->isSeparator()) continue;
        enabledBeforeBusy_.emplace_back(action, action->isEnabled());
        action->setEnabled(false);
    }
    for (QWidget* widget : {static_cast<QWidget*>(PageControl1), pnlBott}) {
        enabledBeforeBusy_.emplace_back(widget, widget->isEnabled());
        widget->setEnabled(false);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

bool TMainForm::mayClose() {
    if (busy_ && !(closeWhileBusy && closeWhileBusy())) return false;
    // The value on screen is part of what the question is about.
    if (!commitPendingEdits() || !askSaveChanges()) return false;
    emit closing();
    return true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    event->setAccepted(mayClose());
}
