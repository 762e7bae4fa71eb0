#pragma once

#include "simoptions.h"

#include <QByteArray>

class TSimBootloader;
class TSimLog;
class TSimModule;
class TSimPty;
struct TSimChunk;

// Character handling of the module's serial line: echo in full duplex, line copy plus echo in
// half duplex, collecting a command line up to CR and handing it to the command set or, while
// it runs, every byte to the boot loader. Also applies the fault injection.
class TSimLine {
public:
    TSimLine(TSimPty &pty, TSimModule &module, TSimBootloader &bootloader, TSimLog &log,
             const TSimOptions &options);

    void Receive(const TSimChunk &chunk);
    void Idle();
    int Commands() const { return FCommands; }

private:
    void Byte(char c);
    void Execute();

    TSimPty &FPty;
    TSimModule &FModule;
    TSimBootloader &FBootloader;
    TSimLog &FLog;
    TSimOptions FOptions;
    QByteArray FLine;
    bool FAwaitBlock = false;
    bool FSilent = false;
    int FCommands = 0;
};
