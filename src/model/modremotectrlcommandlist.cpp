#include "modremotectrlcommandlist.h"

int TModRemoteCtrlCommandList::Add(TModRemoteCtrlCmd *cmd)
{
    return cmd ? AddObject(cmd->Name, cmd) : -1;
}

TModRemoteCtrlCmd *TModRemoteCtrlCommandList::RemoteCmd(int i) const
{
    return dynamic_cast<TModRemoteCtrlCmd *>(GetObject(i));
}

TModRemoteCtrlCmd *TModRemoteCtrlCommandList::FindByPin(int pin) const
{
    for (int i = 0; i < Count(); ++i)
        if (TModRemoteCtrlCmd *cmd = RemoteCmd(i); cmd && cmd->PinIndex() == pin)
            return cmd;
    return nullptr;
}

bool TModRemoteCtrlCommandList::GetPinRange(int pin, int32_t &min, int32_t &max) const
{
    const TModRemoteCtrlCmd *cmd = FindByPin(pin);
    if (!cmd)
        return false;
    min = cmd->Min;
    max = cmd->Max;
    return true;
}
