#include "files/hungarian_locale.h"

#include <QLocale>

#include <clocale>

namespace zx {

QList<QPair<QByteArray, QByteArray>> hungarianDateEnvironment(const QByteArray& lcAll,
                                                              const QByteArray& lang) {
    QList<QPair<QByteArray, QByteArray>> changes;
    if (!lcAll.isEmpty()) {
        changes.emplaceBack("LC_ALL", QByteArray());
        for (const char* category : {"LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_MONETARY",
                                     "LC_MESSAGES", "LC_PAPER", "LC_MEASUREMENT"})
            changes.emplaceBack(category, lcAll);
        if (lang != lcAll) changes.emplaceBack("LANG", lcAll);
    }
    changes.emplaceBack("LC_TIME", "hu_HU.UTF-8");
    return changes;
}

void useHungarianLocale() {
    // The C library keeps the session's locale: its own setting now, before the changed
    // environment (whose Hungarian locale may not be installed) could make it fall back to "C";
    // the application object's later attempt fails and leaves this one in place.
    std::setlocale(LC_ALL, "");
    for (const auto& [name, value] : hungarianDateEnvironment(qgetenv("LC_ALL"), qgetenv("LANG"))) {
        if (value.isEmpty())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
}

} // namespace zx
