#pragma once

#include "cmdupdateinfo.h"
#include "ksvcommtypes.h"
#include "osbasemsgcomponent.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class TComPort;
class TosThreadTimer_SL;
class TPeriodicTimer;
class TModCommandList;
class TModProcessData;
class TModStatusInfoData;
class TModRemoteCtrlCommandList;
class TModBaseCommand;
class TModCtrlCommand;
class TModCCParaCmd;
class TKSVMonitorIntf;
class TKSVParamListIntf;
class TKSVTerminalIntf;
class TKSVScopeIntf;

// The one component through which the program talks to a module: it owns the serial port,
// the four lists that describe the connected module and the monitor polling timer, and runs
// every request/response exchange (a transaction) with the module.
class TKSVModCommProt : public TosBaseMsgComponent {
    Q_OBJECT
public:
    using TDigitalInputStateInfoEvent = std::function<void(TKSVModCommProt *sender, uint8_t state)>;
    using TModReadoutErrorEvent =
        std::function<void(TKSVModCommProt *sender, const QString &modId, QStringList &extCmdList)>;
    using TModParaDownloadErrEvent = std::function<void(TKSVModCommProt *sender, const QStringList &cmdErrList)>;
    using TModIdSelectEvent = std::function<void(TKSVModCommProt *sender, const QStringList &idList, int &selIdx)>;
    using TCommProtMsgInfoEvent = std::function<void(TKSVModCommProt *sender, TKSVCommProtMsgKind kind, int &result)>;

    explicit TKSVModCommProt(QObject *owner = nullptr);
    ~TKSVModCommProt() override;

    // One transaction. TimeoutMs is the per-character time-out; negative means 3000 ms.
    bool SendCmd(const QString &Cmd, const QString &Echo, int TimeoutMs, QString &Answer,
                 const QString &EndMarker = QStringLiteral(">"));
    bool CheckPrompt();
    void Disconnect();
    void SetOperatingMode(TModCommMode Mode);
    bool TerminalSendChar(char Ch);
    void HandleTerminalInput(TKSVTerminalIntf *Sender, char Key, int &Response);
    void HandleRxChar(int Count);
    bool ExchangeChar(char Ch, QString &Answer);
    void ClearCmdLists();

    // Connection and identification (ksvmodcommprot_link.cpp).
    bool Connect();
    bool DetectBaudrate(TModBaudrate &Rate);
    bool SetModBaudrate(TModBaudrate Rate);
    bool SwitchToAutoBaudrate();
    bool Identify(QString &ModId);
    bool ModIdUnchanged();
    bool ReadAccessCode(uint16_t &Code);
    bool SendPassword(const QString &Password);
    bool PasswordSupported();
    void GetModType(QString &ModType) const;

    // Live data and remote control (ksvmodcommprot_live.cpp).
    bool QueryRemoteCtrlSupport(bool &Active);
    void PollMonitor();
    bool PollScope();
    // The scope sampling timer's callback; four failed passes in a row kill the timer.
    void ScopeTimerCallback(TPeriodicTimer *Timer);
    // The main window resets the count whenever it starts the sampling timer.
    void ResetScopeFailCount() { FScopeFailCount = 0; }
    bool RemoteCtrlEnabled();
    void SetRemoteCtrlEnabled(bool On);
    bool ReadRemoteValue(uint8_t PinIndex, int32_t &Value);
    bool WriteRemoteValue(uint8_t PinIndex, int32_t &Value);
    bool ReadDigitalInputs(uint8_t &State);
    bool WriteDigitalInputs(uint8_t &State);

    // Readout and single parameters (ksvmodcommprot_params.cpp).
    bool Readout(QString &RawText);
    bool ParseReadout(const QString &Text);
    bool ReadParaValue(TModBaseCommand *Cmd);
    void UpdateCmdFromInfo();
    bool ReadAllParaValues();
    bool WritePara(TModCtrlCommand *Cmd);
    bool RefreshParaView();
    void HandleCmdSendRequest(TModCtrlCommand *Cmd);

    // Parameter-set commands (ksvmodcommprot_sets.cpp).
    bool SaveParameters();
    bool LoadBack();
    bool LoadDefaults();
    bool DownloadBlock(const QString &Block);
    bool WriteAllParas(QStringList *ErrList);

    // Offline command-list file (ksvmodcommprot_cmdlistfile.cpp). Result codes of the download:
    // 0 done, 2 no command list, 3 no compatible module data, 4 file unusable.
    bool LoadOfflineCmdList(const QString &Path);
    int DownloadCmdListFile(const QString &Path);
    bool SaveCmdListFile(const QString &Path);

    // Legacy parameter file (ksvmodcommprot_parafile.cpp). Codes as for the command-list file,
    // 3 meaning another module type.
    int DownloadParaFile(const QString &Path, bool IgnoreIdMismatch);
    bool SaveParaFile(const QString &Path);

    // Boot loader (ksvmodcommprot_bootloader.cpp). Steps: 0 enter, 1 leave and start the
    // application, 2 erase, 3 prepare programming. Progress: bytes of the file done, of total.
    using TProgressEvent = std::function<void(int done, int total)>;
    bool WaitForText(const QString &StartText, const QString &EndText, int IntervalMs, int TotalMs,
                     QString &Answer);
    bool BootloaderStep(uint8_t Step);
    bool SendFirmwareFile(const QString &FileName, const TProgressEvent &Progress = {});
    bool SendFile(const QString &FileName);
    void SetBootloaderMode(bool Active);
private:
    bool EnterBootloader();
    bool StartApplication();
    bool EraseFlash();
    bool PrepareProgramming();
    void OpenBootloaderTerminal();
    void CloseBootloaderTerminal();
public:

    // Progress of long operations: what is being done and how far (lines received, values
    // read). Optional; it changes no exchange. The handler may spin the event loop to keep the
    // window painted: a monitor poll or received-byte notification delivered meanwhile is
    // skipped, so no exchange ever starts inside another operation.
    std::function<void(const QString &What, int Done)> OnProgress;

    // The monitor interval for the current list and rate: 320 ms, or 500 ms with more than ten
    // process values or at 9600 bit/s.
    int MonitorIntervalMs() const;

    // Properties.
    TModBaudrate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TModBaudrate rate);
    uint16_t PortNo() const { return FPortNo; }
    void SetPortNo(uint16_t number);
    QString PortName() const;
    void SetPortName(const QString &name);
    TTransferMode TransferMode() const { return FTransferMode; }
    void SetTransferMode(TTransferMode mode);
    bool PortOpen() const;
    void SetPortOpen(bool open);
    bool AutoSetBaudrate() const { return FAutoSetBaudrate; }
    void SetAutoSetBaudrate(bool on) { FAutoSetBaudrate = on; }
    TModBaudrate AutoBaudrate() const { return FAutoBaudrate; }
    void SetAutoBaudrate(TModBaudrate rate) { FAutoBaudrate = rate; }
    TModBaudrate FixBaudrate() const { return FFixBaudrate; }
    void SetFixBaudrate(TModBaudrate rate);
    bool AutoBaudDetection() const { return FAutoBaudDetection; }
    void SetAutoBaudDetection(bool on);

    TKSVMonitorIntf *Monitor() const { return FMonitor; }
    void SetMonitor(TKSVMonitorIntf *monitor) { FMonitor = monitor; }
    TKSVParamListIntf *ParameterList() const { return FParameterList; }
    void SetParameterList(TKSVParamListIntf *grid);
    TKSVTerminalIntf *Terminal() const { return FTerminal; }
    void SetTerminal(TKSVTerminalIntf *terminal);
    TKSVScopeIntf *Scope() const { return FScope; }
    void SetScope(TKSVScopeIntf *scope) { FScope = scope; }

    // State the rest of the program reads.
    TModCommandList *CmdList() const { return FCmdList.get(); }
    TModProcessData *ProcessData() const { return FProcessData.get(); }
    TModStatusInfoData *StatusInfo() const { return FStatusInfo.get(); }
    TModRemoteCtrlCommandList *RemoteCtrlCmds() const { return FRemoteCtrlCmds.get(); }
    TCmdUpdateInfo &UpdateInfo() { return FUpdateInfo; }
    bool CmdListValid() const { return FCmdListValid; }
    bool RemoteCtrlSupported() const { return FRemoteCtrlSupported; }
    bool RemoteCtrlActive() const { return FRemoteCtrlActive; }
    QString ModId() const { return FModId; }
    // Descriptions the module gives on "RC:M ?", "RC:S ?" and "MODE ?" during identification.
    QString RcmInfoText() const { return FRcmInfoText; }
    QString RcsInfoText() const { return FRcsInfoText; }
    QString ModeInfoText() const { return FModeInfoText; }
    TModCommMode OperatingMode() const { return FOperatingMode; }
    bool BootloaderMode() const { return FBootloaderMode; }
    uint8_t PollStopReason() const { return FPollStopReason; }
    bool ScopeFetchBusy() const { return FScopeFetchBusy; }
    QDateTime ScopeTimeBase() const { return FScopeTimeBase; }
    char LastTermChar() const { return FLastTermChar; }
    TComPort *Port() const { return FPort; }
    TosThreadTimer_SL *Timer() const { return FTimer.get(); }

    // Events.
    TDigitalInputStateInfoEvent OnDigitalInputStateInfo;
    TModReadoutErrorEvent OnReadoutError;
    TModParaDownloadErrEvent OnParaDownloadError;
    TModIdSelectEvent OnModIdSelRequest;
    TCommProtMsgInfoEvent OnInfoMsg;

private:
    bool SendCmdFullDuplex(const QByteArray &cmd, const QString &echo, QString &answer, const QString &endMarker);
    bool SendCmdHalfDuplex(const QByteArray &cmd, const QString &echo, QString &answer, const QString &endMarker);
    void SetCharTimeout(int timeoutMs);
    bool ReadChar(char &ch);
    void RebuildGrid(int accessCode);
    bool SendCurve(TModCCParaCmd *Curve);
    bool RunMemoryCommand(const QString &Word, const QString &Sent, int TimeoutMs, bool ReadAllAfter);
    void ReportProgress(const QString &What, int Done);
    void CountAnswerLine(char Ch);

    // Serialises whole transactions: the scope sampling thread and the GUI thread share the port.
    std::recursive_mutex FTransactionLock;
    std::atomic<bool> FScopeFetchBusy{false};
    TComPort *FPort = nullptr;
    std::unique_ptr<TosThreadTimer_SL> FTimer;
    uint16_t FPortNo = 1;
    bool FAutoSetBaudrate = true;
    TModBaudrate FAutoBaudrate = mb57600;
    std::unique_ptr<TModCommandList> FCmdList;
    std::unique_ptr<TModProcessData> FProcessData;
    std::unique_ptr<TModStatusInfoData> FStatusInfo;
    std::unique_ptr<TModRemoteCtrlCommandList> FRemoteCtrlCmds;
    TCmdUpdateInfo FUpdateInfo;
    TModBaudrate FBaudRate = mb9600;
    bool FCmdListValid = false;
    bool FRemoteCtrlSupported = false;
    QString FModId;
    std::atomic<TModCommMode> FOperatingMode{cmIdle};
    TKSVMonitorIntf *FMonitor = nullptr;
    bool FBootloaderMode = false;
    TKSVParamListIntf *FParameterList = nullptr;
    TKSVScopeIntf *FScope = nullptr;
    TKSVTerminalIntf *FTerminal = nullptr;
    bool FRemoteCtrlActive = false;
    TModBaudrate FFixBaudrate = mb9600;
    bool FAutoBaudDetection = true;
    TTransferMode FTransferMode = tmFullDuplex;
    char FLastTermChar = 0;
    QDateTime FScopeTimeBase;
    QString FRcmInfoText;
    QString FRcsInfoText;
    QString FModeInfoText;
    std::atomic<uint8_t> FPollStopReason{0};
    std::atomic<int> FScopeFailCount{0};
    // GUI thread only: > 0 while OnProgress runs, i.e. while an operation is in progress.
    int FProgressDepth = 0;
    // Lines of the answer received so far while the readout reports them; -1 when it does not.
    int FAnswerLines = -1;
};
