// The password dialog of the Open command.
#include "ui/dialogs/password_dialog.h"

#include "scripted_interaction.h"
#include "ui/dialogs/interaction.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

namespace zx {
namespace {

// Types text as the keyboard does, one key event per character (accented letters included).
void type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

TEST(PasswordDialog, OpensEmptyWithTheCursorInThePasswordField) {
    PasswordDialog d;
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Zendrax beléptetö"));
    EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(d.passwordLabel->text(), QString::fromUtf8("Jelszó:"));
    EXPECT_TRUE(d.passwordLabel->font().bold());
    EXPECT_EQ(d.passwordLabel->font().pointSize(), 10);
    EXPECT_EQ(d.btnOK->text(), "&OK");
    EXPECT_EQ(d.btnCancel->text(), QString::fromUtf8("&Mégsem"));
    EXPECT_TRUE(d.btnOK->isDefault());
    EXPECT_EQ(d.Password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(
        d.Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, d.Password),
        '*');
    for (const char* name : {"Label1", "Password", "btnOK", "btnCancel"})
        EXPECT_NE(d.findChild<QWidget*>(name), nullptr) << name;

    d.show();
    EXPECT_EQ(d.password(), "");
    EXPECT_EQ(d.focusWidget(), d.Password);
    type(d.Password, "Titok");
    EXPECT_EQ(d.password(), "Titok");
}

TEST(PasswordDialog, TheTypedTextIsThereWhicheverButtonClosedIt) {
    ScriptedInteraction interaction;
    auto typeThenClick = [](const char* typed, bool ok) {
        return [typed, ok](QDialog& dialog) {
            auto& d = static_cast<PasswordDialog&>(dialog);
            type(d.Password, QString::fromUtf8(typed));
            (ok ? d.btnOK : d.btnCancel)->click();
        };
    };
    PasswordDialog first;
    interaction.dialogHandlers.push_back(typeThenClick("Jelszó ", true));
    EXPECT_EQ(interaction.runDialog(first), QDialog::Accepted);
    EXPECT_EQ(first.password(), QString::fromUtf8("Jelszó "));

    PasswordDialog second;
    interaction.dialogHandlers.push_back(typeThenClick("titok", false));
    EXPECT_EQ(interaction.runDialog(second), QDialog::Rejected);
    EXPECT_EQ(second.password(), "titok");

    PasswordDialog third;
    third.show();
    type(third.Password, "x");
    QTest::keyClick(third.Password, Qt::Key_Return);
    EXPECT_FALSE(third.isVisible());
    EXPECT_EQ(third.result(), QDialog::Accepted);
    EXPECT_EQ(third.password(), "x");
}

} // namespace
} // namespace zx
