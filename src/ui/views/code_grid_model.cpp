#include "ui/views/code_grid_model.h"

#include "files/cp1250.h"
#include "ui/views/code_grid.h"

namespace zx {

CodeGridModel::CodeGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void CodeGridModel::setDeviceModel(DeviceModel model) {
    if (model == model_) return;
    beginResetModel();
    model_ = model;
    endResetModel();
}

int CodeGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CodeGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1 + rightsCells();
}

QVariant CodeGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return text(index.row(), index.column());
}

bool CodeGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole) return false;
    return setText(index.row(), index.column(), value.toString());
}

Qt::ItemFlags CodeGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // Codes are typed in place; rights change by keys, double clicks and the popup.
    if (index.column() == 0) f |= Qt::ItemIsEditable;
    return f;
}

QVariant CodeGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return CodeGrid::rowNumberText(section + 1);
    const QStringList headers = CodeGrid::headerTexts(model_);
    return section + 1 < headers.size() ? headers[section + 1] : QString();
}

QString CodeGridModel::text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column > MaxRightsCells) return {};
    const Row& r = rows_[static_cast<std::size_t>(row)];
    return column == 0 ? r.code : r.rights[static_cast<std::size_t>(column - 1)];
}

bool CodeGridModel::setText(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column > MaxRightsCells) return false;
    Row& r = rows_[static_cast<std::size_t>(row)];
    QString& cell = column == 0 ? r.code : r.rights[static_cast<std::size_t>(column - 1)];
    if (cell != text) {
        cell = text;
        if (column < columnCount()) emit dataChanged(index(row, column), index(row, column));
    }
    return true;
}

CodeGridModel::Row CodeGridModel::toRow(const CodeRowView& view) const {
    Row r;
    r.code = fromCp1250(view.code);
    for (std::size_t c = 0; c < view.rights.size() && c < MaxRightsCells; ++c)
        r.rights[c] =
            QString::fromUtf8(view.rights[c].data(), static_cast<qsizetype>(view.rights[c].size()));
    return r;
}

void CodeGridModel::setRows(const std::vector<CodeRowView>& rows) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(rows.size());
    for (const CodeRowView& view : rows)
        rows_.push_back(toRow(view));
    endResetModel();
}

CodeRowView CodeGridModel::row(int row) const {
    CodeRowView view;
    if (row < 0 || row >= rowCount()) return view;
    const Row& r = rows_[static_cast<std::size_t>(row)];
    view.code = toCp1250(r.code);
    for (int c = 0; c < rightsCells(); ++c)
        view.rights.push_back(r.rights[static_cast<std::size_t>(c)].toStdString());
    return view;
}

std::vector<CodeRowView> CodeGridModel::rows() const {
    std::vector<CodeRowView> out;
    out.reserve(rows_.size());
    for (int r = 0; r < rowCount(); ++r)
        out.push_back(row(r));
    return out;
}

void CodeGridModel::setRow(int row, const CodeRowView& view) {
    if (row < 0 || row >= rowCount()) return;
    rows_[static_cast<std::size_t>(row)] = toRow(view);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void CodeGridModel::resizeRows(int count) {
    count = std::max(count, 0);
    const int now = rowCount();
    if (count > now) {
        beginInsertRows({}, now, count - 1);
        rows_.resize(static_cast<std::size_t>(count));
        endInsertRows();
    } else if (count < now) {
        beginRemoveRows({}, count, now - 1);
        rows_.resize(static_cast<std::size_t>(count));
        endRemoveRows();
    }
}

void CodeGridModel::appendRow(const CodeRowView& view) {
    const int at = rowCount();
    beginInsertRows({}, at, at);
    rows_.push_back(toRow(view));
    endInsertRows();
}

void CodeGridModel::clearTexts() {
    for (Row& r : rows_)
        r = Row{};
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

} // namespace zx
