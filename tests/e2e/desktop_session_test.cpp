// The desktop program started with a database file on its command line, as a file manager
// starts it: the password is asked as by Open and the file's configuration fills the views.
#include "files/connection_settings.h"
#include "files/database_file.h"
#include "model/new_configuration.h"
#include "ui/desktop_session.h"
#include "ui/dialogs/interaction.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/main_window.h"
#include "ui/views/code_grid.h"
#include "ui/views/codes_view.h"
#include "ui/views/numbers_view.h"
#include "widget_lookup.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "../ui/pdf_text.h"
#include "scripted_interaction.h"
#include "status_panel_text.h"

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
        auto& dialog = static_cast<PasswordDialog&>(d);
        dialog.Password->setText("titok");
        dialog.btnOK->click();
    });
    DesktopOptions options;
    options.configDir = dir.path();
    options.file = file;
    DesktopSession session(ui);
    QString error;
    ASSERT_TRUE(session.start(options, &error)) << error.toStdString();
    session.window().viewPages->buildAll(); // as after the window's first paint

    MainWindow& window = session.window();
    EXPECT_EQ(ui.texts(ScriptedInteraction::Kind::Dialog).size(), 1);
    EXPECT_EQ(zx::childNamed<QLineEdit>(window, "MEloclen")->text(), "8");
    EXPECT_EQ(zx::statusPanelText(window, MainWindow::Panel::File), file);
    EXPECT_FALSE(window.document().isModified());
    setConfigDir(QString());
}

TEST(DesktopSession, StartingWithTheSixteenLineModelShowsItsNewConfigurationAndNoNote) {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    DesktopOptions options;
    options.configDir = dir.path();
    options.model = DeviceModel::Line16;
    DesktopSession session(ui);
    QString error;
    ASSERT_TRUE(session.start(options, &error)) << error.toStdString();
    session.window().viewPages->buildAll(); // as after the window's first paint
    EXPECT_EQ(session.window().document().model(), DeviceModel::Line16);
    EXPECT_EQ(session.window().document().image().at(1675), '1'); // 16-line SmdrSpeed default
    EXPECT_TRUE(ui.shown.isEmpty()) << "the 4-line bytes were never shown through the 16-line map";
    setConfigDir(QString());
}

TEST(DesktopSession, PrintingTheCodePageReadsTheGridItsSelectionAndTheFileName) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    ScriptedInteraction ui;
    DesktopOptions options;
    options.configDir = dir.path();
    DesktopSession session(ui);
    QString error;
    ASSERT_TRUE(session.start(options, &error)) << error.toStdString();
    session.window().viewPages->buildAll(); // as after the window's first paint
    MainWindow& window = session.window();
    window.document().markSaved(QStringLiteral("/adat/iroda.vd1"));
    window.showView(4);
    CodeGrid* grid = zx::childNamed<zx::CodeGrid>(window, "StringGrid1");
    grid->setRows({{RawText("1111"), allRights(DeviceModel::Line4)},
                   {RawText("2222"), allRights(DeviceModel::Line4)},
                   {RawText("3333"), allRights(DeviceModel::Line4)}});
    grid->selectionModel()->select(
        QItemSelection(grid->model()->index(1, 1), grid->model()->index(2, 1)),
        QItemSelectionModel::ClearAndSelect);

    const QString pdf = dir.filePath("codes.pdf");
    ui.dialogHandlers.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<QPrintDialog&>(d);
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(pdf);
        dialog.setPrintRange(QAbstractPrintDialog::Selection);
        dialog.done(QDialog::Accepted);
    });
    ui.dialogHandlers.push_back([](QDialog& d) { d.accept(); }); // the preview
    window.menu().print->trigger();
    const QString text = pdfPages(pdf).join('\f');
    EXPECT_TRUE(text.contains("/adat/iroda.vd1"));
    EXPECT_FALSE(text.contains("1111"));
    EXPECT_TRUE(text.contains("2222"));
    EXPECT_TRUE(text.contains("3333"));
    setConfigDir(QString());
}

} // namespace
} // namespace zx
