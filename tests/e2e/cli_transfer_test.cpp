// zendrax-cli download, upload and set-clock against zendrax-cli simulate on a pseudo-terminal.
#include "files/database_file.h"
#include "model/new_configuration.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/stat.h>

#include "cli_simulator.h"

namespace zx {
namespace {

QString transferCli() {
    const QString dir =
        qEnvironmentVariable("ZX_BIN_DIR", QCoreApplication::applicationDirPath() + "/../bin");
    return QDir(dir).filePath("zendrax-cli");
}

struct CliResult {
    int exitCode = -1;
    QString err;
};

CliResult runCli(const QStringList& args) {
    QProcess p;
    p.start(transferCli(), args);
    CliResult r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return r;
    r.exitCode = p.exitCode();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

ConfigImage pattern(int seed) {
    ConfigImage image;
    for (std::size_t i = 0; i < ImageSize; ++i)
        image.set(i, static_cast<Byte>((i * 13 + static_cast<std::size_t>(seed)) % 253 + 1));
    return image;
}

void writeRaw(const QString& path, const ConfigImage& image) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(image.bytes().data()), ImageSize);
}

ConfigImage readRaw(const QString& path) {
    QFile f(path);
    ConfigImage image;
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = f.readAll();
        if (bytes.size() == static_cast<qsizetype>(ImageSize))
            std::copy(bytes.begin(), bytes.end(), image.bytes().begin());
    }
    return image;
}

struct ModelCase {
    const char* option;
    int start;
    const char* caption;
};

class CliTransferOfModel : public ::testing::TestWithParam<ModelCase> {};

TEST_P(CliTransferOfModel, DownloadWritesTheUnitsConfigurationAsADatabaseFile) {
    const ModelCase c = GetParam();
    QTemporaryDir dir;
    const QString raw = dir.filePath("unit.bin");
    const QString out = dir.filePath("downloaded.vd1");
    writeRaw(raw, pattern(c.start));
    Simulator sim({"--model", c.option, "--image", raw});
    ASSERT_TRUE(sim.path().startsWith("/dev/")) << sim.path().toStdString();

    const CliResult r = runCli({"download", "--port", sim.path(), "-o", out, "--site", "Szeged",
                                "--owner", "Nagy", "--password", "titok", "--progress"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Tipusellenőrzés...")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Memória szegmens: 255/255")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Sikeres letöltés.")));
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.caption)));

    const DatabaseReadResult read = readDatabaseFile(out);
    ASSERT_TRUE(read.ok()) << read.message.toStdString();
    EXPECT_TRUE(passwordMatches(read.record, QStringLiteral("titok")));
    EXPECT_EQ(read.record.text(DatabaseRecord::Slot::Site), "Szeged");
    const ConfigImage unit = pattern(c.start);
    for (int s = 0; s < SegmentCount; ++s) {
        if (s == IdentSegment) continue;
        const ConfigImage::Segment expected =
            s >= c.start ? unit.segment(s) : ConfigImage::Segment{};
        EXPECT_EQ(read.record.image.segment(s), expected) << s;
    }
    EXPECT_TRUE(sim.stop());
}

TEST_P(CliTransferOfModel, UploadWritesEveryConfigurationSegmentToTheUnit) {
    const ModelCase c = GetParam();
    QTemporaryDir dir;
    const QString zeros = dir.filePath("zeros.bin");
    const QString memory = dir.filePath("memory.bin");
    const QString file = dir.filePath("config.vd1");
    writeRaw(zeros, ConfigImage{});
    DatabaseRecord record;
    record.writeHeader();
    record.setText(DatabaseRecord::Slot::Owner, zx::RawText("Kiss"));
    record.setText(DatabaseRecord::Slot::Password, zx::RawText("jelszo"));
    record.image = pattern(7);
    ASSERT_TRUE(writeDatabaseFile(file, record, QString()).ok);

    Simulator sim({"--model", c.option, "--image", zeros, "--save-memory", memory});
    const CliResult r =
        runCli({"upload", "--port", sim.path(), "--model", c.option, "--password", "jelszo",
                "--force", file}); // a pattern, not a configuration: the check refuses it
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QStringLiteral("Sikeres feltöltés")), 1) << r.err.toStdString();
    ASSERT_TRUE(sim.stop());

    const ConfigImage unit = readRaw(memory);
    for (int s = 0; s < SegmentCount; ++s) {
        if (s == IdentSegment) continue;
        const ConfigImage::Segment expected =
            s >= c.start ? record.image.segment(s) : ConfigImage::Segment{};
        EXPECT_EQ(unit.segment(s), expected) << s;
    }
}

INSTANTIATE_TEST_SUITE_P(BothModels, CliTransferOfModel,
                         ::testing::Values(ModelCase{"4", 44, "Vardo-4 (V2.39+)"},
                                           ModelCase{"16", 51, "Vardo-16 (V 4.27+)"}));

TEST(CliTransfer, AFailedDownloadLeavesTheOutputFileAlone) {
    QTemporaryDir dir;
    const QString out = dir.filePath("previous.vd1");
    QFile previous(out);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("earlier");
    previous.close();

    Simulator sim({"--model", "4", "--wrong-sum-segment", "100"});
    // Without --force the file is not replaced, and the unit is not even woken.
    CliResult r = runCli({"download", "--port", sim.path(), "-o", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(out + QString::fromUtf8(": már létezik"))) << r.err.toStdString();
    r = runCli({"download", "--port", sim.path(), "-o", out, "--force"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Kommunikációs hiba.")));
    EXPECT_TRUE(r.err.trimmed().endsWith(QStringLiteral("Letöltési időtúllépés !!!")));
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), QByteArray("earlier"));
}

TEST(CliTransfer, AnUploadTheUnitKeepsRejectingFails) {
    QTemporaryDir dir;
    const QString file = dir.filePath("config.vd1");
    DatabaseRecord record;
    record.writeHeader();
    ASSERT_TRUE(writeDatabaseFile(file, record, QString()).ok);

    Simulator sim({"--model", "4", "--reject-segment", "60"});
    const CliResult r = runCli({"upload", "--port", sim.path(), "--force", "--progress", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Memória szegmens: 60/255")));
    EXPECT_FALSE(r.err.contains(QStringLiteral("Memória szegmens: 61/255")));
    EXPECT_TRUE(r.err.trimmed().endsWith(QStringLiteral("Feltöltési időtúllépés !!!")));
}

// A file of the other model than the unit: the unit is asked first and gets no write frame.
TEST(CliTransfer, AnUploadToAUnitOfTheOtherModelWritesNothing) {
    QTemporaryDir dir;
    const QString file = dir.filePath("negy.vd1");
    DatabaseRecord record;
    applyNewConfiguration(record, DeviceModel::Line4);
    ASSERT_TRUE(writeDatabaseFile(file, record, QString()).ok);

    Simulator sim({"--model", "16"});
    const CliResult r = runCli({"upload", "--port", sim.path(), "--model", "4", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        r.err.contains(QStringLiteral("Az egység Vardo-16 típusú, a konfiguráció Vardo-4 típusú")))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("Memória szegmens")));
    ASSERT_TRUE(sim.stop());
    EXPECT_TRUE(sim.summary().contains(QStringLiteral("1 olvasási kérés, 0 írási keret")))
        << sim.summary().toStdString();
}

// SIGINT stops an upload as the window's cancel does: soon, with the window's message, status 130
// and the trace of what went on the line up to then.
TEST(CliTransfer, SigintStopsAnUploadWithStatus130AndItsTrace) {
    QTemporaryDir dir;
    const QString file = dir.filePath("config.vd1");
    const QString trace = dir.filePath("wire.txt");
    DatabaseRecord record;
    record.writeHeader();
    ASSERT_TRUE(writeDatabaseFile(file, record, QString()).ok);

    Simulator sim({"--model", "4", "--pace", "300"});
    QProcess p;
    p.setReadChannel(QProcess::StandardError);
    p.start(transferCli(), {"upload", "--port", sim.path(), "--speed", "300", "--trace", trace,
                            "--force", "--progress", file});
    QByteArray err;
    while (!err.contains("Memória szegmens: 45/255") && p.waitForReadyRead(10000))
        err += p.readAllStandardError();
    ASSERT_TRUE(err.contains("Memória szegmens: 45/255")) << err.toStdString();
    QElapsedTimer clock;
    clock.start();
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 130);
    err += p.readAllStandardError();
    EXPECT_TRUE(QString::fromUtf8(err).trimmed().endsWith(QStringLiteral(
        "A feltöltés megszakadt: az egység részben írt konfigurációt tarthat, így nem biztos, "
        "hogy működőképes.")))
        << err.toStdString();

    // The trace holds the frames sent up to the cancel: the first one whole.
    QFile wire(trace);
    ASSERT_TRUE(wire.open(QIODevice::ReadOnly));
    const QByteArray lines = wire.readAll();
    const QByteArray firstFrame = QByteArray("U2C").toHex(' ').toUpper();
    EXPECT_TRUE(lines.contains("-> " + firstFrame)) << lines.left(400).toStdString();
    EXPECT_TRUE(lines.contains("<- 06"));
}

TEST(CliTransfer, SetClockWritesTheDateIntoTheIdentSegment) {
    QTemporaryDir dir;
    const QString memory = dir.filePath("memory.bin");
    Simulator sim({"--model", "16", "--save-memory", memory});
    const int year = QDate::currentDate().year();
    const CliResult r = runCli({"set-clock", "--port", sim.path(), "--speed", "9600"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("Az óra beállítva."));
    ASSERT_TRUE(sim.stop());

    const ConfigImage::Segment ident = readRaw(memory).segment(IdentSegment);
    auto bcd = [](int v) { return static_cast<Byte>((v / 10) * 16 + v % 10); };
    EXPECT_EQ(ident[0], bcd(year / 100));
    EXPECT_EQ(ident[1], bcd(year % 100));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ident.data()) + 7, 5), "V4290");
}

// No flag sends a 4-line file to a 16-line unit: --model against the layout is refused before
// the port is opened, --force overrides only the check's errors, and upload reads no file as a
// model its layout does not fit.
TEST(CliTransfer, NoFlagSendsALayoutTheUnitCannotRead) {
    QTemporaryDir dir;
    const QString four = dir.filePath("four.vd1");
    DatabaseRecord record;
    applyNewConfiguration(record, DeviceModel::Line4);
    ASSERT_TRUE(writeDatabaseFile(four, record, QString()).ok);
    Simulator sim({"--model", "16"});
    for (const QStringList& flags :
         {QStringList{"--model", "16", "--force"}, QStringList{"--as-model", "16"}}) {
        const CliResult r = runCli(QStringList{"upload", "--port", sim.path()} + flags << four);
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
    }
    ASSERT_TRUE(sim.stop());
    EXPECT_TRUE(sim.summary().contains(QStringLiteral("0 olvasási kérés, 0 írási keret")))
        << sim.summary().toStdString();
}

// "-" is standard output; a new database file and a trace are their owner's only.
TEST(CliTransfer, DownloadToStandardOutputOrToFilesOfTheOwnerOnly) {
    QTemporaryDir dir;
    Simulator sim({"--model", "4"});
    QProcess p;
    p.start(transferCli(), {"download", "--port", sim.path(), "-o", "-", "--quiet"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.readAllStandardOutput().size(), static_cast<qsizetype>(RecordSize));
    const mode_t previous = ::umask(022);
    const QString file = dir.filePath("fresh.vd1");
    const QString trace = dir.filePath("wire.txt");
    EXPECT_EQ(runCli({"download", "--port", sim.path(), "-o", file, "--trace", trace}).exitCode, 0);
    ::umask(previous);
    for (const QString& made : {file, trace}) {
        struct stat s {};
        ASSERT_EQ(::stat(QFile::encodeName(made).constData(), &s), 0);
        EXPECT_EQ(s.st_mode & 0777, 0600u) << made.toStdString();
    }
}

TEST(CliTransfer, RefusalsBeforeAnythingIsSent) {
    QTemporaryDir dir;
    const QString file = dir.filePath("config.vd1");
    DatabaseRecord record;
    record.writeHeader();
    record.setText(DatabaseRecord::Slot::Password, zx::RawText("titok"));
    ASSERT_TRUE(writeDatabaseFile(file, record, QString()).ok);

    const struct {
        QStringList args;
        int exitCode;
        QString text;
    } cases[] = {
        {{"download", "--port", dir.filePath("no-such-port"), "-o", dir.filePath("x.vd1")},
         1,
         "Unable to open com port"},
        {{"upload", "--port", dir.filePath("no-such-port"), "--password", "TITOK", file},
         1,
         QStringLiteral("Hibás jelszó !!!")},
        {{"set-clock", "--port", "/dev/null", "--speed", "1234"}, 2, "--speed"},
        {{"download", "--port", "/dev/null"}, 2, "-o"},
    };
    for (const auto& c : cases) {
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.text)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("x.vd1")));
}

} // namespace
} // namespace zx
