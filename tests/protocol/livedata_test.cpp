#include "asciiprocdataobj.h"
#include "ksvmodcommprot.h"
#include "ksvmonitorintf.h"
#include "ksvscopeintf.h"
#include "modprocessdata.h"
#include "modremotectrlcommandlist.h"
#include "modstatusinfodata.h"
#include "modulesimulator.h"
#include "osthreadtimer_sl.h"
#include "periodictimer.h"
#include "simlog.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <mutex>

namespace {

class RecordingMonitor : public TKSVMonitorIntf {
public:
    void AssignProcessData(const TModProcessData *) override {}
    void AssignStatusInfo(const TModStatusInfoData *) override {}
    void UpdateProcessValue(const TASCIIProcDataObj &sample) override { Indices << sample.ProcIndex; }
    void UpdateStatus(uint16_t mask) override
    {
        ++StatusUpdates;
        Mask = mask;
    }
    QList<int> Indices;
    int StatusUpdates = 0;
    uint16_t Mask = 0;
};

class RecordingScope : public TKSVScopeIntf {
public:
    void SetEnabled(bool) override {}
    void AssignProcessData(const TModProcessData *) override {}
    void AddChannelSamples(const std::array<const TASCIIProcDataObj *, 4> &samples) override
    {
        std::lock_guard lock(Lock);
        ++Passes;
        for (int ch = 0; ch < 4; ++ch)
            Filled[ch] = samples[ch] != nullptr;
    }
    int DataSampleRate() const override { return 50; }
    QString Signal(int channel) const override { return Signals[channel]; }
    std::array<QString, 4> Signals;
    std::mutex Lock;
    int Passes = 0;
    std::array<bool, 4> Filled{};
};

class LiveDataTest : public ::testing::Test {
protected:
    void Identify(TSimOptions options = {})
    {
        options.Pacing = false;
        sim = std::make_unique<TModuleSimulator>(options);
        engine.SetPortName(sim->Start());
        engine.SetAutoSetBaudrate(false);
        engine.SetMonitor(&monitor);
        engine.SetScope(&scope);
        ASSERT_TRUE(engine.Connect());
        QString modId;
        ASSERT_TRUE(engine.Identify(modId));
        sim->Log().Clear();
    }
    void TearDown() override
    {
        engine.Disconnect();
        if (sim)
            sim->Stop();
    }
    int SentCount(const QString &prefix) const
    {
        int n = 0;
        for (const QString &line : sim->Log().Commands())
            n += line.startsWith(prefix, Qt::CaseInsensitive);
        return n;
    }

    std::unique_ptr<TModuleSimulator> sim;
    TKSVModCommProt engine;
    RecordingMonitor monitor;
    RecordingScope scope;
};

} // namespace

TEST_F(LiveDataTest, MonitorPassDeliversEveryValueTheStatusAndTheInputs)
{
    Identify();
    int inputEvents = 0;
    engine.OnDigitalInputStateInfo = [&](TKSVModCommProt *, uint8_t) { ++inputEvents; };
    engine.SetOperatingMode(cmMonitor);
    engine.PollMonitor();
    ASSERT_EQ(monitor.Indices.size(), engine.ProcessData()->Count());
    for (int i = 0; i < monitor.Indices.size(); ++i)
        EXPECT_EQ(monitor.Indices[i], i);
    EXPECT_EQ(monitor.StatusUpdates, 1);
    EXPECT_EQ(inputEvents, 1);
    EXPECT_EQ(engine.PollStopReason(), 0);
    EXPECT_TRUE(engine.Timer()->Running);
}

TEST_F(LiveDataTest, MonitorTimerPollsOnTheMainThread)
{
    Identify();
    engine.SetOperatingMode(cmMonitor);
    QElapsedTimer timer;
    timer.start();
    while (monitor.StatusUpdates < 2 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(monitor.StatusUpdates, 2);
}

TEST_F(LiveDataTest, PassInWhichEveryValueFailsStopsTheMonitor)
{
    Identify();
    engine.SetOperatingMode(cmMonitor);
    sim->Stop(); // the module falls silent
    engine.PollMonitor();
    EXPECT_EQ(engine.PollStopReason(), 1);
    EXPECT_FALSE(engine.Timer()->Running);
    EXPECT_TRUE(monitor.Indices.isEmpty());
}

TEST_F(LiveDataTest, ScopePassFillsTheFirstChannelOfASignalOnly)
{
    Identify();
    const QString name = engine.ProcessData()->GetString(0);
    scope.Signals = {name, QString(), name, QString()};
    engine.SetOperatingMode(cmScope);
    const QDateTime before = engine.ScopeTimeBase();
    EXPECT_TRUE(engine.PollScope());
    EXPECT_EQ(scope.Filled, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(before.msecsTo(engine.ScopeTimeBase()), scope.DataSampleRate());
    EXPECT_EQ(SentCount(name), 1);
    EXPECT_FALSE(engine.ScopeFetchBusy());
}

TEST_F(LiveDataTest, FourFailedScopePassesKillTheSamplingTimer)
{
    Identify();
    scope.Signals = {engine.ProcessData()->GetString(0), {}, {}, {}};
    engine.SetOperatingMode(cmScope);
    sim->Stop();
    TPeriodicTimer sampling;
    engine.ResetScopeFailCount();
    ASSERT_TRUE(sampling.Start(10, [this](TPeriodicTimer *t) { engine.ScopeTimerCallback(t); }));
    QElapsedTimer timer;
    timer.start();
    while (sampling.Active() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(sampling.Active());
    EXPECT_EQ(engine.PollStopReason(), 2);
    EXPECT_EQ(scope.Passes, 0);
}

TEST_F(LiveDataTest, DisconnectWaitsForARunningScopePass)
{
    Identify();
    scope.Signals = {engine.ProcessData()->GetString(0), engine.ProcessData()->GetString(1), {}, {}};
    engine.SetOperatingMode(cmScope);
    TPeriodicTimer sampling;
    sampling.Start(1, [this](TPeriodicTimer *t) { engine.ScopeTimerCallback(t); });
    QElapsedTimer timer;
    timer.start();
    while (scope.Passes < 3 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    engine.Disconnect(); // must neither crash nor cut a pass in half
    EXPECT_FALSE(engine.ScopeFetchBusy());
    EXPECT_FALSE(engine.PortOpen());
    sampling.Kill();
    EXPECT_GE(scope.Passes, 3);
}

TEST_F(LiveDataTest, RemoteControlOperations)
{
    Identify();
    ASSERT_TRUE(engine.RemoteCtrlSupported());
    int32_t value = 500;
    engine.SetRemoteCtrlEnabled(false);
    sim->Log().Clear();
    EXPECT_FALSE(engine.WriteRemoteValue(2, value)); // inactive: nothing is sent
    EXPECT_TRUE(sim->Log().Commands().isEmpty());

    engine.SetRemoteCtrlEnabled(true);
    EXPECT_TRUE(engine.RemoteCtrlActive());
    EXPECT_TRUE(engine.RemoteCtrlEnabled());
    value = 500;
    EXPECT_TRUE(engine.WriteRemoteValue(2, value));
    EXPECT_EQ(value, 500);
    int32_t read = 0;
    EXPECT_TRUE(engine.ReadRemoteValue(2, read));
    EXPECT_EQ(read, 500);

    sim->Log().Clear();
    uint8_t state = 0x05;
    EXPECT_TRUE(engine.WriteDigitalInputs(state));
    EXPECT_EQ(state, 0x05);
    EXPECT_EQ(sim->Log().Commands().size(), 3); // the RC:M check, the write, the read-back
    engine.SetRemoteCtrlEnabled(false);
    EXPECT_FALSE(engine.RemoteCtrlActive());
}

TEST_F(LiveDataTest, ModuleAnsweringRemoteHasNoRcRemoteControl)
{
    TSimOptions options;
    options.Remote = false;
    Identify(options);
    EXPECT_FALSE(engine.RemoteCtrlSupported());
    engine.SetRemoteCtrlEnabled(true); // without support nothing is sent
    EXPECT_FALSE(engine.RemoteCtrlActive());
    EXPECT_EQ(SentCount("RC:"), 0);
}

TEST(PeriodicTimer, StartWhileRunningIsRefusedAndKillStops)
{
    TPeriodicTimer timer;
    std::atomic<int> calls{0};
    ASSERT_TRUE(timer.Start(5, [&](TPeriodicTimer *) { ++calls; }));
    EXPECT_FALSE(timer.Start(5, [](TPeriodicTimer *) {}));
    QElapsedTimer clock;
    clock.start();
    while (calls < 3 && clock.elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    timer.Kill();
    const int after = calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(calls, after);
    EXPECT_GE(after, 3);
}
