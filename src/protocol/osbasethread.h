#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

enum TThreadPriority { tpNormal, tpHighest };

// A thread that is created suspended and stops cleanly: StopThread sets the terminated flag
// and wakes the thread through FSignal; Execute waits on FSignal and returns once Terminated().
//
// A derived class whose Execute uses the derived class's own members must call StopAndWait()
// in its own destructor: the base destructor runs after those members are gone.
class TosBaseThread {
public:
    TosBaseThread();
    virtual ~TosBaseThread();
    TosBaseThread(const TosBaseThread &) = delete;
    TosBaseThread &operator=(const TosBaseThread &) = delete;

    // Starts the thread; later calls do nothing.
    void Resume();
    void Start() { Resume(); }
    // Sets the terminated flag and wakes the thread; does not wait for it.
    void StopThread();
    // StopThread, then waits for the thread to end if it was started.
    void StopAndWait();

    bool Terminated() const { return FTerminated; }
    bool Suspended() const { return !FStarted; }
    // Takes effect when the thread starts.
    void SetPriority(TThreadPriority Priority) { FPriority = Priority; }

protected:
    virtual void Execute() = 0;

    // The thread's wake-up signal. Shared so that a call handed to another thread can still
    // signal completion safely after this object is gone.
    struct TThreadSignal {
        std::mutex Lock;
        std::condition_variable Wake;
    };
    const std::shared_ptr<TThreadSignal> FSignal;

private:
    void Run();

    std::mutex FControlLock; // serialises Resume and StopAndWait
    std::thread FThread;
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<TThreadPriority> FPriority{tpNormal};
};
