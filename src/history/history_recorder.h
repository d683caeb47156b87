#pragma once
// Keeping an operation in the site history, in one call from the flow that ran it:
//
//     history.record(historyEntry(HistoryOperation::Download, outcome, message));
//
// A recorder never throws into its caller and never changes how the operation ended: an entry
// that could not be kept is reported, with why, beside the operation's own result. The window
// records on a thread of its own (`BackgroundHistoryRecorder`), so its thread never waits on the
// database; the command line records where it stands (`DirectHistoryRecorder`) and tells its
// reports on standard error.
#include "history/history_entry.h"
#include "history/history_store.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <functional>
#include <memory>

namespace zx {

class HistoryRecorder {
  public:
    virtual ~HistoryRecorder() = default;
    // Keeps `entry`; its time, user and host are filled in now where it has none.
    virtual void record(HistoryEntry entry) = 0;
};

// "A művelet nem került az előzmények közé: " and why.
QString entryNotKeptMessage(const QString& why);

// The one way an entry is written, shared by both recorders: the store's result as what the
// operator is told (a notice, the entry's failure) and the entry's id when it was kept.
struct HistoryWrite {
    std::optional<qint64> id;
    QStringList reports;
};
HistoryWrite writeHistoryEntry(HistoryStore& store, const HistoryEntry& entry);

class DirectHistoryRecorder : public HistoryRecorder {
  public:
    using Report = std::function<void(const QString&)>;
    DirectHistoryRecorder(QString path, Report report);
    void record(HistoryEntry entry) override;
    // The id of the entry last kept; nothing when the last one was not.
    std::optional<qint64> lastId() const { return lastId_; }

  private:
    HistoryStore store_;
    Report report_;
    std::optional<qint64> lastId_;
};

class HistoryWorker;

class BackgroundHistoryRecorder : public QObject, public HistoryRecorder {
    Q_OBJECT
  public:
    explicit BackgroundHistoryRecorder(QString path = defaultHistoryPath(),
                                       QObject* parent = nullptr);
    // The entries already handed over are written before the thread ends.
    ~BackgroundHistoryRecorder() override;

    // Returns at once: the entry is queued to the recorder's thread.
    void record(HistoryEntry entry) override;

  signals:
    // Queued to the thread the recorder lives in, once for each entry.
    void recorded(qint64 id);
    // What the operator is told: an entry not kept and why, or a corrupt file moved aside.
    void reported(const QString& message);

  private:
    QThread thread_;
    HistoryWorker* worker_ = nullptr; // lives on thread_
};

} // namespace zx
