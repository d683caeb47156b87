#pragma once
// The code table grid (StringGrid1). The operator counts its rows and columns with the header
// row as row 0 and the row-number column as column 0, so that code n is row n; the accessors
// below use that counting. The header row and the row numbers stay in place while the codes
// scroll.
//
// Everything the operator does inside the grid is handled here: codes are typed in column 1
// (digits only, cut to CodeLength - 1 with the cursor moving on to the rights), rights change
// by the I/N keys, Space and double clicks on one cell and by the popup menu (right click,
// Shift+F10, the Menu key) on a block of rows, chosen by Shift with the arrows or a click, or
// by a drag; the Down arrow on the last row adds a row, Ctrl+Delete there removes it.
// Ctrl+Tab and Ctrl+Shift+Tab are left to the pages around the grid. The grid does not touch the
// image: it tells its owner through its signals, and the owner stores.
#include "model/code_record.h"
#include "model/code_rights.h"
#include "model/types.h"

#include <QPointer>
#include <QTableView>

#include <optional>
#include <utility>
#include <vector>

class QMenu;
#include <QLineEdit>

namespace zx {

class CodeGridModel;

class CodeGrid : public QTableView {
    Q_OBJECT
  public:
    explicit CodeGrid(QWidget* parent = nullptr);
    ~CodeGrid() override;

    // 6 columns for the 4-line unit (code and four rights), 3 for the 16-line unit (code and
    // one right level); the header texts and column widths follow. Cell texts are kept.
    void setDeviceModel(DeviceModel model);
    DeviceModel deviceModel() const;

    // CodeLength in force (digits + 1): the longest code typed, and how far the grid grows.
    void setCodeLength(int codeLength) { codeLength_ = codeLength; }
    int codeLength() const { return codeLength_; }

    int gridRowCount() const { return codeRowCount() + 1; }
    // At least 2: the header row and one code row. Rows added are empty.
    void setGridRowCount(int rows);
    int gridColumnCount() const;
    int codeRowCount() const;

    // Row 0 gives the header of the column, column 0 the row number as drawn; other cells their
    // text (a 16-line right level is its letter, although the word is drawn).
    QString cell(int column, int row) const;
    // Cells of the header row and of the row-number column are not set.
    void setCell(int column, int row, const QString& text);
    // Every cell text emptied; the number of rows stays.
    void clearContents();

    // Every code row replaced in one step (the refill); at least one row remains.
    void setRows(const std::vector<CodeRowView>& rows);
    // The code rows, row 1 first, as the store and the code files take them.
    std::vector<CodeRowView> rows() const;
    // One code row (1-based), as code generation fills them.
    void setRow(int row, const CodeRowView& view);

    // "Mind kijelöl": the rights column of every code row selected, the cursor on the last row.
    void selectAllCodes();
    // A popup command on every row from the top to the bottom of the selection.
    void applyRightsCommand(RightsCommand command);
    // Code row `row` (from 1, kept within the rows) current, its code selected and in sight.
    void showCodeRow(int row);
    // The code cell of row `row` (from 1) opened for typing, with the focus and its text.
    void editCode(int row);

    QMenu* popupMenu() const { return popup_; }
    CodeGridModel* gridModel() const { return model_; }

    // The row number right-aligned in four characters ("   1", "1000").
    static QString rowNumberText(int row);
    static QStringList headerTexts(DeviceModel model);

    // The in-place editor's text changed (its delegate calls this).
    void codeTextEdited(QLineEdit* editor, const QString& text);
    // The delegate made an in-place editor.
    void editorOpened(QLineEdit* editor) { openEditor_ = editor; }
    // A code still being typed goes into its cell as Enter would put it there, and the editor
    // closes; the focus stays in the grid. Nothing happens when no editor is open.
    void commitOpenEditor();

  public slots:
    void selectAll() override { selectAllCodes(); }

  signals:
    // A cell was changed by the operator (gridChanged_ is to be set).
    void edited();
    // The focus came into the grid from elsewhere in its window (gridChanged_ is cleared).
    void entered();
    // The focus went from the grid to another control of its window (the grid is stored).
    void left();
    // The Down arrow added a row; the grid now has codeRows code rows (CodeCount follows).
    void codeRowsGrown(int codeRows);
    // Ctrl+Delete removed the last row; codeRows code rows are left (CodeCount follows).
    void lastCodeRowDropped(int codeRows);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildPopup();
    void followFocus(QWidget* now);
    void useSelectionFor(int modelColumn);
    // Whether some cell of the row (counted from 0) is selected.
    bool rowSelected(int modelRow) const;
    void setRightCell(const QModelIndex& index, const QString& text);
    // A character typed on a rights cell: "I" sets "Igen", "N" sets "Nem" (a 16-line level reads
    // it as its letter), a blank steps the right as the double click does; others do nothing.
    void typeIntoRightCell(const QModelIndex& index, QChar typed);
    // A rights cell steps as under the double click.
    void stepRight(const QModelIndex& index);
    // The popup under the cursor's cell (Shift+F10, the Menu key).
    void openPopupAtCursor();
    bool onLastRow() const;

    CodeGridModel* model_;
    QMenu* popup_ = nullptr;
    int codeLength_ = 7;
    bool focusInside_ = false;
    QMetaObject::Connection focusWatch_;
    QPointer<QLineEdit> openEditor_;
    std::optional<std::pair<int, int>> cursorBeforeReset_; // row and column
};

} // namespace zx
