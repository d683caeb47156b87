#pragma once
// What a PDF file says, read back with the pdftotext tool of poppler-utils: its text page by
// page, laid out as on paper.
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

inline bool havePdfToText() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of each page; nothing when the file cannot be read.
inline QStringList pdfPages(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    // Every page ends with a form feed: the last piece is what follows the last page.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// The document name the file carries (pdfinfo, of the same tools).
inline QString pdfTitle(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith(QLatin1String("Title:"))) return line.mid(6).trimmed();
    return {};
}
