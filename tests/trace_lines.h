#pragma once
// Reading back a wire trace: the bytes of one direction, with every line checked for its form
// ("    1502.3 -> 44 32 42 0D").
#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

inline QByteArray tracedBytes(const QStringList& lines, const QString& arrow) {
    static const QRegularExpression form(R"(^ {0,9}\d+\.\d (->|<-)( [0-9A-F]{2})+$)");
    QByteArray bytes;
    for (const QString& line : lines) {
        EXPECT_TRUE(form.match(line).hasMatch()) << line.toStdString();
        if (line.mid(11, 2) != arrow) continue;
        for (const QString& hex : line.mid(14).split(' '))
            bytes.append(static_cast<char>(hex.toInt(nullptr, 16)));
    }
    return bytes;
}
