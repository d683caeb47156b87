#include "app/cli_settings.h"

#include "app/cli_common.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zx::cli {

namespace {

QJsonValue jsonOrNull(const std::optional<SettingValue>& value) {
    return value ? jsonOf(*value) : QJsonValue(QJsonValue::Null);
}

} // namespace

SettingsReading settingsOf(const CliDatabase& db) {
    return SettingsReading(db.record, db.model,
                           db.lastModified.toString(Qt::ISODate).toStdString());
}

QJsonValue jsonOf(const SettingValue& value) {
    switch (value.kind) {
    case SettingValue::Kind::Text:
        return QString::fromStdString(value.text);
    case SettingValue::Kind::Number:
        return static_cast<qint64>(value.number);
    case SettingValue::Kind::Flag:
        return value.flag;
    case SettingValue::Kind::Parts: {
        QJsonObject o;
        for (const SettingPart& p : value.parts)
            o[QString::fromStdString(p.name)] = jsonOf(p.value);
        return o;
    }
    case SettingValue::Kind::List: {
        QJsonArray a;
        for (const SettingValue& item : value.items)
            a.append(jsonOf(item));
        return a;
    }
    }
    return {};
}

void printDifferences(const std::vector<SettingDifference>& differences, bool json) {
    if (json) {
        QJsonArray list;
        for (const SettingDifference& d : differences)
            list.append(QJsonObject{{"name", QString::fromStdString(d.name)},
                                    {"a", jsonOrNull(d.a)},
                                    {"b", jsonOrNull(d.b)}});
        out(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)).trimmed());
        return;
    }
    for (const SettingDifference& d : differences)
        out(QString::fromStdString(differenceLine(d)));
}

} // namespace zx::cli
