// zendrax-cli new and show, run as the operator would run them, and the model every command
// takes for a database file when --model is not given.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_process.h"
#include "cli_simulator.h"

namespace {

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QJsonObject showJson(const QStringList& args) {
    const CliRun r = cli(QStringList{"show"} + args + QStringList{"--json"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

QStringList strings(const QJsonValue& v) {
    QStringList out;
    for (const QJsonValue& e : v.toArray())
        out << e.toString();
    return out;
}

class CliFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(QFile::exists(cliPath())) << cliPath().toStdString(); }
    QString path(const QString& name) const { return dir.filePath(name); }

    QString newFile(const QString& model, const QString& password = "Titok") {
        const QString file = path("m" + model + ".vd1");
        const CliRun r = cli({"new", "--model", model, "--site", QString::fromUtf8("Győr"),
                              "--owner", "Kiss", "--password", password, "-o", file});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return file;
    }

    QTemporaryDir dir;
};

TEST_F(CliFile, NewFourLineFileShowsItsDefaults) {
    const QString file = newFile("4");
    const QByteArray bytes = readAll(file);
    ASSERT_EQ(bytes.size(), 9227);
    EXPECT_EQ(bytes.left(11), QByteArray("\x0AZendrax1V2"));

    const QJsonObject o = showJson({file, "--password", "Titok"});
    for (const char* key : {"Site",
                            "Owner",
                            "ConnectionName",
                            "LastModified",
                            "SmdrSpeed",
                            "SmdrMode",
                            "CoPosition",
                            "CoWidth",
                            "CalledPosition",
                            "RecordTerminator",
                            "PinEnable",
                            "DstEnable",
                            "LineSettings",
                            "CoNumbers",
                            "SeizeTime",
                            "ReleaseTime",
                            "InterdigitTime",
                            "FirstToneTime1",
                            "SecondToneTime1",
                            "CoTimeout1",
                            "CoResetTime1",
                            "LoopPulseDelta",
                            "LocalLength",
                            "NationalLength",
                            "NationalExceptions",
                            "MobilePrefixes",
                            "IntlPrefixes",
                            "CallInNumber",
                            "CallInFlags",
                            "BarredCallInAreas",
                            "CodeLength",
                            "CodeCount",
                            "CodeTable",
                            "FreeNumbers"})
        EXPECT_TRUE(o.contains(key)) << key;
    for (const char* absent : {"NumberTerminator", "FirstToneTime2", "CoTimeout2"})
        EXPECT_FALSE(o.contains(absent)) << absent;

    // Values as the views show them; the decoding itself is covered by the model tests.
    EXPECT_EQ(o["Site"].toString(), QString::fromUtf8("Győr"));
    EXPECT_EQ(o["Owner"].toString(), "Kiss");
    EXPECT_EQ(o["SmdrSpeed"]["speed"].toString(), "9600");
    EXPECT_EQ(o["SmdrMode"]["mode"].toString(), QString::fromUtf8("Saját"));
    EXPECT_EQ(strings(o["CoNumbers"]), (QStringList{"01", "02", "03", "04"}));
    EXPECT_EQ(o["LineSettings"][0]["dialling"].toString(), "DTMF normal");
    EXPECT_EQ(o["NationalExceptions"][0]["area"].toString(), "0620");
    EXPECT_EQ(o["BarredCallInAreas"].toArray().size(), 64);
    EXPECT_EQ(o["CodeTable"][0]["rights"]["Helyi"].toString(), "Igen");
    EXPECT_EQ(o["CodeStatus"].toString(), "1/6");
}

TEST_F(CliFile, NewSixteenLineFileShowsItsDefaults) {
    const QString file = newFile("16");
    const QJsonObject o = showJson({file, "--model", "16", "--password", "Titok"});
    EXPECT_EQ(o["Model"].toString(), "Vardo-16 (V 4.27+)");
    EXPECT_EQ(o["SmdrMode"]["mode"].toString(), "Normal");
    EXPECT_EQ(o["NumberTerminator"].toString(), " ");
    EXPECT_EQ(o["CoTimeout2"].toInt(), 90);
    EXPECT_FALSE(o.contains("MobilePrefixes"));
    const QStringList co = strings(o["CoNumbers"]);
    ASSERT_EQ(co.size(), 16);
    EXPECT_EQ(co.last(), "16");
    EXPECT_EQ(o["LineSettings"][15]["timerSet"].toString(), "#1");
    EXPECT_EQ(o["NationalExceptions"][15]["length"].toString(), "255");
    EXPECT_EQ(o["CodeTable"][0]["rights"].toString(), QString::fromUtf8("Nemzetközi"));
}

TEST_F(CliFile, ShowWithoutJsonPrintsEveryField) {
    const QString file = newFile("4");
    const CliRun r = cli({"show", file, "--password", "Titok"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("SmdrSpeed: "));
    EXPECT_TRUE(r.out.contains("Site: \"" + QString::fromUtf8("Győr") + "\""));
    EXPECT_TRUE(r.out.contains("CoNumbers: (4)"));
    EXPECT_TRUE(r.out.contains("  4: \"04\""));
}

TEST_F(CliFile, DoubleDashEndsTheOptionsSoAFileNameMayBeginWithADash) {
    // A valued option takes the next argument whatever it looks like.
    const auto inDir = [this](QProcess& p) { p.setWorkingDirectory(dir.path()); };
    CliRun r = cli({"new", "--model", "4", "--password", "p", "-o", "-x.vd1"}, inDir);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(QFile::exists(path("-x.vd1")));

    r = cli({"show", "-x.vd1", "--password", "p"}, inDir);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QString::fromUtf8("Ismeretlen kapcsoló: -x.vd1 !!!"));

    r = cli({"show", "--password", "p", "--", "-x.vd1"}, inDir);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Model: \"Vardo-4 (V2.39+)\""));

    // After "--" nothing is an option, not even "--" again or a known option's name.
    r = cli({"show", "--", "--password"}, inDir);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("--password")) << r.err.toStdString();
    r = cli({"show", "--", "-x.vd1", "--"}, inDir);
    EXPECT_EQ(r.exitCode, 2);
}

TEST_F(CliFile, ShowEscapesControlCharactersOfStoredTexts) {
    const QString file = path("crafted.vd1");
    const QString site = QStringLiteral("A\x1b[2J\nForged: \"yes\"\r\x7f\\x41");
    CliRun r = cli({"new", "--model", "4", "--site", site, "--owner", "\t", "-o", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    r = cli({"show", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const QChar c : r.out)
        EXPECT_TRUE(c == '\n' || c.category() != QChar::Other_Control) << int(c.unicode());
    const QStringList lines = r.out.split('\n');
    EXPECT_TRUE(
        lines.contains(QStringLiteral(R"(Site: "A\x1B[2J\x0AForged: \"yes\"\x0D\x7F\\x41")")));
    EXPECT_TRUE(lines.contains(QStringLiteral(R"(Owner: "\x09")")));
    for (const QString& line : lines)
        EXPECT_FALSE(line.startsWith("Forged")) << line.toStdString();
    // The same texts as they are, in JSON.
    EXPECT_EQ(showJson({file})["Site"].toString(), site);
}

// --model against a file that fits only the other layout: refused with the usage status and
// nothing written, unless --force reads it through the map chosen.
TEST_F(CliFile, AModelAgainstTheFilesLayoutIsRefusedUnlessForced) {
    const QString file = newFile("16");
    const QByteArray before = readAll(file);
    for (const QString command : {"show", "set", "export-codes"}) {
        QStringList args{command, file, "--model", "4", "--password", "Titok"};
        if (command == "set") args << "CoPosition=9";
        if (command == "export-codes") args << "-o" << path("codes.txt");
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << command.toStdString();
        EXPECT_TRUE(r.err.startsWith(file + ": Ez a file Vardo-16 konfigurációnak látszik, nem "
                                            "Vardo-4-nek"))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(readAll(file), before);
    EXPECT_FALSE(QFile::exists(path("codes.txt")));
    const QJsonObject o = showJson({file, "--as-model", "4", "--password", "Titok"});
    EXPECT_EQ(o["Model"].toString(), "Vardo-4 (V2.39+)");
    EXPECT_EQ(o["CoPosition"].toInt(), 4); // a 16-line line-settings byte
}

TEST_F(CliFile, WithoutModelAFileThatFitsOnlyTheSixteenLineLayoutIsReadAsOne) {
    const QString file = newFile("16");
    const QByteArray before = readAll(file);
    CliRun r = cli({"show", file, "--password", "Titok", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(
        file + QString::fromUtf8(": Ez a file Vardo-16 konfigurációnak látszik, Vardo-16 "
                                 "szerint olvasom (Vardo-4 szerint: CodeLength=15")))
        << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["Model"].toString(),
              "Vardo-16 (V 4.27+)");

    // set stores through the 16-line map; a 4-line file is read as before, without a word.
    r = cli({"set", file, "--password", "Titok", "CoTimeout2=77"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Vardo-16")) << r.err.toStdString();
    EXPECT_EQ(showJson({file, "--model", "16", "--password", "Titok"})["CoTimeout2"].toInt(), 77);
    EXPECT_NE(readAll(file), before);
    r = cli({"show", newFile("4"), "--password", "Titok"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST_F(CliFile, EveryCommandReadingADatabaseWithoutModelRecognisesIt) {
    const QString file = newFile("16");
    // Read as 4-line, the file would differ from the 16-line unit holding it.
    Simulator unit({"--model", "16", "--image", file});
    const QString codes = path("codes.txt");
    const QString numbers = path("numbers.txt");
    writeAll(codes, "1234\r\n");
    const QStringList commands[] = {
        {"verify", "--port", unit.path(), file},
        {"upload", "--port", unit.path(), file},
        {"import-codes", file, "--format", "txt", codes},
        {"export-codes", file, "--format", "txt", "-o", path("exported.txt")},
        {"export-numbers", file, "-o", numbers},
        {"import-numbers", file, "--replace", numbers},
        {"report", "codes", file},
    };
    const QString notice = file + QString::fromUtf8(": Ez a file Vardo-16 konfigurációnak látszik");
    for (const QStringList& args : commands) {
        const CliRun r = cli(args + QStringList{"--password", "Titok"});
        EXPECT_EQ(r.exitCode, 0) << args.first().toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(notice))
            << args.first().toStdString() << ": " << r.err.toStdString();
    }
}

TEST_F(CliFile, WrongPasswordIsRefused) {
    const QString file = newFile("4");
    for (const QStringList& typed :
         {QStringList{"--password", "titok"}, QStringList{"--password", "Titok "}, QStringList{}}) {
        const CliRun r = cli(QStringList{"show", file} + typed);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_EQ(r.err, file + QString::fromUtf8(": Hibás jelszó !!!"));
        EXPECT_TRUE(r.out.isEmpty());
    }
    const QString open = newFile("16", "");
    EXPECT_EQ(cli({"show", open, "--model", "16"}).exitCode, 0);
}

TEST_F(CliFile, BadFormatShortAndMissingFilesAreRefused) {
    const QString file = newFile("4");
    QByteArray bytes = readAll(file);
    bytes[3] = 'N'; // "ZeNdrax1V2"
    writeAll(path("bad.vd1"), bytes);
    CliRun r = cli({"show", path("bad.vd1"), "--password", "Titok"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err,
              path("bad.vd1") + QString::fromUtf8(": File formátum nem Zendrax1 V2 típusú !!!"));

    writeAll(path("short.vd1"), readAll(file).left(9226));
    r = cli({"show", path("short.vd1"), "--password", "Titok"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("9226")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    r = cli({"show", path("missing.vd1")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(path("missing.vd1"))) << r.err.toStdString();
}

TEST_F(CliFile, NothingIsWrittenOnBadArgumentsOrAnUnwritablePath) {
    const QString target = path("x.vd1");
    const QList<QStringList> bad{
        {"new", "--model", "5", "-o", target},
        {"new", "-o", target},
        {"new", "--model", "4", "--colour", "red", "-o", target},
        {"new", "--model", "4", "-o", target, "extra"},
        {"new", "--model", "4", "--site"},
        {"new", "--model", "4", "-o", path("missing/x.vd1")},
        // A text Windows-1250 cannot hold would be stored as '?': "ñ" would open a "?" file.
        {"new", "--model", "4", "--password", QString::fromUtf8("ñ"), "-o", target},
        {"new", "--model", "4", "--site", QString::fromUtf8("Жуков"), "-o", target},
    };
    for (const QStringList& args : bad) {
        const CliRun r = cli(args);
        EXPECT_NE(r.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    const CliRun refused =
        cli({"new", "--model", "4", "--owner", QString::fromUtf8("Kovács ñ"), "-o", target});
    EXPECT_TRUE(refused.err.startsWith(target + ": --owner: ")) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QString::fromUtf8("„ñ”"))) << refused.err.toStdString();

    const QString file = newFile("4");
    for (const QStringList& args : {QStringList{"show"}, QStringList{"show", file, file},
                                    QStringList{"show", file, "--model", "8"}})
        EXPECT_NE(cli(args).exitCode, 0) << args.join(' ').toStdString();
}

} // namespace
