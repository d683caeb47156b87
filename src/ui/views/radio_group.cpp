#include "ui/views/radio_group.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QRadioButton>

namespace zx {

RadioGroup::RadioGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(4, 2, 4, 2);
    grid_->setSpacing(2);
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
    connect(group_, &QButtonGroup::idToggled, this, [this] { fixTabStop(); });
}

void RadioGroup::fixTabStop() {
    // The group is one Tab stop, on its selected item (the first when none is selected); the
    // arrow keys move between the items.
    const QList<QAbstractButton*> buttons = group_->buttons();
    QAbstractButton* stop = group_->checkedButton();
    if (!stop && !buttons.isEmpty()) stop = group_->button(0);
    for (QAbstractButton* b : buttons)
        b->setFocusPolicy(b == stop ? Qt::StrongFocus
                                    : Qt::FocusPolicy(Qt::StrongFocus & ~Qt::TabFocus));
}

void RadioGroup::setItems(const QStringList& items) {
    for (QAbstractButton* b : group_->buttons()) {
        group_->removeButton(b);
        delete b;
    }
    items_ = items;
    for (int i = 0; i < items_.size(); ++i) {
        auto* b = new QRadioButton(items_[i], this);
        b->setObjectName(objectName() + QStringLiteral("_%1").arg(i));
        b->installEventFilter(this);
        group_->addButton(b, i);
    }
    // Buttons made now would join the window's Tab order at its end; they belong where the
    // group is. (The order is only kept between widgets that take the focus.)
    const Qt::FocusPolicy own = focusPolicy();
    setFocusPolicy(Qt::TabFocus);
    QWidget* previous = this;
    for (QAbstractButton* b : group_->buttons()) {
        setTabOrder(previous, b);
        previous = b;
    }
    setFocusPolicy(own);
    layoutButtons();
    fixTabStop();
}

void RadioGroup::setColumns(int columns) {
    columns_ = qMax(1, columns);
    layoutButtons();
}

void RadioGroup::layoutButtons() {
    const QList<QAbstractButton*> buttons = group_->buttons();
    for (QAbstractButton* b : buttons)
        grid_->removeWidget(b);
    const int n = static_cast<int>(buttons.size());
    const int rows = (n + columns_ - 1) / columns_;
    for (int i = 0; i < n; ++i)
        grid_->addWidget(group_->button(i), rows ? i % rows : 0, rows ? i / rows : 0);
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* b = group_->button(index)) {
        b->setChecked(true);
        return;
    }
    // An exclusive group never lets its last checked button go by itself.
    group_->setExclusive(false);
    for (QAbstractButton* b : group_->buttons())
        b->setChecked(false);
    group_->setExclusive(true);
    fixTabStop();
}

QString RadioGroup::currentText() const {
    const int i = itemIndex();
    return i >= 0 && i < items_.size() ? items_[i] : QString();
}

QRadioButton* RadioGroup::button(int index) const {
    return qobject_cast<QRadioButton*>(group_->button(index));
}

bool RadioGroup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window or a menu taking the focus for a while is not leaving the control.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            // The application already names the new focus widget when the old one hears of it.
            QWidget* next = QApplication::focusWidget();
            if (!next || (next != this && !isAncestorOf(next))) emit left();
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace zx
