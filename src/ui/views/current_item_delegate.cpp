#include "ui/views/current_item_delegate.h"

#include <QAbstractItemView>
#include <QPaintEngine>
#include <QPainter>

namespace zx {

CurrentItemDelegate::CurrentItemDelegate(QAbstractItemView* view)
    : QStyledItemDelegate(view), view_(view) {}

bool CurrentItemDelegate::framed(const QPainter* painter, const QModelIndex& index) const {
    // The screen's drawing (and a grab of it); a printed page is recorded as a picture.
    const QPaintEngine* engine = painter->paintEngine();
    return index.isValid() && index == view_->currentIndex() && engine &&
           (engine->type() == QPaintEngine::Raster || engine->type() == QPaintEngine::OpenGL2);
}

void CurrentItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem shown = option;
    // The style frames the item that has the focus; the current item is framed always.
    if (framed(painter, index)) shown.state |= QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, shown, index);
}

void CurrentItemDelegate::drawCurrentFrame(QPainter* painter, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const {
    if (!framed(painter, index)) return;
    QStyleOptionFocusRect frame;
    frame.QStyleOption::operator=(option);
    frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    frame.backgroundColor = option.palette.color(
        option.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Base);
    view_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, view_);
}

void showCurrentItem(QAbstractItemView* view) {
    view->setItemDelegate(new CurrentItemDelegate(view));
}

} // namespace zx
