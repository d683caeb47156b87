#pragma once
// How the code grid draws its cells and edits its codes. Every cell is drawn alike: the text at
// its top-left corner, clipped to the cell, over the window colour, or the highlight colour
// when selected; a 16-line right level is drawn as its word. Codes are typed into an editor
// that takes digits only.
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace zx {

class CodeGrid;

// The in-place editor of a code: every typed character other than a digit is dropped, and a
// paste brings only its digits.
class CodeEditor : public QLineEdit {
    Q_OBJECT
  public:
    explicit CodeEditor(QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class CodeGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit CodeGridDelegate(CodeGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

    // The text drawn in a cell.
    QString displayText(const QModelIndex& index) const;

  private:
    CodeGrid* grid_;
};

} // namespace zx
