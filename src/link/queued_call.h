#pragma once
// The one hand-over of a call from one thread to another, through the receiving thread's event
// queue: every request to the line's thread and every answer back passes here. The toolkit's
// queue is built without the thread checker, which therefore cannot see what the queue
// guarantees (a call sees everything its thread did before posting it); it is told so here,
// when a call is handed over and when it is taken over, and nowhere else. The call travels as a
// pointer in an event the toolkit makes itself: a functor the toolkit's templates built in the
// program's code would be written, out of the checker's sight of the queue, after the hand-over.
#include <QObject>

#include <functional>
#include <mutex>
#include <unordered_set>

namespace zx {

class CallTarget : public QObject {
    Q_OBJECT
  public:
    explicit CallTarget(QObject* parent = nullptr);
    // Calls queued to it and not yet run are dropped.
    ~CallTarget() override;

    // Queues `run` to this object's thread; from any thread.
    void post(std::function<void()> run);
    // The same, returning once it has run; never from this object's own thread.
    void postAndWait(const std::function<void()>& run);

  private:
    struct Call {
        std::function<void()> run;
    };
    // On this object's thread: the frame every queued request and answer is called from.
    Q_INVOKABLE void runQueuedCall(void* call);

    std::mutex mutex_;
    std::unordered_set<Call*> queued_;
};

} // namespace zx
