#include "ctlparamlist.h"

#include "cmdtables.h"
#include "modcommandlist.h"
#include "modctrlcommand.h"

// A settable command is listed when one of its groups is in the mask; mask 0 (lists just
// emptied) stands for the default groups, -1 (no code, offline data) for all of them.
void TCtlParamList::BuildRows(TModCommandList *cmdList, int accessCode)
{
    FRows.clear();
    FMask = accessCode == 0 ? DefaultGroupMask : accessCode;
    if (!cmdList)
        return;
    for (int i = 0; i < cmdList->Count(); ++i) {
        auto *cmd = dynamic_cast<TModCtrlCommand *>(cmdList->Command(i));
        if (cmd && cmd->AType == 3 && (cmd->GCode & uint16_t(FMask)) != 0)
            FRows.push_back(cmd);
    }
}
