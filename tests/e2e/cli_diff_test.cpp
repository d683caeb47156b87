// zendrax-cli diff, run as a script would run it: lines and JSON it can read, and the status.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_process.h"

namespace {

class CliDiff : public ::testing::Test {
  protected:
    QString newFile(const QString& name, const QString& model, const QString& password,
                    const QStringList& settings = {}) {
        const QString file = dir.filePath(name);
        CliRun r = cli({"new", "--model", model, "--password", password, "-o", file});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        if (!settings.isEmpty()) {
            r = cli(QStringList{"set", file, "--model", model, "--password", password} + settings);
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        }
        return file;
    }

    QString numbersFile(const QStringList& numbers) {
        const QString file = dir.filePath("numbers.txt");
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write((numbers.join("\r\n") + "\r\n").toLatin1());
        return file;
    }

    QTemporaryDir dir;
};

TEST_F(CliDiff, OneLinePerDifferenceWithBothValuesAsShowPrintsThem) {
    const QString a = newFile("a.vd1", "4", "pw");
    const QString b = newFile("b.vd1", "4", "pw",
                              {"CoPosition=20", "SmdrSpeed.parity=Páros", "CoNumbers[3]=12",
                               "NationalExceptions[2].length=9", "CallInNumber=0612"});
    ASSERT_EQ(
        cli({"import-numbers", b, "--password", "pw", "--append", numbersFile({"0680"})}).exitCode,
        0);

    CliRun r = cli({"diff", a, b, "--password", "pw"});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(r.out.split('\n', Qt::SkipEmptyParts),
              (QStringList{
                  QString::fromUtf8("SmdrSpeed\tbyte=10, parity=\"Nincs\", speed=\"9600\"\t"
                                    "parity=\"Páros\", speed=\"9600\""),
                  "CoPosition\t23\t20",
                  "CoNumbers[3]\t\"03\"\t\"12\"",
                  "NationalExceptions[2]\tarea=\"0630\", length=\"11\"\tarea=\"0630\", "
                  "length=\"09\"",
                  "CallInNumber\t\"\"\t\"0612\"",
                  "FreeNumbers[1]\t\t\"0680            \"",
              }));

    // The other way round, B's values come first.
    r = cli({"diff", b, a, "--password", "pw", "--json"});
    EXPECT_EQ(r.exitCode, 1);
    const QJsonArray list = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(list.size(), 6);
    EXPECT_EQ(list[1].toObject(), (QJsonObject{{"name", "CoPosition"}, {"a", 20}, {"b", 23}}));
    EXPECT_EQ(list[0]["a"]["parity"].toString(), QString::fromUtf8("Páros"));
    EXPECT_EQ(list[5]["name"].toString(), "FreeNumbers[1]");
    EXPECT_TRUE(list[5]["b"].isNull());
}

TEST_F(CliDiff, SameFilesGiveNothingAndStatusZero) {
    for (const QString model : {"4", "16"}) {
        const QString a = newFile("a" + model + ".vd1", model, "pw");
        const QString b = newFile("b" + model + ".vd1", model, "other");
        CliRun r =
            cli({"diff", a, b, "--model", model, "--password", "pw", "--password-b", "other"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        r = cli({"diff", a, b, "--model", model, "--password", "pw", "--password-b", "other",
                 "--json"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out.trimmed(), "[\n]");
    }
}

TEST_F(CliDiff, AnyErrorIsStatusTwoWithShowsMessage) {
    const QString a = newFile("a.vd1", "4", "pw");
    const QString b = newFile("b.vd1", "4", "other");
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"diff", a, b, "--password", "pw"}, QString::fromUtf8("Hibás jelszó !!!")},
        {{"diff", a, b, "--password-b", "other"}, QString::fromUtf8("Hibás jelszó !!!")},
        {{"diff", a, dir.filePath("missing.vd1"), "--password", "pw"}, "missing.vd1"},
        {{"diff", a, "--password", "pw"}, "Két adatbázis"},
        {{"diff", a, b, "--model", "8"}, "--model"},
        {{"diff", a, b, "--colour"}, "--colour"},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

} // namespace
