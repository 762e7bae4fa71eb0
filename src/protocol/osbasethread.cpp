#include "osbasethread.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

// Best effort: unprivileged users usually may not raise a priority, and that is fine.
void RaiseCurrentThreadPriority()
{
#if defined(_WIN32)
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
#elif defined(__linux__)
    // Linux keeps a nice value per thread, addressed by its thread id.
    const pid_t tid = gettid();
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, tid);
    if (errno == 0)
        setpriority(PRIO_PROCESS, tid, nice - 2);
#endif
}

} // namespace

TosBaseThread::TosBaseThread()
    : FSignal(std::make_shared<TThreadSignal>())
{
}

TosBaseThread::~TosBaseThread()
{
    StopAndWait();
}

void TosBaseThread::Resume()
{
    std::lock_guard guard(FControlLock);
    if (FStarted)
        return;
    FThread = std::thread(&TosBaseThread::Run, this);
    FStarted = true;
}

void TosBaseThread::StopThread()
{
    {
        // Set under the lock so that a waiter cannot check the flag and then miss the wake.
        std::lock_guard lock(FSignal->Lock);
        FTerminated = true;
    }
    FSignal->Wake.notify_all();
}

void TosBaseThread::StopAndWait()
{
    StopThread();
    std::lock_guard guard(FControlLock);
    if (!FThread.joinable())
        return;
    if (FThread.get_id() == std::this_thread::get_id())
        FThread.detach(); // called from Execute itself: it ends on its own
    else
        FThread.join();
}

void TosBaseThread::Run()
{
    if (FPriority == tpHighest)
        RaiseCurrentThreadPriority();
    Execute();
}
