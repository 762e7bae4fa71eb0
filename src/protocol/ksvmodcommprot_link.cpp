// Connection, baud rate and identification of TKSVModCommProt.
#include "ksvmodcommprot.h"

#include "answersplit.h"
#include "comport.h"
#include "ksvmonitorintf.h"
#include "ksvscopeintf.h"
#include "modcommandlist.h"
#include "modid.h"
#include "modtext.h"

#include <chrono>
#include <thread>

namespace {

constexpr int DetectCycles = 5;

TModBaudrate NextRate(TModBaudrate rate)
{
    return rate == mb115200 ? mb9600 : TModBaudrate(rate + 1);
}

QByteArray RateCommand(TModBaudrate rate)
{
    return "BR " + QByteArray::number(ModBaudrates[rate] / 9600) + "\r";
}

} // namespace

bool TKSVModCommProt::Connect()
{
    ClearCmdLists();
    FCmdListValid = false;
    RebuildGrid(0);
    bool opened = false;
    try {
        if (!FPort->Connected()) {
            if (FTransferMode == tmHalfDuplex && FBaudRate != mb19200)
                SetBaudRate(mb19200);
            else if (FTransferMode == tmFullDuplex && !FAutoBaudDetection && FBaudRate != FFixBaudrate)
                SetBaudRate(FFixBaudrate);
            std::lock_guard lock(FTransactionLock);
            FPort->Open();
        }
        opened = FPort->Connected();
    } catch (const EComPort &) {
        opened = false;
    }
    if (!opened || FBootloaderMode || !FAutoBaudDetection || FTransferMode != tmFullDuplex)
        return opened;
    TModBaudrate rate = mb9600;
    if (!DetectBaudrate(rate))
        return false;
    if (SetModBaudrate(FBaudRate) && FAutoSetBaudrate)
        return SwitchToAutoBaudrate();
    return true;
}

bool TKSVModCommProt::DetectBaudrate(TModBaudrate &Rate)
{
    std::lock_guard lock(FTransactionLock);
    FPort->SetTimeouts({5, 2, 600});
    if (!FPort->Connected())
        return false;
    bool found = false;
    TModBaudrate rate = mb9600;
    try {
        for (int cycle = 1; cycle <= DetectCycles && !found;) {
            ReportProgress(QStringLiteral("Searching the module at %1 bit/s").arg(ModBaudrates[rate]), 0);
            FPort->Close();
            FPort->SetBaudRate(ModBaudrates[rate]);
            FBaudRate = rate;
            FPort->Open();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            FPort->Purge();
            FPort->Write("ID\r");
            found = FPort->Read(2) == "ID";
            if (found) {
                char ch = 0;
                while (FPort->Read(&ch, 1) == 1) {
                }
                break;
            }
            rate = NextRate(rate);
            if (rate == mb9600)
                ++cycle;
        }
    } catch (const EComPort &) {
    }
    Rate = FBaudRate;
    return found;
}

bool TKSVModCommProt::SetModBaudrate(TModBaudrate Rate)
{
    QString answer;
    if (!SendCmd(QString::fromLatin1(RateCommand(Rate)), QStringLiteral("BR"), 200, answer))
        return false;
    QString name;
    QStringList values;
    int32_t number = 0;
    if (!SplitAnswer(answer, name, values) || values.size() != 1 || !TryStrToInt32(values.first(), number))
        return false;
    TModBaudrate index;
    return (number == 1 || number == 2 || number == 4 || number == 6) && FindModBaudrate(number * 9600, index);
}

bool TKSVModCommProt::SwitchToAutoBaudrate()
{
    {
        std::lock_guard lock(FTransactionLock);
        try {
            FPort->SetTimeouts({-1, 0, 200});
            FPort->Write(RateCommand(FAutoBaudrate));
            char ch = 0;
            while (FPort->Read(&ch, 1) == 1) {
            }
        } catch (const EComPort &) {
        }
        SetBaudRate(FAutoBaudrate);
    }
    QString answer;
    return SendCmd(QStringLiteral("ID\r"), QStringLiteral("ID"), 200, answer);
}

bool TKSVModCommProt::Identify(QString &ModId)
{
    FCmdListValid = false;
    FModId.clear();
    FRemoteCtrlSupported = false;
    FRemoteCtrlActive = false;
    QString answer;
    if (!SendCmd(QStringLiteral("ID\r"), QStringLiteral("ID"), 200, answer))
        return false;
    const QString idText = TrimControl(AnswerBody(answer, 2));
    bool ok = !idText.contains(QLatin1String("error"));
    if (ok) {
        QString raw;
        ok = Readout(raw);
    }
    if (!ok && OnReadoutError) {
        QStringList extCmdList;
        OnReadoutError(this, idText, extCmdList);
        ok = ParseReadout(extCmdList.join(QStringLiteral("\r\n")));
    }
    if (!ok)
        return false;
    if (FParameterList) {
        uint16_t code = 0;
        RebuildGrid(ReadAccessCode(code) ? int(code) : -1);
    }
    ok = ReadAllParaValues();
    FCmdListValid = ok;
    if (!ok)
        return false;
    ModId = idText;
    FModId = idText;
    bool active = false;
    FRemoteCtrlSupported = QueryRemoteCtrlSupport(active);
    if (FRemoteCtrlSupported)
        FRemoteCtrlActive = active;
    if (FMonitor) {
        FMonitor->AssignProcessData(FProcessData.get());
        FMonitor->AssignStatusInfo(FStatusInfo.get());
    }
    if (FScope)
        FScope->AssignProcessData(FProcessData.get());
    return true;
}

bool TKSVModCommProt::ModIdUnchanged()
{
    QString answer;
    if (!SendCmd(QStringLiteral("ID\r"), QStringLiteral("ID"), 400, answer))
        return false;
    return TrimControl(AnswerBody(answer, 2)) == FModId;
}

bool TKSVModCommProt::ReadAccessCode(uint16_t &Code)
{
    Code = 0;
    QString answer;
    if (!SendCmd(QStringLiteral("ACODE\r"), QStringLiteral("ACODE"), 200, answer))
        return false;
    int32_t value = 0;
    if (!TryStrToInt32(TrimControl(AnswerBody(answer, 5)), value))
        return false;
    Code = uint16_t(value);
    return true;
}

// The module echoes the password, so "OK" counts only in what it answers after that echo.
bool TKSVModCommProt::SendPassword(const QString &Password)
{
    if (!FPort->Connected())
        return false;
    const QString cmd = QStringLiteral("PASSWORD ") + Password;
    QString answer;
    if (!SendCmd(cmd + QLatin1Char('\r'), QString(), 200, answer))
        return false;
    const qsizetype echoEnd = answer.indexOf(cmd.mid(1), 0, Qt::CaseInsensitive);
    const QString reply = echoEnd >= 0 ? answer.mid(echoEnd + cmd.size() - 1) : answer;
    return reply.contains(QLatin1String("OK"));
}

bool TKSVModCommProt::PasswordSupported()
{
    if (!FPort->Connected())
        return false;
    QString answer;
    return SendCmd(QStringLiteral("PASSWORD\r"), QString(), 200, answer) &&
           !answer.contains(QLatin1String("command error"));
}

void TKSVModCommProt::GetModType(QString &ModType) const
{
    ParseModId(FModId, ModType);
}
