#pragma once

#include "modstatusbitcommand.h"
#include "osbaseobjstringlist.h"

// The module's status LEDs, keyed by name; owns them.
class TModStatusInfoData : public TosBaseObjStringList {
public:
    int Add(TModStatusBitCommand *cmd);
    TModStatusBitCommand *StatusBit(int i) const;
    // Gives every status bit the new status word. ledMask bit i is set when entry i is on
    // (the first sixteen entries only). False, with mask 0, for an empty list.
    bool Update(uint16_t word, uint16_t &ledMask);
};
