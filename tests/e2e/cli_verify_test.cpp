// zendrax-cli verify, upload --verify, upload --backup and --trace against zendrax-cli simulate
// on a pseudo-terminal.
#include "files/database_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_simulator.h"
#include "trace_lines.h"

namespace zx {
namespace {

class CliVerify : public ::testing::Test {
  protected:
    // A 4-line database file of a new configuration with the settings given.
    QString file(const QString& name, const QStringList& settings = {}) {
        const QString path = dir.filePath(name);
        CliRun r = cli({"new", "--model", "4", "--site", "Szeged", "--owner", "Nagy", "--password",
                        "pw", "-o", path});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        if (!settings.isEmpty()) {
            r = cli(QStringList{"set", path, "--password", "pw"} + settings);
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        }
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(CliVerify, ListsTheUnitsDifferencesAndNeverWritesToIt) {
    const QString held = file("held.vd1");
    const QString other = file("other.vd1", {"CoPosition=20", "CoNumbers[2]=77"});
    Simulator sim({"--model", "4", "--image", held});

    CliRun r = cli({"verify", "--port", sim.path(), "--password", "pw", held});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.endsWith(QStringLiteral("Sikeres letöltés."))) << r.err.toStdString();

    r = cli({"verify", "--port", sim.path(), "--password", "pw", other});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(r.out, "CoPosition\t20\t23\nCoNumbers[2]\t\"77\"\t\"02\"\n");

    EXPECT_TRUE(sim.summary().contains(QStringLiteral(" 0 írási keret")))
        << sim.summary().toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "verify writes no file";
}

TEST_F(CliVerify, AnErrorIsStatusTwoWithItsMessage) {
    const QString held = file("held.vd1");
    Simulator broken({"--model", "4", "--wrong-sum-segment", "100"});
    CliRun r = cli({"verify", "--port", broken.path(), "--password", "pw", held});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.endsWith(QStringLiteral("Letöltési időtúllépés !!!"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    r = cli({"verify", "--port", broken.path(), "--password", "PW", held});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, held + QStringLiteral(": Hibás jelszó !!!"));
    r = cli({"verify", "--port", dir.filePath("no-such-port"), "--password", "pw", held});
    EXPECT_EQ(r.exitCode, 2);
    r = cli({"verify", "--password", "pw", held});
    EXPECT_EQ(r.exitCode, 2);
}

TEST_F(CliVerify, UploadVerifyCatchesAWriteTheUnitDidNotKeep) {
    const QString sent = file("sent.vd1", {"CoPosition=20"});
    {
        Simulator dropping({"--model", "4", "--drop-write", "51"}); // CoPosition's segment
        const CliRun r =
            cli({"upload", "--port", dropping.path(), "--password", "pw", "--verify", sent});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.split('\n').contains("CoPosition\t20\t23")) << r.out.toStdString();
        EXPECT_TRUE(r.err.endsWith(QStringLiteral("Az egység nem azt tartja, amit kapott !!!")))
            << r.err.toStdString();
        EXPECT_TRUE(dropping.summary().contains(QStringLiteral("1 nyugtázva, de meg nem tartva")));
    }
    Simulator keeping({"--model", "4"});
    const CliRun r =
        cli({"upload", "--port", keeping.path(), "--password", "pw", "--verify", sent});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.endsWith(QStringLiteral("Sikeres feltöltés, ellenőrizve.")))
        << r.err.toStdString();
}

TEST_F(CliVerify, TheBackupHoldsExactlyTheUnitsPreviousMemory) {
    const QString previous = file("previous.vd1", {"CoPosition=99", "CallInNumber=0612"});
    const QString sent = file("sent.vd1", {"CoPosition=20"});
    const QString backup = dir.filePath("backup.vd1");
    const QString memory = dir.filePath("memory.bin");
    Simulator sim({"--model", "4", "--image", previous, "--save-memory", memory});
    const CliRun r =
        cli({"upload", "--port", sim.path(), "--password", "pw", "--backup", backup, sent});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(sim.stop());

    const DatabaseReadResult kept = readDatabaseFile(backup);
    ASSERT_TRUE(kept.ok()) << kept.message.toStdString();
    EXPECT_TRUE(passwordMatches(kept.record, "pw"));
    EXPECT_EQ(kept.record.text(DatabaseRecord::Slot::Site), "Szeged");
    EXPECT_EQ(kept.record.text(DatabaseRecord::Slot::Owner), "Nagy");
    const ConfigImage before = readDatabaseFile(previous).record.image;
    const ConfigImage now = readDatabaseFile(sent).record.image;
    const QByteArray unit = readAll(memory);
    ASSERT_EQ(unit.size(), static_cast<qsizetype>(ImageSize));
    for (int s = 44; s < SegmentCount; ++s) {
        EXPECT_EQ(kept.record.image.segment(s), before.segment(s)) << s;
        EXPECT_EQ(unit.mid(s * 32, 32),
                  QByteArray(reinterpret_cast<const char*>(now.segment(s).data()), 32))
            << s;
    }
}

TEST_F(CliVerify, NoWriteFrameWhenTheBackupCannotBeTakenOrKept) {
    const QString sent = file("sent.vd1");
    {
        Simulator broken({"--model", "4", "--wrong-sum-segment", "100"});
        const CliRun r = cli({"upload", "--port", broken.path(), "--password", "pw", "--backup",
                              dir.filePath("backup.vd1"), sent});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.endsWith(QStringLiteral("Letöltési időtúllépés !!!")));
        EXPECT_TRUE(broken.summary().contains(QStringLiteral(" 0 írási keret")));
        EXPECT_FALSE(QFile::exists(dir.filePath("backup.vd1")));
    }
    Simulator sim({"--model", "4"});
    const CliRun r = cli({"upload", "--port", sim.path(), "--password", "pw", "--backup",
                          dir.filePath("missing/backup.vd1"), sent});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("missing/backup.vd1")) << r.err.toStdString();
    EXPECT_TRUE(sim.summary().contains(QStringLiteral(" 0 írási keret")));
}

// The bytes a trace file shows in one direction.
QByteArray traced(const QString& path, const QString& arrow) {
    return tracedBytes(QString::fromLatin1(readAll(path)).split('\n', Qt::SkipEmptyParts), arrow);
}

TEST_F(CliVerify, TheTraceHoldsEveryByteOnTheLine) {
    const QString sent = file("sent.vd1");
    Simulator sim({"--model", "4"});
    const QString down = dir.filePath("download.trace");
    const QString up = dir.filePath("upload.trace");
    const QString clock = dir.filePath("clock.trace");
    ASSERT_EQ(cli({"download", "--port", sim.path(), "-o", dir.filePath("d.vd1"), "--trace", down})
                  .exitCode,
              0);
    ASSERT_EQ(
        cli({"upload", "--port", sim.path(), "--password", "pw", "--trace", up, sent}).exitCode, 0);
    ASSERT_EQ(cli({"set-clock", "--port", sim.path(), "--trace", clock}).exitCode, 0);

    // Wake-up, the model check, and each of the 212 segments read twice.
    const QByteArray request = traced(down, "->");
    EXPECT_EQ(request.size(), 3 + 4 * (1 + 2 * 212));
    EXPECT_TRUE(request.startsWith(QByteArray("\x03\x1B\x1B"
                                              "D2B\r"
                                              "D2C\r"
                                              "D2C\r")));
    EXPECT_EQ(traced(down, "<-").size(), 33 * (1 + 2 * 212));
    // The upload asks the unit its model first: wake-up and one read of the identification.
    const QByteArray frames = traced(up, "->");
    EXPECT_EQ(frames.size(), 3 + 4 + 70 * 212);
    EXPECT_TRUE(frames.startsWith(QByteArray("\x03\x1B\x1B"
                                             "D2B\rU2C")));
    EXPECT_EQ(traced(up, "<-").size(), 33 + 212);
    EXPECT_TRUE(traced(up, "<-").endsWith(QByteArray(212, '\x06')));
    EXPECT_EQ(traced(clock, "->").size(), 70);
    EXPECT_EQ(traced(clock, "<-").size(), 1);

    // A trace that cannot be written fails the command, after the transfer.
    const CliRun r = cli({"set-clock", "--port", sim.path(), "--trace", dir.filePath("no/t")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(dir.filePath("no/t"))) << r.err.toStdString();
    EXPECT_TRUE(sim.summary().contains(QStringLiteral("426 olvasási kérés, 214 írási keret")))
        << sim.summary().toStdString();
}

} // namespace
} // namespace zx
