// The programs' own texts and Qt's, as the operator meets them outside the window.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

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
        EXPECT_TRUE(help.contains(QString::fromUtf8(own))) << own;
}

} // namespace
