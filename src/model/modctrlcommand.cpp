#include "modctrlcommand.h"

QString TModCtrlCommand::ValueText() const
{
    return QString();
}

void TModCtrlCommand::AssignTo(TModBaseCommand *dest) const
{
    TModBaseCommand::AssignTo(dest);
    auto *ctrl = dynamic_cast<TModCtrlCommand *>(dest);
    if (!ctrl || ctrl->CmdType() != CmdType())
        return;
    ctrl->Min = Min;
    ctrl->Max = Max;
    ctrl->VList = VList;
}

void TModCtrlCommand::Changed()
{
    if (OnChange)
        OnChange(this);
}
