#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <random>
#include <thread>

// What one read from the line brought: the bytes and the speeds the PC side had set, in
// order, during the time they may have been written (a short window before the read; the
// last entry is the speed right after it). A pseudo-terminal carries no per-byte speed,
// and the kernel hands written bytes to the master asynchronously, so a byte may have been
// written at any of these speeds.
struct TSimChunk {
    QByteArray Data;
    QList<int> Speeds;
};

// The module's end of the wire: the master side of a pseudo-terminal, read promptly on a
// thread of its own, plus the module's current rate. Output sent while the PC's speed
// differs from the module's rate turns into framing garbage; output is paced at wire time.
class TSimPty {
public:
    TSimPty() = default;
    ~TSimPty();
    TSimPty(const TSimPty &) = delete;
    TSimPty &operator=(const TSimPty &) = delete;

    // Opens the pseudo-terminal and starts the reader; returns the slave path.
    // Throws std::runtime_error.
    QString Open(int rate);
    // Stops the reader and closes both sides (the PC sees a hang-up).
    void Close();
    bool IsOpen() const { return FMaster >= 0; }
    QString SlavePath() const { return FSlavePath; }

    // Speed the PC side has set on the slave (0 when closed or unknown).
    int SlaveSpeed() const;

    // Next chunk read from the line; false after the time-out or when interrupted.
    bool Take(TSimChunk &chunk, std::chrono::milliseconds timeout);
    void Interrupt();

    void SetRate(int rate) { FRate = rate; }
    int Rate() const { return FRate; }
    void SetPacing(bool on) { FPacing = on; }
    void SetGarble(double fraction, unsigned seed);

    // Module output: paced, garbage when the PC listens at another speed, garbled by the
    // fault injection.
    void Send(const QByteArray &bytes);
    // The half-duplex line's copy of a byte the PC sent: its own signal, always readable.
    void SendCopy(char c);

    // Decides byte by byte whether the module understood: a byte is understood when one of
    // the chunk's speeds at or after the cursor (an index into Speeds, starting at 0) is the
    // module's rate; the cursor then moves to it, since speeds only follow one another.
    static bool Understood(int rate, const TSimChunk &chunk, int &cursor);
    static char Garbage(char c);
    static int SpeedOfTermios(unsigned speedCode);

private:
    void ReadLoop();
    void Sample(std::chrono::steady_clock::time_point now);
    QList<int> SpeedsSince(std::chrono::steady_clock::time_point start) const;
    void WriteRaw(const char *data, int count);

    int FMaster = -1;
    int FSlave = -1;   // held open so the master never sees a hang-up between PC sessions
    QString FSlavePath;
    std::atomic<int> FRate{9600};
    std::atomic<bool> FPacing{true};
    std::atomic<bool> FStop{false};
    std::thread FReader;
    // Speed changes seen by the reader (time, new speed), kept for a short while.
    std::deque<std::pair<std::chrono::steady_clock::time_point, int>> FSpeedChanges;

    std::mutex FQueueLock;
    std::condition_variable FQueueSignal;
    std::deque<TSimChunk> FQueue;
    bool FInterrupted = false;

    double FGarble = 0.0;
    std::mt19937 FRandom{1};
    std::chrono::steady_clock::time_point FNextByteTime{};
};
