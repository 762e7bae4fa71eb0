// Readout of the module description and single-parameter exchange of TKSVModCommProt.
#include "ksvmodcommprot.h"

#include "answersplit.h"
#include "comport.h"
#include "modccparacmd.h"
#include "modcommandlist.h"
#include "modctrlcommand.h"
#include "modprocessdata.h"
#include "modproccommand.h"
#include "modremotectrlcmd.h"
#include "modremotectrlcommandlist.h"
#include "modstatusbitcommand.h"
#include "modstatusinfodata.h"
#include "modtext.h"
#include "readoutline.h"

#include <QRegularExpression>

namespace {

constexpr int ParaTimeoutMs = 2000;
constexpr uint8_t CodeNoPara = 5;
constexpr uint8_t CodeCurve = 6;

bool Readable(const TModBaseCommand *cmd)
{
    return cmd->AType == 2 || cmd->AType == 3;
}

bool Writable(const TModBaseCommand *cmd)
{
    return cmd->AType == 1 || cmd->AType == 3;
}

} // namespace

bool TKSVModCommProt::Readout(QString &RawText)
{
    RawText.clear();
    QString answer;
    bool received = false;
    {
        // The lock keeps the scope thread's transactions from seeing the line count.
        std::lock_guard lock(FTransactionLock);
        FAnswerLines = 0;
        received = SendCmd(QStringLiteral("Readout\r"), QStringLiteral("READOUT"), ParaTimeoutMs, answer);
        FAnswerLines = -1;
    }
    if (!received)
        return false;
    RawText = answer;
    return ParseReadout(AnswerBody(answer, 7));
}

bool TKSVModCommProt::ParseReadout(const QString &Text)
{
    ClearCmdLists();
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = TrimControl(Text).split(lineEnd);
    for (const QString &line : lines) {
        std::unique_ptr<TModBaseCommand> cmd = ParseReadoutLine(line);
        if (!cmd)
            continue;
        if (auto *proc = dynamic_cast<TModProcCommand *>(cmd.get())) {
            cmd.release();
            FProcessData->Add(proc);
        } else if (auto *bit = dynamic_cast<TModStatusBitCommand *>(cmd.get())) {
            if (bit->BActive) {
                cmd.release();
                FStatusInfo->Add(bit);
            }
        } else if (auto *remote = dynamic_cast<TModRemoteCtrlCmd *>(cmd.get())) {
            if (remote->PinIndex() >= 1 && remote->PinIndex() <= 5) {
                cmd.release();
                FRemoteCtrlCmds->Add(remote);
            }
        } else {
            FCmdList->Add(cmd.release());
        }
    }
    return FProcessData->Count() > 0 || FCmdList->Count() > 0;
}

bool TKSVModCommProt::ReadParaValue(TModBaseCommand *Cmd)
{
    if (!Cmd || FCmdList->IndexOfObject(Cmd) < 0 || !Readable(Cmd) || Cmd->CmdType() == CodeNoPara)
        return false;
    QString answer;
    if (Cmd->CmdType() == CodeCurve) {
        for (int i = TModCCParaCmd::MinPoint; i <= TModCCParaCmd::MaxPoint; ++i) {
            const QString point = Cmd->Name + QLatin1Char(':') + QString::number(i);
            if (!SendCmd(point + QLatin1Char('\r'), Cmd->Name, ParaTimeoutMs, answer))
                return false;
            QString name = point;
            if (SplitAnswer(answer, name, FUpdateInfo.Values)) {
                // The point's name leaves an empty first item; the index follows it.
                if (FUpdateInfo.Values.size() > 3 && FUpdateInfo.Values.first().isEmpty())
                    FUpdateInfo.Values.removeFirst();
                FUpdateInfo.CmdName = QString(point).remove(QLatin1Char(':') + QString::number(i));
                UpdateCmdFromInfo();
            }
        }
        return true;
    }
    if (!SendCmd(Cmd->Name + QLatin1Char('\r'), Cmd->Name, ParaTimeoutMs, answer))
        return false;
    QString name;
    if (!SplitAnswer(answer, name, FUpdateInfo.Values))
        return false;
    FUpdateInfo.CmdName = name;
    UpdateCmdFromInfo();
    return true;
}

void TKSVModCommProt::UpdateCmdFromInfo()
{
    auto *cmd = dynamic_cast<TModCtrlCommand *>(FCmdList->GetObject(FCmdList->IndexOf(FUpdateInfo.CmdName)));
    if (!cmd)
        return;
    ApplyValues(cmd, FUpdateInfo.Values);
    cmd->Changed();
}

bool TKSVModCommProt::ReadAllParaValues()
{
    bool result = FCmdList->Count() > 0;
    int read = 0;
    for (int i = 0; i < FCmdList->Count() && result; ++i) {
        auto *cmd = dynamic_cast<TModCtrlCommand *>(FCmdList->GetObject(i));
        if (!cmd || !Readable(cmd) || cmd->CmdType() == CodeNoPara)
            continue;
        result = ReadParaValue(cmd);
        ReportProgress(QStringLiteral("Reading values"), ++read);
    }
    return result;
}

bool TKSVModCommProt::WritePara(TModCtrlCommand *Cmd)
{
    if (!Cmd || FCmdList->IndexOfObject(Cmd) < 0 || !Writable(Cmd))
        return false;
    QString answer;
    bool result = true;
    if (auto *curve = dynamic_cast<TModCCParaCmd *>(Cmd)) {
        result = SendCurve(curve);
    } else {
        result = SendCmd(Cmd->Name + QLatin1Char(' ') + Cmd->ValueText() + QLatin1Char('\r'), Cmd->Name,
                         ParaTimeoutMs, answer);
    }
    if (!result)
        return false;
    if (Cmd->CmdType() != CodeNoPara)
        result = ReadParaValue(Cmd);
    const uint16_t groups = Cmd->GCode; // Cmd may be freed by a new identification below
    uint16_t code = 0;
    if (ReadAccessCode(code) && result) {
        const bool newTab = groups & (1u << 0);
        const bool newData = groups & (1u << 1);
        if (newTab && newData) {
            QString modId;
            Identify(modId);
        } else if (newData) {
            ReadAllParaValues();
        } else if (newTab && FParameterList) {
            RebuildGrid(code);
            ReadAllParaValues();
        }
    }
    return result;
}

// The module takes the points from the top down, the positive half first; a blank precedes the CR.
bool TKSVModCommProt::SendCurve(TModCCParaCmd *Curve)
{
    QString answer;
    auto sendPoint = [&](int i) {
        const TCCPoint p = Curve->GetPoint(i);
        return SendCmd(QStringLiteral("%1:%2 %3 %4 \r").arg(Curve->Name).arg(i).arg(p.X).arg(p.Y), Curve->Name,
                       ParaTimeoutMs, answer);
    };
    for (int i = TModCCParaCmd::MaxPoint; i >= 0; --i)
        if (!sendPoint(i))
            return false;
    for (int i = TModCCParaCmd::MinPoint; i < 0; ++i)
        if (!sendPoint(i))
            return false;
    return true;
}

bool TKSVModCommProt::RefreshParaView()
{
    if (!FParameterList)
        return false;
    uint16_t code = 0;
    if (!ReadAccessCode(code))
        return ReadAllParaValues();
    if (!ReadAllParaValues())
        return false;
    RebuildGrid(code);
    return true;
}

void TKSVModCommProt::HandleCmdSendRequest(TModCtrlCommand *Cmd)
{
    if (!Cmd)
        return;
    if (FPort->Connected())
        WritePara(Cmd);
    else
        Cmd->Changed();
}
