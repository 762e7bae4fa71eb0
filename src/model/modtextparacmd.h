#pragma once

#include "modctrlcommand.h"

// A text parameter (code 1): one of the texts in VList.
class TModTextParaCmd : public TModCtrlCommand {
public:
    TModTextParaCmd() : TModCtrlCommand(1) {}

    QString Txt() const { return FTxt; }
    // Stores s as passed in when VList holds it (in any letter case), otherwise empties the value.
    void SetTxt(const QString &s);

    QString ValueText() const override;
    void AssignTo(TModBaseCommand *dest) const override;

private:
    QString FTxt;
};
