#include "ksvmodcommprot.h"

#include "comport.h"
#include "ksvparamlistintf.h"
#include "ksvscopeintf.h"
#include "ksvterminalintf.h"
#include "modcommandlist.h"
#include "modprocessdata.h"
#include "modremotectrlcommandlist.h"
#include "modstatusinfodata.h"
#include "osthreadtimer_sl.h"

#include <chrono>
#include <thread>

namespace {

constexpr int DefaultTimeoutMs = 3000;

bool EndsWithNoCase(const QString &text, const QString &tail)
{
    return text.endsWith(tail, Qt::CaseInsensitive);
}

} // namespace

TKSVModCommProt::TKSVModCommProt(QObject *owner)
    : TosBaseMsgComponent(owner),
      FPort(new TComPort(this)),
      FTimer(std::make_unique<TosThreadTimer_SL>()),
      FCmdList(std::make_unique<TModCommandList>()),
      FProcessData(std::make_unique<TModProcessData>()),
      FStatusInfo(std::make_unique<TModStatusInfoData>()),
      FRemoteCtrlCmds(std::make_unique<TModRemoteCtrlCommandList>()),
      FScopeTimeBase(QDateTime::currentDateTime())
{
    FTimer->SyncCall = true;
    FTimer->OnTimer = [this](TosBaseTimerThread *) { PollMonitor(); };
    FPort->SetPort(QStringLiteral("COM1"));
    FPort->OnRxChar = [this](int count) { HandleRxChar(count); };
}

TKSVModCommProt::~TKSVModCommProt()
{
    FTimer.reset(); // stops and joins before the lists it may reach go away
    FPort->Close();
}

// --- properties ---------------------------------------------------------------------------

void TKSVModCommProt::SetBaudRate(TModBaudrate rate)
{
    std::lock_guard lock(FTransactionLock);
    FBaudRate = rate;
    try {
        if (FPort->Connected()) {
            FPort->Close();
            FPort->SetBaudRate(ModBaudrates[rate]);
            FPort->Open();
        } else {
            FPort->SetBaudRate(ModBaudrates[rate]);
        }
    } catch (const EComPort &) {
        // The port stays closed; the next transaction fails and says so.
    }
}

void TKSVModCommProt::SetPortNo(uint16_t number)
{
    FPortNo = number;
    SetPortName(QStringLiteral("COM%1").arg(number));
}

QString TKSVModCommProt::PortName() const
{
    return FPort->Port();
}

// An open port is closed and reopened under the new name; when that fails it stays closed
// and the port number becomes 0.
void TKSVModCommProt::SetPortName(const QString &name)
{
    std::lock_guard lock(FTransactionLock);
    const bool wasOpen = FPort->Connected();
    if (wasOpen)
        FPort->Close();
    FPort->SetPort(name);
    if (!wasOpen)
        return;
    try {
        FPort->Open();
    } catch (const EComPort &) {
        FPortNo = 0;
    }
}

void TKSVModCommProt::SetTransferMode(TTransferMode mode)
{
    if (mode == FTransferMode)
        return;
    FTransferMode = mode;
    if (FPort->Connected())
        Disconnect();
    if (mode == tmHalfDuplex)
        SetBaudRate(mb19200);
    else if (!FAutoBaudDetection)
        SetBaudRate(FFixBaudrate);
}

bool TKSVModCommProt::PortOpen() const
{
    return FPort->Connected();
}

void TKSVModCommProt::SetPortOpen(bool open)
{
    std::lock_guard lock(FTransactionLock);
    try {
        if (open)
            FPort->Open();
        else
            FPort->Close();
    } catch (const EComPort &) {
    }
}

void TKSVModCommProt::SetFixBaudrate(TModBaudrate rate)
{
    if (rate == FFixBaudrate)
        return;
    FFixBaudrate = rate;
    if (!FAutoBaudDetection)
        SetBaudRate(rate);
}

void TKSVModCommProt::SetAutoBaudDetection(bool on)
{
    if (on == FAutoBaudDetection)
        return;
    FAutoBaudDetection = on;
    if (!on) {
        Disconnect();
        SetBaudRate(FFixBaudrate);
    }
}

void TKSVModCommProt::SetParameterList(TKSVParamListIntf *grid)
{
    FParameterList = grid;
    if (grid)
        grid->SetOnCmdSendRequest([this](TKSVParamListIntf *, TModCtrlCommand *cmd) { HandleCmdSendRequest(cmd); });
}

void TKSVModCommProt::SetTerminal(TKSVTerminalIntf *terminal)
{
    FTerminal = terminal;
    if (terminal)
        terminal->SetOnTerminalInput(
            [this](TKSVTerminalIntf *sender, char key, int &response) { HandleTerminalInput(sender, key, response); });
}

// --- transactions -------------------------------------------------------------------------

void TKSVModCommProt::SetCharTimeout(int timeoutMs)
{
    FPort->SetTimeouts({-1, 0, timeoutMs < 0 ? DefaultTimeoutMs : timeoutMs});
}

bool TKSVModCommProt::ReadChar(char &ch)
{
    return FPort->Read(&ch, 1) == 1;
}

bool TKSVModCommProt::SendCmd(const QString &Cmd, const QString &Echo, int TimeoutMs, QString &Answer,
                              const QString &EndMarker)
{
    std::lock_guard lock(FTransactionLock);
    SetCharTimeout(TimeoutMs);
    const QByteArray cmd = Cmd.toLatin1();
    switch (FTransferMode) {
    case tmFullDuplex:
        return SendCmdFullDuplex(cmd, Echo, Answer, EndMarker);
    case tmHalfDuplex:
        return SendCmdHalfDuplex(cmd, Echo, Answer, EndMarker);
    }
    Answer.clear();
    return false;
}

bool TKSVModCommProt::SendCmdFullDuplex(const QByteArray &cmd, const QString &echo, QString &answer,
                                        const QString &endMarker)
{
    answer.clear();
    if (!FPort->Connected())
        return false;
    bool endSeen = false;
    try {
        FPort->Purge();
        FPort->Write(cmd);
        QString echoBuffer;
        bool echoSeen = false;
        char ch = 0;
        while (!endSeen && FPort->Connected() && ReadChar(ch)) {
            if (!echoSeen) {
                echoBuffer += QLatin1Char(ch);
                if (echo.isEmpty() || EndsWithNoCase(echoBuffer, echo)) {
                    echoSeen = true;
                    answer = echo;
                }
            } else {
                answer += QLatin1Char(ch);
                endSeen = EndsWithNoCase(answer, endMarker);
                CountAnswerLine(ch);
            }
        }
    } catch (const EComPort &) {
        endSeen = false;
    }
    if (!endSeen)
        answer.clear();
    return endSeen;
}

// On a half-duplex line the PC hears its own transmission, and the module echoes every
// character, so the command goes out one character at a time.
bool TKSVModCommProt::SendCmdHalfDuplex(const QByteArray &cmd, const QString &echo, QString &answer,
                                        const QString &endMarker)
{
    answer.clear();
    if (!FPort->Connected())
        return false;
    bool fail = false;
    bool done = false;
    try {
        FPort->Purge();
        for (int i = 0; i < cmd.size() && !fail && !done && FPort->Connected(); ++i) {
            if (FPort->Write(cmd.mid(i, 1)) == 0)
                continue;
            char copy = 0;
            if (!ReadChar(copy)) {
                fail = true;
                break;
            }
            const bool last = copy == '\r' || i == cmd.size() - 1;
            char ch = 0;
            if (!last) {
                if (ReadChar(ch))
                    answer += QLatin1Char(ch);
                else
                    fail = true;
                continue;
            }
            while (!done) {
                if (!ReadChar(ch)) {
                    fail = true;
                    break;
                }
                answer += QLatin1Char(ch);
                done = EndsWithNoCase(answer, endMarker);
                CountAnswerLine(ch);
            }
        }
    } catch (const EComPort &) {
        return false;
    }
    return !fail && done && answer.startsWith(echo, Qt::CaseInsensitive);
}

void TKSVModCommProt::ReportProgress(const QString &What, int Done)
{
    if (!OnProgress)
        return;
    struct TDepth {
        int &Depth;
        explicit TDepth(int &depth) : Depth(depth) { ++Depth; }
        ~TDepth() { --Depth; }
    } depth(FProgressDepth);
    OnProgress(What, Done);
}

void TKSVModCommProt::CountAnswerLine(char Ch)
{
    if (FAnswerLines >= 0 && Ch == '\n')
        ReportProgress(QStringLiteral("Reading module description"), ++FAnswerLines);
}

bool TKSVModCommProt::CheckPrompt()
{
    if (!FPort->Connected())
        return false;
    QString answer;
    return SendCmd(QStringLiteral("\r"), QString(), 40, answer, QStringLiteral(">"));
}

bool TKSVModCommProt::ExchangeChar(char Ch, QString &Answer)
{
    std::lock_guard lock(FTransactionLock);
    Answer.clear();
    try {
        SetCharTimeout(500);
        FPort->Purge();
        FPort->Write(QByteArray(1, Ch));
        char ch = 0;
        while (ReadChar(ch))
            Answer += QLatin1Char(ch);
    } catch (const EComPort &) {
    }
    return !Answer.isEmpty();
}

// --- link state ---------------------------------------------------------------------------

void TKSVModCommProt::ClearCmdLists()
{
    FRemoteCtrlCmds->Clear();
    FCmdList->Clear();
    FProcessData->Clear();
    FStatusInfo->Clear();
}

void TKSVModCommProt::RebuildGrid(int accessCode)
{
    if (FParameterList)
        FParameterList->BuildRows(FCmdList.get(), accessCode);
}

void TKSVModCommProt::Disconnect()
{
    while (FScopeFetchBusy)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    {
        std::lock_guard lock(FTransactionLock);
        FPort->Close();
    }
    ClearCmdLists();
    FCmdListValid = false;
    FRemoteCtrlSupported = false;
    FRemoteCtrlActive = false;
    FTimer->StopTimer();
    RebuildGrid(0);
}

int TKSVModCommProt::MonitorIntervalMs() const
{
    return FProcessData->Count() <= 10 && FBaudRate != mb9600 ? 320 : 500;
}

void TKSVModCommProt::SetOperatingMode(TModCommMode Mode)
{
    FOperatingMode = Mode;
    switch (Mode) {
    case cmMonitor:
        FTimer->StartTimer(MonitorIntervalMs(), true);
        break;
    case cmScope:
        FScopeTimeBase = QDateTime::currentDateTime();
        FTimer->StopTimer();
        break;
    default:
        FTimer->StopTimer();
        break;
    }
    if (FScope)
        FScope->SetEnabled(Mode == cmScope);
}

// --- terminal -----------------------------------------------------------------------------

bool TKSVModCommProt::TerminalSendChar(char Ch)
{
    if (FOperatingMode != cmTerminal)
        return false;
    if (!FPort->Connected())
        return true;
    try {
        std::lock_guard lock(FTransactionLock);
        FPort->Write(QByteArray(1, Ch));
        FLastTermChar = FTransferMode == tmHalfDuplex ? Ch : 0;
    } catch (const EComPort &) {
    }
    return true;
}

void TKSVModCommProt::HandleTerminalInput(TKSVTerminalIntf *, char Key, int &)
{
    TerminalSendChar(Key);
}

// Bytes that arrive outside terminal mode stay in the port until the next transaction purges them.
void TKSVModCommProt::HandleRxChar(int Count)
{
    // During an operation the bytes belong to the transaction that reads them.
    if (FOperatingMode != cmTerminal || !FTerminal || FProgressDepth > 0)
        return;
    QByteArray received;
    try {
        std::lock_guard lock(FTransactionLock);
        received = FPort->Read(Count);
    } catch (const EComPort &) {
    }
    if (received.isEmpty())
        return;
    if (FTransferMode == tmHalfDuplex && received.front() == FLastTermChar)
        received.remove(0, 1); // the line's copy of the typed key
    FLastTermChar = 0;
    for (char ch : received)
        FTerminal->WriteChar(ch);
}
