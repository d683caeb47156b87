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

} // namespace
} // namespace zx
