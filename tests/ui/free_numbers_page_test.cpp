// The "Számok" page in the window: the buttons, the list and the "Számok" menu change the
// list and the counter; leaving the page (or any command's commit step) writes the list into
// the table, and the modified flag follows what that store changed.
#include "widget_lookup.h"
#include "window_fixture.h"

#include "files/cp1250.h"
#include "files/free_number_file.h"
#include "model/memory_map.h"
#include "scripted_interaction.h"
#include "ui/commands/free_number_commands.h"
#include "ui/commands/list_file_commands.h"
#include "ui/commands/shared_file_dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace {

using Answer = zx::Interaction::Answer;
using zx::DeviceModel;
using zx::Field;

class FreeNumbersPage : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->showView(5);
        view = form->freeNumbersView();
    }

    // Entry i (from 0) of the table as the image holds it.
    std::string tableEntry(int i) const {
        const std::size_t at =
            *zx::MemoryMap::of(form->document().model()).offset(Field::FreeNumbers) +
            16 * static_cast<std::size_t>(i);
        return std::string(reinterpret_cast<const char*>(&record.image.bytes()[at]), 16);
    }
    static std::string entry(const std::string& number) {
        return number + std::string(16 - number.size(), ' ');
    }
    // The table holds these numbers and blank entries after them, shown as a file open would
    // show them.
    void storeTable(const std::vector<std::string>& numbers) {
        const std::size_t capacity = static_cast<std::size_t>(
            zx::MemoryMap::of(form->document().model()).freeNumberCapacity());
        for (std::size_t i = 0; i < capacity; ++i) {
            const std::string e = entry(i < numbers.size() ? numbers[i] : "");
            const std::size_t at =
                *zx::MemoryMap::of(form->document().model()).offset(Field::FreeNumbers) + 16 * i;
            for (std::size_t j = 0; j < 16; ++j)
                record.image.set(at + j, static_cast<zx::Byte>(e[j]));
        }
        form->refill();
        setModified(false);
        ui.shown.clear();
    }
    QStringList items() const {
        QStringList out;
        for (int i = 0; i < zx::childNamed<QListWidget>(*view, "lbFreeCall")->count(); ++i)
            out.append(zx::childNamed<QListWidget>(*view, "lbFreeCall")->item(i)->text());
        return out;
    }
    void add(const QString& number) {
        zx::childNamed<QLineEdit>(*view, "MEfreecall")->setText(number);
        QTest::mouseClick(zx::childNamed<QPushButton>(*view, "BTNujszam1"), Qt::LeftButton);
    }
    void clickItem(int row, Qt::KeyboardModifiers mods = {}) {
        QListWidgetItem* item = zx::childNamed<QListWidget>(*view, "lbFreeCall")->item(row);
        QTest::mouseClick(
            zx::childNamed<QListWidget>(*view, "lbFreeCall")->viewport(), Qt::LeftButton, mods,
            zx::childNamed<QListWidget>(*view, "lbFreeCall")->visualItemRect(item).center());
    }
    QString counter() const { return zx::childNamed<QLabel>(*view, "Label50")->text(); }

    zx::FreeNumbersView* view = nullptr;
};

TEST_F(FreeNumbersPage, AddCorrectAndDeleteThenLeaveThePage) {
    add("1 23");
    EXPECT_EQ(items(), QStringList{QString::fromStdString(entry("123"))});
    EXPECT_EQ(zx::childNamed<QLineEdit>(*view, "MEfreecall")->text(), "") << "for the next one";
    EXPECT_EQ(QApplication::focusWidget(), zx::childNamed<QLineEdit>(*view, "MEfreecall"));
    EXPECT_EQ(counter(), "Bejegyzések:1/208");

    add("12 3");
    EXPECT_EQ(ui.messages(), QStringList{QString::fromUtf8("Ez a szám már bent van !")});
    EXPECT_EQ(QApplication::focusWidget(), zx::childNamed<QLineEdit>(*view, "MEfreecall"));
    add("   ");
    EXPECT_EQ(items().size(), 1) << "no entry from an empty edit";

    for (const char* number : {"0612", "0613", "0614", "0615"})
        add(QString::fromLatin1(number));
    EXPECT_FALSE(zx::childNamed<QPushButton>(*view, "BTNfreejav")->isEnabled());
    clickItem(2);
    EXPECT_EQ(zx::childNamed<QLineEdit>(*view, "MEfreecall")->text(), "0613");
    EXPECT_TRUE(zx::childNamed<QPushButton>(*view, "BTNfreejav")->isEnabled());
    EXPECT_TRUE(zx::childNamed<QPushButton>(*view, "BTNfreedel")->isEnabled());
    zx::childNamed<QLineEdit>(*view, "MEfreecall")->setText("0 6 9 9");
    QTest::mouseClick(zx::childNamed<QPushButton>(*view, "BTNfreejav"), Qt::LeftButton);
    EXPECT_EQ(zx::childNamed<QListWidget>(*view, "lbFreeCall")->item(2)->text(),
              QString::fromStdString(entry("0699")));

    // Three selected entries go, the rest keep their order.
    clickItem(0);
    clickItem(2, Qt::ControlModifier);
    clickItem(4, Qt::ControlModifier);
    QTest::mouseClick(zx::childNamed<QPushButton>(*view, "BTNfreedel"), Qt::LeftButton);
    EXPECT_EQ(items(), (QStringList{QString::fromStdString(entry("0612")),
                                    QString::fromStdString(entry("0614"))}));
    EXPECT_EQ(counter(), "Bejegyzések:2/208");

    form->showView(0);
    EXPECT_EQ(tableEntry(0), entry("0612"));
    EXPECT_EQ(tableEntry(1), entry("0614"));
    EXPECT_EQ(tableEntry(2), entry(""));
}

// The list's commands change the list only; the modified flag follows the store, so it is set
// when the table's bytes change and left as it was when the list comes back to what is stored.
TEST_F(FreeNumbersPage, TheFlagFollowsTheStoredTable) {
    QTemporaryDir dir;
    zx::SharedFileDialogs dialogs;
    zx::ListFileCommands lists(*form, dialogs);
    const QString same = dir.filePath("same.txt");
    const QString other = dir.filePath("other.txt");
    ASSERT_TRUE(zx::writeFreeNumberFile(same, {zx::RawText("0613"), zx::RawText("0612")}).ok);
    ASSERT_TRUE(zx::writeFreeNumberFile(other, {zx::RawText("0699")}).ok);
    const auto click = [this](const char* button) {
        QTest::mouseClick(zx::childNamed<QPushButton>(*view, button), Qt::LeftButton);
    };
    const auto import = [this](const QString& file, Answer appendOrReplace) {
        ui.fileNames = {file};
        ui.answers = {appendOrReplace};
        action("Importszam")->trigger();
    };
    const struct {
        const char* name;
        std::function<void()> act;
        bool modified;
    } cases[] = {
        {"Uj szám", [&] { add("0699"); }, true},
        {"Uj szám, then Törlés of it",
         [&] {
             add("0699");
             clickItem(2);
             click("BTNfreedel");
         },
         false},
        {"Javítás to another number",
         [&] {
             clickItem(0);
             zx::childNamed<QLineEdit>(*view, "MEfreecall")->setText("0611");
             click("BTNfreejav");
         },
         true},
        {"Javítás to the same number",
         [&] {
             clickItem(0);
             click("BTNfreejav");
         },
         false},
        {"Törlés",
         [&] {
             clickItem(0);
             click("BTNfreedel");
         },
         true},
        {"Mind töröl",
         [&] {
             ui.answers = {Answer::Yes};
             action("Mindtrl1")->trigger();
         },
         true},
        {"ABC Rendezett puts the entries in another order",
         [&] { action("ABCRendezett1")->trigger(); }, true},
        {"import appending", [&] { import(other, Answer::Yes); }, true},
        {"import replacing with the same numbers", [&] { import(same, Answer::No); }, false},
    };
    for (const auto& c : cases) {
        if (action("ABCRendezett1")->isChecked()) action("ABCRendezett1")->trigger();
        storeTable({"0613", "0612"});
        c.act();
        ASSERT_TRUE(form->commitPendingEdits()) << c.name;
        EXPECT_EQ(form->document().isModified(), c.modified) << c.name;
        EXPECT_EQ(ui.unscripted, 0) << c.name;
    }

    // A list nobody changed is not written: the table keeps the bytes it was read with, blanks
    // at an entry's start included.
    storeTable({" 0612"});
    const zx::ConfigImage read = record.image;
    ASSERT_TRUE(form->commitPendingEdits());
    EXPECT_TRUE(record.image == read);
    EXPECT_FALSE(form->document().isModified());

    // Closing stores the list before it asks.
    storeTable({"0613", "0612"});
    add("0699");
    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(ui.texts(zx::ScriptedInteraction::Kind::Question),
              QStringList{QString::fromUtf8("Menti a változásokat ?")});
    storeTable({"0613", "0612"});
    clickItem(2);
    click("BTNfreedel");
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(ui.shown.isEmpty()) << "nothing to save, nothing asked";
}

TEST_F(FreeNumbersPage, EveryWayOfStoringTheListStoresItTrimmed) {
    auto* list = zx::childNamed<QListWidget>(*view, "lbFreeCall");
    // An entry as an import may bring it, with blanks at its ends.
    list->addItem(" 0612\t");
    // The commit step of a save from this page.
    ASSERT_TRUE(form->commitPendingEdits());
    EXPECT_EQ(tableEntry(0), entry("0612"));
    const zx::ConfigImage saved = record.image;

    // Leaving for another control of the window, the view staying, is leaving the page too.
    list->item(0)->setText("  0613");
    zx::childNamed<QLineEdit>(*view, "MEfreecall")->setFocus();
    form->modelBox->setFocus();
    EXPECT_EQ(tableEntry(0), entry("0613"));

    // Choosing another page.
    list->item(0)->setText(" 0612\t");
    form->showView(5);
    zx::childNamed<QLineEdit>(*view, "MEfreecall")->setFocus();
    form->showView(4);
    EXPECT_TRUE(record.image == saved) << "the same bytes as the save's";
}

TEST_F(FreeNumbersPage, MenuClearsAfterConfirmingAndSortsFromThenOn) {
    storeTable({"5", "3", "4"});
    EXPECT_EQ(counter(), "Bejegyzések:3/208") << "the counter follows a refill";
    // The list getting the focus picks nothing; moving in it with the keys does.
    zx::childNamed<QListWidget>(*view, "lbFreeCall")->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(zx::childNamed<QLineEdit>(*view, "MEfreecall")->text().isEmpty());
    QTest::keyClick(zx::childNamed<QListWidget>(*view, "lbFreeCall"), Qt::Key_Down);
    ASSERT_GE(zx::childNamed<QListWidget>(*view, "lbFreeCall")->currentRow(), 0);
    EXPECT_EQ(zx::childNamed<QLineEdit>(*view, "MEfreecall")->text(),
              items().at(zx::childNamed<QListWidget>(*view, "lbFreeCall")->currentRow()).trimmed());
    EXPECT_TRUE(zx::childNamed<QPushButton>(*view, "BTNfreejav")->isEnabled());
    ui.answers = {Answer::No};
    action("Mindtrl1")->trigger();
    EXPECT_EQ(ui.texts(zx::ScriptedInteraction::Kind::Question),
              QStringList{QString::fromUtf8("Biztos benne ?")});
    EXPECT_EQ(items().size(), 3);

    ui.answers = {Answer::Yes};
    zx::childNamed<QLineEdit>(*view, "MEfreecall")->setText("9");
    action("Mindtrl1")->trigger();
    EXPECT_TRUE(items().isEmpty());
    EXPECT_TRUE(zx::childNamed<QLineEdit>(*view, "MEfreecall")->text().isEmpty());
    EXPECT_EQ(counter(), "Bejegyzések:0/208");
    form->showView(0);
    for (int i = 0; i < 208; ++i)
        ASSERT_EQ(tableEntry(i), entry("")) << i;

    form->showView(5);
    storeTable({"5", "3", "4"});
    action("ABCRendezett1")->trigger();
    EXPECT_TRUE(action("ABCRendezett1")->isChecked());
    EXPECT_EQ(items(),
              (QStringList{QString::fromStdString(entry("3")), QString::fromStdString(entry("4")),
                           QString::fromStdString(entry("5"))}));
    add("1");
    add("0");
    EXPECT_EQ(items().first(), QString::fromStdString(entry("0")));
    EXPECT_EQ(items().at(1), QString::fromStdString(entry("1")));
    storeTable({"9", "8", "7"}); // a list read from a file is shown in order too
    EXPECT_EQ(items().first(), QString::fromStdString(entry("7")));
    add("1");
    add("0");

    // Switched off, the order stays and new entries go to the end.
    action("ABCRendezett1")->trigger();
    EXPECT_FALSE(action("ABCRendezett1")->isChecked());
    add("2");
    EXPECT_EQ(items().last(), QString::fromStdString(entry("2")));
    EXPECT_EQ(items().first(), QString::fromStdString(entry("0")));
}

TEST_F(FreeNumbersPage, AFullListTakesNothingMoreAndForeignCharactersAreRefused) {
    chooseModelInBox(DeviceModel::Line16);
    form->newConfiguration();
    std::vector<std::string> numbers;
    for (int i = 0; i < 192; ++i)
        numbers.push_back(std::to_string(1000 + i));
    storeTable(numbers);
    EXPECT_EQ(counter(), "Bejegyzések:192/192");
    add("0699");
    EXPECT_EQ(items().size(), 192);
    EXPECT_EQ(zx::childNamed<QLineEdit>(*view, "MEfreecall")->text(), "0699")
        << "the edit is left as it was";
    EXPECT_TRUE(ui.shown.isEmpty());

    clickItem(0);
    QTest::mouseClick(zx::childNamed<QPushButton>(*view, "BTNfreedel"), Qt::LeftButton);
    add(QString::fromUtf8("06ñ"));
    EXPECT_EQ(ui.messages(), QStringList{zx::outsideCp1250Message(QString::fromUtf8("ñ"))});
    EXPECT_EQ(items().size(), 191);
    EXPECT_EQ(QApplication::focusWidget(), zx::childNamed<QLineEdit>(*view, "MEfreecall"));
}

} // namespace
