// The free-number file: lines taken as they are, filled up to 16 characters, no further than
// the list has room for.
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

TEST(FreeNumberFile, LinesAreTakenAsTheyAreAndFilledUpTo16) {
    const FreeNumberImport read =
        importFreeNumbers("061234567\r\n\r\n 12 x \r\n0036123456789012\r\n"
                          "00361234567890123456\n\xF5\xFB\n",
                          0, 208);
    EXPECT_FALSE(read.truncated);
    EXPECT_TRUE(read.message.empty());
    EXPECT_EQ(texts(read.entries),
              (std::vector<std::string>{"061234567       ", std::string(16, ' '),
                                        " 12 x           ", "0036123456789012",
                                        "00361234567890123456", "\xF5\xFB              "}));
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
    const std::vector<RawText> entries{RawText("0612345         "), RawText(std::string(16, ' ')),
                                       RawText("00361234567890123456"),
                                       RawText("  06 30 1234567 ")};
    const std::string file = freeNumberFileBytes(entries);
    EXPECT_EQ(file, "0612345         \r\n" + std::string(16, ' ') +
                        "\r\n00361234567890123456\r\n  06 30 1234567 \r\n");
    EXPECT_EQ(importFreeNumbers(file, 0, 208).entries, entries);
    EXPECT_EQ(freeNumberFileBytes({}), "");
}

TEST(FreeNumberFile, WhatIsNoTextIsRefusedNamingItsFirstBadLine) {
    EXPECT_FALSE(freeNumberTextFault("06 1\t23\r\n\xF5\xFB\r\n\r\n"));
    EXPECT_FALSE(freeNumberTextFault(""));
    const std::pair<std::string, std::string> faults[] = {
        {std::string("12\r\n34\0", 7), " 2. "},
        {"\x1B[2J\r\n", " 1. "},
        {"1\n2\n3\x7F\n", " 3. "},
        {"1\r\n2\r\n3\r\n4\r\x01\r\n", " 4. "},
    };
    for (const auto& [bytes, line] : faults) {
        const auto fault = freeNumberTextFault(bytes);
        ASSERT_TRUE(fault) << bytes;
        EXPECT_NE(fault->find(line), std::string::npos) << *fault;
        EXPECT_TRUE(fault->ends_with(" !!!")) << *fault;
    }
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
