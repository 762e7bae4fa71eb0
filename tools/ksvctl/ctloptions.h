#pragma once

#include "ksvcommtypes.h"

#include <QString>
#include <QStringList>

// The command line of ksvctl:
//   ksvctl [--port PATH] [--rate auto|RATE] [--fast RATE] [--hdx] COMMAND [ARGS] [--force]
//          [--ignore-id] [--module N] [--passes N] [--interval MS]
struct TCtlOptions {
    QString Port;
    bool AutoRate = true;             // --rate auto: find the module's rate
    TModBaudrate Rate = mb9600;       // --rate N
    bool Fast = false;                // --fast N: move the module to FastRate after detection
    TModBaudrate FastRate = mb57600;
    bool HalfDuplex = false;
    bool Force = false;               // backup: replace an existing entry or file
    bool IgnoreId = false;            // restore: accept a .par of another module type
    int Module = 0;                   // --module N, 1-based; 0 = not given
    int Passes = 10;                  // monitor: --passes N
    int IntervalMs = 0;               // monitor: --interval MS; 0 = the engine's own interval
    bool Help = false;
    QString Command;
    QStringList Args;

    // False with a sentence in error when the command line does not fit the interface.
    static bool Parse(const QStringList &arguments, TCtlOptions &options, QString &error);
    static QString Usage();

    bool NeedsPort() const { return Command != QLatin1String("offline"); }
};
