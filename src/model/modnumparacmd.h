#pragma once

#include "modctrlcommand.h"

// A numeric parameter (code 2).
class TModNumParaCmd : public TModCtrlCommand {
public:
    TModNumParaCmd() : TModCtrlCommand(2) {}

    int32_t Val = 0;

    QString ValueText() const override;
    void AssignTo(TModBaseCommand *dest) const override;

    // Val in hundredths: "0.00" with the locale's decimal separator.
    QString DecimalText() const;
};
