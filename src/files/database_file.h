#pragma once
// Database files: the record with its image and password characters scrambled by a one-byte
// key derived from the site and owner texts. Reading never touches the caller's record; the
// caller decides what to keep, so a refused file leaves everything as it was.
#include "files/file_bytes.h"
#include "model/database_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <string_view>

namespace zx {

QString badFormatMessage();     // "File formátum nem Zendrax1 V2 típusú !!!"
QString wrongPasswordMessage(); // "Hibás jelszó !!!"

// Sum of the Site characters, then of the Owner characters, modulo 256.
Byte scrambleKey(const DatabaseRecord& record);
// Exclusive or of every image byte and of the password characters (not its length byte) with
// the key. Its own inverse.
void scrambleRecord(DatabaseRecord& record, Byte key);

// The bytes a save writes: the header set, the connection name stored, then scrambled.
// The caller's record is not changed.
std::array<Byte, RecordSize> databaseFileBytes(const DatabaseRecord& record,
                                               const QString& connectionName);

enum class DatabaseReadStatus { Ok, CannotRead, TooShort, BadFormat };

struct DatabaseReadResult {
    DatabaseReadStatus status = DatabaseReadStatus::CannotRead;
    DatabaseRecord record; // unscrambled; meaningful only when ok()
    QDateTime lastModified;
    // The file's bytes as read (DatabaseFileReadSize at most), whatever the outcome.
    QByteArray fileBytes;
    QString message; // what the operator is told when not ok()
    bool ok() const { return status == DatabaseReadStatus::Ok; }
};

// How much of a database file is read: a record and one byte more, which tells a file that
// grew; what lies beyond is never read by anyone.
inline constexpr qint64 DatabaseFileReadSize = static_cast<qint64>(RecordSize) + 1;

// Reads the first RecordSize bytes and checks the header; the password is checked separately
// (the caller asks for it between the two steps).
DatabaseReadResult readDatabaseFile(const QString& path);
// The file's bytes as readDatabaseFile reads them, to tell whether another program changed it
// since: nothing when there is no such file or it cannot be read.
std::optional<QByteArray> databaseFileOnDisk(const QString& path);
// The same checks on bytes already in memory; lastModified stays invalid.
DatabaseReadResult decodeDatabaseBytes(QByteArrayView bytes);

// Whole text, byte by byte, case and spaces counting. A typed text with a character that
// Windows-1250 cannot hold never matches.
bool passwordMatches(const DatabaseRecord& record, const RawText& typed);
bool passwordMatches(const DatabaseRecord& record, const QString& typed);

using DatabaseWriteResult = FileWriteResult;

// Written atomically: a failed save leaves the previous file (or no file) in place.
[[nodiscard]] DatabaseWriteResult
writeDatabaseFile(const QString& path, const DatabaseRecord& record, const QString& connectionName);

} // namespace zx
