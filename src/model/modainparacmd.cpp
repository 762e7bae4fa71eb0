#include "modainparacmd.h"

#include "cmdtables.h"
#include "modtext.h"

QString TModAinParaCmd::ValueText() const
{
    QString line(22, u' ');
    PlaceRightAligned(line, QString::number(A), 6);
    PlaceRightAligned(line, QString::number(B), 13);
    PlaceRightAligned(line, QString::number(C), 20);
    PlaceRightAligned(line, size_t(X) < AinUnitNames.size() ? AinUnitNames[X] : QString(), 22);
    return line;
}

void TModAinParaCmd::AssignTo(TModBaseCommand *dest) const
{
    TModCtrlCommand::AssignTo(dest);
    if (auto *ain = dynamic_cast<TModAinParaCmd *>(dest); ain && ain->CmdType() == CmdType()) {
        ain->A = A;
        ain->B = B;
        ain->C = C;
        ain->X = X;
    }
}
