#pragma once
// What the history's tests share: entries of a real configuration, and a look at the database
// file through a connection of the test's own.
#include "history/history_entry.h"
#include "model/new_configuration.h"
#include "model/settings_registry.h"
#include "model/transferred_image.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <gtest/gtest.h>

namespace zx {

// A new configuration with CoPosition set to `coPosition`, as it went over the line.
inline HistoryImage configurationImage(DeviceModel model, int coPosition) {
    DatabaseRecord record;
    applyNewConfiguration(record, model);
    EXPECT_FALSE(applySetting(record, model, "CoPosition=" + std::to_string(coPosition)));
    return {transferredImage(record.image, model), model};
}

// A download of `image` at the site, or without one a clock setting.
inline HistoryEntry entryAt(const char* utc, const QString& site, const QString& connection,
                            std::optional<HistoryImage> image = std::nullopt) {
    HistoryEntry e;
    e.time = QDateTime::fromString(QString::fromLatin1(utc), Qt::ISODate);
    e.user = QStringLiteral("szerviz");
    e.host = QStringLiteral("laptop");
    e.connection = {connection, QStringLiteral("/dev/ttyUSB0"), 19200, QStringLiteral("0612345")};
    e.unitModel = image ? std::optional(image->model) : std::nullopt;
    e.site = site;
    e.owner = QStringLiteral("Kovács Kft.");
    e.file = QStringLiteral("/home/szerviz/%1.vd1").arg(site);
    e.operation = image ? HistoryOperation::Download : HistoryOperation::SetClock;
    e.message = QStringLiteral("Sikeres letöltés.");
    e.image = std::move(image);
    return e;
}

// The first value the database file gives for `sql`, read through a connection of its own.
inline QVariant queryValue(const QString& path, const QString& sql) {
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "test-probe");
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (db.open() && q.exec(sql) && q.next()) value = q.value(0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test-probe"));
    return value;
}

} // namespace zx
