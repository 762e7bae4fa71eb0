#include "simline.h"

#include "simbootloader.h"
#include "simlog.h"
#include "simmodule.h"
#include "simpty.h"

#include <chrono>
#include <thread>

namespace {
constexpr int gMaxLine = 16384;
}

TSimLine::TSimLine(TSimPty &pty, TSimModule &module, TSimBootloader &bootloader, TSimLog &log,
                   const TSimOptions &options)
    : FPty(pty), FModule(module), FBootloader(bootloader), FLog(log), FOptions(options)
{
}

void TSimLine::Receive(const TSimChunk &chunk)
{
    int cursor = 0;
    for (char c : chunk.Data) {
        if (!FPty.IsOpen())
            return;
        // The half-duplex line returns the PC's own signal, readable at any rate.
        if (FOptions.HalfDuplex)
            FPty.SendCopy(c);
        if (FSilent)
            continue;
        if (!TSimPty::Understood(FPty.Rate(), chunk, cursor)) {
            FPty.Send(QByteArray(1, TSimPty::Garbage(c)));
            continue;
        }
        Byte(c);
    }
}

void TSimLine::Idle()
{
    if (FBootloader.Active() && !FSilent)
        FBootloader.Idle();
}

void TSimLine::Byte(char c)
{
    if (FBootloader.Active()) {
        FBootloader.Receive(c);
        if (FBootloader.TakeApplicationStart())
            FModule.Restart();
        return;
    }
    switch (c) {
    case '\r':
        Execute();
        break;
    case '\n':
        break;
    case '\b':
    case 0x7F:
        FLine.chop(1);
        FPty.Send(QByteArray(1, c));
        break;
    default:
        if (FLine.size() < gMaxLine)
            FLine += c;
        FPty.Send(QByteArray(1, c));
        break;
    }
}

void TSimLine::Execute()
{
    const QByteArray line = FLine;
    FLine.clear();
    ++FCommands;
    FLog.Command(line);
    TSimReply reply;
    if (FAwaitBlock) {
        FAwaitBlock = false;
        reply = FModule.ExecuteBlock(line);
    } else {
        reply = FModule.Execute(line);
    }
    FPty.Send(reply.Text);
    if (reply.NewRate && reply.NewRate != FPty.Rate()) {
        FPty.SetRate(reply.NewRate);
        FLog.Event("RATE", QString::number(reply.NewRate));
    }
    FAwaitBlock = reply.AwaitBlock;
    if (reply.EnterBootloader)
        FBootloader.Enter();
    if (FOptions.FailAfter > 0 && FCommands >= FOptions.FailAfter) {
        FSilent = true;
        FLog.Event("FAULT", "silent");
    }
    if (FOptions.HangupAfter > 0 && FCommands >= FOptions.HangupAfter) {
        // Give the PC time to read the last answer; a hang-up discards unread input.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        FLog.Event("FAULT", "hang-up");
        FPty.Close();
    }
}
