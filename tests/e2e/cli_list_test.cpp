// zendrax-cli export-codes, import-codes, export-numbers and import-numbers, run as the operator
// would run them: a database changes only when the whole file was accepted.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "cli_process.h"

namespace {

// maxFileSize > 0: no file the program writes may grow beyond it, as on a full disk.
// zendrax-cli with a limit on the size of the files it writes (0: none), to make a write fail.
CliRun cli(const QStringList& args, rlim_t maxFileSize = 0) {
    return ::cli(args, [maxFileSize](QProcess& p) {
        if (maxFileSize > 0)
            p.setChildProcessModifier([maxFileSize] {
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit limit{};
                getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = maxFileSize;
                setrlimit(RLIMIT_FSIZE, &limit);
            });
    });
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class CliList : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    QString newFile(const QString& name, const QString& model = "4") {
        const QString file = path(name);
        const CliRun r = cli({"new", "--model", model, "--password", "pw", "-o", file});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return file;
    }

    QJsonObject show(const QString& file, const QString& model = "4") {
        const CliRun r = cli({"show", file, "--model", model, "--password", "pw", "--json"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }

    CliRun run(const QString& command, const QString& db, const QStringList& rest,
               const QString& model = "4", rlim_t maxFileSize = 0) {
        return cli(QStringList{command, db, "--model", model, "--password", "pw"} + rest,
                   maxFileSize);
    }

    static QStringList codes(const QJsonObject& o) {
        QStringList out;
        for (const QJsonValue& row : o["CodeTable"].toArray())
            out << row["code"].toString();
        return out;
    }

    QTemporaryDir dir;
};

TEST_F(CliList, CodesGoOutAndComeBackInBothFormats) {
    const QString db = newFile("a.vd1");
    writeAll(path("codes.txt"), "1234\r\n56789\r\n12\r\n");
    CliRun r = run("import-codes", db, {path("codes.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject o = show(db);
    EXPECT_EQ(o["CodeLength"].toInt(), 6);
    EXPECT_EQ(o["CodeCount"].toInt(), 3);
    EXPECT_EQ(codes(o), (QStringList{"1234 ", "56789", "12   "}));
    for (const QJsonValue& row : o["CodeTable"].toArray())
        EXPECT_EQ(row["rights"]["Nemzetközi"].toString(), "Igen");

    // The binary list carries the rights too: export, import into another file, compare.
    r = run("export-codes", db, {"-o", path("PIN.DAT")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(path("PIN.DAT")).size(), 3 + 3 * 6 + 1);
    const QString other = newFile("b.vd1");
    r = run("import-codes", other, {path("PIN.DAT")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(show(other)["CodeTable"], o["CodeTable"]);

    // --format chooses where the name does not.
    r = run("export-codes", db, {"--format", "txt", "-o", path("codes.lst")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(path("codes.lst")).left(28), "1234 \tHelyi\tT\xE1v\tMobil\tNemz\r\n");
    r = run("export-codes", db, {"-o", path("codes.lst")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.isEmpty());
}

TEST_F(CliList, SixteenLineRightsComeFromTheLowBitsOfAFourLineList) {
    const QString db = newFile("s.vd1", "16");
    writeAll(path("four.dat"), QByteArray("\x03\x03\x00", 3) + "121" + "34?" + "567" + '\0');
    const CliRun r = run("import-codes", db, {path("four.dat")}, "16");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = show(db, "16");
    QStringList levels;
    for (const QJsonValue& row : o["CodeTable"].toArray())
        levels << row["rights"].toString();
    EXPECT_EQ(levels, (QStringList{"Helyi", QString::fromUtf8("Nemzetközi"),
                                   QString::fromUtf8("Nemzetközi")}));
}

TEST_F(CliList, ACodeTextExportedAndImportedGivesBackTheSameTable) {
    // Every right level of the 16-line unit, and every other right set of the 4-line one,
    // brought in by a binary list, which carries them byte by byte.
    for (const QString model : {"16", "4"}) {
        const QString a = newFile("a" + model + ".vd1", model);
        QByteArray dat("\x05\x10\x00", 3);
        for (int n = 0; n < 16; ++n)
            dat += QByteArray::number(1000 + n * 7) + char('0' + (model == "16" ? n % 5 : n));
        writeAll(path("rights.dat"), dat + '\0');
        CliRun r = run("import-codes", a, {path("rights.dat")}, model);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

        r = run("export-codes", a, {"--format", "txt", "-o", path("codes.txt")}, model);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QString b = newFile("b" + model + ".vd1", model);
        r = run("import-codes", b, {"--format", "txt", path("codes.txt")}, model);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        r = cli({"diff", a, b, "--model", model, "--password", "pw"});
        EXPECT_EQ(r.exitCode, 0) << model.toStdString() << ": " << r.out.toStdString();
        EXPECT_EQ(show(b, model)["CodeTable"], show(a, model)["CodeTable"]);
    }
}

TEST_F(CliList, ARefusedImportLeavesTheDatabaseAsItWas) {
    const QString db = newFile("a.vd1");
    writeAll(path("good.txt"), "1234\r\n");
    ASSERT_EQ(run("import-codes", db, {path("good.txt")}).exitCode, 0);
    const QByteArray before = readAll(db);

    writeAll(path("long.dat"), QByteArray("\x0A\x01\x00", 3) + "123456789?" + '\0');
    writeAll(path("cut.dat"), QByteArray("\x05\x02\x00", 3) + "1234?" + "12");
    writeAll(path("many.dat"), QByteArray("\x03\x01\x04", 3) + QByteArray(1025 * 3, '1'));
    writeAll(path("nine.txt"), "123456789\r\n12\r\n");
    writeAll(path("one.txt"), "1\r\n\r\n");
    writeAll(path("letters.txt"), "1234\r\n12x4\r\n");
    for (const char* file :
         {"long.dat", "cut.dat", "many.dat", "nine.txt", "one.txt", "letters.txt", "missing.txt"}) {
        const CliRun r = run("import-codes", db, {path(file)});
        EXPECT_EQ(r.exitCode, 1) << file;
        EXPECT_TRUE(r.err.endsWith("!!!")) << r.err.toStdString();
        EXPECT_EQ(readAll(db), before) << file;
    }
    const CliRun wrong = cli({"import-codes", db, "--password", "PW", path("good.txt")});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.err, db + QString::fromUtf8(": Hibás jelszó !!!"));
    EXPECT_EQ(readAll(db), before);
}

TEST_F(CliList, AFailedWriteLeavesTheExistingFileAsItWas) {
    const QString db = newFile("a.vd1");
    writeAll(path("codes.txt"), "123456\r\n654321\r\n111111\r\n");
    ASSERT_EQ(run("import-codes", db, {path("codes.txt")}).exitCode, 0);
    writeAll(path("keep.dat"), "old list");
    // The list is 23 bytes; the disk takes 16.
    CliRun r = run("export-codes", db, {"-o", path("keep.dat")}, "4", 16);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("keep.dat")) << r.err.toStdString();
    EXPECT_EQ(readAll(path("keep.dat")), "old list");

    // The database itself is written the same way.
    const QByteArray before = readAll(db);
    writeAll(path("more.txt"), "06123\r\n");
    r = run("import-numbers", db, {"--append", path("more.txt")}, "4", 100);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(readAll(db), before);

    r = run("export-numbers", db, {"-o", path("no/such/folder/CALL.TXT")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("CALL.TXT")) << r.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{"a.vd1", "codes.txt", "keep.dat", "more.txt"}));
}

TEST_F(CliList, FreeNumbersAreReplacedAppendedAndExported) {
    const QString db = newFile("a.vd1");
    writeAll(path("first.txt"), "06 12 345\r\n\r\n0036123456789012\n");
    CliRun r = run("import-numbers", db, {"--replace", path("first.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The empty line is no number; the count said is the list's.
    EXPECT_EQ(show(db)["FreeNumbers"].toArray(),
              (QJsonArray{"0612345         ", "0036123456789012"}));
    EXPECT_EQ(r.err, db + QString::fromUtf8(": 2 szám a listában"));

    writeAll(path("more.txt"), "0630111\r\n");
    r = run("import-numbers", db, {"--append", path("more.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = run("export-numbers", db, {"-o", path("CALL.TXT")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(path("CALL.TXT")),
              "0612345         \r\n0036123456789012\r\n0630111         \r\n");

    r = run("import-numbers", db, {"--replace", path("more.txt")});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(show(db)["FreeNumbers"].toArray(), (QJsonArray{"0630111         "}));
}

TEST_F(CliList, FreeNumbersBeyondTheCapacityOrFromNowhereChangeNothing) {
    const QString db = newFile("a.vd1");
    QByteArray lines;
    for (int i = 0; i < 205; ++i)
        lines += QByteArray::number(100000 + i) + "\r\n";
    writeAll(path("205.txt"), lines);
    ASSERT_EQ(run("import-numbers", db, {"--replace", path("205.txt")}).exitCode, 0);
    const QByteArray before = readAll(db);

    QByteArray ten;
    for (int i = 0; i < 10; ++i)
        ten += QByteArray::number(200 + i) + "\r\n";
    writeAll(path("10.txt"), ten);
    CliRun r = run("import-numbers", db, {"--append", path("10.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, path("10.txt") +
                         QString::fromUtf8(": A fájl 10 számot hoz, a listában 3 szabad hely van "
                                           "(legfeljebb 208 szám): egyetlen számot sem "
                                           "importáltam !!!"));
    EXPECT_EQ(readAll(db), before);

    writeAll(path("binary.bin"), QByteArray("0612\r\n\x00\x01\x02garbage\r\n", 17));
    r = run("import-numbers", db, {"--replace", path("binary.bin")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("a fájl 2. sora: Szám: „\\x00\\x01\\x02garbage")))
        << r.err.toStdString();
    EXPECT_EQ(readAll(db), before);

    r = run("import-numbers", db, {"--replace", path("missing.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QString::fromUtf8("A file nem olvasható: ") + path("missing.txt")))
        << r.err.toStdString();
    EXPECT_EQ(readAll(db), before);

    for (const QStringList& choice : {QStringList{}, QStringList{"--append", "--replace"}}) {
        r = run("import-numbers", db, choice + QStringList{path("10.txt")});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(readAll(db), before);
    }
    EXPECT_EQ(show(db)["FreeNumbers"].toArray().size(), 205);
}

} // namespace
