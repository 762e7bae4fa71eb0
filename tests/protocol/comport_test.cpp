#include "comport.h"
#include "ptypeer.h"
#include "waitfor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>
#include <termios.h>

namespace {

class ComPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        port.SetPort(peer.SlavePath());
        port.Open();
    }

    PtyPeer peer;
    TComPort port;
};

} // namespace

TEST(ComPort, OpeningAMissingDeviceThrows)
{
    TComPort port;
    port.SetPort(QStringLiteral("/dev/no-such-tty"));
    EXPECT_THROW(port.Open(), EComPort);
    EXPECT_FALSE(port.Connected());
    EXPECT_THROW(port.Write("x"), EComPort);
}

TEST(ComPort, RefusesRatesOutsideTheFive)
{
    TComPort port;
    EXPECT_THROW(port.SetBaudRate(4800), EComPort);
    EXPECT_EQ(port.BaudRate(), 9600);
}

TEST_F(ComPortTest, WriteReachesThePeer)
{
    EXPECT_EQ(port.Write("ID\r"), 3);
    EXPECT_EQ(peer.ReadUntil("\r"), QByteArray("ID\r"));
}

TEST_F(ComPortTest, ReadTimeoutsActLikeWin32)
{
    struct Case {
        const char *what;
        TComTimeouts timeouts;
        int count;
        int minMs;
        int maxMs;
    };
    const Case cases[] = {
        {"interval -1 and no total returns at once", {-1, 0, 0}, 1, 0, 150},
        {"total constant bounds a silent read", {-1, 0, 300}, 1, 280, 1500},
        {"multiplier adds per character", {-1, 100, 100}, 3, 380, 1800},
    };
    for (const Case &c : cases) {
        port.SetTimeouts(c.timeouts);
        char buffer[8];
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(port.Read(buffer, c.count), 0) << c.what;
        EXPECT_GE(timer.elapsed(), c.minMs) << c.what;
        EXPECT_LT(timer.elapsed(), c.maxMs) << c.what;
    }
}

TEST_F(ComPortTest, ReadReturnsAsSoonAsTheCharacterIsThere)
{
    port.SetTimeouts({-1, 0, 10000});
    peer.Run([](PtyPeer &p) { p.Trickle("A", 50); });
    QElapsedTimer timer;
    timer.start();
    char ch = 0;
    EXPECT_EQ(port.Read(&ch, 1), 1);
    EXPECT_EQ(ch, 'A');
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST_F(ComPortTest, IntervalEndsAReadAfterAGap)
{
    port.SetTimeouts({200, 0, 20000});
    peer.Write("abc");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(port.Read(10), QByteArray("abc"));
    EXPECT_LT(timer.elapsed(), 10000); // the gap ended it, not the 20 s total
}

TEST_F(ComPortTest, PurgeDiscardsWhatArrived)
{
    peer.Write("12345");
    ASSERT_TRUE(WaitFor([&] { return port.BytesWaiting() == 5; }));
    port.PurgeInput();
    EXPECT_EQ(port.BytesWaiting(), 0);
}

TEST_F(ComPortTest, RateChangeKeepsWrittenBytesAndSetsTheLine)
{
    const QByteArray block(600, 'x');
    port.Write(block + "\r");
    port.SetBaudRate(57600);
    EXPECT_EQ(peer.ReadUntil("\r").size(), block.size() + 1);
    EXPECT_EQ(peer.LineSpeed(), unsigned(B57600));
}

TEST_F(ComPortTest, HangupSurfacesAsException)
{
    peer.Hangup();
    port.SetTimeouts({-1, 0, 2000});
    char ch = 0;
    EXPECT_THROW(port.Read(&ch, 1), EComPort);
}

TEST_F(ComPortTest, ReceiveNotificationFiresOnceOnTheMainThreadUntilConsumed)
{
    int calls = 0;
    int lastCount = 0;
    bool onMainThread = false;
    port.OnRxChar = [&](int count) {
        ++calls;
        lastCount = count;
        onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    };
    peer.Write("abc");
    ASSERT_TRUE(WaitFor([&] { return calls > 0; }));
    WaitFor([] { return false; }, 200); // unread bytes must not notify again
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(onMainThread);
    EXPECT_GE(lastCount, 1);

    port.SetTimeouts({-1, 0, 500});
    port.Read(3);
    peer.Write("d");
    EXPECT_TRUE(WaitFor([&] { return calls == 2; }));
}

TEST_F(ComPortTest, ImmediateReadInTheHandlerKeepsNotifying)
{
    int calls = 0;
    QByteArray got;
    port.SetTimeouts({-1, 0, 0}); // return at once with what is waiting
    port.OnRxChar = [&](int count) {
        ++calls;
        got += port.Read(count);
    };
    peer.Write("ab");
    ASSERT_TRUE(WaitFor([&] { return got == "ab"; }));
    peer.Write("cd");
    EXPECT_TRUE(WaitFor([&] { return got == "abcd"; }));
    EXPECT_GE(calls, 2);
}
