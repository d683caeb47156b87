#include "ui/views/config_view.h"

#include "model/editor_store.h"
#include "ui/config_document.h"
#include "ui/dialogs/interaction.h"
#include "ui/views/radio_group.h"
#include "ui/views/view_helpers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

namespace zx {

namespace {

// What a control shows, as far as a store reads it.
QVariant shownState(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (const auto* group = qobject_cast<const RadioGroup*>(control)) return group->itemIndex();
    if (const auto* box = qobject_cast<const QComboBox*>(control)) return box->currentIndex();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->isChecked();
    if (const auto* list = qobject_cast<const QListWidget*>(control)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        return items;
    }
    return {};
}

} // namespace

ConfigView::ConfigView(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : QWidget(parent), document_(document), interaction_(interaction) {
    document_.addCommitter(this, [this] { return commitPendingEdit(); });
}

ConfigView::~ConfigView() {
    document_.removeCommitter(this);
    for (const auto& entry : leaveStores_) {
        delete entry->watcher;
        if (auto* group = qobject_cast<RadioGroup*>(entry->control.data()))
            disconnect(group, nullptr, this, nullptr);
    }
}

void ConfigView::layoutFor(DeviceModel) {
    boundModel_.reset();
}

void ConfigView::refill(const EditorView& view) {
    boundModel_ = view.model;
    refused_ = nullptr;
    // What the controls show is the derived view's to set; until it is taken as stored, every
    // control stores when left.
    for (const auto& entry : leaveStores_)
        entry->stored.reset();
}

void ConfigView::takeShownAsStored() {
    for (const auto& entry : leaveStores_)
        if (entry->control) entry->stored = shownState(entry->control);
}

bool ConfigView::store(const Checked<ImagePatch>& result, QWidget* control) {
    if (!result) {
        refuse(result.message(), control);
        return false;
    }
    if (!result->empty())
        document_.apply(*result, {.control = control ? control->objectName().toStdString() : ""});
    if (control == refused_) refused_ = nullptr;
    return true;
}

void ConfigView::refuse(const std::string& message, QWidget* control) {
    refused_ = control;
    interaction_.message(this, QString::fromStdString(message));
    if (control) control->setFocus();
}

void ConfigView::focusRefusedControl() {
    if (refused_) refused_->setFocus();
}

void ConfigView::tell(const std::string& message, QWidget* control) {
    interaction_.message(this, QString::fromStdString(message));
    if (control) control->setFocus();
}

QWidget* ConfigView::windowFocus() const {
    return window()->focusWidget();
}

ConfigView::LeaveStore& ConfigView::addLeaveStore(QWidget* control, std::function<bool()> store) {
    leaveStores_.push_back(std::make_unique<LeaveStore>());
    LeaveStore& entry = *leaveStores_.back();
    entry.control = control;
    entry.store = std::move(store);
    return entry;
}

void ConfigView::storeOnLeave(QWidget* control, std::function<bool()> store) {
    LeaveStore& entry = addLeaveStore(control, std::move(store));
    entry.watcher = onLeave(control, [this, &entry] { leave(entry); });
}

void ConfigView::storeOnLeave(RadioGroup* group, std::function<bool()> store) {
    LeaveStore& entry = addLeaveStore(group, std::move(store));
    connect(group, &RadioGroup::left, this, [this, &entry] { leave(entry); });
}

void ConfigView::leave(LeaveStore& entry) {
    storeIfChanged(entry);
}

bool ConfigView::storeIfChanged(LeaveStore& entry) {
    const QVariant shown = entry.control ? shownState(entry.control) : QVariant();
    if (entry.stored && shown.isValid() && *entry.stored == shown) {
        // Typed back to what is stored: nothing refused remains on the page.
        if (entry.control == refused_) refused_ = nullptr;
        return true;
    }
    if (!entry.store()) return false;
    // Read again: a store may change what its control shows ("Nem" puts a choice back).
    if (entry.control && shown.isValid()) entry.stored = shownState(entry.control);
    return true;
}

bool ConfigView::commitPendingEdit() {
    QWidget* focus = windowFocus();
    if (!focus || !isAncestorOf(focus)) return true;
    for (const auto& entry : leaveStores_) {
        QWidget* control = entry->control;
        if (!control || !(control == focus || control->isAncestorOf(focus))) continue;
        if (!storeIfChanged(*entry)) return false;
    }
    return true;
}

bool ConfigView::storesFrom(const QWidget* widget) const {
    return std::any_of(leaveStores_.begin(), leaveStores_.end(), [widget](const auto& entry) {
        return entry->control && (entry->control == widget || entry->control->isAncestorOf(widget));
    });
}

void ConfigView::bindEdit(QLineEdit* edit, Field field) {
    storeOnLeave(edit, [this, edit, field] {
        const auto model = shownModel();
        return !model || store(storeByteRange(*model, field, edit->text().toStdString()), edit);
    });
}

bool ConfigView::goToControl(const QString& objectName, std::optional<int> row) {
    auto* control = findChild<QWidget*>(objectName);
    if (!control || !control->isVisibleTo(this)) return false;
    if (auto* items = qobject_cast<QAbstractItemView*>(control); items && row) {
        const QModelIndex index = items->model()->index(*row - 1, 0);
        if (!index.isValid()) return false;
        items->setCurrentIndex(index);
        items->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
        items->scrollTo(index);
    }
    // A choice group takes the focus on its selected item, its one Tab stop.
    QWidget* target = control;
    if (!(control->focusPolicy() & Qt::TabFocus))
        for (QWidget* child : control->findChildren<QWidget*>())
            if ((child->focusPolicy() & Qt::TabFocus) && child->isVisibleTo(control)) {
                target = child;
                break;
            }
    target->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(target)) edit->selectAll();
    return true;
}

} // namespace zx
