// The programs' own texts and Qt's, as the operator meets them outside the window.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString program(const char* name) {
    const QString dir =
        qEnvironmentVariable("ZX_BIN_DIR", QCoreApplication::applicationDirPath() + "/../bin");
    return QDir(dir).filePath(QString::fromLatin1(name));
}

// `zendrax --help`: Qt's lines of the help in Hungarian, the program's own as they are.
TEST(ProgramTexts, TheDesktopProgramsHelpIsHungarianThroughout) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(program("zendrax"), {QStringLiteral("--help")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString help = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(help.startsWith(QString::fromUtf8("Használat: "))) << help.toStdString();
    EXPECT_TRUE(help.contains(QString::fromUtf8("Kapcsolók:")));
    EXPECT_TRUE(help.contains(QString::fromUtf8("Megjeleníti a parancssori kapcsolók súgóját.")));
    EXPECT_FALSE(help.contains(QStringLiteral("Displays")));
    EXPECT_FALSE(help.contains(QStringLiteral("Usage:")));
    for (const char* own :
         {"Bemutató mód, egység nélkül.", "A beállítási fájlok (zendrax.ini, zxconn.ini) mappája.",
          "Az induláskor mutatott nézet (0..7)."})
        // Qt breaks a long line of the help where it likes.
        EXPECT_TRUE(help.simplified().contains(QString::fromUtf8(own))) << own;
}

// `--version` of both programs: the project's version and the Qt they run with.
TEST(ProgramTexts, BothProgramsTellTheirVersionAndQts) {
    const struct {
        const char* program;
        const char* name;
    } programs[] = {{"zendrax", "Zendrax"}, {"zendrax-cli", "zendrax-cli"}};
    for (const auto& p : programs) {
        SCOPED_TRACE(p.program);
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        run.setProcessEnvironment(env);
        run.start(program(p.program), {QStringLiteral("--version")});
        ASSERT_TRUE(run.waitForFinished(30000));
        EXPECT_EQ(run.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(run.readAllStandardOutput()).trimmed(),
                  QStringLiteral("%1 %2 (Qt %3)")
                      .arg(QString::fromLatin1(p.name), QStringLiteral(ZX_PROJECT_VERSION),
                           QString::fromLatin1(qVersion())));
    }
}

// zendrax-cli's help and its usage messages are Hungarian; the placeholders of the window's
// options too.
TEST(ProgramTexts, TheCommandLineSpeaksHungarian) {
    const auto run = [](const QString& name, const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(program(name.toLatin1().constData()), args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    };
    const QString help = run("zendrax-cli", {"--help"});
    EXPECT_TRUE(help.startsWith(QString::fromUtf8("Használat: zendrax-cli PARANCS")))
        << help.toStdString();
    const QString setHelp = run("zendrax-cli", {"set", "--help"});
    EXPECT_TRUE(setHelp.contains(QString::fromUtf8("Nevek (4 vonalas vagy 16 vonalas")));
    EXPECT_TRUE(run("zendrax-cli", {"nosuch"})
                    .startsWith(QString::fromUtf8("Ismeretlen parancs: nosuch !!!")));
    static const QRegularExpression english(QStringLiteral(
        "\\b(usage|unknown|the|and|or|of|status|same|different|error|FILE|OUT|NAME|VALUE)\\b"));
    for (const QString& text : {help, setHelp})
        EXPECT_FALSE(text.contains(english)) << text.toStdString();
    const QString gui = run("zendrax", {"--help"});
    for (const char* placeholder : {"<mappa>", "<szám>", "<vonalszám>", "<képfájl>", "[fájl]"})
        EXPECT_TRUE(gui.contains(QString::fromUtf8(placeholder))) << placeholder;
    EXPECT_FALSE(gui.contains(QStringLiteral("<dir>")));
    EXPECT_FALSE(gui.contains(QStringLiteral("<file>")));
}

} // namespace
