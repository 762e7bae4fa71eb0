#include "simlog.h"

#include <QDateTime>
#include <QFile>

void TSimLog::SetFile(const QString &path)
{
    std::lock_guard lock(FLock);
    FFile = path;
}

void TSimLog::Command(const QByteArray &line)
{
    Add("CMD " + QString::fromLatin1(line));
}

void TSimLog::Event(const QString &kind, const QString &text)
{
    Add(kind + ' ' + text);
}

void TSimLog::Add(const QString &entry)
{
    std::lock_guard lock(FLock);
    FEntries << entry;
    if (FFile.isEmpty())
        return;
    QFile file(FFile);
    if (file.open(QIODevice::Append)) {
        const QString stamp = QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss.zzz");
        file.write((stamp + ' ' + entry + '\n').toLatin1());
    }
}

QStringList TSimLog::Entries() const
{
    std::lock_guard lock(FLock);
    return FEntries;
}

QStringList TSimLog::Commands() const
{
    std::lock_guard lock(FLock);
    QStringList result;
    for (const QString &entry : FEntries)
        if (entry.startsWith("CMD "))
            result << entry.mid(4);
    return result;
}

void TSimLog::Clear()
{
    std::lock_guard lock(FLock);
    FEntries.clear();
}
