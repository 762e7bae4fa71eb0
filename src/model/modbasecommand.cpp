#include "modbasecommand.h"

#include "cmdtables.h"
#include "modcommandfactory.h"

#include <QStringList>

void TModBaseCommand::AssignTo(TModBaseCommand *dest) const
{
    if (!dest || dest->CmdType() != CmdType())
        return;
    dest->AType = AType;
    dest->Name = Name;
    dest->Help = Help;
    dest->GCode = GCode;
    dest->VType = VType;
}

std::unique_ptr<TModBaseCommand> TModBaseCommand::Clone() const
{
    if (CmdType() == 10 || CmdType() == 11)
        return nullptr;
    std::unique_ptr<TModBaseCommand> copy = NewModCommand(CmdType());
    if (copy)
        AssignTo(copy.get());
    return copy;
}

QString TModBaseCommand::GroupNames() const
{
    QStringList names;
    for (int bit = 0; bit < int(CmdGroupNames.size()); ++bit)
        if (GCode & (1u << bit))
            names << CmdGroupNames[bit];
    return names.join(QStringLiteral(", "));
}
