// The system's filter texts as Qt's file dialogs take them.
#include "files/file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(FileDialogs, FiltersBecomeQtFilters) {
    EXPECT_EQ(qtFilter(dialogs::ImportCodeList.filter),
              QString::fromUtf8("Pinkód kódok (*.dat);;Minden file (*.*)"));
    EXPECT_EQ(qtFilter(DatabaseDialogDefaults::Filter),
              QString::fromUtf8("Pinkód adatbázis (*.vd1 *.vdb);;Minden file (*.*)"));
    EXPECT_EQ(qtFilter(""), QString());
}

TEST(FileDialogs, StartFolderIsNeverAPseudoFileSystem) {
    const QString home = QStringLiteral("/home/kezelo");
    const struct {
        const char* folder;
        const char* start;
    } cases[] = {
        {"/home/kezelo/adatok", "/home/kezelo/adatok"},
        {"/", "/"},
        {"/mnt/../srv/./zx", "/srv/zx"},
        {"/process", "/process"},
        {"/devices/zx", "/devices/zx"},
        {"/proc", "/home/kezelo"},
        {"/proc/self/fd", "/home/kezelo"},
        {"//proc", "/home/kezelo"},
        {"/tmp/../proc/sys", "/home/kezelo"},
        {"/sys/class", "/home/kezelo"},
        {"/dev/shm", "/home/kezelo"},
        {"", "/home/kezelo"},
        {"adatok", "/home/kezelo"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dialogStartFolder(QString::fromUtf8(c.folder), home), QString::fromUtf8(c.start))
            << c.folder;
}

TEST(FileDialogs, AnExistingFileOpensAsNamedTheExtensionOnlyForANameThatDoesNotExist) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* existing : {"ls", "ls.txt", "iroda.vdb", "mappa.d/x"}) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(QFileInfo(dir.filePath(existing)).path()));
        QFile f(dir.filePath(existing));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("konyvtar")));
    const struct {
        const char* chosen;
        const char* extension;
        const char* opened;
    } cases[] = {
        {"ls", "txt", "ls"},                   // exists without an extension
        {"ls.txt", "txt", "ls.txt"},           // exists with one
        {"iroda", "vdb", "iroda.vdb"},         // does not exist: the default is added
        {"uj", "txt", "uj.txt"},               // nothing of that name: the save side's rule
        {"hianyzo.dat", "txt", "hianyzo.dat"}, // an extension of its own stays
        {"mappa.d/y", "txt", "mappa.d/y.txt"}, // a dot in a folder's name is no extension
        {"konyvtar", "txt", "konyvtar"},       // a folder is not renamed
        {"iroda", "", "iroda"},                // no default extension
    };
    for (const auto& c : cases)
        EXPECT_EQ(openedFileName(dir.filePath(c.chosen), QString::fromUtf8(c.extension)),
                  dir.filePath(c.opened))
            << c.chosen;
    EXPECT_EQ(openedFileName(QString(), QStringLiteral("txt")), QString());
}

} // namespace
} // namespace zx
