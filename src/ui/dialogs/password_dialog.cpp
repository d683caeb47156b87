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

PasswordDialog::PasswordDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TPasswordDlg"));
    setWindowTitle(QString::fromUtf8("Zendrax beléptetö"));
    setModal(true);
    setFont(boldFont(font(), 8));

    passwordLabel = new QLabel(QString::fromUtf8("Jelszó:"), this);
    passwordLabel->setObjectName(QStringLiteral("Label1"));
    passwordLabel->setFont(boldFont(font(), 10));
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setEchoMode(QLineEdit::Password);
    Password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    passwordLabel->setBuddy(Password);
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
    column->addWidget(passwordLabel);
    column->addWidget(Password);
    column->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    prepareFields();
}

void PasswordDialog::prepareFields() {
    Password->setFocus(Qt::OtherFocusReason);
}

QString PasswordDialog::password() const {
    return Password->text();
}

void PasswordDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    prepareFields();
    if (centred_) return;
    centred_ = true;
    centreOnScreen(*this);
}

bool askPasswordOf(const DatabaseRecord& file, Interaction& interaction, QWidget* parent) {
    PasswordDialog dialog(parent);
    dialog.prepareFields();
    interaction.runDialog(dialog);
    return passwordMatches(file, dialog.password());
}

} // namespace zx
