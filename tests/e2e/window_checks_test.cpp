// The window's comparison with a file (of the model shown only) or the unit, the read-back after an
// upload, the unit's configuration kept before it is overwritten, and the wire trace: the program
// as it starts, against a simulated unit on a pseudo-terminal.
#include "files/connection_settings.h"
#include "files/database_file.h"
#include "files/ini_file.h"
#include "link/served_unit.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"
#include "print/report_painter.h"
#include "scripted_interaction.h"
#include "status_panel_text.h"
#include "ui/commands/compare_command.h"
#include "ui/commands/transfer_commands.h"
#include "ui/desktop_session.h"
#include "ui/dialogs/compare_dialog.h"
#include "ui/dialogs/interaction.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

using Answer = Interaction::Answer;
using Kind = ScriptedInteraction::Kind;

constexpr std::size_t CoPosition4 = 1656;

ConfigImage unitMemory() {
    DatabaseRecord r;
    applyNewConfiguration(r, DeviceModel::Line4);
    r.image.set(CoPosition4, 77);
    return r.image;
}

class WindowChecks : public ::testing::Test {
  protected:
    void TearDown() override {
        session.reset();
        unit.reset();
        setConfigDir(QString());
    }
    void start(const UnitFaults& faults = {}) {
        unit = std::make_unique<ServedUnit>(DeviceModel::Line4, unitMemory(), faults);
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
        session->window().viewPages->buildAll(); // as after the window's first paint
    }
    MainWindow& window() { return session->window(); }
    void trigger(QAction* action) {
        action->trigger();
        QElapsedTimer t;
        t.start();
        do
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        while (session->transfers().busy() && t.elapsed() < 120000);
    }
    QString panel3() { return zx::statusPanelText(window(), MainWindow::Panel::State); }
    // The compare dialog the command shows: its rows read when it is run.
    void readTheDialog(QStringList& lines) {
        ui.dialogHandlers.push_back([&lines](QDialog& d) {
            lines = static_cast<CompareDialog&>(d).shownLines();
            d.accept();
        });
    }

    QTemporaryDir dir;
    ScriptedInteraction ui;
    std::unique_ptr<ServedUnit> unit;
    std::unique_ptr<DesktopSession> session;
};

TEST_F(WindowChecks, TheUnitIsComparedWithoutTouchingWhatTheWindowShows) {
    start();
    const ConfigImage before = window().document().image();
    ui.answers = {Answer::No}; // with the unit
    QStringList lines;
    // The list opens after the download's end has been handled and told, not inside it.
    bool ended = false;
    bool endedBeforeTheList = false;
    QObject::connect(&session->transfers(), &TransferCommands::finished, [&] { ended = true; });
    ui.dialogHandlers.push_back([&](QDialog& d) {
        endedBeforeTheList = ended;
        lines = static_cast<CompareDialog&>(d).shownLines();
        d.accept();
    });
    trigger(window().menu().compareConfigurations);
    EXPECT_TRUE(endedBeforeTheList);

    EXPECT_TRUE(lines.contains(QString::fromUtf8("Alap / CO pozíció\t23\t77\tCoPosition")))
        << lines.join('|').toStdString();
    EXPECT_TRUE(window().document().image() == before);
    EXPECT_FALSE(window().document().isModified());
    EXPECT_EQ(zx::statusPanelText(window(), MainWindow::Panel::File), QString::fromUtf8("Új"));
    unit->stop();
    EXPECT_EQ(unit->unit().stats().writeFrames, 0) << "a comparison writes nothing to the unit";
}

TEST_F(WindowChecks, AFileIsComparedByNameAndTheListFilteredAndSaved) {
    start();
    DatabaseRecord other;
    applyNewConfiguration(other, DeviceModel::Line4);
    other.image.set(CoPosition4, 30);
    other.image.set(*MemoryMap::of(DeviceModel::Line4).offset(Field::LocalLength), 9);
    const QString file = dir.filePath("masik.vd1");
    ASSERT_TRUE(writeDatabaseFile(file, other, QString()).ok);

    ui.answers = {Answer::Yes}; // with a file
    ui.fileNames = {file, dir.filePath("elteresek.txt")};
    ui.dialogHandlers.push_back([](QDialog& d) { static_cast<PasswordDialog&>(d).accept(); });
    QStringList all, filtered;
    QString count;
    ui.dialogHandlers.push_back([&](QDialog& d) {
        auto& dialog = static_cast<CompareDialog&>(d);
        all = dialog.shownLines();
        dialog.setFilter(QStringLiteral("copos")); // a part of the name scripts use
        filtered = dialog.shownLines();
        count = d.findChild<QLabel*>("lblCount")->text();
        EXPECT_TRUE(dialog.saveList());
        d.accept();
    });
    const QDateTime before = QDateTime::currentDateTime();
    trigger(window().menu().compareConfigurations);
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_EQ(all,
              (QStringList{QString::fromUtf8("Alap / CO pozíció\t23\t30\tCoPosition"),
                           QString::fromUtf8("Számhosszak / Helyi számhossz\t6\t9\tLocalLength")}));
    EXPECT_EQ(filtered, all.mid(0, 1));
    EXPECT_TRUE(count.contains(QString::fromUtf8("1 / 2"))) << count.toStdString();
    // The saved list says what was compared with what, when, and that a filter was on.
    QFile saved(dir.filePath("elteresek.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QStringList text = QString::fromUtf8(saved.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(text.size(), 7) << text.join('|').toStdString();
    EXPECT_EQ(text[0],
              QString::fromUtf8("Összehasonlítás: a megjelenített új konfiguráció és ") + file);
    EXPECT_TRUE(text[1] == QString::fromUtf8("Időpont: ") + reportDateTime(before) ||
                text[1] == QString::fromUtf8("Időpont: ") + reportDateTime(after))
        << text[1].toStdString();
    EXPECT_EQ(text[2], QString::fromUtf8("Szűrés: \"copos\", a szűrt sorok: 1 / 2"));
    EXPECT_EQ(text[4], QString::fromUtf8("Beállítás\tMegjelenített\tmasik.vd1\tNév"));
    EXPECT_EQ(text[5], all[0]);
    EXPECT_EQ(text[6], QString());
}

TEST_F(WindowChecks, AFileOfTheOtherModelIsNotComparedWithTheConfigurationShown) {
    start();
    DatabaseRecord sixteen;
    applyNewConfiguration(sixteen, DeviceModel::Line16);
    const QString file = dir.filePath("tizenhat.vd1");
    ASSERT_TRUE(writeDatabaseFile(file, sixteen, QString()).ok);

    ui.answers = {Answer::Yes}; // with a file
    ui.fileNames = {file};
    ui.dialogHandlers.push_back([](QDialog& d) { static_cast<PasswordDialog&>(d).accept(); });
    trigger(window().menu().compareConfigurations);
    EXPECT_EQ(ui.messages(),
              QStringList{QString::fromUtf8("Ez a file Vardo-16 konfigurációnak látszik, a "
                                            "megjelenített Vardo-4 beállításokkal nem "
                                            "hasonlítható össze !!!")});
    EXPECT_EQ(ui.texts(Kind::Dialog).size(), 1) << "the password only, no list of differences";
    EXPECT_EQ(window().document().model(), DeviceModel::Line4);
    EXPECT_EQ(ui.unscripted, 0);
}

TEST_F(WindowChecks, TheReadBackCatchesAWriteTheUnitDidNotKeep) {
    UnitFaults drop;
    drop.dropWriteSegment = 51; // CoPosition's segment
    start(drop);
    window().menu().verifyAfterUpload->setChecked(true);
    EXPECT_EQ(IniFile(programSettingsPath()).readInteger("UPLOAD", "VERIFY", 0), 1);
    trigger(window().menu().upload);

    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith(
        QString::fromUtf8("Az egység nem azt tartja, amit kapott !!!")));
    EXPECT_TRUE(ui.messages()[0].contains(QString::fromUtf8("Alap / CO pozíció")));
    EXPECT_EQ(panel3(), QString::fromUtf8("Az egység nem azt tartja, amit kapott !!!"));

    // Without the fault the same upload is confirmed.
    window().menu().verifyAfterUpload->setChecked(false);
    EXPECT_EQ(IniFile(programSettingsPath()).readInteger("UPLOAD", "VERIFY", 1), 0);
}

TEST_F(WindowChecks, TheBackupHoldsTheUnitsPreviousMemoryAndTheTraceEveryByte) {
    start();
    window().menu().backupBeforeUpload->setChecked(true);
    const QString trace = dir.filePath("wire.txt");
    ui.fileNames = {trace};
    window().menu().traceTraffic->setChecked(true);
    EXPECT_TRUE(window().findChild<QLabel*>("lblTrace")->isVisibleTo(&window()));
    trigger(window().menu().upload);
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join('|').toStdString();
    unit->stop();

    // The backup: the unit's configuration segments as they were before the upload.
    const QStringList backups =
        QDir(dir.filePath("mentesek")).entryList(QStringList{"egyseg_*"}, QDir::Files);
    ASSERT_EQ(backups.size(), 1) << backups.join('|').toStdString();
    const QString backup = QDir(dir.filePath("mentesek")).filePath(backups.first());
    ASSERT_TRUE(backup.startsWith(QDir(dir.path()).filePath("mentesek/egyseg_")))
        << backup.toStdString();
    const DatabaseReadResult read = readDatabaseFile(backup);
    ASSERT_TRUE(read.ok()) << read.message.toStdString();
    const ConfigImage before = unitMemory();
    for (int s = 44; s < SegmentCount; ++s)
        EXPECT_EQ(read.record.image.segment(s), before.segment(s)) << s;
    EXPECT_EQ(unit->unit().memory().at(CoPosition4), 23) << "then the upload went through";

    // The trace: every byte the unit received and sent, once.
    QFile f(trace);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    long sent = 0, received = 0;
    static const QRegularExpression line(
        QStringLiteral("^ +\\d+\\.\\d (->|<-)((?: [0-9A-F]{2})+)$"));
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString text = QString::fromLatin1(raw);
        if (text.isEmpty() || text.startsWith('#')) continue;
        const auto m = line.match(text);
        ASSERT_TRUE(m.hasMatch()) << text.toStdString();
        (m.captured(1) == "->" ? sent : received) += m.captured(2).size() / 3;
    }
    EXPECT_EQ(sent, unit->unit().stats().bytesIn);
    EXPECT_EQ(received, unit->unit().stats().bytesOut);
}

} // namespace
} // namespace zx
