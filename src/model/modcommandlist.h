#pragma once

#include "modbasecommand.h"
#include "osbaseobjstringlist.h"

// The module's commands, keyed by name; owns them.
class TModCommandList : public TosBaseObjStringList {
public:
    // Appends cmd under its Name and returns the index; -1 and nothing added for no command.
    int Add(TModBaseCommand *cmd);
    TModBaseCommand *Command(int i) const;
};
