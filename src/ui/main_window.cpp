#include "ui/main_window.h"

#include "model/model_recognition.h"
#include "ui/busy_mode.h"
#include "ui/dialogs/interaction.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/view_helpers.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace zx;

MainWindow::MainWindow(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : QMainWindow(parent), document_(document), interaction_(interaction) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zendrax (Vardo-4 V2.39; Vardo-16 V4.29)"));
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 0);
    viewPages = new ViewPages(document_, interaction_, central);
    column->addWidget(viewPages, 1);

    modelPanel = new QWidget(central);
    modelPanel->setObjectName(QStringLiteral("pnlBott"));
    auto* bottom = new QHBoxLayout(modelPanel);
    bottom->setContentsMargins(0, 2, 0, 2);
    modelBox = new QComboBox(modelPanel);
    modelBox->setObjectName(QStringLiteral("cbTipus"));
    modelBox->addItems(
        {fromUtf8(modelCaption(DeviceModel::Line4)), fromUtf8(modelCaption(DeviceModel::Line16))});
    bottom->addWidget(makeLabel(modelPanel, "lblTipus", "Típus:", modelBox));
    bottom->addWidget(modelBox);
    bottom->addStretch(1);
    column->addWidget(modelPanel);
    setCentralWidget(central);

    menu_ = std::make_unique<MainMenu>(menuBar());
    menu_->takeShortcutsFirstIn(this);
    busy_ = std::make_unique<BusyMode>(*menuBar(), *menu_,
                                       std::vector<QWidget*>{viewPages, modelPanel});
    statusBarWidget = statusBar();
    statusBarWidget->setObjectName(QStringLiteral("SBar"));
    panels_ = std::make_unique<StatusPanels>(statusBarWidget);
    lineState_ = std::make_unique<LineStatePanel>(*panels_);

    const auto views = menu_->viewActions();
    for (int i = 0; i < ViewCount; ++i)
        connect(views[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { showView(i); });
    // The value being typed is stored first, as by every command: the refill then shows it.
    connect(menu_->refreshViews, &QAction::triggered, this, [this] {
        if (commitPendingEdits()) refill();
    });
    connect(menu_->exitProgram, &QAction::triggered, this, &MainWindow::close);
    setMenuEnabled(menu_->codesMenu, false);
    setMenuEnabled(menu_->numbersMenu, false);
    connect(viewPages, &ViewPages::pageShown, this, &MainWindow::viewChanged);
    connect(modelBox, &QComboBox::activated, this, &MainWindow::modelBoxChanged);
    connect(viewPages, &ViewPages::codePanelTextChanged, this,
            [this](const QString& text) { setStatusText(Panel::Codes, text); });
    connect(&document_, &ConfigDocument::fileNameChanged, this, [this](const QString& name) {
        setStatusText(Panel::File, name.isEmpty() ? QString::fromUtf8("Új") : name);
    });

    modelBox->setCurrentIndex(modelIndex(document_.model()));
    viewPages->layoutFor(document_.model());
    newConfiguration();
    setStatusText(Panel::Connection, QStringLiteral("COM1 ( 19200 )"));
    resize(900, 560);
}

MainWindow::~MainWindow() {
    document_.endEditing();
}

DeviceModel MainWindow::currentModel() const {
    return modelFromIndex(modelBox->currentIndex());
}

void MainWindow::modelSwitch() {
    document_.setModel(currentModel());
    viewPages->layoutFor(document_.model());
}

void MainWindow::showModel(DeviceModel model) {
    modelBox->setCurrentIndex(modelIndex(model));
    // The same model again would only empty the choice lists until the refill.
    if (document_.model() != model) modelSwitch();
}

void MainWindow::modelBoxChanged() {
    const DeviceModel chosen = currentModel();
    if (chosen == document_.model()) return;
    // A value still being typed is stored through the map it was typed for; a refused one keeps
    // the model as it was.
    modelBox->setCurrentIndex(modelIndex(document_.model()));
    if (!commitPendingEdits()) return;
    // Nothing has been put into the new configuration yet: the model chosen gets its own, as
    // New would give it, instead of the other model's defaults read through the wrong map.
    const bool untouched = document_.isUntouchedNew();
    // A configuration that fits only the model shown would be read as garbage: asked first,
    // Enter keeping the model it fits.
    const std::optional<ModelQuestion> question =
        untouched ? std::nullopt : modelBoxQuestion(document_.image(), document_.model(), chosen);
    if (question && interaction_.askYesNo(this, QStringLiteral("Zendrax"), fromUtf8(question->text),
                                          question->yesByDefault ? Interaction::Answer::Yes
                                                                 : Interaction::Answer::No) !=
                        Interaction::Answer::Yes)
        return;
    showModel(chosen);
    // Otherwise the editors show the unchanged image through the new map at once, so none of
    // them can store at an offset of the previous model.
    untouched ? newConfiguration() : refill();
}

void MainWindow::chooseModel(DeviceModel model) {
    modelBox->setCurrentIndex(modelIndex(model));
    modelBoxChanged();
}

void MainWindow::newConfiguration() {
    setModelBoxEnabled(true);
    document_.newConfiguration();
    refill();
}

void MainWindow::refill() {
    viewPages->refill(decodeForEditors(document_.image(), document_.model()));
}

void MainWindow::showView(int index) {
    if (index < 0 || index >= ViewCount) return;
    if (viewPages->currentIndex() == index)
        viewChanged(index); // the menu runs the change rule even for the view already shown
    else
        viewPages->setCurrentIndex(index);
}

void MainWindow::viewChanged(int index) {
    if (menu_->numbersMenu->menuAction()->isEnabled()) freeNumbersView()->storeFreeNumbers();
    setMenuEnabled(menu_->codesMenu, index == ViewPages::CodesPage);
    setMenuEnabled(menu_->numbersMenu, index == ViewPages::FreeNumbersPage);
}

bool MainWindow::askSaveChanges() {
    if (!document_.isModified()) return true;
    const auto answer = interaction_.askYesNoCancel(this, QStringLiteral("Zendrax"),
                                                    QString::fromUtf8("Menti a változásokat ?"));
    if (answer != Interaction::Answer::Yes) return answer == Interaction::Answer::No;
    emit saveRequested();
    return !document_.isModified();
}

void MainWindow::setBusy(bool busy) {
    busy_->set(busy);
}

bool MainWindow::isBusy() const {
    return busy_->on();
}

bool MainWindow::mayClose() {
    if (isBusy() && !(closeWhileBusy && closeWhileBusy())) return false;
    // The value on screen is part of what the question is about.
    if (!commitPendingEdits() || !askSaveChanges()) return false;
    emit closing();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->setAccepted(mayClose());
}
