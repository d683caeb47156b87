// The window driven by the keyboard alone: the code grid's keys on the rights, its popup by
// Shift+F10 and the items' letters, Ctrl+Tab out of the grid and from a refused value, Enter in
// the free-number field, the "Mind töröl" default, and lists that show their current item and
// fill the fields beside them.
#include "widget_lookup.h"
#include "window_fixture.h"

#include "grid_driver.h"
#include "model/memory_map.h"

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTest>

namespace {

using zx::DeviceModel;

class WindowKeys : public WindowTest, protected GridDriver {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form->show();
        grid = zx::childNamed<zx::CodeGrid>(*form, "StringGrid1");
    }
    // Four stored codes with every right (4-line) or barred (16-line) on the "Kódok" page; the
    // window active again, as the desktop leaves it after a popup.
    void showCodes(DeviceModel model) {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->newConfiguration(); // the model box then switches an untouched configuration
        chooseModelInBox(model);
        form->newConfiguration();
        const zx::MemoryMap& map = zx::MemoryMap::of(model);
        record.image.set(*map.offset(zx::Field::CodeLength), 3);
        record.image.setWord(*map.offset(zx::Field::CodeCount), 4);
        for (std::size_t n = 0; n < 4; ++n)
            record.image.set(*map.offset(zx::Field::CodeTable) + 3 * n + 2,
                             model == DeviceModel::Line4 ? '?' : '0');
        form->refill();
        form->showView(4);
    }
    // Keys as the platform delivers them: to an open popup menu, else to the focus widget;
    // "ime:x" is text an input method hands over.
    static void type(const QString& keys) {
        for (const QString& key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            QWidget* target = QApplication::activePopupWidget();
            if (!target) target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr) << key.toStdString();
            if (key.startsWith(QLatin1String("ime:"))) {
                QInputMethodEvent typed;
                typed.setCommitString(key.mid(4));
                QApplication::sendEvent(target, &typed);
            } else {
                const QKeyCombination k = QKeySequence::fromString(key)[0];
                QTest::keyClick(target, k.key(), k.keyboardModifiers());
            }
        }
    }
    QString column(int c) const {
        QString letters;
        for (int r = 1; r < grid->gridRowCount(); ++r)
            letters += grid->cell(c, r).left(1);
        return letters;
    }
};

TEST_F(WindowKeys, RightsChangeByKeysAloneAndThePopupComesByShiftF10) {
    const DeviceModel L4 = DeviceModel::Line4, L16 = DeviceModel::Line16;
    const struct {
        DeviceModel model;
        int column, row; // the cursor's cell
        const char* keys;
        int checked;          // the column read afterwards
        const char* expected; // rows 1..4 by their first letters
    } cases[] = {
        {L4, 5, 4, "Space", 5, "IIIN"},
        {L16, 2, 3, "Space Space", 2, "TTBT"},
        {L4, 2, 2, "ime:n", 2, "INII"},
        {L4, 4, 3, "refill N", 4, "IINI"}, // the cursor stays where it was over a refill
        {L4, 4, 1, "Shift+Down Shift+Down Shift+F10 M", 4, "NNNI"},
        {L16, 2, 4, "Shift+Up Shift+F10 H", 2, "TTHH"},
        {L4, 2, 3, "Shift+F10 V", 3, "IINI"},
    };
    for (const auto& c : cases) {
        showCodes(c.model);
        goTo(c.column, c.row);
        if (QString(c.keys).startsWith("refill")) form->refill();
        type(QString(c.keys).remove("refill"));
        EXPECT_EQ(column(c.checked), QString::fromUtf8(c.expected)) << c.keys;
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << c.keys;
    }
    EXPECT_EQ(ui.unscripted, 0);
}

TEST_F(WindowKeys, CtrlTabLeavesTheGridForTheNextPageAndBack) {
    showCodes(DeviceModel::Line4);
    goTo(3, 2);
    type("Ctrl+Tab");
    EXPECT_EQ(form->currentView(), 5);
    type("Ctrl+Shift+Tab");
    EXPECT_EQ(form->currentView(), 4);
    type("Ctrl+Shift+Backtab");
    EXPECT_EQ(form->currentView(), 3);
}

TEST_F(WindowKeys, EnterAddsTheFreeNumberAndMindTorolDefaultsToNo) {
    form->showView(5);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    zx::childNamed<QLineEdit>(*form, "MEfreecall")->setFocus();
    type("0 6 Space 1 Return");
    auto* list = zx::childNamed<QListWidget>(*form, "lbFreeCall");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("061             "));
    // A Yes/No question; unanswered, as by Enter on its default "Nem", the list stays.
    action("Mindtrl1")->trigger();
    EXPECT_EQ(ui.texts(zx::ScriptedInteraction::Kind::Question), QStringList{"Biztos benne ?"});
    EXPECT_EQ(list->count(), 1);
}

// A list's current item is drawn as such while the focus is elsewhere and the item is not
// selected: the entry "Javítás" or "Módosítás" acts on is in sight.
TEST_F(WindowKeys, ListsShowTheirCurrentItemWithoutTheFocus) {
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItems({"0612", "0613"});
    const struct {
        int view;
        const char *list, *elsewhere; // the list and a control beside it
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
        EXPECT_NE(current, list->viewport()->grab().toImage()) << c.list;
    }
}

// After a number is added the field is empty for the next one; a clicked entry shows without
// its padding, selected, so that typing replaces it.
TEST_F(WindowKeys, TheFreeNumberFieldTakesTheNextNumber) {
    form->showView(5);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* field = zx::childNamed<QLineEdit>(*form, "MEfreecall");
    auto* list = zx::childNamed<QListWidget>(*form, "lbFreeCall");
    field->setFocus();
    type("1 1 2 Return 0 6 1 2 3 4 5 6 Return");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(field->text(), "");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(field->selectedText(), "112");
    EXPECT_TRUE(ui.shown.isEmpty());
}

// The area lists have an entry current from the start and a click fills the fields; an empty
// area and no entry selected are told, and nothing is stored.
TEST_F(WindowKeys, AreaEntriesAreNeverAWildcardNobodyTyped) {
    const struct {
        int view;
        const char *list, *area, *button, *refusal, *clicked;
    } cases[] = {{3, "lbKiv", "edKivSzam", "btnKivEdit", "Körzetszám: üresen", "0630"},
                 {6, "lbGW", "edGW", "btnGWAdd", "Tiltott körzetszám: üresen", "31"}};
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->refill();
    const zx::DatabaseRecord before = record;
    for (const auto& c : cases) {
        form->showView(c.view);
        EXPECT_EQ(form->currentView(), c.view) << "a refused entry keeps no page";
        auto* list = zx::childNamed<QListWidget>(*form, c.list);
        auto* area = zx::childNamed<QLineEdit>(*form, c.area);
        EXPECT_EQ(list->currentRow(), 0) << c.list;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        EXPECT_EQ(area->text(), c.clicked);
        ui.shown.clear();
        area->clear();
        find<QPushButton>(c.button)->click();
        list->clearSelection();
        area->setText("36");
        find<QPushButton>(c.button)->click();
        ASSERT_EQ(ui.messages().size(), 2) << c.list;
        EXPECT_TRUE(ui.messages()[0].startsWith(QString::fromUtf8(c.refusal)));
        EXPECT_TRUE(ui.messages()[1].startsWith(QString::fromUtf8("Nincs kiválasztott")));
    }
    EXPECT_TRUE(record == before);
}

// Ctrl+Tab from a refused value: the message box takes the window's focus while it is open, and
// the field has it back afterwards.
TEST_F(WindowKeys, CtrlTabOnARefusedValueKeepsTheFocusInTheField) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* coPosition = zx::childNamed<QLineEdit>(*form, "MEcopos");
    coPosition->setFocus();
    coPosition->selectAll();
    type("3 0 0");
    QWidget box;
    ui.whileShowing = [&](const QString&) {
        box.show();
        box.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
        box.hide();
    };
    type("Ctrl+Tab");
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(form->currentView(), 0);
    EXPECT_EQ(QApplication::focusWidget(), coPosition);
}

} // namespace
