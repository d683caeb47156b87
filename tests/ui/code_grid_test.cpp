// What the operator does inside the code grid: typing codes, the rights keys, double clicks,
// the popup, growing and shrinking, selection, focus, and the refill in one step.
#include "grid_driver.h"
#include "ui/views/code_grid.h"
#include "ui/views/code_grid_delegate.h"
#include "ui/views/code_grid_model.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using zx::CodeGrid;
using zx::CodeRowView;
using zx::DeviceModel;
using zx::RawText;

class CodeGridTest : public ::testing::Test, protected GridDriver {
  protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        grid = new CodeGrid;
        other = new QLineEdit;
        other->setObjectName(QStringLiteral("other"));
        layout->addWidget(grid);
        layout->addWidget(other);
        window.resize(600, 400);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        edits = std::make_unique<QSignalSpy>(grid, &CodeGrid::edited);
    }

    void fill(DeviceModel model, int rows) {
        grid->setDeviceModel(model);
        std::vector<CodeRowView> v;
        for (int i = 0; i < rows; ++i)
            v.push_back({RawText(std::to_string(100000 + i)), zx::newRowRights(model)});
        grid->setRows(v);
    }

    // Keys go where the operator's keys go: to the widget that has the focus.
    void type(const char* keys) {
        for (const char* k = keys; *k; ++k)
            QTest::keyClick(QApplication::focusWidget(), *k);
    }
    void trigger(const char* item) {
        QAction* action = grid->popupMenu()->findChild<QAction*>(QString::fromUtf8(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    // The open in-place editor; a closed one is hidden until it is deleted.
    QLineEdit* editor() const {
        for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>("CodeEditor"))
            if (e->isVisible()) return e;
        return nullptr;
    }

    QWidget window;
    QLineEdit* other = nullptr;
    std::unique_ptr<QSignalSpy> edits;
};

TEST_F(CodeGridTest, CodesTakeDigitsOnlyAndAreCutToTheirLength) {
    fill(DeviceModel::Line4, 3);
    grid->setCodeLength(7);
    goTo(1, 2);
    type("1a2 3-");
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("123"));
    QTest::keyClick(editor(), Qt::Key_Return);
    QApplication::processEvents(); // the editor commits from the event queue
    EXPECT_EQ(grid->cell(1, 2), QStringLiteral("123"));
    EXPECT_GT(edits->count(), 0);

    // A seventh digit of a six-digit code: the first six stay, the cursor goes to the rights.
    goTo(1, 3);
    type("1234567");
    EXPECT_EQ(grid->cell(1, 3), QStringLiteral("123456"));
    EXPECT_EQ(grid->currentIndex(), at(2, 3));
    EXPECT_EQ(editor(), nullptr);

    // A letter typed on a code cell does not even open the editor; a paste brings its digits.
    goTo(1, 1);
    QTest::keyClick(grid, Qt::Key_X);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(grid->cell(1, 1), QStringLiteral("100000"));
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_NE(editor(), nullptr);
    editor()->clear();
    QApplication::clipboard()->setText(QStringLiteral("06-1 2x"));
    QTest::keySequence(editor(), QKeySequence::Paste);
    EXPECT_EQ(editor()->text(), QStringLiteral("0612"));
}

TEST_F(CodeGridTest, RightsKeysAndDoubleClicks) {
    fill(DeviceModel::Line4, 2);
    goTo(3, 1);
    QTest::keyClick(grid, Qt::Key_N);
    EXPECT_EQ(grid->cell(3, 1), QStringLiteral("Nem"));
    QTest::keyClick(grid, Qt::Key_I);
    EXPECT_EQ(grid->cell(3, 1), QStringLiteral("Igen"));
    QTest::keyClick(grid, Qt::Key_5); // nothing else is taken in a rights cell
    EXPECT_EQ(grid->cell(3, 1), QStringLiteral("Igen"));
    doubleClick(4, 2);
    EXPECT_EQ(grid->cell(4, 2), QStringLiteral("Nem"));
    doubleClick(4, 2);
    EXPECT_EQ(grid->cell(4, 2), QStringLiteral("Igen"));

    // 16-line: an empty level becomes T, five steps come round, "N" from the key is a level.
    fill(DeviceModel::Line16, 2);
    grid->setCell(2, 1, QString());
    doubleClick(2, 1);
    EXPECT_EQ(grid->cell(2, 1), QStringLiteral("T"));
    for (int i = 0; i < 5; ++i)
        doubleClick(2, 1);
    EXPECT_EQ(grid->cell(2, 1), QStringLiteral("T"));
    goTo(2, 2);
    QTest::keyClick(grid, Qt::Key_N);
    auto* delegate = static_cast<zx::CodeGridDelegate*>(grid->itemDelegate());
    EXPECT_EQ(delegate->displayText(at(2, 2)), QString::fromUtf8("Nemzetközi"));
    EXPECT_EQ(delegate->displayText(at(2, 1)), QString::fromUtf8("Tiltott"));
    grid->setCell(2, 1, QStringLiteral("Igen"));
    EXPECT_EQ(delegate->displayText(at(2, 1)), QString());
    EXPECT_EQ(delegate->displayText(at(1, 1)), QStringLiteral("100000"));
    EXPECT_GE(edits->count(), 10);
}

TEST_F(CodeGridTest, PopupActsOnTheSelectedRows) {
    fill(DeviceModel::Line4, 6);
    // The right click acts on the block it falls in, else on the row it falls on.
    const struct {
        int blockFrom, blockTo; // a block in the rights columns; 0: the cursor on row 11 alone
        int clickedColumn, clickedRow;
        const char* mobile;   // column 4 of rows 1..12 afterwards: I for Igen, N for Nem
        bool dragged = false; // the block chosen by a drag, else by a click and a shift click
    } cases[] = {
        {2, 4, 2, 3, "INNNIIIIIIII"},  // inside the block: the block
        {2, 4, 1, 4, "INNNIIIIIIII"},  // the block's row, in the code column
        {2, 4, 2, 6, "IIIIINIIIIII"},  // below the block: the clicked row only
        {0, 0, 3, 5, "IIIINIIIIIII"},  // away from the cursor: the clicked row, not row 11
        {0, 0, 2, 11, "IIIIIIIIIINI"}, // on the cursor's row
        {2, 4, 5, 3, "INNNIIIIIIII", true},
    };
    for (const auto& c : cases) {
        fill(DeviceModel::Line4, 12);
        if (c.dragged) {
            QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(3, c.blockFrom));
            QTest::mouseMove(grid->viewport(), centre(4, c.blockFrom + 1));
            QTest::mouseMove(grid->viewport(), centre(5, c.blockTo));
            QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(5, c.blockTo));
        } else if (c.blockFrom) {
            click(3, c.blockFrom);
            click(5, c.blockTo, Qt::ShiftModifier);
        } else {
            click(2, 11);
        }
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {},
                          centre(c.clickedColumn, c.clickedRow));
        trigger("Mobil1");
        QString mobile;
        for (int r = 1; r <= 12; ++r)
            mobile += grid->cell(4, r).left(1);
        EXPECT_EQ(mobile, QString::fromUtf8(c.mobile)) << c.clickedRow;
    }

    fill(DeviceModel::Line4, 6);
    grid->selectAllCodes();
    EXPECT_EQ(grid->currentIndex(), at(2, 6));
    trigger("Tiltott1");
    for (int r = 1; r <= 6; ++r)
        for (int c = 2; c <= 5; ++c)
            EXPECT_EQ(grid->cell(c, r), QStringLiteral("Nem")) << c << " " << r;

    // A shift click in the code column selects one cell, not a block.
    click(1, 1);
    click(1, 3, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(), 1);

    fill(DeviceModel::Line16, 3);
    goTo(2, 2);
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier); // Mind kijelöl
    trigger("Helyi1");
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(grid->cell(2, r), QStringLiteral("H")) << r;
    const QStringList names = {"Nemzetkzi1", "Mobil1", "Tvolsgi1", "Helyi1", "Tiltott1"};
    ASSERT_EQ(grid->popupMenu()->actions().size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(grid->popupMenu()->actions()[i]->objectName(), names[i]);
    EXPECT_EQ(grid->popupMenu()->objectName(), QStringLiteral("PopupMenu1"));
}

TEST_F(CodeGridTest, DownArrowGrowsToTheTableCapacity) {
    QSignalSpy grown(grid, &CodeGrid::codeRowsGrown);
    fill(DeviceModel::Line4, 437);
    grid->setCodeLength(7);
    goTo(2, 437);
    QTest::keyClick(grid, Qt::Key_Down);
    ASSERT_EQ(grid->gridRowCount(), 439);
    EXPECT_EQ(grid->currentIndex(), at(2, 438));
    ASSERT_EQ(grown.count(), 1);
    EXPECT_EQ(grown.at(0).at(0).toInt(), 438);
    for (int c = 2; c <= 5; ++c)
        EXPECT_EQ(grid->cell(c, 438), QStringLiteral("Igen"));
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->gridRowCount(), 439);
    EXPECT_EQ(grown.count(), 1);
    // Not from a row above the last.
    goTo(2, 10);
    grid->setCodeLength(3);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->gridRowCount(), 439);

    fill(DeviceModel::Line16, 1);
    goTo(1, 1);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->cell(2, 2), QStringLiteral("T"));
}

TEST_F(CodeGridTest, CtrlDeleteDropsTheLastRowButNeverTheOnlyOne) {
    QSignalSpy dropped(grid, &CodeGrid::lastCodeRowDropped);
    fill(DeviceModel::Line4, 3);
    goTo(1, 2);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->gridRowCount(), 4);
    goTo(3, 3);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->gridRowCount(), 3);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.at(0).at(0).toInt(), 2);
    EXPECT_EQ(grid->currentIndex(), at(3, 2));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->gridRowCount(), 2);
    EXPECT_EQ(dropped.count(), 2);
    EXPECT_EQ(grid->cell(1, 1), QStringLiteral("100000"));
}

TEST_F(CodeGridTest, FocusComingInAndGoingOut) {
    fill(DeviceModel::Line4, 2);
    other->setFocus();
    QSignalSpy entered(grid, &CodeGrid::entered);
    QSignalSpy left(grid, &CodeGrid::left);
    goTo(1, 1);
    EXPECT_EQ(entered.count(), 1);
    // The in-place editor is part of the grid.
    type("42");
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(left.count(), 0);
    // Leaving with the editor open: the typed code is in the grid when it is stored.
    QString storedCode;
    QObject::connect(grid, &CodeGrid::left,
                     [&] { storedCode = QString::fromLatin1(grid->rows()[0].code.bytes()); });
    other->setFocus();
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(storedCode, QStringLiteral("42"));
    EXPECT_EQ(entered.count(), 1);
}

TEST_F(CodeGridTest, RefillInOneStepAndRowsBack) {
    QSignalSpy resets(grid->gridModel(), &QAbstractItemModel::modelReset);
    std::vector<CodeRowView> rows;
    for (int i = 0; i < 1024; ++i)
        rows.push_back({RawText(i % 2 ? "12" : "3 "), {i % 3 ? "Igen" : "Nem", "Nem", "x", ""}});
    grid->setRows(rows);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(grid->gridRowCount(), 1025);
    EXPECT_EQ(grid->rows(), rows);
    EXPECT_EQ(grid->cell(0, 1024), QStringLiteral("1024"));
    EXPECT_EQ(edits->count(), 0);

    // The 16-line grid gives one level per row; the texts of the other columns are kept.
    grid->setDeviceModel(DeviceModel::Line16);
    EXPECT_EQ(grid->gridColumnCount(), 3);
    EXPECT_EQ(grid->rows()[0].rights, std::vector<std::string>{"Nem"});
    grid->setDeviceModel(DeviceModel::Line4);
    EXPECT_EQ(grid->cell(4, 1), QStringLiteral("x"));

    grid->setRows({});
    EXPECT_EQ(grid->gridRowCount(), 2);
    grid->setCell(1, 1, QString::fromUtf8("12á"));
    EXPECT_EQ(grid->rows()[0].code, RawText("12\xE1"));
}

} // namespace
