// The preferences dialog on a record of its own, driven as the operator would drive it.
#include "ui/dialogs/preferences_dialog.h"

#include "files/cp1250.h"
#include "files/database_file.h"
#include "model/code_table_shape.h"
#include "model/new_configuration.h"
#include "scripted_interaction.h"
#include "ui/dialogs/interaction.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace zx {
namespace {

using Slot = DatabaseRecord::Slot;

// Types text as the keyboard does, one key event per character (accented letters included).
void type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class PreferTest : public ::testing::Test {
  protected:
    PreferTest() { applyNewConfiguration(record, model); }

    void storeSize(int count, int digits) {
        codeTableShapePatch(MemoryMap::of(model), {count, digits}).applyTo(record.image);
    }
    CodeTableShape storedSize() const {
        return storedCodeTableShape(record.image, MemoryMap::of(model));
    }
    int storedCount() const {
        return record.image.word(*MemoryMap::of(model).offset(Field::CodeCount));
    }
    std::unique_ptr<PreferencesDialog> open(const QDateTime& lastModified = {}) {
        return std::make_unique<PreferencesDialog>(record, model, lastModified, interaction);
    }

    DeviceModel model = DeviceModel::Line4;
    DatabaseRecord record;
    ScriptedInteraction interaction;
};

TEST_F(PreferTest, ShowsItsFieldsUnderTheirNamesAndCaptions) {
    auto d = open();
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Preferenciák"));
    for (const char* name :
         {"Esite", "Euser", "Epassw1", "Edatetime", "SEkoddb", "SEkodlen", "Button1"})
        EXPECT_NE(d->findChild<QWidget*>(name), nullptr) << name;
    QStringList labels;
    for (const QLabel* l : d->findChildren<QLabel*>())
        labels << l->text();
    for (const char* text : {"Telepítés:", "Tulajdonos:", "Jelszó:", "Utolsó módosítás:",
                             "Kódok darabszáma:", "Kódjegyek száma:"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(d->okButton->text(), "OK");
    EXPECT_TRUE(d->okButton->isDefault());
    EXPECT_FALSE(d->Edatetime->isEnabled());
    EXPECT_EQ(d->passwordEdit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(d->passwordEdit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                  d->passwordEdit),
              '*');
    EXPECT_EQ(d->SEkodlen->minimum(), 2);
    EXPECT_EQ(d->SEkodlen->maximum(), 8);
    EXPECT_EQ(d->SEkoddb->minimum(), 0);
}

TEST_F(PreferTest, OpeningAndClosingChangesNothing) {
    record.setText(Slot::Site, toCp1250(QString::fromUtf8("Győr, Ipar utca 5.")));
    record.setText(Slot::Owner, toCp1250(QString::fromUtf8("Kovács Ödön")));
    record.setText(Slot::Password, RawText("Titok"));
    storeSize(500, 4);
    const auto before = record.toBytes();
    auto d = open();
    EXPECT_EQ(d->Esite->text(), QString::fromUtf8("Győr, Ipar utca 5."));
    EXPECT_EQ(d->Euser->text(), QString::fromUtf8("Kovács Ödön"));
    EXPECT_EQ(d->passwordEdit->text(), "Titok");
    EXPECT_EQ(d->SEkodlen->value(), 4);
    EXPECT_EQ(d->SEkoddb->value(), 500);
    EXPECT_EQ(d->SEkoddb->maximum(), 614);
    d->show();
    d->okButton->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(record.toBytes(), before);
    EXPECT_EQ(d->codeCount(), 500);
}

TEST_F(PreferTest, FewerDigitsLowerTheCountAndTheCloseStoresBoth) {
    storeSize(20, 6);
    auto d = open();
    d->SEkodlen->setValue(2);
    EXPECT_EQ(d->SEkoddb->value(), 10);
    EXPECT_EQ(d->SEkoddb->maximum(), 10);
    d->SEkodlen->setValue(3);
    EXPECT_EQ(d->SEkoddb->value(), 10); // more digits never raise the count
    d->SEkoddb->setValue(150);
    EXPECT_EQ(d->SEkoddb->value(), 100);

    d->SEkodlen->setValue(4);
    d->SEkoddb->setValue(614);
    EXPECT_EQ(d->SEkoddb->value(), 614);
    d->SEkodlen->setValue(8);
    EXPECT_EQ(d->SEkoddb->value(), 341);
    d->accept();
    EXPECT_EQ(storedSize(), (CodeTableShape{341, 8}));
    EXPECT_EQ(d->codeCount(), 341);
}

TEST_F(PreferTest, AStoredCountAboveTheLimitIsShownAndStoredLowered) {
    storeSize(0, 4);
    record.image.setWord(*MemoryMap::of(model).offset(Field::CodeCount), 700);
    auto d = open();
    EXPECT_EQ(d->SEkoddb->value(), 614);
    d->accept();
    EXPECT_EQ(storedCount(), 614);
}

TEST_F(PreferTest, CodesBeyondTheLimitAreKeptUnlessTheOperatorAgreesToDropThem) {
    // A hundred two-digit codes, as the grid grows them or an import brings them.
    storeSize(0, 2);
    record.image.setWord(*MemoryMap::of(model).offset(Field::CodeCount), 100);
    auto d = open();
    EXPECT_EQ(d->SEkoddb->value(), 100);
    d->accept();
    EXPECT_EQ(storedCount(), 100);
    EXPECT_TRUE(interaction.shown.isEmpty());

    auto lower = open();
    lower->show();
    lower->SEkoddb->setValue(10);
    interaction.answers = {Interaction::Answer::No};
    lower->accept();
    EXPECT_EQ(interaction.texts(ScriptedInteraction::Kind::Question),
              QStringList{QString::fromUtf8("90 kód törlődik. Folytatja?")});
    EXPECT_TRUE(lower->isVisible()) << "Nem keeps the dialog open";
    EXPECT_EQ(lower->SEkoddb->value(), 100);
    EXPECT_EQ(storedCount(), 100);

    lower->SEkoddb->setValue(10);
    interaction.answers = {Interaction::Answer::Yes};
    lower->accept();
    EXPECT_FALSE(lower->isVisible());
    EXPECT_EQ(storedCount(), 10);
}

// Codes that lose digits, or that more digits leave short of the new length (the unit accepts
// them only once typed again or generated), are asked about first; Nem keeps the dialog open as
// the operator left it.
TEST_F(PreferTest, DigitsThatShortenOrOutgrowCodesAreAskedAboutFirst) {
    const struct {
        int digits;
        const char* question;
        const char* stored;
    } cases[] = {
        {3, "2 kód rövidebb lesz. Folytatja?", "123?12 5654?"},
        {8,
         "3 kód rövidebb lesz az új kódhossznál: az egység csak akkor fogadja el őket, ha újra "
         "beírják vagy generálják. Folytatja?",
         "123456  ?12      5654321  ?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digits);
        applyNewConfiguration(record, model);
        storeSize(3, 6);
        const std::size_t table = *MemoryMap::of(model).offset(Field::CodeTable);
        const std::string codes = "123456?12    5654321?"; // three records of six digits
        for (std::size_t i = 0; i < codes.size(); ++i)
            record.image.set(table + i, static_cast<Byte>(codes[i]));
        const DatabaseRecord before = record;
        auto d = open();
        d->show();
        d->SEkodlen->setValue(c.digits);
        interaction = ScriptedInteraction{};
        interaction.answers = {Interaction::Answer::No};
        d->accept();
        EXPECT_EQ(interaction.texts(ScriptedInteraction::Kind::Question),
                  QStringList{QString::fromUtf8(c.question)});
        EXPECT_TRUE(d->isVisible()) << "Nem keeps the dialog open";
        EXPECT_EQ(d->SEkodlen->value(), c.digits) << "as the operator left it";
        EXPECT_TRUE(record == before);

        interaction.answers = {Interaction::Answer::Yes};
        d->accept();
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(storedSize(), (CodeTableShape{3, c.digits}));
        const std::string stored(c.stored);
        EXPECT_EQ(
            std::string(reinterpret_cast<const char*>(&record.image.bytes()[table]), stored.size()),
            stored);
    }
}

// OK writes what the dialog shows; "Mégsem", Escape and the window's close button leave the
// record as it was.
TEST_F(PreferTest, OnlyOkWritesBack) {
    const struct {
        const char* how;
        std::function<void(PreferencesDialog&)> close;
        bool written;
    } cases[] = {
        {"OK", [](PreferencesDialog& d) { d.okButton->click(); }, true},
        {"Mégsem", [](PreferencesDialog& d) { d.cancelButton->click(); }, false},
        {"Escape", [](PreferencesDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false},
        {"close button", [](PreferencesDialog& d) { d.close(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        applyNewConfiguration(record, model);
        const DatabaseRecord before = record;
        auto d = open();
        interaction.dialogHandlers.push_back([&](QDialog& dialog) {
            auto& prefer = static_cast<PreferencesDialog&>(dialog);
            prefer.show();
            prefer.SEkoddb->setValue(12);
            prefer.Esite->setText("Pécs");
            c.close(prefer);
        });
        EXPECT_EQ(interaction.runDialog(*d) == QDialog::Accepted, c.written);
        EXPECT_FALSE(d->isVisible());
        if (c.written) {
            EXPECT_EQ(storedCount(), 12);
            EXPECT_EQ(fromCp1250(record.text(Slot::Site)), "Pécs");
        } else {
            EXPECT_TRUE(record == before);
        }
    }
}

// A text longer than the record holds is refused, naming the field and its limit; the dialog
// stays open with it, and nothing is cut.
TEST_F(PreferTest, TextsLongerThan255CharactersAreRefusedNotCut) {
    auto d = open();
    d->show();
    d->Esite->setText(QString(300, QChar(u'ő')));
    d->Euser->setText(QString(255, QChar(u'a')));
    d->passwordEdit->setText(QString(256, QChar(u'p')));
    d->accept();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(interaction.messages(),
              QStringList{QString::fromUtf8("Telepítés: a 300 karakteres érték nem tárolható, "
                                            "legfeljebb 255 karakter lehet !!!")});
    EXPECT_EQ(record.textLength(Slot::Site), 0);
    d->Esite->setText(QString(255, QChar(u'ő')));
    d->accept();
    EXPECT_EQ(interaction.messages().last(),
              QString::fromUtf8("Jelszó: a 256 karakteres érték nem tárolható, legfeljebb 255 "
                                "karakter lehet !!!"));
    d->passwordEdit->setText(QStringLiteral("p"));
    d->accept();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(record.text(Slot::Site), std::string(255, '\xF5'));
    EXPECT_EQ(record.textLength(Slot::Owner), 255);
}

TEST_F(PreferTest, ACharacterTheRecordCannotHoldIsRefusedWhereItIsTyped) {
    record.setText(Slot::Password, RawText("?"));
    auto d = open();
    d->show();
    d->Esite->setFocus();
    type(d->Esite, QString::fromUtf8("Győr"));
    type(d->Esite, QString::fromUtf8("ñ"));
    EXPECT_EQ(d->Esite->text(), QString::fromUtf8("Győr"));
    ASSERT_EQ(interaction.messages().size(), 1);
    EXPECT_TRUE(interaction.messages().first().contains(QString::fromUtf8("„ñ”")));
    type(d->Esite, "!");
    EXPECT_EQ(d->Esite->text(), QString::fromUtf8("Győr!"));
    EXPECT_EQ(d->Esite->cursorPosition(), 5);

    d->passwordEdit->setText(QString::fromUtf8("ñ"));
    d->Euser->setText(QString::fromUtf8("Жуков"));
    EXPECT_EQ(d->passwordEdit->text(), "?");
    EXPECT_EQ(d->Euser->text(), "");
    EXPECT_EQ(interaction.messages().size(), 3);
    d->accept();
    EXPECT_EQ(fromCp1250(record.text(Slot::Site)), QString::fromUtf8("Győr!"));
    EXPECT_EQ(record.text(Slot::Password), "?");
    EXPECT_EQ(record.text(Slot::Owner), "");
}

TEST_F(PreferTest, LastModifiedIsShownAsDateAndTimeOrTheDateAloneAtMidnight) {
    const QLocale hu(QLocale::Hungarian, QLocale::Hungary);
    const QDate day(2024, 3, 9);
    const QString date = hu.toString(day, QLocale::ShortFormat);
    EXPECT_EQ(PreferencesDialog::lastModifiedText(QDateTime(day, QTime(0, 0)), hu), date);
    const QString timed = PreferencesDialog::lastModifiedText(QDateTime(day, QTime(14, 5, 7)), hu);
    // The file's local time, with no zone after it (a bare time's zone would read "UTC").
    EXPECT_EQ(timed, date + " 14:05:07");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_TRUE(
        PreferencesDialog::lastModifiedText(QDateTime(day, QTime(14, 5, 7)), us).endsWith("PM"));
    // A second past midnight is not midnight.
    EXPECT_NE(PreferencesDialog::lastModifiedText(QDateTime(day, QTime(0, 0, 1)), hu), date);
    // Before any file was opened: the zero date, which is a midnight.
    EXPECT_EQ(PreferencesDialog::lastModifiedText(QDateTime(), hu),
              hu.toString(QDate(1899, 12, 30), QLocale::ShortFormat));

    auto d = open(QDateTime(day, QTime(14, 5, 7)));
    EXPECT_EQ(d->Edatetime->text(),
              PreferencesDialog::lastModifiedText(QDateTime(day, QTime(14, 5, 7))));
    EXPECT_EQ(open()->Edatetime->text(),
              PreferencesDialog::lastModifiedText(PreferencesDialog::zeroDate()));
}

// Opened with a long password, saved with a short one: the file keeps nothing of the old one.
TEST_F(PreferTest, AShortenedPasswordLeavesNothingOfTheOldOneInTheSavedFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.vd1");
    const std::string old = "NagyonHosszuJelszo99";
    record.setText(Slot::Site, RawText("Szeged"));
    record.setText(Slot::Password, RawText(old));
    ASSERT_TRUE(writeDatabaseFile(path, record, QString()).ok);

    DatabaseReadResult read = readDatabaseFile(path);
    ASSERT_TRUE(read.ok());
    record = read.record;
    auto d = open();
    d->passwordEdit->setText("ab");
    d->accept();
    ASSERT_TRUE(writeDatabaseFile(path, record, QString()).ok);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    const Byte key = scrambleKey(record);
    for (qsizetype i = 526; i < 779; ++i)
        ASSERT_EQ(saved[i], 0) << i;
    for (char c : old.substr(2)) {
        EXPECT_FALSE(saved.mid(523, 256).contains(c)) << c;
        EXPECT_FALSE(saved.mid(523, 256).contains(static_cast<char>(c ^ key))) << c;
    }
    ASSERT_TRUE(readDatabaseFile(path).ok());
    EXPECT_TRUE(passwordMatches(readDatabaseFile(path).record, QStringLiteral("ab")));
}

} // namespace
} // namespace zx
