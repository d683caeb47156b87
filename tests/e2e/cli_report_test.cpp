// zendrax-cli report, run as the operator would run it, with no display.
#include "files/cp1250.h"
#include "files/database_file.h"
#include "model/code_record.h"
#include "model/free_number_table.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"
#include "ui/pdf_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_process.h"

namespace zx {
namespace {

struct ReportRun {
    int exitCode = -1;
    QStringList lines;
    QString err;
};

// The program with neither a display nor a platform chosen in its environment.
ReportRun report(const QStringList& args) {
    const CliRun run = cli(QStringList{"report"} + args, [](QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        p.setProcessEnvironment(env);
    });
    ReportRun r{run.exitCode, run.out.split('\n'), run.err};
    if (!r.lines.isEmpty() && r.lines.last().isEmpty()) r.lines.removeLast();
    return r;
}

class CliReport : public ::testing::Test {
  protected:
    // A 16-line configuration with 130 six-digit codes of every right level and three free
    // numbers.
    void SetUp() override {
        DatabaseRecord record;
        applyNewConfiguration(record, DeviceModel::Line16);
        using Slot = DatabaseRecord::Slot;
        record.setText(Slot::Site, toCp1250(QString::fromUtf8("Győr")));
        record.setText(Slot::Owner, toCp1250("Kiss"));
        record.setText(Slot::Password, toCp1250("titok"));
        const MemoryMap& map = MemoryMap::of(DeviceModel::Line16);
        record.image.set(*map.offset(Field::CodeLength), 7);
        record.image.setWord(*map.offset(Field::CodeCount), 130);
        const char* levels[] = {"T", "H", "B", "M", "N"};
        for (int i = 0; i < 130; ++i) {
            const CodeRowView row{RawText(std::to_string(300000 + i + 1)), {levels[i % 5]}};
            const std::vector<Byte> bytes = encodeCodeRecord(row, 7, DeviceModel::Line16);
            for (std::size_t j = 0; j < bytes.size(); ++j)
                record.image.set(CodeTableStart + std::size_t(i) * 7 + j, bytes[j]);
        }
        writeFreeNumbers(record.image, DeviceModel::Line16,
                         {RawText("104"), RawText("0612345678"), RawText("112")});
        file = dir.filePath("iroda.vd1");
        ASSERT_TRUE(writeDatabaseFile(file, record, QString()).ok);
    }

    QTemporaryDir dir;
    QString file;
};

TEST_F(CliReport, CodeListAndFreeNumbersAsTextLines) {
    const ReportRun codes = report({"codes", file, "--model", "16", "--password", "titok"});
    ASSERT_EQ(codes.exitCode, 0) << codes.err.toStdString();
    // Header of eight lines, 65 entry lines each with its rule line.
    ASSERT_EQ(codes.lines.size(), 8 + 2 * 65);
    const QString ten(10, ' ');
    EXPECT_TRUE(codes.lines[0].startsWith(ten + QString::fromUtf8("Személyi kódok:") +
                                          QDir(dir.path()).absoluteFilePath("iroda.vd1") + ten));
    EXPECT_EQ(codes.lines[1], ten + QString::fromUtf8("Telepítési hely:Győr"));
    EXPECT_EQ(codes.lines[8], ten + "   0001|300001   |Tilt            " + ten +
                                  "   0002|300002   |Loc,            ");
    // The rule line's second half stands over the second entry, nine spaces after the first.
    EXPECT_EQ(codes.lines.last(), ten + "-------+---------+-----------------" + QString(9, ' ') +
                                      "-------+---------+-----------------");
    EXPECT_TRUE(codes.lines[136].endsWith("   0130|300130   |Int,            "));

    const ReportRun numbers = report({"numbers", file, "--password=titok", "--model", "16"});
    ASSERT_EQ(numbers.exitCode, 0) << numbers.err.toStdString();
    ASSERT_EQ(numbers.lines.size(), 5);
    EXPECT_TRUE(numbers.lines[0].endsWith("iroda.vd1              Oldal:1"));
    EXPECT_EQ(numbers.lines[3], ten + "0612345678      ");
}

// The header's date and time are Hungarian whatever locale the session has.
TEST_F(CliReport, TheDateIsHungarianInAnEnglishOrCSession) {
    const QRegularExpression hungarian(
        QStringLiteral("\\b(\\d{4}\\. \\d{2}\\. \\d{2}\\.) \\d{1,2}:\\d{2}:\\d{2}\\b"));
    const struct {
        const char* lcAll;
        const char* lang;
    } sessions[] = {{"en_US.UTF-8", "en_US.UTF-8"}, {"", "C"}, {"C.UTF-8", "de_DE.UTF-8"}};
    for (const auto& session : sessions) {
        const char* lcAll = session.lcAll;
        const char* lang = session.lang;
        SCOPED_TRACE(std::string(lcAll) + " / " + lang);
        const QDate before = QDate::currentDate();
        const CliRun run = cli(
            {"report", "codes", file, "--model", "16", "--password", "titok"}, [&](QProcess& p) {
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                for (const char* name : {"LC_ALL", "LC_TIME", "LANG"})
                    env.remove(name);
                if (*lcAll) env.insert("LC_ALL", lcAll);
                env.insert("LANG", lang);
                p.setProcessEnvironment(env);
            });
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QRegularExpressionMatch date = hungarian.match(run.out);
        ASSERT_TRUE(date.hasMatch()) << run.out.left(400).toStdString();
        const QString day = date.captured(1);
        EXPECT_TRUE(day == before.toString("yyyy. MM. dd.") ||
                    day == QDate::currentDate().toString("yyyy. MM. dd."))
            << day.toStdString();
        EXPECT_FALSE(run.err.contains("locale")) << run.err.toStdString();
    }
}

TEST_F(CliReport, PdfOnA4PagesWrittenWhole) {
    const QString pdf = dir.filePath("kodok.pdf");
    const ReportRun refused =
        report({"codes", file, "--model", "16", "--password", "rossz", "--pdf", pdf});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_FALSE(QFile::exists(pdf));
    const ReportRun run =
        report({"codes", file, "--model", "16", "--password", "titok", "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"iroda.vd1", "kodok.pdf"}));
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QStringList pages = pdfPages(pdf);
    ASSERT_GE(pages.size(), 2);
    for (qsizetype p = 0; p < pages.size(); ++p)
        EXPECT_TRUE(pages[p].contains(QRegularExpression(QString("Oldal:%1\\b").arg(p + 1))));
    EXPECT_TRUE(pages.last().contains("0130|300130"));
    EXPECT_EQ(codeListLayoutFaults(pdfWordBoxes(pdf)).join('\n').toStdString(), "");
}

} // namespace
} // namespace zx
