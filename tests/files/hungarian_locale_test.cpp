// The environment that gives the toolkit Hungarian dates without taking the session's other
// locale categories.
#include "files/hungarian_locale.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

using Changes = QList<QPair<QByteArray, QByteArray>>;

TEST(HungarianLocale, OnlyTheTimeCategoryChangesAndAnLcAllIsSpreadOverTheOthers) {
    const struct {
        const char* lcAll;
        const char* lang;
        Changes expected;
    } cases[] = {
        {"", "", {{"LC_TIME", "hu_HU.UTF-8"}}},
        {"", "en_GB.UTF-8", {{"LC_TIME", "hu_HU.UTF-8"}}},
        {"de_DE.UTF-8",
         "en_GB.UTF-8",
         {{"LC_ALL", ""},
          {"LC_CTYPE", "de_DE.UTF-8"},
          {"LC_NUMERIC", "de_DE.UTF-8"},
          {"LC_COLLATE", "de_DE.UTF-8"},
          {"LC_MONETARY", "de_DE.UTF-8"},
          {"LC_MESSAGES", "de_DE.UTF-8"},
          {"LC_PAPER", "de_DE.UTF-8"},
          {"LC_MEASUREMENT", "de_DE.UTF-8"},
          {"LANG", "de_DE.UTF-8"},
          {"LC_TIME", "hu_HU.UTF-8"}}},
        {"C",
         "C",
         {{"LC_ALL", ""},
          {"LC_CTYPE", "C"},
          {"LC_NUMERIC", "C"},
          {"LC_COLLATE", "C"},
          {"LC_MONETARY", "C"},
          {"LC_MESSAGES", "C"},
          {"LC_PAPER", "C"},
          {"LC_MEASUREMENT", "C"},
          {"LC_TIME", "hu_HU.UTF-8"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll) + " / " + c.lang);
        EXPECT_EQ(hungarianDateEnvironment(c.lcAll, c.lang), c.expected);
    }
}

} // namespace
} // namespace zx
