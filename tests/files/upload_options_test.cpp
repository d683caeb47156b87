#include "files/upload_options.h"

#include "files/connection_settings.h"
#include "files/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(UploadOptions, OffUnlessChosenAndKeptBesideTheOtherSettings) {
    QTemporaryDir dir;
    const QString path = dir.filePath("zendrax.ini");
    EXPECT_EQ(loadUploadOptions(path), UploadOptions{}) << "no file: both off";

    ConnectionState connection;
    connection.portName = QStringLiteral("COM3");
    ASSERT_TRUE(writeConnectionSettings(connection, nullptr, path));
    const UploadOptions chosen{true, true, QStringLiteral("/adat/mentések")};
    QString error;
    ASSERT_TRUE(saveUploadOptions(chosen, path, &error)) << error.toStdString();
    EXPECT_EQ(loadUploadOptions(path), chosen);
    ConnectionState again;
    readConnectionSettings(again, path);
    EXPECT_EQ(again.portName, "COM3") << "the connection section is left as it was";
    EXPECT_EQ(IniFile(path).sections(), (QStringList{"CONNECTION", "UPLOAD"}));

    // Garbage in the section reads as off.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[UPLOAD]\r\nVERIFY=igen\r\nBACKUP=\r\n");
    f.close();
    EXPECT_EQ(loadUploadOptions(path), UploadOptions{});

    setConfigDir(dir.path());
    EXPECT_EQ(backupFolderOf({}), QDir(dir.path()).filePath("mentesek"));
    EXPECT_EQ(backupFolderOf(chosen), "/adat/mentések");
    setConfigDir(QString());
}

TEST(UploadOptions, BackupNamesComeFromTheSiteAndTheTimeAndStayInTheirFolder) {
    const QDateTime when(QDate(2026, 12, 8), QTime(7, 5, 9));
    EXPECT_EQ(backupFileName(QString::fromUtf8("Győr telep"), when),
              QString::fromUtf8("Győr_telep_2026-12-08_07-05-09.vd1"));
    EXPECT_EQ(backupFileName(QStringLiteral("../../etc/passwd"), when),
              QStringLiteral("_.._etc_passwd_2026-12-08_07-05-09.vd1"));
    for (const QString& site : {QString(), QStringLiteral("  "), QStringLiteral("/\\:*")})
        EXPECT_EQ(backupFileName(site, when), QStringLiteral("egyseg_2026-12-08_07-05-09.vd1"))
            << site.toStdString();
    EXPECT_LE(backupFileName(QString(300, QLatin1Char('x')), when).size(), 64 + 24);
}

} // namespace
} // namespace zx
