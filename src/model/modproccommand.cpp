#include "modproccommand.h"

#include <QLocale>

QString TModProcCommand::ValueText() const
{
    const double divisor = CompFactor != 0 ? CompFactor : 1;
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(RawValue / divisor, 'f', 2);
}

void TModProcCommand::AssignTo(TModBaseCommand *dest) const
{
    TModBaseCommand::AssignTo(dest);
    if (auto *proc = dynamic_cast<TModProcCommand *>(dest); proc && proc->CmdType() == CmdType()) {
        proc->CompFactor = CompFactor;
        proc->PhysUnit = PhysUnit;
    }
}
