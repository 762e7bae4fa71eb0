#include "asciiprocdataobj.h"

TASCIIProcDataObj::TASCIIProcDataObj(const int32_t *value, int length, double timeStamp, bool flag)
{
    TASCIIProcDataObj::Init(value, length, timeStamp, flag);
}

TASCIIProcDataObj::TASCIIProcDataObj(int32_t value, double timeStamp, int32_t procIndex)
    : ProcIndex(procIndex)
{
    TASCIIProcDataObj::Init(&value, int(sizeof value), timeStamp, false);
}

void TASCIIProcDataObj::Init(const void *value, int, double timeStamp, bool)
{
    TimeStamp = timeStamp;
    Value = value ? *static_cast<const int32_t *>(value) : 0;
}
