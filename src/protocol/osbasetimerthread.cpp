#include "osbasetimerthread.h"

#include <QObject>

#include <algorithm>

TosBaseTimerThread::TosBaseTimerThread()
    : FContext(std::make_unique<QObject>())
{
    SetPriority(tpHighest);
}

TosBaseTimerThread::~TosBaseTimerThread()
{
    StopTimer();
    StopAndWait();
}

bool TosBaseTimerThread::StartTimer(int IntervalMs, bool RepeatRun)
{
    {
        std::lock_guard lock(FSignal->Lock);
        if (Running)
            return false;
        this->RepeatRun = RepeatRun;
        Running = true;
        FStartInterval = std::max(IntervalMs, 0);
    }
    FSignal->Wake.notify_all();
    return true;
}

void TosBaseTimerThread::StopTimer()
{
    {
        std::lock_guard lock(FSignal->Lock);
        Running = false;
        RepeatRun = false;
        FStartInterval.reset();
    }
    FSignal->Wake.notify_all();
}

bool TosBaseTimerThread::WaitForStart(int &IntervalMs)
{
    std::unique_lock lock(FSignal->Lock);
    FSignal->Wake.wait(lock, [this] { return Terminated() || FStartInterval.has_value(); });
    if (Terminated())
        return false;
    IntervalMs = *FStartInterval;
    FStartInterval.reset();
    return true;
}

bool TosBaseTimerThread::RunContinuesLocked() const
{
    return !Terminated() && Running && !FStartInterval;
}

bool TosBaseTimerThread::RunContinues()
{
    std::lock_guard lock(FSignal->Lock);
    return RunContinuesLocked();
}

void TosBaseTimerThread::SleepUntil(Clock::time_point Until)
{
    std::unique_lock lock(FSignal->Lock);
    FSignal->Wake.wait_until(lock, Until, [this] { return !RunContinuesLocked(); });
}

void TosBaseTimerThread::DoTimer()
{
    if (!OnTimer)
        return;
    if (SyncCall)
        CallSynchronised();
    else
        OnTimer(this);
}

void TosBaseTimerThread::EndOneShot()
{
    std::lock_guard lock(FSignal->Lock);
    if (!RepeatRun && !FStartInterval)
        Running = false;
}

// Not a blocking queued call: the GUI thread joins this thread on destruction and must never
// wait for a thread that waits for it. The wait ends on completion or on termination.
void TosBaseTimerThread::CallSynchronised()
{
    struct TPendingCall {
        bool Done = false;
        bool Abandoned = false; // the timer thread stopped waiting: never run it
    };
    const auto call = std::make_shared<TPendingCall>();
    const auto signal = FSignal;

    QMetaObject::invokeMethod(
        FContext.get(),
        [this, call, signal] {
            bool wanted;
            {
                std::lock_guard lock(signal->Lock);
                if (call->Abandoned)
                    return;
                // A stop or a restart since the call was posted overtakes it.
                wanted = RunContinuesLocked();
            }
            if (wanted) {
                const TTimerEvent handler = OnTimer;
                handler(this);
            }
            {
                std::lock_guard lock(signal->Lock);
                call->Done = true;
            }
            signal->Wake.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock lock(FSignal->Lock);
    FSignal->Wake.wait(lock, [&] { return call->Done || Terminated(); });
    call->Abandoned = !call->Done;
}
