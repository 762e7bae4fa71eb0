#pragma once

#include "baseprocdataobj.h"

#include <QByteArray>

// All process values at once, from a packet: two header bytes, then one 16-bit word per value.
// Value i belongs to entry i of the process-data list.
class TBINProcDataObj : public TBaseProcDataObj {
public:
    // swap: the words arrive big-endian instead of little-endian.
    TBINProcDataObj(const void *packet, int length, double timeStamp, bool swap);
    TBINProcDataObj(const QByteArray &packet, double timeStamp, bool swap);

    uint8_t Header0 = 0;
    uint8_t Header1 = 0;

protected:
    // A packet shorter than two bytes gives no values and only the header bytes it holds.
    void Init(const void *packet, int length, double timeStamp, bool swap) override;
};
