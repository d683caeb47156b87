// The database commands of the window: New, Open, Save, Save As and the preferences, with the
// file dialogs and the password scripted.
#include "widget_lookup.h"
#include "window_fixture.h"

#include "files/connection_settings.h"
#include "files/cp1250.h"
#include "files/database_file.h"
#include "files/file_lock.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"
#include "scripted_interaction.h"
#include "status_panel_text.h"
#include "ui/commands/file_commands.h"
#include "ui/commands/shared_file_dialogs.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/views/code_grid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

using zx::DatabaseRecord;
using zx::DeviceModel;
using zx::RawText;
using Answer = zx::Interaction::Answer;
using Kind = zx::ScriptedInteraction::Kind;
using Slot = DatabaseRecord::Slot;

class FileCommandsTest : public WindowTest {
  protected:
    void SetUp() override {
        zx::setConfigDir(dir.path());
        WindowTest::SetUp();
        files = std::make_unique<zx::FileCommands>(*form, connection);
    }
    void TearDown() override {
        files.reset();
        zx::setConfigDir(QString());
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    // A database file of the model's new configuration with these texts.
    QString writeFile(const QString& name, const QString& password, DeviceModel model,
                      std::size_t marker = 0, zx::Byte value = 0) {
        DatabaseRecord r;
        zx::applyNewConfiguration(r, model);
        r.setText(Slot::Site, RawText("Budapest"));
        r.setText(Slot::Password, zx::toCp1250(password));
        if (marker) r.image.set(marker, value);
        const auto written = zx::writeDatabaseFile(path(name), r, QString());
        EXPECT_TRUE(written.ok) << written.message.toStdString();
        return path(name);
    }
    void answerPassword(const QString& typed) {
        ui.dialogHandlers.push_back([typed](QDialog& d) {
            auto& dialog = static_cast<zx::PasswordDialog&>(d);
            dialog.Password->setText(typed);
            dialog.accept();
        });
    }
    QByteArray bytesOf(const QString& file) const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString panel0() const { return zx::statusPanelText(*form, MainWindow::Panel::File); }

    QTemporaryDir dir;
    zx::ConnectionState connection;
    std::unique_ptr<zx::FileCommands> files;
};

TEST_F(FileCommandsTest, OpenTakesAFileOnlyWithItsPassword) {
    const QString file = writeFile("unit.vd1", "Titok", DeviceModel::Line4, 1676, 9);
    form->document().markModified();
    ui.answers = {Answer::No};
    ui.fileNames = {file};
    answerPassword("titok"); // letter case counts
    action("Open1")->trigger();
    EXPECT_EQ(ui.messages(), QStringList{QString::fromUtf8("Hibás jelszó !!!")});
    EXPECT_NE(record.image.at(1676), 9);
    EXPECT_EQ(panel0(), QString::fromUtf8("Új"));
    EXPECT_TRUE(form->document().isModified()) << "a refused file keeps the unsaved changes";

    ui.shown.clear();
    ui.answers = {Answer::No};
    ui.fileNames = {file};
    answerPassword("Titok");
    action("Open1")->trigger();
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(record.image.at(1676), 9);
    EXPECT_EQ(editText("MEloclen"), "9");
    EXPECT_EQ(form->document().currentFileName(), file);
    EXPECT_EQ(panel0(), file);
    EXPECT_FALSE(form->document().isModified());
    EXPECT_EQ(ui.texts(Kind::OpenFile),
              QStringList{"Pinkód adatbázis (*.vd1 *.vdb);;Minden file (*.*)"});
}

TEST_F(FileCommandsTest, FilesThatAreNoDatabaseAreRefusedAndChangeNothing) {
    QFile shortFile(path("short.vd1"));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(100, 'x'));
    shortFile.close();
    QByteArray wrongHeader = bytesOf(writeFile("header.vd1", "", DeviceModel::Line4));
    wrongHeader[1] = 'z';
    QFile bad(path("header.vd1"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(wrongHeader);
    bad.close();

    form->document().markModified();
    const DatabaseRecord before = record;
    for (const QString& name : {path("short.vd1"), path("header.vd1")}) {
        ui.shown.clear();
        ui.answers = {Answer::No};
        ui.fileNames = {name};
        action("Open1")->trigger();
        ASSERT_EQ(ui.messages().size(), 1) << name.toStdString();
        EXPECT_TRUE(record == before);
        EXPECT_TRUE(form->document().isModified());
        EXPECT_EQ(ui.texts(Kind::Dialog).size(), 0) << "no password asked";
    }
    EXPECT_EQ(ui.messages().constFirst(),
              QString::fromUtf8("File formátum nem Zendrax1 V2 típusú !!!"));
}

TEST_F(FileCommandsTest, AFileOfTheOtherModelOffersTheSwitch) {
    const QString file = writeFile("sixteen.vd1", "", DeviceModel::Line16);
    const QString question =
        QString::fromUtf8("Ez a file Vardo-16 konfigurációnak látszik. Átvált?");
    // Nem: the model selected reads the 16-line bytes as they are.
    ui.fileNames = {file};
    ui.answers = {Answer::No};
    answerPassword("");
    action("Open1")->trigger();
    EXPECT_EQ(ui.texts(Kind::Question), QStringList{question});
    EXPECT_EQ(ui.shown.constLast().defaultAnswer, Answer::Yes) << "Enter reads it as it fits";
    EXPECT_EQ(form->currentModel(), DeviceModel::Line4);
    EXPECT_EQ(editText("MEcopos"), QString::number(record.image.at(1656)));

    // Igen: the window shows the file as the 16-line configuration it is.
    const zx::ConfigImage stored = record.image;
    ui.fileNames = {file};
    ui.answers = {Answer::Yes};
    answerPassword("");
    action("Open1")->trigger();
    EXPECT_EQ(ui.texts(Kind::Question).size(), 2);
    EXPECT_EQ(form->currentModel(), DeviceModel::Line16);
    EXPECT_EQ(form->document().model(), DeviceModel::Line16);
    EXPECT_EQ(editText("MEcopos"), QString::number(record.image.at(1683)));
    EXPECT_TRUE(record.image == stored) << "the image is the file's, untouched";
    EXPECT_FALSE(form->document().isModified());

    // A file that fits the model shown asks nothing.
    ui.fileNames = {file};
    answerPassword("");
    action("Open1")->trigger();
    EXPECT_EQ(ui.texts(Kind::Question).size(), 2);
    EXPECT_EQ(ui.unscripted, 0);
}

TEST_F(FileCommandsTest, SaveAsksForANameOnceAndWritesTheSameFileTwice) {
    const QString file = path("saved.vd1");
    form->document().markModified();
    ui.fileNames = {file};
    action("mnuSave")->trigger();
    EXPECT_EQ(ui.texts(Kind::SaveFile).size(), 1);
    EXPECT_EQ(form->document().currentFileName(), file);
    EXPECT_FALSE(form->document().isModified());
    const QByteArray first = bytesOf(file);
    ASSERT_EQ(first.size(), 9227);

    action("mnuSave")->trigger();
    EXPECT_EQ(ui.texts(Kind::SaveFile).size(), 1) << "the name is known now";
    EXPECT_EQ(bytesOf(file), first);

    // Another site changes the key, so every byte of the stored image changes.
    form->document().setText(Slot::Site, RawText("Pécs"));
    ui.fileNames = {path("other.vd1")};
    action("SaveAs1")->trigger();
    EXPECT_EQ(panel0(), path("other.vd1"));
    const QByteArray other = bytesOf(path("other.vd1"));
    for (int i = 1035; i < 9227; ++i)
        ASSERT_NE(other[i], first[i]) << i;
    const auto read = zx::readDatabaseFile(path("other.vd1"));
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(read.record.image == record.image);
}

TEST_F(FileCommandsTest, AFailedWriteKeepsThePreviousFileAndTheChanges) {
    const QString file = path("kept.vd1");
    ui.fileNames = {file};
    action("SaveAs1")->trigger();
    const QByteArray saved = bytesOf(file);
    // A folder that cannot be written: its place is taken by a plain file.
    QFile blocker(path("no-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    form->document().markModified();
    ui.fileNames = {path("no-folder/unit.vd1")};
    action("SaveAs1")->trigger();
    EXPECT_EQ(ui.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(form->document().isModified());
    EXPECT_EQ(bytesOf(file), saved);
    // The configuration is still the one of the file it was last written to.
    EXPECT_EQ(form->document().currentFileName(), file);
    EXPECT_EQ(panel0(), file);
    action("mnuSave")->trigger();
    EXPECT_FALSE(form->document().isModified());
    EXPECT_FALSE(QFile::exists(path("no-folder/unit.vd1")));
}

TEST_F(FileCommandsTest, DialogsStartWhereACommandLastSucceededNeverInProc) {
    const zx::SharedFileDialogs& dialogs = files->dialogs();
    ui.fileNames = {QStringLiteral("/proc/zx.vd1")};
    action("SaveAs1")->trigger();
    const QString first = dialogs.saveRequest().directory;
    EXPECT_EQ(ui.texts(Kind::Error).size(), 1);
    ui.fileNames = {path("kept.vd1")};
    action("SaveAs1")->trigger();
    EXPECT_EQ(dialogs.saveRequest().directory, first) << "the failed save is not remembered";
    ASSERT_TRUE(QFile::exists(path("kept.vd1")));

    ui.fileNames = {QString()};
    action("Open1")->trigger();
    EXPECT_EQ(dialogs.openRequest().directory, QFileInfo(dir.path()).canonicalFilePath());

    files->dialogs().rememberFolderOf(QStringLiteral("/proc/self/zx.vd1"));
    ui.fileNames = {QString()};
    action("Open1")->trigger();
    EXPECT_EQ(dialogs.openRequest().directory, QDir::homePath());
}

TEST_F(FileCommandsTest, NewAsksFirstAndAYesWhoseSaveIsCancelledCancelsIt) {
    record.image.set(1676, 9);
    form->document().markModified();
    ui.answers = {Answer::Yes};
    ui.fileNames = {QString()}; // the save dialog cancelled
    action("Uj1")->trigger();
    EXPECT_EQ(record.image.at(1676), 9) << "nothing unsaved is thrown away";
    EXPECT_TRUE(form->document().isModified());

    ui.answers = {Answer::Cancel};
    action("Uj1")->trigger();
    EXPECT_EQ(record.image.at(1676), 9);

    ui.answers = {Answer::No};
    action("Uj1")->trigger();
    EXPECT_EQ(record.image.at(1676), 6);
    EXPECT_FALSE(form->document().isModified());
    EXPECT_EQ(panel0(), QString::fromUtf8("Új"));
    EXPECT_EQ(form->currentView(), 0);

    form->document().markModified();
    ui.answers = {Answer::Yes};
    ui.fileNames = {path("before-new.vd1")};
    action("Uj1")->trigger();
    EXPECT_TRUE(QFile::exists(path("before-new.vd1")));
    EXPECT_TRUE(form->document().currentFileName().isEmpty());
}

TEST_F(FileCommandsTest, NewAndOpenStoreTheFieldBeingEditedBeforeTheyAsk) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    for (const auto& [command, typed] : {std::pair{"Uj1", 77}, std::pair{"Open1", 78}}) {
        setModified(false);
        form->showView(0);
        QLineEdit* edit = zx::childNamed<QLineEdit>(*form, "MEcopos");
        edit->setFocus();
        edit->setText(QString::number(typed));
        ui.shown.clear();
        ui.answers = {Answer::Cancel};
        action(command)->trigger();
        EXPECT_EQ(record.image.at(1656), typed) << command;
        EXPECT_EQ(ui.texts(Kind::Question).size(), 1) << command << ": the typed value counts";
    }
}

TEST_F(FileCommandsTest, AShortenedPasswordLeavesNothingOfTheOldOneInTheFile) {
    const QString file = writeFile("pw.vd1", "HosszuJelszo123", DeviceModel::Line4);
    ui.fileNames = {file};
    answerPassword("HosszuJelszo123");
    action("Open1")->trigger();
    ASSERT_EQ(form->document().currentFileName(), file);
    form->document().setText(Slot::Password, RawText("ab"));
    action("mnuSave")->trigger();
    const QByteArray bytes = bytesOf(file);
    // The password slot holds its length, two scrambled characters, then zeros.
    EXPECT_EQ(bytes[523], 2);
    EXPECT_EQ(bytes.mid(526, 253), QByteArray(253, '\0'));
}

// 16-line, the operator's grid edit not yet stored, then fewer digits: the table is written
// anew at once from the codes shown, rights kept, and the grid shows what is stored.
TEST_F(FileCommandsTest, PreferencesLayTheCodesShownOutInTheNewLength) {
    chooseModelInBox(DeviceModel::Line16);
    const zx::MemoryMap& map = zx::MemoryMap::of(DeviceModel::Line16);
    const std::size_t length = *map.offset(zx::Field::CodeLength);
    const std::size_t count = *map.offset(zx::Field::CodeCount);
    const std::size_t table = *map.offset(zx::Field::CodeTable);
    record.image.set(length, 7);
    record.image.setWord(count, 3);
    const std::string stored = "456789492432108622223"; // six digits, then the level
    for (std::size_t i = 0; i < stored.size(); ++i)
        record.image.set(table + i, static_cast<zx::Byte>(stored[i]));
    form->refill();
    setModified(false);
    auto* grid = zx::childNamed<zx::CodeGrid>(*form, "StringGrid1");
    grid->setRow(3, zx::CodeRowView{RawText("12"), {"M"}});
    form->codesView()->markGridChanged();

    ui.answers = {Answer::Yes};
    ui.dialogHandlers.push_back([](QDialog& d) {
        auto& prefer = static_cast<zx::PreferencesDialog&>(d);
        prefer.SEkodlen->setValue(2);
        prefer.accept();
    });
    action("Preferencik1")->trigger();
    EXPECT_EQ(ui.texts(Kind::Question),
              QStringList{QString::fromUtf8("2 kód rövidebb lesz. Folytatja?")});
    EXPECT_EQ(record.image.at(length), 3);
    EXPECT_EQ(record.image.word(count), 3);
    const std::string relaid = "454920123"; // 45 N, 92 T, 12 M
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record.image.bytes()[table]), 9), relaid);
    EXPECT_EQ(grid->gridRowCount(), 4);
    EXPECT_EQ(grid->cell(1, 1), "45");
    EXPECT_EQ(grid->cell(2, 1), "N");
    EXPECT_EQ(grid->cell(2, 2), "T");
    EXPECT_EQ(grid->cell(1, 3), "12");
    EXPECT_EQ(grid->cell(2, 3), "M");
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Codes), "3/2");
    EXPECT_TRUE(form->document().isModified());

    // Opening and closing it untouched changes no byte, so nothing is modified.
    setModified(false);
    ui.dialogHandlers.push_back(
        [](QDialog& d) { static_cast<zx::PreferencesDialog&>(d).accept(); });
    action("Preferencik1")->trigger();
    EXPECT_FALSE(form->document().isModified());
}

// Another program changed the file the window opened: Save asks before it replaces that, with
// the lock let go while it asks, and asks again when the file changes once more meanwhile.
TEST_F(FileCommandsTest, SaveAsksBeforeReplacingWhatAnotherProgramWrote) {
    const QString file = writeFile("shared.vd1", "", DeviceModel::Line4);
    ui.fileNames = {file};
    answerPassword("");
    action("Open1")->trigger();
    const QByteArray theirs = bytesOf(writeFile("shared.vd1", "", DeviceModel::Line4, 1676, 9));
    int asked = 0, lockFree = 0;
    ui.whileAsking = [&](const QString&) {
        lockFree += zx::FileWriteLock(file).acquire(0);
        if (++asked == 2) writeFile("shared.vd1", "", DeviceModel::Line4, 1676, 10);
    };
    ui.answers = {Answer::No, Answer::Yes, Answer::Yes};
    action("mnuSave")->trigger();
    EXPECT_EQ(bytesOf(file), theirs) << "Nem writes nothing";
    action("mnuSave")->trigger();
    EXPECT_EQ(ui.texts(Kind::Question),
              QStringList(3, QString::fromUtf8("A fájlt időközben más program módosította. "
                                               "Felülírja?")));
    EXPECT_EQ(lockFree, 3) << "no question is open while the lock is held";
    EXPECT_TRUE(zx::readDatabaseFile(file).record.image == record.image);
    action("mnuSave")->trigger();
    EXPECT_EQ(asked, 3) << "what the window wrote is what it knows";
}

// A lock held elsewhere is told at once, naming the lock file; "Utolsó módosítás" follows Save
// and New; New tells its outcome.
TEST_F(FileCommandsTest, ALockHeldElsewhereIsToldAndTheFileTimeFollowsSaveAndNew) {
    const QString file = path("held.vd1");
    ui.fileNames = {file};
    action("SaveAs1")->trigger();
    {
        zx::FileWriteLock theirs(file);
        ASSERT_TRUE(theirs.acquire(0));
        action("mnuSave")->trigger();
        ASSERT_EQ(ui.texts(Kind::Error).size(), 1);
        EXPECT_TRUE(ui.texts(Kind::Error)[0].contains(theirs.lockFilePath()));
    }
    QFile touched(file);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)),
                                    QFileDevice::FileModificationTime));
    action("mnuSave")->trigger();
    EXPECT_EQ(form->document().lastModified(), QFileInfo(file).lastModified());
    EXPECT_NE(form->document().lastModified().date().year(), 2001);
    action("Uj1")->trigger();
    EXPECT_FALSE(form->document().lastModified().isValid());
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::State),
              QString::fromUtf8("Új konfiguráció: Vardo-4"));
}

// Open of a file whose saved connection names another port: refused by the device link, the
// connection and its name stay.
TEST_F(FileCommandsTest, OpenKeepsTheConnectionWhenTheDeviceLinkRefusesTheChange) {
    ASSERT_TRUE(zx::writeSavedConnection("Pest", {"COM7", "9600", "06 1"}));
    DatabaseRecord r;
    zx::applyNewConfiguration(r, DeviceModel::Line4);
    ASSERT_TRUE(zx::writeDatabaseFile(path("pest.vd1"), r, QStringLiteral("Pest")).ok);
    connection.currentConnectionName = "Buda";
    QString asked;
    files->mayChangeConnection = [&](const zx::ConnectionState& next) {
        asked = next.portName;
        return false;
    };
    ui.fileNames = {path("pest.vd1")};
    answerPassword("");
    action("Open1")->trigger();
    EXPECT_EQ(asked, "COM7");
    EXPECT_EQ(connection.portName, "COM1");
    EXPECT_EQ(connection.currentConnectionName, "Buda");
}

} // namespace
