#include "modccparacmd.h"

#include "modtext.h"

TCCPoint TModCCParaCmd::GetPoint(int i) const
{
    return InRange(i) ? FPoints[i - MinPoint] : TCCPoint{};
}

void TModCCParaCmd::SetPoint(int i, TCCPoint point)
{
    if (InRange(i))
        FPoints[i - MinPoint] = point;
}

QString TModCCParaCmd::PointText(int i) const
{
    const TCCPoint point = GetPoint(i);
    QString line(13, u' ');
    PlaceRightAligned(line, QString::number(point.X), 6);
    PlaceRightAligned(line, QString::number(point.Y), 13);
    return line;
}

QString TModCCParaCmd::ValueText() const
{
    return QStringLiteral("characteristic curve");
}

void TModCCParaCmd::AssignTo(TModBaseCommand *dest) const
{
    TModCtrlCommand::AssignTo(dest);
    if (auto *curve = dynamic_cast<TModCCParaCmd *>(dest); curve && curve->CmdType() == CmdType())
        curve->FPoints = FPoints;
}
