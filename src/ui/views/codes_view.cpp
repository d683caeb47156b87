#include "ui/views/codes_view.h"

#include "model/code_table_store.h"
#include "ui/config_document.h"
#include "ui/dialogs/interaction.h"
#include "ui/views/code_grid.h"
#include "ui/views/view_helpers.h"

#include <QItemSelectionModel>
#include <QVBoxLayout>

#include <algorithm>

namespace zx {

CodesView::CodesView(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : ConfigView(document, interaction, parent) {
    setObjectName(QStringLiteral("TabSheet5"));
    auto* column = new QVBoxLayout(this);
    codeGrid = new CodeGrid(this);
    column->addWidget(codeGrid);

    connect(codeGrid, &CodeGrid::edited, this, &CodesView::gridEdited);
    connect(codeGrid, &CodeGrid::entered, this, &CodesView::gridEntered);
    connect(codeGrid, &CodeGrid::left, this, [this] { storeGrid(); });
    connect(codeGrid, &CodeGrid::codeRowsGrown, this, &CodesView::rowsGrown);
    connect(codeGrid, &CodeGrid::lastCodeRowDropped, this, &CodesView::lastRowDropped);
}

void CodesView::layoutFor(DeviceModel model) {
    ConfigView::layoutFor(model);
    codeGrid->setDeviceModel(model);
}

void CodesView::refill(const EditorView& v) {
    ConfigView::refill(v);
    codeGrid->setCodeLength(v.codeLength);
    codeGrid->setRows(v.codes);
    gridChanged_ = false;
    emit codePanelTextChanged(fromUtf8(v.codePanelText()));
    if (const auto note = codeCountOverflowNote(v.codeCount, v.codeLength))
        interaction_.message(this, fromUtf8(*note));
}

bool CodesView::commitPendingEdit() {
    codeGrid->commitOpenEditor();
    return storeGrid();
}

bool CodesView::storesFrom(const QWidget* widget) const {
    return widget == codeGrid || codeGrid->isAncestorOf(widget) || ConfigView::storesFrom(widget);
}

bool CodesView::storeGrid(const std::string& stepName) {
    // Between a model switch and the next refill the cells belong to the previous model.
    const auto model = shownModel();
    if (!gridChanged_ || !model) return true;
    const std::vector<CodeRowView> rows = codeGrid->rows();
    // A code the table cannot hold as typed is refused, not cut: its cell keeps the text and
    // the focus, to be corrected.
    if (const auto refused = codeGridRefusal(document_.image(), *model, rows)) {
        refusedRow_ = refused->row;
        refuse(refused->refusal.message, codeGrid);
        codeGrid->editCode(refusedRow_);
        return false;
    }
    clearRefusal(codeGrid);
    document_.apply(storeCodeGrid(document_.image(), *model, rows), gridChange(stepName));
    emit codePanelTextChanged(codePanelText());
    return true;
}

void CodesView::focusRefusedControl() {
    if (refusedControl() == codeGrid)
        codeGrid->editCode(refusedRow_);
    else
        ConfigView::focusRefusedControl();
}

void CodesView::gridEntered() {
    if (refusedControl() != codeGrid) gridChanged_ = false;
}

ChangeSource CodesView::gridChange(const std::string& stepName) const {
    // Named by the rows it changed, not by the count that follows them.
    return {.name = stepName,
            .control = codeGrid->objectName().toStdString(),
            .namedBy = Field::CodeTable};
}

void CodesView::showRow(int row) {
    codeGrid->setFocus();
    codeGrid->showCodeRow(row);
}

std::vector<CodeRowView> CodesView::rows() const {
    return codeGrid->rows();
}

std::optional<NumberSpan> CodesView::selectedRows() const {
    const QModelIndexList picked = codeGrid->selectionModel()->selectedIndexes();
    if (picked.isEmpty()) return std::nullopt;
    const auto [low, high] = std::minmax_element(
        picked.begin(), picked.end(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return NumberSpan{low->row() + 1, high->row() + 1};
}

void CodesView::selectAllCodes() {
    codeGrid->commitOpenEditor();
    codeGrid->selectAllCodes();
}

void CodesView::showGeneratedCode(int row, const CodeRowView& code) {
    codeGrid->setRow(row, code);
}

void CodesView::focusGrid() {
    codeGrid->setFocus();
}

QString CodesView::codePanelText() const {
    return fromUtf8(codeCountPanelText(codeGrid->codeRowCount(), storedCodeLength()));
}

int CodesView::storedCodeLength() const {
    return document_.image().at(*document_.map().offset(Field::CodeLength));
}

void CodesView::gridEdited() {
    // The configuration counts as modified once the store has changed a byte of the table;
    // closing and every command that reads the configuration store the grid first.
    gridChanged_ = true;
}

void CodesView::rowsGrown(int codeRows) {
    const auto model = shownModel();
    if (!model) return;
    // The new row is counted at once; its record is written by the next store.
    document_.apply(codeCountPatch(document_.image(), *model, codeRows), gridChange({}));
    emit codePanelTextChanged(codePanelText());
}

void CodesView::lastRowDropped(int codeRows) {
    const auto model = shownModel();
    if (!model) return;
    // The dropped code leaves the count too, so neither the store nor the next refill brings
    // it back.
    document_.apply(droppedRowPatch(document_.image(), *model, codeRows), gridChange({}));
    emit codePanelTextChanged(codePanelText());
}

} // namespace zx
