#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>

// The far end of a pseudo-terminal, scripted by a test: the code under test opens SlavePath()
// like a serial port, while the script reads and writes the master side on its own thread.
class PtyPeer {
public:
    PtyPeer();
    ~PtyPeer();

    QString SlavePath() const { return FSlavePath; }

    // Runs script on the peer thread (one script at a time; Join waits for it).
    void Run(std::function<void(PtyPeer &)> script);
    void Join();

    // Reads until the data ends with `end` or timeoutMs pass without a byte; returns what came.
    QByteArray ReadUntil(const QByteArray &end, int timeoutMs = 3000);
    // Reads exactly n bytes unless timeoutMs pass without a byte.
    QByteArray ReadCount(int n, int timeoutMs = 3000);
    // Reads whatever arrives until quietMs pass without a byte.
    QByteArray ReadQuiet(int quietMs);
    void Write(const QByteArray &data);
    // Writes one byte every gapMs.
    void Trickle(const QByteArray &data, int gapMs);
    // The speed the slave side has set, as the master sees it.
    unsigned LineSpeed() const;
    // Closes the master: the slave side sees a hang-up.
    void Hangup();

private:
    QByteArray ReadSome(const QByteArray &end, int maxBytes, int timeoutMs);

    int FMaster = -1;
    QString FSlavePath;
    std::thread FThread;
};
