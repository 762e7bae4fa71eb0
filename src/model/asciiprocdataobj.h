#pragma once

#include "baseprocdataobj.h"

// One value of one process command, read as text from the module.
class TASCIIProcDataObj : public TBaseProcDataObj {
public:
    // value points to the integer; no value reads as 0. length and flag are not used.
    TASCIIProcDataObj(const int32_t *value, int length, double timeStamp, bool flag);
    TASCIIProcDataObj(int32_t value, double timeStamp, int32_t procIndex = -1);

    int32_t ProcIndex = -1;  // position of the command in the process-data list
    int32_t Value = 0;

protected:
    void Init(const void *value, int length, double timeStamp, bool flag) override;
};
