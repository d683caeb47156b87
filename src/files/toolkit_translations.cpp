#include "files/toolkit_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace zx {

namespace {

struct Supplemented {
    const char* context;
    const char* source;
    const char* hungarian;
};

// Texts of the dialogs and the help the program shows that Qt 6.4's Hungarian catalogue has
// no translation for.
constexpr Supplemented Supplement[] = {
    {"QCommandLineParser", "Displays help on commandline options.",
     "Megjeleníti a parancssori kapcsolók súgóját."},
    {"QCommandLineParser", "Displays help including Qt specific options.",
     "Megjeleníti a súgót a Qt saját kapcsolóival együtt."},
    {"QPrintSettingsOutput", "Pages", "Oldalak"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated "
     "by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "Oldalak vagy tartományok vesszővel elválasztva. A tartomány két szám kötőjellel "
     "elválasztva. Például: 3,5-7,9 a 3., 5., 6., 7. és 9. oldalt nyomtatja."},
    {"QPrintSettingsOutput", "Double Sided Printing", "Kétoldalas nyomtatás"},
    {"QPrintSettingsOutput", "Off", "Ki"},
    {"QPrintSettingsOutput", "Long side binding", "Kötés a hosszú oldalon"},
    {"QPrintSettingsOutput", "Short side binding", "Kötés a rövid oldalon"},
    {"QAbstractFileIconProvider", "Drive", "Meghajtó"},
    {"QAbstractFileIconProvider", "Folder", "Mappa"},
};

class SupplementTranslator : public QTranslator {
  public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char*,
                      int) const override {
        return toolkitSupplement(context, sourceText);
    }
    bool isEmpty() const override { return false; }
};

} // namespace

QString toolkitSupplement(const char* context, const char* sourceText) {
    if (!context || !sourceText) return QString();
    for (const Supplemented& s : Supplement)
        if (std::strcmp(s.context, context) == 0 && std::strcmp(s.source, sourceText) == 0)
            return QString::fromUtf8(s.hungarian);
    return QString();
}

bool installToolkitTranslations(QCoreApplication& app) {
    // Searched last: installed first.
    QCoreApplication::installTranslator(new SupplementTranslator(&app));
    auto* catalogue = new QTranslator(&app);
    if (!catalogue->load(QLocale(QLocale::Hungarian, QLocale::Hungary), QStringLiteral("qt"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete catalogue;
        return false;
    }
    return QCoreApplication::installTranslator(catalogue);
}

} // namespace zx
