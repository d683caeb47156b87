#include "history/history_recorder.h"

#include <QMetaObject>

#include <exception>

namespace zx {

QString entryNotKeptMessage(const QString& why) {
    return QStringLiteral("A művelet nem került az előzmények közé: %1.").arg(why);
}

HistoryWrite writeHistoryEntry(HistoryStore& store, const HistoryEntry& entry) {
    HistoryWrite write;
    try {
        const HistoryResult<qint64> result = store.add(entry);
        if (!result.notice.isEmpty()) write.reports << result.notice;
        if (result.ok())
            write.id = result.value;
        else
            write.reports << entryNotKeptMessage(result.error);
    } catch (const std::exception& e) {
        write.reports << entryNotKeptMessage(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        write.reports << entryNotKeptMessage(QStringLiteral("váratlan hiba"));
    }
    return write;
}

DirectHistoryRecorder::DirectHistoryRecorder(QString path, Report report)
    : store_(std::move(path)), report_(std::move(report)) {}

void DirectHistoryRecorder::record(HistoryEntry entry) {
    stampEntry(entry);
    const HistoryWrite write = writeHistoryEntry(store_, entry);
    lastId_ = write.id;
    if (report_)
        for (const QString& message : write.reports)
            report_(message);
}

// The recorder's side on its own thread: the store is made, used and destroyed there (a
// database connection belongs to the thread that opened it).
class HistoryWorker : public QObject {
    Q_OBJECT
  public:
    explicit HistoryWorker(QString path) : path_(std::move(path)) {}

    void write(const HistoryEntry& entry) {
        if (!store_) store_ = std::make_unique<HistoryStore>(path_);
        const HistoryWrite result = writeHistoryEntry(*store_, entry);
        for (const QString& message : result.reports)
            emit reported(message);
        if (result.id) emit recorded(*result.id);
    }
    // The last call queued: the connection closed on its own thread, then the thread ends.
    void finish() {
        store_.reset();
        QThread::currentThread()->quit();
    }

  signals:
    void recorded(qint64 id);
    void reported(const QString& message);

  private:
    QString path_;
    std::unique_ptr<HistoryStore> store_;
};

BackgroundHistoryRecorder::BackgroundHistoryRecorder(QString path, QObject* parent)
    : QObject(parent), worker_(new HistoryWorker(std::move(path))) {
    thread_.setObjectName(QStringLiteral("history"));
    worker_->moveToThread(&thread_);
    connect(worker_, &HistoryWorker::recorded, this, &BackgroundHistoryRecorder::recorded,
            Qt::QueuedConnection);
    connect(worker_, &HistoryWorker::reported, this, &BackgroundHistoryRecorder::reported,
            Qt::QueuedConnection);
    thread_.start();
}

BackgroundHistoryRecorder::~BackgroundHistoryRecorder() {
    // Queued after every entry handed over, so those are written first.
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->finish(); }, Qt::QueuedConnection);
    thread_.wait();
    // Its thread has ended: nothing else reaches it now.
    delete worker_;
}

void BackgroundHistoryRecorder::record(HistoryEntry entry) {
    // The moment, user and host of the operation's end, not of the write.
    stampEntry(entry);
    QMetaObject::invokeMethod(
        worker_, [w = worker_, entry = std::move(entry)] { w->write(entry); },
        Qt::QueuedConnection);
}

} // namespace zx

#include "history_recorder.moc"
