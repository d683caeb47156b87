#include "history/history_csv.h"

#include "model/editor_view.h"

#include <QStringList>

namespace zx {

namespace {

QString field(const QString& text) {
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    QString quoted = text;
    quoted.replace('"', QStringLiteral("\"\""));
    return '"' + quoted + '"';
}

QString line(const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields)
        quoted << field(f);
    return quoted.join(',') + QStringLiteral("\r\n");
}

} // namespace

QByteArray historyCsv(const std::vector<HistoryEntry>& entries) {
    QString text = line({"Azonosító", "Idő", "Felhasználó", "Gép", "Kapcsolat", "Port", "Sebesség",
                         "Telefonszám", "Típus", "Fájl", "Hely", "Tulajdonos", "Művelet",
                         "Eredmény", "Üzenet", "Konfiguráció", "Részleges"});
    for (const HistoryEntry& e : entries) {
        const QDateTime local = e.time.toOffsetFromUtc(e.time.toLocalTime().offsetFromUtc());
        text += line({QString::number(e.id), local.toString(Qt::ISODate), e.user, e.host,
                      e.connection.name, e.connection.port,
                      e.connection.speed ? QString::number(e.connection.speed) : QString(),
                      e.connection.phone,
                      e.unitModel ? QString::fromStdString(modelCaption(*e.unitModel)) : QString(),
                      e.file, e.site, e.owner, operationWord(e.operation), outcomeWord(e.outcome),
                      e.message, e.imageDigest, e.partial ? QStringLiteral("igen") : QString()});
    }
    return text.toUtf8();
}

} // namespace zx
