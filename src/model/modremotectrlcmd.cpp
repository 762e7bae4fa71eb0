#include "modremotectrlcmd.h"

#include "cmdtables.h"

#include <array>

QString TModRemoteCtrlCmd::ValueText() const
{
    return QString::number(Val);
}

void TModRemoteCtrlCmd::AssignTo(TModBaseCommand *dest) const
{
    TModCtrlCommand::AssignTo(dest);
    if (auto *remote = dynamic_cast<TModRemoteCtrlCmd *>(dest); remote && remote->CmdType() == CmdType())
        remote->Val = Val;
}

int TModRemoteCtrlCmd::PinIndex() const
{
    static const std::array<QString, 5> PinCommands = {
        QStringLiteral("RC:910"), QStringLiteral("RC:6"), QStringLiteral("RC:13"),
        QStringLiteral("RC:14"),  QStringLiteral("RC:29"),
    };
    for (int i = 0; i < int(PinCommands.size()); ++i)
        if (Name == PinCommands[i])
            return i + 1;
    return 0;
}

QString TModRemoteCtrlCmd::PinName() const
{
    return RemotePinNames[PinIndex()];
}
