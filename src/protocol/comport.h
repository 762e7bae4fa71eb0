#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>

class QSocketNotifier;

// A failure of the serial port (open refused, device vanished, I/O error, hang-up).
class EComPort : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Read time-outs with the meaning of the Win32 COMMTIMEOUTS:
// ReadInterval: longest gap in ms between two characters of one read; -1 (or 0) = no gap limit.
// ReadTotalConstant + ReadTotalMultiplier * N: limit in ms of a whole read of N characters;
// both 0 = no total limit. ReadInterval -1 with both totals 0 returns at once with what is there.
struct TComTimeouts {
    int ReadInterval = -1;
    int ReadTotalMultiplier = 0;
    int ReadTotalConstant = 0;
};

// Serial port over POSIX termios: 8N1, no flow control, raw. Works on real ttys and on
// pseudo-terminals. Every wait is bounded by the read time-outs; failures throw EComPort.
// Read, write and purge may be called from any thread (the caller serialises whole
// transactions); the receive notification is delivered on the thread that created the port.
class TComPort : public QObject {
    Q_OBJECT
public:
    explicit TComPort(QObject *parent = nullptr);
    ~TComPort() override;

    // Device path, e.g. /dev/ttyUSB0 (takes effect at the next Open).
    void SetPort(const QString &name);
    QString Port() const;

    // One of 9600, 19200, 38400, 57600, 115200. An open port drains its output first, then
    // switches, so bytes already written leave at the old rate.
    void SetBaudRate(int rate);
    int BaudRate() const { return FBaudRate; }

    void Open();   // throws EComPort
    void Close();  // drains output, never throws
    bool Connected() const { return FFd >= 0; }

    void SetTimeouts(const TComTimeouts &timeouts);
    TComTimeouts Timeouts() const;

    void PurgeInput();
    void PurgeOutput();
    void Purge() { PurgeInput(); PurgeOutput(); }

    // Returns the number of bytes written.
    int Write(const QByteArray &data);
    // Reads up to count bytes within the read time-outs; returns the number read (0 = time-out).
    int Read(char *buffer, int count);
    // Reads up to count bytes into a byte array (shorter on time-out).
    QByteArray Read(int count);
    int BytesWaiting() const;

    // Bytes moved since the port object was made (diagnostics and benchmarks).
    quint64 BytesWritten() const { return FBytesWritten; }
    quint64 BytesRead() const { return FBytesRead; }

    // Receive notification, called on the port's own thread with the number of bytes waiting.
    // It fires once when data arrives; it fires again only after the waiting bytes have been
    // read or purged, so a handler that leaves them in place costs nothing.
    std::function<void(int count)> OnRxChar;

private:
    void ApplyLineSettings(bool drainFirst);
    void ThrowError(const char *what) const;
    void ArmNotifier();
    void HandleActivated();

    QString FPort;
    int FBaudRate = 9600;
    std::atomic<int> FFd{-1};
    mutable std::mutex FTimeoutsLock;
    TComTimeouts FTimeouts;
    QSocketNotifier *FNotifier = nullptr;
    std::atomic<bool> FNotifierOff{false};
    bool FPseudoTerminal = false;
    std::atomic<quint64> FBytesWritten{0};
    std::atomic<quint64> FBytesRead{0};
};
