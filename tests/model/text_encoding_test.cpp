// The encodings of the text files the program reads, and those it refuses by name.
#include "model/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace zx {
namespace {

TEST(TextEncoding, UsualEncodingsAreReadAndTheOthersRefusedByName) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        TextEncoding encoding;
        std::string text; // as UTF-8; for a refusal, a part of it
    } cases[] = {
        {"1234\tHelyi\r\n", TextEncoding::Utf8, "1234\tHelyi\r\n"},
        {"12\tT\xC3\xA1v\n", TextEncoding::Utf8, "12\tT\xC3\xA1v\n"},
        {"\xEF\xBB\xBF"
         "12\n",
         TextEncoding::Utf8, "12\n"},
        {"12\tT\xE1v\r\n", TextEncoding::Cp1250, "12\tT\xC3\xA1v\r\n"},
        {"\xFF\xFE"
         "1\0"
         "2\0"s,
         TextEncoding::Utf16, "UTF-16 kódolású"},
        {"\xFE\xFF\0"
         "1\0"
         "2"s,
         TextEncoding::Utf16, "UTF-16 kódolású"},
        {"1\0"
         "2\0\t\0"
         "H\0\r\0\n\0"s,
         TextEncoding::Utf16, "UTF-16 kódolású"},
        {"1\tT\xC3\xA1v\r\n2\tT\xE1v\r\n", TextEncoding::Mixed,
         "UTF-8 és Windows-1250 kódolás keveredik (a 2. sorban nem UTF-8)"},
        {"\xEF\xBB\xBF"
         "1\tT\xE1v\n",
         TextEncoding::Mixed, "(a 1. sorban nem UTF-8)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(textEncodingOf(c.bytes), c.encoding);
        const Checked<std::string> text = utf8TextOf(c.bytes);
        const bool read = c.encoding == TextEncoding::Utf8 || c.encoding == TextEncoding::Cp1250;
        ASSERT_EQ(text.ok(), read);
        if (read)
            EXPECT_EQ(*text, c.text);
        else
            EXPECT_NE(text.message().find(c.text), std::string::npos) << text.message();
    }
}

} // namespace
} // namespace zx
