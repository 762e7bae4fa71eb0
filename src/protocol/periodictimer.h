#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// A periodic timer whose callback runs on the timer's own thread (the scope sampling timer).
// Calls never overlap; a call that overruns the period is followed at once by the next one.
class TPeriodicTimer {
public:
    using TCallback = std::function<void(TPeriodicTimer *timer)>;

    TPeriodicTimer() = default;
    ~TPeriodicTimer();
    TPeriodicTimer(const TPeriodicTimer &) = delete;
    TPeriodicTimer &operator=(const TPeriodicTimer &) = delete;

    // False while already running.
    bool Start(int periodMs, TCallback callback);
    // Stops and waits for a running call; from inside the callback it only stops.
    void Kill();
    bool Active() const { return FActive; }

private:
    void Run(int periodMs);

    std::atomic<bool> FActive{false};
    std::mutex FLock;
    std::condition_variable FWake;
    std::thread FThread;
    TCallback FCallback;
};
