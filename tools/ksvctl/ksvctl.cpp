#include "ksvctl.h"

#include "answersplit.h"
#include "ksvmodcommprot.h"
#include "modainparacmd.h"
#include "modccparacmd.h"
#include "modcommandlist.h"
#include "modnumparacmd.h"
#include "modprocessdata.h"
#include "modremotectrlcommandlist.h"
#include "modstatusinfodata.h"
#include "modtext.h"
#include "modtextparacmd.h"
#include "readoutextension.h"

#include <cstdio>
#include <unistd.h>

namespace {

constexpr uint8_t CodeNoPara = 5;

bool IsInteger(const QString &text)
{
    int32_t value = 0;
    return TryStrToInt32(text, value);
}

// What the value items must look like for the command; ApplyValues would silently keep the
// old value (or, for a text, empty it) otherwise. Empty when they fit.
QString ValueProblem(const TModCtrlCommand *cmd, const QStringList &items)
{
    if (cmd->CmdType() == CodeNoPara)
        return items.isEmpty() ? QString() : cmd->Name + " takes no value";
    if (auto *text = dynamic_cast<const TModTextParaCmd *>(cmd)) {
        const bool listed = text->VList.isEmpty() || text->VList.contains(items.value(0), Qt::CaseInsensitive);
        return items.size() == 1 && listed ? QString()
                                           : cmd->Name + " takes one of " + text->VList.join(QLatin1Char('|'));
    }
    if (dynamic_cast<const TModNumParaCmd *>(cmd))
        return items.size() == 1 && IsInteger(items[0]) ? QString() : cmd->Name + " takes one whole number";
    if (dynamic_cast<const TModCCParaCmd *>(cmd)) {
        const int index = items.value(0).toInt();
        const bool fits = items.size() == 3 && IsInteger(items[0]) && IsInteger(items[1]) && IsInteger(items[2]) &&
                          index >= TModCCParaCmd::MinPoint && index <= TModCCParaCmd::MaxPoint;
        return fits ? QString() : cmd->Name + " takes a point: INDEX (-10 ... 10) X Y";
    }
    if (dynamic_cast<const TModAinParaCmd *>(cmd)) {
        static const QStringList units{"V", "C", "U", "I"};
        const bool fits = (items.size() == 3 || items.size() == 4) && IsInteger(items[0]) && IsInteger(items[1]) &&
                          IsInteger(items[2]) && (items.size() == 3 || units.contains(items[3], Qt::CaseInsensitive));
        return fits ? QString() : cmd->Name + " takes A B C and optionally the input kind V or C";
    }
    return cmd->Name + " cannot be set";
}

// The part of the value that a set changes, to compare with what the module reads back.
QString SetValueText(const TModCtrlCommand *cmd, const QStringList &items)
{
    if (auto *curve = dynamic_cast<const TModCCParaCmd *>(cmd)) {
        const TCCPoint p = curve->GetPoint(items.value(0).toInt());
        return QStringLiteral("%1 %2").arg(p.X).arg(p.Y);
    }
    return cmd->ValueText().simplified();
}

bool Readable(const TModCtrlCommand *cmd)
{
    return (cmd->AType == 2 || cmd->AType == 3) && cmd->CmdType() != CodeNoPara;
}

} // namespace

TKsvCtl::TKsvCtl(const TCtlOptions &options, QTextStream &out, QTextStream &err)
    : FOptions(options), FOut(out), FErr(err), FEngine(std::make_unique<TKSVModCommProt>())
{
}

TKsvCtl::~TKsvCtl()
{
    EndProgress();
}

int TKsvCtl::Run()
{
    if (FOptions.Help) {
        Out() << TCtlOptions::Usage();
        return ecOk;
    }
    SetUpEngine();
    const QString &c = FOptions.Command;
    if (c == "identify")
        return RunIdentify();
    if (c == "list")
        return RunList();
    if (c == "get")
        return RunGet();
    if (c == "set")
        return RunSet();
    if (c == "save" || c == "loadback" || c == "default")
        return RunMemoryCommand();
    if (c == "password")
        return RunPassword();
    if (c == "backup")
        return RunBackup();
    if (c == "restore")
        return RunRestore();
    if (c == "offline")
        return RunOffline();
    if (c == "monitor")
        return RunMonitor();
    if (c == "remote")
        return RunRemote();
    if (c == "firmware")
        return RunFirmware();
    return UsageFail("unknown command " + c);
}

void TKsvCtl::SetUpEngine()
{
    TKSVModCommProt &e = *FEngine;
    if (!FOptions.Port.isEmpty())
        e.SetPortName(FOptions.Port);
    e.SetFixBaudrate(FOptions.Rate);
    e.SetAutoBaudDetection(FOptions.AutoRate);
    e.SetAutoSetBaudrate(FOptions.Fast);
    e.SetAutoBaudrate(FOptions.FastRate);
    if (FOptions.HalfDuplex)
        e.SetTransferMode(tmHalfDuplex);
    e.SetParameterList(&FGrid);
    if (isatty(fileno(stderr)))
        e.OnProgress = [this](const QString &what, int done) { ShowProgress(what, done); };
    e.OnReadoutError = [this](TKSVModCommProt *, const QString &modId, QStringList &lines) {
        SupplyDescription(modId, lines);
    };
    e.OnParaDownloadError = [this](TKSVModCommProt *, const QStringList &names) {
        for (const QString &name : names)
            if (!FUnknownNames.contains(name))
                FUnknownNames << name;
    };
    e.OnModIdSelRequest = [this](TKSVModCommProt *, const QStringList &ids, int &index) {
        FFileModuleIds = ids;
        // A restore into another module needs an explicit choice; offline data opens the first.
        index = FOptions.Module > 0 ? FOptions.Module - 1 : (FOptions.Command == "offline" ? 0 : -1);
    };
    e.OnInfoMsg = [this](TKSVModCommProt *, TKSVCommProtMsgKind kind, int &result) {
        if (kind == cpmkImpFktOverWriteQuestion) {
            FOverwriteAsked = true;
            result = FOptions.Force ? 1 : 2;
        } else {
            result = 1; // go on to the module choice, which decides
        }
    };
}

void TKsvCtl::ShowProgress(const QString &what, int done)
{
    FErr << '\r' << what;
    if (done > 0)
        FErr << ": " << done;
    FErr << "\x1b[K";
    FErr.flush();
    FProgressShown = true;
}

void TKsvCtl::SupplyDescription(const QString &modId, QStringList &extCmdList)
{
    const TReadoutExtension ext = LoadReadoutExtension(modId);
    if (ext.FileName.isEmpty())
        return;
    if (ext.Found) {
        extCmdList = ext.Lines;
        return;
    }
    FDescriptionMissing = true;
    EndProgress();
    FErr << "The file: " << ext.FileName
         << " could not found in the KSV500 working directory! Please make sure that the file is located in the \""
         << ext.Dir << "\" directory!\n";
    FErr.flush();
}

// The progress line is wiped before anything else reaches the terminal.
void TKsvCtl::EndProgress()
{
    if (!FProgressShown)
        return;
    FErr << "\r\x1b[K";
    FErr.flush();
    FProgressShown = false;
}

QTextStream &TKsvCtl::Out()
{
    EndProgress();
    return FOut;
}

int TKsvCtl::Fail(int code, const QString &sentence)
{
    EndProgress();
    FErr << "ksvctl: " << sentence << '\n';
    FErr.flush();
    FFailCode = code;
    return code;
}

int TKsvCtl::UsageFail(const QString &sentence)
{
    Fail(ecUsage, sentence);
    FErr << TCtlOptions::Usage();
    FErr.flush();
    return ecUsage;
}

QString TKsvCtl::Where() const
{
    return FOptions.Port;
}

// --- link -----------------------------------------------------------------------------------

bool TKsvCtl::ModuleAnswers()
{
    QString answer;
    return FEngine->SendCmd(QStringLiteral("ID\r"), QStringLiteral("ID"), 200, answer);
}

bool TKsvCtl::Connect()
{
    if (FEngine->Connect())
        return true;
    if (!FEngine->PortOpen())
        Fail(ecModule, "cannot open the port " + Where());
    else if (FOptions.Fast && FEngine->BaudRate() == FOptions.FastRate)
        Fail(ecModule, QStringLiteral("the module on %1 did not answer after the switch to %2 bit/s")
                           .arg(Where())
                           .arg(ModBaudrates[FOptions.FastRate]));
    else
        Fail(ecModule, "no module answered on " + Where() + " at any rate");
    return false;
}

bool TKsvCtl::Identify()
{
    if (!Connect())
        return false;
    QString modId;
    if (FEngine->Identify(modId))
        return true;
    if (FDescriptionMissing) {
        FFailCode = ecModule; // the file message above says what is missing
        return false;
    }
    if (!ModuleAnswers())
        Fail(ecModule, QStringLiteral("no module answered on %1 at %2 bit/s")
                           .arg(Where())
                           .arg(ModBaudrates[FEngine->BaudRate()]));
    else if (FEngine->CmdList()->Count() == 0 && FEngine->ProcessData()->Count() == 0)
        Fail(ecModule, "the module on " + Where() + " gave no usable description (READOUT)");
    else
        Fail(ecModule, "reading the parameter values of the module on " + Where() + " failed");
    return false;
}

TModCtrlCommand *TKsvCtl::FindParameter(const QString &name) const
{
    TModCommandList *list = FEngine->CmdList();
    return dynamic_cast<TModCtrlCommand *>(list->GetObject(list->IndexOf(name)));
}

// --- output ---------------------------------------------------------------------------------

void TKsvCtl::PrintSummary(bool offline)
{
    TKSVModCommProt &e = *FEngine;
    Out() << "ID: " << e.ModId() << '\n';
    if (offline) {
        Out() << "Rate: offline\nAccess code: offline\n";
    } else {
        uint16_t code = 0;
        Out() << "Rate: " << ModBaudrates[e.BaudRate()] << '\n';
        Out() << "Access code: " << (e.ReadAccessCode(code) ? int(code) : -1) << '\n';
    }
    Out() << "Parameters: " << e.CmdList()->Count() << '\n'
         << "Process values: " << e.ProcessData()->Count() << '\n'
         << "Status bits: " << e.StatusInfo()->Count() << '\n'
         << "Remote inputs: " << e.RemoteCtrlCmds()->Count() << '\n'
         << "Remote control: " << (e.RemoteCtrlSupported() ? "supported" : "not supported") << '\n';
}

void TKsvCtl::PrintRows()
{
    for (const TModCtrlCommand *cmd : FGrid.Rows())
        Out() << cmd->Name << '\t' << cmd->ValueText() << '\t' << cmd->Help << '\n';
}

void TKsvCtl::PrintValue(const TModCtrlCommand *cmd)
{
    if (auto *curve = dynamic_cast<const TModCCParaCmd *>(cmd)) {
        for (int i = TModCCParaCmd::MinPoint; i <= TModCCParaCmd::MaxPoint; ++i)
            Out() << cmd->Name << ':' << i << ' ' << curve->GetPoint(i).X << ' ' << curve->GetPoint(i).Y << '\n';
    } else if (cmd->CmdType() != CodeNoPara) {
        Out() << cmd->ValueText() << '\n';
    }
}

// --- module commands ------------------------------------------------------------------------

int TKsvCtl::RunIdentify()
{
    if (!Identify())
        return FFailCode;
    PrintSummary(false);
    return ecOk;
}

int TKsvCtl::RunList()
{
    if (!Identify())
        return FFailCode;
    PrintRows();
    return ecOk;
}

int TKsvCtl::RunGet()
{
    if (!Identify())
        return FFailCode;
    const QString &name = FOptions.Args[0];
    const TModCtrlCommand *cmd = FindParameter(name);
    if (!cmd)
        return Fail(ecModule, "the module on " + Where() + " has no parameter " + name);
    if (!Readable(cmd))
        return Fail(ecModule, cmd->Name + " cannot be read from the module on " + Where());
    PrintValue(cmd);
    return ecOk;
}

int TKsvCtl::RunSet()
{
    if (!Identify())
        return FFailCode;
    const QString &name = FOptions.Args[0];
    const QStringList items = FOptions.Args.mid(1);
    TModCtrlCommand *cmd = FindParameter(name);
    if (!cmd)
        return Fail(ecModule, "the module on " + Where() + " has no parameter " + name);
    if (cmd->AType != 1 && cmd->AType != 3)
        return Fail(ecModule, cmd->Name + " is read-only on the module on " + Where());
    if (const QString problem = ValueProblem(cmd, items); !problem.isEmpty())
        return UsageFail(problem);
    ApplyValues(cmd, items);
    const QString wanted = SetValueText(cmd, items);
    const QString cmdName = cmd->Name;
    if (!FEngine->WritePara(cmd))
        return Fail(ecModule, "writing " + cmdName + " to the module on " + Where() + " failed");
    // A write may make the engine identify again, which replaces every command object.
    cmd = FindParameter(cmdName);
    if (!cmd)
        return Fail(ecModule, "after writing " + cmdName + " the module on " + Where() + " no longer lists it");
    PrintValue(cmd);
    if (cmd->CmdType() == CodeNoPara || !Readable(cmd))
        return ecOk;
    const QString held = SetValueText(cmd, items);
    if (held.compare(wanted, Qt::CaseInsensitive) != 0)
        return Fail(ecModule, QStringLiteral("the module on %1 did not take %2 %3; it holds %4")
                                  .arg(Where(), cmdName, items.join(QLatin1Char(' ')), held));
    return ecOk;
}

int TKsvCtl::RunMemoryCommand()
{
    if (!Identify())
        return FFailCode;
    const QString &c = FOptions.Command;
    if (c == "save") {
        if (!FEngine->SaveParameters())
            return Fail(ecModule, "the module on " + Where() + " did not store its parameters (SAVE)");
        Out() << "Data saved!\n";
    } else if (c == "loadback") {
        if (!FEngine->LoadBack())
            return Fail(ecModule, "the module on " + Where() + " did not reload its stored parameters (LOADBACK)");
        Out() << "Data loadback ok!\n";
    } else {
        if (!FEngine->LoadDefaults())
            return Fail(ecModule, "the module on " + Where() + " did not load its defaults (DEFAULT)");
        Out() << "Data set to default!\n";
    }
    return ecOk;
}

int TKsvCtl::RunPassword()
{
    if (!Connect())
        return FFailCode;
    if (!FEngine->PasswordSupported()) {
        if (!ModuleAnswers())
            return Fail(ecModule, QStringLiteral("no module answered on %1 at %2 bit/s")
                                      .arg(Where())
                                      .arg(ModBaudrates[FEngine->BaudRate()]));
        return Fail(ecModule, "the module on " + Where() + " has no password");
    }
    if (!FEngine->SendPassword(FOptions.Args.join(QLatin1Char(' '))))
        return Fail(ecModule, "the module on " + Where() + " did not accept the password");
    Out() << "Password accepted\n";
    return ecOk;
}
