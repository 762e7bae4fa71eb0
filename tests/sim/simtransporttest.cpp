#include "simfixture.h"

#include "simdemo.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>

class SimTransport : public SimFixture {};
class SimRate : public SimFixture, public ::testing::WithParamInterface<int> {};

TEST_P(SimRate, IdAtTheModulesRateGivesEchoTextAndPrompt)
{
    StartSim(GetParam());
    EXPECT_EQ(Transact("ID\r"), "ID\r\n" + TSimDemo::DefaultIdText().toLatin1() + "\r\nCMD>");
}

INSTANTIATE_TEST_SUITE_P(Rates, SimRate, ::testing::Values(9600, 19200, 57600, 115200));

TEST_F(SimTransport, WrongRateGivesOnlyFramingGarbage)
{
    TSimOptions options = FastOptions();
    StartSim(options, 19200);
    Port.Write("ID\r");
    const QByteArray answer = ReadQuiet(400);
    EXPECT_TRUE(AllGarbage(answer)) << answer.toHex().toStdString();
}

TEST_F(SimTransport, HalfDuplexSendsTheLineCopyThenTheEcho)
{
    TSimOptions options = FastOptions();
    options.HalfDuplex = true;
    StartSim(options, 19200);
    Port.Purge();
    Port.SetTimeouts({-1, 0, 2000});
    Port.Write("I");
    EXPECT_EQ(Port.Read(2), "II");
    Port.Write("D");
    EXPECT_EQ(Port.Read(2), "DD");
    Port.Write("\r");
    EXPECT_EQ(Port.Read(1), "\r");
    EXPECT_EQ(ReadUntil(">"), "\r\n" + TSimDemo::DefaultIdText().toLatin1() + "\r\nCMD>");
}

TEST_F(SimTransport, HalfDuplexAtAWrongRateKeepsTheCopyButGarblesTheEcho)
{
    TSimOptions options = FastOptions();
    options.HalfDuplex = true;
    StartSim(options, 9600);
    Port.SetTimeouts({-1, 0, 2000});
    Port.Write("I");
    const QByteArray answer = Port.Read(2);
    ASSERT_EQ(answer.size(), 2);
    EXPECT_EQ(answer[0], 'I');
    EXPECT_GE(uchar(answer[1]), 0x80);
}

TEST_F(SimTransport, BrAnswersAtTheOldRateThenSwitches)
{
    StartSim(9600);
    EXPECT_EQ(Transact("BR 6\r"), "BR 6\r\nCMD>");
    Port.SetBaudRate(57600);
    EXPECT_TRUE(Transact("ID\r").endsWith("CMD>"));
    EXPECT_EQ(Sim->BaudRate(), 57600);
    Port.SetBaudRate(9600);
    Port.Write("ID\r");
    EXPECT_TRUE(AllGarbage(ReadQuiet(300)));
}

TEST_F(SimTransport, BrAboveTheLimitIsRefusedAndTheRateStays)
{
    TSimOptions options = FastOptions();
    options.BrMax = 38400;
    StartSim(options, 9600);
    EXPECT_TRUE(Transact("BR 6\r").contains("command error"));
    EXPECT_TRUE(Transact("BR 4\r").endsWith("CMD>"));
    Port.SetBaudRate(38400);
    EXPECT_TRUE(Transact("ID\r").endsWith("CMD>"));
    EXPECT_EQ(Sim->BaudRate(), 38400);
}

TEST_F(SimTransport, PacingTakesTheWireTimeOfEveryByte)
{
    TSimOptions options = FastOptions();
    options.Pacing = true;
    StartSim(options, 9600);
    QElapsedTimer timer;
    timer.start();
    const QByteArray answer = Transact("READOUT\r");
    // 10 bits per byte at 9600 bit/s: at least about 1 ms per byte.
    EXPECT_GT(answer.size(), 2000);
    EXPECT_GE(timer.elapsed(), answer.size() * 10 * 1000 / 9600 * 9 / 10);
}

TEST_F(SimTransport, LogHoldsEveryCommandLineAsReceived)
{
    QTemporaryDir dir;
    TSimOptions options = FastOptions();
    options.LogFile = dir.filePath("sim.log");
    StartSim(options, 9600);
    Transact("ID\r");
    Transact("p_max 1500\r");
    EXPECT_EQ(Sim->Log().Commands(), (QStringList{"ID", "p_max 1500"}));
    QFile log(options.LogFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("CMD p_max 1500"));
}

TEST_F(SimTransport, FailAfterGoesSilent)
{
    TSimOptions options = FastOptions();
    options.FailAfter = 2;
    StartSim(options, 9600);
    EXPECT_TRUE(Transact("ID\r").endsWith("CMD>"));
    EXPECT_TRUE(Transact("ID\r").endsWith("CMD>"));
    EXPECT_TRUE(Transact("ID\r", ">", 500).isEmpty());
}

TEST_F(SimTransport, GarbleReplacesOutputBytes)
{
    TSimOptions options = FastOptions();
    options.Garble = 1.0;
    StartSim(options, 9600);
    Port.Write("ID\r");
    EXPECT_TRUE(AllGarbage(ReadQuiet(300)));
}

TEST_F(SimTransport, HangupAfterClosesTheLine)
{
    TSimOptions options = FastOptions();
    options.HangupAfter = 1;
    StartSim(options, 9600);
    EXPECT_TRUE(Transact("ID\r").endsWith("CMD>"));
    QElapsedTimer timer;
    timer.start();
    while (Sim->Running() && timer.elapsed() < 5000)
        QThread::msleep(10);
    EXPECT_FALSE(Sim->Running());
    bool failed = false;
    try {
        failed = Transact("ID\r", ">", 300).isEmpty();
    } catch (const EComPort &) {
        failed = true;
    }
    EXPECT_TRUE(failed);
}

TEST_F(SimTransport, LinkPointsToTheSlaveWhileServing)
{
    QTemporaryDir dir;
    TSimOptions options = FastOptions();
    options.LinkPath = dir.filePath("ksvsim-link");
    TModuleSimulator sim(options);
    const QString path = sim.Start();
    EXPECT_EQ(QFileInfo(options.LinkPath).symLinkTarget(), path);
    sim.Stop();
    EXPECT_FALSE(QFileInfo(options.LinkPath).isSymLink());
}

// The executable prints the slave path first, answers ID at 9600 and garbage at 19200, and
// ends cleanly on SIGTERM.
TEST_F(SimTransport, ExecutableServesUntilTerminated)
{
    QProcess process;
    process.start(KSVSIM_EXE, {"--no-pacing"});
    ASSERT_TRUE(process.waitForStarted(5000));
    ASSERT_TRUE(process.waitForReadyRead(5000));
    const QString path = QString::fromLocal8Bit(process.readLine()).trimmed();
    ASSERT_TRUE(path.startsWith("/dev/"));
    Port.SetPort(path);
    Port.SetBaudRate(9600);
    Port.Open();
    EXPECT_EQ(Transact("ID\r"), "ID\r\n" + TSimDemo::DefaultIdText().toLatin1() + "\r\nCMD>");
    Port.SetBaudRate(19200);
    Port.Write("ID\r");
    EXPECT_TRUE(AllGarbage(ReadQuiet(300)));
    Port.Close();
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}
