// The settings accessors of TKSV500OptionsDlg: one read and one write per INI key.
#include "ksv500optionsdlg.h"

int TKSV500OptionsDlg::ReadSetting(const TSetting<int> &Setting) const
{
    return FApplIni ? FApplIni->ReadInteger(Setting.Section, Setting.Key, Setting.Default) : Setting.Shadow;
}

bool TKSV500OptionsDlg::ReadSetting(const TSetting<bool> &Setting) const
{
    return FApplIni ? FApplIni->ReadBool(Setting.Section, Setting.Key, Setting.Default) : Setting.Shadow;
}

QString TKSV500OptionsDlg::ReadSetting(const TSetting<QString> &Setting) const
{
    return FApplIni ? FApplIni->ReadString(Setting.Section, Setting.Key, Setting.Default) : Setting.Shadow;
}

void TKSV500OptionsDlg::WriteSetting(TSetting<int> &Setting, int Value)
{
    Setting.Shadow = Value;
    if (FApplIni)
        FApplIni->WriteInteger(Setting.Section, Setting.Key, Value);
}

void TKSV500OptionsDlg::WriteSetting(TSetting<bool> &Setting, bool Value)
{
    Setting.Shadow = Value;
    if (FApplIni)
        FApplIni->WriteBool(Setting.Section, Setting.Key, Value);
}

void TKSV500OptionsDlg::WriteSetting(TSetting<QString> &Setting, const QString &Value)
{
    Setting.Shadow = Value;
    if (FApplIni)
        FApplIni->WriteString(Setting.Section, Setting.Key, Value);
}

// Rates are stored in bit/s; any other number gives the key's default rate.
TModBaudrate TKSV500OptionsDlg::ReadRate(const TSetting<int> &Setting, TModBaudrate Default) const
{
    TModBaudrate rate = Default;
    return FindModBaudrate(ReadSetting(Setting), rate) ? rate : Default;
}

QString TKSV500OptionsDlg::Port() const { return ReadSetting(FPort); }
void TKSV500OptionsDlg::SetPort(const QString &Value) { WriteSetting(FPort, Value); }

TTransferMode TKSV500OptionsDlg::TranferMode() const
{
    return ReadSetting(FTranferMode) == tmHalfDuplex ? tmHalfDuplex : tmFullDuplex;
}
void TKSV500OptionsDlg::SetTranferMode(TTransferMode Value) { WriteSetting(FTranferMode, int(Value)); }

bool TKSV500OptionsDlg::AutoBRDetection() const { return ReadSetting(FAutoBRDetection); }
void TKSV500OptionsDlg::SetAutoBRDetection(bool Value) { WriteSetting(FAutoBRDetection, Value); }

TModBaudrate TKSV500OptionsDlg::FixBR() const { return ReadRate(FFixBR, mb9600); }
void TKSV500OptionsDlg::SetFixBR(TModBaudrate Value) { WriteSetting(FFixBR, ModBaudrates[Value]); }

bool TKSV500OptionsDlg::AutoSetBR() const { return ReadSetting(FAutoSetBR); }
void TKSV500OptionsDlg::SetAutoSetBR(bool Value) { WriteSetting(FAutoSetBR, Value); }

TModBaudrate TKSV500OptionsDlg::AutoBR() const { return ReadRate(FAutoBR, mb38400); }
void TKSV500OptionsDlg::SetAutoBR(TModBaudrate Value) { WriteSetting(FAutoBR, ModBaudrates[Value]); }

int TKSV500OptionsDlg::DelayOnFirmwareUpdate() const { return ReadSetting(FDelayOnFirmwareUpdate); }
void TKSV500OptionsDlg::SetDelayOnFirmwareUpdate(int Value) { WriteSetting(FDelayOnFirmwareUpdate, Value); }

TColor TKSV500OptionsDlg::BackgoundColor() const { return ReadSetting(FBackgoundColor); }
void TKSV500OptionsDlg::SetBackgoundColor(TColor Value) { WriteSetting(FBackgoundColor, Value); }
TColor TKSV500OptionsDlg::GridColor() const { return ReadSetting(FGridColor); }
void TKSV500OptionsDlg::SetGridColor(TColor Value) { WriteSetting(FGridColor, Value); }
TColor TKSV500OptionsDlg::Cha1Color() const { return ReadSetting(FCha1Color); }
void TKSV500OptionsDlg::SetCha1Color(TColor Value) { WriteSetting(FCha1Color, Value); }
TColor TKSV500OptionsDlg::Cha2Color() const { return ReadSetting(FCha2Color); }
void TKSV500OptionsDlg::SetCha2Color(TColor Value) { WriteSetting(FCha2Color, Value); }
TColor TKSV500OptionsDlg::Cha3Color() const { return ReadSetting(FCha3Color); }
void TKSV500OptionsDlg::SetCha3Color(TColor Value) { WriteSetting(FCha3Color, Value); }
TColor TKSV500OptionsDlg::Cha4Color() const { return ReadSetting(FCha4Color); }
void TKSV500OptionsDlg::SetCha4Color(TColor Value) { WriteSetting(FCha4Color, Value); }

int TKSV500OptionsDlg::SignalLineWidth() const
{
    const int width = ReadSetting(FSignalLineWidth);
    return width >= 0 && width <= 2 ? width : FSignalLineWidth.Default;
}
void TKSV500OptionsDlg::SetSignalLineWidth(int Value) { WriteSetting(FSignalLineWidth, Value); }

bool TKSV500OptionsDlg::ULimLLimManually() const { return ReadSetting(FULimLLimManually); }
void TKSV500OptionsDlg::SetULimLLimManually(bool Value) { WriteSetting(FULimLLimManually, Value); }

int TKSV500OptionsDlg::VisParaKind() const
{
    const int kind = ReadSetting(FVisParaKind);
    return kind >= 0 && kind <= 2 ? kind : FVisParaKind.Default;
}
void TKSV500OptionsDlg::SetVisParaKind(int Value) { WriteSetting(FVisParaKind, Value); }

int TKSV500OptionsDlg::VisParaCnt() const { return ReadSetting(FVisParaCnt); }
void TKSV500OptionsDlg::SetVisParaCnt(int Value) { WriteSetting(FVisParaCnt, Value); }

bool TKSV500OptionsDlg::ShowCmdGrpInfo() const { return ReadSetting(FShowCmdGrpInfo); }
void TKSV500OptionsDlg::SetShowCmdGrpInfo(bool Value) { WriteSetting(FShowCmdGrpInfo, Value); }
bool TKSV500OptionsDlg::KSVFileViewer() const { return ReadSetting(FKSVFileViewer); }
void TKSV500OptionsDlg::SetKSVFileViewer(bool Value) { WriteSetting(FKSVFileViewer, Value); }
bool TKSV500OptionsDlg::SFWUpdate() const { return ReadSetting(FSFWUpdate); }
void TKSV500OptionsDlg::SetSFWUpdate(bool Value) { WriteSetting(FSFWUpdate, Value); }
bool TKSV500OptionsDlg::TermFWUpdate() const { return ReadSetting(FTermFWUpdate); }
void TKSV500OptionsDlg::SetTermFWUpdate(bool Value) { WriteSetting(FTermFWUpdate, Value); }

bool TKSV500OptionsDlg::ShowDecimals() const { return ReadSetting(FShowDecimals); }
void TKSV500OptionsDlg::SetShowDecimals(bool Value) { WriteSetting(FShowDecimals, Value); }
bool TKSV500OptionsDlg::AinCommandUI() const { return ReadSetting(FAinCommandUI); }
void TKSV500OptionsDlg::SetAinCommandUI(bool Value) { WriteSetting(FAinCommandUI, Value); }
