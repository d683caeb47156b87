#include "ui/views/call_in_view.h"

#include "files/cp1250.h"
#include "ui/config_document.h"
#include "ui/views/current_item_delegate.h"
#include "ui/views/view_helpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace zx {

CallInView::CallInView(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : ConfigView(document, interaction, parent) {
    setObjectName(QStringLiteral("TabSheet7"));
    QWidget* sheet = this;
    auto* grid = new QGridLayout(this);
    edBehiv = makeEdit(sheet, "edBehiv", CallInNumberSize, 200);
    chkIntGW = makeCheck(sheet, "chkIntGW", "Behívás külföldi szám esetén");
    chkNatGW = makeCheck(sheet, "chkNatGW", "Behívás belföldi szám esetén");
    lbGW = new QListWidget(sheet);
    lbGW->setObjectName(QStringLiteral("lbGW"));
    for (int j = 0; j < BarredCount; ++j)
        lbGW->addItem(QStringLiteral("??"));
    lbGW->setFixedWidth(80);
    showCurrentItem(lbGW);
    lblNoGW = makeLabel(sheet, "lblNoGW", "Behívásról tiltott körzetszámok:", lbGW);
    edGW = makeEdit(sheet, "edGW", 2, 40);
    lblKorz = makeLabel(sheet, "lblKorz", "Körzetszám:", edGW);
    btnGWAdd = makeButton(sheet, "btnGWAdd", "&Felvesz");
    btnGWDel = makeButton(sheet, "btnGWDel", "&Töröl");

    grid->addWidget(makeLabel(sheet, "lblBehiv", "Behívószám:", edBehiv), 0, 0);
    grid->addWidget(edBehiv, 0, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(chkIntGW, 1, 0, 1, 3);
    grid->addWidget(chkNatGW, 2, 0, 1, 3);
    grid->addWidget(lblNoGW, 3, 0, 1, 3);
    grid->addWidget(lbGW, 4, 0, 4, 1);
    grid->addWidget(lblKorz, 4, 1);
    grid->addWidget(edGW, 4, 2, Qt::AlignLeft);
    grid->addWidget(btnGWAdd, 5, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(btnGWDel, 6, 1, 1, 2, Qt::AlignLeft);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(3, 1);

    // A click selects after it makes the entry current: the field follows either.
    connect(lbGW, &QListWidget::currentRowChanged, this, &CallInView::showArea);
    connect(lbGW, &QListWidget::itemSelectionChanged, this, &CallInView::showArea);
    connect(btnGWAdd, &QPushButton::clicked, this, [this] {
        const auto m = shownModel();
        if (!m) return;
        if (!selectedArea()) return tell(std::string(NoEntrySelectedMessage), lbGW);
        applyBarred(changeBarredEntry(document_.image(), *m, form(), selectedArea(),
                                      toCp1250(edGW->text())));
    });
    connect(btnGWDel, &QPushButton::clicked, this, [this] {
        if (const auto m = shownModel())
            applyBarred(emptyBarredEntry(document_.image(), *m, form(), selectedArea()));
    });
    for (QWidget* control : std::initializer_list<QWidget*>{edBehiv, chkIntGW, chkNatGW, lbGW})
        storeOnLeave(control, [this, control] {
            const auto m = shownModel();
            return !m || store(storeCallIn(document_.image(), *m, form()), control);
        });
}

CallInForm CallInView::form() const {
    CallInForm f;
    f.number = toCp1250(edBehiv->text());
    f.foreign = chkIntGW->isChecked();
    f.domestic = chkNatGW->isChecked();
    for (int j = 0; j < BarredCount; ++j)
        f.barredItems[static_cast<std::size_t>(j)] = toCp1250(lbGW->item(j)->text());
    return f;
}

std::optional<int> CallInView::selectedArea() const {
    const int row = lbGW->currentRow();
    if (row < 0 || !lbGW->item(row)->isSelected()) return std::nullopt;
    return row;
}

void CallInView::applyBarred(const Checked<CallInStore>& result) {
    if (!result) {
        tell(result.message(), edGW);
        return;
    }
    for (int j = 0; j < BarredCount; ++j)
        lbGW->item(j)->setText(fromCp1250(result->shown.barredItems[static_cast<std::size_t>(j)]));
    edGW->setText(fromCp1250(result->areaField));
    if (!result->patch.empty()) document_.apply(result->patch, {.control = "lbGW"});
}

void CallInView::refill(const EditorView& v) {
    ConfigView::refill(v);
    edBehiv->setText(fromCp1250(v.callInNumber));
    chkIntGW->setChecked(v.callInForeign);
    chkNatGW->setChecked(v.callInDomestic);
    for (int j = 0; j < BarredCount; ++j)
        lbGW->item(j)->setText(fromUtf8(v.barredAreas[static_cast<std::size_t>(j)]));
    // The list shows its current entry, and the field holds it, from the start.
    if (lbGW->currentRow() < 0)
        lbGW->setCurrentRow(0);
    else
        showArea();
}

void CallInView::showArea() {
    if (const auto row = selectedArea()) edGW->setText(lbGW->item(*row)->text());
}

} // namespace zx
