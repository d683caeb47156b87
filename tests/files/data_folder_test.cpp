#include "files/data_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(DataFolder, TheProgramsFolderFirstThenTheInstalledDataFolderOfItsPrefix) {
    QTemporaryDir prefix;
    const QString bin = prefix.filePath("bin");
    const QString data = prefix.filePath("share/zendrax");
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(data));
    EXPECT_EQ(installedDataFolder(bin), data);

    // Neither has it: the program's folder, where the build tree keeps it.
    EXPECT_EQ(dataFileFolder(bin, "ZENDRAX.HLP"), bin);
    touch(data + "/ZENDRAX.HLP");
    EXPECT_EQ(dataFileFolder(bin, "ZENDRAX.HLP"), data);
    touch(bin + "/ZENDRAX.HLP");
    EXPECT_EQ(dataFileFolder(bin, "ZENDRAX.HLP"), bin);
    // A folder of that name is no file.
    ASSERT_TRUE(QDir().mkpath(data + "/OTHER.HLP"));
    EXPECT_EQ(dataFileFolder(bin, "OTHER.HLP"), bin);
}

} // namespace
} // namespace zx
