#include "ui/views/basic_view.h"

#include "files/cp1250.h"
#include "model/code_table_shape.h"
#include "model/editor_store.h"
#include "ui/config_document.h"
#include "ui/dialogs/interaction.h"
#include "ui/views/radio_group.h"
#include "ui/views/view_helpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace zx {

BasicView::BasicView(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : ConfigView(document, interaction, parent) {
    setObjectName(QStringLiteral("TabSheet1"));
    auto* grid = new QGridLayout(this);

    RGspeed = makeGroup(this, "RGspeed", "SMDR sebesség");
    RGspeed->setColumns(2);
    RGbit = makeGroup(this, "RGbit", "Paritás");
    RGbit->setItems(toStringList(parityItems()));
    RGmod = makeGroup(this, "RGmod", "SMDR mód");
    RG20h = makeGroup(this, "RG20h", "20hex alatti karakterek");
    RG20h->setItems(toStringList(twentyHexItems()));
    grid->addWidget(RGspeed, 0, 0);
    grid->addWidget(RGbit, 1, 0);
    grid->addWidget(RGmod, 0, 1);
    grid->addWidget(RG20h, 1, 1);

    auto* fields = new QGridLayout;
    MEcopos = makeEdit(this, "MEcopos", 3, 48);
    CBcokar = new QComboBox(this);
    CBcokar->setObjectName(QStringLiteral("CBcokar"));
    CBcokar->addItems(toStringList(coWidthItems()));
    MEcallpos = makeEdit(this, "MEcallpos", 3, 48);
    MErzk = makeEdit(this, "MErzk", 3, 48);
    MEszamz = makeEdit(this, "MEszamz", 1, 48);
    lblSzamz = makeLabel(this, "lblSzamz", "Számzáró kód:", MEszamz);
    fields->addWidget(makeLabel(this, "lblcopos", "CO pozíció:", MEcopos), 0, 0);
    fields->addWidget(MEcopos, 0, 1);
    fields->addWidget(makeLabel(this, "lblcokar", "CO karakterszám:", CBcokar), 1, 0);
    fields->addWidget(CBcokar, 1, 1);
    fields->addWidget(makeLabel(this, "lblcallpos", "Hívottszám pozíció:", MEcallpos), 2, 0);
    fields->addWidget(MEcallpos, 2, 1);
    fields->addWidget(makeLabel(this, "lblrzk", "Rekord záró kód:", MErzk), 3, 0);
    fields->addWidget(MErzk, 3, 1);
    fields->addWidget(lblSzamz, 4, 0);
    fields->addWidget(MEszamz, 4, 1);
    fields->setColumnStretch(2, 1);
    grid->addLayout(fields, 0, 2, 2, 1, Qt::AlignTop);

    chkPinEna = makeCheck(this, "chkPinEna", "Pinkód engedélyezés");
    chkDSTena = makeCheck(this, "chkDSTena", "Átállás a téli/nyári időszámításra");
    grid->addWidget(chkPinEna, 2, 0, 1, 3);
    grid->addWidget(chkDSTena, 3, 0, 1, 3);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);

    bindEdit(MEcopos, Field::CoPosition);
    bindEdit(MEcallpos, Field::CalledPosition);

    const auto speed = [this] {
        const auto m = shownModel();
        return !m ||
               store(storeSpeedAndParity(*m, RGspeed->itemIndex(), RGbit->itemIndex()), RGspeed);
    };
    const auto mode = [this] {
        const auto m = shownModel();
        return !m || store(storeMode(*m, RGmod->itemIndex(), RG20h->itemIndex()), RGmod);
    };
    for (RadioGroup* g : {RGspeed, RGbit}) {
        connect(g, &RadioGroup::itemClicked, this, speed);
        storeOnLeave(g, speed);
    }
    for (RadioGroup* g : {RGmod, RG20h}) {
        connect(g, &RadioGroup::itemClicked, this, mode);
        storeOnLeave(g, mode);
    }
    storeOnLeave(CBcokar, [this] {
        const auto m = shownModel();
        return !m || storeCoWidthChoice(*m);
    });
    storeOnLeave(MErzk, [this] {
        const auto m = shownModel();
        return !m || store(storeRecordTerminator(*m, MErzk->text().toStdString()), MErzk);
    });
    storeOnLeave(MEszamz, [this] {
        const auto m = shownModel();
        return !m || store(storeNumberTerminator(*m, toCp1250(MEszamz->text())), MEszamz);
    });
    for (QCheckBox* box : {chkPinEna, chkDSTena})
        storeOnLeave(box, [this, box] {
            const auto m = shownModel();
            return !m ||
                   store(storePinAndSummerTime(*m, chkPinEna->isChecked(), chkDSTena->isChecked()),
                         box);
        });
}

bool BasicView::storeCoWidthChoice(DeviceModel model) {
    const int item = CBcokar->currentIndex();
    const int shownItem = decodeForEditors(document_.image(), model).coWidthItem;
    // The width as shown stores as it did: a stored width no item offers becomes the one shown,
    // and the numbers read with it stay as they are.
    if (item < 0 || item == shownItem) return store(storeCoWidth(model, item), CBcokar);
    const MemoryMap& map = MemoryMap::of(model);
    const auto cut = static_cast<int>(coNumbersCutBy(document_.image(), map, item + 1).size());
    if (cut > 0 && interaction_.askYesNo(this, QStringLiteral("Zendrax"),
                                         QString::fromStdString(coNumbersShorterQuestion(cut))) !=
                       Interaction::Answer::Yes) {
        CBcokar->setCurrentIndex(shownItem);
        return true;
    }
    return store(coWidthPatch(document_.image(), map, item + 1), CBcokar);
}

void BasicView::focusSpeedChoice() {
    RGspeed->setFocus();
}

void BasicView::layoutFor(DeviceModel model) {
    ConfigView::layoutFor(model);
    const bool four = model == DeviceModel::Line4;
    // The speed and mode items differ per model; replacing them leaves no item selected.
    RGspeed->setItems(toStringList(speedItems(model)));
    RGmod->setItems(toStringList(modeItems(model)));
    lblSzamz->setVisible(!four);
    MEszamz->setVisible(!four);
    chkPinEna->setVisible(four);
    chkDSTena->setVisible(four);
}

void BasicView::refill(const EditorView& v) {
    ConfigView::refill(v);
    RGspeed->setItemIndex(v.speedItem);
    RGbit->setItemIndex(v.parityItem);
    RGmod->setItemIndex(v.modeItem);
    RG20h->setItemIndex(v.twentyHexItem);
    MEcopos->setText(QString::number(v.coPosition));
    MEcallpos->setText(QString::number(v.calledPosition));
    MErzk->setText(QString::number(v.recordTerminator));
    CBcokar->setCurrentIndex(v.coWidthItem);
    if (v.numberTerminator) MEszamz->setText(QString(QChar::fromLatin1(*v.numberTerminator)));
    if (v.pinEnable) chkPinEna->setChecked(*v.pinEnable);
    if (v.dstEnable) chkDSTena->setChecked(*v.dstEnable);
}

} // namespace zx
