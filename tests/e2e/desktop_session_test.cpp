// The desktop program started with a database file on its command line, as a file manager
// starts it: the password is asked as by Open and the file's configuration fills the views.
#include "files/connection_settings.h"
#include "files/database_file.h"
#include "model/new_configuration.h"
#include "ui/desktop_session.h"
#include "ui/interaction.h"
#include "ui/main_form.h"
#include "ui/numbers_view.h"
#include "ui/password_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(DesktopSession, AFileOnTheCommandLineIsOpenedWithItsPassword) {
    QTemporaryDir dir;
    DatabaseRecord r;
    applyNewConfiguration(r, DeviceModel::Line4);
    r.setText(DatabaseRecord::Slot::Password, RawText("titok"));
    r.image.set(1676, 8); // LocalLength
    const QString file = dir.filePath("site.vd1");
    ASSERT_TRUE(writeDatabaseFile(file, r, QString()).ok);

    ScriptedInteraction ui;
    ui.dialogHandlers.push_back([](QDialog& d) {
        auto& dialog = static_cast<TPasswordDlg&>(d);
        dialog.Password->setText("titok");
        dialog.btnOK->click();
    });
    DesktopOptions options;
    options.configDir = dir.path();
    options.file = file;
    DesktopSession session(ui);
    QString error;
    ASSERT_TRUE(session.start(options, &error)) << error.toStdString();

    TMainForm& window = session.window();
    EXPECT_EQ(ui.texts(ScriptedInteraction::Kind::Dialog).size(), 1);
    EXPECT_EQ(window.numbersView()->MEloclen->text(), "8");
    EXPECT_EQ(window.statusText(TMainForm::Panel::File), file);
    EXPECT_FALSE(window.document().isModified());
    setConfigDir(QString());
}

} // namespace
} // namespace zx
