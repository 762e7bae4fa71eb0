#pragma once

#include "modctrlcommand.h"

// One module input that the PC can drive in remote control (code 11).
class TModRemoteCtrlCmd : public TModCtrlCommand {
public:
    TModRemoteCtrlCmd() : TModCtrlCommand(11) {}

    int32_t Val = 0;

    QString ValueText() const override;
    void AssignTo(TModBaseCommand *dest) const override;

    // 1 "RC:910", 2 "RC:6", 3 "RC:13", 4 "RC:14", 5 "RC:29" (exact case), 0 any other name.
    int PinIndex() const;
    // RemotePinNames[PinIndex()].
    QString PinName() const;
};
