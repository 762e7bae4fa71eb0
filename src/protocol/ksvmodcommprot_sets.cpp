// Parameter-set commands of TKSVModCommProt: store, reload, defaults, block download, write all.
#include "ksvmodcommprot.h"

#include "modccparacmd.h"
#include "modcommandlist.h"
#include "modctrlcommand.h"

namespace {

constexpr uint8_t CodeText = 1;
constexpr uint8_t CodeNumeric = 2;
constexpr uint8_t CodeAnalogue = 7;

} // namespace

// A module that lists the memory command in its description takes it as a parameter with a
// value; otherwise the bare command word goes out.
bool TKSVModCommProt::RunMemoryCommand(const QString &Word, const QString &Sent, int TimeoutMs, bool ReadAllAfter)
{
    const int index = FCmdList->IndexOf(Word);
    if (index >= 0) {
        auto *listed = dynamic_cast<TModCtrlCommand *>(FCmdList->GetObject(index));
        return listed && WritePara(listed);
    }
    QString answer;
    if (!SendCmd(Sent + QLatin1Char('\r'), Word, TimeoutMs, answer))
        return false;
    return !ReadAllAfter || ReadAllParaValues();
}

bool TKSVModCommProt::SaveParameters()
{
    return RunMemoryCommand(QStringLiteral("SAVE"), QStringLiteral("SAVE"), 2000, false);
}

bool TKSVModCommProt::LoadBack()
{
    return RunMemoryCommand(QStringLiteral("LOADBACK"), QStringLiteral("Loadback"), 300, true);
}

bool TKSVModCommProt::LoadDefaults()
{
    return RunMemoryCommand(QStringLiteral("DEFAULT"), QStringLiteral("DEFAULT"), 200, true);
}

bool TKSVModCommProt::DownloadBlock(const QString &Block)
{
    QString answer;
    if (!SendCmd(QStringLiteral("DOWNLOAD\r"), QStringLiteral("DOWNLOAD"), 2000, answer, QStringLiteral("!")))
        return false;
    // Everything before "completed!" (the module's echo of the block, too) counts as echo.
    if (!SendCmd(Block + QLatin1Char('\r'), QStringLiteral("completed!"), 2000, answer))
        return false;
    RefreshParaView();
    return true;
}

bool TKSVModCommProt::WriteAllParas(QStringList *ErrList)
{
    if (ErrList)
        ErrList->clear();
    bool failed = false;
    QString answer;
    for (int i = 0; i < FCmdList->Count(); ++i) {
        TModBaseCommand *cmd = FCmdList->Command(i);
        if (!cmd)
            continue;
        const uint8_t type = cmd->CmdType();
        bool ok = true;
        if (type == CodeText || type == CodeNumeric || type == CodeAnalogue) {
            ok = SendCmd(cmd->Name + QLatin1Char(' ') + cmd->ValueText() + QLatin1Char('\r'), cmd->Name, 2000, answer);
            failed = failed || !ok;
        } else if (auto *curve = dynamic_cast<TModCCParaCmd *>(cmd)) {
            ok = SendCurve(curve); // a failed curve is listed but does not fail the whole
        } else {
            continue;
        }
        if (!ok && ErrList)
            ErrList->append(cmd->Name);
        ReportProgress(QStringLiteral("Writing values"), i + 1);
    }
    return FCmdList->Count() > 0 && !failed && ReadAllParaValues();
}
