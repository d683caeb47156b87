// The code list and free-number import and export commands of the window, with the dialogs and
// the append/replace question scripted.
#include "widget_lookup.h"
#include "window_fixture.h"

#include "scripted_interaction.h"
#include "ui/commands/list_file_commands.h"
#include "ui/commands/shared_file_dialogs.h"
#include "ui/views/code_grid.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using Answer = zx::Interaction::Answer;
using Kind = zx::ScriptedInteraction::Kind;

class ListFiles : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        lists = std::make_unique<zx::ListFileCommands>(*form, dialogs);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void writeText(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytesOf(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList listItems() const {
        QStringList items;
        for (int i = 0; i < zx::childNamed<QListWidget>(*form, "lbFreeCall")->count(); ++i)
            items << zx::childNamed<QListWidget>(*form, "lbFreeCall")->item(i)->text();
        return items;
    }
    // The shared dialogs carry the database settings again after every command.
    void expectDatabaseDefaults() const {
        EXPECT_EQ(dialogs.openRequest().title, QString::fromUtf8("Pinkód adatbázis megnyitás"));
        EXPECT_EQ(dialogs.saveRequest().title, QString::fromUtf8("Pinkód adatbázis mentése"));
        EXPECT_EQ(dialogs.openRequest().defaultSuffix, "vdb");
    }

    QTemporaryDir dir;
    zx::SharedFileDialogs dialogs;
    std::unique_ptr<zx::ListFileCommands> lists;
};

TEST_F(ListFiles, BinaryCodeListRoundTripsThroughTheTable) {
    zx::CodeGrid* grid = zx::childNamed<zx::CodeGrid>(*form, "StringGrid1");
    form->showView(4);
    grid->setGridRowCount(3);
    grid->setRows({{zx::RawText("123456"), {"Igen", "Nem", "Igen", "Nem"}},
                   {zx::RawText("77"), {"Nem", "Nem", "Nem", "Nem"}}});
    form->codesView()->markGridChanged();
    ui.fileNames = {path("pin.dat")};
    action("PINDAT1")->trigger();
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].title, QString::fromUtf8("Pinkódok exportálása"));
    EXPECT_EQ(ui.shown[0].text, "Pinkód kódok (*.dat);;Minden file (*.*)");
    const QByteArray file = bytesOf("pin.dat");
    EXPECT_EQ(file, QByteArray("\x07\x02\x00"
                               "1234565"
                               "77    0"
                               "\x00",
                               3 + 14 + 1));
    expectDatabaseDefaults();

    form->newConfiguration();
    setModified(false);
    ui.fileNames = {path("pin.dat")};
    action("ImpDat")->trigger();
    EXPECT_EQ(record.image.word(1671), 2);
    EXPECT_EQ(grid->cell(1, 1), "123456");
    EXPECT_EQ(grid->cell(4, 1), "Igen");
    EXPECT_EQ(grid->cell(2, 2), "Nem");
    EXPECT_TRUE(form->document().isModified());
    expectDatabaseDefaults();
}

TEST_F(ListFiles, ARefusedOrCancelledImportChangesNothing) {
    writeText("short.dat", QByteArray("\x07\x05\x00"
                                      "123",
                                      6)); // ends before its records
    const zx::ConfigImage before = record.image;
    setModified(false);
    form->showView(4); // the code menu works on its page only
    ui.fileNames = {path("short.dat"), QString()};
    action("ImpDat")->trigger();
    action("ImpText")->trigger();
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(record.image == before);
    EXPECT_FALSE(form->document().isModified());
    expectDatabaseDefaults();
}

TEST_F(ListFiles, ImportsOfWhatIsNoListAreRefusedWithNothingChanged) {
    QByteArray noise(2000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 256);
    writeText("random.bin", noise);
    writeText("letters.txt", "1234\r\nabc\r\n");
    action("Szmok1")->trigger();
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItem("0612345");
    form->showView(0); // the list is written
    form->showView(5);
    const zx::ConfigImage before = record.image;
    setModified(false);

    ui.fileNames = {path("random.bin")};
    ui.answers = {Answer::No}; // replace
    action("Importszam")->trigger();
    EXPECT_EQ(listItems(), QStringList{"0612345"});

    form->showView(4);
    ui.fileNames = {path("letters.txt")};
    action("ImpText")->trigger();
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_TRUE(ui.messages()[0].startsWith(QString::fromUtf8("A számlista nem tölthető be")));
    EXPECT_TRUE(ui.messages()[1].contains(" 2. "));
    EXPECT_TRUE(record.image == before);
    EXPECT_FALSE(form->document().isModified());
}

TEST_F(ListFiles, CodeTextImportTakesTheLongestCodeAndReadsTheRights) {
    writeText("codes.txt", "1234\r\n56789\tHelyi\n12\r\n");
    form->showView(4);
    ui.fileNames = {path("codes.txt")};
    action("ImpText")->trigger();
    EXPECT_EQ(record.image.at(1670), 6);
    EXPECT_EQ(record.image.word(1671), 3);
    EXPECT_EQ(record.image.at(5120 + 5), '?') << "a code alone: every right";
    EXPECT_EQ(record.image.at(5120 + 11), '1') << "local only";
    ui.fileNames = {path("out.txt")};
    action("xt1")->trigger();
    // Windows-1250 text: "Táv" with the byte E1.
    const QByteArray rights("\tHelyi\tT\xE1v\tMobil\tNemz\r\n");
    EXPECT_EQ(bytesOf("out.txt"), "1234 " + rights + "56789\tHelyi\t\t\t\r\n" + "12   " + rights);
}

// A code not yet stored is stored before an import, even a cancelled one.
TEST_F(ListFiles, ACodeTypedBeforeAnImportIsStoredFirst) {
    form->showView(4);
    zx::childNamed<zx::CodeGrid>(*form, "StringGrid1")->setCell(1, 1, "471147");
    form->codesView()->markGridChanged();
    ui.fileNames = {QString()};
    action("ImpText")->trigger();
    EXPECT_EQ(record.image.at(5120 + 5), '7');
}

TEST_F(ListFiles, FreeNumbersAppendReplaceOrStayWithTheAnswer) {
    writeText("call.txt", "06301234567\r\n\r\n112\n");
    form->showView(5);
    zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItem("555             ");
    form->freeNumbersView()->storeFreeNumbers();
    setModified(false);

    ui.fileNames = {path("call.txt")};
    ui.answers = {Answer::Cancel};
    action("Importszam")->trigger();
    EXPECT_EQ(listItems(), QStringList{"555             "});
    EXPECT_EQ(ui.texts(Kind::Question),
              QStringList{"Hozzáfűzés=YES\rFelülírás =NO\rMégsem    =CANCEL"});
    // Each button says what it does.
    EXPECT_EQ(ui.lastCaptions.yes, QString::fromUtf8("Hozzáfűzés"));
    EXPECT_EQ(ui.lastCaptions.no, QString::fromUtf8("Felülírás"));
    EXPECT_EQ(ui.lastCaptions.cancel, QString::fromUtf8("Mégsem"));
    EXPECT_FALSE(form->document().isModified());

    ui.fileNames = {path("call.txt")};
    ui.answers = {Answer::Yes};
    action("Importszam")->trigger();
    // The empty line is no number.
    EXPECT_EQ(listItems(),
              (QStringList{"555             ", "06301234567     ", "112             "}));
    ASSERT_TRUE(form->commitPendingEdits());
    EXPECT_TRUE(form->document().isModified()) << "the table stored differs";

    ui.fileNames = {path("call.txt")};
    ui.answers = {Answer::No};
    action("Importszam")->trigger();
    EXPECT_EQ(listItems().size(), 2);

    ui.fileNames = {path("missing.txt")};
    ui.answers = {Answer::No};
    action("Importszam")->trigger();
    EXPECT_EQ(ui.messages(), QStringList{QString::fromUtf8("Megnyitási hiba!")});
    EXPECT_EQ(listItems().size(), 2) << "a file that does not open empties nothing";

    ui.fileNames = {path("export.txt")};
    action("Exportszam")->trigger();
    EXPECT_EQ(bytesOf("export.txt"), "06301234567     \r\n112             \r\n");
    expectDatabaseDefaults();
}

TEST_F(ListFiles, AppendingStopsAtTheCapacityAndSaysSo) {
    QByteArray lines;
    for (int i = 0; i < 10; ++i)
        lines += QByteArray::number(1000 + i) + "\r\n";
    writeText("many.txt", lines);
    form->showView(5);
    for (int i = 0; i < 205; ++i)
        zx::childNamed<QListWidget>(*form, "lbFreeCall")->addItem(QString::number(i));
    ui.fileNames = {path("many.txt")};
    ui.answers = {Answer::Yes};
    action("Importszam")->trigger();
    EXPECT_EQ(listItems().size(), 208);
    EXPECT_EQ(ui.messages(),
              QStringList{QString::fromUtf8(
                  "Maximum 208 szám lehet a listában, ezért néhány szám beolvasatlan maradt!")});
}

} // namespace
