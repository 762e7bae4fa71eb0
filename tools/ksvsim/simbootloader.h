#pragma once

#include "simoptions.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

class TSimLog;
class TSimPty;

// The module's resident boot loader: a menu of one-character commands (erase, program,
// go), S-record reception with a check of every record, and the restart of the application
// after a clean programming. In full duplex it runs at 57600 bit/s.
class TSimBootloader {
public:
    using TSleep = std::function<void(int ms)>;

    TSimBootloader(TSimPty &pty, TSimLog &log, const TSimOptions &options, TSleep sleep);

    // The application hands over after "BOOTLOADER".
    void Enter();
    bool Active() const { return FState != bsOff; }
    void Receive(char c);
    // Sends the programming report once the line has been quiet long enough.
    void Idle();
    // True once after the application has been started again.
    bool TakeApplicationStart();
    bool ApplicationValid() const { return FApplicationValid; }

    // Checks one S-record; returns an empty text when it is sound, else what is wrong.
    static QString CheckRecord(const QByteArray &record, int *type = nullptr,
                               int *dataBytes = nullptr);

private:
    enum TState { bsOff, bsMenu, bsReceive, bsQuestion };

    int BootRate() const { return FOptions.HalfDuplex ? 19200 : 57600; }
    int ApplicationRate() const { return FOptions.HalfDuplex ? 19200 : FOptions.BaudRate; }
    void Send(const QByteArray &text);
    void SendMenu();
    void MenuKey(char c);
    void RecordByte(char c);
    void EndRecord();
    void Report();

    TSimPty &FPty;
    TSimLog &FLog;
    TSimOptions FOptions;
    TSleep FSleep;
    TState FState = bsOff;
    bool FApplicationValid = true;
    bool FApplicationStarted = false;

    QByteArray FRecord;
    int FRecords = 0;
    int FDataBytes = 0;
    bool FEndRecord = false;
    QString FFirstError;
    std::chrono::steady_clock::time_point FLastByte;
};
