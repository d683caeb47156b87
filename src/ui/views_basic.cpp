// The "Alap" view: SMDR link and record settings, PIN and summer-time switches.
#include "ui/main_form.h"
#include "ui/radio_group.h"
#include "ui/view_helpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace zx;

namespace {

RadioGroup* makeGroup(QWidget* parent, const char* name, const char* title) {
    auto* group = new RadioGroup(QString::fromUtf8(title), parent);
    group->setObjectName(QString::fromUtf8(name));
    return group;
}

} // namespace

QWidget* TMainForm::buildBasicView() {
    auto* sheet = new QWidget;
    auto* grid = new QGridLayout(sheet);

    RGspeed = makeGroup(sheet, "RGspeed", "SMDR sebesség");
    RGspeed->setColumns(2);
    RGbit = makeGroup(sheet, "RGbit", "Paritás");
    RGbit->setItems(toStringList(parityItems()));
    RGmod = makeGroup(sheet, "RGmod", "SMDR mód");
    RG20h = makeGroup(sheet, "RG20h", "20hex alatti karakterek");
    RG20h->setItems(toStringList(twentyHexItems()));
    grid->addWidget(RGspeed, 0, 0);
    grid->addWidget(RGbit, 1, 0);
    grid->addWidget(RGmod, 0, 1);
    grid->addWidget(RG20h, 1, 1);

    auto* fields = new QGridLayout;
    MEcopos = makeEdit(sheet, "MEcopos", 3, 48);
    CBcokar = new QComboBox(sheet);
    CBcokar->setObjectName(QStringLiteral("CBcokar"));
    CBcokar->addItems(toStringList(coWidthItems()));
    MEcallpos = makeEdit(sheet, "MEcallpos", 3, 48);
    MErzk = makeEdit(sheet, "MErzk", 3, 48);
    MEszamz = makeEdit(sheet, "MEszamz", 1, 48);
    lblSzamz = makeLabel(sheet, "lblSzamz", "Számzáró kód:", MEszamz);
    fields->addWidget(makeLabel(sheet, "lblcopos", "CO pozíció:", MEcopos), 0, 0);
    fields->addWidget(MEcopos, 0, 1);
    fields->addWidget(makeLabel(sheet, "lblcokar", "CO karakterszám:", CBcokar), 1, 0);
    fields->addWidget(CBcokar, 1, 1);
    fields->addWidget(makeLabel(sheet, "lblcallpos", "Hívottszám pozíció:", MEcallpos), 2, 0);
    fields->addWidget(MEcallpos, 2, 1);
    fields->addWidget(makeLabel(sheet, "lblrzk", "Rekord záró kód:", MErzk), 3, 0);
    fields->addWidget(MErzk, 3, 1);
    fields->addWidget(lblSzamz, 4, 0);
    fields->addWidget(MEszamz, 4, 1);
    fields->setColumnStretch(2, 1);
    grid->addLayout(fields, 0, 2, 2, 1, Qt::AlignTop);

    chkPinEna = makeCheck(sheet, "chkPinEna", "Pinkód engedélyezés");
    chkDSTena = makeCheck(sheet, "chkDSTena", "Átállás a téli/nyári időszámításra");
    grid->addWidget(chkPinEna, 2, 0, 1, 3);
    grid->addWidget(chkDSTena, 3, 0, 1, 3);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);
    return sheet;
}

void TMainForm::layoutBasicView(DeviceModel model) {
    const bool four = model == DeviceModel::Line4;
    // The speed and mode items differ per model; replacing them leaves no item selected.
    RGspeed->setItems(toStringList(speedItems(model)));
    RGmod->setItems(toStringList(modeItems(model)));
    lblSzamz->setVisible(!four);
    MEszamz->setVisible(!four);
    chkPinEna->setVisible(four);
    chkDSTena->setVisible(four);
}

void TMainForm::refillBasicView(const EditorView& v) {
    RGspeed->setItemIndex(v.speedItem);
    RGbit->setItemIndex(v.parityItem);
    RGmod->setItemIndex(v.modeItem);
    RG20h->setItemIndex(v.twentyHexItem);
    MEcopos->setText(QString::number(v.coPosition));
    MEcallpos->setText(QString::number(v.calledPosition));
    MErzk->setText(QString::number(v.recordTerminator));
    bindOffset(MEcopos, Field::CoPosition);
    bindOffset(MEcallpos, Field::CalledPosition);
    bindOffset(MErzk, Field::RecordTerminator);
    CBcokar->setCurrentIndex(v.coWidthItem);
    if (v.numberTerminator) MEszamz->setText(QString(QChar::fromLatin1(*v.numberTerminator)));
    if (v.pinEnable) chkPinEna->setChecked(*v.pinEnable);
    if (v.dstEnable) chkDSTena->setChecked(*v.dstEnable);
}
