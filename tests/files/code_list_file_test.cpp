// The binary code list: what an import puts into the table, what an export writes, and the
// files an import refuses without changing anything.
#include "files/code_list_file.h"

#include "code_rows.h"

#include "model/memory_map.h"
#include "model/new_configuration.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

using test::Rights;
using test::row;
constexpr DeviceModel Four = DeviceModel::Line4;
constexpr DeviceModel Sixteen = DeviceModel::Line16;

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

ConfigImage newImage(DeviceModel model) {
    DatabaseRecord record;
    applyNewConfiguration(record, model);
    return record.image;
}

// A file of L = 5 whose records carry the given rights characters.
std::string fileWithRights(const std::string& rights) {
    std::string s = bytes({5, static_cast<int>(rights.size()), 0});
    for (char r : rights)
        s += std::string("1234") + r;
    return s + '\0';
}

TEST(CodeListFile, NoCodesGiveAnEmptyTableButStillSetTheLength) {
    const Checked<CodeList> read = parseCodeListFile(bytes({7, 0, 0, 0}), Four);
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ(read->codeLength, 7);
    EXPECT_EQ(read->codeCount, 0);
    EXPECT_TRUE(read->rows.empty());

    ConfigImage image = newImage(Four);
    image.set(*MemoryMap::of(Four).offset(Field::CodeLength), 5);
    image.setWord(*MemoryMap::of(Four).offset(Field::CodeCount), 12);
    codeListPatch(image, *read, Four).applyTo(image);
    const CodeList after = codeListOf(image, Four);
    EXPECT_EQ(after.codeLength, 7);
    EXPECT_EQ(after.codeCount, 0);
}

TEST(CodeListFile, ExportThenImportGivesTheSameTableInEitherModel) {
    const CodeList four{7,
                        4,
                        {row("123456", {"Igen", "Nem", "Nem", "Nem"}),
                         row("000001", {"Nem", "Nem", "Nem", "Nem"}),
                         row("987654", {"Igen", "Igen", "Igen", "Igen"}),
                         row("55 5  ", {"Nem", "Igen", "Nem", "Igen"})}};
    const CodeList sixteen{
        3,
        5,
        {row("12", {"T"}), row("34", {"H"}), row("56", {"B"}), row("78", {"M"}), row("90", {"N"})}};
    for (const auto& [list, model] : {std::pair{four, Four}, std::pair{sixteen, Sixteen}}) {
        const Checked<std::string> file = codeListFileBytes(list, model);
        ASSERT_TRUE(file) << file.message();
        EXPECT_EQ(file->size(), 3u + 4u * 7u * (model == Four) + 5u * 3u * (model == Sixteen) + 1);
        EXPECT_EQ(file->back(), '\0');
        const Checked<CodeList> read = parseCodeListFile(*file, model);
        ASSERT_TRUE(read) << read.message();
        EXPECT_EQ(*read, list);
    }
}

TEST(CodeListFile, TheImportThroughTheStoreGivesTheImageTheSameTable) {
    ConfigImage source = newImage(Four);
    const CodeList list{5,
                        3,
                        {row("1234", {"Igen", "Nem", "Igen", "Nem"}),
                         row("4321", {"Nem", "Nem", "Nem", "Nem"}),
                         row("9999", {"Igen", "Igen", "Igen", "Igen"})}};
    codeListPatch(source, list, Four).applyTo(source);
    const Checked<std::string> file = codeListFileBytes(codeListOf(source, Four), Four);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->substr(3, 15), "12345" + std::string("4321") + "0" + "9999?");

    ConfigImage target = newImage(Four);
    const Checked<CodeList> read = parseCodeListFile(*file, Four);
    ASSERT_TRUE(read);
    codeListPatch(target, *read, Four).applyTo(target);
    EXPECT_EQ(codeListOf(target, Four), codeListOf(source, Four));
    for (std::size_t i = 0; i < 15; ++i)
        EXPECT_EQ(target.at(CodeTableStart + i), source.at(CodeTableStart + i)) << i;
}

TEST(CodeListFile, RightsAreReadWithTheModelInUse) {
    // Written by a 4-line unit: local only, all four rights, then characters of no 16-line level.
    const Checked<CodeList> read = parseCodeListFile(fileWithRights("1?056789A"), Sixteen);
    ASSERT_TRUE(read);
    Rights letters;
    for (const CodeRowView& r : read->rows)
        letters.push_back(r.rights.at(0));
    EXPECT_EQ(letters, (Rights{"H", "N", "T", "N", "N", "N", "N", "N", "H"}));

    const Checked<CodeList> four = parseCodeListFile(fileWithRights("5?0"), Four);
    ASSERT_TRUE(four);
    EXPECT_EQ(four->rows[0].rights, (Rights{"Igen", "Nem", "Igen", "Nem"}));
    EXPECT_EQ(four->rows[1].rights, (Rights{"Igen", "Igen", "Igen", "Igen"}));
    EXPECT_EQ(four->rows[2].rights, (Rights{"Nem", "Nem", "Nem", "Nem"}));
}

TEST(CodeListFile, CodesArePaddedOrCutToTheRecordAndKeepEveryByte) {
    const CodeList list{
        5, 3, {row("12", {"N"}), row("1234567", {"H"}), row("\xE1\x01\xFF\x09", {"M"})}};
    const Checked<std::string> file = codeListFileBytes(list, Sixteen);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->substr(3), std::string("12  4") + "12341" +
                                   "\xE1\x01\xFF\x09"
                                   "3" +
                                   '\0');
    // Rows the grid does not have are written as empty codes without rights.
    const Checked<std::string> shortGrid =
        codeListFileBytes(CodeList{4, 2, {row("777", {"N"})}}, Sixteen);
    ASSERT_TRUE(shortGrid);
    EXPECT_EQ(shortGrid->substr(3), std::string("7774") + "   0" + '\0');
}

TEST(CodeListFile, TheEndMarkAndWhatFollowsAreNotRead) {
    const std::string whole = bytes({3, 2, 0}) + "12?" + "34?";
    for (const std::string& file : {whole, whole + '\0', whole + '\0' + "trailing garbage"}) {
        const Checked<CodeList> read = parseCodeListFile(file, Four);
        ASSERT_TRUE(read) << read.message();
        EXPECT_EQ(read->rows.size(), 2u);
        EXPECT_EQ(read->rows[1].code, "34");
    }
}

TEST(CodeListFile, RefusesLengthsCountsAndShortFilesItCannotHold) {
    const std::string fullTwoDigit = bytes({3, 0x00, 0x04}) + std::string(1024 * 3, '1');
    ASSERT_TRUE(parseCodeListFile(fullTwoDigit, Four)) << "1024 two-digit codes fill the table";
    const std::string fullEightDigit = bytes({9, 85, 1}) + std::string(341 * 9, '2');
    ASSERT_TRUE(parseCodeListFile(fullEightDigit, Sixteen));

    const std::string refused[] = {
        "",
        bytes({5, 1}),
        bytes({2, 1, 0}) + "1?" + '\0',
        bytes({10, 1, 0}) + "123456789?" + '\0',
        bytes({0, 0, 0, 0}),
        bytes({255, 0, 0, 0}),
        bytes({3, 0x01, 0x04}) + std::string(1025 * 3, '1'),
        bytes({9, 86, 1}) + std::string(342 * 9, '2'),
        bytes({5, 0xFF, 0xFF}),
        bytes({5, 2, 0}) + "1234?" + "1234",
        bytes({5, 1, 0}),
    };
    for (const std::string& file : refused) {
        for (DeviceModel model : {Four, Sixteen}) {
            const Checked<CodeList> read = parseCodeListFile(file, model);
            EXPECT_FALSE(read) << file.size();
            EXPECT_NE(read.message().find("!!!"), std::string::npos) << read.message();
        }
    }
}

TEST(CodeListFile, AnExportIsRefusedForATableNoImportWouldTake) {
    for (int length : {0, 1, 2, 10, 255}) {
        const Checked<std::string> file = codeListFileBytes(CodeList{length, 1, {}}, Four);
        EXPECT_FALSE(file) << length;
        EXPECT_EQ(file.message(), "Értelmetlen adat: Kódok hossza:" + std::to_string(length));
    }
    const Checked<std::string> tooMany = codeListFileBytes(CodeList{7, 439, {}}, Four);
    EXPECT_EQ(tooMany.message(), "Értelmetlen adat: Kódok darabszáma:439");
    EXPECT_TRUE(codeListFileBytes(CodeList{7, 438, {}}, Four));
}

TEST(CodeListFile, FilesOnDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath("PIN.DAT");
    const CodeList list{4, 1, {row("555", {"Igen", "Nem", "Nem", "Igen"})}};
    const FileWriteResult w = writeCodeListFile(path, list, Four);
    ASSERT_TRUE(w.ok) << w.message.toStdString();
    const Checked<CodeList> read = readCodeListFile(path, Four);
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ(*read, list);

    // A refused export leaves the file of that name as it was.
    EXPECT_FALSE(writeCodeListFile(path, CodeList{0, 1, {}}, Four).ok);
    EXPECT_EQ(*readCodeListFile(path, Four), list);

    const Checked<CodeList> missing = readCodeListFile(dir.filePath("none.dat"), Four);
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message().find("none.dat"), std::string::npos) << missing.message();
}

} // namespace
} // namespace zx
