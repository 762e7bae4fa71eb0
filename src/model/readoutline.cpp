#include "readoutline.h"

#include "cmdtables.h"
#include "modcommandfactory.h"
#include "modctrlcommand.h"
#include "modproccommand.h"
#include "modstatusbitcommand.h"
#include "modtext.h"

#include <QStringList>

namespace {

enum TReadoutField { rfAType, rfType, rfName, rfList, rfHelp, rfVType, rfLow, rfHigh, rfGroups };

constexpr int MinFields = 6;
constexpr int ClassFields = 8;
constexpr int GroupFields = 9;

// Stores the integer in text through set; leaves the target alone otherwise.
template <typename Set>
void SetIfInteger(const QString &text, Set set)
{
    int32_t value = 0;
    if (TryStrToInt32(text, value))
        set(value);
}

void SetClassFields(TModBaseCommand &cmd, const QStringList &f)
{
    if (auto *proc = dynamic_cast<TModProcCommand *>(&cmd)) {
        proc->PhysUnit = f[rfList];
        SetIfInteger(f[rfHigh], [&](int32_t v) { proc->CompFactor = v; });
    } else if (auto *bit = dynamic_cast<TModStatusBitCommand *>(&cmd)) {
        SetIfInteger(f[rfLow], [&](int32_t v) { bit->BIndex = uint8_t(v); });
        SetIfInteger(f[rfHigh], [&](int32_t v) {
            bit->BActive = v & 1;
            bit->BInvers = v & 2;
            bit->BColor = uint8_t((v >> 2) & 3);
        });
        bit->HintText = f[rfHelp];
    } else if (auto *ctrl = dynamic_cast<TModCtrlCommand *>(&cmd)) {
        ctrl->VList = SplitValueList(f[rfList]);
        SetIfInteger(f[rfLow], [&](int32_t v) { ctrl->Min = v; });
        SetIfInteger(f[rfHigh], [&](int32_t v) { ctrl->Max = v; });
    }
}

void SetCommonFields(TModBaseCommand &cmd, const QStringList &f)
{
    SetIfInteger(f[rfAType], [&](int32_t v) { cmd.AType = uint8_t(v); });
    cmd.Help = f[rfHelp];
    SetIfInteger(f[rfVType], [&](int32_t v) { cmd.VType = uint8_t(v); });
    cmd.Name = f[rfName];
    cmd.GCode = DefaultGroupMask;
    if (f.size() >= GroupFields)
        SetIfInteger(f[rfGroups], [&](int32_t v) { cmd.GCode = uint16_t(v); });
}

} // namespace

std::unique_ptr<TModBaseCommand> ParseReadoutLine(const QString &line)
{
    QString text = TrimControl(line);
    if (text.isEmpty())
        return nullptr;
    if (text.endsWith(u'\\'))
        text.chop(1);
    const QStringList fields = SplitProtected(text, u'\\');
    if (fields.size() < MinFields)
        return nullptr;
    int32_t typeCode = 0;
    if (!TryStrToInt32(fields[rfType], typeCode))
        return nullptr;
    std::unique_ptr<TModBaseCommand> cmd = NewModCommand(uint8_t(typeCode));
    if (!cmd)
        return nullptr;
    if (fields.size() >= ClassFields)
        SetClassFields(*cmd, fields);
    SetCommonFields(*cmd, fields);
    return cmd;
}
