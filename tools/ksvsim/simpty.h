#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <random>
#include <thread>

// What one read from the line brought: the bytes and the speed the PC side had set before
// and after they were read. A pseudo-terminal carries no per-byte speed, so when the two
// differ the bytes may have been written at either speed.
struct TSimChunk {
    QByteArray Data;
    int SpeedBefore = 0;
    int SpeedAfter = 0;
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

    // Decides whether the module understood byte by byte: a byte is understood when the
    // module's rate matches the speed it was sent at. Cursor starts at chunk.SpeedBefore
    // and moves once to chunk.SpeedAfter when only that speed explains a byte.
    static bool Understood(int rate, const TSimChunk &chunk, int &cursor);
    static char Garbage(char c);
    static int SpeedOfTermios(unsigned speedCode);

private:
    void ReadLoop();
    void WriteRaw(const char *data, int count);

    int FMaster = -1;
    int FSlave = -1;   // held open so the master never sees a hang-up between PC sessions
    QString FSlavePath;
    std::atomic<int> FRate{9600};
    std::atomic<bool> FPacing{true};
    std::atomic<bool> FStop{false};
    std::thread FReader;

    std::mutex FQueueLock;
    std::condition_variable FQueueSignal;
    std::deque<TSimChunk> FQueue;
    bool FInterrupted = false;

    double FGarble = 0.0;
    std::mt19937 FRandom{1};
    std::chrono::steady_clock::time_point FNextByteTime{};
};
