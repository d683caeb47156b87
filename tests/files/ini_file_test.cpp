// The settings files' INI reader and writer, on files in a temporary folder.
#include "files/ini_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zx {
namespace {

class IniFileTest : public ::testing::Test {
  protected:
    QString put(const QByteArray& bytes) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QByteArray bytes() {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString path = dir.filePath("t.ini");
};

TEST_F(IniFileTest, SectionsComeInTheFilesOrderAndNamesIgnoreCase) {
    put("[Zeta]\r\nCOM=COM2\r\n\r\n[alpha]\r\nSPEED=9600\r\n[Mid]\r\n[zeta]\r\nPHONE=1\r\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.sections(), QStringList({"Zeta", "alpha", "Mid"}));
    EXPECT_TRUE(ini.hasKey("ZETA", "com"));
    EXPECT_EQ(ini.readString("zeta", "Com", "x"), "COM2");
    EXPECT_EQ(ini.readString("Zeta", "PHONE", "x"), "1");
    EXPECT_TRUE(ini.hasSection("Mid"));
    EXPECT_FALSE(ini.hasKey("Mid", "COM"));
    EXPECT_EQ(ini.readString("Mid", "COM", "fallback"), "fallback");
    EXPECT_EQ(ini.readString("Nowhere", "COM", "fallback"), "fallback");
}

TEST_F(IniFileTest, ValuesAreTrimmedAndLoseEnclosingQuotes) {
    put("[S]\nA =  spaced  \nB=\"quoted value\"\nC=\nD=a=b\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.readString("S", "A", "x"), "spaced");
    EXPECT_EQ(ini.readString("S", "B", "x"), "quoted value");
    EXPECT_TRUE(ini.hasKey("S", "C"));
    EXPECT_EQ(ini.readString("S", "C", "x"), "");
    EXPECT_EQ(ini.readString("S", "D", "x"), "a=b");
}

TEST_F(IniFileTest, IntegersReadDecimalAndHexAndFallBackOnAnythingElse) {
    put("[N]\na=12\nb= 7 \nc=0x1F\nd=$10\ne=-3\nf=abc\ng=\nh=99999999999\ni=12abc\n");
    const IniFile ini(path);
    const struct {
        const char* key;
        int want;
    } cases[] = {{"a", 12}, {"b", 7},  {"c", 31}, {"d", 16}, {"e", -3},
                 {"f", 42}, {"g", 42}, {"h", 42}, {"i", 42}, {"missing", 42}};
    for (const auto& c : cases)
        EXPECT_EQ(ini.readInteger("N", c.key, 42), c.want) << c.key;
}

TEST_F(IniFileTest, WritingReplacesInPlaceAddsAtTheEndAndKeepsComments) {
    put("; kept comment\r\n[A]\r\nK1=old\r\nK2=two\r\n\r\n[B]\r\nX=1\r\n");
    IniFile ini(path);
    ini.writeString("a", "k1", "new");
    ini.writeString("A", "K3", "three");
    ini.writeInteger("C", "N", 5);
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(bytes(), "; kept comment\r\n[A]\r\nK1=new\r\nK2=two\r\nK3=three\r\n\r\n[B]\r\nX=1\r\n"
                       "[C]\r\nN=5\r\n");
    const IniFile again(path);
    EXPECT_EQ(again.sections(), QStringList({"A", "B", "C"}));
    EXPECT_EQ(again.readInteger("C", "N", 0), 5);
}

TEST_F(IniFileTest, TextIsWrittenInTheCentralEuropeanCodePageAndReadBack) {
    IniFile ini(path);
    ini.writeString("Győr iroda", "PHONE", "árvíztűrő");
    ASSERT_TRUE(ini.save());
    // ő is F5, ű is FB in Windows-1250.
    EXPECT_EQ(bytes(), "[Gy\xF5r iroda]\r\nPHONE=\xE1rv\xEDzt\xFBr\xF5\r\n");
    const IniFile again(path);
    EXPECT_EQ(again.sections(), QStringList({"Győr iroda"}));
    EXPECT_EQ(again.readString("GYŐR IRODA", "PHONE", ""), "árvíztűrő");
}

TEST_F(IniFileTest, AFileInUtf8IsReadToo) {
    put("[Pécs]\nPHONE=ő\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.sections(), QStringList({"Pécs"}));
    EXPECT_EQ(ini.readString("Pécs", "PHONE", ""), "ő");
}

TEST_F(IniFileTest, LineBreaksCannotSplitAnEntry) {
    IniFile ini(path);
    ini.writeString("S", "PHONE", "12\r\n[Evil]\nCOM=COM9");
    ASSERT_TRUE(ini.save());
    const IniFile again(path);
    EXPECT_EQ(again.sections(), QStringList({"S"}));
    EXPECT_EQ(again.readString("S", "PHONE", ""), "12  [Evil] COM=COM9");
}

TEST_F(IniFileTest, MissingAndMalformedFilesReadWithoutHarm) {
    EXPECT_TRUE(IniFile(dir.filePath("none.ini")).sections().isEmpty());
    QByteArray junk("[unterminated\nkeyonly\n=novalue\n[ok]\n\x01\x02\xff\xfe=\x80\n[]\n");
    for (int i = 0; i < 256; ++i)
        junk.append(char(i));
    put(junk);
    const IniFile ini(path);
    EXPECT_TRUE(ini.hasSection("ok"));
    EXPECT_FALSE(ini.hasSection("unterminated"));
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNeverOverwritten) {
    QByteArray huge = "[Iroda]\r\nCOM=COM2\r\n";
    huge.append(QByteArray(IniFile::MaxFileSize, ';'));
    put(huge);
    IniFile ini(path);
    EXPECT_TRUE(ini.sections().isEmpty());
    ini.writeString("Uj", "COM", "COM3");
    QString error;
    EXPECT_FALSE(ini.save(&error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_EQ(bytes(), huge);

    IniFile folder(dir.path());
    folder.writeString("S", "K", "V");
    EXPECT_FALSE(folder.save());
}

TEST_F(IniFileTest, SavingWhereNoFileCanBeMadeReportsIt) {
    put("x");
    IniFile ini(path + "/below/a-file.ini");
    ini.writeString("S", "K", "V");
    QString error;
    EXPECT_FALSE(ini.save(&error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace zx
