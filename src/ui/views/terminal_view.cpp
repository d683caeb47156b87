#include "ui/views/terminal_view.h"

#include "ui/terminal/terminal_widget.h"
#include "ui/views/view_helpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zx {

TerminalView::TerminalView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet8"));
    layout_ = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    btnConnect = makeButton(this, "btnConnect", "Ka&pcsolódás");
    btnConnect->setCheckable(true);
    btnTransp = makeButton(this, "btnTransp", "Transzp. Be");
    btnTransp->setCheckable(true);
    btnTransp->setEnabled(false);
    btnSync = makeButton(this, "btnSync", "Dátum/Idő szinkronizálás");
    edPhone = makeEdit(this, "edPhone", 0, 140);
    btnDial = makeButton(this, "btnDial", "&Tárcsáz");
    btnDial->setEnabled(false);
    bar->addWidget(btnConnect);
    bar->addWidget(btnTransp);
    bar->addWidget(btnSync);
    bar->addSpacing(12);
    bar->addWidget(makeLabel(this, "lblPhone", "Telefonszám:", edPhone));
    bar->addWidget(edPhone);
    bar->addWidget(btnDial);
    bar->addStretch(1);
    layout_->addLayout(bar);
    // One line, there even when empty, so that a note never moves the pane.
    lblTermNote = new QLabel(this);
    lblTermNote->setObjectName(QStringLiteral("lblTermNote"));
    lblTermNote->setFixedHeight(lblTermNote->fontMetrics().height());
    lblTermNote->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout_->addWidget(lblTermNote);

    connect(btnSync, &QPushButton::clicked, this, &TerminalView::syncClicked);

    terminalPane = new QWidget(this);
    terminalPane->setObjectName(QStringLiteral("ComTerminal1"));
    layout_->addWidget(terminalPane, 1);
}

TerminalPageWidgets TerminalView::setTerminalWidget(TerminalPane* terminal) {
    terminal->setObjectName(QStringLiteral("ComTerminal1"));
    delete layout_->replaceWidget(terminalPane, terminal);
    delete terminalPane;
    terminalPane = terminal;
    return {btnConnect, btnTransp, btnDial, edPhone, terminal, lblTermNote};
}

void TerminalView::setPhone(const QString& phone) {
    edPhone->setText(phone);
}

void TerminalView::setSyncEnabled(bool enabled) {
    btnSync->setEnabled(enabled);
}

void TerminalView::focusTerminal() {
    terminalPane->setFocus();
}

} // namespace zx
