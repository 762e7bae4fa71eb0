#pragma once

#include "osbasethread.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QObject;

// A thread that calls OnTimer periodically. With SyncCall set, OnTimer runs on the thread that
// created the timer (the GUI thread) and the timer thread waits until it has run; otherwise it
// runs on the timer thread. Create, start, stop and destroy the timer on the GUI thread, and do
// not destroy it from inside OnTimer.
//
// A concrete timer supplies the loop in Execute and calls Resume() at the end of its own
// constructor, so that the thread never runs on a half-built object.
class TosBaseTimerThread : public TosBaseThread {
public:
    using TTimerEvent = std::function<void(TosBaseTimerThread *Sender)>;
    using Clock = std::chrono::steady_clock;

    TosBaseTimerThread();
    ~TosBaseTimerThread() override;

    std::atomic<bool> SyncCall{true};
    // Set by the owner before the first StartTimer.
    TTimerEvent OnTimer;
    std::atomic<bool> RepeatRun{false};
    std::atomic<bool> Running{false};

    // Refused (false, nothing changes) while running; a new interval needs StopTimer first.
    virtual bool StartTimer(int IntervalMs, bool RepeatRun);
    virtual void StopTimer();

protected:
    // Waits for an accepted StartTimer and takes its interval; false once terminated.
    bool WaitForStart(int &IntervalMs);
    // False once the thread is terminated, the timer stopped or started anew.
    bool RunContinues();
    // Sleeps until Until, or less when the run ends meanwhile.
    void SleepUntil(Clock::time_point Until);
    // Calls OnTimer, through the GUI thread when SyncCall is set.
    void DoTimer();
    // A run started without RepeatRun ends after its one call.
    void EndOneShot();

private:
    bool RunContinuesLocked() const;
    void CallSynchronised();

    // Lives on the GUI thread; queued calls go through it and die with it.
    std::unique_ptr<QObject> FContext;
    // The start signal with its interval, guarded by FSignal->Lock.
    std::optional<int> FStartInterval;
};
