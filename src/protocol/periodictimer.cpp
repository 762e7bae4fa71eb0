#include "periodictimer.h"

#include <chrono>

TPeriodicTimer::~TPeriodicTimer()
{
    Kill();
}

bool TPeriodicTimer::Start(int periodMs, TCallback callback)
{
    if (FActive)
        return false;
    if (FThread.joinable())
        FThread.join(); // a timer that killed itself from its callback
    FCallback = std::move(callback);
    FActive = true;
    FThread = std::thread([this, periodMs] { Run(periodMs); });
    return true;
}

void TPeriodicTimer::Kill()
{
    {
        std::lock_guard lock(FLock);
        FActive = false;
    }
    FWake.notify_all();
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id())
        FThread.join();
}

void TPeriodicTimer::Run(int periodMs)
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs > 0 ? periodMs : 1);
    auto deadline = Clock::now() + period;
    std::unique_lock lock(FLock);
    while (FActive) {
        if (FWake.wait_until(lock, deadline, [this] { return !FActive; }))
            break;
        deadline = std::max(deadline + period, Clock::now());
        lock.unlock();
        if (FCallback)
            FCallback(this);
        lock.lock();
    }
}
