// zendrax-cli as a scripter managing many sites uses it: an option's value is whatever follows
// it, passwords stay off the command line, one setting is read by name, --quiet leaves only the
// errors, a write that fails fails the command, and files of codes are their owner's only.
#include "file_fixture.h"
#include "files/database_file.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "cli_process.h"

namespace zx {
namespace {

// zendrax-cli with `input` on its standard input and `environment` added to its own.
CliRun cliFed(const QStringList& args, const QByteArray& input,
              const QStringList& environment = {}) {
    return ::cli(args, [input, environment](QProcess& p) {
        QStringList env = QProcess::systemEnvironment();
        env.removeIf([](const QString& v) { return v.startsWith("ZENDRAX_PASSWORD="); });
        p.setEnvironment(env + environment);
        QObject::connect(&p, &QProcess::started, [&p, input] {
            p.write(input);
            p.closeWriteChannel();
        });
    });
}

// A shell line's status and standard error (a pipe's status is its first failure).
CliRun shell(const QString& line) {
    QProcess p;
    p.start("bash", {"-c", "set -o pipefail; " + line});
    CliRun r;
    if (!p.waitForFinished(30000)) return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return r;
}

class CliScripting : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString newFile(const QString& name, const QString& model = "4", const QString& pw = {}) {
        const CliRun r = cli({"new", "--model", model, "--password", pw, "-o", path(name)});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return path(name);
    }
    void put(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString cliPathQuoted() const { return "'" + cliPath() + "'"; }

    QTemporaryDir dir;
};

TEST_F(CliScripting, AnOptionsValueIsTakenWhateverItLooksLike) {
    const QString file = newFile("a.vd1");
    EXPECT_EQ(cli({"set", file, "--password-new", "-h"}).exitCode, 0);
    EXPECT_TRUE(passwordMatches(readDatabaseFile(file).record, QStringLiteral("-h")));
    const CliRun made = cli({"new", "--model", "4", "--site", "--help", "-o", path("b.vd1")});
    EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_EQ(readDatabaseFile(path("b.vd1")).record.text(DatabaseRecord::Slot::Site), "--help");
    // Where an option may stand, --help is one.
    EXPECT_TRUE(cli({"new", "--model", "4", "--help"}).out.startsWith("Használat"));
}

TEST_F(CliScripting, PasswordsComeFromAFileStandardInputOrTheEnvironment) {
    const QString file = newFile("a.vd1", "4", "titok");
    put("pw.txt", "titok\r\nmásodik sor\n");
    const struct {
        QStringList args;
        QByteArray input;
        QStringList environment;
        int status;
    } cases[] = {
        {{"get", file, "CoWidth", "--password-file", path("pw.txt")}, {}, {}, 0},
        {{"get", file, "CoWidth", "--password-file", "-"}, "titok\n", {}, 0},
        {{"get", file, "CoWidth"}, {}, {"ZENDRAX_PASSWORD=titok"}, 0},
        {{"get", file, "CoWidth", "--password", "x"}, {}, {"ZENDRAX_PASSWORD=titok"}, 1},
        {{"get", file, "CoWidth"}, {}, {}, 1},
        {{"get", "-", "CoWidth", "--password-file", "-"}, "titok\n", {}, 2},
        {{"get", file, "CoWidth", "--password", "titok", "--password-file", "-"}, {}, {}, 2},
        {{"set", file, "--password-file", "-", "--password-new-file", "-"}, "titok\n", {}, 2},
    };
    for (const auto& c : cases) {
        const CliRun r = cliFed(c.args, c.input, c.environment);
        EXPECT_EQ(r.exitCode, c.status) << c.args.join(' ').toStdString() << r.err.toStdString();
        if (c.status == 0) {
            EXPECT_EQ(r.out, "CoWidth: \"2\"\n");
        }
    }
}

TEST_F(CliScripting, GetPrintsTheNamedSettingsAsShowDoes) {
    const QString file = newFile("a.vd1", "16");
    CliRun r = cli({"get", file, "CoPosition", "LineSettings[2].dialling", "CoNumbers[16]"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "CoPosition: 23\nLineSettings[2].dialling: \"DTMF\"\nCoNumbers[16]: \"16\"\n");
    r = cli({"get", file, "CoPosition", "PinEnable"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("PinEnable: A(z) Vardo-16 (V 4.27+) típusban nincs"))
        << r.err.toStdString();
}

// A stored byte that names no choice is shown as that byte, set takes it back, and the copy of
// such a file by show | set is byte for byte.
TEST_F(CliScripting, AnInvalidStoredByteIsShownAndCopied) {
    const QString a = newFile("a.vd1");
    const QString b = newFile("b.vd1");
    ASSERT_EQ(cli({"set", a, "CoWidth=byte=251"}).exitCode, 0);
    const CliRun shown = cli({"show", a});
    EXPECT_TRUE(shown.out.contains("CoWidth: byte=251 # nem érvényes: 1..4\n"));
    EXPECT_EQ(cli({"check", a}).exitCode, 2);
    const CliRun copied = cliFed({"set", b, "--from", "-"}, shown.out.toUtf8());
    EXPECT_EQ(copied.exitCode, 0) << copied.err.toStdString();
    EXPECT_TRUE(imageInFile(a) == imageInFile(b));
}

TEST_F(CliScripting, QuietLeavesOnlyTheErrors) {
    const QString sixteen = newFile("s.vd1", "16");
    put("codes.txt", "123456\r\n");
    put("bad.txt", "12x\r\n");
    CliRun r = cli({"import-codes", sixteen, path("codes.txt"), "--quiet"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_FALSE(cli({"import-codes", sixteen, path("codes.txt")}).err.isEmpty());
    r = cli({"import-codes", sixteen, path("bad.txt"), "--quiet"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("a fájl 1. sorában")) << r.err.toStdString();
}

// Standard output that takes nothing more fails the command with a message; a reader that
// closed the pipe ends it silently, as SIGPIPE does.
TEST_F(CliScripting, AFailedWriteOfStandardOutputFailsTheCommand) {
    const QString file = newFile("a.vd1");
    const QString cmd = cliPathQuoted();
    for (const QString& args :
         {"show '" + file + "'", "show --json '" + file + "'", "report codes '" + file + "'"}) {
        const CliRun full = shell(cmd + " " + args + " > /dev/full");
        EXPECT_EQ(full.exitCode, 1) << args.toStdString();
        EXPECT_TRUE(full.err.contains("(szabványos kimenet): nem írható"))
            << full.err.toStdString();
    }
    const CliRun closed = shell(cmd + " show '" + file + "' | head -c 1 >/dev/null");
    EXPECT_EQ(closed.exitCode, 141);
    EXPECT_TRUE(closed.err.isEmpty()) << closed.err.toStdString();
    // The copy idiom fails at its end when its first half failed.
    const QString b = newFile("b.vd1");
    const CliRun copy =
        shell(cmd + " show '" + file + "' --password WRONG | " + cmd + " set '" + b + "' --from -");
    EXPECT_EQ(copy.exitCode, 1);
    EXPECT_TRUE(copy.err.contains("Nincs beállítás a bemeneten")) << copy.err.toStdString();
}

mode_t modeOf(const QString& path) {
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? s.st_mode & 0777 : 0;
}

TEST_F(CliScripting, FilesOfCodesAreTheirOwnersOnlyAndDashIsStandardOutput) {
    const mode_t previous = ::umask(022);
    const QString file = newFile("a.vd1");
    EXPECT_EQ(modeOf(file), 0600u);
    const struct {
        QStringList args;
        QString made;
        mode_t mode;
    } cases[] = {
        {{"export-codes", file, "-o", path("codes.txt")}, path("codes.txt"), 0600},
        {{"report", "codes", file, "--pdf", path("codes.pdf")}, path("codes.pdf"), 0600},
        {{"export-numbers", file, "-o", path("numbers.txt")}, path("numbers.txt"), 0644},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli(c.args).exitCode, 0) << c.args.join(' ').toStdString();
        EXPECT_EQ(modeOf(c.made), c.mode) << c.made.toStdString();
    }
    ::umask(previous);
    EXPECT_TRUE(cli({"report", "codes", file, "--pdf", "-"}).out.startsWith("%PDF"));
    EXPECT_FALSE(QFile::exists("-"));
}

TEST_F(CliScripting, RefusalsNameTheFileAndSayWhatHappened) {
    const QString file = newFile("a.vd1");
    const QString longText(260, QLatin1Char('x'));
    CliRun r = cli({"set", file, "--password-new", longText});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(file + ": --password-new: ")) << r.err.toStdString();
    r = cli({"new", "--model", "4", "--password", longText, "-o", path("b.vd1")});
    EXPECT_TRUE(r.err.startsWith(path("b.vd1") + ": --password: ")) << r.err.toStdString();

    QByteArray numbers;
    for (int n = 0; n < 210; ++n)
        numbers += QByteArray::number(6100 + n) + "\r\n";
    put("numbers.txt", numbers);
    r = cli({"import-numbers", file, "--replace", path("numbers.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.endsWith("A fájl 210 számot hoz, a listában 208 szabad hely van (legfeljebb "
                               "208 szám): egyetlen számot sem importáltam !!!"))
        << r.err.toStdString();
}

} // namespace
} // namespace zx
