#include "ui/main_form.h"

#include "ui/dialogs/interaction.h"
#include "ui/views/basic_view.h"
#include "ui/views/call_in_view.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/lines_view.h"
#include "ui/views/numbers_view.h"
#include "ui/views/terminal_view.h"
#include "ui/views/timers_view.h"
#include "ui/views/view_helpers.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace zx;

namespace {

const char* const ViewCaptions[TMainForm::ViewCount] = {
    "&Alap", "&Vonalak", "I&dőzítők", "Szám&hosszak", "&Kódok", "&Számok", "&Behívás", "&Terminál",
};
constexpr int CodesPage = 4;
constexpr int FreeNumbersPage = 5;

} // namespace

TMainForm::TMainForm(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : QMainWindow(parent), document_(document), interaction_(interaction) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zendrax (Vardo-4 V2.39; Vardo-16 V4.29)"));
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 0);
    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl"));
    basic_ = new BasicView(document_, interaction_);
    lines_ = new LinesView(document_, interaction_);
    timers_ = new TimersView(document_, interaction_);
    numbers_ = new NumbersView(document_, interaction_);
    codes_ = new CodesView(document_, interaction_);
    free_ = new FreeNumbersView(document_, interaction_);
    callIn_ = new CallInView(document_, interaction_);
    terminal_ = new TerminalView;
    configViews_ = {basic_, lines_, timers_, numbers_, codes_, free_, callIn_};
    const std::array<QWidget*, ViewCount> pages = {basic_, lines_, timers_, numbers_,
                                                   codes_, free_,  callIn_, terminal_};
    for (int i = 0; i < ViewCount; ++i)
        PageControl1->addTab(pages[static_cast<std::size_t>(i)],
                             QString::fromUtf8(ViewCaptions[i]));
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
    connect(codes_, &CodesView::codePanelTextChanged, this,
            [this](const QString& text) { setStatusText(Panel::Codes, text); });
    connect(&document_, &ConfigDocument::fileNameChanged, this, [this](const QString& name) {
        setStatusText(Panel::File, name.isEmpty() ? QString::fromUtf8("Új") : name);
    });

    cbTipus->setCurrentIndex(modelIndex(document_.model()));
    for (ConfigView* view : configViews_)
        view->layoutFor(document_.model());
    newConfiguration();
    setStatusText(Panel::Connection, QStringLiteral("COM1 ( 19200 )"));
    setStatusText(Panel::State, QString::fromUtf8("Szétkapcsolva"));
    resize(900, 560);
    fitToViews();
}

TMainForm::~TMainForm() {
    document_.endEditing();
}

void TMainForm::fitToViews() {
    // The window's own hint counts only the page shown; every page is to have its room.
    QSize pages;
    for (int i = 0; i < PageControl1->count(); ++i)
        pages = pages.expandedTo(PageControl1->widget(i)->sizeHint());
    const QSize shown = PageControl1->currentWidget()->sizeHint();
    const QSize extra((std::max)(0, pages.width() - shown.width()),
                      (std::max)(0, pages.height() - shown.height()));
    QSize size = this->size().expandedTo(sizeHint() + extra);
    const QScreen* s = screen();
    if (s) size = size.boundedTo(s->availableGeometry().size());
    resize(size);
    if (s) move(s->availableGeometry().center() - rect().center());
}

DeviceModel TMainForm::currentModel() const {
    return modelFromIndex(cbTipus->currentIndex());
}

void TMainForm::setModelBoxEnabled(bool enabled) {
    cbTipus->setEnabled(enabled);
}

void TMainForm::setPanelsEnabled(bool enabled) {
    PageControl1->setEnabled(enabled);
    pnlBott->setEnabled(enabled);
}

void TMainForm::modelSwitch() {
    document_.setModel(currentModel());
    for (ConfigView* view : configViews_)
        view->layoutFor(document_.model());
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
    const EditorView v = decodeForEditors(document_.image(), document_.model());
    for (ConfigView* view : configViews_)
        view->refill(v);
}

std::optional<int> TMainForm::boundOffset(const QWidget* edit) const {
    for (const ConfigView* view : configViews_)
        if (const auto offset = view->boundOffset(edit)) return offset;
    return std::nullopt;
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
    if (menu_->Szamok2->menuAction()->isEnabled()) free_->StoreFreeNumbers();
    setMenuEnabled(menu_->Kdok2, index == CodesPage);
    setMenuEnabled(menu_->Szamok2, index == FreeNumbersPage);
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

bool TMainForm::mayClose() {
    if (!busyReason_.isEmpty()) {
        SBar->showMessage(busyReason_, 4000);
        return false;
    }
    // The value on screen is part of what the question is about.
    if (!commitPendingEdits() || !askSaveChanges()) return false;
    emit closing();
    return true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (mayClose())
        event->accept();
    else
        event->ignore();
}
