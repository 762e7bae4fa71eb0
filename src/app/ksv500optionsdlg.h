#pragma once

#include "colorvalue.h"
#include "ksvcommtypes.h"
#include "osapplini.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QWidget;
class TColorBox;

// The settings dialog. Each setting has a read and a write accessor named after its INI key;
// they go to the settings file when one is attached and to a value kept in the dialog otherwise.
// Nothing is cached: every read asks the file again.
class TKSV500OptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TKSV500OptionsDlg(QWidget *Parent = nullptr);

    // The settings file; forgotten when it is destroyed.
    void SetApplIni(TosApplIni *ApplIni);
    TosApplIni *ApplIni() const { return FApplIni; }

    // Where the port combo gets the port names from when the dialog opens.
    using TSerialPortSource = std::function<QStringList()>;
    void SetSerialPortSource(TSerialPortSource Source);

    // Loads the settings into the controls and shows the dialog modally; on OK saves them and
    // returns true, on "Cancel" returns false without writing anything.
    bool Execute();

    // Port, transfer mode and baud rates may be changed (not while connected).
    void SetInterfaceEditable(bool Value) { FInterfaceEditable = Value; }
    bool InterfaceEditable() const { return FInterfaceEditable; }

    // The tab "Z.O.LT." is shown and its check boxes are saved.
    void SetServiceTabVisible(bool Value) { FServiceTabVisible = Value; }
    bool ServiceTabVisible() const { return FServiceTabVisible; }

    // Section "Interface"
    QString Port() const;
    void SetPort(const QString &Value);
    TTransferMode TranferMode() const;
    void SetTranferMode(TTransferMode Value);
    bool AutoBRDetection() const;
    void SetAutoBRDetection(bool Value);
    TModBaudrate FixBR() const;
    void SetFixBR(TModBaudrate Value);
    bool AutoSetBR() const;
    void SetAutoSetBR(bool Value);
    TModBaudrate AutoBR() const;
    void SetAutoBR(TModBaudrate Value);
    int DelayOnFirmwareUpdate() const;
    void SetDelayOnFirmwareUpdate(int Value);

    // Section "Scope"
    TColor BackgoundColor() const;
    void SetBackgoundColor(TColor Value);
    TColor GridColor() const;
    void SetGridColor(TColor Value);
    TColor Cha1Color() const;
    void SetCha1Color(TColor Value);
    TColor Cha2Color() const;
    void SetCha2Color(TColor Value);
    TColor Cha3Color() const;
    void SetCha3Color(TColor Value);
    TColor Cha4Color() const;
    void SetCha4Color(TColor Value);
    // 0 small, 1 medium, 2 fat
    int SignalLineWidth() const;
    void SetSignalLineWidth(int Value);
    bool ULimLLimManually() const;
    void SetULimLLimManually(bool Value);

    // Section "Monitor": kind 0 default, 1 custom, 2 maximum; count of rows for custom
    int VisParaKind() const;
    void SetVisParaKind(int Value);
    int VisParaCnt() const;
    void SetVisParaCnt(int Value);

    // Section "ZOLT"
    bool ShowCmdGrpInfo() const;
    void SetShowCmdGrpInfo(bool Value);
    bool KSVFileViewer() const;
    void SetKSVFileViewer(bool Value);
    bool SFWUpdate() const;
    void SetSFWUpdate(bool Value);
    bool TermFWUpdate() const;
    void SetTermFWUpdate(bool Value);

    // Section "TableInput"
    bool ShowDecimals() const;
    void SetShowDecimals(bool Value);
    bool AinCommandUI() const;
    void SetAinCommandUI(bool Value);

private:
    // One key: where it lives, its default, and the value used while no file is attached.
    template <typename T>
    struct TSetting {
        const char *Section;
        const char *Key;
        T Default;
        T Shadow = Default;
    };

    int ReadSetting(const TSetting<int> &Setting) const;
    bool ReadSetting(const TSetting<bool> &Setting) const;
    QString ReadSetting(const TSetting<QString> &Setting) const;
    void WriteSetting(TSetting<int> &Setting, int Value);
    void WriteSetting(TSetting<bool> &Setting, bool Value);
    void WriteSetting(TSetting<QString> &Setting, const QString &Value);
    TModBaudrate ReadRate(const TSetting<int> &Setting, TModBaudrate Default) const;

    void LoadSettings();
    void SaveSettings();
    void UpdateBaudControls();
    void UpdateVisParCntEnabled();

    QWidget *CreateInterfaceTab();
    QWidget *CreateScopeTab();
    QWidget *CreateMonitorTab();
    QWidget *CreateZoltTab();
    QWidget *CreateTableInputTab();
    QWidget *CreateButtonPanel();

    QPointer<TosApplIni> FApplIni;
    TSerialPortSource FSerialPortSource;
    bool FInterfaceEditable = true;
    bool FServiceTabVisible = false;

    TSetting<QString> FPort;
    TSetting<int> FTranferMode;
    TSetting<bool> FAutoBRDetection;
    TSetting<int> FFixBR;
    TSetting<bool> FAutoSetBR;
    TSetting<int> FAutoBR;
    TSetting<int> FDelayOnFirmwareUpdate;
    TSetting<int> FBackgoundColor;
    TSetting<int> FGridColor;
    TSetting<int> FCha1Color;
    TSetting<int> FCha2Color;
    TSetting<int> FCha3Color;
    TSetting<int> FCha4Color;
    TSetting<int> FSignalLineWidth;
    TSetting<bool> FULimLLimManually;
    TSetting<int> FVisParaKind;
    TSetting<int> FVisParaCnt;
    TSetting<bool> FShowCmdGrpInfo;
    TSetting<bool> FKSVFileViewer;
    TSetting<bool> FSFWUpdate;
    TSetting<bool> FTermFWUpdate;
    TSetting<bool> FShowDecimals;
    TSetting<bool> FAinCommandUI;

    // Controls, named as their object names.
    QTabWidget *PCtrlOptions = nullptr;
    QWidget *TSZolt = nullptr;
    QGroupBox *RGrpBROptions = nullptr;
    QButtonGroup *FBROptionsItems = nullptr;
    QStackedWidget *NBBROptions = nullptr;
    QLabel *LblFixBR = nullptr;
    QComboBox *CBoxFixBR = nullptr;
    QLabel *LblAutoBR = nullptr;
    QCheckBox *CBAutoSetBR = nullptr;
    QComboBox *CBoxHighBR = nullptr;
    QLabel *LblPort = nullptr;
    QComboBox *CBPort = nullptr;
    QGroupBox *RGrpTransferMode = nullptr;
    QButtonGroup *FTransferModeItems = nullptr;
    QSpinBox *DelayOnFirmwareUpdateEdit = nullptr;
    TColorBox *CBoxCha1Color = nullptr;
    TColorBox *CBoxCha2Color = nullptr;
    TColorBox *CBoxCha3Color = nullptr;
    TColorBox *CBoxCha4Color = nullptr;
    TColorBox *CBoxGridColor = nullptr;
    TColorBox *CBoxDspColor = nullptr;
    QComboBox *CBoxSigLineWidth = nullptr;
    QGroupBox *RGVisibleParaKind = nullptr;
    QButtonGroup *FVisibleParaKindItems = nullptr;
    QComboBox *CBoxVisParCnt = nullptr;
    QCheckBox *CBShowCmdGrpInfo = nullptr;
    QCheckBox *CBKSVFileViewer = nullptr;
    QCheckBox *CBSFWUpdate = nullptr;
    QCheckBox *CBTermFWUpdate = nullptr;
    QCheckBox *CBULimLLimManually = nullptr;
    QCheckBox *CBShowDecimals = nullptr;
    QCheckBox *CBAinCommandUI = nullptr;
};
