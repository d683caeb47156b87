#pragma once
// Dates, times and numbers in Hungarian form in both programs, whatever locale the session has:
// the program's texts are Hungarian, and a date beside them ("8 Dec 2026") should not be.
#include <QByteArray>
#include <QList>
#include <QPair>

namespace zx {

// The environment changes that make Qt's system locale (which the toolkit's own views, such as
// the file dialogs' date column, format with) give Hungarian dates while the session's other
// categories stay: LC_TIME becomes Hungarian; an LC_ALL, which would override it, is spread
// over the categories it covered and LANG. Each pair is a name and its new value, an empty value
// meaning the variable is removed. lcAll and lang are the session's values.
QList<QPair<QByteArray, QByteArray>> hungarianDateEnvironment(const QByteArray& lcAll,
                                                              const QByteArray& lang);

// Applies those changes to this process and makes Hungarian the default QLocale. Called first in
// main, before the application object reads the environment.
void useHungarianLocale();

} // namespace zx
