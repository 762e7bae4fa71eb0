// Live data polling and remote control of TKSVModCommProt.
#include "ksvmodcommprot.h"

#include "answersplit.h"
#include "asciiprocdataobj.h"
#include "ksvmonitorintf.h"
#include "ksvscopeintf.h"
#include "modprocessdata.h"
#include "modproccommand.h"
#include "modremotectrlcmd.h"
#include "modremotectrlcommandlist.h"
#include "modstatusbitcommand.h"
#include "modstatusinfodata.h"
#include "modtext.h"
#include "osthreadtimer_sl.h"
#include "periodictimer.h"

#include <algorithm>
#include <array>

namespace {

// "0"/"1" or "False"/"True", as the module reports a switch.
bool ReadBoolean(const QString &text, bool &value)
{
    if (text == QLatin1String("0") || text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        value = false;
        return true;
    }
    if (text == QLatin1String("1") || text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        value = true;
        return true;
    }
    return false;
}

constexpr int ProcessValueTimeoutMs = 20;
constexpr int RemoteTimeoutMs = 200;
constexpr int ScopeFailLimit = 4;

// Splits a value answer that must carry exactly one integer; name receives the answer's name.
bool SingleInteger(const QString &answer, QString &name, int32_t &value)
{
    QStringList values;
    name.clear();
    return SplitAnswer(answer, name, values) && values.size() == 1 && TryStrToInt32(values.first(), value);
}

} // namespace

bool TKSVModCommProt::QueryRemoteCtrlSupport(bool &Active)
{
    Active = false;
    QString answer;
    QString name;
    QStringList values;
    // A module that accepts "REMOTE" has its own remote control, not the "RC:" commands.
    if (SendCmd(QStringLiteral("REMOTE\r"), QStringLiteral("REMOTE"), 200, answer) &&
        SplitAnswer(answer, name, values))
        return false;
    if (!SendCmd(QStringLiteral("RC:M\r"), QStringLiteral("RC:M"), 200, answer))
        return false;
    bool result = false;
    name.clear();
    if (SplitAnswer(answer, name, values) && values.size() == 1 && ReadBoolean(values.first(), Active))
        result = true;
    auto infoText = [this](const QString &query) {
        QString text;
        SendCmd(query + QLatin1Char('\r'), query, 200, text);
        return text.size() > 11 ? text.mid(8, text.size() - 11) : QString();
    };
    FRcmInfoText = infoText(QStringLiteral("RC:M ?"));
    FRcsInfoText = infoText(QStringLiteral("RC:S ?"));
    FModeInfoText = infoText(QStringLiteral("MODE ?"));
    return result;
}

void TKSVModCommProt::PollMonitor()
{
    // A poll that falls due while an operation reports progress is skipped, never nested.
    if (FProgressDepth > 0)
        return;
    FPollStopReason = 0;
    if (!FCmdListValid || !FMonitor || FOperatingMode != cmMonitor)
        return;
    QString answer;
    QString name;
    int failures = 0;
    const int entries = FProcessData->Count();
    for (int i = 0; i < entries; ++i) {
        TModProcCommand *proc = FProcessData->ProcCommand(i);
        if (!proc)
            continue;
        if (!SendCmd(proc->Name + QLatin1Char('\r'), proc->Name, ProcessValueTimeoutMs, answer)) {
            ++failures;
        } else {
            const double now = TBaseProcDataObj::TimeStampOf(QDateTime::currentDateTime());
            int32_t value = 0;
            if (SingleInteger(answer, name, value))
                FMonitor->UpdateProcessValue(TASCIIProcDataObj(value, now, FProcessData->IndexOf(name)));
        }
        if (failures >= entries) {
            FTimer->StopTimer();
            FPollStopReason = 1;
        }
    }
    if (FStatusInfo->Count() > 0) {
        const QString statusName = FStatusInfo->GetString(0);
        int32_t word = 0;
        uint16_t mask = 0;
        if (SendCmd(statusName + QLatin1Char('\r'), statusName, 2000, answer) && SingleInteger(answer, name, word) &&
            FStatusInfo->Update(uint16_t(word), mask))
            FMonitor->UpdateStatus(mask);
    }
    uint8_t state = 0;
    if (ReadDigitalInputs(state) && OnDigitalInputStateInfo)
        OnDigitalInputStateInfo(this, state);
}

bool TKSVModCommProt::PollScope()
{
    struct BusyFlag {
        std::atomic<bool> &Flag;
        explicit BusyFlag(std::atomic<bool> &flag) : Flag(flag) { Flag = true; }
        ~BusyFlag() { Flag = false; }
    } busy(FScopeFetchBusy);
    if (!FCmdListValid || !FScope)
        return true;
    FScopeTimeBase = FScopeTimeBase.addMSecs(FScope->DataSampleRate());
    const double timeStamp = TBaseProcDataObj::TimeStampOf(FScopeTimeBase);
    std::array<QString, 4> signal;
    for (int ch = 0; ch < 4; ++ch)
        signal[ch] = FScope->Signal(ch);
    std::array<std::unique_ptr<TASCIIProcDataObj>, 4> samples;
    QString answer;
    QString name;
    for (int i = 0; i < FProcessData->Count() && FOperatingMode == cmScope; ++i) {
        TModProcCommand *proc = FProcessData->ProcCommand(i);
        if (!proc)
            continue;
        const auto channel = std::find(signal.begin(), signal.end(), proc->Name);
        if (channel == signal.end())
            continue;
        if (!SendCmd(proc->Name + QLatin1Char('\r'), proc->Name, ProcessValueTimeoutMs, answer))
            return false;
        int32_t value = 0;
        if (!SingleInteger(answer, name, value))
            continue;
        // A value shown on two channels fills the first of them only.
        samples[channel - signal.begin()] =
            std::make_unique<TASCIIProcDataObj>(value, timeStamp, FProcessData->IndexOf(name));
    }
    FScope->AddChannelSamples({samples[0].get(), samples[1].get(), samples[2].get(), samples[3].get()});
    return true;
}

void TKSVModCommProt::ScopeTimerCallback(TPeriodicTimer *Timer)
{
    if (!Timer || !Timer->Active())
        return;
    FPollStopReason = 0;
    if (PollScope()) {
        FScopeFailCount = 0;
        return;
    }
    if (++FScopeFailCount >= ScopeFailLimit) {
        FPollStopReason = 2;
        Timer->Kill();
    }
}

bool TKSVModCommProt::RemoteCtrlEnabled()
{
    QString answer;
    QString name;
    QStringList values;
    bool on = false;
    return SendCmd(QStringLiteral("RC:M\r"), QStringLiteral("RC:M"), RemoteTimeoutMs, answer) &&
           SplitAnswer(answer, name, values) && values.size() == 1 && ReadBoolean(values.first(), on) && on;
}

void TKSVModCommProt::SetRemoteCtrlEnabled(bool On)
{
    FRemoteCtrlActive = false;
    if (!FRemoteCtrlSupported)
        return;
    QString answer;
    const bool ok = SendCmd(On ? QStringLiteral("RC:M 1\r") : QStringLiteral("RC:M 0\r"), QStringLiteral("RC:M"),
                            RemoteTimeoutMs, answer);
    FRemoteCtrlActive = On && ok;
}

bool TKSVModCommProt::ReadRemoteValue(uint8_t PinIndex, int32_t &Value)
{
    TModRemoteCtrlCmd *cmd = FRemoteCtrlCmds->FindByPin(PinIndex);
    if (!cmd)
        return false;
    QString answer;
    QString name;
    int32_t value = 0;
    if (!SendCmd(cmd->Name + QLatin1Char('\r'), cmd->Name, RemoteTimeoutMs, answer) ||
        !SingleInteger(answer, name, value))
        return false;
    Value = value;
    cmd->Val = value;
    return true;
}

bool TKSVModCommProt::WriteRemoteValue(uint8_t PinIndex, int32_t &Value)
{
    TModRemoteCtrlCmd *cmd = FRemoteCtrlCmds->FindByPin(PinIndex);
    if (!cmd || !FRemoteCtrlActive)
        return false;
    QString answer;
    if (!SendCmd(QStringLiteral("%1 %2\r").arg(cmd->Name).arg(Value), cmd->Name, RemoteTimeoutMs, answer))
        return false;
    Value = 0;
    return ReadRemoteValue(PinIndex, Value);
}

bool TKSVModCommProt::ReadDigitalInputs(uint8_t &State)
{
    State = 0;
    if (!FRemoteCtrlSupported)
        return false;
    QString answer;
    QString name;
    int32_t value = 0;
    if (!SendCmd(QStringLiteral("RC:S\r"), QStringLiteral("RC:S"), RemoteTimeoutMs, answer) ||
        !SingleInteger(answer, name, value))
        return false;
    State = uint8_t(value);
    return true;
}

bool TKSVModCommProt::WriteDigitalInputs(uint8_t &State)
{
    if (!RemoteCtrlEnabled())
        return false;
    QString answer;
    if (!SendCmd(QStringLiteral("RC:S %1\r").arg(State), QStringLiteral("RC:S"), RemoteTimeoutMs, answer))
        return false;
    State = 0;
    return ReadDigitalInputs(State);
}
