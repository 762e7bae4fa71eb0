#include "modstatusbitcommand.h"

QString TModStatusBitCommand::ValueText() const
{
    return QString::number(StatusWord);
}

void TModStatusBitCommand::AssignTo(TModBaseCommand *dest) const
{
    TModBaseCommand::AssignTo(dest);
    auto *bit = dynamic_cast<TModStatusBitCommand *>(dest);
    if (!bit || bit->CmdType() != CmdType())
        return;
    bit->BActive = BActive;
    bit->StatusWord = StatusWord;
    bit->BIndex = BIndex;
    bit->HintText = HintText;
    bit->BInvers = BInvers;
    bit->BColor = BColor;
}

bool TModStatusBitCommand::IsOn() const
{
    const bool set = (uint32_t(StatusWord) >> (BIndex % 32)) & 1u;
    return set != BInvers;
}

QString TModStatusBitCommand::Caption() const
{
    const qsizetype colon = Name.indexOf(u':');
    return colon < 0 ? Name : Name.mid(colon + 1);
}
