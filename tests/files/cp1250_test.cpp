#include "files/cp1250.h"
#include "model/cp1250_text.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(Cp1250, HungarianLettersMapToTheirCodePageBytes) {
    const QString text = QString::fromUtf8("őűáéíóöüúÁÉŐŰ");
    const RawText bytes("\xF5\xFB\xE1\xE9\xED\xF3\xF6\xFC\xFA\xC1\xC9\xD5\xDB");
    EXPECT_EQ(toCp1250(text), bytes);
    EXPECT_EQ(fromCp1250(bytes), text);
    EXPECT_EQ(toCp1250(QStringLiteral("abc 123")), "abc 123");
}

TEST(Cp1250, EveryPrintableByteRoundTrips) {
    for (int b = 0x20; b < 256; ++b) {
        const RawText one(std::string(1, static_cast<char>(b)));
        const QString decoded = fromCp1250(one);
        ASSERT_EQ(decoded.size(), 1) << b;
        if (decoded.at(0) == QChar::ReplacementCharacter) continue; // unassigned in the page
        EXPECT_EQ(toCp1250(decoded), one) << b;
    }
}

TEST(Cp1250, CharactersOutsideThePageBecomeQuestionMarks) {
    const RawText bytes = toCp1250(QString::fromUtf8("aжb"));
    EXPECT_EQ(bytes, "a?b");
    // A real SUB control character is kept as it is.
    EXPECT_EQ(toCp1250(QString::fromUtf8("\x1A\xC5\x91\xF0\x9F\x98\x80")), "\x1A\xF5?");
    // The converter drops zero-width characters silently; they are not in the page either, so
    // a name made of them must not turn into another name.
    EXPECT_EQ(toCp1250(QString::fromUtf8("CONN\xEF\xBB\xBF"
                                         "ECTION\xE2\x80\x8B")),
              "CONN?ECTION?");
}

} // namespace
} // namespace zx

namespace zx {
namespace {

TEST(Cp1250, ReaderAgreesWithTheConverterOnEveryByte) {
    // The texts are written through the converter and read through the table: a byte the two
    // read differently would change a stored text on its way back, and charactersOutsideCp1250
    // would refuse characters that fit.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    QStringDecoder converter("windows-1250");
    ASSERT_TRUE(converter.isValid());
    const QString expected = converter.decode(QByteArrayView(all.data(), 256));
    EXPECT_EQ(fromCp1250(RawText(all)), expected);
    EXPECT_EQ(QString::fromStdString(utf8FromCp1250(all)), expected);
    for (int b = 0; b < 256; ++b) {
        const RawText one(std::string(1, static_cast<char>(b)));
        EXPECT_EQ(toCp1250(fromCp1250(one)), one) << b;
    }
}

TEST(Cp1250, TextsThatDoNotFitAreRefusedNamingTheFirstCharacter) {
    // Everything the page holds fits, so nothing read from a record is ever refused.
    QString page;
    for (int b = 0x20; b < 256; ++b) {
        const QString decoded = fromCp1250(RawText(std::string(1, static_cast<char>(b))));
        if (decoded.at(0) != QChar::ReplacementCharacter) page += decoded;
    }
    EXPECT_EQ(charactersOutsideCp1250(page), QString());
    const Checked<RawText> whole = toCp1250Exactly(page);
    ASSERT_TRUE(whole.ok());
    EXPECT_EQ(fromCp1250(*whole), page);

    const QString mixed = QString::fromUtf8("Győr ñ, Жв \xF0\x9F\x98\x80 ő");
    EXPECT_EQ(charactersOutsideCp1250(mixed), QString::fromUtf8("ñЖв\xF0\x9F\x98\x80"));
    const Checked<RawText> refused = toCp1250Exactly(mixed);
    ASSERT_FALSE(refused.ok());
    const QString message = QString::fromStdString(refused.message());
    EXPECT_TRUE(message.contains(QString::fromUtf8("„ñ”"))) << refused.message();
    EXPECT_TRUE(message.endsWith(" !!!")) << refused.message();
    // A character beyond the 16-bit range is named whole, not by half of its pair.
    EXPECT_TRUE(outsideCp1250Message(QString::fromUtf8("\xF0\x9F\x98\x80"))
                    .contains(QString::fromUtf8("„\xF0\x9F\x98\x80”")));
}

} // namespace
} // namespace zx
