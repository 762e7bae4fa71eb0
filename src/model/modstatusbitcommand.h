#pragma once

#include "modbasecommand.h"

// One status LED: a bit of the module's status word (code 10).
class TModStatusBitCommand : public TModBaseCommand {
public:
    TModStatusBitCommand() : TModBaseCommand(10) {}

    uint16_t StatusWord = 0;  // last status word received
    bool BActive = false;     // the LED is in use
    uint8_t BIndex = 0;       // bit of the status word
    QString HintText;
    bool BInvers = false;     // lit when the bit is clear
    uint8_t BColor = 1;       // 0-3; shown 1 red, 2 green, 3 yellow, 0 red

    QString ValueText() const override;
    void AssignTo(TModBaseCommand *dest) const override;

    // Bit BIndex (modulo 32) of StatusWord, inverted by BInvers.
    bool IsOn() const;
    // Name without everything up to and including its first ":".
    QString Caption() const;
};
