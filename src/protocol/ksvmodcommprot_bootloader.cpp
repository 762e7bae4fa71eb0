// Boot-loader exchange and firmware transfer of TKSVModCommProt.
#include "ksvmodcommprot.h"

#include "comport.h"
#include "ksvterminalintf.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <chrono>
#include <thread>
#include <utility>

namespace {

constexpr int EnterTimeoutMs = 3000;
constexpr int EraseTimeoutMs = 6000;
constexpr int StepTimeoutMs = 3000;
constexpr int RecordPauseMs = 10;
constexpr int ReportGapMs = 2000;
constexpr int QuestionIntervalMs = 1000;
constexpr int QuestionTotalMs = 3000;
// How often a transfer lets the event loop run and reports progress.
constexpr int EventPeriodMs = 20;
// A chattering line must not keep a wait going for ever.
constexpr int MaxWaitChars = 65536;
// Far above any module's flash; the file is held in memory while it is sent.
constexpr qint64 MaxFirmwareBytes = 16 * 1024 * 1024;

const QString BootloaderCmd = QStringLiteral("BOOTLOADER\r");

// Detaches the port's receive notification for its lifetime, so the terminal sees nothing
// of a boot-loader exchange; restores the handler that was attached.
class TRxDetach {
public:
    explicit TRxDetach(TComPort &port) : FPort(port), FSaved(std::exchange(port.OnRxChar, {})) {}
    ~TRxDetach() { FPort.OnRxChar = std::move(FSaved); }
    TRxDetach(const TRxDetach &) = delete;
    TRxDetach &operator=(const TRxDetach &) = delete;

private:
    TComPort &FPort;
    std::function<void(int)> FSaved;
};

// Lets pending events (repaints, the terminal's receive notification) run now and then
// during a long transfer, when there is an event loop to run.
class TEventPump {
public:
    TEventPump() { FLast.start(); }
    bool Due()
    {
        if (FLast.elapsed() < EventPeriodMs)
            return false;
        FLast.restart();
        return true;
    }
    static void Process()
    {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }

private:
    QElapsedTimer FLast;
};

bool ReadFirmware(const QString &fileName, QByteArray &data)
{
    QFile file(fileName);
    if (!file.exists() || file.size() > MaxFirmwareBytes || !file.open(QIODevice::ReadOnly))
        return false;
    data = file.readAll();
    return true;
}

// Sends the file's bytes as they are, except line feeds and backspaces; after each CR the
// boot loader gets time to program the record. A line feed that does not follow a CR ends a
// line too and goes out as CR, so files with bare LF line ends are sent record by record.
void SendFirmwareBytes(TComPort &port, const QByteArray &data,
                       const TKSVModCommProt::TProgressEvent &progress)
{
    const int total = int(data.size());
    if (progress)
        progress(0, total);
    TEventPump pump;
    char lastSent = 0;
    for (int i = 0; i < total; ++i) {
        char ch = data[i];
        if (ch == '\n' && lastSent != '\r')
            ch = '\r';
        if (ch != '\n' && ch != '\b') {
            port.Write(QByteArray(1, ch));
            lastSent = ch;
        }
        if (ch == '\r')
            std::this_thread::sleep_for(std::chrono::milliseconds(RecordPauseMs));
        if (pump.Due()) {
            if (progress)
                progress(i + 1, total);
            TEventPump::Process();
        }
    }
    if (progress)
        progress(total, total);
}

} // namespace

bool TKSVModCommProt::WaitForText(const QString &StartText, const QString &EndText, int IntervalMs, int TotalMs,
                                  QString &Answer)
{
    std::lock_guard lock(FTransactionLock);
    Answer.clear();
    bool startSeen = StartText.isEmpty();
    bool endSeen = EndText.isEmpty();
    try {
        FPort->SetTimeouts({IntervalMs, 0, TotalMs});
        if (FPort->Connected()) {
            FPort->PurgeInput();
            QString scan;
            bool found = false;
            char ch = 0;
            for (int n = 0; !found && n < MaxWaitChars && FPort->Connected() && ReadChar(ch); ++n) {
                if (!startSeen) {
                    scan += QLatin1Char(ch);
                    if (scan.endsWith(StartText, Qt::CaseInsensitive)) {
                        startSeen = true;
                        Answer = StartText;
                    } else if (scan.size() > StartText.size()) {
                        scan.remove(0, 1);
                    }
                    continue;
                }
                Answer += QLatin1Char(ch);
                if (!EndText.isEmpty() && Answer.endsWith(EndText, Qt::CaseInsensitive))
                    endSeen = found = true;
            }
        }
    } catch (const EComPort &) {
        Answer.clear();
        return false;
    }
    const bool ok = startSeen && endSeen && !Answer.isEmpty();
    if (!ok)
        Answer.clear();
    return ok;
}

bool TKSVModCommProt::BootloaderStep(uint8_t Step)
{
    if (Step > 3)
        return false;
    // Outside the lock: Disconnect waits for a running scope pass, and that pass needs the lock.
    if (Step == 0)
        Disconnect();
    std::lock_guard lock(FTransactionLock);
    bool ok = false;
    {
        TRxDetach detach(*FPort);
        switch (Step) {
        case 0:
            ok = EnterBootloader();
            break;
        case 1:
            ok = StartApplication();
            break;
        case 2:
            ok = EraseFlash();
            break;
        case 3:
            ok = PrepareProgramming();
            break;
        }
    }
    if (Step == 1 && ok) {
        try {
            FPort->Write("ID\r");
        } catch (const EComPort &) {
        }
    }
    return ok;
}

bool TKSVModCommProt::EnterBootloader()
{
    QString answer;
    try {
        FPort->Open();
        if (FTransferMode == tmHalfDuplex) {
            SendCmd(BootloaderCmd, QStringLiteral("BOOTLOADER"), EnterTimeoutMs, answer);
            return answer.contains(QLatin1String("FLASH erase command"));
        }
        FPort->Write(BootloaderCmd.toLatin1());
    } catch (const EComPort &) {
        return false;
    }
    // In full duplex the boot loader talks at 57600 bit/s and shows itself on a CR.
    const int portRate = FPort->BaudRate();
    const TModBaudrate rate = FBaudRate;
    SetBaudRate(mb57600);
    if (SendCmd(QStringLiteral("\r"), QStringLiteral("Z.O.LT."), EnterTimeoutMs, answer))
        return true;
    // Back to where the application can still be reached.
    SetBaudRate(rate);
    if (FPort->BaudRate() != portRate) {
        try {
            FPort->Close();
            FPort->SetBaudRate(portRate);
            FPort->Open();
        } catch (const EComPort &) {
        }
    }
    return false;
}

bool TKSVModCommProt::StartApplication()
{
    QString answer;
    bool ok = false;
    try {
        if (!FPort->Connected())
            return false;
        FPort->Purge();
        if (FTransferMode == tmHalfDuplex) {
            SendCmd(QStringLiteral("G"), QStringLiteral("G"), StepTimeoutMs, answer, QStringLiteral("G"));
            ok = !answer.isEmpty();
        } else {
            FPort->Write("G");
            SetBaudRate(FFixBaudrate);
        }
        // The application asks whether to start; anything from it is the question.
        if (WaitForText(QString(), QString(), QuestionIntervalMs, QuestionTotalMs, answer))
            ok = SendCmd(QStringLiteral("y"), QString(), StepTimeoutMs, answer);
    } catch (const EComPort &) {
    }
    return ok;
}

bool TKSVModCommProt::EraseFlash()
{
    QString answer;
    try {
        if (!FPort->Connected())
            return false;
        FPort->Purge();
        const QString echo = FTransferMode == tmHalfDuplex ? QStringLiteral("1") : QStringLiteral("Erasing");
        SendCmd(QStringLiteral("1"), echo, EraseTimeoutMs, answer);
    } catch (const EComPort &) {
        return false;
    }
    return answer.contains(QLatin1String("Erasing"));
}

bool TKSVModCommProt::PrepareProgramming()
{
    QString answer;
    try {
        if (!FPort->Connected())
            return false;
        FPort->Purge();
        const QString echo = FTransferMode == tmHalfDuplex ? QStringLiteral("2") : QStringLiteral("Send");
        SendCmd(QStringLiteral("2"), echo, StepTimeoutMs, answer, QStringLiteral("Program"));
    } catch (const EComPort &) {
        return false;
    }
    return answer.contains(QLatin1String("Send file"));
}

bool TKSVModCommProt::SendFirmwareFile(const QString &FileName, const TProgressEvent &Progress)
{
    QByteArray data;
    if (!ReadFirmware(FileName, data))
        return false;
    std::lock_guard lock(FTransactionLock);
    TRxDetach detach(*FPort);
    try {
        SendFirmwareBytes(*FPort, data, Progress);
        QString answer;
        return WaitForText(QStringLiteral("Programming"), QStringLiteral(">"), -1, ReportGapMs, answer);
    } catch (const EComPort &) {
        return false;
    }
}

// The receive notification stays attached: the terminal shows what the boot loader says.
bool TKSVModCommProt::SendFile(const QString &FileName)
{
    QByteArray data;
    if (!ReadFirmware(FileName, data))
        return false;
    std::lock_guard lock(FTransactionLock);
    try {
        SendFirmwareBytes(*FPort, data, {});
    } catch (const EComPort &) {
    }
    return true;
}

void TKSVModCommProt::SetBootloaderMode(bool Active)
{
    if (Active == FBootloaderMode)
        return;
    if (Active) {
        Disconnect();
        FBootloaderMode = true;
        SetOperatingMode(cmTerminal);
    }
    std::lock_guard lock(FTransactionLock);
    try {
        if (Active)
            OpenBootloaderTerminal();
        else if (FPort->Connected())
            CloseBootloaderTerminal();
    } catch (const EComPort &) {
    }
}

void TKSVModCommProt::OpenBootloaderTerminal()
{
    FPort->Open();
    if (FTransferMode == tmHalfDuplex) {
        QString answer;
        SendCmd(BootloaderCmd, QStringLiteral("BOOTLOADER"), EnterTimeoutMs, answer);
        if (FTerminal)
            for (QChar ch : answer.mid(10))
                FTerminal->WriteChar(ch.toLatin1());
        return;
    }
    FPort->Write(BootloaderCmd.toLatin1());
    SetBaudRate(mb57600);
    // The terminal reads what is waiting with these; a read that cannot wait at all would
    // leave the port's receive notification switched off.
    SetCharTimeout(EnterTimeoutMs);
}

// With the port closed nothing changes: the mode stays on.
void TKSVModCommProt::CloseBootloaderTerminal()
{
    FBootloaderMode = false;
    FPort->Purge();
    if (FTransferMode == tmHalfDuplex) {
        QString answer;
        SendCmd(QStringLiteral("G"), QStringLiteral("G"), StepTimeoutMs, answer, QStringLiteral("G"));
        return;
    }
    FPort->Write("G");
    SetBaudRate(FFixBaudrate);
}
