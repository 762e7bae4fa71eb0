#include "modprocessdata.h"

int TModProcessData::Add(TModProcCommand *cmd)
{
    return cmd ? AddObject(cmd->Name, cmd) : -1;
}

TModProcCommand *TModProcessData::ProcCommand(int i) const
{
    return dynamic_cast<TModProcCommand *>(GetObject(i));
}

void TModProcessData::CopyTo(TModProcessData &target) const
{
    if (&target == this)
        return;
    target.Clear();
    for (int i = 0; i < Count(); ++i)
        if (const TModProcCommand *cmd = ProcCommand(i))
            target.Add(static_cast<TModProcCommand *>(cmd->Clone().release()));
}
