#include "binprocdataobj.h"

TBINProcDataObj::TBINProcDataObj(const void *packet, int length, double timeStamp, bool swap)
{
    TBINProcDataObj::Init(packet, length, timeStamp, swap);
}

TBINProcDataObj::TBINProcDataObj(const QByteArray &packet, double timeStamp, bool swap)
{
    TBINProcDataObj::Init(packet.constData(), int(packet.size()), timeStamp, swap);
}

void TBINProcDataObj::Init(const void *packet, int length, double timeStamp, bool swap)
{
    TimeStamp = timeStamp;
    const auto *bytes = static_cast<const uint8_t *>(packet);
    if (!bytes || length < 0)
        length = 0;
    Header0 = length > 0 ? bytes[0] : 0;
    Header1 = length > 1 ? bytes[1] : 0;
    Count = length >= 2 ? (length - 2) / 2 : 0;
    Values.resize(size_t(Count));
    for (int i = 0; i < Count; ++i) {
        const uint8_t first = bytes[2 + 2 * i];
        const uint8_t second = bytes[3 + 2 * i];
        Values[size_t(i)] = swap ? (first << 8) | second : (second << 8) | first;
    }
}
