// Offline command-list file (.ksv) of TKSVModCommProt: loading a module's lists for offline work,
// importing values from a file and saving the current lists into a file.
#include "ksvmodcommprot.h"

#include "ksvmonitorintf.h"
#include "ksvscopeintf.h"
#include "modcommandlist.h"
#include "modctrlcommand.h"
#include "modremotectrlcommandlist.h"
#include "osksvcmddom.h"

namespace {

enum TCmdListDownloadResult : int {
    cdDone = 0,
    cdNoCmdList = 2,
    cdNoModuleData = 3,
    cdUnusable = 4,
};

constexpr int AnswerOk = 1;

// A DOM over the engine's own four lists, for the length of one operation.
void AttachLists(TosKSVCmdDOM &dom, const TKSVModCommProt &engine)
{
    dom.CmdList = engine.CmdList();
    dom.ProcessData = engine.ProcessData();
    dom.StatusInfo = engine.StatusInfo();
    dom.RemoteCtrlCmds = engine.RemoteCtrlCmds();
}

int IndexOfNoCase(const QStringList &ids, const QString &id)
{
    for (int i = 0; i < ids.size(); ++i)
        if (ids[i].compare(id, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

bool TKSVModCommProt::LoadOfflineCmdList(const QString &Path)
{
    if (PortOpen())
        return false;
    TosKSVCmdDOM dom;
    AttachLists(dom, *this);
    QStringList ids;
    if (!dom.GetModuleIds(Path, ids))
        return false;
    int index = 0;
    if (ids.size() > 1 && OnModIdSelRequest)
        OnModIdSelRequest(this, ids, index);
    if (index < 0 || index >= ids.size())
        return false;
    if (!dom.LoadModule(Path, ids[index])) {
        // The load may have emptied or half filled the lists: drop what is left and let the grid
        // forget the commands it showed.
        ClearCmdLists();
        FCmdListValid = false;
        FRemoteCtrlSupported = false;
        FRemoteCtrlActive = false;
        RebuildGrid(-1);
        return false;
    }
    FModId = ids[index];
    FCmdListValid = true;
    RebuildGrid(-1);
    if (FMonitor) {
        FMonitor->AssignProcessData(FProcessData.get());
        FMonitor->AssignStatusInfo(FStatusInfo.get());
    }
    if (FScope)
        FScope->AssignProcessData(FProcessData.get());
    FRemoteCtrlSupported = FRemoteCtrlCmds->Count() > 0;
    FRemoteCtrlActive = false;
    return true;
}

int TKSVModCommProt::DownloadCmdListFile(const QString &Path)
{
    if (!FCmdListValid)
        return cdNoCmdList;
    TosKSVCmdDOM dom;
    AttachLists(dom, *this);
    QStringList ids;
    if (!dom.GetModuleIds(Path, ids))
        return cdUnusable;
    int k = IndexOfNoCase(ids, FModId);
    if (k == -1 && OnInfoMsg && OnModIdSelRequest) {
        int answer = 0;
        OnInfoMsg(this, cpmkImpFktNoValidModulId, answer);
        if (answer == AnswerOk) {
            int index = 0;
            OnModIdSelRequest(this, ids, index);
            k = index;
        }
    }
    QStringList notFound;
    if (k < 0 || k >= ids.size() || !dom.LoadValues(Path, ids[k], &notFound))
        return cdNoModuleData;
    if (PortOpen()) {
        WriteAllParas(nullptr);
    } else {
        // Offline the values are only shown: every row refreshes through its command.
        for (int i = 0; i < FCmdList->Count(); ++i)
            if (auto *cmd = dynamic_cast<TModCtrlCommand *>(FCmdList->Command(i)))
                cmd->Changed();
    }
    if (!notFound.isEmpty() && OnParaDownloadError)
        OnParaDownloadError(this, notFound);
    return cdDone;
}

// Without a valid list there is nothing to save (and no identification to save it under).
bool TKSVModCommProt::SaveCmdListFile(const QString &Path)
{
    if (!FCmdListValid)
        return false;
    TosKSVCmdDOM dom;
    AttachLists(dom, *this);
    int answer = AnswerOk;
    if (OnInfoMsg && dom.ModuleExists(Path, FModId))
        OnInfoMsg(this, cpmkImpFktOverWriteQuestion, answer);
    return answer == AnswerOk && dom.SaveModule(Path, FModId);
}
