// The encodings of the text files the program reads, and those it refuses by name.
#include "model/text_encoding.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(TextEncoding, UsualEncodingsAreReadAndTheOthersRefusedByName) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        std::string text; // as UTF-8 read; for a refusal, a part of it
        bool read;
    } cases[] = {
        {"12\tT\xC3\xA1v\n", "12\tT\xC3\xA1v\n", true},
        {"\xEF\xBB\xBF"
         "12\n",
         "12\n", true},
        {"12\tT\xE1v\r\n", "12\tT\xC3\xA1v\r\n", true},
        {"\xFF\xFE"
         "1\0"
         "2\0"s,
         "UTF-16 kódolású", false},
        {"1\0"
         "2\0\t\0"
         "H\0\r\0\n\0"s,
         "UTF-16 kódolású", false},
        {"1\tT\xC3\xA1v\r\n2\tT\xE1v\r\n", "keveredik (a 2. sorban nem UTF-8)", false},
    };
    for (const auto& c : cases) {
        const Checked<std::string> text = utf8TextOf(c.bytes);
        ASSERT_EQ(text.ok(), c.read) << c.text;
        if (c.read)
            EXPECT_EQ(*text, c.text);
        else
            EXPECT_NE(text.message().find(c.text), std::string::npos) << text.message();
    }
}

} // namespace
} // namespace zx
