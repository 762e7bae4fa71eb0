#include "ctlmonitor.h"

#include "asciiprocdataobj.h"
#include "modstatusinfodata.h"

#include <QStringList>

namespace {

template <typename T>
QString HexOrUnknown(const std::optional<T> &value, int digits)
{
    return value ? QStringLiteral("0x%1").arg(unsigned(*value), digits, 16, QLatin1Char('0')) : QStringLiteral("?");
}

} // namespace

void TCtlMonitor::AssignProcessData(const TModProcessData *processData)
{
    if (processData)
        processData->CopyTo(FProcessData);
    else
        FProcessData.Clear();
    BeginPass();
}

void TCtlMonitor::AssignStatusInfo(const TModStatusInfoData *statusInfo)
{
    FStatusShown = statusInfo && statusInfo->Count() > 0;
}

void TCtlMonitor::UpdateProcessValue(const TASCIIProcDataObj &sample)
{
    TModProcCommand *proc = FProcessData.ProcCommand(sample.ProcIndex);
    if (!proc)
        return;
    proc->RawValue = sample.Value;
    FReceived[size_t(sample.ProcIndex)] = true;
}

void TCtlMonitor::UpdateStatus(uint16_t ledMask)
{
    FStatusMask = ledMask;
}

void TCtlMonitor::BeginPass()
{
    FReceived.assign(size_t(FProcessData.Count()), false);
    FStatusMask.reset();
    FInputs.reset();
}

QString TCtlMonitor::PassText() const
{
    QStringList items;
    for (int i = 0; i < FProcessData.Count(); ++i) {
        const TModProcCommand *proc = FProcessData.ProcCommand(i);
        if (!proc)
            continue;
        const QString value = FReceived[size_t(i)] ? proc->ValueText() : QStringLiteral("?");
        items << (proc->Name + QLatin1Char('=') + value + QLatin1Char(' ') + proc->PhysUnit).trimmed();
    }
    if (FStatusShown)
        items << "status=" + HexOrUnknown(FStatusMask, 4);
    if (FInputsShown)
        items << "inputs=" + HexOrUnknown(FInputs, 2);
    return items.join(QLatin1Char(' '));
}
