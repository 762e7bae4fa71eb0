#include "comport.h"
#include "ksvmodcommprot.h"
#include "ksvparamlistintf.h"
#include "ksvterminalintf.h"
#include "modcommandlist.h"
#include "modnumparacmd.h"
#include "modprocessdata.h"
#include "modproccommand.h"
#include "osthreadtimer_sl.h"
#include "ptypeer.h"
#include "waitfor.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <thread>

#include <gtest/gtest.h>
#include <termios.h>

namespace {

class FakeTerminal : public TKSVTerminalIntf {
public:
    void WriteChar(char ch) override { Shown += ch; }
    void SetOnTerminalInput(TTerminalInputEvent handler) override { OnInput = std::move(handler); }
    QByteArray Shown;
    TTerminalInputEvent OnInput;
};

class FakeGrid : public TKSVParamListIntf {
public:
    void BuildRows(TModCommandList *cmdList, int accessCode) override
    {
        ++Builds;
        RowsFrom = cmdList->Count();
        Code = accessCode;
    }
    void SetOnCmdSendRequest(TCmdSendRequestEvent) override {}
    int Builds = 0;
    int RowsFrom = -1;
    int Code = -2;
};

// The engine with its port open on a pseudo-terminal whose far end a test scripts.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine.SetPortName(peer.SlavePath());
        engine.SetPortOpen(true);
        ASSERT_TRUE(engine.PortOpen());
    }
    void TearDown() override { peer.Join(); }

    // A full-duplex module: reads a command up to CR and sends reply.
    void Reply(const QByteArray &reply)
    {
        peer.Run([reply](PtyPeer &p) {
            p.ReadUntil("\r");
            p.Write(reply);
        });
    }

    PtyPeer peer;
    TKSVModCommProt engine;
};

} // namespace

TEST_F(EngineTest, FullDuplexAnswersByEchoAndEndMarker)
{
    struct Case {
        const char *what;
        QByteArray reply;
        QString echo;
        bool ok;
        QString answer;
    };
    const Case cases[] = {
        {"echo matched without regard to case; Answer starts with the caller's echo",
         "Readout\r\nline\r\nCMD>", "READOUT", true, "READOUT\r\nline\r\nCMD>"},
        {"characters before the echo are dropped", "xyID\r\nMOD,1,2,3\r\n>", "ID", true, "ID\r\nMOD,1,2,3\r\n>"},
        {"an empty echo drops the first character", "Xabc>", "", true, "abc>"},
        {"no end marker: failure and an empty Answer", "ID\r\nMOD", "ID", false, ""},
        {"no echo: failure", "something else>", "ACODE", false, ""},
    };
    for (const Case &c : cases) {
        Reply(c.reply);
        QString answer = "stale";
        EXPECT_EQ(engine.SendCmd("CMD\r", c.echo, 300, answer, ">"), c.ok) << c.what;
        EXPECT_EQ(answer, c.answer) << c.what;
        peer.Join();
    }
}

TEST_F(EngineTest, TimeoutIsPerCharacter)
{
    // One character every 150 ms with 200 ms per character: the whole answer takes far longer
    // than 200 ms and still succeeds.
    peer.Run([](PtyPeer &p) {
        p.ReadUntil("\r");
        p.Trickle("ID 1234>", 150);
    });
    QString answer;
    EXPECT_TRUE(engine.SendCmd("ID\r", "ID", 200, answer, ">"));
    EXPECT_EQ(answer, "ID 1234>");
}

TEST_F(EngineTest, SilentModuleFailsAfterTheTimeout)
{
    struct Case {
        int timeoutMs;
        int minMs;
        int maxMs;
    };
    for (const Case &c : {Case{200, 180, 2000}, Case{-1, 2900, 6000}}) {
        QString answer = "stale";
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(engine.SendCmd("ID\r", "ID", c.timeoutMs, answer, ">"));
        EXPECT_GE(timer.elapsed(), c.minMs) << c.timeoutMs;
        EXPECT_LT(timer.elapsed(), c.maxMs) << c.timeoutMs;
        EXPECT_TRUE(answer.isEmpty());
    }
}

TEST_F(EngineTest, BytesOutsideTerminalModeArePurgedByTheNextTransaction)
{
    FakeTerminal terminal;
    engine.SetTerminal(&terminal);
    peer.Write("stale bytes ID>");
    ASSERT_TRUE(WaitFor([&] { return engine.Port()->BytesWaiting() > 0; }));
    WaitFor([] { return false; }, 100);
    EXPECT_TRUE(terminal.Shown.isEmpty()); // idle mode: nothing shown
    Reply("ID\r\nFRESH>");
    QString answer;
    EXPECT_TRUE(engine.SendCmd("ID\r", "ID", 500, answer, ">"));
    EXPECT_EQ(answer, "ID\r\nFRESH>");
}

TEST_F(EngineTest, PeerHangingUpMidAnswerFailsPromptlyAndDisconnectsCleanly)
{
    peer.Run([](PtyPeer &p) {
        p.ReadUntil("\r");
        p.Write("ID\r\nhalf");
        p.Hangup();
    });
    QString answer;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(engine.SendCmd("ID\r", "ID", 2000, answer, ">"));
    EXPECT_LT(timer.elapsed(), 1500);
    EXPECT_TRUE(answer.isEmpty());
    engine.Disconnect();
    EXPECT_FALSE(engine.PortOpen());
}

TEST_F(EngineTest, CheckPromptSendsABareCr)
{
    Reply("\r\nCMD>");
    EXPECT_TRUE(engine.CheckPrompt());
    peer.Join();
    engine.SetPortOpen(false);
    EXPECT_FALSE(engine.CheckPrompt());
}

TEST_F(EngineTest, TerminalModeShowsReceivedCharacters)
{
    FakeTerminal terminal;
    engine.SetTerminal(&terminal);
    ASSERT_TRUE(terminal.OnInput);
    EXPECT_FALSE(engine.TerminalSendChar('x')); // not in terminal mode: nothing sent
    engine.SetOperatingMode(cmTerminal);
    int response = 0;
    terminal.OnInput(&terminal, 'A', response);
    EXPECT_EQ(peer.ReadUntil("A"), QByteArray("A"));
    peer.Write("A\r\nCMD>");
    EXPECT_TRUE(WaitFor([&] { return terminal.Shown == "A\r\nCMD>"; }));
}

class HalfDuplexTest : public EngineTest {
protected:
    void SetUp() override
    {
        engine.SetTransferMode(tmHalfDuplex);
        EngineTest::SetUp();
    }

    // A half-duplex line: the copy of each character, then the module's echo; after the CR the
    // answer. lineCopies limits how many characters the line copies back (-1: all).
    void HalfDuplexModule(const QByteArray &answer)
    {
        peer.Run([=](PtyPeer &p) {
            for (;;) {
                const QByteArray ch = p.ReadCount(1, 2000);
                if (ch.isEmpty())
                    return;
                if (ch == "\r") {
                    p.Write("\r" + answer);
                    return;
                }
                p.Write(ch + ch);
            }
        });
    }
};

TEST_F(HalfDuplexTest, RunsAt19200AndSendsCharacterByCharacter)
{
    EXPECT_EQ(engine.BaudRate(), mb19200);
    HalfDuplexModule("\r\nMOD>");
    QString answer;
    EXPECT_TRUE(engine.SendCmd("ID\r", "ID", 500, answer, ">"));
    EXPECT_EQ(answer, "ID\r\nMOD>");
}

TEST_F(HalfDuplexTest, MissingLineCopyStopsTheCommand)
{
    QByteArray received;
    peer.Run([&](PtyPeer &p) { received = p.ReadQuiet(800); });
    QString answer;
    EXPECT_FALSE(engine.SendCmd("ACODE\r", "ACODE", 200, answer, ">"));
    peer.Join();
    EXPECT_EQ(received, QByteArray("A")); // the rest was never sent
}

TEST_F(HalfDuplexTest, CrCopiedEarlyEndsTheSending)
{
    QByteArray received;
    peer.Run([&](PtyPeer &p) {
        received = p.ReadUntil("A", 1000);
        p.Write("\r"); // the line gives back a CR for the first character
        p.Write("x>");
        received += p.ReadQuiet(400);
    });
    QString answer;
    EXPECT_TRUE(engine.SendCmd("ACODE\r", "", 500, answer, ">"));
    peer.Join();
    EXPECT_EQ(received, QByteArray("A"));
    EXPECT_EQ(answer, "x>");
}

TEST_F(HalfDuplexTest, FailedAnswerKeepsWhatArrived)
{
    HalfDuplexModule("\r\npartial");
    QString answer;
    EXPECT_FALSE(engine.SendCmd("ID\r", "ID", 300, answer, ">"));
    EXPECT_EQ(answer, "ID\r\npartial");
}

TEST_F(HalfDuplexTest, TerminalShowsOneCharacterForATypedKey)
{
    FakeTerminal terminal;
    engine.SetTerminal(&terminal);
    engine.SetOperatingMode(cmTerminal);
    EXPECT_TRUE(engine.TerminalSendChar('A'));
    EXPECT_EQ(engine.LastTermChar(), 'A');
    EXPECT_EQ(peer.ReadUntil("A"), QByteArray("A"));
    peer.Write("AA"); // the line's copy, then the module's echo
    EXPECT_TRUE(WaitFor([&] { return !terminal.Shown.isEmpty(); }));
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(terminal.Shown, QByteArray("A"));
    EXPECT_EQ(engine.LastTermChar(), 0);
}

TEST(Engine, ConstructionDefaults)
{
    TKSVModCommProt engine;
    EXPECT_EQ(engine.BaudRate(), mb9600);
    EXPECT_EQ(engine.PortNo(), 1);
    EXPECT_EQ(engine.PortName(), "COM1");
    EXPECT_EQ(engine.TransferMode(), tmFullDuplex);
    EXPECT_EQ(engine.FixBaudrate(), mb9600);
    EXPECT_TRUE(engine.AutoBaudDetection());
    EXPECT_EQ(engine.AutoBaudrate(), mb57600);
    EXPECT_TRUE(engine.AutoSetBaudrate());
    EXPECT_FALSE(engine.CmdListValid());
    EXPECT_EQ(engine.OperatingMode(), cmIdle);
    EXPECT_FALSE(engine.PortOpen());
    EXPECT_TRUE(engine.Timer()->SyncCall);
}

TEST(Engine, PortNumberNamesTheComPort)
{
    TKSVModCommProt engine;
    engine.SetPortNo(0);
    EXPECT_EQ(engine.PortName(), "COM0");
    engine.SetPortNo(7);
    EXPECT_EQ(engine.PortName(), "COM7");
    EXPECT_EQ(engine.PortNo(), 7);
}

TEST(Engine, PortNumberBecomesZeroWhenTheReopenFails)
{
    PtyPeer peer;
    TKSVModCommProt engine;
    engine.SetPortName(peer.SlavePath());
    engine.SetPortOpen(true);
    engine.SetPortNo(42); // no such device
    EXPECT_FALSE(engine.PortOpen());
    EXPECT_EQ(engine.PortNo(), 0);
}

TEST(Engine, RateSettersFollowTheirRules)
{
    TKSVModCommProt engine;
    FakeGrid grid;
    engine.SetParameterList(&grid);

    engine.SetFixBaudrate(mb38400); // detection on: the current rate stays
    EXPECT_EQ(engine.BaudRate(), mb9600);
    engine.SetAutoBaudDetection(true); // the current value: nothing happens
    EXPECT_EQ(grid.Builds, 0);
    engine.SetAutoBaudDetection(false); // off: disconnect, then the fixed rate
    EXPECT_EQ(engine.BaudRate(), mb38400);
    EXPECT_EQ(grid.Builds, 1);
    engine.SetFixBaudrate(mb115200);
    EXPECT_EQ(engine.BaudRate(), mb115200);
    EXPECT_EQ(engine.Port()->BaudRate(), 115200);
    engine.SetTransferMode(tmFullDuplex); // the current value: nothing happens
    EXPECT_EQ(engine.BaudRate(), mb115200);
    engine.SetTransferMode(tmHalfDuplex);
    EXPECT_EQ(engine.BaudRate(), mb19200);
    engine.SetTransferMode(tmFullDuplex); // detection off: back to the fixed rate
    EXPECT_EQ(engine.BaudRate(), mb115200);
}

TEST_F(EngineTest, ChangingTheTransferModeWhileOpenDisconnects)
{
    FakeGrid grid;
    engine.SetParameterList(&grid);
    engine.CmdList()->Add(new TModNumParaCmd);
    engine.SetTransferMode(tmHalfDuplex);
    EXPECT_FALSE(engine.PortOpen());
    EXPECT_EQ(engine.CmdList()->Count(), 0);
    EXPECT_EQ(grid.Builds, 1);
    EXPECT_EQ(grid.RowsFrom, 0);
    EXPECT_EQ(grid.Code, 0);
    EXPECT_EQ(engine.BaudRate(), mb19200);
}

TEST_F(EngineTest, RateChangeReopensAnOpenPort)
{
    engine.SetBaudRate(mb57600);
    EXPECT_TRUE(engine.PortOpen());
    EXPECT_EQ(peer.LineSpeed(), unsigned(B57600));
}

TEST(Engine, MonitorIntervalDependsOnValuesAndRate)
{
    struct Case {
        int values;
        TModBaudrate rate;
        int intervalMs;
    };
    const Case cases[] = {{10, mb19200, 320}, {11, mb19200, 500}, {0, mb9600, 500}, {3, mb115200, 320}};
    for (const Case &c : cases) {
        TKSVModCommProt engine;
        engine.SetBaudRate(c.rate);
        for (int i = 0; i < c.values; ++i)
            engine.ProcessData()->Add(new TModProcCommand);
        EXPECT_EQ(engine.MonitorIntervalMs(), c.intervalMs) << c.values << " values at rate " << c.rate;
    }
}

TEST(Engine, OperatingModeDrivesTheTimer)
{
    TKSVModCommProt engine;
    engine.SetOperatingMode(cmMonitor);
    EXPECT_TRUE(engine.Timer()->Running);
    const QDateTime before = engine.ScopeTimeBase();
    engine.SetOperatingMode(cmScope);
    EXPECT_FALSE(engine.Timer()->Running);
    EXPECT_GE(engine.ScopeTimeBase(), before);
    engine.SetOperatingMode(cmMonitor);
    engine.SetOperatingMode(cmTerminal);
    EXPECT_FALSE(engine.Timer()->Running);
    EXPECT_EQ(engine.OperatingMode(), cmTerminal);
}

TEST_F(EngineTest, TransactionsFromTwoThreadsNeverInterleave)
{
    constexpr int Rounds = 40;
    peer.Run([](PtyPeer &p) {
        for (int i = 0; i < 2 * Rounds; ++i) {
            const QByteArray cmd = p.ReadUntil("\r");
            if (cmd.isEmpty())
                return;
            p.Write(cmd.trimmed() + " 1\r\nCMD>");
        }
    });
    auto run = [this](const QString &name, int &good) {
        for (int i = 0; i < Rounds; ++i) {
            QString answer;
            if (engine.SendCmd(name + "\r", name, 2000, answer, ">") && answer == name + " 1\r\nCMD>")
                ++good;
        }
    };
    int goodA = 0;
    int goodB = 0;
    std::thread other([&] { run("SCOPE", goodB); });
    run("MONITOR", goodA);
    other.join();
    EXPECT_EQ(goodA, Rounds);
    EXPECT_EQ(goodB, Rounds);
}
