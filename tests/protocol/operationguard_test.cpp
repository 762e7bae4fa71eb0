// The window spins the event loop from the engine's progress reports to stay painted; whatever
// that loop delivers meanwhile (a due monitor poll, a receive notification) must not start an
// exchange inside the running operation.
#include "asciiprocdataobj.h"
#include "ksvmodcommprot.h"
#include "ksvmonitorintf.h"
#include "ksvterminalintf.h"
#include "modcommandlist.h"
#include "modprocessdata.h"
#include "modulesimulator.h"
#include "simlog.h"
#include "simmodule.h"

#include <gtest/gtest.h>

namespace {

class CountingMonitor : public TKSVMonitorIntf {
public:
    void AssignProcessData(const TModProcessData *) override {}
    void AssignStatusInfo(const TModStatusInfoData *) override {}
    void UpdateProcessValue(const TASCIIProcDataObj &) override { ++Samples; }
    void UpdateStatus(uint16_t) override {}
    int Samples = 0;
};

class CollectingTerminal : public TKSVTerminalIntf {
public:
    void WriteChar(char ch) override { Received += ch; }
    void SetOnTerminalInput(TTerminalInputEvent) override {}
    QByteArray Received;
};

class OperationGuardTest : public ::testing::Test {
protected:
    OperationGuardTest() : sim(Options())
    {
        engine.SetPortName(sim.Start());
        engine.SetAutoSetBaudrate(false);
        engine.SetMonitor(&monitor);
        engine.SetTerminal(&terminal);
    }
    ~OperationGuardTest() override { engine.Disconnect(); }

    static TSimOptions Options()
    {
        TSimOptions options;
        options.Pacing = false;
        return options;
    }

    bool Identify()
    {
        QString modId;
        return engine.Identify(modId);
    }

    int ProcessValueCommands()
    {
        int count = 0;
        for (const QString &line : sim.Log().Commands())
            for (int i = 0; i < engine.ProcessData()->Count(); ++i)
                count += line.trimmed() == engine.ProcessData()->GetString(i);
        return count;
    }

    TModuleSimulator sim;
    TKSVModCommProt engine;
    CountingMonitor monitor;
    CollectingTerminal terminal;
};

} // namespace

TEST_F(OperationGuardTest, ReadoutReportsEachLineAsItArrives)
{
    ASSERT_TRUE(engine.Connect());
    QList<int> lines;
    engine.OnProgress = [&](const QString &what, int done) {
        if (what == QLatin1String("Reading module description"))
            lines << done;
    };
    ASSERT_TRUE(Identify());
    ASSERT_GE(lines.size(), sim.Module().ReadoutLines().size());
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], i + 1);
}

TEST_F(OperationGuardTest, MonitorPollDueDuringAnOperationIsSkipped)
{
    ASSERT_TRUE(engine.Connect());
    ASSERT_TRUE(Identify());
    engine.SetOperatingMode(cmMonitor);
    sim.Log().Clear();
    int polls = 0;
    engine.OnProgress = [&](const QString &, int) {
        ++polls;
        engine.PollMonitor(); // as the event loop would deliver it
    };
    ASSERT_TRUE(engine.ReadAllParaValues());
    ASSERT_GT(polls, 0);
    EXPECT_EQ(monitor.Samples, 0);
    EXPECT_EQ(ProcessValueCommands(), 0);

    engine.OnProgress = nullptr;
    engine.PollMonitor();
    EXPECT_EQ(monitor.Samples, engine.ProcessData()->Count());
}

TEST_F(OperationGuardTest, BytesReceivedDuringAnOperationStayWithItsTransaction)
{
    ASSERT_TRUE(engine.Connect());
    engine.SetOperatingMode(cmTerminal);
    engine.OnProgress = [&](const QString &, int) { engine.HandleRxChar(64); };
    ASSERT_TRUE(Identify());
    EXPECT_TRUE(terminal.Received.isEmpty());
    EXPECT_GT(engine.CmdList()->Count(), 0);
}
