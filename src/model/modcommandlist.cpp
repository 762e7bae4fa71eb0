#include "modcommandlist.h"

int TModCommandList::Add(TModBaseCommand *cmd)
{
    return cmd ? AddObject(cmd->Name, cmd) : -1;
}

TModBaseCommand *TModCommandList::Command(int i) const
{
    return dynamic_cast<TModBaseCommand *>(GetObject(i));
}
