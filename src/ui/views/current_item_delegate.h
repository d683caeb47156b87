#pragma once
// A list's current item framed whether or not the list has the focus. The buttons beside a list
// ("Javítás", "Módosítás", "Töröl") act on its current item, and the focus goes to the button
// when it is pressed by its letter: the operator still sees which entry it acts on. The frame
// is drawn on the screen only, not on paper or into a picture of the page.
#include <QStyledItemDelegate>

class QAbstractItemView;

namespace zx {

class CurrentItemDelegate : public QStyledItemDelegate {
  public:
    explicit CurrentItemDelegate(QAbstractItemView* view);

    // The item as the style draws it, framed when it is the current one.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  protected:
    // For a delegate that draws its items itself: the frame around the item when it is the
    // view's current one, drawn last.
    void drawCurrentFrame(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const;

  private:
    bool framed(const QPainter* painter, const QModelIndex& index) const;

    QAbstractItemView* view_;
};

// The list shows its current item with the style's own drawing of its items.
void showCurrentItem(QAbstractItemView* view);

} // namespace zx
