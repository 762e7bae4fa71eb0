#include "modulesimulator.h"

#include <sys/prctl.h>

#include "simbootloader.h"
#include "simline.h"
#include "simlog.h"
#include "simmodule.h"
#include "simpty.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>
#include <unistd.h>

using namespace std::chrono;

TModuleSimulator::TModuleSimulator(const TSimOptions &options)
    : FOptions(options), FLog(std::make_unique<TSimLog>()), FPty(std::make_unique<TSimPty>())
{
    if (FOptions.HalfDuplex)
        FOptions.BaudRate = 19200;
    FLog->SetFile(FOptions.LogFile);
    FModule = std::make_unique<TSimModule>(FOptions);
    FBootloader = std::make_unique<TSimBootloader>(*FPty, *FLog, FOptions,
                                                   [this](int ms) { Sleep(ms); });
    FLine = std::make_unique<TSimLine>(*FPty, *FModule, *FBootloader, *FLog, FOptions);
}

TModuleSimulator::~TModuleSimulator()
{
    Stop();
}

QString TModuleSimulator::Start()
{
    Stop();
    FStop = false;
    FPty->SetPacing(FOptions.Pacing);
    FPty->SetGarble(FOptions.Garble, FOptions.Seed);
    const QString path = FPty->Open(FOptions.BaudRate);
    if (!FOptions.LinkPath.isEmpty()) {
        const QFileInfo old(FOptions.LinkPath);
        if (old.isSymLink())
            QFile::remove(FOptions.LinkPath);
        if (::symlink(path.toLocal8Bit().constData(), FOptions.LinkPath.toLocal8Bit().constData()) != 0) {
            FPty->Close();
            throw std::runtime_error(("cannot create the link " + FOptions.LinkPath).toStdString());
        }
        FLinked = true;
    }
    FWorker = std::thread(&TModuleSimulator::Serve, this);
    return path;
}

void TModuleSimulator::Stop()
{
    {
        std::lock_guard lock(FSleepLock);
        FStop = true;
    }
    FSleepSignal.notify_all();
    FPty->Interrupt();
    if (FWorker.joinable())
        FWorker.join();
    FPty->Close();
    if (FLinked) {
        QFile::remove(FOptions.LinkPath);
        FLinked = false;
    }
}

bool TModuleSimulator::Running() const
{
    return FWorker.joinable() && !FStop && FPty->IsOpen();
}

QString TModuleSimulator::SlavePath() const
{
    return FPty->SlavePath();
}

int TModuleSimulator::BaudRate() const
{
    return FPty->Rate();
}

bool TModuleSimulator::InBootloader() const
{
    return FBootActive;
}

void TModuleSimulator::Sleep(int ms)
{
    std::unique_lock lock(FSleepLock);
    FSleepSignal.wait_for(lock, milliseconds(ms), [this] { return FStop.load(); });
}

void TModuleSimulator::Serve()
{
    // Wire-time pacing sleeps a byte time at a time (87 us at 115200 bit/s); the default
    // timer slack of 50 us would stretch every byte sent on its own.
    prctl(PR_SET_TIMERSLACK, 1UL);
    while (!FStop && FPty->IsOpen()) {
        TSimChunk chunk;
        const auto wait = FBootloader->Active() ? 20ms : 200ms;
        if (FPty->Take(chunk, wait))
            FLine->Receive(chunk);
        FLine->Idle();
        FBootActive = FBootloader->Active();
    }
}
