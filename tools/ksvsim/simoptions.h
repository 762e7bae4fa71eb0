#pragma once

#include <QString>

// Everything that makes one simulated module differ from another. The defaults play the
// built-in demo module at 9600 bit/s in full duplex with wire-time pacing.
struct TSimOptions {
    int BaudRate = 9600;          // rate after power-on and after leaving the boot loader
    bool HalfDuplex = false;      // half duplex always runs at 19200 bit/s
    bool Pacing = true;           // send each byte at its wire time (10 bits at the current rate)
    QString Prompt = "CMD>";
    int BrMax = 115200;           // "BR n" above this rate is refused
    QString Password = "zolt2024";
    bool Readout = true;          // false: the ID text contains "error", READOUT is rejected
    bool Remote = true;           // false: no RC: commands, "REMOTE" is answered normally
    bool PasswordCmd = true;      // false: "PASSWORD" is an unknown command
    bool Bootloader = true;       // false: no boot loader, "BOOTLOADER" is an unknown command
    QString IdText;               // empty: the demo module's text
    QString RddFile;              // readout lines of the module to play instead of the demo
    QString ValuesFile;           // lines "NAME VALUE..." with its values
    QString FromFile;             // offline command-list file (.ksv) whose module to play
    int FromModule = 1;           // which module of that file, counted from 1
    QString LogFile;              // appended with every command line and boot-loader event
    QString LinkPath;             // symbolic link to the slave device, removed on Stop

    // Boot loader timing in ms.
    int EraseMs = 1500;           // duration of "1" (erase)
    int ReportDelayMs = 500;      // quiet time after the last record before the report
    int StartDelayMs = 300;       // application start-up after "G"

    // Fault injection; 0 = off.
    int FailAfter = 0;            // go silent after this many command lines
    int HangupAfter = 0;          // close the pseudo-terminal after this many command lines
    double Garble = 0.0;          // fraction of output bytes replaced by garbage
    unsigned Seed = 1;            // random source of the garbling and of the demo's noise
};
