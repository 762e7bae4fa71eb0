#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Names of the command type codes (index = CmdType); the edit dialog picks its page by them.
extern const std::array<QString, 12> CmdTypeNames;
// Names of the command groups (index = GCode bit).
extern const std::array<QString, 16> CmdGroupNames;
// Unit letters of analogue inputs (index = X); the main window switches them between V/C and U/I.
extern std::array<QString, 2> AinUnitNames;
// Captions of the five remote-controlled pins (index = PinIndex, 0 = none).
extern std::array<QString, 6> RemotePinNames;

// All groups except NewTab, NewData and the maker-internal one.
constexpr uint16_t DefaultGroupMask = 0xFFBC;

enum TCmdGroupBit : int {
    cgNewTab = 0,
    cgNewData = 1,
    cgMaker = 6,
    cgPassword = 7,
};
