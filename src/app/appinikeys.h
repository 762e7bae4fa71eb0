#pragma once

// Section and key names of the settings file, spelled as the file has them.
namespace IniSection {
inline constexpr const char *Interface = "Interface";
inline constexpr const char *Scope = "Scope";
inline constexpr const char *Monitor = "Monitor";
inline constexpr const char *Zolt = "ZOLT";
inline constexpr const char *TableInput = "TableInput";
inline constexpr const char *Application = "Application";
} // namespace IniSection

namespace IniKey {
// Interface
inline constexpr const char *Port = "Port";
inline constexpr const char *TranferMode = "TranferMode";
inline constexpr const char *AutoBRDetection = "AutoBRDetection";
inline constexpr const char *FixBR = "FixBR";
inline constexpr const char *AutoSetBR = "AutoSetBR";
inline constexpr const char *AutoBR = "AutoBR";
inline constexpr const char *DelayOnFirmwareUpdate = "DelayOnFirmwareUpdate";
// Scope
inline constexpr const char *BackgoundColor = "BackgoundColor";
inline constexpr const char *GridColor = "GridColor";
inline constexpr const char *Cha1Color = "Cha1Color";
inline constexpr const char *Cha2Color = "Cha2Color";
inline constexpr const char *Cha3Color = "Cha3Color";
inline constexpr const char *Cha4Color = "Cha4Color";
inline constexpr const char *SignalLineWidth = "SignalLineWidth";
inline constexpr const char *ULimLLimManually = "ULimLLimManually";
// Monitor
inline constexpr const char *VisParaKind = "VisParaKind";
inline constexpr const char *VisParaCnt = "VisParaCnt";
// ZOLT
inline constexpr const char *ShowCmdGrpInfo = "ShowCmdGrpInfo";
inline constexpr const char *KSVFileViewer = "KSVFileViewer";
inline constexpr const char *SFWUpdate = "SFWUpdate";
inline constexpr const char *TermFWUpdate = "TermFWUpdate";
// TableInput
inline constexpr const char *ShowDecimals = "ShowDecimals";
inline constexpr const char *AinCommandUI = "AinCommandUI";
// Application: read and written directly through TosApplIni by the file and firmware handlers
inline constexpr const char *ParaFilePath = "ParaFilePath";
inline constexpr const char *FirmwarePath = "FirmwarePath";
inline constexpr const char *LastFirmware = "LastFirmware";
} // namespace IniKey
