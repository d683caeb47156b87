// The free-number file: each line the entry a typed number becomes, no further than the list
// has room for; a line that is no number refuses the file.
#include "files/free_number_file.h"
#include "files/text_lines.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

std::vector<std::string> texts(const std::vector<RawText>& entries) {
    std::vector<std::string> out;
    for (const RawText& e : entries)
        out.push_back(e.bytes());
    return out;
}

std::string lines(int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += std::to_string(1000 + i) + "\r\n";
    return s;
}

TEST(TextLines, CrLfAndBareLfEndLinesAndTheLastEndStartsNoNewLine) {
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\r\n", {"a", "b"}},
        {"a\r\n\r\nb\n\n", {"a", "", "b", ""}},
        {"a\rb\r\r\n", {"a\rb\r"}},
        {"\r", {"\r"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(texts(splitLines(c.bytes)), c.lines) << c.bytes;
        EXPECT_EQ(texts(splitLines(joinLines(splitLines(c.bytes)))), c.lines) << c.bytes;
    }
    bool more = false;
    EXPECT_EQ(texts(splitLines("a\nb\nc", 2, &more)), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(more);
    splitLines("a\nb\n", 2, &more);
    EXPECT_FALSE(more);
    EXPECT_EQ(joinLines({RawText("1"), RawText("")}), "1\r\n\r\n");
}

TEST(FreeNumberFile, EachLineBecomesTheEntryATypedNumberBecomes) {
    const FreeNumberImport read =
        importFreeNumbers("061234567\r\n\r\n 06 1 234 \r\n0036123456789012\r\n   \n*21#\n", 0, 208);
    EXPECT_FALSE(read.truncated);
    EXPECT_TRUE(read.message.empty());
    // Spaces taken out, filled up to 16; a line of spaces is no entry.
    EXPECT_EQ(texts(read.entries),
              (std::vector<std::string>{"061234567       ", "061234          ", "0036123456789012",
                                        "*21#            "}));
}

TEST(FreeNumberFile, AnImportStopsWhereTheListIsFull) {
    const FreeNumberImport appended = importFreeNumbers(lines(10), 205, 208);
    EXPECT_EQ(
        texts(appended.entries),
        (std::vector<std::string>{"1000            ", "1001            ", "1002            "}));
    EXPECT_TRUE(appended.truncated);
    EXPECT_EQ(appended.message,
              "Maximum 208 szám lehet a listában, ezért néhány szám beolvasatlan maradt!");

    const FreeNumberImport exact = importFreeNumbers(lines(192), 0, 192);
    EXPECT_EQ(exact.entries.size(), 192u);
    EXPECT_FALSE(exact.truncated);
    EXPECT_TRUE(exact.message.empty());

    const FreeNumberImport sixteen = importFreeNumbers(lines(193), 0, 192);
    EXPECT_EQ(sixteen.entries.size(), 192u);
    EXPECT_EQ(sixteen.message,
              "Maximum 192 szám lehet a listában, ezért néhány szám beolvasatlan maradt!");

    // A command that takes a file whole says that nothing came in, and why.
    EXPECT_EQ(freeNumberOverflowRefusal(appended, 205, 208),
              "A fájl 10 számot hoz, a listában 3 szabad hely van (legfeljebb 208 szám): "
              "egyetlen számot sem importáltam !!!");

    const FreeNumberImport full = importFreeNumbers(lines(1), 208, 208);
    EXPECT_TRUE(full.entries.empty());
    EXPECT_TRUE(full.truncated);
    const FreeNumberImport nothingLeft = importFreeNumbers("", 208, 208);
    EXPECT_FALSE(nothingLeft.truncated);
    const FreeNumberImport emptyFile = importFreeNumbers("", 0, 208);
    EXPECT_TRUE(emptyFile.entries.empty());
    EXPECT_FALSE(emptyFile.truncated);
}

TEST(FreeNumberFile, ExportThenImportGivesTheSameEntries) {
    const std::vector<RawText> entries{RawText("0612345         "), RawText("0036123456789012"),
                                       RawText("0630          ")};
    const std::string file = freeNumberFileBytes(entries);
    EXPECT_EQ(file, "0612345         \r\n0036123456789012\r\n0630          \r\n");
    EXPECT_FALSE(freeNumberTextFault(file));
    const std::vector<RawText> read = importFreeNumbers(file, 0, 208).entries;
    EXPECT_EQ(read[0], entries[0]);
    EXPECT_EQ(read[1], entries[1]);
    EXPECT_EQ(read[2], RawText("0630            "));
    EXPECT_EQ(freeNumberFileBytes({}), "");
}

// A line that is no number the unit can dial refuses the whole file, naming the line, the
// field's limit and the line's text.
TEST(FreeNumberFile, ALineThatIsNoNumberIsRefusedNamingIt) {
    EXPECT_FALSE(freeNumberTextFault("06 1 23\r\n\r\n  \r\n*#0123456789\r\n"));
    EXPECT_FALSE(freeNumberTextFault(""));
    const std::pair<std::string, std::string> faults[] = {
        {std::string("12\r\n34\0", 7), "a fájl 2. sora: Szám: „34\\x00”"},
        {"\x1B[2J\r\n", "1. sora: Szám:"},
        {"1\n2\n3\x7F\n", "3. sora"},
        {"1\r\n2\r\n3\r\n4\r\x01\r\n", "4. sora"},
        {"06 1\t23\r\n", "1. sora: Szám: „061\\x0923”"},
        {"12345678901234567\r\n", "„12345678901234567” nem tárolható, legfeljebb 16 karakter "
                                  "lehet: számjegy (0..9), * vagy # !!!"},
        {"0612\r\n06 30 ABC\r\n", "2. sora: Szám: „0630ABC”"},
    };
    for (const auto& [bytes, expected] : faults) {
        const auto fault = freeNumberTextFault(bytes);
        ASSERT_TRUE(fault) << bytes;
        EXPECT_NE(fault->find(expected), std::string::npos) << *fault;
        EXPECT_TRUE(fault->starts_with("A számlista nem tölthető be, a fájl ")) << *fault;
    }
    EXPECT_NE(freeNumberTextFault(std::string("\xFF\xFE"
                                              "1\0\r\0\n\0",
                                              8))
                  ->find("UTF-16"),
              std::string::npos);
    // A file of random bytes, as a wrong file chosen in the dialog brings, is not read at all.
    QTemporaryDir dir;
    const QString path = dir.filePath("random.bin");
    std::string noise(2000, '\0');
    std::uint32_t x = 12345;
    for (char& c : noise)
        c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
    ASSERT_TRUE(writeFileAtomically(path, QByteArrayView(noise.data(), 2000)).ok);
    const Checked<FreeNumberImport> read = readFreeNumberFile(path, 0, 208);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.message(), *freeNumberTextFault(noise));
}

TEST(FreeNumberFile, FilesOnDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath("CALL.TXT");
    ASSERT_TRUE(writeFreeNumberFile(path, {RawText("1234            ")}).ok);
    const Checked<FreeNumberImport> read = readFreeNumberFile(path, 0, 208);
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ(texts(read->entries), std::vector<std::string>{"1234            "});

    for (const QString& unopenable : {dir.filePath("missing.txt"), dir.path()}) {
        const Checked<FreeNumberImport> failed = readFreeNumberFile(unopenable, 0, 208);
        EXPECT_FALSE(failed);
        EXPECT_EQ(failed.message(), "Megnyitási hiba!");
    }
}

} // namespace
} // namespace zx
