#pragma once

#include "ctlmonitor.h"
#include "ctloptions.h"
#include "ctlparamlist.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>

class TKSVModCommProt;
class TModCtrlCommand;

// Runs one ksvctl command over the protocol engine and turns its results into output lines,
// messages on the error stream and an exit status.
class TKsvCtl {
public:
    enum TExitCode : int { ecOk = 0, ecModule = 1, ecUsage = 2, ecFile = 3 };

    TKsvCtl(const TCtlOptions &options, QTextStream &out, QTextStream &err);
    ~TKsvCtl();

    int Run();

private:
    void SetUpEngine();
    void ShowProgress(const QString &what, int done);
    void EndProgress();
    QTextStream &Out();
    void SupplyDescription(const QString &modId, QStringList &extCmdList);
    int Fail(int code, const QString &sentence);
    int UsageFail(const QString &sentence);
    QString Where() const;

    // Connect and Identify; false after the failure has been reported in FError.
    bool Connect();
    bool Identify();
    bool ModuleAnswers();

    int RunIdentify();
    int RunList();
    int RunGet();
    int RunSet();
    int RunMemoryCommand();
    int RunPassword();
    int RunBackup();
    int RunRestore();
    int RunOffline();
    int RunMonitor();
    int RunRemote();
    int RunFirmware();

    int RunMonitorPasses();
    int SwitchRemoteControl(bool on);
    int SetRemoteValue(int pin, int32_t value);
    int SetDigitalInputs(uint8_t state);
    void Status(const QString &text);

    TModCtrlCommand *FindParameter(const QString &name) const;
    void PrintSummary(bool offline);
    void PrintRows();
    void PrintValue(const TModCtrlCommand *cmd);
    int RestoreResult(int code, bool ksvFile, const QString &path);

    TCtlOptions FOptions;
    QTextStream &FOut;
    QTextStream &FErr;
    std::unique_ptr<TKSVModCommProt> FEngine;
    TCtlParamList FGrid;
    TCtlMonitor FMonitor;
    int FFailCode = ecOk;
    bool FProgressShown = false;
    bool FDescriptionMissing = false;
    bool FOverwriteAsked = false;
    QStringList FFileModuleIds;       // the modules a .ksv offered when asked for a choice
    QStringList FUnknownNames;        // reported by the downloads, each once
};
