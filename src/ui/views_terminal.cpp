// The "Terminál" page: connecting by hand, dialling, transparent mode, clock setting and the
// terminal pane below them.
#include "ui/main_form.h"
#include "ui/view_helpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace zx;

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    return button;
}

} // namespace

QWidget* TMainForm::buildTerminalView() {
    auto* sheet = new QWidget;
    terminalLayout_ = new QVBoxLayout(sheet);
    auto* bar = new QHBoxLayout;
    btnConnect = makeButton(sheet, "btnConnect", "Ka&pcsolódás");
    btnConnect->setCheckable(true);
    btnTransp = makeButton(sheet, "btnTransp", "Transzp. Be");
    btnTransp->setCheckable(true);
    btnTransp->setEnabled(false);
    btnSync = makeButton(sheet, "btnSync", "Dátum/Idő szinkronizálás");
    edPhone = makeEdit(sheet, "edPhone", 0, 140);
    btnDial = makeButton(sheet, "btnDial", "&Tárcsáz");
    btnDial->setEnabled(false);
    bar->addWidget(btnConnect);
    bar->addWidget(btnTransp);
    bar->addWidget(btnSync);
    bar->addSpacing(12);
    bar->addWidget(makeLabel(sheet, "lblPhone", "Telefonszám:", edPhone));
    bar->addWidget(edPhone);
    bar->addWidget(btnDial);
    bar->addStretch(1);
    terminalLayout_->addLayout(bar);

    ComTerminal1 = new QWidget(sheet);
    ComTerminal1->setObjectName(QStringLiteral("ComTerminal1"));
    terminalLayout_->addWidget(ComTerminal1, 1);
    return sheet;
}

void TMainForm::setTerminalWidget(QWidget* terminal) {
    terminal->setObjectName(QStringLiteral("ComTerminal1"));
    delete terminalLayout_->replaceWidget(ComTerminal1, terminal);
    delete ComTerminal1;
    ComTerminal1 = terminal;
}
