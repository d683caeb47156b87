#pragma once
// Qt's own texts (its dialogs' captions and buttons, the command-line help) in Hungarian, like
// the rest of the program: Qt's catalogue of Hungarian translations (Debian's package
// qt6-translations-l10n) and, for the few texts this Qt's catalogue leaves in English, a
// supplement of the program's own. The program's texts are its own Hungarian and pass through
// untouched.
#include <QString>

class QCoreApplication;

namespace zx {

// Installs both on the application, the catalogue taking precedence where it has a text.
// False when the catalogue is not installed; the supplement is installed anyway.
bool installToolkitTranslations(QCoreApplication& app);

// The supplement's text for a Qt text, empty when it has none.
QString toolkitSupplement(const char* context, const char* sourceText);

} // namespace zx
