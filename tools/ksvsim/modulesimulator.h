#pragma once

#include "simoptions.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class TSimBootloader;
class TSimLine;
class TSimLog;
class TSimModule;
class TSimPty;

// A simulated module on a pseudo-terminal, serving on its own thread:
//   TModuleSimulator sim(options); QString path = sim.Start(); ... sim.Stop();
// The PC side opens the returned slave device like any serial port.
class TModuleSimulator {
public:
    explicit TModuleSimulator(const TSimOptions &options = {});
    ~TModuleSimulator();
    TModuleSimulator(const TModuleSimulator &) = delete;
    TModuleSimulator &operator=(const TModuleSimulator &) = delete;

    // Opens the pseudo-terminal and starts serving; returns the slave path.
    // Throws std::runtime_error (pseudo-terminal, link or module files).
    QString Start();
    void Stop();
    bool Running() const;
    QString SlavePath() const;

    int BaudRate() const;        // the module's current rate
    bool InBootloader() const;
    const TSimOptions &Options() const { return FOptions; }
    TSimLog &Log() { return *FLog; }
    TSimModule &Module() { return *FModule; }

private:
    void Serve();
    void Sleep(int ms);

    TSimOptions FOptions;
    std::unique_ptr<TSimLog> FLog;
    std::unique_ptr<TSimPty> FPty;
    std::unique_ptr<TSimModule> FModule;
    std::unique_ptr<TSimBootloader> FBootloader;
    std::unique_ptr<TSimLine> FLine;
    std::thread FWorker;
    std::atomic<bool> FStop{false};
    std::atomic<bool> FBootActive{false};
    std::mutex FSleepLock;
    std::condition_variable FSleepSignal;
    bool FLinked = false;
};
