// zendrax-cli check and the check before upload: exit statuses, the lines and the JSON, and an
// upload with errors refused before the port is opened unless --force is given.
#include "files/database_file.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_simulator.h"
#include "code_table_fixture.h"

namespace zx {
namespace {

// A file of a new 4-line configuration whose code table holds these 4-digit codes.
QString fileWithCodes(const QTemporaryDir& dir, const QString& name,
                      const std::vector<std::string>& codes) {
    const DatabaseRecord r = fourLineRecordWithCodes(codes);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(writeDatabaseFile(path, r, QString()).ok);
    return path;
}

TEST(CliCheck, TheExitStatusSaysTheWorstFinding) {
    QTemporaryDir dir;
    const QString clean = fileWithCodes(dir, "rendben.vd1", {"1234", "5678"});
    const QString warned = fileWithCodes(dir, "ures.vd1", {"1234", "    "});
    const QString wrong = fileWithCodes(dir, "hibas.vd1", {"1234", "1234", "12"});
    const QString garbage = dir.filePath("szemet.vd1");
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("nem adatbázis");
    f.close();

    const struct {
        QStringList args;
        int status;
        QStringList lines; // standard output
    } cases[] = {
        {{"check", clean}, 0, {""}},
        {{"check", warned},
         1,
         {QString::fromUtf8("figyelmeztetés\tKódok / 2. sor\tCodeTable[2]\tÜres sor: nincs benne "
                            "kód, mégis a kódok közé számít"),
          ""}},
        {{"check", wrong},
         2,
         {QString::fromUtf8("hiba\tKódok / 3. sor\tCodeTable[3]\tA kód („12”) rövidebb a "
                            "kódhossznál (4 számjegy): nem tárcsázható"),
          QString::fromUtf8("hiba\tKódok / 1. sor\tCodeTable[1]\tUgyanez a kód („1234”) van "
                            "ezekben a sorokban is: 2"),
          QString::fromUtf8("hiba\tKódok / 2. sor\tCodeTable[2]\tUgyanez a kód („1234”) van "
                            "ezekben a sorokban is: 1"),
          ""}},
        {{"check", garbage}, 3, {""}},
        {{"check", clean, "--password", "rossz"}, 3, {""}},
        {{"check"}, 3, {""}},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.status) << c.args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.out.split('\n'), c.lines) << c.args.join(' ').toStdString();
    }

    const CliRun json = cli({"check", wrong, "--json"});
    EXPECT_EQ(json.exitCode, 2);
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o["errors"].toInt(), 3);
    EXPECT_EQ(o["warnings"].toInt(), 0);
    const QJsonObject first = o["findings"].toArray().at(0).toObject();
    EXPECT_EQ(first["severity"].toString(), "error");
    EXPECT_EQ(first["name"].toString(), "CodeTable[3]");
    EXPECT_EQ(first["element"].toInt(), 3);
    EXPECT_EQ(first["page"].toString(), QString::fromUtf8("Kódok"));
}

TEST(CliCheck, UploadRefusesErrorsBeforeThePortOpensUnlessForced) {
    QTemporaryDir dir;
    const QString wrong = fileWithCodes(dir, "hibas.vd1", {"1234", "1234"});

    // The port named does not exist: a refusal that opened it would say so.
    const CliRun refused = cli({"upload", "--port", dir.filePath("nincs-ilyen-port"), wrong});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.endsWith(
        QString::fromUtf8("A konfiguráció 2 hibát tartalmaz: nem töltöm fel (--force: mégis) !!!")))
        << refused.err.toStdString();
    EXPECT_FALSE(refused.err.contains("com port")) << refused.err.toStdString();

    Simulator sim({"--model", "4"});
    const CliRun forced = cli({"upload", "--port", sim.path(), "--force", wrong});
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_TRUE(forced.err.contains(QString::fromUtf8("--force: mégis feltöltöm")));
    EXPECT_TRUE(sim.summary().contains(QString::fromUtf8("212 írási keret"))) << "segments 44..255";
}

} // namespace
} // namespace zx
