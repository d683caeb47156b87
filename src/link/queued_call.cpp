#include "link/queued_call.h"

#include <condition_variable>
#include <memory>
#include <utility>

#if defined(__SANITIZE_THREAD__)
#define ZX_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZX_THREAD_SANITIZER 1
#endif
#endif

#ifdef ZX_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace zx {

namespace {

// What the posting thread did so far is seen by whoever takes the call over.
void handOver([[maybe_unused]] void* call) {
#ifdef ZX_THREAD_SANITIZER
    __tsan_release(call);
#endif
}

void takeOver([[maybe_unused]] void* call) {
#ifdef ZX_THREAD_SANITIZER
    __tsan_acquire(call);
#endif
}

} // namespace

CallTarget::CallTarget(QObject* parent) : QObject(parent) {}

CallTarget::~CallTarget() {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (Call* call : queued_) {
        takeOver(call);
        delete call;
    }
}

void CallTarget::post(std::function<void()> run) {
    auto* call = new Call{std::move(run)};
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        queued_.insert(call);
    }
    handOver(call);
    QMetaObject::invokeMethod(this, "runQueuedCall", Qt::QueuedConnection,
                              Q_ARG(void*, static_cast<void*>(call)));
}

void CallTarget::postAndWait(const std::function<void()>& run) {
    std::mutex mutex;
    std::condition_variable ran;
    bool done = false;
    post([&] {
        run();
        const std::lock_guard<std::mutex> lock(mutex);
        done = true;
        ran.notify_all();
    });
    std::unique_lock<std::mutex> lock(mutex);
    ran.wait(lock, [&] { return done; });
}

void CallTarget::runQueuedCall(void* queued) {
    takeOver(queued);
    std::unique_ptr<Call> call(static_cast<Call*>(queued));
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        queued_.erase(call.get());
    }
    call->run();
}

} // namespace zx
