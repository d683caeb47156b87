// zendrax-cli set, run as the operator would run it, read back with show.
#include "file_fixture.h"
#include "files/database_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_process.h"

namespace zx {
namespace {

class CliSet : public ::testing::Test {
  protected:
    QString newFile(const QString& model) {
        const QString file = dir.filePath("m" + model + ".vd1");
        const CliRun r = cli({"new", "--model", model, "--password", "Titok", "-o", file});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return file;
    }

    CliRun set(const QString& file, const QString& model, const QStringList& values) {
        return cli(QStringList{"set", file, "--model", model, "--password", "Titok"} + values);
    }

    QJsonObject show(const QString& file, const QString& model) {
        const CliRun r = cli({"show", file, "--model", model, "--password", "Titok", "--json"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }

    QTemporaryDir dir;
};

TEST_F(CliSet, ValuesAreShownBackInTheOrderGiven) {
    const QString file4 = newFile("4");
    CliRun r = set(file4, "4",
                   {"CoPosition= 20 ", "SmdrSpeed=parity=\"Páros\", speed=\"2400\"",
                    "SmdrMode.controlCharacters=Átenged", "CoNumbers[3]=12",
                    "LineSettings[1].seizure=Tárcsázáskor",
                    "LineSettings[3]=callIn=igen, line=3, subLine=nem",
                    "NationalExceptions[4]=area=\"36\", length=\"7\"", "MobilePrefixes[4]=30",
                    "CallInNumber=0612345678", "CallInFlags.foreign=nem", "BarredCallInAreas[13]=1",
                    "PinEnable=nem"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = show(file4, "4");
    EXPECT_EQ(o["CoPosition"].toInt(), 20);
    EXPECT_EQ(o["SmdrSpeed"]["parity"].toString(), QString::fromUtf8("Páros"));
    EXPECT_EQ(o["CoNumbers"][2].toString(), "12");
    EXPECT_TRUE(o["LineSettings"][2]["callIn"].toBool());
    EXPECT_EQ(o["NationalExceptions"][3]["area"].toString(), "36??");
    EXPECT_EQ(o["CallInNumber"].toString(), "0612345678");
    EXPECT_FALSE(o["PinEnable"].toBool());
    const ConfigImage stored = imageInFile(file4);
    const std::pair<std::size_t, int> bytes[] = {{1659, 25},  {1661, 17}, {1668, 2},  {1593, 54},
                                                 {1594, 255}, {1595, 7},  {1708, 31}, {1669, 1}};
    for (const auto& [offset, value] : bytes)
        EXPECT_EQ(stored.at(offset), value) << offset;

    const QString file16 = newFile("16");
    r = set(file16, "16",
            {"CoWidth=3", "CoNumbers[16]=\"7\"", "NumberTerminator=#",
             "LineSettings[5].callIn=igen", "NationalExceptions[2].area=36",
             "NationalExceptions[2].length=7", "NationalExceptions[3]="});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o16 = show(file16, "16");
    EXPECT_EQ(o16["CoNumbers"][15].toString(), "7  ");
    EXPECT_EQ(o16["NumberTerminator"].toString(), "#");
    EXPECT_TRUE(o16["LineSettings"][4]["callIn"].toBool());
    EXPECT_EQ(o16["NationalExceptions"][1]["area"].toString(), "36");
    EXPECT_EQ(o16["NationalExceptions"][1]["length"].toString(), "07");
    EXPECT_EQ(o16["NationalExceptions"][2]["length"].toString(), "255");
}

TEST_F(CliSet, ARefusedValueLeavesTheFileByteForByte) {
    const QString file4 = newFile("4");
    const QString file16 = newFile("16");
    const QByteArray before4 = readAll(file4);
    const QByteArray before16 = readAll(file16);
    struct Case {
        QString model;
        QStringList values;
        QString message;
    };
    const QList<Case> cases{
        {"4", {"CoPosition=7", "SeizeTime=256"}, "Értéknek 0..255 között kell lenni !!!"},
        {"4", {"RecordTerminator=256"}, "Hibás érték !!!"},
        {"4", {"CoWidth=0"}, "Válasszon egy értéket 1..4 között !!!"},
        {"4",
         {"MobilePrefixes[1]=36", "NationalExceptions[2]=area=36, length=x"},
         "Értéknek 0..255 között kell lenni !!!"},
        {"16", {"NumberTerminator="}, "Csak 0..9,*,# lehet !!!"},
        // What the command itself refuses: names, elements and parts that do not exist.
        {"16", {"LoopPulseDelta=5"}, {}},
        {"4", {"CoNumbers[5]=1"}, {}},
        {"4", {"LineSettings[2].dialling=DTMF"}, {}},
        {"4", {"SmdrSpeed.speed=2500"}, {}},
        {"4", {"CallInNumber=1234567890123456789012345"}, {}},
        {"4", {"LastModified=2026"}, {}},
        {"4", {"=1"}, {}},
    };
    for (const Case& c : cases) {
        const QString& file = c.model == "4" ? file4 : file16;
        const CliRun r = set(file, c.model, c.values);
        const std::string what = c.values.join(' ').toStdString();
        EXPECT_NE(r.exitCode, 0) << what;
        EXPECT_FALSE(r.err.isEmpty()) << what;
        if (!c.message.isEmpty()) {
            EXPECT_EQ(r.err, file + ": " + c.values.last() + ": " + c.message) << what;
        }
        EXPECT_EQ(readAll(file4), before4) << what;
        EXPECT_EQ(readAll(file16), before16) << what;
    }
    // A wrong password, and a file name alone, change nothing either.
    EXPECT_NE(cli({"set", file4, "--password", "x", "CoPosition=7"}).exitCode, 0);
    EXPECT_NE(cli({"set", file4, "--password", "Titok"}).exitCode, 0);
    EXPECT_EQ(readAll(file4), before4);
}

// Turns the text that show prints into assignments: "NAME: VALUE" and, for a list, "  i: VALUE".
QStringList assignmentsFromShow(const QString& shown) {
    static const QStringList notSet{"Model",        "Site",       "Owner",     "ConnectionName",
                                    "LastModified", "CodeLength", "CodeCount", "CodeTable",
                                    "CodeStatus",   "FreeNumbers"};
    static const QRegularExpression top(QStringLiteral("^([A-Za-z0-9]+): (.*)$"));
    static const QRegularExpression element(QStringLiteral("^  ([0-9]+): (.*)$"));
    static const QRegularExpression count(QStringLiteral("^\\([0-9]+\\)$"));
    QStringList out;
    QString list;
    for (const QString& line : shown.split('\n', Qt::SkipEmptyParts)) {
        if (const auto m = top.match(line); m.hasMatch()) {
            const bool isList = count.match(m.captured(2)).hasMatch();
            list = isList ? m.captured(1) : QString();
            if (!isList && !notSet.contains(m.captured(1)))
                out << m.captured(1) + "=" + m.captured(2);
        } else if (const auto e = element.match(line); e.hasMatch() && !notSet.contains(list)) {
            out << list + "[" + e.captured(1) + "]=" + e.captured(2);
        }
    }
    return out;
}

TEST_F(CliSet, WhatShowPrintsFedBackChangesNoByteAndHelpNamesIt) {
    const QString help = cli({"set", "--help"}).out;
    for (const QString model : {"4", "16"}) {
        const QString file = newFile(model);
        ASSERT_EQ(set(file, model,
                      {"CoNumbers[2]=AB", "NationalExceptions[1]=area=\"12\", length=\"120\"",
                       "CallInNumber=06*1#", "BarredCallInAreas[64]=9"})
                      .exitCode,
                  0);
        const QByteArray before = readAll(file);
        const CliRun shown = cli({"show", file, "--model", model, "--password", "Titok"});
        ASSERT_EQ(shown.exitCode, 0);
        const QStringList assignments = assignmentsFromShow(shown.out);
        EXPECT_GT(assignments.size(), 100) << model.toStdString();
        for (const QString& assignment : assignments) {
            const QString name = assignment.section(QRegularExpression("[\\[=]"), 0, 0);
            EXPECT_TRUE(help.contains(name)) << name.toStdString();
        }
        const CliRun r = set(file, model, assignments);
        EXPECT_EQ(r.exitCode, 0) << model.toStdString() << ' ' << r.err.toStdString();
        EXPECT_EQ(readAll(file), before) << model.toStdString();
    }
}

} // namespace
} // namespace zx
