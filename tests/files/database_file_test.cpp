#include "files/database_file.h"

#include "files/cp1250.h"
#include "model/new_configuration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

using Slot = DatabaseRecord::Slot;

DatabaseRecord sampleRecord(const std::string& site = "abc", const std::string& owner = "") {
    DatabaseRecord r;
    applyNewConfiguration(r, DeviceModel::Line4);
    r.setText(Slot::Site, zx::RawText(site));
    r.setText(Slot::Owner, zx::RawText(owner));
    r.setText(Slot::Password, zx::RawText("Titok"));
    for (std::size_t i = 0; i < ImageSize; ++i)
        if (i < 1408) r.image.set(i, static_cast<Byte>(i % 251));
    return r;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class DatabaseFile : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST(ScrambleKey, SumsSiteThenOwnerModulo256) {
    EXPECT_EQ(scrambleKey(sampleRecord("abc", "")), 38);
    EXPECT_EQ(scrambleKey(sampleRecord("a", "b")), 195);
    EXPECT_EQ(scrambleKey(sampleRecord("", "")), 0);
    EXPECT_EQ(scrambleKey(sampleRecord("\x80", "\x80")), 0);
    EXPECT_EQ(scrambleKey(sampleRecord("\xFF\xFF", "")), 0xFE);
    // Texts too long to live inside the string object: the sanitizer build sees any read of a
    // text that is already gone.
    EXPECT_EQ(scrambleKey(sampleRecord(std::string(200, 'a'), std::string(100, 'b'))),
              (200 * 'a' + 100 * 'b') % 256);
    // Password and connection name play no part.
    DatabaseRecord r = sampleRecord("abc", "");
    r.setText(Slot::Password, zx::RawText("zzz"));
    r.setText(Slot::ConnectionName, zx::RawText("Iroda"));
    EXPECT_EQ(scrambleKey(r), 38);
}

TEST(Scramble, TouchesOnlyTheImageAndThePasswordCharacters) {
    const DatabaseRecord plain = sampleRecord();
    DatabaseRecord r = plain;
    scrambleRecord(r, 0x5A);
    const auto before = plain.toBytes();
    const auto after = r.toBytes();
    for (std::size_t i = 0; i < RecordSize; ++i) {
        const bool passwordChar = i >= 524 && i < 524 + 5;
        const bool image = i >= RecordImageOffset;
        EXPECT_EQ(after[i], (passwordChar || image) ? before[i] ^ 0x5A : before[i]) << i;
    }
    scrambleRecord(r, 0x5A);
    EXPECT_EQ(r, plain);
}

TEST(Scramble, AKeyOfZeroLeavesEverythingPlain) {
    DatabaseRecord r = sampleRecord("\x80", "\x80");
    const auto file = databaseFileBytes(r, QString());
    r.writeHeader();
    EXPECT_EQ(file, r.toBytes());
}

TEST(DatabaseFileBytes, HeaderConnectionAndScrambledCopy) {
    const DatabaseRecord r = sampleRecord();
    const DatabaseRecord untouched = r;
    const auto bytes = databaseFileBytes(r, QStringLiteral("Iroda"));
    EXPECT_EQ(r, untouched); // the record in memory stays plain
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 11), "\x0AZendrax1V2");
    EXPECT_EQ(bytes[779], 5);
    EXPECT_EQ(std::string(bytes.begin() + 780, bytes.begin() + 785), "Iroda");
    EXPECT_EQ(bytes[523], 5); // the password length stays plain
    EXPECT_EQ(bytes[524], 'T' ^ 38);
    EXPECT_EQ(bytes[12], 'a');
    for (std::size_t i = 0; i < ImageSize; ++i)
        ASSERT_EQ(bytes[RecordImageOffset + i], r.image.at(i) ^ 38) << i;
}

TEST_F(DatabaseFile, SaveThenReadGivesTheRecordBack) {
    DatabaseRecord r = sampleRecord("Győr", "Kovács");
    r.setText(Slot::Site, toCp1250(QString::fromUtf8("Győr")));
    r.setText(Slot::Owner, toCp1250(QString::fromUtf8("Kovács")));
    const QString file = path("a.vd1");
    const auto written = writeDatabaseFile(file, r, QString::fromUtf8("Műhely"));
    ASSERT_TRUE(written.ok) << written.message.toStdString();
    EXPECT_EQ(QFileInfo(file).size(), static_cast<qint64>(RecordSize));

    const DatabaseReadResult read = readDatabaseFile(file);
    ASSERT_TRUE(read.ok()) << read.message.toStdString();
    EXPECT_TRUE(read.message.isEmpty());
    EXPECT_EQ(read.record.image, r.image);
    EXPECT_EQ(fromCp1250(read.record.text(Slot::Site)), QString::fromUtf8("Győr"));
    EXPECT_EQ(fromCp1250(read.record.text(Slot::Owner)), QString::fromUtf8("Kovács"));
    EXPECT_EQ(read.record.text(Slot::Password), "Titok");
    EXPECT_EQ(fromCp1250(read.record.text(Slot::ConnectionName)), QString::fromUtf8("Műhely"));
    EXPECT_TRUE(read.record.headerValid());
    EXPECT_TRUE(read.lastModified.isValid());
    EXPECT_EQ(read.lastModified, QFileInfo(file).lastModified());
}

TEST_F(DatabaseFile, SavingTwiceWritesIdenticalFilesAndReplacesTheOld) {
    const DatabaseRecord r = sampleRecord();
    ASSERT_TRUE(writeDatabaseFile(path("a.vd1"), r, QString()).ok);
    ASSERT_TRUE(writeDatabaseFile(path("b.vd1"), r, QString()).ok);
    EXPECT_EQ(readAll(path("a.vd1")), readAll(path("b.vd1")));

    writeBytes(path("c.vd1"), QByteArray(20000, 'x'));
    ASSERT_TRUE(writeDatabaseFile(path("c.vd1"), r, QString()).ok);
    EXPECT_EQ(readAll(path("c.vd1")), readAll(path("a.vd1")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

TEST_F(DatabaseFile, ANewSiteChangesEveryStoredImageByteAndStillOpens) {
    DatabaseRecord r = sampleRecord("abc", "");
    ASSERT_TRUE(writeDatabaseFile(path("a.vd1"), r, QString()).ok);
    r.setText(Slot::Site, zx::RawText("abd"));
    ASSERT_TRUE(writeDatabaseFile(path("b.vd1"), r, QString()).ok);
    const QByteArray a = readAll(path("a.vd1"));
    const QByteArray b = readAll(path("b.vd1"));
    for (qsizetype i = RecordImageOffset; i < static_cast<qsizetype>(RecordSize); ++i)
        ASSERT_NE(a[i], b[i]) << i;
    const DatabaseReadResult read = readDatabaseFile(path("b.vd1"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.record.image, r.image);
}

TEST_F(DatabaseFile, RefusesAWrongHeader) {
    ASSERT_TRUE(writeDatabaseFile(path("good.vd1"), sampleRecord(), QString()).ok);
    const QByteArray good = readAll(path("good.vd1"));
    const std::pair<int, char> breaks[] = {{0, 9},   {0, 11},  {0, 0},    {1, 'z'},
                                           {5, 'R'}, {8, 'v'}, {10, '3'}, {7, '2'}};
    for (const auto& [at, value] : breaks) {
        QByteArray bad = good;
        bad[at] = value;
        writeBytes(path("bad.vd1"), bad);
        const DatabaseReadResult read = readDatabaseFile(path("bad.vd1"));
        EXPECT_EQ(read.status, DatabaseReadStatus::BadFormat) << at;
        EXPECT_EQ(read.message, QString::fromUtf8("File formátum nem Zendrax1 V2 típusú !!!"));
    }
}

TEST_F(DatabaseFile, RefusesShortFilesWithTheirOwnMessage) {
    ASSERT_TRUE(writeDatabaseFile(path("good.vd1"), sampleRecord(), QString()).ok);
    const QByteArray good = readAll(path("good.vd1"));
    for (qsizetype size : {qsizetype(0), qsizetype(11), qsizetype(RecordSize - 1)}) {
        writeBytes(path("short.vd1"), good.left(size));
        const DatabaseReadResult read = readDatabaseFile(path("short.vd1"));
        EXPECT_EQ(read.status, DatabaseReadStatus::TooShort) << size;
        EXPECT_FALSE(read.message.isEmpty());
        EXPECT_NE(read.message, badFormatMessage());
        EXPECT_TRUE(read.message.contains(QString::number(size))) << read.message.toStdString();
    }
}

TEST_F(DatabaseFile, ReadsOnlyTheFirstRecordOfALongerFile) {
    const DatabaseRecord r = sampleRecord();
    ASSERT_TRUE(writeDatabaseFile(path("good.vd1"), r, QString()).ok);
    writeBytes(path("long.vd1"), readAll(path("good.vd1")) + QByteArray(500, '\xAA'));
    const DatabaseReadResult read = readDatabaseFile(path("long.vd1"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.record.image, r.image);
}

TEST_F(DatabaseFile, ReportsFilesThatCannotBeRead) {
    for (const QString& p : {path("missing.vd1"), dir.path()}) {
        const DatabaseReadResult read = readDatabaseFile(p);
        EXPECT_EQ(read.status, DatabaseReadStatus::CannotRead) << p.toStdString();
        EXPECT_TRUE(read.message.contains(p)) << read.message.toStdString();
    }
}

TEST(Password, ComparedByteByByteWithCaseAndSpaces) {
    DatabaseRecord r = sampleRecord();
    EXPECT_TRUE(passwordMatches(r, zx::RawText("Titok")));
    EXPECT_TRUE(passwordMatches(r, QStringLiteral("Titok")));
    for (const char* wrong : {"titok", "TITOK", "Titok ", " Titok", "Tito", ""})
        EXPECT_FALSE(passwordMatches(r, zx::RawText(wrong))) << wrong;

    r.setText(Slot::Password, zx::RawText(""));
    EXPECT_TRUE(passwordMatches(r, QString()));
    EXPECT_FALSE(passwordMatches(r, QStringLiteral(" ")));

    r.setText(Slot::Password, toCp1250(QString::fromUtf8("Jelszó")));
    EXPECT_TRUE(passwordMatches(r, QString::fromUtf8("Jelszó")));
    EXPECT_FALSE(passwordMatches(r, QString::fromUtf8("JelszÓ")));

    // A typed character the code page lacks would become '?'; it must not match one.
    r.setText(Slot::Password, zx::RawText("?"));
    EXPECT_TRUE(passwordMatches(r, QStringLiteral("?")));
    EXPECT_FALSE(passwordMatches(r, QString::fromUtf8("ñ")));
    EXPECT_FALSE(passwordMatches(r, QString::fromUtf8("Ж")));
}

TEST_F(DatabaseFile, PasswordSurvivesTheFileAndIsScrambledInIt) {
    DatabaseRecord r = sampleRecord("abc", "");
    ASSERT_TRUE(writeDatabaseFile(path("a.vd1"), r, QString()).ok);
    const QByteArray raw = readAll(path("a.vd1"));
    EXPECT_FALSE(raw.contains("Titok"));
    const DatabaseReadResult read = readDatabaseFile(path("a.vd1"));
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(passwordMatches(read.record, QStringLiteral("Titok")));
    EXPECT_FALSE(passwordMatches(read.record, QStringLiteral("titok")));
}

TEST_F(DatabaseFile, ASavedFileHoldsNothingOfEarlierTexts) {
    // A file as an older writer left it: a long password, then a shorter one written over it
    // in place, with the rest of the long one still behind the new characters.
    const std::string longPassword = "HosszuTitkosJelszo2024";
    DatabaseRecord r = sampleRecord("abc", "");
    r.setText(Slot::Password, zx::RawText(longPassword));
    auto old = databaseFileBytes(r, QStringLiteral("Iroda"));
    old[523] = 2; // the length byte of a two-character password
    writeBytes(path("old.vd1"), QByteArray(reinterpret_cast<const char*>(old.data()),
                                           static_cast<qsizetype>(old.size())));

    DatabaseReadResult read = readDatabaseFile(path("old.vd1"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.record.text(Slot::Password), longPassword.substr(0, 2));
    read.record.setText(Slot::Password, zx::RawText("ab"));
    read.record.setText(Slot::ConnectionName, zx::RawText("Iroda"));
    ASSERT_TRUE(writeDatabaseFile(path("new.vd1"), read.record, QStringLiteral("Ir")).ok);

    const QByteArray saved = readAll(path("new.vd1"));
    ASSERT_EQ(saved.size(), static_cast<qsizetype>(RecordSize));
    for (std::size_t slot : {11u, 267u, 523u, 779u})
        for (std::size_t i = slot + 1 + static_cast<Byte>(saved[slot]); i < slot + 256; ++i)
            ASSERT_EQ(saved[static_cast<qsizetype>(i)], 0) << i;
    const std::string rest = longPassword.substr(2);
    std::string scrambled = rest;
    for (char& c : scrambled)
        c = static_cast<char>(c ^ 38);
    EXPECT_FALSE(saved.contains(rest.c_str()));
    EXPECT_FALSE(saved.contains(scrambled.c_str()));
    EXPECT_FALSE(saved.contains("roda"));
}

TEST_F(DatabaseFile, AFailedWriteLeavesNothingBehind) {
    const DatabaseRecord r = sampleRecord();
    QDir(dir.path()).mkdir("sub");
    writeBytes(path("plain"), "x");
    for (const QString& target : {path("missing/a.vd1"), path("sub"), path("plain/a.vd1")}) {
        const DatabaseWriteResult w = writeDatabaseFile(target, r, QString());
        EXPECT_FALSE(w.ok) << target.toStdString();
        EXPECT_TRUE(w.message.contains(target)) << w.message.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"plain", "sub"}));
    EXPECT_TRUE(QDir(path("sub")).isEmpty());
    EXPECT_EQ(readAll(path("plain")), QByteArray("x"));
}

} // namespace
} // namespace zx
