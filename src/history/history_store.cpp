#include "history/history_store.h"

#include "files/file_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <variant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zx {

namespace {

constexpr const char* Driver = "QSQLITE";
// How an image's bytes are kept: as they are (files of the first version) or through zlib.
constexpr const char* RawEncoding = "raw";
constexpr const char* ZlibEncoding = "zlib";

// SQLite's primary result codes that decide what happens to a file.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteReadOnly = 8;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteFull = 13;
constexpr int SqliteCantOpen = 14;
constexpr int SqliteNotADatabase = 26;

// The schema, one step a version: a file of version n gets steps n+1 and on, so a new file and
// an old one reach the same schema by the same road.
// 1: entries and the images they point at, images as their bytes.
// 2: images compressed (a column saying how each is kept; version 1's stay as they are).
// The list's filters by site and connection read every entry: at 10,000 entries that takes
// milliseconds, and indexes of them would add a fifth to the file.
const std::vector<std::vector<const char*>>& schemaSteps() {
    static const std::vector<std::vector<const char*>> steps{
        {"CREATE TABLE images (sha256 BLOB PRIMARY KEY, bytes BLOB NOT NULL) WITHOUT ROWID",
         "CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, time INTEGER NOT NULL, "
         "user TEXT NOT NULL, host TEXT NOT NULL, connection TEXT NOT NULL, port TEXT NOT NULL, "
         "speed INTEGER NOT NULL, phone TEXT NOT NULL, unit_model INTEGER, file TEXT NOT NULL, "
         "site TEXT NOT NULL, owner TEXT NOT NULL, operation TEXT NOT NULL, "
         "outcome TEXT NOT NULL, message TEXT NOT NULL, image BLOB REFERENCES images(sha256), "
         "image_model INTEGER, partial INTEGER NOT NULL DEFAULT 0)",
         "CREATE INDEX entries_time ON entries(time)"},
        {"ALTER TABLE images ADD COLUMN encoding TEXT NOT NULL DEFAULT 'raw'"},
    };
    return steps;
}

// The models as the database keeps them: the unit's line count.
QVariant modelValue(std::optional<DeviceModel> model) {
    if (!model) return QVariant(QMetaType(QMetaType::Int));
    return *model == DeviceModel::Line16 ? 16 : 4;
}

std::optional<DeviceModel> modelOf(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    return value.toInt() == 16 ? DeviceModel::Line16 : DeviceModel::Line4;
}

// A text as a column that holds no NULL takes it: an empty text, never none.
QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QByteArray imageBytes(const ConfigImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.bytes().data()), ImageSize);
}

QString uniqueConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("zx-history-%1").arg(++counter);
}

quint64 inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// The folder made for its owner alone where it is missing (its parents as the system makes
// them), and the file created empty with mode 0600 before SQLite opens it: SQLite gives its
// -wal and -shm files the database file's mode.
QString prepareFile(const QString& path) {
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && !QFileInfo(folder).isDir())
            return QStringLiteral("a(z) %1 mappa nem hozható létre: %2")
                .arg(QDir::toNativeSeparators(folder),
                     QString::fromLocal8Bit(strerror(errno == EEXIST ? ENOTDIR : errno)));
    }
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
    } else if (errno != EEXIST) {
        return QStringLiteral("a(z) %1 nem hozható létre: %2")
            .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(strerror(errno)));
    }
    return {};
}

// "history.sqlite" moved aside as "history-corrupt-20260115-103000.sqlite" (with "-2" and on
// when that name is taken), its -wal and -shm files beside it under the same name.
QString asideName(const QString& path) {
    const QFileInfo info(path);
    const QString stem = info.completeBaseName() + QStringLiteral("-corrupt-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix = info.suffix().isEmpty() ? QString() : '.' + info.suffix();
    for (int n = 1;; ++n) {
        const QString name =
            info.dir().filePath(stem + (n > 1 ? QStringLiteral("-%1").arg(n) : QString()) + suffix);
        if (!QFileInfo::exists(name) && !QFileInfo::exists(name + "-wal") &&
            !QFileInfo::exists(name + "-shm"))
            return name;
    }
}

} // namespace

QString defaultHistoryPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("zendrax/history.sqlite"));
}

struct HistoryStore::Failure {
    enum class Kind { Corrupt, ReadOnly, Busy, Full, CannotOpen, Other };
    Kind kind = Kind::Other;
    QString text;

    static Failure of(const QSqlError& error) {
        Failure f;
        // Primary codes: an extended one carries its primary code in its low byte.
        const int code = error.nativeErrorCode().toInt() & 0xff;
        switch (code) {
        case SqliteCorrupt:
        case SqliteNotADatabase:
            f.kind = Kind::Corrupt;
            break;
        case SqliteReadOnly:
            f.kind = Kind::ReadOnly;
            break;
        case SqliteBusy:
        case SqliteLocked:
            f.kind = Kind::Busy;
            break;
        case SqliteFull:
            f.kind = Kind::Full;
            break;
        case SqliteCantOpen:
            f.kind = Kind::CannotOpen;
            break;
        default:
            break;
        }
        f.text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
        return f;
    }
    static Failure other(const QString& text) { return Failure{Kind::Other, text}; }
};

namespace {

// A statement run with its values bound in order; the failure when it did not run.
std::optional<QSqlError> exec(QSqlQuery& query, const QString& sql,
                              const QVariantList& values = {}) {
    if (!query.prepare(sql)) return query.lastError();
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec()) return query.lastError();
    return std::nullopt;
}

} // namespace

HistoryStore::HistoryStore(QString path, int busyTimeoutMs)
    : path_(std::move(path)), busyTimeoutMs_(busyTimeoutMs) {}

HistoryStore::~HistoryStore() {
    close();
}

void HistoryStore::close() {
    if (connection_.isEmpty()) return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
}

std::optional<HistoryStore::Failure> HistoryStore::open() {
    if (!connection_.isEmpty()) return std::nullopt;
    if (!QSqlDatabase::isDriverAvailable(QLatin1String(Driver)))
        return Failure::other(
            QStringLiteral("hiányzik a Qt SQLite meghajtója (libqt6sql6-sqlite csomag)"));
    if (const QString problem = prepareFile(path_); !problem.isEmpty())
        return Failure::other(problem);
    connection_ = uniqueConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QLatin1String(Driver), connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
    if (!db.open()) {
        const Failure failure = Failure::of(db.lastError());
        db = QSqlDatabase();
        close();
        return failure;
    }
    openedInode_ = inodeOf(path_);
    // WAL lets readers and one writer work at once; a file that cannot take it (read only)
    // is still read as it is. NORMAL: a commit needs no flush of its own in WAL mode, the
    // checkpoint flushes.
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    query = QSqlQuery();
    // A failure leaves the connection open: a corrupt file is moved aside before it is closed,
    // as closing removes its -wal and -shm files.
    return migrate();
}

std::optional<HistoryStore::Failure> HistoryStore::migrate() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    const auto version = [&]() -> std::optional<int> {
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
            return std::nullopt;
        return query.value(0).toInt();
    };
    std::optional<int> current = version();
    if (!current) return Failure::of(query.lastError());
    if (*current == HistorySchemaVersion) return std::nullopt;
    if (*current > HistorySchemaVersion)
        return Failure::other(
            QStringLiteral("a(z) %1 a program egy újabb változatáé (%2. változat)")
                .arg(QDir::toNativeSeparators(path_))
                .arg(*current));
    // One writer brings the file up to date; another that waited finds it done.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) return Failure::of(query.lastError());
    const auto rollback = [&](const QSqlError& error) {
        const Failure failure = Failure::of(error);
        query.exec(QStringLiteral("ROLLBACK"));
        return failure;
    };
    current = version();
    if (!current) return rollback(query.lastError());
    const auto& steps = schemaSteps();
    for (int v = *current; v < HistorySchemaVersion; ++v)
        for (const char* sql : steps[static_cast<std::size_t>(v)])
            if (!query.exec(QString::fromLatin1(sql))) return rollback(query.lastError());
    if (!query.exec(QStringLiteral("PRAGMA user_version=%1").arg(HistorySchemaVersion)))
        return rollback(query.lastError());
    if (!query.exec(QStringLiteral("COMMIT"))) return rollback(query.lastError());
    return std::nullopt;
}

QString HistoryStore::setAside() {
    // Moved while this connection still has them open: closing a connection removes the -wal
    // and -shm files of the name it opened, which by then name nothing.
    FileWriteLock lock(path_);
    QString aside;
    // Another program may have moved it already and started a new one: that one stays.
    if (lock.acquire() && inodeOf(path_) != 0 && inodeOf(path_) == openedInode_) {
        aside = asideName(path_);
        if (QFile::rename(path_, aside)) {
            for (const char* part : {"-wal", "-shm"})
                if (QFileInfo::exists(path_ + part)) QFile::rename(path_ + part, aside + part);
        } else {
            aside.clear();
        }
    }
    close();
    return aside;
}

QString HistoryStore::describe(const Failure& failure) const {
    const QString file = QDir::toNativeSeparators(path_);
    switch (failure.kind) {
    case Failure::Kind::ReadOnly:
        return QStringLiteral("az előzmények adatbázisa (%1) nem írható").arg(file);
    case Failure::Kind::Busy:
        return QStringLiteral("az előzmények adatbázisát (%1) más program foglalja").arg(file);
    case Failure::Kind::Full:
        return QStringLiteral("megtelt a lemez (%1)").arg(file);
    case Failure::Kind::CannotOpen:
        return QStringLiteral("az előzmények adatbázisa (%1) nem nyitható meg").arg(file);
    case Failure::Kind::Corrupt:
        return QStringLiteral("az előzmények adatbázisa (%1) sérült").arg(file);
    case Failure::Kind::Other:
        break;
    }
    return failure.text.contains(file) ? failure.text
                                       : QStringLiteral("%1: %2").arg(file, failure.text);
}

// Runs op(db) on the open database; a corrupt file is moved aside and op tried once more on a
// new one. op gives its value, or the failure.
template <typename T, typename Op> HistoryResult<T> HistoryStore::run(Op op) {
    HistoryResult<T> result;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::optional<Failure> failure = open();
        if (!failure) {
            QSqlDatabase db = QSqlDatabase::database(connection_, false);
            std::variant<T, Failure> outcome = op(db);
            if (std::holds_alternative<T>(outcome)) {
                result.value = std::move(std::get<T>(outcome));
                result.error.clear();
                return result;
            }
            failure = std::get<Failure>(outcome);
        }
        result.error = describe(*failure);
        if (failure->kind != Failure::Kind::Corrupt || attempt > 0) break;
        const quint64 corruptInode = openedInode_;
        const QString aside = setAside();
        // Neither moved here nor replaced by another program: trying again finds it as it was.
        if (aside.isEmpty() && inodeOf(path_) == corruptInode) break;
        if (!aside.isEmpty())
            result.notice =
                QStringLiteral("Az előzmények adatbázisa sérült: félretettem %1 "
                               "néven, és újat kezdtem: %2.")
                    .arg(QDir::toNativeSeparators(aside), QDir::toNativeSeparators(path_));
    }
    close();
    return result;
}

HistoryResult<qint64> HistoryStore::add(const HistoryEntry& given) {
    HistoryEntry entry = given;
    stampEntry(entry);
    const QByteArray bytes = entry.image ? imageBytes(entry.image->image) : QByteArray();
    const QByteArray digest =
        entry.image ? QCryptographicHash::hash(bytes, QCryptographicHash::Sha256) : QByteArray();
    return run<qint64>([&](QSqlDatabase& db) -> std::variant<qint64, Failure> {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) return Failure::of(query.lastError());
        const auto rollback = [&](const QSqlError& error) {
            const Failure failure = Failure::of(error);
            query.exec(QStringLiteral("ROLLBACK"));
            return failure;
        };
        if (entry.image) {
            // Compressed only when the history does not hold it yet: most entries find theirs.
            if (auto error =
                    exec(query, QStringLiteral("SELECT 1 FROM images WHERE sha256 = ?"), {digest}))
                return rollback(*error);
            const bool held = query.next();
            query.finish();
            if (!held) {
                if (auto error =
                        exec(query,
                             QStringLiteral("INSERT INTO images (sha256, bytes, "
                                            "encoding) VALUES (?, ?, ?)"),
                             {digest, qCompress(bytes, 9), QString::fromLatin1(ZlibEncoding)}))
                    return rollback(*error);
            }
        }
        const QVariantList values{
            entry.time.toMSecsSinceEpoch(),
            textValue(entry.user),
            textValue(entry.host),
            textValue(entry.connection.name),
            textValue(entry.connection.port),
            entry.connection.speed,
            textValue(entry.connection.phone),
            modelValue(entry.unitModel),
            textValue(entry.file),
            textValue(entry.site),
            textValue(entry.owner),
            operationKey(entry.operation),
            outcomeKey(entry.outcome),
            textValue(entry.message),
            entry.image ? QVariant(digest) : QVariant(QMetaType(QMetaType::QByteArray)),
            entry.image ? modelValue(entry.image->model) : modelValue(std::nullopt),
            entry.image && entry.partial ? 1 : 0,
        };
        if (auto error = exec(query,
                              QStringLiteral("INSERT INTO entries (time, user, host, connection, "
                                             "port, speed, phone, unit_model, file, site, owner, "
                                             "operation, outcome, message, image, image_model, "
                                             "partial) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                             "?, ?, ?, ?, ?, ?)"),
                              values))
            return rollback(*error);
        const qint64 id = query.lastInsertId().toLongLong();
        if (!query.exec(QStringLiteral("COMMIT"))) return rollback(query.lastError());
        return id;
    });
}

namespace {

const QString EntryColumns = QStringLiteral(
    "e.id, e.time, e.user, e.host, e.connection, e.port, e.speed, e.phone, e.unit_model, e.file, "
    "e.site, e.owner, e.operation, e.outcome, e.message, e.image, e.image_model, e.partial");

// The entry of the row the query stands on (EntryColumns first), without its image's bytes.
HistoryEntry entryOfRow(const QSqlQuery& q) {
    HistoryEntry e;
    e.id = q.value(0).toLongLong();
    e.time = QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong(), Qt::UTC);
    e.user = q.value(2).toString();
    e.host = q.value(3).toString();
    e.connection = {q.value(4).toString(), q.value(5).toString(), q.value(6).toInt(),
                    q.value(7).toString()};
    e.unitModel = modelOf(q.value(8));
    e.file = q.value(9).toString();
    e.site = q.value(10).toString();
    e.owner = q.value(11).toString();
    // A key this program does not know (a later version's) reads as the nearest it has.
    e.operation = operationFromKey(q.value(12).toString()).value_or(HistoryOperation::Download);
    e.outcome = outcomeFromKey(q.value(13).toString()).value_or(HistoryOutcome::Failure);
    e.message = q.value(14).toString();
    const QByteArray digest = q.value(15).toByteArray();
    e.imageDigest = digest.isEmpty() ? QString() : QString::fromLatin1(digest.toHex());
    e.partial = !digest.isEmpty() && q.value(17).toInt() != 0;
    return e;
}

} // namespace

HistoryResult<std::vector<HistoryEntry>> HistoryStore::list(const HistoryFilter& filter) {
    return run<std::vector<HistoryEntry>>(
        [&](QSqlDatabase& db) -> std::variant<std::vector<HistoryEntry>, Failure> {
            QString sql = QStringLiteral("SELECT %1 FROM entries e WHERE 1").arg(EntryColumns);
            QVariantList values;
            if (!filter.site.isEmpty()) {
                sql += QStringLiteral(" AND e.site = ?");
                values << filter.site;
            }
            if (!filter.connection.isEmpty()) {
                sql += QStringLiteral(" AND e.connection = ?");
                values << filter.connection;
            }
            if (filter.since.isValid()) {
                sql += QStringLiteral(" AND e.time >= ?");
                values << filter.since.toMSecsSinceEpoch();
            }
            sql += QStringLiteral(" ORDER BY e.time DESC, e.id DESC");
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (auto error = exec(query, sql, values)) return Failure::of(*error);
            std::vector<HistoryEntry> entries;
            while (query.next())
                entries.push_back(entryOfRow(query));
            if (query.lastError().isValid()) return Failure::of(query.lastError());
            return entries;
        });
}

HistoryResult<HistoryEntry> HistoryStore::entry(qint64 id) {
    return run<HistoryEntry>([&](QSqlDatabase& db) -> std::variant<HistoryEntry, Failure> {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (auto error = exec(query,
                              QStringLiteral("SELECT %1, i.encoding, i.bytes FROM entries e "
                                             "LEFT JOIN images i ON i.sha256 = e.image "
                                             "WHERE e.id = ?")
                                  .arg(EntryColumns),
                              {id}))
            return Failure::of(*error);
        if (!query.next()) {
            if (query.lastError().isValid()) return Failure::of(query.lastError());
            return Failure::other(QStringLiteral("nincs %1. bejegyzés").arg(id));
        }
        HistoryEntry e = entryOfRow(query);
        if (e.imageDigest.isEmpty()) return e;
        const QString encoding = query.value(18).toString();
        const QByteArray stored = query.value(19).toByteArray();
        const QByteArray bytes = encoding == QLatin1String(ZlibEncoding)  ? qUncompress(stored)
                                 : encoding == QLatin1String(RawEncoding) ? stored
                                                                          : QByteArray();
        // Bytes that do not give back the image they were kept under are no image at all.
        if (bytes.size() != static_cast<qsizetype>(ImageSize) ||
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() !=
                e.imageDigest.toLatin1())
            return Failure::other(
                QStringLiteral("a(z) %1. bejegyzés konfigurációja sérült").arg(id));
        HistoryImage image;
        std::copy(bytes.begin(), bytes.end(), image.image.bytes().begin());
        image.model = modelOf(query.value(16)).value_or(DeviceModel::Line4);
        e.image = image;
        return e;
    });
}

HistoryResult<int> HistoryStore::prune(const QDateTime& before) {
    HistoryResult<int> result = run<int>([&](QSqlDatabase& db) -> std::variant<int, Failure> {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) return Failure::of(query.lastError());
        const auto rollback = [&](const QSqlError& error) {
            const Failure failure = Failure::of(error);
            query.exec(QStringLiteral("ROLLBACK"));
            return failure;
        };
        if (auto error = exec(query, QStringLiteral("DELETE FROM entries WHERE time < ?"),
                              {before.toMSecsSinceEpoch()}))
            return rollback(*error);
        const int removed = query.numRowsAffected();
        if (auto error = exec(query, QStringLiteral("DELETE FROM images WHERE sha256 NOT IN "
                                                    "(SELECT image FROM entries WHERE image IS "
                                                    "NOT NULL)")))
            return rollback(*error);
        if (!query.exec(QStringLiteral("COMMIT"))) return rollback(query.lastError());
        // The space freed goes back to the system; where another program is reading just now
        // it is only reused by later entries, which is as good.
        query.exec(QStringLiteral("VACUUM"));
        return removed;
    });
    return result;
}

HistoryResult<bool> HistoryStore::checkpoint() {
    return run<bool>([&](QSqlDatabase& db) -> std::variant<bool, Failure> {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")))
            return Failure::of(query.lastError());
        return true;
    });
}

} // namespace zx
