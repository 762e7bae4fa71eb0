#pragma once

#include "modproccommand.h"
#include "osbaseobjstringlist.h"

// The module's process values, keyed by name; owns them.
class TModProcessData : public TosBaseObjStringList {
public:
    int Add(TModProcCommand *cmd);
    TModProcCommand *ProcCommand(int i) const;
    // Empties target and fills it with clones of this list's process commands (without their
    // raw values). Copying a list onto itself changes nothing.
    void CopyTo(TModProcessData &target) const;
};
