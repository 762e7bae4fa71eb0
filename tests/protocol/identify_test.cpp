#include "ksvmodcommprot.h"
#include "ksvparamlistintf.h"
#include "modccparacmd.h"
#include "modcommandlist.h"
#include "modnumparacmd.h"
#include "modprocessdata.h"
#include "modremotectrlcommandlist.h"
#include "modstatusinfodata.h"
#include "modtextparacmd.h"
#include "modulesimulator.h"
#include "ptypeer.h"
#include "simdemo.h"
#include "simlog.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

class CountingGrid : public TKSVParamListIntf {
public:
    void BuildRows(TModCommandList *cmdList, int accessCode) override
    {
        ++Builds;
        Rows = cmdList->Count();
        Code = accessCode;
    }
    void SetOnCmdSendRequest(TCmdSendRequestEvent handler) override { OnSend = std::move(handler); }
    int Builds = 0;
    int Rows = 0;
    int Code = -2;
    TCmdSendRequestEvent OnSend;
};

TSimOptions Unpaced(int rate = 9600)
{
    TSimOptions options;
    options.Pacing = false;
    options.BaudRate = rate;
    return options;
}

// The engine against the simulated module on a pseudo-terminal.
class SimEngineTest : public ::testing::Test {
protected:
    void StartModule(const TSimOptions &options)
    {
        sim = std::make_unique<TModuleSimulator>(options);
        engine.SetPortName(sim->Start());
        engine.SetParameterList(&grid);
    }
    void TearDown() override
    {
        engine.Disconnect();
        if (sim)
            sim->Stop();
    }

    template <typename T = TModBaseCommand>
    T *Find(const QString &name)
    {
        return dynamic_cast<T *>(engine.CmdList()->GetObject(engine.CmdList()->IndexOf(name)));
    }

    std::unique_ptr<TModuleSimulator> sim;
    TKSVModCommProt engine;
    CountingGrid grid;
};

} // namespace

TEST_F(SimEngineTest, ConnectFindsTheModuleRateAndIdentifies)
{
    StartModule(Unpaced(57600));
    engine.SetAutoSetBaudrate(false);
    ASSERT_TRUE(engine.Connect());
    EXPECT_EQ(engine.BaudRate(), mb57600); // found at the fourth attempt

    QString modId;
    ASSERT_TRUE(engine.Identify(modId));
    EXPECT_EQ(modId, engine.ModId());
    EXPECT_TRUE(engine.CmdListValid());
    EXPECT_GE(engine.CmdList()->Count(), 20);
    EXPECT_GE(engine.ProcessData()->Count(), 6);
    EXPECT_GE(engine.StatusInfo()->Count(), 6);
    EXPECT_EQ(engine.RemoteCtrlCmds()->Count(), 5);
    EXPECT_TRUE(engine.RemoteCtrlSupported());
    EXPECT_TRUE(engine.ModeInfoText().contains("SYSTEM"));
    EXPECT_GE(grid.Builds, 2);
    EXPECT_GE(grid.Code, 0);
    QString type;
    engine.GetModType(type);
    EXPECT_FALSE(type.isEmpty());
    EXPECT_TRUE(engine.ModIdUnchanged());
}

TEST_F(SimEngineTest, AutoSetBaudrateMovesModuleAndPort)
{
    StartModule(Unpaced(9600));
    engine.SetAutoBaudrate(mb115200);
    ASSERT_TRUE(engine.Connect());
    EXPECT_EQ(engine.BaudRate(), mb115200);
    EXPECT_EQ(sim->BaudRate(), 115200);
}

TEST_F(SimEngineTest, RateCheckAnsweredWith12GivesNoSwitch)
{
    StartModule(Unpaced(115200)); // asked for its own rate, the module answers "BR" with 12
    engine.SetAutoBaudrate(mb57600);
    EXPECT_TRUE(engine.Connect());
    EXPECT_EQ(engine.BaudRate(), mb115200);
    EXPECT_EQ(sim->BaudRate(), 115200);
}

TEST_F(SimEngineTest, HalfDuplexNeverDetectsAndRunsAt19200)
{
    TSimOptions options = Unpaced(19200);
    options.HalfDuplex = true;
    StartModule(options);
    engine.SetTransferMode(tmHalfDuplex);
    ASSERT_TRUE(engine.Connect());
    EXPECT_EQ(engine.BaudRate(), mb19200);
    QString modId;
    EXPECT_TRUE(engine.Identify(modId));
    EXPECT_FALSE(modId.isEmpty());
}

TEST_F(SimEngineTest, ModuleWithoutReadoutTakesTheDescriptionFromTheHandler)
{
    TSimOptions options = Unpaced();
    options.Readout = false;
    StartModule(options);
    engine.SetAutoSetBaudrate(false);
    QString seenId;
    engine.OnReadoutError = [&](TKSVModCommProt *, const QString &id, QStringList &lines) {
        seenId = id;
        for (const TSimEntry &entry : TSimDemo::Build().Entries)
            if (entry.App.isEmpty())
                lines << entry.ReadoutLine();
    };
    ASSERT_TRUE(engine.Connect());
    QString modId;
    EXPECT_TRUE(engine.Identify(modId));
    EXPECT_TRUE(seenId.contains("error"));
    EXPECT_GE(engine.CmdList()->Count(), 10);
    EXPECT_GE(engine.ProcessData()->Count(), 6);
    EXPECT_EQ(engine.ModId(), seenId);
}

TEST_F(SimEngineTest, WriteReadsTheModulesValueBack)
{
    StartModule(Unpaced());
    engine.SetAutoSetBaudrate(false);
    ASSERT_TRUE(engine.Connect());
    QString modId;
    ASSERT_TRUE(engine.Identify(modId));

    TModNumParaCmd *numeric = nullptr;
    for (int i = 0; i < engine.CmdList()->Count() && !numeric; ++i) {
        auto *n = dynamic_cast<TModNumParaCmd *>(engine.CmdList()->Command(i));
        if (n && n->AType == 3 && n->Max > n->Min + 1 && !(n->GCode & 3))
            numeric = n;
    }
    ASSERT_NE(numeric, nullptr);
    int changes = 0;
    numeric->OnChange = [&](TModCtrlCommand *) { ++changes; };
    const int32_t wanted = numeric->Min + 1;
    numeric->Val = wanted;
    EXPECT_TRUE(engine.WritePara(numeric));
    EXPECT_EQ(numeric->Val, wanted);
    EXPECT_GE(changes, 1);
    numeric->Val = numeric->Max + 1000; // out of range: the module keeps its value
    engine.WritePara(numeric);
    EXPECT_EQ(numeric->Val, wanted);
}

TEST_F(SimEngineTest, CurveGoesOutInTwentyOneTransactionsInModuleOrder)
{
    StartModule(Unpaced());
    engine.SetAutoSetBaudrate(false);
    ASSERT_TRUE(engine.Connect());
    QString modId;
    ASSERT_TRUE(engine.Identify(modId));
    TModCCParaCmd *curve = nullptr;
    for (int i = 0; i < engine.CmdList()->Count() && !curve; ++i)
        curve = dynamic_cast<TModCCParaCmd *>(engine.CmdList()->Command(i));
    ASSERT_NE(curve, nullptr);

    sim->Log().Clear();
    TCCPoint p = curve->GetPoint(3);
    p.Y += 1;
    curve->SetPoint(3, p);
    ASSERT_TRUE(engine.WritePara(curve));
    EXPECT_EQ(curve->GetPoint(3), p);
    QStringList points;
    for (const QString &line : sim->Log().Commands())
        if (line.startsWith(curve->Name + ":", Qt::CaseInsensitive))
            points << line.section(' ', 0, 0).section(':', 1);
    QStringList expected;
    for (int i = 10; i >= 0; --i)
        expected << QString::number(i);
    for (int i = -10; i < 0; ++i)
        expected << QString::number(i);
    for (int i = -10; i <= 10; ++i)
        expected << QString::number(i); // read back
    EXPECT_EQ(points, expected);

    const TCCPoint inModule = curve->GetPoint(3);
    curve->SetPoint(3, {inModule.X + 7, inModule.Y + 7});
    curve->SetPoint(-10, {});
    ASSERT_TRUE(engine.ReadParaValue(curve)); // the module's points come back
    EXPECT_EQ(curve->GetPoint(3), inModule);
    EXPECT_NE(curve->GetPoint(-10), TCCPoint{});
}

TEST_F(SimEngineTest, MemoryCommandsAndDownload)
{
    StartModule(Unpaced());
    engine.SetAutoSetBaudrate(false);
    ASSERT_TRUE(engine.Connect());
    QString modId;
    ASSERT_TRUE(engine.Identify(modId));
    EXPECT_TRUE(engine.SaveParameters());
    EXPECT_TRUE(engine.LoadBack());
    EXPECT_TRUE(engine.LoadDefaults());
    QStringList errors;
    EXPECT_TRUE(engine.WriteAllParas(&errors));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(",").toStdString();
}

TEST_F(SimEngineTest, PasswordIsJudgedByTheAnswerNotTheEcho)
{
    TSimOptions options = Unpaced();
    options.Password = "secret";
    StartModule(options);
    engine.SetAutoSetBaudrate(false);
    ASSERT_TRUE(engine.Connect());
    EXPECT_TRUE(engine.PasswordSupported());
    EXPECT_FALSE(engine.SendPassword("wrongOK"));
    EXPECT_TRUE(engine.SendPassword("secret"));
    uint16_t code = 0;
    ASSERT_TRUE(engine.ReadAccessCode(code));
    EXPECT_TRUE(code & 0x80);
}

TEST(SilentLine, NoModuleMeansTwentyFiveAttemptsEndingAt115200)
{
    PtyPeer silent;
    TKSVModCommProt engine;
    engine.SetPortName(silent.SlavePath());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(engine.Connect());
    EXPECT_TRUE(engine.PortOpen());
    EXPECT_EQ(engine.BaudRate(), mb115200);
    EXPECT_GE(timer.elapsed(), 25 * 600);
}

TEST_F(SimEngineTest, GroupBitsDecideTheAfterEffectsOfAWrite)
{
    StartModule(Unpaced());
    engine.SetAutoSetBaudrate(false);
    ASSERT_TRUE(engine.Connect());
    QString modId;
    ASSERT_TRUE(engine.Identify(modId));

    // NewData: every value is read again, so a value the module derived shows at once.
    auto *fscale = Find<TModTextParaCmd>("FSCALE");
    auto *warn = Find<TModNumParaCmd>("P_WARN");
    ASSERT_TRUE(fscale && warn);
    fscale->SetTxt("100");
    ASSERT_TRUE(engine.WritePara(fscale));
    EXPECT_EQ(warn->Val, 900);

    // NewTab: the grid is rebuilt with the new access code.
    const int builds = grid.Builds;
    auto *expert = Find<TModTextParaCmd>("EXPERT");
    ASSERT_TRUE(expert);
    expert->SetTxt("ON");
    ASSERT_TRUE(engine.WritePara(expert));
    EXPECT_EQ(grid.Builds, builds + 1);
    EXPECT_TRUE(grid.Code & 0x200);

    // NewTab and NewData: the whole identification again, with the new description.
    sim->Log().Clear();
    auto *app = Find<TModTextParaCmd>("APP");
    ASSERT_TRUE(app);
    app->SetTxt("PRESS");
    ASSERT_TRUE(engine.WritePara(app)); // frees app with the old lists
    EXPECT_TRUE(sim->Log().Commands().filter("READOUT", Qt::CaseInsensitive).size() == 1);
    EXPECT_TRUE(engine.CmdListValid());
    ASSERT_NE(Find<TModTextParaCmd>("APP"), nullptr);
    EXPECT_EQ(Find<TModTextParaCmd>("APP")->Txt(), "PRESS");
}

TEST_F(SimEngineTest, BarePromptModuleIdentifiesToo)
{
    TSimOptions options = Unpaced();
    options.Prompt = ">";
    StartModule(options);
    engine.SetAutoSetBaudrate(false);
    ASSERT_TRUE(engine.Connect());
    QString modId;
    ASSERT_TRUE(engine.Identify(modId));
    EXPECT_FALSE(modId.endsWith("CMD"));
    EXPECT_GE(engine.CmdList()->Count(), 20);
}

TEST(SilentLine, DownloadNotAnnouncedSendsNoBlock)
{
    PtyPeer peer;
    TKSVModCommProt engine;
    engine.SetPortName(peer.SlavePath());
    engine.SetPortOpen(true);
    QByteArray received;
    peer.Run([&](PtyPeer &p) { received = p.ReadQuiet(2600); });
    EXPECT_FALSE(engine.DownloadBlock("P1 10;P2 20"));
    peer.Join();
    EXPECT_EQ(received, QByteArray("DOWNLOAD\r"));
}
