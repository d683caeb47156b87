// The configuration check in the window: F7 lists the findings and takes the operator to one,
// and an upload of a configuration with errors asks first; the program as it starts, against a
// simulated unit on a pseudo-terminal.
#include "code_table_fixture.h"
#include "files/connection_settings.h"
#include "link/served_unit.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"
#include "scripted_interaction.h"
#include "ui/commands/transfer_commands.h"
#include "ui/desktop_session.h"
#include "ui/dialogs/findings_dialog.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/views/codes_view.h"

#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "widget_lookup.h"

namespace zx {
namespace {

using Answer = Interaction::Answer;
using Kind = ScriptedInteraction::Kind;

ConfigImage withCodes(const std::vector<std::string>& codes) {
    return fourLineRecordWithCodes(codes).image;
}

class WindowConfigurationCheck : public ::testing::Test {
  protected:
    void TearDown() override {
        session.reset();
        unit.reset();
        setConfigDir(QString());
    }
    // The window shows `image`, its unit waiting on the line.
    void start(const ConfigImage& image) {
        unit = std::make_unique<ServedUnit>(DeviceModel::Line4, ConfigImage{});
        QString error;
        ASSERT_TRUE(unit->start(&error)) << error.toStdString();
        setConfigDir(dir.path());
        ConnectionState state;
        state.portName = unit->devicePath();
        ASSERT_TRUE(writeConnectionSettings(state));
        DesktopOptions options;
        options.configDir = dir.path();
        session = std::make_unique<DesktopSession>(ui);
        ASSERT_TRUE(session->start(options, &error)) << error.toStdString();
        window().document().replaceImage(image);
        window().refill();
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    }
    MainWindow& window() { return session->window(); }

    QTemporaryDir dir;
    ScriptedInteraction ui;
    std::unique_ptr<ServedUnit> unit;
    std::unique_ptr<DesktopSession> session;
};

TEST_F(WindowConfigurationCheck, F7ListsADuplicateCodeAndEnterSelectsItsGridRow) {
    start(withCodes({"1234", "5678", "1234"}));
    QStringList places;
    ui.dialogHandlers.push_back([&places](QDialog& d) {
        auto* list = childNamed<QTableWidget>(d, "tbFindings");
        for (int row = 0; row < list->rowCount(); ++row)
            places << list->item(row, 0)->text() + ' ' + list->item(row, 1)->text();
        d.show();
        list->setCurrentCell(1, 3);
        QTest::keyClick(list, Qt::Key_Return);
    });
    QTest::keyClick(&window(), Qt::Key_F7);

    EXPECT_EQ(ui.texts(Kind::Dialog), QStringList{QStringLiteral("TCheck")});
    EXPECT_EQ(places, (QStringList{QString::fromUtf8("hiba Kódok / 1. sor"),
                                   QString::fromUtf8("hiba Kódok / 3. sor")}));
    EXPECT_EQ(window().currentView(), PageOrder::CodesPage);
    EXPECT_EQ(window().codesView()->selectedRows(), (NumberSpan{3, 3}));
    EXPECT_EQ(ui.unscripted, 0);
}

TEST_F(WindowConfigurationCheck, AnUploadWithErrorsAsksAndNemSendsNothing) {
    start(withCodes({"1234", "1234"}));
    ui.answers = {Answer::No};
    ui.dialogHandlers.push_back([](QDialog& d) { d.reject(); });
    window().menu().upload->trigger();
    QApplication::processEvents();

    EXPECT_EQ(ui.texts(Kind::Question),
              QStringList{QString::fromUtf8("A konfiguráció 2 hibát tartalmaz. Feltölti mégis?")});
    EXPECT_EQ(ui.texts(Kind::Dialog), QStringList{QStringLiteral("TCheck")})
        << "Nem lists the findings";
    EXPECT_FALSE(session->transfers().busy());
    unit->stop();
    EXPECT_EQ(unit->unit().stats().bytesIn, 0) << "not even the wake-up";
}

// A configuration laid out for the other model goes to no unit: no question that could send
// it anyway, only why it is not sent.
TEST_F(WindowConfigurationCheck, AnUploadOfTheOtherModelsLayoutIsRefusedWithoutAQuestion) {
    DatabaseRecord sixteen;
    applyNewConfiguration(sixteen, DeviceModel::Line16);
    start(sixteen.image);
    ui.answers = {Answer::Yes};
    window().menu().upload->trigger();
    QApplication::processEvents();

    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    ASSERT_EQ(ui.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(ui.texts(Kind::Error)
                    .first()
                    .startsWith(QString::fromUtf8(
                        "Ez a konfiguráció Vardo-16 elrendezésű, Vardo-4 egységre")));
    EXPECT_FALSE(session->transfers().busy());
    unit->stop();
    EXPECT_EQ(unit->unit().stats().bytesIn, 0);
}

TEST_F(WindowConfigurationCheck, WarningsAloneGoToTheStatusBarAndTheUploadGoesOn) {
    start(withCodes({"1234", "    "}));
    window().menu().upload->trigger();
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    EXPECT_TRUE(session->transfers().busy());
    const QLabel* note = childNamed<QLabel>(window(), "lblCheck");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisibleTo(&window()));
    EXPECT_TRUE(note->text().contains(QString::fromUtf8("Figyelmeztetés: 1")));
    EXPECT_TRUE(note->toolTip().startsWith(QString::fromUtf8("Kódok / 2. sor: Üres sor")))
        << note->toolTip().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session->transfers().busy(); }, 60000));
}

} // namespace
} // namespace zx
