// The pages the window does not show first are built when they are needed, and then show what
// the pages built at once show: the same image, the same model, the same notes.
#include "model/new_configuration.h"
#include "scripted_interaction.h"
#include "status_panel_text.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/views/code_grid.h"
#include "ui/views/codes_view.h"
#include "widget_lookup.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace zx {
namespace {

class ViewPagesTest : public ::testing::Test {
  protected:
    DatabaseRecord record;
    ConfigDocument document{record};
    ScriptedInteraction ui;
};

TEST_F(ViewPagesTest, APageBuiltLateShowsTheImageAndModelOfTheOthers) {
    MainWindow form(document, ui);
    EXPECT_EQ(form.findChild<QLineEdit*>("MEibe"), nullptr) << "the timers are not built at start";
    EXPECT_EQ(form.findChild<CodeGrid*>("StringGrid1"), nullptr);
    EXPECT_EQ(zx::statusPanelText(form, MainWindow::Panel::Codes), "1/6")
        << "the panel follows unbuilt";

    // A 16-line configuration with three codes arrives before any late page was built.
    DatabaseRecord other;
    applyNewConfiguration(other, DeviceModel::Line16);
    other.image.setWord(*MemoryMap::of(DeviceModel::Line16).offset(Field::CodeCount), 3);
    other.image.set(*MemoryMap::of(DeviceModel::Line16).offset(Field::LocalLength), 9);
    document.takeFile(other, QStringLiteral("/adat/tizenhat.vd1"), {});
    form.showModel(DeviceModel::Line16);
    form.refill();
    EXPECT_EQ(zx::statusPanelText(form, MainWindow::Panel::Codes), "3/6");

    form.showView(3);
    EXPECT_EQ(form.currentView(), 3);
    QLineEdit* local = childNamed<QLineEdit>(form, "MEloclen");
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->text(), "9");
    // Bound to the 16-line map like the others: a value typed is stored there.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    local->setFocus();
    local->setText("7");
    ASSERT_TRUE(form.commitPendingEdits());
    EXPECT_EQ(document.image().at(*MemoryMap::of(DeviceModel::Line16).offset(Field::LocalLength)),
              7);
    EXPECT_EQ(form.viewPages->widget(3)->objectName(), "TabSheet4");
    EXPECT_EQ(form.codesView()->rows().size(), 3u);
    EXPECT_EQ(childNamed<CodeGrid>(form, "StringGrid1")->gridColumnCount(), 3);
    EXPECT_TRUE(ui.shown.isEmpty());
}

TEST_F(ViewPagesTest, ACountTheTableCannotHoldIsToldOnceAndTheRestFollowsTheFirstPaint) {
    MainWindow form(document, ui);
    DatabaseRecord many = record;
    many.image.setWord(*MemoryMap::of(DeviceModel::Line4).offset(Field::CodeCount), 5000);
    document.replaceRecord(many);
    form.refill();
    ASSERT_EQ(ui.messages().size(), 1) << ui.messages().join('|').toStdString();

    EXPECT_EQ(form.findChild<QLineEdit*>("edBehiv"), nullptr);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QApplication::processEvents();
    QApplication::processEvents();
    for (const char* name : {"MEibe", "MEloclen", "edBehiv", "MEfreecall"})
        EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(ui.messages().size(), 1);
}

} // namespace
} // namespace zx
