#include "modtextparacmd.h"

void TModTextParaCmd::SetTxt(const QString &s)
{
    FTxt = VList.contains(s, Qt::CaseInsensitive) ? s : QString();
}

QString TModTextParaCmd::ValueText() const
{
    return FTxt;
}

void TModTextParaCmd::AssignTo(TModBaseCommand *dest) const
{
    TModCtrlCommand::AssignTo(dest);
    if (auto *text = dynamic_cast<TModTextParaCmd *>(dest); text && text->CmdType() == CmdType())
        text->SetTxt(FTxt);
}
