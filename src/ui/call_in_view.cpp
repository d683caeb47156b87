#include "ui/call_in_view.h"

#include "files/cp1250.h"
#include "ui/view_helpers.h"

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
    edBehiv = makeEdit(sheet, "edBehiv", 24, 200);
    chkIntGW = makeCheck(sheet, "chkIntGW", "Behívás külföldi szám esetén");
    chkNatGW = makeCheck(sheet, "chkNatGW", "Behívás belföldi szám esetén");
    lbGW = new QListWidget(sheet);
    lbGW->setObjectName(QStringLiteral("lbGW"));
    for (int j = 0; j < BarredCount; ++j)
        lbGW->addItem(QStringLiteral("??"));
    lbGW->setFixedWidth(80);
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
}

void CallInView::refill(const EditorView& v) {
    ConfigView::refill(v);
    edBehiv->setText(fromCp1250(v.callInNumber));
    chkIntGW->setChecked(v.callInForeign);
    chkNatGW->setChecked(v.callInDomestic);
    for (int j = 0; j < BarredCount; ++j)
        lbGW->item(j)->setText(fromUtf8(v.barredAreas[static_cast<std::size_t>(j)]));
}

} // namespace zx
