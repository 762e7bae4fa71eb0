// Legacy parameter file (.par) of TKSVModCommProt: saving the command list and loading a file
// into the module, or into the offline list when the port is closed.
#include "ksvmodcommprot.h"

#include "answersplit.h"
#include "modcommandlist.h"
#include "modctrlcommand.h"
#include "modid.h"
#include "parafile.h"

namespace {

enum TParaDownloadResult : int {
    pdDone = 0,
    pdNoCmdList = 2,
    pdOtherModule = 3,
    pdUnusable = 4,
};

} // namespace

bool TKSVModCommProt::SaveParaFile(const QString &Path)
{
    if (!FCmdList || !FCmdListValid)
        return false;
    return TParaFile::Save(Path, FModId, *FCmdList);
}

int TKSVModCommProt::DownloadParaFile(const QString &Path, bool IgnoreIdMismatch)
{
    if (!FCmdList || !FCmdListValid)
        return pdNoCmdList;
    TParaFile file;
    if (!file.Load(Path))
        return pdUnusable;
    if (!IgnoreIdMismatch) {
        QString fileType;
        QString moduleType;
        GetModType(moduleType);
        if (!ParseModId(file.IdText(), fileType) || fileType != moduleType)
            return pdOtherModule;
    }
    QStringList errList;
    if (file.HasParaBlock()) {
        for (const QString &line : file.ParaBlock()) {
            // A write that made the module identify again without success took the list away.
            if (!FCmdListValid)
                break;
            QString name;
            QStringList items;
            TModCtrlCommand *cmd = nullptr;
            if (!TParaFile::ResolveParaLine(line, *FCmdList, name, items, cmd))
                continue;
            if (!cmd) {
                errList << name;
                continue;
            }
            ApplyValues(cmd, items);
            if (PortOpen())
                WritePara(cmd);
            else
                cmd->Changed();
        }
    } else if (file.HasDownloadBlock()) {
        QString block;
        if (!file.DownloadBlock(block) || !DownloadBlock(block))
            return pdUnusable;
    } else {
        // Neither block: nothing in the file could be loaded.
        return pdUnusable;
    }
    if (!errList.isEmpty() && OnParaDownloadError)
        OnParaDownloadError(this, errList);
    return pdDone;
}
