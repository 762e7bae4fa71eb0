#pragma once

#include <QString>
#include <QStringList>

#include <mutex>

// Record of what the simulated module received: every command line ("CMD <line>") and
// boot-loader and rate events ("BL ...", "RATE ..."). Kept in memory for tests and, when a
// file is given, appended to it with a time stamp. Thread-safe.
class TSimLog {
public:
    void SetFile(const QString &path);
    void Command(const QByteArray &line);
    void Event(const QString &kind, const QString &text);

    QStringList Entries() const;
    QStringList Commands() const;   // the command lines only, as received
    void Clear();

private:
    void Add(const QString &entry);

    mutable std::mutex FLock;
    QString FFile;
    QStringList FEntries;
};
