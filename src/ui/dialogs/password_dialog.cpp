#include "ui/dialogs/password_dialog.h"

#include "files/database_file.h"
#include "ui/dialogs/dialog_placement.h"
#include "ui/dialogs/interaction.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zx {

namespace {

QFont boldFont(QFont font, int pointSize) {
    font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}

} // namespace

TPasswordDlg::TPasswordDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TPasswordDlg"));
    setWindowTitle(QString::fromUtf8("Zendrax beléptetö"));
    setModal(true);
    setFont(boldFont(font(), 8));

    Label1 = new QLabel(QString::fromUtf8("Jelszó:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(boldFont(font(), 10));
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setEchoMode(QLineEdit::Password);
    Password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    Label1->setBuddy(Password);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QString::fromUtf8("&Mégsem"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(Password);
    column->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormActivate();
}

void TPasswordDlg::FormActivate() {
    Password->setFocus(Qt::OtherFocusReason);
}

QString TPasswordDlg::password() const {
    return Password->text();
}

void TPasswordDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
    if (centred_) return;
    centred_ = true;
    centreOnScreen(*this);
}

bool askPasswordOf(const DatabaseRecord& file, Interaction& interaction, QWidget* parent) {
    TPasswordDlg dialog(parent);
    dialog.FormActivate();
    interaction.runDialog(dialog);
    return passwordMatches(file, dialog.password());
}

} // namespace zx
