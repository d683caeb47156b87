#pragma once
// A framed group of mutually exclusive choices with an item index, the way the settings views
// present a setting with a few fixed values. No item is selected after the items are replaced
// until an index is set.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace zx {

class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    explicit RadioGroup(const QString& title = {}, QWidget* parent = nullptr);

    // Replaces every item; the items are laid out top to bottom in the given columns.
    void setItems(const QStringList& items);
    QStringList items() const { return items_; }
    void setColumns(int columns);

    // -1 when no item is selected.
    int itemIndex() const;
    // An index outside the items selects nothing.
    void setItemIndex(int index);
    // Text of the selected item, empty when none is.
    QString currentText() const;
    QRadioButton* button(int index) const;

  signals:
    // The operator clicked an item.
    void itemClicked(int index);
    // The focus went from this group to a control outside it.
    void left();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void layoutButtons();
    void fixTabStop();

    QStringList items_;
    int columns_ = 1;
    QButtonGroup* group_;
    QGridLayout* grid_;
};

} // namespace zx
