// zendrax-cli as a script uses it: show of one file piped into set of another copies every
// setting, "-" is standard input and output, data and messages keep apart, two writers at once
// lose nothing, and every kind of end has its exit status.
#include "file_fixture.h"
#include "files/database_file.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_process.h"

namespace zx {
namespace {

// zendrax-cli with `input` on its standard input.
CliRun cliWithInput(const QStringList& args, const QByteArray& input) {
    return ::cli(args, [input](QProcess& p) {
        QObject::connect(&p, &QProcess::started, [&p, input] {
            p.write(input);
            p.closeWriteChannel();
        });
    });
}

// The bytes zendrax-cli writes to its standard output, taken as they are.
QByteArray rawOutput(const QStringList& args) {
    QProcess p;
    p.start(cliPath(), args);
    return p.waitForFinished(30000) ? p.readAllStandardOutput() : QByteArray();
}

class CliScript : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    QString newFile(const QString& name, const QString& model, const QString& password) {
        const CliRun r = cli({"new", "--model", model, "--password", password, "-o", path(name)});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return path(name);
    }

    QTemporaryDir dir;
};

TEST_F(CliScript, ShowOfOneFilePipedIntoSetOfAnotherCopiesEverySetting) {
    for (const QString model : {"4", "16"}) {
        const QString a = newFile("a" + model + ".vd1", model, "pa");
        const QString b = newFile("b" + model + ".vd1", model, "pb");
        QFile codes(path("codes.txt"));
        ASSERT_TRUE(codes.open(QIODevice::WriteOnly));
        codes.write("1234\tHelyi\r\n5678\r\n42\t\tMobil\r\n");
        codes.close();
        for (const QStringList& args :
             {QStringList{"set", a, "--password", "pa", "--site", "Győr", "--owner", "Kft",
                          "CoPosition=30", "CoWidth=3", "CoNumbers[2]=7", "CallInNumber=*06#",
                          "SmdrSpeed.parity=Páros", "BarredCallInAreas[60]=12"},
              QStringList{"import-codes", a, "--password", "pa", path("codes.txt")},
              QStringList{"set", b, "--password", "pb", "CoPosition=99", "CoWidth=4"}}) {
            const CliRun r = cli(args);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        }
        const CliRun shown = cli({"show", a, "--password", "pa"});
        ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
        const CliRun copied =
            cliWithInput({"set", b, "--password", "pb", "--from", "-"}, shown.out.toUtf8());
        ASSERT_EQ(copied.exitCode, 0) << copied.err.toStdString();
        EXPECT_TRUE(imageInFile(b) == imageInFile(a)) << "model " << model.toStdString();
        const CliRun diff = cli({"diff", a, b, "--password", "pa", "--password-b", "pb"});
        EXPECT_EQ(diff.exitCode, 0) << diff.out.toStdString();
        EXPECT_TRUE(diff.out.isEmpty());
    }
}

TEST_F(CliScript, DashIsStandardInputAndOutputAndDataKeepsApartFromMessages) {
    const QByteArray database = rawOutput({"new", "--model", "4", "--site", "S", "-o", "-"});
    EXPECT_EQ(database.size(), static_cast<qsizetype>(RecordSize));
    EXPECT_FALSE(QFile::exists("-"));

    const CliRun shown = cliWithInput({"show", "-"}, database);
    EXPECT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains("Site: \"S\"\n"));

    const QString file = newFile("site.vd1", "4", "");
    QFile list(path("list.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("0612\r\n0680 200 200\r\n");
    list.close();
    CliRun r = cliWithInput({"import-numbers", file, "--replace", "-"}, "0612\r\n0680 200 200\r\n");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, file + QString::fromUtf8(": 2 szám a listában"));
    r = cli({"export-numbers", file, "-o", "-"});
    EXPECT_EQ(r.out, "0612            \r\n0680200200      \r\n");
    EXPECT_EQ(r.err, QString::fromUtf8("(szabványos kimenet): 2 szám"));
    // An empty code table goes out as an empty text and comes back in.
    r = cli({"export-codes", file, "--format", "txt", "-o", "-"});
    EXPECT_TRUE(r.out.isEmpty());
    r = cliWithInput({"import-codes", file, "--format", "txt", "-"}, QByteArray());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, file + QString::fromUtf8(": 0 kód, 6 jegyű"));
}

// Each of two commands changing one file at once keeps its change: the second waits for the
// first instead of writing over what it changed.
TEST_F(CliScript, TwoWritersAtOnceLoseNoChange) {
    const QString file = newFile("site.vd1", "4", "");
    for (int round = 1; round <= 5; ++round) {
        QProcess first, second;
        first.start(cliPath(), {"set", file, QStringLiteral("CoPosition=%1").arg(round)});
        second.start(cliPath(), {"set", file, QStringLiteral("CalledPosition=%1").arg(round)});
        ASSERT_TRUE(first.waitForFinished(30000) && second.waitForFinished(30000));
        EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
        EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
        const ConfigImage stored = imageInFile(file);
        EXPECT_EQ(stored.at(1656), round);
        EXPECT_EQ(stored.at(1658), round);
    }
    EXPECT_FALSE(QFile::exists(file + ".lock"));
}

TEST_F(CliScript, EveryEndHasItsExitStatus) {
    const QString file = newFile("site.vd1", "4", "");
    const QString sixteen = newFile("sixteen.vd1", "16", "");
    const QString longText(256, QLatin1Char('x'));
    const struct {
        QStringList args;
        int status;
        const char* out; // what standard output holds; nullptr: nothing
    } cases[] = {
        {{}, 2, nullptr},
        {{"--help"}, 0, "Használat: zendrax-cli PARANCS"},
        {{"simulate", "--help"}, 0, "Használat: zendrax-cli simulate"},
        {{"set", "--help"}, 0, "NÉV=ÉRTÉK"},
        {{"bogus"}, 2, nullptr},
        {{"show", path("missing.vd1")}, 1, nullptr},
        {{"show", file, "--bogus"}, 2, nullptr},
        {{"show", sixteen, "--model", "4"}, 2, nullptr},
        {{"show", sixteen, "--model", "4", "--force"}, 2, nullptr},
        {{"show", sixteen, "--as-model", "4", "--quiet"}, 0, "Model: \"Vardo-4 (V2.39+)\""},
        {{"new", "--model", "4", "-o", file}, 1, nullptr},
        {{"set", file, "CoPosition=300"}, 1, nullptr},
        {{"set", file, "--password-new", longText}, 1, nullptr},
        {{"set", file, "--from", path("missing.txt")}, 1, nullptr},
        {{"new", "--model", "16", "--force", "-o", file}, 0, nullptr},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, c.status) << what << ": " << r.err.toStdString();
        if (c.out)
            EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.out))) << what;
        else
            EXPECT_TRUE(r.out.isEmpty()) << what << ": " << r.out.toStdString();
        EXPECT_EQ(r.err.isEmpty(), c.status == 0) << what;
    }
    EXPECT_TRUE(cli({"show", file}).out.contains("Model: \"Vardo-16 (V 4.27+)\"")) << "forced";
}

} // namespace
} // namespace zx
