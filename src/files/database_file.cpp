#include "files/database_file.h"

#include "files/cp1250.h"

#include <QFile>
#include <QFileInfo>

namespace zx {

using Slot = DatabaseRecord::Slot;

QString badFormatMessage() {
    return QStringLiteral("File formátum nem Zendrax1 V2 típusú !!!");
}
QString wrongPasswordMessage() {
    return QStringLiteral("Hibás jelszó !!!");
}

Byte scrambleKey(const DatabaseRecord& record) {
    unsigned key = 0;
    for (Slot s : {Slot::Site, Slot::Owner}) {
        // Held by name: a range over the view of a temporary would read freed memory.
        const RawText text = record.text(s);
        for (char c : text.view())
            key += static_cast<unsigned char>(c);
    }
    return static_cast<Byte>(key & 0xFF);
}

void scrambleRecord(DatabaseRecord& record, Byte key) {
    for (Byte& b : record.image.bytes())
        b ^= key;
    // setText keeps the length byte and leaves the bytes after the text alone.
    RawText password = record.text(Slot::Password);
    for (char& c : password.bytes())
        c = static_cast<char>(static_cast<unsigned char>(c) ^ key);
    record.setText(Slot::Password, password);
}

std::array<Byte, RecordSize> databaseFileBytes(const DatabaseRecord& record,
                                               const QString& connectionName) {
    DatabaseRecord copy = record;
    copy.writeHeader();
    copy.setText(Slot::ConnectionName, toCp1250(connectionName));
    scrambleRecord(copy, scrambleKey(copy));
    return copy.toBytes();
}

DatabaseReadResult decodeDatabaseBytes(QByteArrayView bytes) {
    DatabaseReadResult result;
    if (static_cast<std::size_t>(bytes.size()) < RecordSize) {
        result.status = DatabaseReadStatus::TooShort;
        result.message = QStringLiteral("A file túl rövid (%1 bájt, egy adatbázis %2 bájt), "
                                        "nem Zendrax1 V2 adatbázis !!!")
                             .arg(bytes.size())
                             .arg(RecordSize);
        return result;
    }
    const auto* data = reinterpret_cast<const Byte*>(bytes.data());
    DatabaseRecord record =
        DatabaseRecord::fromBytes(std::span<const Byte, RecordSize>(data, RecordSize));
    if (!record.headerValid()) {
        result.status = DatabaseReadStatus::BadFormat;
        result.message = badFormatMessage();
        return result;
    }
    scrambleRecord(record, scrambleKey(record));
    result.status = DatabaseReadStatus::Ok;
    result.record = record;
    return result;
}

DatabaseReadResult readDatabaseFile(const QString& path) {
    QFile file(path);
    const QFileInfo info(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        DatabaseReadResult result;
        result.status = DatabaseReadStatus::CannotRead;
        const QString reason = info.isDir() ? QStringLiteral("ez egy mappa") : file.errorString();
        result.message = QStringLiteral("A file nem olvasható: %1 (%2) !!!").arg(path, reason);
        return result;
    }
    const QByteArray bytes = file.read(DatabaseFileReadSize);
    if (file.error() != QFileDevice::NoError) {
        DatabaseReadResult result;
        result.status = DatabaseReadStatus::CannotRead;
        result.message =
            QStringLiteral("A file nem olvasható: %1 (%2) !!!").arg(path, file.errorString());
        return result;
    }
    DatabaseReadResult result = decodeDatabaseBytes(bytes);
    result.lastModified = info.lastModified();
    result.fileBytes = bytes;
    return result;
}

std::optional<QByteArray> databaseFileOnDisk(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.read(DatabaseFileReadSize);
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

bool passwordMatches(const DatabaseRecord& record, const RawText& typed) {
    return record.text(Slot::Password) == typed;
}

bool passwordMatches(const DatabaseRecord& record, const QString& typed) {
    // A typed character the code page lacks matches nothing: it would otherwise become '?'.
    const Checked<RawText> bytes = toCp1250Exactly(typed);
    return bytes.ok() && passwordMatches(record, *bytes);
}

DatabaseWriteResult writeDatabaseFile(const QString& path, const DatabaseRecord& record,
                                      const QString& connectionName) {
    const auto bytes = databaseFileBytes(record, connectionName);
    return writeFileAtomically(path,
                               QByteArrayView(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size())),
                               FileAccess::OwnerOnly);
}

} // namespace zx
