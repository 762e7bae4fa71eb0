#include "modnumparacmd.h"

#include <QLocale>
#include <cstdlib>

QString TModNumParaCmd::ValueText() const
{
    return QString::number(Val);
}

void TModNumParaCmd::AssignTo(TModBaseCommand *dest) const
{
    TModCtrlCommand::AssignTo(dest);
    if (auto *num = dynamic_cast<TModNumParaCmd *>(dest); num && num->CmdType() == CmdType())
        num->Val = Val;
}

QString TModNumParaCmd::DecimalText() const
{
    // Integer arithmetic keeps every hundredth exact.
    const int64_t magnitude = std::llabs(int64_t(Val));
    return QStringLiteral("%1%2%3%4")
        .arg(Val < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(QLocale().decimalPoint())
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}
