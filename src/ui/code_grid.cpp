#include "ui/code_grid.h"

#include "model/right_levels.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

namespace zx {

namespace {

constexpr int RowHeight = 16;
constexpr int ColumnWidths[] = {64, 64, 64, 64, 64, 82};

// Draws every section as the row number of its code row.
class RowNumberHeader : public QHeaderView {
  public:
    explicit RowNumberHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid()) return;
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = rect;
        opt.section = logicalIndex;
        opt.text = CodeGrid::rowNumberText(logicalIndex + 1);
        opt.textAlignment = Qt::AlignRight | Qt::AlignTop;
        style()->drawControl(QStyle::CE_Header, &opt, painter, this);
    }
};

// Texts at the top-left corner of their cell; a 16-line right level is drawn as its word.
class CellDelegate : public QStyledItemDelegate {
  public:
    explicit CellDelegate(CodeGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignLeft | Qt::AlignTop;
        if (grid_->deviceModel() == DeviceModel::Line16 && index.column() == 1) {
            const std::string letter = option->text.toStdString();
            option->text = QString::fromUtf8(rightLevelWord(letter).data(),
                                             static_cast<qsizetype>(rightLevelWord(letter).size()));
        }
    }

  private:
    const CodeGrid* grid_;
};

} // namespace

CodeGrid::CodeGrid(QWidget* parent) : QTableWidget(parent) {
    setObjectName(QStringLiteral("StringGrid1"));
    setVerticalHeader(new RowNumberHeader(this));
    QFont cellFont(QStringLiteral("MS Sans Serif"));
    cellFont.setPointSize(8);
    setFont(cellFont);
    QFont headerFont = cellFont;
    headerFont.setBold(true);
    horizontalHeader()->setFont(headerFont);
    verticalHeader()->setFont(headerFont);
    verticalHeader()->setMinimumSectionSize(RowHeight);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(ColumnWidths[0]);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setItemDelegate(new CellDelegate(this));
    setWordWrap(false);
    // A text wider than its cell is cut at the edge, as the operator knows it.
    setTextElideMode(Qt::ElideNone);
    // The corner above the row numbers carries the first column's header.
    if (auto* corner = findChild<QAbstractButton*>()) corner->installEventFilter(this);
    setDeviceModel(DeviceModel::Line4);
    setGridRowCount(2);
}

void CodeGrid::setDeviceModel(DeviceModel model) {
    model_ = model;
    const QStringList headers = headerTexts(model);
    setColumnCount(static_cast<int>(headers.size()) - 1);
    setHorizontalHeaderLabels(headers.mid(1));
    for (int c = 1; c < headers.size(); ++c)
        setColumnWidth(c - 1, ColumnWidths[c]);
    viewport()->update();
}

void CodeGrid::setGridRowCount(int rows) {
    setRowCount(qMax(rows, 2) - 1);
}

QString CodeGrid::cell(int column, int row) const {
    if (row == 0) {
        const QStringList headers = headerTexts(model_);
        return column >= 0 && column < headers.size() ? headers[column] : QString();
    }
    if (column == 0) return row < gridRowCount() ? rowNumberText(row) : QString();
    const QTableWidgetItem* it = item(row - 1, column - 1);
    return it ? it->text() : QString();
}

void CodeGrid::setCell(int column, int row, const QString& text) {
    if (row < 1 || column < 1 || row >= gridRowCount() || column >= gridColumnCount()) return;
    if (QTableWidgetItem* it = item(row - 1, column - 1))
        it->setText(text);
    else
        setItem(row - 1, column - 1, new QTableWidgetItem(text));
}

QString CodeGrid::rowNumberText(int row) {
    return QStringLiteral("%1").arg(row, 4);
}

QStringList CodeGrid::headerTexts(DeviceModel model) {
    if (model == DeviceModel::Line16)
        return {QStringLiteral("Sorsz."), QString::fromUtf8("Kód"), QStringLiteral("Jog")};
    return {QStringLiteral("Sorsz."), QString::fromUtf8("Kód"),
            QStringLiteral("Helyi"),  QString::fromUtf8("Távolsági"),
            QStringLiteral("Mobil"),  QString::fromUtf8("Nemzetközi")};
}

bool CodeGrid::eventFilter(QObject* watched, QEvent* event) {
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (corner && event->type() == QEvent::Paint) {
        QPainter painter(corner);
        QStyleOptionHeader opt;
        opt.initFrom(corner);
        opt.rect = corner->rect();
        opt.text = headerTexts(model_).constFirst();
        opt.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        opt.position = QStyleOptionHeader::OnlyOneSection;
        painter.setFont(horizontalHeader()->font());
        corner->style()->drawControl(QStyle::CE_Header, &opt, &painter, corner);
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

} // namespace zx
