#pragma once
// The "Kódok" view: the code table grid, the working copy of the code table. The operator's
// edits stay in the grid until the store (storeGrid) writes it into the image: when the
// focus leaves the grid, and when a command that needs the image complete calls it (save,
// upload, exports, print, the bulk commands after filling the grid).
#include "model/code_record.h"
#include "model/report_text.h"
#include "ui/config_document.h"
#include "ui/views/config_view.h"

#include <optional>
#include <string>
#include <vector>

namespace zx {

class CodeGrid;

class CodesView : public ConfigView {
    Q_OBJECT
  public:
    CodesView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void layoutFor(DeviceModel model) override;
    // Shows the stored codes (as many as the table holds; a CodeCount beyond that is told once)
    // and takes the stored CodeLength for typing and growing. The grid then holds what the image
    // holds, so gridChanged_ is cleared.
    void refill(const EditorView& v) override;
    // The commit step's part: a code still being typed goes into its cell, then the grid is
    // stored.
    bool commitPendingEdit() override;
    bool storesFrom(const QWidget* widget) const override;
    // A refused code's cell opened again with its text.
    void focusRefusedControl() override;

    // The store: while gridChanged_ is set, writes every grid row into the code table and
    // raises CodeCount to the rows when the grid holds more, as one step of the undo history
    // (named by the rows it changed, or stepName); marks the configuration modified when a byte
    // changed. gridChanged_ stays set, so a later call writes the grid again. A code that breaks
    // the code rule (codeGridRefusal) is refused with its row and value: nothing is written,
    // and its cell is opened again with the text as typed; false then.
    bool storeGrid(const std::string& stepName = {});
    // The focus came into the grid: nothing in it is changed yet, unless a code of it was just
    // refused and is still to be corrected.
    void gridEntered();

    // Status panel 1 for the grid as it stands: code rows "/" code digits ("25/6").
    QString codePanelText() const;

    // The code rows as the grid shows them, row 1 first.
    std::vector<CodeRowView> rows() const;
    // The rows (1-based, first to last) of the block the operator selected, if any.
    std::optional<NumberSpan> selectedRows() const;
    // "Mind kijelöl": a code still being typed goes into its cell, then the rights column of
    // every code row is selected with the cursor on the last row.
    void selectAllCodes();
    // Code generation puts a code into row `row` (1-based) as it goes.
    void showGeneratedCode(int row, const CodeRowView& code);
    void focusGrid();
    // The grid with the focus and code row `row` (from 1) current and selected, in sight.
    void showRow(int row);

    // gridChanged_: set by every edit in the grid, and by the commands that fill it in bulk
    // before they call the store; the store writes the grid only while it is set.
    void markGridChanged() { gridChanged_ = true; }

  signals:
    // Status panel 1 is to show this text.
    void codePanelTextChanged(const QString& text);

  private:
    CodeGrid* codeGrid;
    bool gridChanged_ = false;
    int refusedRow_ = 0; // the code row whose code was refused last

    void gridEdited();
    ChangeSource gridChange(const std::string& stepName) const;
    void rowsGrown(int codeRows);
    void lastRowDropped(int codeRows);
    int storedCodeLength() const;
};

} // namespace zx
