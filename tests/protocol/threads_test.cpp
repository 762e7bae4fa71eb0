#include "msgthread.h"
#include "osbasemsgcomponent.h"
#include "osthreadtimer_sl.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Runs the GUI thread's event loop until Done() or the time-out; true when Done().
bool SpinUntil(const std::function<bool()> &Done, std::chrono::milliseconds TimeOut = 5000ms)
{
    const auto until = Clock::now() + TimeOut;
    while (!Done()) {
        if (Clock::now() >= until)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

void SpinFor(std::chrono::milliseconds Time)
{
    SpinUntil([] { return false; }, Time);
}

long long MsBetween(Clock::time_point From, Clock::time_point To)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(To - From).count();
}

// Waits on the thread's signal until stopped, as every well-behaved Execute does.
class TWaitingThread : public TosBaseThread {
public:
    ~TWaitingThread() override { StopAndWait(); }
    std::atomic<bool> Entered{false};
    std::atomic<bool> Left{false};

protected:
    void Execute() override
    {
        Entered = true;
        std::unique_lock lock(FSignal->Lock);
        FSignal->Wake.wait(lock, [this] { return Terminated(); });
        Left = true;
    }
};

class TCountingComponent : public TosBaseMsgComponent {
public:
    explicit TCountingComponent(std::atomic<int> &Calls) : FCalls(Calls) {}
    void MessageLoop() override { ++FCalls; }
    using TosBaseMsgComponent::MsgThread;

private:
    std::atomic<int> &FCalls;
};

} // namespace

TEST(TosBaseThread, RunsOnlyAfterResumeAndStopsOnStopThread)
{
    TWaitingThread thread;
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(thread.Suspended());
    EXPECT_FALSE(thread.Entered);

    thread.Resume();
    thread.Resume(); // a second start does nothing
    ASSERT_TRUE(SpinUntil([&] { return thread.Entered.load(); }));
    EXPECT_FALSE(thread.Suspended());

    thread.StopThread();
    EXPECT_TRUE(thread.Terminated());
    EXPECT_TRUE(SpinUntil([&] { return thread.Left.load(); }));
}

TEST(TosBaseThread, DestroyingNeverStartedThreadRunsNothing)
{
    std::atomic<int> calls{0};
    {
        TMsgThread thread([&] { ++calls; });
        EXPECT_TRUE(thread.Suspended());
    }
    EXPECT_EQ(calls, 0);
}

TEST(TMsgThread, ResumedThreadCallsItsCallbackOnce)
{
    std::atomic<int> calls{0};
    {
        TMsgThread thread([&] { ++calls; });
        thread.Resume();
    } // the destructor waits for the thread
    EXPECT_EQ(calls, 1);

    TMsgThread withoutCallback(nullptr);
    withoutCallback.Resume();
}

TEST(TosBaseMsgComponent, MessageThreadStaysDormantForTheWholeLife)
{
    std::atomic<int> calls{0};
    {
        TCountingComponent component(calls);
        ASSERT_NE(component.MsgThread(), nullptr);
        EXPECT_TRUE(component.MsgThread()->Suspended());
    }
    EXPECT_EQ(calls, 0);
}

TEST(TosThreadTimer_SL, StartsStoppedAndSynchronised)
{
    TosThreadTimer_SL timer;
    EXPECT_TRUE(timer.SyncCall);
    EXPECT_FALSE(timer.Running);
    EXPECT_FALSE(timer.RepeatRun);
}

// Records every OnTimer call of one timer: when it began and ended, on which thread, and how
// many ran at the same time.
class TimerTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        Timer.SyncCall = GetParam();
        Timer.OnTimer = [this](TosBaseTimerThread *Sender) { Record(Sender); };
    }
    void TearDown() override { Timer.StopTimer(); }

    void Record(TosBaseTimerThread *Sender)
    {
        const int active = ++Active;
        MaxActive = std::max(MaxActive.load(), active);
        {
            std::lock_guard lock(Lock);
            Begins.push_back(Clock::now());
            OnMainThread = OnMainThread && QThread::currentThread() == qApp->thread();
            OffMainThread = OffMainThread && std::this_thread::get_id() != MainThread;
            SenderOk = SenderOk && Sender == &Timer;
        }
        if (Handler)
            Handler();
        {
            std::lock_guard lock(Lock);
            Ends.push_back(Clock::now());
        }
        --Active;
        ++Calls;
    }
    bool WaitForCalls(int N) { return SpinUntil([&] { return Calls >= N; }); }
    std::vector<Clock::time_point> BeginsCopy()
    {
        std::lock_guard lock(Lock);
        return Begins;
    }

    const std::thread::id MainThread = std::this_thread::get_id();
    std::function<void()> Handler; // runs inside each call
    std::atomic<int> Calls{0};
    std::atomic<int> Active{0};
    std::atomic<int> MaxActive{0};
    std::mutex Lock;
    std::vector<Clock::time_point> Begins, Ends;
    bool OnMainThread = true;
    bool OffMainThread = true;
    bool SenderOk = true;
    TosThreadTimer_SL Timer; // last, so that it is destroyed first
};

INSTANTIATE_TEST_SUITE_P(SyncCall, TimerTest, ::testing::Bool(),
                         [](const auto &Info) { return Info.param ? "Sync" : "Direct"; });

TEST_P(TimerTest, CallsOnTheMainThreadOnlyWhenSynchronised)
{
    ASSERT_TRUE(Timer.StartTimer(20, true));
    ASSERT_TRUE(WaitForCalls(3));
    Timer.StopTimer();
    SpinFor(100ms);
    std::lock_guard lock(Lock);
    EXPECT_EQ(OnMainThread, GetParam());
    EXPECT_EQ(OffMainThread, !GetParam());
    EXPECT_TRUE(SenderOk);
}

TEST_P(TimerTest, StartWhileRunningIsRefusedAndChangesNothing)
{
    ASSERT_TRUE(Timer.StartTimer(30, true));
    EXPECT_FALSE(Timer.StartTimer(30, true));
    EXPECT_FALSE(Timer.StartTimer(10000, false));
    EXPECT_TRUE(Timer.Running);
    EXPECT_TRUE(Timer.RepeatRun);
    // The refused 10 s interval must not have replaced the running one.
    EXPECT_TRUE(WaitForCalls(3));
}

TEST_P(TimerTest, FirstCallComesOneIntervalAfterTheStart)
{
    const auto start = Clock::now();
    ASSERT_TRUE(Timer.StartTimer(100, true));
    ASSERT_TRUE(WaitForCalls(1));
    const long long delay = MsBetween(start, BeginsCopy().front());
    EXPECT_GE(delay, 99);
    EXPECT_LT(delay, 1100);
}

TEST_P(TimerTest, NoCallBeginsAfterStopTimer)
{
    ASSERT_TRUE(Timer.StartTimer(20, true));
    ASSERT_TRUE(WaitForCalls(2));
    std::this_thread::sleep_for(100ms); // lets a synchronised call queue up
    Timer.StopTimer();
    const auto stopped = Clock::now();
    EXPECT_FALSE(Timer.Running);
    EXPECT_FALSE(Timer.RepeatRun);
    SpinFor(400ms);

    int later = 0;
    for (const auto &begin : BeginsCopy())
        later += begin > stopped;
    // A synchronised call still queued at the stop is dropped; a direct call may just have
    // passed its check when the stop came.
    EXPECT_LE(later, GetParam() ? 0 : 1);
}

TEST_P(TimerTest, LongHandlerIsCalledAgainAtOnceWithoutOverlap)
{
    constexpr long long Interval = 100;
    Handler = [] { std::this_thread::sleep_for(150ms); };
    ASSERT_TRUE(Timer.StartTimer(Interval, true));
    ASSERT_TRUE(WaitForCalls(4));
    Timer.StopTimer();
    SpinUntil([&] { return Active == 0; });

    EXPECT_EQ(MaxActive, 1);
    std::lock_guard lock(Lock);
    for (size_t i = 1; i < 4; ++i) {
        // Waiting a whole interval after the previous call would leave a gap of >= 100 ms.
        EXPECT_LT(MsBetween(Ends[i - 1], Begins[i]), Interval) << "call " << i;
        EXPECT_GE(Begins[i], Ends[i - 1]);
    }
}

TEST_P(TimerTest, RunWithoutRepeatMakesOneCall)
{
    ASSERT_TRUE(Timer.StartTimer(20, false));
    ASSERT_TRUE(WaitForCalls(1));
    SpinFor(300ms);
    EXPECT_EQ(Calls, 1);
    EXPECT_FALSE(Timer.Running);
    EXPECT_TRUE(Timer.StartTimer(20, false));
    EXPECT_TRUE(WaitForCalls(2));
}

TEST_P(TimerTest, RestartDuringACallUsesTheNewInterval)
{
    Clock::time_point restarted;
    Handler = [&] {
        if (Calls > 0)
            return;
        Timer.StopTimer();
        restarted = Clock::now();
        EXPECT_TRUE(Timer.StartTimer(300, true));
        std::this_thread::sleep_for(100ms); // the old 20 ms deadline has long passed
    };
    ASSERT_TRUE(Timer.StartTimer(20, true));
    ASSERT_TRUE(WaitForCalls(2));
    EXPECT_GE(MsBetween(restarted, BeginsCopy()[1]), 299);
}

TEST(TosThreadTimer_SL, SynchronisedCallMakesTheTimerThreadWait)
{
    std::atomic<int> calls{0};
    TosThreadTimer_SL timer;
    timer.OnTimer = [&](TosBaseTimerThread *) { ++calls; };
    ASSERT_TRUE(timer.StartTimer(20, true));
    // Twenty intervals pass while the GUI thread is busy; a timer thread that did not wait
    // would have queued a call for each of them.
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(calls, 0);
    QCoreApplication::processEvents();
    EXPECT_GE(calls, 1);
    EXPECT_LE(calls, 2);
    timer.StopTimer();
}

TEST(TosThreadTimer_SL, DestroyingWithAQueuedCallNeitherHangsNorCallsLater)
{
    std::atomic<int> calls{0};
    auto timer = std::make_unique<TosThreadTimer_SL>();
    timer->OnTimer = [&](TosBaseTimerThread *) { ++calls; };
    ASSERT_TRUE(timer->StartTimer(20, true));
    std::this_thread::sleep_for(150ms); // a call is now queued and the timer thread waits for it

    const auto start = Clock::now();
    timer.reset();
    EXPECT_LT(MsBetween(start, Clock::now()), 2000);
    SpinFor(200ms);
    EXPECT_EQ(calls, 0);
}

TEST(TosThreadTimer_SL, DestroyingDuringADirectCallWaitsForIt)
{
    std::atomic<bool> entered{false};
    std::atomic<bool> finished{false};
    auto timer = std::make_unique<TosThreadTimer_SL>();
    timer->SyncCall = false;
    timer->OnTimer = [&](TosBaseTimerThread *Sender) {
        entered = true;
        std::this_thread::sleep_for(200ms);
        finished = !Sender->Running; // the sender is still alive here
    };
    ASSERT_TRUE(timer->StartTimer(20, true));
    ASSERT_TRUE(SpinUntil([&] { return entered.load(); }));
    timer.reset();
    EXPECT_TRUE(finished);
}
