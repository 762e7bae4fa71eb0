// The file commands of TKsvCtl: backup, restore and offline data.
#include "ksvctl.h"

#include "ksvmodcommprot.h"
#include "osksvcmddom.h"

#include <QFileInfo>

namespace {

enum TFileKind { fkOther, fkKsv, fkPar };

constexpr int DownloadDone = 0;
constexpr int DownloadNoCmdList = 2;
constexpr int DownloadNoModuleData = 3;

TFileKind KindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "ksv" ? fkKsv : suffix == "par" ? fkPar : fkOther;
}

QString NumberedIds(const QStringList &ids)
{
    QStringList numbered;
    for (int i = 0; i < ids.size(); ++i)
        numbered << QStringLiteral("%1 = %2").arg(i + 1).arg(ids[i]);
    return numbered.join(QStringLiteral(", "));
}

} // namespace

int TKsvCtl::RunBackup()
{
    const QString path = FOptions.Args[0];
    const TFileKind kind = KindOf(path);
    if (kind == fkOther)
        return UsageFail("the backup file " + path + " must end in .ksv or .par");
    // A .par file holds one module only, so replacing it needs the same consent as replacing
    // a module's entry in a .ksv file.
    if (kind == fkPar && QFileInfo::exists(path) && !FOptions.Force)
        return Fail(ecFile, path + " exists already; use --force to replace it");
    if (!Identify())
        return FFailCode;
    if (kind == fkPar) {
        if (!FEngine->SaveParaFile(path))
            return Fail(ecFile, "could not write " + path);
    } else if (!FEngine->SaveCmdListFile(path)) {
        if (FOverwriteAsked && !FOptions.Force)
            return Fail(ecFile, path + " holds data of the module " + FEngine->ModId() +
                                    " already; use --force to replace it");
        return Fail(ecFile, "could not write " + path + " (an existing file must be a command-list file)");
    }
    Out() << "Data saved in \"" << path << "\"\n";
    return ecOk;
}

int TKsvCtl::RunRestore()
{
    const QString path = FOptions.Args[0];
    const TFileKind kind = KindOf(path);
    if (kind == fkOther)
        return UsageFail("the file " + path + " must end in .ksv or .par");
    if (kind == fkKsv && FOptions.IgnoreId)
        return UsageFail("--ignore-id applies to .par files only");
    if (kind == fkPar && FOptions.Module > 0)
        return UsageFail("--module applies to .ksv files only");
    if (!QFileInfo(path).isFile())
        return Fail(ecFile, "cannot read " + path);
    if (!Identify())
        return FFailCode;
    // The second run settles values whose limits or visibility depend on others.
    int code = DownloadDone;
    for (int run = 0; run < 2 && code == DownloadDone; ++run)
        code = kind == fkKsv ? FEngine->DownloadCmdListFile(path) : FEngine->DownloadParaFile(path, FOptions.IgnoreId);
    return RestoreResult(code, kind == fkKsv, path);
}

int TKsvCtl::RestoreResult(int code, bool ksvFile, const QString &path)
{
    if (code == DownloadNoCmdList)
        return Fail(ecModule, "no module is identified on " + Where());
    if (code == DownloadNoModuleData && ksvFile) {
        if (FOptions.Module > FFileModuleIds.size())
            return Fail(ecFile, QStringLiteral("%1 holds %2 modules; there is no module %3")
                                    .arg(path)
                                    .arg(FFileModuleIds.size())
                                    .arg(FOptions.Module));
        if (!FFileModuleIds.isEmpty() && FOptions.Module == 0)
            return Fail(ecFile, path + " holds no data of the module " + FEngine->ModId() +
                                    "; choose one with --module N (" + NumberedIds(FFileModuleIds) + ")");
        return Fail(ecFile, path + " holds no data of the module " + FEngine->ModId());
    }
    if (code == DownloadNoModuleData)
        return Fail(ecFile, path + " was saved from another module type than " + FEngine->ModId() +
                                "; use --ignore-id to load it anyway");
    if (code != DownloadDone)
        return Fail(ecFile, path + " is not a usable parameter file, or the module did not take its block");
    for (const QString &name : FUnknownNames)
        Fail(ecFile, "the module on " + Where() + " does not know the command " + name + " of " + path);
    if (!FUnknownNames.isEmpty())
        return ecFile;
    Out() << "Data restored from \"" << path << "\"\n";
    return ecOk;
}

int TKsvCtl::RunOffline()
{
    const QString path = FOptions.Args[0];
    if (KindOf(path) != fkKsv)
        return UsageFail("offline data comes from a .ksv file, not " + path);
    if (!QFileInfo(path).isFile())
        return Fail(ecFile, "cannot read " + path);
    QStringList ids;
    TosKSVCmdDOM dom;
    if (!dom.GetModuleIds(path, ids))
        return Fail(ecFile, path + " is not a usable command-list file");
    if (FOptions.Module > ids.size())
        return Fail(ecFile, QStringLiteral("%1 holds %2 modules; there is no module %3")
                                .arg(path)
                                .arg(ids.size())
                                .arg(FOptions.Module));
    if (!FEngine->LoadOfflineCmdList(path))
        return Fail(ecFile, path + " holds no complete module description");
    PrintSummary(true);
    PrintRows();
    return ecOk;
}
