#include "modstatusinfodata.h"

int TModStatusInfoData::Add(TModStatusBitCommand *cmd)
{
    return cmd ? AddObject(cmd->Name, cmd) : -1;
}

TModStatusBitCommand *TModStatusInfoData::StatusBit(int i) const
{
    return dynamic_cast<TModStatusBitCommand *>(GetObject(i));
}

bool TModStatusInfoData::Update(uint16_t word, uint16_t &ledMask)
{
    ledMask = 0;
    for (int i = 0; i < Count(); ++i) {
        TModStatusBitCommand *bit = StatusBit(i);
        if (!bit)
            continue;
        bit->StatusWord = word;
        if (i < 16 && bit->IsOn())
            ledMask |= uint16_t(1u << i);
    }
    return Count() > 0;
}
