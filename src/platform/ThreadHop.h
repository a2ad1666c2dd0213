#pragma once
// Work crosses from one thread to another in one way: through the calls
// below. Each one tells ThreadSanitizer about the hand-over, which it cannot
// see by itself, because Qt (its event queue, its mutexes, its thread pool) is
// not built with it: everything the posting thread wrote before the post is
// visible to the code that runs on the other side. Outside a ThreadSanitizer
// build the annotations cost nothing.
//
//   postTo(object, fn)   fn runs on object's thread, in its event loop; it is
//                        dropped when object goes first
//   postToMain(fn)       fn runs on the main thread
//   runOn(object, fn)    fn runs on object's thread and the caller waits for
//                        it (or for its drop, when object goes first); at
//                        once when that is the caller's thread or the thread
//                        is not running
//   runOnPool(fn)        fn runs on Qt's global thread pool
//   markedSlot(fn)       fn as a slot whose connection Qt may free on one of
//                        its own threads
//
// handOver/takeOver mark a hand-over that goes through something else Qt
// hides (a thread's end seen through QThread::wait, say): handOver on the
// giving side, takeOver on the taking side, both with the same address.

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QThreadPool>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>

#if defined(__SANITIZE_THREAD__)
#define ORVALINDE_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ORVALINDE_TSAN 1
#endif
#endif

#ifdef ORVALINDE_TSAN
extern "C" {
void __tsan_acquire(void *addr);
void __tsan_release(void *addr);
}
#endif

namespace platform {

inline void handOver(const void *token) noexcept
{
#ifdef ORVALINDE_TSAN
    __tsan_release(const_cast<void *>(token));
#else
    (void)token;
#endif
}

inline void takeOver(const void *token) noexcept
{
#ifdef ORVALINDE_TSAN
    __tsan_acquire(const_cast<void *>(token));
#else
    (void)token;
#endif
}

namespace detail {

// The callable on its way to another thread. Every copy or move hands over,
// under its own address: Qt moves it into the object it queues, so the last
// hand-over comes after everything the posting thread wrote, that object
// included. The call, and the end (wherever it happens), take over first,
// before the object's own members are read.
template <class Fn>
class Hop {
public:
    explicit Hop(Fn fn) : m_fn(std::make_shared<Fn>(std::move(fn))) { handOver(this); }
    Hop(const Hop &other) : m_fn(other.m_fn) { handOver(this); }
    Hop(Hop &&other) noexcept : m_fn(std::move(other.m_fn)) { handOver(this); }
    Hop &operator=(const Hop &) = delete;
    Hop &operator=(Hop &&) = delete;
    ~Hop() { takeOver(this); }

    void operator()() const
    {
        takeOver(this);
        (*m_fn)();
        // Qt may drop the last reference to this object on the posting
        // thread, once the call is over.
        handOver(this);
    }

private:
    std::shared_ptr<Fn> m_fn;
};

// Set when the work it rides with has run or was dropped unrun: it goes
// with the work's callable, so its end is the callable's.
struct Done {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;

    void set()
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
        changed.notify_all();
    }
    void wait()
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return done; });
    }
};

class DoneOnEnd {
public:
    explicit DoneOnEnd(std::shared_ptr<Done> done) : m_done(std::move(done)) {}
    DoneOnEnd(DoneOnEnd &&) noexcept = default;
    DoneOnEnd &operator=(DoneOnEnd &&) = delete;
    ~DoneOnEnd()
    {
        if (m_done)
            m_done->set();
    }

private:
    std::shared_ptr<Done> m_done;
};

} // namespace detail

template <class Fn>
bool postTo(QObject *context, Fn &&fn)
{
    if (!context)
        return false;
    return QMetaObject::invokeMethod(
        context, detail::Hop<std::decay_t<Fn>>(std::forward<Fn>(fn)), Qt::QueuedConnection);
}

template <class Fn>
bool postToMain(Fn &&fn)
{
    return postTo(QCoreApplication::instance(), std::forward<Fn>(fn));
}

template <class Fn>
void runOn(QObject *context, Fn &&fn)
{
    QThread *owner = context ? context->thread() : nullptr;
    if (!owner || owner == QThread::currentThread() || !owner->isRunning()) {
        fn();
        return;
    }
    // Not Qt's blocking call: it waits on a semaphore ThreadSanitizer cannot
    // see and reads the caller's stack after the work has run.
    auto done = std::make_shared<detail::Done>();
    if (postTo(context, [&fn, end = detail::DoneOnEnd(done)] { fn(); }))
        done->wait();
}

// A slot for a connection whose bookkeeping Qt may free on a thread of its
// own: a QNetworkReply's connections are at times freed on the network
// access manager's HTTP thread. It hands over where it is made and after
// each call, and takes over before each call and where it goes.
template <class Fn>
detail::Hop<std::decay_t<Fn>> markedSlot(Fn &&fn)
{
    return detail::Hop<std::decay_t<Fn>>(std::forward<Fn>(fn));
}

template <class Fn>
void runOnPool(Fn &&fn)
{
    QThreadPool::globalInstance()->start(detail::Hop<std::decay_t<Fn>>(std::forward<Fn>(fn)));
}

} // namespace platform
