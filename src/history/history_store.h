#pragma once
// The site history's database: one SQLite file (Qt SQL's SQLite driver) in the user's data
// folder, readable and writable by its owner alone (0600, its folder 0700). Entries point at
// images kept once per content (the SHA-256 of the 8192 bytes), compressed. WAL and a busy
// timeout let the window and several commands write at the same time; `PRAGMA user_version`
// holds the schema's version, and a file of an earlier version is brought up to date step by
// step when it is opened.
//
// No call throws or stops its caller: each one gives its value or why there is none. A file
// that SQLite reports as corrupt or as no database is moved aside (with its -wal and -shm files,
// under a lock, a date in the new names) and a new one started; the call is then tried once on
// the new file, and the result's notice names both files.
//
// One store is one database connection, used by the thread that made the store.
#include "history/history_entry.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace zx {

// $XDG_DATA_HOME/zendrax/history.sqlite (~/.local/share/zendrax/history.sqlite).
QString defaultHistoryPath();

inline constexpr int HistorySchemaVersion = 2;
// How long a write waits for another program's write before it gives up.
inline constexpr int HistoryBusyTimeoutMs = 5000;

struct HistoryFilter {
    QString site;       // exactly this site; empty: every site
    QString connection; // exactly this saved connection; empty: every connection
    QDateTime since;    // entries at or after this moment; invalid: since the first
};

template <typename T> struct HistoryResult {
    std::optional<T> value;
    QString error;  // why there is no value, for the operator
    QString notice; // what the operator is told either way (a corrupt file moved aside)
    bool ok() const { return value.has_value(); }
};

class HistoryStore {
  public:
    explicit HistoryStore(QString path = defaultHistoryPath(),
                          int busyTimeoutMs = HistoryBusyTimeoutMs);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    const QString& path() const { return path_; }

    // Keeps the entry (its time, user and host filled in when it has none); its id.
    HistoryResult<qint64> add(const HistoryEntry& entry);
    // The entries the filter lets through, newest first, without their images' bytes.
    HistoryResult<std::vector<HistoryEntry>> list(const HistoryFilter& filter = {});
    // One entry whole, its image included. No value, with the error saying so, when there is
    // no entry of that id.
    HistoryResult<HistoryEntry> entry(qint64 id);
    // Removes the entries older than `before` and the images no entry points at any more; how
    // many entries went.
    HistoryResult<int> prune(const QDateTime& before);
    // Moves what the write-ahead log holds into the database file and empties the log.
    HistoryResult<bool> checkpoint();

  private:
    struct Failure;
    template <typename T, typename Op> HistoryResult<T> run(Op op);
    std::optional<Failure> open();
    void close();
    std::optional<Failure> migrate();
    QString setAside();
    QString describe(const Failure& failure) const;

    QString path_;
    int busyTimeoutMs_;
    QString connection_; // the QSqlDatabase connection's name; empty while closed
    quint64 openedInode_ = 0;
};

} // namespace zx
