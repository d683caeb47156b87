// The window driven by the keyboard alone: the code grid's keys on the rights (over a refill
// too), its popup from Shift+F10 with the items' letters, Ctrl+Tab out of the grid, Enter in the
// free-number field, the "Mind töröl" question, and lists that show their current item.
#include "widget_lookup.h"
#include "window_fixture.h"

#include "grid_driver.h"
#include "model/memory_map.h"
#include "ui/views/code_grid.h"

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <string>
#include <vector>

namespace {

using zx::DeviceModel;
using zx::Field;
using Kind = zx::ScriptedInteraction::Kind;

class WindowKeys : public WindowTest, protected GridDriver {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        grid = zx::childNamed<zx::CodeGrid>(*form, "StringGrid1");
    }
    // Four stored codes of six digits with every right (4-line) or barred (16-line), shown on
    // the "Kódok" page as a file open shows them.
    void showCodes(DeviceModel model) {
        // A new configuration first: the model box then changes an untouched one.
        form->newConfiguration();
        chooseModelInBox(model);
        form->newConfiguration();
        const zx::MemoryMap& map = zx::MemoryMap::of(model);
        record.image.set(*map.offset(Field::CodeLength), 7);
        record.image.setWord(*map.offset(Field::CodeCount), 4);
        for (std::size_t n = 0; n < 4; ++n) {
            const std::string code =
                std::to_string(100001 + n) + (model == DeviceModel::Line4 ? '?' : '0');
            for (std::size_t i = 0; i < code.size(); ++i)
                record.image.set(*map.offset(Field::CodeTable) + n * 7 + i,
                                 static_cast<zx::Byte>(code[i]));
        }
        form->refill();
        form->showView(4);
    }
    // A key as the platform delivers it: to an open popup menu, else to the focus widget.
    static void press(QKeyCombination key) {
        QWidget* target = QApplication::activePopupWidget();
        if (!target) target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }
    QString column(int c) const {
        QString letters;
        for (int r = 1; r < grid->gridRowCount(); ++r)
            letters += grid->cell(c, r).left(1);
        return letters;
    }
};

TEST_F(WindowKeys, RightsChangeByKeysAloneAndThePopupComesByShiftF10) {
    const QKeyCombination N(Qt::Key_N), I(Qt::Key_I), Space(Qt::Key_Space),
        ShiftDown(Qt::SHIFT | Qt::Key_Down), ShiftUp(Qt::SHIFT | Qt::Key_Up),
        Popup(Qt::SHIFT | Qt::Key_F10);
    const struct {
        const char* what;
        DeviceModel model;
        bool refillFirst; // the grid refilled while it has the focus, as F5 or a generation do
        int column, row;  // where the cursor is put
        std::vector<QKeyCombination> keys;
        const char* committed; // text an input method hands over after the keys
        int checked;           // the column read afterwards, rows 1..4 by their first letters
        const char* expected;
    } cases[] = {
        {"N bars a right", DeviceModel::Line4, false, 3, 2, {N}, "", 3, "INII"},
        {"I grants it again", DeviceModel::Line4, false, 3, 2, {N, I}, "", 3, "IIII"},
        {"the keys act where the cursor was before a refill",
         DeviceModel::Line4,
         true,
         4,
         3,
         {N},
         "",
         4,
         "IINI"},
        {"Space toggles a 4-line right", DeviceModel::Line4, false, 5, 4, {Space}, "", 5, "IIIN"},
        {"Space steps a 16-line level",
         DeviceModel::Line16,
         false,
         2,
         3,
         {Space, Space},
         "",
         2,
         "TTBT"},
        {"N gives the 16-line level its letter",
         DeviceModel::Line16,
         false,
         2,
         1,
         {N},
         "",
         2,
         "NTTT"},
        {"an input method's letter counts as the key",
         DeviceModel::Line4,
         false,
         2,
         2,
         {},
         "n",
         2,
         "INII"},
        {"Shift+Down selects rows; Shift+F10 and M toggle their mobile right",
         DeviceModel::Line4,
         false,
         4,
         1,
         {ShiftDown, ShiftDown, Popup, Qt::Key_M},
         "",
         4,
         "NNNI"},
        {"Shift+Up selects upwards; Shift+F10 and H set the local level",
         DeviceModel::Line16,
         false,
         2,
         4,
         {ShiftUp, Popup, Qt::Key_H},
         "",
         2,
         "TTHH"},
        {"the popup's letters are its own: V for Távolsági",
         DeviceModel::Line4,
         false,
         2,
         3,
         {Popup, Qt::Key_V},
         "",
         3,
         "IINI"},
    };
    for (const auto& c : cases) {
        // A closed popup leaves the window to be activated again, as the desktop does.
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        showCodes(c.model);
        goTo(c.column, c.row);
        if (c.refillFirst) form->refill();
        for (const QKeyCombination key : c.keys)
            press(key);
        if (*c.committed) {
            QInputMethodEvent typed;
            typed.setCommitString(QString::fromUtf8(c.committed));
            QApplication::sendEvent(QApplication::focusWidget(), &typed);
        }
        EXPECT_EQ(column(c.checked), QString::fromUtf8(c.expected)) << c.what;
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << c.what;
    }
    // The popup opens under the cursor's cell.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    goTo(2, 2);
    press(Popup);
    ASSERT_TRUE(grid->popupMenu()->isVisible());
    EXPECT_LT((grid->popupMenu()->pos() -
               grid->viewport()->mapToGlobal(grid->visualRect(at(2, 2)).bottomLeft()))
                  .manhattanLength(),
              4);
    press(Qt::Key_Escape);
    EXPECT_EQ(ui.unscripted, 0);
}

TEST_F(WindowKeys, CtrlTabLeavesTheGridForTheNextPageAndBack) {
    showCodes(DeviceModel::Line4);
    goTo(3, 2);
    press(Qt::CTRL | Qt::Key_Tab);
    EXPECT_EQ(form->currentView(), 5);
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab);
    EXPECT_EQ(form->currentView(), 4);
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab);
    EXPECT_EQ(form->currentView(), 3);
}

TEST_F(WindowKeys, EnterAddsTheFreeNumberAndMindTorolDefaultsToNo) {
    form->showView(5);
    auto* edit = zx::childNamed<QLineEdit>(*form, "MEfreecall");
    auto* list = zx::childNamed<QListWidget>(*form, "lbFreeCall");
    edit->setFocus();
    for (const Qt::Key key : {Qt::Key_0, Qt::Key_6, Qt::Key_Space, Qt::Key_1, Qt::Key_Return})
        press(key);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("061             "));
    EXPECT_EQ(zx::childNamed<QLabel>(*form, "Label50")->text(), "Bejegyzések:1/208");

    // The question is a Yes/No one, "Nem" its default: unanswered, the list stays.
    action("Mindtrl1")->trigger();
    EXPECT_EQ(ui.texts(Kind::Question), QStringList{QString::fromUtf8("Biztos benne ?")});
    EXPECT_EQ(ui.unscripted, 1);
    EXPECT_EQ(list->count(), 1);
    ui.answers = {zx::Interaction::Answer::Yes};
    action("Mindtrl1")->trigger();
    EXPECT_EQ(list->count(), 0);
}

// A list's current item is drawn as such while the focus is elsewhere and the item is not
// selected: the entry "Javítás" or "Módosítás" acts on is in sight.
TEST_F(WindowKeys, ListsShowTheirCurrentItemWithoutTheFocus) {
    form->showView(5);
    auto* freeNumbers = zx::childNamed<QListWidget>(*form, "lbFreeCall");
    freeNumbers->addItems({"0612", "0613", "0614"});
    const struct {
        int view;
        const char* list;
        const char* elsewhere; // a control of the same page that takes the focus
    } cases[] = {{5, "lbFreeCall", "MEfreecall"}, {3, "lbKiv", "edKivSzam"}, {6, "lbGW", "edGW"}};
    for (const auto& c : cases) {
        form->showView(c.view);
        auto* list = zx::childNamed<QListWidget>(*form, c.list);
        zx::childNamed<QLineEdit>(*form, c.elsewhere)->setFocus();
        list->clearSelection();
        list->selectionModel()->setCurrentIndex(list->model()->index(1, 0),
                                                QItemSelectionModel::NoUpdate);
        const QImage current = list->viewport()->grab().toImage();
        list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        const QImage none = list->viewport()->grab().toImage();
        EXPECT_NE(current, none) << c.list;
    }
}

} // namespace
