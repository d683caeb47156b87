#include "ui/views/free_numbers_view.h"

#include "files/cp1250.h"
#include "model/free_number_list.h"
#include "model/free_number_table.h"
#include "ui/config_document.h"
#include "ui/dialogs/interaction.h"
#include "ui/views/current_item_delegate.h"
#include "ui/views/view_helpers.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace zx {

FreeNumbersView::FreeNumbersView(ConfigDocument& document, Interaction& interaction,
                                 QWidget* parent)
    : ConfigView(document, interaction, parent) {
    setObjectName(QStringLiteral("TabSheet6"));
    QWidget* sheet = this;
    auto* grid = new QGridLayout(this);
    listHeading = makeLabel(sheet, "Label34", "Kód nélkül hívható számok");
    lbFreeCall = new QListWidget(sheet);
    lbFreeCall->setObjectName(QStringLiteral("lbFreeCall"));
    lbFreeCall->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont listFont(QStringLiteral("MS Sans Serif"));
    listFont.setPointSize(8);
    lbFreeCall->setFont(listFont);
    lbFreeCall->setFixedWidth(200);
    showCurrentItem(lbFreeCall);
    MEfreecall = makeEdit(sheet, "MEfreecall", 16, 160);
    BTNfreejav = makeButton(sheet, "BTNfreejav", "&Javítás");
    BTNfreejav->setEnabled(false);
    newNumberButton = makeButton(sheet, "BTNujszam1", "&Uj szám");
    BTNfreedel = makeButton(sheet, "BTNfreedel", "&Törlés");
    BTNfreedel->setEnabled(false);
    entryLabel = makeLabel(sheet, "Label50", "Bejegyzés:");

    grid->addWidget(listHeading, 0, 0, 1, 2);
    grid->addWidget(lbFreeCall, 1, 0, 6, 1);
    grid->addWidget(MEfreecall, 1, 1, Qt::AlignLeft);
    grid->addWidget(newNumberButton, 2, 1, Qt::AlignLeft);
    grid->addWidget(BTNfreejav, 3, 1, Qt::AlignLeft);
    grid->addWidget(BTNfreedel, 4, 1, Qt::AlignLeft);
    grid->addWidget(entryLabel, 5, 1, Qt::AlignLeft);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);

    connect(newNumberButton, &QPushButton::clicked, this, &FreeNumbersView::addNumber);
    // Enter in the number field adds the number, as "&Uj szám" does.
    connect(MEfreecall, &QLineEdit::returnPressed, this, &FreeNumbersView::addNumber);
    connect(BTNfreejav, &QPushButton::clicked, this, &FreeNumbersView::correctNumber);
    connect(BTNfreedel, &QPushButton::clicked, this, &FreeNumbersView::deleteSelected);
    connect(lbFreeCall, &QListWidget::itemClicked, this, &FreeNumbersView::pickCurrentEntry);
    // Moving through the list with the keys picks the entry as a click does; the entry the
    // list makes current when it merely gets the focus is not picked.
    lbFreeCall->installEventFilter(this);
    connect(lbFreeCall, &QListWidget::currentRowChanged, this, [this] {
        if (keyInList_) pickCurrentEntry();
    });
    // Whatever changes the list's entries or their order (a button, a menu command, an import)
    // leaves a list the next store writes.
    QAbstractItemModel* entriesModel = lbFreeCall->model();
    const auto changed = [this] { listChanged_ = true; };
    connect(entriesModel, &QAbstractItemModel::rowsInserted, this, changed);
    connect(entriesModel, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(entriesModel, &QAbstractItemModel::rowsMoved, this, changed);
    connect(entriesModel, &QAbstractItemModel::dataChanged, this, changed);
    connect(entriesModel, &QAbstractItemModel::layoutChanged, this, changed);
    connect(entriesModel, &QAbstractItemModel::modelReset, this, changed);
    // The focus going from the shown page to another control of the window (the model box, the
    // status bar) is leaving the page; a message box or another program taking it is not. When
    // another page is chosen the page change writes the list (storeFreeNumbers), and the focus
    // that follows out of the hidden page writes nothing more.
    focusWatch_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (isVisible() && old && isAncestorOf(old) && now && now->window() == window() &&
                !isAncestorOf(now))
                storeFreeNumbers();
        });
}

FreeNumbersView::~FreeNumbersView() {
    // The widgets' own teardown moves the focus and resets the list's model, after this view's
    // part of the object is gone: neither may reach it any more.
    disconnect(focusWatch_);
    lbFreeCall->model()->disconnect(this);
    lbFreeCall->disconnect(this);
}

bool FreeNumbersView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbFreeCall && event->type() == QEvent::KeyPress) keyInList_ = true;
    if (watched == lbFreeCall &&
        (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut))
        keyInList_ = false;
    return ConfigView::eventFilter(watched, event);
}

void FreeNumbersView::refill(const EditorView& v) {
    ConfigView::refill(v);
    std::vector<RawText> entries = v.freeNumbers;
    if (sorted_) sortFreeNumbers(entries);
    showEntries(entries);
    listChanged_ = false;
    updateButtonsAndCounter();
}

std::vector<RawText> FreeNumbersView::entries() const {
    std::vector<RawText> out;
    out.reserve(static_cast<std::size_t>(lbFreeCall->count()));
    for (int i = 0; i < lbFreeCall->count(); ++i)
        out.push_back(toCp1250(lbFreeCall->item(i)->text()));
    return out;
}

void FreeNumbersView::showEntries(const std::vector<RawText>& entries) {
    lbFreeCall->clear();
    for (const RawText& entry : entries)
        lbFreeCall->addItem(fromCp1250(entry));
}

std::vector<bool> FreeNumbersView::selectedEntries() const {
    std::vector<bool> picked;
    for (int i = 0; i < lbFreeCall->count(); ++i)
        picked.push_back(lbFreeCall->item(i)->isSelected());
    return picked;
}

int FreeNumbersView::capacity() const {
    return freeNumberCapacity(shownModel().value_or(document_.model()));
}

bool FreeNumbersView::commitPendingEdit() {
    return storeFreeNumbers();
}

bool FreeNumbersView::storeFreeNumbers(const std::string& stepName) {
    // Between a model switch and the next refill the list belongs to the previous model's table.
    const auto model = shownModel();
    if (!model || !listChanged_) return true;
    // A list the table cannot hold is refused, not cut: it stays as it is, to be stored again.
    const Checked<ImagePatch> patch = freeNumbersPatch(*model, entries());
    if (!patch) {
        refuse(patch.message(), lbFreeCall);
        return false;
    }
    listChanged_ = false;
    clearRefusal(lbFreeCall);
    document_.apply(*patch, {.name = stepName, .control = lbFreeCall->objectName().toStdString()});
    return true;
}

std::optional<RawText> FreeNumbersView::editNumber() {
    Checked<RawText> text = toCp1250Exactly(MEfreecall->text());
    if (!text) {
        refuse(text.message(), MEfreecall);
        return std::nullopt;
    }
    // A number the unit cannot dial, or longer than its table entry, is not taken.
    if (const auto refused = freeNumberRefusal(*text)) {
        refuse(refused->message, MEfreecall);
        return std::nullopt;
    }
    return *text;
}

void FreeNumbersView::addNumber() {
    if (lbFreeCall->count() < capacity()) {
        const auto edit = editNumber();
        if (!edit) return;
        std::vector<RawText> list = entries();
        const FreeNumberAdd add = addFreeNumber(list, *edit, capacity(), sorted_);
        switch (add.outcome) {
        case FreeNumberAdd::Outcome::Added:
            lbFreeCall->insertItem(static_cast<int>(add.position), fromCp1250(add.editText));
            storeFreeNumbers("Számok / Uj szám");
            // Ready for the next number.
            MEfreecall->clear();
            break;
        case FreeNumberAdd::Outcome::AlreadyIn:
            showInEdit(add.editText);
            interaction_.message(this, fromUtf8(FreeNumberAlreadyInMessage));
            break;
        case FreeNumberAdd::Outcome::ListFull:
        case FreeNumberAdd::Outcome::Empty:
            break;
        }
    }
    updateButtonsAndCounter();
    MEfreecall->setFocus();
}

void FreeNumbersView::correctNumber() {
    const int row = lbFreeCall->currentRow();
    if (row < 0) {
        updateButtonsAndCounter();
        return;
    }
    const auto edit = editNumber();
    if (!edit) return;
    std::vector<RawText> list = entries();
    if (const auto entry = correctFreeNumber(list, static_cast<std::size_t>(row), *edit)) {
        showInEdit(*entry);
        lbFreeCall->item(row)->setText(fromCp1250(*entry));
        storeFreeNumbers("Számok / Javítás");
    }
    updateButtonsAndCounter();
}

void FreeNumbersView::deleteSelected() {
    std::vector<RawText> list = entries();
    if (removeSelectedFreeNumbers(list, selectedEntries()) > 0) {
        showEntries(list);
        storeFreeNumbers("Számok / Törlés");
    }
    updateButtonsAndCounter();
}

void FreeNumbersView::pickCurrentEntry() {
    if (QListWidgetItem* item = lbFreeCall->currentItem()) showInEdit(toCp1250(item->text()));
    updateButtonsAndCounter();
}

void FreeNumbersView::showInEdit(const RawText& entry) {
    // Without the entry's padding, which would fill the field and drop every digit typed
    // next; selected, so that typing replaces it.
    std::string number = entry.bytes();
    while (!number.empty() && number.back() == ' ')
        number.pop_back();
    MEfreecall->setText(fromCp1250(RawText(std::move(number))));
    MEfreecall->selectAll();
}

void FreeNumbersView::updateButtonsAndCounter() {
    const bool current = lbFreeCall->currentItem() != nullptr;
    BTNfreejav->setEnabled(current);
    BTNfreedel->setEnabled(current);
    if (lbFreeCall->count() < capacity()) newNumberButton->setEnabled(true);
    entryLabel->setText(fromUtf8(freeNumberCounterText(lbFreeCall->count(), capacity())));
}

void FreeNumbersView::clearAll() {
    lbFreeCall->clear();
    MEfreecall->clear();
    updateButtonsAndCounter();
    storeFreeNumbers("Mind töröl");
}

void FreeNumbersView::takeEntries(const std::vector<RawText>& imported, bool replace) {
    std::vector<RawText> list = replace ? std::vector<RawText>{} : entries();
    list.insert(list.end(), imported.begin(), imported.end());
    if (sorted_) sortFreeNumbers(list);
    showEntries(list);
    updateButtonsAndCounter();
    storeFreeNumbers(
        QString::fromUtf8("Import <- CALL.TXT (%1 szám)").arg(imported.size()).toStdString());
}

void FreeNumbersView::setSorted(bool sorted) {
    if (sorted && !sorted_) {
        std::vector<RawText> list = entries();
        sortFreeNumbers(list);
        showEntries(list);
        updateButtonsAndCounter();
        storeFreeNumbers("ABC Rendezett");
    }
    sorted_ = sorted;
}

} // namespace zx
