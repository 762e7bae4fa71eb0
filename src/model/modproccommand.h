#pragma once

#include "modbasecommand.h"

// One process value that the monitor and the oscilloscope show (code 0).
class TModProcCommand : public TModBaseCommand {
public:
    TModProcCommand() : TModBaseCommand(0) {}

    int32_t CompFactor = 1;  // divisor from the raw to the physical value
    QString PhysUnit;
    int32_t RawValue = 0;    // last value received

    // RawValue / CompFactor with two decimals; a CompFactor of 0 counts as 1.
    QString ValueText() const override;
    // Copies the description, not RawValue.
    void AssignTo(TModBaseCommand *dest) const override;
};
