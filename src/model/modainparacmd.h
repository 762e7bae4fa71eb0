#pragma once

#include "modctrlcommand.h"

// An analogue input scaled as Y = A / B * (X - C) (code 7).
class TModAinParaCmd : public TModCtrlCommand {
public:
    TModAinParaCmd() : TModCtrlCommand(7) {}

    int32_t B = 0;  // divisor of the gain
    int32_t C = 0;  // offset in 0.01 %
    int32_t A = 0;  // multiplier of the gain
    uint8_t X = 0;  // input kind: 0 voltage, 1 current

    // 22 columns: A ends in column 6, B in 13, C in 20, the unit letter in 22. An input kind
    // without a unit letter leaves the unit column blank.
    QString ValueText() const override;
    void AssignTo(TModBaseCommand *dest) const override;
};
