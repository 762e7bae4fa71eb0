#pragma once

#include "simdemo.h"
#include "simdescription.h"
#include "simoptions.h"

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <mutex>

// What the module answers to one command line and what it does afterwards.
struct TSimReply {
    QByteArray Text;              // sent after the echo of the line; ends with the prompt
    int NewRate = 0;              // switch to this rate once the text has gone out
    bool EnterBootloader = false;
    bool AwaitBlock = false;      // the next line is a DOWNLOAD block
};

// The module's command set over its description and its working, stored and factory value
// sets. Thread-safe, so tests can look at its state while it serves.
class TSimModule {
public:
    explicit TSimModule(const TSimOptions &options);   // throws std::runtime_error

    TSimReply Execute(const QByteArray &line);
    TSimReply ExecuteBlock(const QByteArray &block);
    // The application starts again after the boot loader: stored values, no login.
    void Restart();

    QString IdText() const;
    QStringList ReadoutLines() const;
    QStringList Value(const QString &name) const;   // working value
    int AccessCode() const;
    bool RemoteActive() const;

private:
    QByteArray Prompt() const;
    TSimReply Ok() const;
    TSimReply Lines(const QStringList &lines) const;
    TSimReply Values(const QStringList &values) const;
    TSimReply Error(const QString &reason = {}) const;

    TSimReply BaudRate(const QStringList &args);
    TSimReply Password(const QStringList &args);
    TSimReply Mode(const QStringList &args);
    TSimReply RemoteMode(const QStringList &args);
    TSimReply RemoteInputs(const QStringList &args);
    TSimReply Entry(const QString &name, const QStringList &args);
    TSimReply CurvePoint(const TSimEntry &entry, int index, const QStringList &args);
    // Checks and stores a write; an empty result means accepted.
    QString Store(const TSimEntry &entry, const QStringList &args);

    const TSimEntry *FindVisible(const QString &name) const;
    int AccessCodeLocked() const;
    int ReadValue(const TSimEntry &entry);

    TSimOptions FOptions;
    TSimDescription FDescription;
    std::unique_ptr<TSimDemo> FDemo;   // none when playing a module from files
    mutable std::mutex FLock;
    TSimValueSet FWorking, FStored;
    bool FLoggedIn = false;
    bool FRemote = false;
    int FDigital = 0;
    QString FView = "SYSTEM";
};
