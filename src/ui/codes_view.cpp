#include "ui/codes_view.h"

#include "files/cp1250.h"
#include "ui/code_grid.h"
#include "ui/view_helpers.h"

#include <QVBoxLayout>

namespace zx {

CodesView::CodesView(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : ConfigView(document, interaction, parent) {
    setObjectName(QStringLiteral("TabSheet5"));
    auto* column = new QVBoxLayout(this);
    StringGrid1 = new CodeGrid(this);
    column->addWidget(StringGrid1);
}

void CodesView::layoutFor(DeviceModel model) {
    ConfigView::layoutFor(model);
    StringGrid1->setDeviceModel(model);
}

void CodesView::refill(const EditorView& v) {
    ConfigView::refill(v);
    StringGrid1->setUpdatesEnabled(false);
    StringGrid1->clearContents();
    StringGrid1->setGridRowCount(static_cast<int>(v.codes.size()) + 1);
    for (std::size_t r = 0; r < v.codes.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        StringGrid1->setCell(1, row, fromCp1250(v.codes[r].code));
        for (std::size_t c = 0; c < v.codes[r].rights.size(); ++c)
            StringGrid1->setCell(static_cast<int>(c) + 2, row, fromUtf8(v.codes[r].rights[c]));
    }
    StringGrid1->setUpdatesEnabled(true);
}

} // namespace zx
