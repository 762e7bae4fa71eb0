#pragma once

#include "modremotectrlcmd.h"
#include "osbaseobjstringlist.h"

// The module's remote-control inputs, keyed by name. The readout and the offline file put
// these commands into this list only, so the list owns them.
class TModRemoteCtrlCommandList : public TosBaseObjStringList {
public:
    int Add(TModRemoteCtrlCmd *cmd);
    TModRemoteCtrlCmd *RemoteCmd(int i) const;
    // The first entry whose PinIndex() is pin, or none.
    TModRemoteCtrlCmd *FindByPin(int pin) const;
    // Min and Max of FindByPin(pin); false (and min, max untouched) when there is none.
    bool GetPinRange(int pin, int32_t &min, int32_t &max) const;
};
