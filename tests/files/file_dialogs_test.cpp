// The system's filter texts as Qt's file dialogs take them.
#include "files/file_dialogs.h"

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

} // namespace
} // namespace zx
