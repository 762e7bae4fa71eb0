#include "answersplit.h"

#include "modainparacmd.h"
#include "modccparacmd.h"
#include "modnumparacmd.h"
#include "modremotectrlcmd.h"
#include "modtext.h"
#include "modtextparacmd.h"

namespace {

void ApplyCurve(TModCCParaCmd &curve, const QStringList &items)
{
    int32_t index = 0;
    TCCPoint point;
    if (items.size() == 3 && TryStrToInt32(items[0], index) && TryStrToInt32(items[1], point.X)
        && TryStrToInt32(items[2], point.Y) && index >= TModCCParaCmd::MinPoint
        && index <= TModCCParaCmd::MaxPoint)
        curve.SetPoint(index, point);
}

void ApplyAnalogInput(TModAinParaCmd &ain, const QStringList &items)
{
    if (items.isEmpty() || items.size() > 4)
        return;
    int32_t *const gains[] = {&ain.A, &ain.B, &ain.C};
    for (qsizetype i = 0; i < qMin<qsizetype>(items.size(), 3); ++i)
        TryStrToInt32(items[i], *gains[i]);
    if (items.size() == 4) {
        static const QStringList CurrentUnits = {QStringLiteral("C"), QStringLiteral("c"),
                                                 QStringLiteral("I"), QStringLiteral("i")};
        ain.X = CurrentUnits.contains(items[3]) ? 1 : 0;
    }
}

} // namespace

bool SplitAnswer(const QString &answer, QString &name, QStringList &items)
{
    items.clear();
    if (answer.isEmpty() || answer.contains(QLatin1String("command error")))
        return false;
    QString text = answer;
    if (text.endsWith(u'>'))
        text.chop(1);
    if (text.endsWith(QLatin1String("CMD")))
        text.chop(3);
    items = SplitFields(TrimControl(text), u',', true);
    items.removeAll(QString());
    if (items.isEmpty())
        return false;
    if (name.isEmpty())
        name = items.takeFirst();
    else
        items[0].replace(name, QString());
    return true;
}

bool ApplyValues(TModBaseCommand *cmd, const QStringList &items)
{
    if (!cmd)
        return false;
    if (auto *text = dynamic_cast<TModTextParaCmd *>(cmd)) {
        if (items.size() == 1)
            text->SetTxt(items[0]);
    } else if (auto *num = dynamic_cast<TModNumParaCmd *>(cmd)) {
        if (items.size() == 1)
            TryStrToInt32(items[0], num->Val);
    } else if (auto *curve = dynamic_cast<TModCCParaCmd *>(cmd)) {
        ApplyCurve(*curve, items);
    } else if (auto *ain = dynamic_cast<TModAinParaCmd *>(cmd)) {
        ApplyAnalogInput(*ain, items);
    } else if (auto *remote = dynamic_cast<TModRemoteCtrlCmd *>(cmd)) {
        if (items.size() == 1)
            TryStrToInt32(items[0], remote->Val);
    }
    return true;
}
