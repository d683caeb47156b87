// Qt's own texts in Hungarian: the catalogue where it has them, the program's supplement where
// it does not; the program's own texts pass through untouched.
#include "files/toolkit_translations.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace zx {
namespace {

TEST(ToolkitTranslations, QtsHelpTextsAreHungarianAndTheProgramsOwnStay) {
    int argc = 1;
    char name[] = "zendrax";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
    const bool catalogue = installToolkitTranslations(*QCoreApplication::instance());

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("demo"), QString::fromUtf8("Bemutató mód, egység nélkül.")});
    const QString help = parser.helpText();
    // The lines Qt's catalogue leaves in English come from the supplement.
    EXPECT_FALSE(help.contains(QStringLiteral("Displays help"))) << help.toStdString();
    EXPECT_TRUE(help.contains(QString::fromUtf8("Megjeleníti a parancssori kapcsolók súgóját.")));
    EXPECT_TRUE(help.contains(QString::fromUtf8("Bemutató mód, egység nélkül.")));
    EXPECT_EQ(QCoreApplication::translate("TMainForm", "Menti a változásokat ?"),
              QString::fromUtf8("Menti a változásokat ?"));
    EXPECT_EQ(toolkitSupplement("QPrintSettingsOutput", "Pages"), QStringLiteral("Oldalak"));
    EXPECT_TRUE(toolkitSupplement("QPrintSettingsOutput", "Menti").isEmpty());

    ASSERT_TRUE(catalogue) << "Qt's Hungarian catalogue (package qt6-translations-l10n) is missing";
    // The catalogue goes first where it has a text.
    EXPECT_TRUE(help.startsWith(QString::fromUtf8("Használat: "))) << help.toStdString();
    EXPECT_TRUE(help.contains(QString::fromUtf8("Kapcsolók:")));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QString::fromUtf8("Nyomtatás"));
}

} // namespace
} // namespace zx
