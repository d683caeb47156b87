#include "ui/free_numbers_view.h"

#include "files/cp1250.h"
#include "model/free_number_table.h"
#include "ui/config_document.h"
#include "ui/view_helpers.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace zx {

FreeNumbersView::FreeNumbersView(ConfigDocument& document, Interaction& interaction,
                                 QWidget* parent)
    : ConfigView(document, interaction, parent) {
    setObjectName(QStringLiteral("TabSheet6"));
    QWidget* sheet = this;
    auto* grid = new QGridLayout(this);
    Label34 = makeLabel(sheet, "Label34", "Kód nélkül hívható számok");
    lbFreeCall = new QListWidget(sheet);
    lbFreeCall->setObjectName(QStringLiteral("lbFreeCall"));
    lbFreeCall->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont listFont(QStringLiteral("MS Sans Serif"));
    listFont.setPointSize(8);
    lbFreeCall->setFont(listFont);
    lbFreeCall->setFixedWidth(200);
    MEfreecall = makeEdit(sheet, "MEfreecall", 16, 160);
    BTNfreejav = new QPushButton(QStringLiteral("&Javítás"), sheet);
    BTNfreejav->setObjectName(QStringLiteral("BTNfreejav"));
    BTNfreejav->setEnabled(false);
    BTNujszam1 = new QPushButton(QStringLiteral("&Uj szám"), sheet);
    BTNujszam1->setObjectName(QStringLiteral("BTNujszam1"));
    BTNfreedel = new QPushButton(QString::fromUtf8("&Törlés"), sheet);
    BTNfreedel->setObjectName(QStringLiteral("BTNfreedel"));
    BTNfreedel->setEnabled(false);
    Label50 = makeLabel(sheet, "Label50", "Bejegyzés:");

    grid->addWidget(Label34, 0, 0, 1, 2);
    grid->addWidget(lbFreeCall, 1, 0, 6, 1);
    grid->addWidget(MEfreecall, 1, 1, Qt::AlignLeft);
    grid->addWidget(BTNujszam1, 2, 1, Qt::AlignLeft);
    grid->addWidget(BTNfreejav, 3, 1, Qt::AlignLeft);
    grid->addWidget(BTNfreedel, 4, 1, Qt::AlignLeft);
    grid->addWidget(Label50, 5, 1, Qt::AlignLeft);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);
}

void FreeNumbersView::refill(const EditorView& v) {
    ConfigView::refill(v);
    lbFreeCall->clear();
    for (const RawText& entry : v.freeNumbers)
        lbFreeCall->addItem(fromCp1250(entry));
}

void FreeNumbersView::StoreFreeNumbers() {
    std::vector<RawText> entries;
    entries.reserve(static_cast<std::size_t>(lbFreeCall->count()));
    for (int i = 0; i < lbFreeCall->count(); ++i)
        entries.push_back(toCp1250(lbFreeCall->item(i)->text()));
    // The commands that changed the list have set the flag already.
    document_.apply(freeNumbersPatch(document_.model(), entries), ConfigDocument::Flag::Keep);
}

} // namespace zx
