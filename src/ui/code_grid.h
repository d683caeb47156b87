#pragma once
// The code table grid. The operator counts its rows and columns with the header row as row 0
// and the row-number column as column 0, so that code n is row n; the accessors below use that
// counting. The header row and the row numbers stay in place while the codes scroll.
#include "model/types.h"

#include <QTableWidget>

namespace zx {

class CodeGrid : public QTableWidget {
    Q_OBJECT
  public:
    explicit CodeGrid(QWidget* parent = nullptr);

    // 6 columns for the 4-line unit (code and four rights), 3 for the 16-line unit (code and
    // one right level); the header texts and column widths follow. Cell texts are kept.
    void setDeviceModel(DeviceModel model);
    DeviceModel deviceModel() const { return model_; }

    int gridRowCount() const { return rowCount() + 1; }
    // At least 2: the header row and one code row.
    void setGridRowCount(int rows);
    int gridColumnCount() const { return columnCount() + 1; }

    // Row 0 gives the header of the column, column 0 the row number as drawn; other cells their
    // text (a 16-line right level is its letter, although the word is drawn).
    QString cell(int column, int row) const;
    // Cells of the header row and of the row-number column are not set.
    void setCell(int column, int row, const QString& text);

    // The row number right-aligned in four characters ("   1", "1000").
    static QString rowNumberText(int row);
    static QStringList headerTexts(DeviceModel model);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    DeviceModel model_ = DeviceModel::Line4;
};

} // namespace zx
