#include "ksvmodcommprot.h"
#include "ksvmonitorintf.h"
#include "ksvparamlistintf.h"
#include "ksvscopeintf.h"
#include "modcommandlist.h"
#include "modnumparacmd.h"
#include "modprocessdata.h"
#include "modremotectrlcommandlist.h"
#include "modstatusinfodata.h"
#include "modtextparacmd.h"
#include "modccparacmd.h"
#include "modulesimulator.h"
#include "osksvcmddom.h"
#include "ptypeer.h"
#include "simulatedengine.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Remembers what the last rebuild listed, so a test can see that the grid never keeps
// commands the engine has freed.
class RecordingGrid : public TKSVParamListIntf {
public:
    void BuildRows(TModCommandList *cmdList, int accessCode) override
    {
        ++Builds;
        Rows.clear();
        for (int i = 0; i < cmdList->Count(); ++i)
            Rows << cmdList->GetString(i);
        Code = accessCode;
    }
    void SetOnCmdSendRequest(TCmdSendRequestEvent) override {}
    int Builds = 0;
    QStringList Rows;
    int Code = -2;
};

class RecordingMonitor : public TKSVMonitorIntf {
public:
    void AssignProcessData(const TModProcessData *processData) override { ProcessValues = processData->Count(); }
    void AssignStatusInfo(const TModStatusInfoData *statusInfo) override { StatusBits = statusInfo->Count(); }
    void UpdateProcessValue(const TASCIIProcDataObj &) override {}
    void UpdateStatus(uint16_t) override {}
    int ProcessValues = -1;
    int StatusBits = -1;
};

class RecordingScope : public TKSVScopeIntf {
public:
    void SetEnabled(bool) override {}
    void AssignProcessData(const TModProcessData *processData) override { Channels = processData->Count(); }
    void AddChannelSamples(const std::array<const TASCIIProcDataObj *, 4> &) override {}
    int DataSampleRate() const override { return 100; }
    QString Signal(int) const override { return {}; }
    int Channels = -1;
};

// One module's lists, written into a file as the given module.
struct TModuleFile {
    TModCommandList CmdList;
    TModProcessData ProcessData;
    TModStatusInfoData StatusInfo;
    TModRemoteCtrlCommandList RemoteCtrlCmds;

    TModuleFile(int32_t p1, const QString &t1, bool withRemote = true)
    {
        auto *num = new TModNumParaCmd;
        num->Name = "P1";
        num->Max = 1000;
        num->Val = p1;
        CmdList.Add(num);
        auto *text = new TModTextParaCmd;
        text->Name = "T1";
        text->VList = {"ON", "OFF"};
        text->SetTxt(t1);
        CmdList.Add(text);
        auto *proc = new TModProcCommand;
        proc->Name = "X:VAL";
        ProcessData.Add(proc);
        auto *bit = new TModStatusBitCommand;
        bit->Name = "ST:READY";
        StatusInfo.Add(bit);
        if (withRemote) {
            auto *remote = new TModRemoteCtrlCmd;
            remote->Name = "RC:6";
            RemoteCtrlCmds.Add(remote);
        }
    }

    bool SaveAs(const QString &path, const QString &id)
    {
        TosKSVCmdDOM dom;
        dom.CmdList = &CmdList;
        dom.ProcessData = &ProcessData;
        dom.StatusInfo = &StatusInfo;
        dom.RemoteCtrlCmds = &RemoteCtrlCmds;
        return dom.SaveModule(path, id);
    }
};

// The engine with its port closed, as when a user works on offline data.
class CmdListFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine.SetParameterList(&grid);
        engine.SetMonitor(&monitor);
        engine.SetScope(&scope);
        ASSERT_TRUE(TModuleFile(100, "ON").SaveAs(Path("one.ksv"), "KSV100 1.0"));
        ASSERT_TRUE(TModuleFile(200, "ON").SaveAs(Path("two.ksv"), "KSV100 1.0"));
        ASSERT_TRUE(TModuleFile(300, "OFF").SaveAs(Path("two.ksv"), "KSV200 2.0"));
    }

    QString Path(const QString &name) const { return Dir.filePath(name); }

    QByteArray Read(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TModNumParaCmd *P1() const
    {
        return dynamic_cast<TModNumParaCmd *>(engine.CmdList()->Command(engine.CmdList()->IndexOf("P1")));
    }

    QTemporaryDir Dir;
    TKSVModCommProt engine;
    RecordingGrid grid;
    RecordingMonitor monitor;
    RecordingScope scope;
};

TEST_F(CmdListFileTest, OfflineLoadFillsTheListsAndTheViews)
{
    int asked = 0;
    engine.OnModIdSelRequest = [&](TKSVModCommProt *, const QStringList &, int &) { ++asked; };
    ASSERT_TRUE(engine.LoadOfflineCmdList(Path("one.ksv")));
    EXPECT_EQ(asked, 0); // one module: no choice
    EXPECT_TRUE(engine.CmdListValid());
    EXPECT_EQ(engine.ModId(), "KSV100 1.0");
    EXPECT_EQ(engine.CmdList()->Count(), 2);
    ASSERT_NE(P1(), nullptr);
    EXPECT_EQ(P1()->Val, 100);
    EXPECT_EQ(grid.Rows, QStringList({"P1", "T1"}));
    EXPECT_EQ(grid.Code, -1);
    EXPECT_EQ(monitor.ProcessValues, 1);
    EXPECT_EQ(monitor.StatusBits, 1);
    EXPECT_EQ(scope.Channels, 1);
    EXPECT_TRUE(engine.RemoteCtrlSupported());
    EXPECT_FALSE(engine.RemoteCtrlActive());
}

TEST_F(CmdListFileTest, TwoModulesAreOfferedForChoice)
{
    QStringList offered;
    engine.OnModIdSelRequest = [&](TKSVModCommProt *, const QStringList &ids, int &index) {
        offered = ids;
        index = 1;
    };
    ASSERT_TRUE(engine.LoadOfflineCmdList(Path("two.ksv")));
    EXPECT_EQ(offered, QStringList({"KSV100 1.0", "KSV200 2.0"}));
    EXPECT_EQ(engine.ModId(), "KSV200 2.0");
    EXPECT_EQ(P1()->Val, 300);

    engine.OnModIdSelRequest = nullptr; // without a handler the first module is taken
    ASSERT_TRUE(engine.LoadOfflineCmdList(Path("two.ksv")));
    EXPECT_EQ(engine.ModId(), "KSV100 1.0");
    EXPECT_EQ(P1()->Val, 200);
}

TEST_F(CmdListFileTest, NoChoiceOrNoFileKeepsTheLoadedList)
{
    ASSERT_TRUE(engine.LoadOfflineCmdList(Path("one.ksv")));
    const int builds = grid.Builds;
    for (int choice : {-1, 2}) {
        engine.OnModIdSelRequest = [choice](TKSVModCommProt *, const QStringList &, int &index) { index = choice; };
        EXPECT_FALSE(engine.LoadOfflineCmdList(Path("two.ksv"))) << choice;
    }
    EXPECT_FALSE(engine.LoadOfflineCmdList(Path("missing.ksv")));
    EXPECT_TRUE(engine.CmdListValid());
    EXPECT_EQ(engine.ModId(), "KSV100 1.0");
    EXPECT_EQ(P1()->Val, 100);
    EXPECT_EQ(grid.Builds, builds);
}

TEST_F(CmdListFileTest, FailedModuleLoadLeavesNoFreedCommandsInTheGrid)
{
    ASSERT_TRUE(engine.LoadOfflineCmdList(Path("one.ksv")));
    ASSERT_TRUE(TModuleFile(5, "ON", false).SaveAs(Path("partial.ksv"), "KSV300"));
    QByteArray bytes = Read(Path("partial.ksv"));
    bytes.replace("    <RemoteCtrl/>\n", ""); // the module element lacks its last section
    QFile file(Path("partial.ksv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    EXPECT_FALSE(engine.LoadOfflineCmdList(Path("partial.ksv")));
    EXPECT_FALSE(engine.CmdListValid());
    EXPECT_FALSE(engine.RemoteCtrlSupported());
    EXPECT_EQ(engine.CmdList()->Count(), 0);
    EXPECT_EQ(engine.ProcessData()->Count(), 0);
    EXPECT_TRUE(grid.Rows.isEmpty()); // rebuilt from the emptied list
}

TEST_F(CmdListFileTest, OfflineLoadNeedsTheClosedPort)
{
    PtyPeer peer;
    engine.SetPortName(peer.SlavePath());
    engine.SetPortOpen(true);
    ASSERT_TRUE(engine.PortOpen());
    EXPECT_FALSE(engine.LoadOfflineCmdList(Path("one.ksv")));
    EXPECT_FALSE(engine.CmdListValid());
    engine.SetPortOpen(false);
}

TEST_F(CmdListFileTest, ValuesOfTheSameModuleInAnyCaseAreShownWithoutQuestions)
{
    ASSERT_TRUE(engine.LoadOfflineCmdList(Path("one.ksv")));
    int changed = 0;
    P1()->OnChange = [&](TModCtrlCommand *) { ++changed; };
    int questions = 0;
    engine.OnInfoMsg = [&](TKSVModCommProt *, TKSVCommProtMsgKind, int &) { ++questions; };
    engine.OnModIdSelRequest = [&](TKSVModCommProt *, const QStringList &, int &) { ++questions; };
    QStringList reported;
    engine.OnParaDownloadError = [&](TKSVModCommProt *, const QStringList &names) { reported = names; };

    TModuleFile other(777, "OFF");
    auto *extra = new TModNumParaCmd;
    extra->Name = "NEW1";
    other.CmdList.Add(extra);
    ASSERT_TRUE(other.SaveAs(Path("values.ksv"), "ksv100 1.0"));

    EXPECT_EQ(engine.DownloadCmdListFile(Path("values.ksv")), 0);
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(P1()->Val, 777);
    EXPECT_EQ(changed, 1); // the row is refreshed
    EXPECT_EQ(dynamic_cast<TModTextParaCmd *>(engine.CmdList()->Command(1))->Txt(), "OFF");
    EXPECT_EQ(reported, QStringList({"NEW1"}));
}

TEST_F(CmdListFileTest, ValuesOfAnotherModuleNeedConsent)
{
    ASSERT_TRUE(engine.LoadOfflineCmdList(Path("one.ksv")));
    ASSERT_TRUE(TModuleFile(555, "OFF").SaveAs(Path("other.ksv"), "KSV900"));
    struct TCase {
        int Answer;
        int Choice;
        int Result;
        int32_t P1;
    };
    const TCase cases[] = {{2, 0, 3, 100}, {1, 3, 3, 100}, {1, 0, 0, 555}};
    for (const TCase &c : cases) {
        QList<TKSVCommProtMsgKind> kinds;
        engine.OnInfoMsg = [&](TKSVModCommProt *, TKSVCommProtMsgKind kind, int &answer) {
            kinds << kind;
            answer = c.Answer;
        };
        engine.OnModIdSelRequest = [&](TKSVModCommProt *, const QStringList &, int &index) { index = c.Choice; };
        EXPECT_EQ(engine.DownloadCmdListFile(Path("other.ksv")), c.Result) << c.Answer << c.Choice;
        EXPECT_EQ(kinds, QList<TKSVCommProtMsgKind>({cpmkImpFktNoValidModulId}));
        EXPECT_EQ(P1()->Val, c.P1) << c.Answer << c.Choice;
    }
    engine.OnInfoMsg = nullptr; // nobody to ask: no compatible data
    EXPECT_EQ(engine.DownloadCmdListFile(Path("other.ksv")), 3);
}

TEST_F(CmdListFileTest, DownloadNeedsAListAndAUsableFile)
{
    EXPECT_EQ(engine.DownloadCmdListFile(Path("one.ksv")), 2);
    ASSERT_TRUE(engine.LoadOfflineCmdList(Path("one.ksv")));
    QFile file(Path("broken.ksv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<ZOLT-ModulCmdList version=\"2.0\"/>");
    file.close();
    EXPECT_EQ(engine.DownloadCmdListFile(Path("broken.ksv")), 4);
    EXPECT_EQ(engine.DownloadCmdListFile(Path("missing.ksv")), 4);
}

TEST_F(CmdListFileTest, SavingAsksBeforeReplacingTheModule)
{
    EXPECT_FALSE(engine.SaveCmdListFile(Path("saved.ksv"))); // nothing loaded: nothing to save
    EXPECT_FALSE(QFile::exists(Path("saved.ksv")));

    ASSERT_TRUE(engine.LoadOfflineCmdList(Path("one.ksv")));
    int questions = 0;
    int answer = 2;
    engine.OnInfoMsg = [&](TKSVModCommProt *, TKSVCommProtMsgKind kind, int &result) {
        EXPECT_EQ(kind, cpmkImpFktOverWriteQuestion);
        ++questions;
        result = answer;
    };
    ASSERT_TRUE(engine.SaveCmdListFile(Path("saved.ksv")));
    EXPECT_EQ(questions, 0); // a new module: no question
    const QByteArray first = Read(Path("saved.ksv"));

    P1()->Val = 999;
    EXPECT_FALSE(engine.SaveCmdListFile(Path("saved.ksv"))); // Cancel
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(Read(Path("saved.ksv")), first);
    answer = 1;
    EXPECT_TRUE(engine.SaveCmdListFile(Path("saved.ksv")));
    EXPECT_EQ(questions, 2);
    EXPECT_TRUE(Read(Path("saved.ksv")).contains("<Para Val=\"999\"/>"));

    // The engine's lists are what the file holds afterwards.
    TKSVModCommProt reader;
    ASSERT_TRUE(reader.LoadOfflineCmdList(Path("saved.ksv")));
    EXPECT_EQ(reader.ModId(), "KSV100 1.0");
    EXPECT_EQ(reader.CmdList()->Count(), 2);
}

// Save and import against the simulated module: the values of the file go back into the module.
TEST(CmdListFileSimulator, ImportingASavedFileRestoresTheModuleSet)
{
    QTemporaryDir dir;
    SimulatedEngine module;
    ASSERT_NO_FATAL_FAILURE(module.Identify());
    TKSVModCommProt &engine = module.engine;
    auto *rampUp = module.Find<TModNumParaCmd>("RA_UP");
    auto *curve = module.Find<TModCCParaCmd>("CC");
    ASSERT_TRUE(rampUp && curve);
    const TCCPoint point5 = curve->GetPoint(5);
    rampUp->Val = 500;
    ASSERT_TRUE(engine.WritePara(rampUp));

    const QString path = dir.filePath("set.ksv");
    ASSERT_TRUE(engine.SaveCmdListFile(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    int makerCommands = 0;
    for (int i = 0; i < engine.CmdList()->Count(); ++i) {
        const TModBaseCommand *cmd = engine.CmdList()->Command(i);
        if (cmd->GCode & (1u << 6)) {
            ++makerCommands;
            EXPECT_FALSE(bytes.contains("Name=\"" + cmd->Name.toLatin1() + "\"")) << cmd->Name.toStdString();
        }
    }
    EXPECT_GT(makerCommands, 0); // the simulated module has calibration values of its maker
    rampUp->Val = 900;
    ASSERT_TRUE(engine.WritePara(rampUp));
    curve->SetPoint(5, {point5.X, point5.Y + 1});
    ASSERT_TRUE(engine.WritePara(curve));

    QStringList unknown{"not raised"};
    engine.OnParaDownloadError = [&](TKSVModCommProt *, const QStringList &names) { unknown = names; };
    EXPECT_EQ(engine.DownloadCmdListFile(path), 0);
    EXPECT_EQ(unknown, QStringList{"not raised"});
    ASSERT_TRUE(engine.CmdListValid());
    rampUp = module.Find<TModNumParaCmd>("RA_UP");
    curve = module.Find<TModCCParaCmd>("CC");
    ASSERT_TRUE(rampUp && curve);
    EXPECT_EQ(rampUp->Val, 500);
    EXPECT_EQ(curve->GetPoint(5), point5);
    engine.Disconnect();
    module.sim.Stop();
}

} // namespace
