// zendrax-cli as a scripter managing many sites uses it: an option's value is whatever follows
// it, passwords stay off the command line, one setting is read by name, --quiet leaves only the
// errors, a write that fails fails the command, and files of codes are their owner's only.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "cli_process.h"

namespace zx {
namespace {

// A shell line run in `folder`: its status, output and errors (a pipe's status is its first
// failure); `input` on standard input, ZENDRAX_PASSWORD as `password` (unset when empty).
CliRun shellIn(const QString& folder, const QString& line, const QByteArray& input = {},
               const QString& password = {}) {
    QProcess p;
    p.setWorkingDirectory(folder);
    QStringList env = QProcess::systemEnvironment();
    env.removeIf([](const QString& v) { return v.startsWith("ZENDRAX_PASSWORD="); });
    if (!password.isEmpty()) env << "ZENDRAX_PASSWORD=" + password;
    p.setEnvironment(env << "CLI=" + cliPath());
    p.start("bash", {"-c", "set -o pipefail; " + line});
    p.write(input);
    p.closeWriteChannel();
    CliRun r;
    if (!p.waitForFinished(30000)) return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return r;
}

mode_t modeOfFile(const QString& path) {
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? s.st_mode & 0777 : 0;
}

class CliScripting : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(shell("$CLI new --model 4 --password titok -o a.vd1").exitCode, 0);
    }
    CliRun shell(const QString& line, const QByteArray& input = {}, const QString& password = {}) {
        return shellIn(dir.path(), line, input, password);
    }
    bool exists(const QString& name) const { return QFile::exists(dir.filePath(name)); }
    mode_t modeOf(const QString& name) const { return modeOfFile(dir.filePath(name)); }

    QTemporaryDir dir;
};

TEST_F(CliScripting, OptionValuesAndPasswordsAreTakenAsGiven) {
    const struct {
        QString line;
        QByteArray input;
        QString password;
        int status;
    } cases[] = {
        {"printf 'titok\\r\\nmásik\\n' > pw; $CLI get a.vd1 CoWidth --password-file pw", {}, {}, 0},
        {"$CLI get a.vd1 CoWidth --password-file -", "titok\n", {}, 0},
        {"$CLI get a.vd1 CoWidth", {}, "titok", 0},
        {"$CLI get a.vd1 CoWidth --password x", {}, "titok", 1},
        {"$CLI get - CoWidth --password-file - < a.vd1", {}, {}, 2},
        {"$CLI get a.vd1 CoWidth --password titok --password-file pw", {}, {}, 2},
        // A valued option takes what follows it; --help is read only where an option stands.
        {"$CLI set a.vd1 --password titok --password-new -h && $CLI get a.vd1 CoWidth "
         "--password -h",
         {},
         {},
         0},
        {"$CLI new --model 4 --site --help -o b.vd1 && $CLI get b.vd1 CoWidth Site", {}, {}, 0},
    };
    for (const auto& c : cases) {
        const CliRun r = shell(c.line, c.input, c.password);
        EXPECT_EQ(r.exitCode, c.status) << c.line.toStdString() << ": " << r.err.toStdString();
        if (c.status == 0) {
            EXPECT_TRUE(r.out.startsWith("CoWidth: \"2\"\n")) << r.out.toStdString();
        }
    }
    EXPECT_TRUE(shell("$CLI get b.vd1 Site").out.contains("Site: \"--help\""));
    EXPECT_TRUE(shell("$CLI new --model 4 --help").out.startsWith("Használat"));
}

TEST_F(CliScripting, GetAndQuietSayOnlyWhatIsAskedFor) {
    CliRun r = shell("$CLI get a.vd1 CoPosition 'LineSettings[1].dialling' --password titok");
    EXPECT_EQ(r.out, "CoPosition: 23\nLineSettings[1].dialling: \"DTMF normal\"\n");
    r = shell("$CLI get a.vd1 CoPosition CoTimeout2 --password titok");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("CoTimeout2: A(z) Vardo-4 (V2.39+) típusban"))
        << r.err.toStdString();

    r = shell(
        "printf '123456\\r\\n' > c.txt; $CLI import-codes a.vd1 c.txt --password titok --quiet");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    r = shell("printf '12x\\r\\n' > c.txt; $CLI import-codes a.vd1 c.txt --password titok --quiet");
    EXPECT_TRUE(r.err.contains("a fájl 1. sorában")) << r.err.toStdString();
}

// Standard output that takes nothing more fails the command with a message; a reader that
// closed the pipe ends it silently, as SIGPIPE does; the copy idiom fails at its end when its
// first half failed.
TEST_F(CliScripting, AFailedWriteOrAFailedFirstHalfFailsTheCommand) {
    for (const QString args : {"show a.vd1", "show --json a.vd1", "report codes a.vd1"}) {
        const CliRun full = shell("$CLI " + args + " --password titok > /dev/full");
        EXPECT_EQ(full.exitCode, 1) << args.toStdString();
        EXPECT_TRUE(full.err.contains("(szabványos kimenet): nem írható"))
            << full.err.toStdString();
    }
    // The reader has closed its end before the command starts (a reader still there could take
    // the whole output into the pipe's buffer).
    const CliRun closed = shell("mkfifo ready; { read -r _ < ready; $CLI show a.vd1 --password "
                                "titok; } | { exec 0<&-; echo > ready; }");
    EXPECT_EQ(closed.exitCode, 141);
    EXPECT_TRUE(closed.err.isEmpty()) << closed.err.toStdString();
    const CliRun copy = shell("$CLI new --model 4 -o b.vd1 && $CLI show a.vd1 --password WRONG | "
                              "$CLI set b.vd1 --from -");
    EXPECT_EQ(copy.exitCode, 1);
    EXPECT_TRUE(copy.err.contains("Nincs beállítás a bemeneten")) << copy.err.toStdString();
}

TEST_F(CliScripting, FilesOfCodesAreTheirOwnersOnlyAndDashIsStandardOutput) {
    const struct {
        QString line;
        QString made;
        mode_t mode;
    } cases[] = {
        {"$CLI new --model 16 -o n.vd1", "n.vd1", 0600},
        {"$CLI export-codes a.vd1 --password titok -o codes.txt", "codes.txt", 0600},
        {"$CLI report codes a.vd1 --password titok --pdf codes.pdf", "codes.pdf", 0600},
        {"$CLI export-numbers a.vd1 --password titok -o numbers.txt", "numbers.txt", 0644},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shell("umask 022; " + c.line).exitCode, 0) << c.line.toStdString();
        EXPECT_EQ(modeOf(c.made), c.mode) << c.made.toStdString();
    }
    EXPECT_TRUE(shell("$CLI report codes a.vd1 --password titok --pdf -").out.startsWith("%PDF"));
    EXPECT_FALSE(exists("-"));
}

} // namespace
} // namespace zx
