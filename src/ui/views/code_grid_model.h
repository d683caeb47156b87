#pragma once
// The rows of the code grid as a table model: column 0 the code, then the rights cells (four
// "Igen"/"Nem" cells of the 4-line unit, or the level letter of the 16-line unit). The header
// row and the row numbers are the model's header data. Cell texts are kept across a change of
// the unit model; only the number of columns shown follows it.
#include "model/code_record.h"
#include "model/types.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

namespace zx {

class CodeGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int MaxRightsCells = 4;

    explicit CodeGridModel(QObject* parent = nullptr);

    void setDeviceModel(DeviceModel model);
    DeviceModel deviceModel() const { return model_; }
    int rightsCells() const { return model_ == DeviceModel::Line4 ? 4 : 1; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Cell text by model row and column (column 0 the code); empty outside the table.
    QString text(int row, int column) const;
    // Sets one cell; false (and nothing changed) outside the table.
    bool setText(int row, int column, const QString& text);

    // Every row replaced at once (the refill), rights taken as the unit model shows them.
    void setRows(const std::vector<CodeRowView>& rows);
    // The rows as the store and the files take them: the code's Windows-1250 bytes and the
    // rights cells of the current unit model.
    std::vector<CodeRowView> rows() const;
    CodeRowView row(int row) const;
    void setRow(int row, const CodeRowView& view);

    // Rows added at the end are empty; rows removed from the end are gone.
    void resizeRows(int count);
    void appendRow(const CodeRowView& view);
    void clearTexts();

  private:
    struct Row {
        QString code;
        std::array<QString, MaxRightsCells> rights;
    };
    Row toRow(const CodeRowView& view) const;

    DeviceModel model_ = DeviceModel::Line4;
    std::vector<Row> rows_;
};

} // namespace zx
