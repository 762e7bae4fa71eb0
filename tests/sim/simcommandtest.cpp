#include "simfixture.h"

#include <QDir>
#include <QRegularExpression>
#include <QThread>
#include <QFile>
#include <QTemporaryDir>

class SimCommands : public SimFixture {
protected:
    void SetUp() override { StartSim(); }
    // The value items of a value answer "NAME v1 v2...\r\nCMD>".
    QStringList Read(const QByteArray &name)
    {
        QString answer = QString::fromLatin1(Transact(name + "\r"));
        answer.chop(4);
        QStringList items = answer.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        return items.mid(1);
    }
    bool Accepted(const QByteArray &line)
    {
        const QByteArray answer = Transact(line + "\r");
        return answer.endsWith("CMD>") && !answer.contains("command error");
    }
};

struct TExchange {
    const char *Sent;
    const char *Answer;
};

class SimExchange : public SimFixture, public ::testing::WithParamInterface<TExchange> {};

TEST_P(SimExchange, AnswersExactly)
{
    StartSim();
    EXPECT_EQ(Transact(QByteArray(GetParam().Sent) + "\r"), GetParam().Answer);
}

INSTANTIATE_TEST_SUITE_P(Demo, SimExchange, ::testing::Values(
    TExchange{"P_MAX", "P_MAX 2000\r\nCMD>"},
    TExchange{"p_max", "p_max 2000\r\nCMD>"},
    TExchange{"ACODE", "ACODE 316\r\nCMD>"},
    TExchange{"SENS", "SENS ON\r\nCMD>"},
    TExchange{"AIN_X", "AIN_X 1000 1000 400 C\r\nCMD>"},
    TExchange{"CC:-3", "CC:-3 -3 -3000 -900\r\nCMD>"},
    TExchange{"CC:10", "CC:10 10 10000 10000\r\nCMD>"},
    TExchange{"RC:M", "RC:M 0\r\nCMD>"},
    TExchange{"RC:S", "RC:S 0\r\nCMD>"},
    TExchange{"MODE ?", "MODE ?\r\nSYSTEM IO_CONFIG START_UP POSITION OUTPUT P_STAGE \r\nCMD>"},
    TExchange{"PASSWORD", "PASSWORD\r\nlocked\r\nCMD>"},
    TExchange{"DOWNLOAD", "DOWNLOAD\r\nsend parameter block!"},
    TExchange{"REMOTE", "REMOTE\r\ncommand error\r\nCMD>"},
    TExchange{"NOPE", "NOPE\r\ncommand error\r\nCMD>"},
    TExchange{"", "\r\nCMD>"}));

struct TRejected {
    const char *Sent;
};

class SimRejects : public SimFixture, public ::testing::WithParamInterface<const char *> {};

TEST_P(SimRejects, WithCommandError)
{
    StartSim();
    EXPECT_TRUE(Transact(QByteArray(GetParam()) + "\r").contains("command error")) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Demo, SimRejects, ::testing::Values(
    "RA_UP 0", "RA_UP 120001", "RA_UP x", "SENS MAYBE", "SERNO 5", "P_WARN 100", "W 10",
    "CC:11", "CC:-3 20000 0 ", "CC:-3 1 ", "CC", "AIN_W 1000 0 0 V", "AIN_W 1 2 3 X",
    "RC:910 100", "RC:S 3", "RC:M 2", "MODE NOWHERE", "BR 3", "ID 2"));

TEST_F(SimCommands, WriteThenReadBackEveryParameterKind)
{
    EXPECT_TRUE(Accepted("RA_UP 2500"));
    EXPECT_EQ(Read("RA_UP"), QStringList{"2500"});
    EXPECT_TRUE(Accepted("sens auto"));
    EXPECT_EQ(Read("SENS"), QStringList{"AUTO"});
    EXPECT_TRUE(Accepted("W_OFFS -250"));
    EXPECT_EQ(Read("W_OFFS"), QStringList{"-250"});
    EXPECT_TRUE(Accepted("AIN_W   2000   1000    100 C"));
    EXPECT_EQ(Read("AIN_W"), (QStringList{"2000", "1000", "100", "C"}));
}

TEST_F(SimCommands, CurvePointWrittenWithTrailingBlankReadsBack)
{
    EXPECT_TRUE(Accepted("CC:-3 -2900 -800 "));
    EXPECT_EQ(Read("CC:-3"), (QStringList{"-3", "-2900", "-800"}));
    EXPECT_EQ(Read("CC:-4"), (QStringList{"-4", "-4000", "-1600"}));
}

TEST_F(SimCommands, SaveLoadbackAndDefaultWorkOnThreeSets)
{
    ASSERT_TRUE(Accepted("RA_UP 2500"));
    ASSERT_TRUE(Accepted("SAVE"));
    ASSERT_TRUE(Accepted("RA_UP 3000"));
    ASSERT_TRUE(Accepted("Loadback"));
    EXPECT_EQ(Read("RA_UP"), QStringList{"2500"});
    ASSERT_TRUE(Accepted("DEFAULT"));
    EXPECT_EQ(Read("RA_UP"), QStringList{"1000"});
    ASSERT_TRUE(Accepted("LOADBACK"));
    EXPECT_EQ(Read("RA_UP"), QStringList{"2500"});
}

TEST_F(SimCommands, NewDataWritesChangeOtherValues)
{
    ASSERT_TRUE(Accepted("FSCALE 100"));
    EXPECT_EQ(Read("P_WARN"), QStringList{"900"});
    EXPECT_EQ(Read("P_MAX"), QStringList{"1000"});
    ASSERT_TRUE(Accepted("W_OFFS 300"));
    ASSERT_TRUE(Accepted("ZERO "));
    EXPECT_EQ(Read("W_OFFS"), QStringList{"0"});
}

TEST_F(SimCommands, NewTabWritesChangeTheVisibleSet)
{
    ASSERT_TRUE(Accepted("EXPERT ON"));
    EXPECT_EQ(Read("ACODE").value(0).toInt() & 0x200, 0x200);
    const QByteArray before = Transact("READOUT\r");
    EXPECT_TRUE(before.contains("\\POS_WIN\\"));
    EXPECT_FALSE(before.contains("\\PRS_WIN\\"));
    ASSERT_TRUE(Accepted("APP PRESS"));
    const QByteArray after = Transact("READOUT\r");
    EXPECT_FALSE(after.contains("\\POS_WIN\\"));
    EXPECT_TRUE(after.contains("\\PRS_WIN\\"));
    EXPECT_TRUE(Transact("POS_WIN\r").contains("command error"));
}

TEST_F(SimCommands, ModeSelectsTheAccessCodeOfAView)
{
    ASSERT_TRUE(Accepted("MODE IO_CONFIG"));
    EXPECT_EQ(Read("ACODE"), QStringList{"12"});
    ASSERT_TRUE(Accepted("mode system"));
    EXPECT_EQ(Read("ACODE"), QStringList{"316"});
}

TEST_F(SimCommands, PasswordAddsBit7OnlyWhenRight)
{
    EXPECT_FALSE(Transact("PASSWORD guess\r").contains("OK"));
    EXPECT_EQ(Read("ACODE"), QStringList{"316"});
    EXPECT_TRUE(Transact("PASSWORD " + TSimOptions().Password.toLatin1() + "\r").contains("OK"));
    EXPECT_EQ(Read("ACODE"), QStringList{QString::number(316 | 0x80)});
}

TEST_F(SimCommands, RemoteInputsTakeWritesOnlyWhileRemoteIsOn)
{
    ASSERT_TRUE(Accepted("RC:M 1"));
    EXPECT_EQ(Read("RC:M"), QStringList{"1"});
    EXPECT_TRUE(Accepted("RC:910 500"));
    EXPECT_EQ(Read("RC:910"), QStringList{"500"});
    EXPECT_EQ(Read("W"), QStringList{"500"});
    EXPECT_TRUE(Transact("RC:6 -1\r").contains("command error"));
    EXPECT_TRUE(Accepted("RC:S 5"));
    EXPECT_EQ(Read("RC:S"), QStringList{"5"});
    ASSERT_TRUE(Accepted("RC:M 0"));
    EXPECT_TRUE(Transact("RC:910 100\r").contains("command error"));
    EXPECT_TRUE(Transact("RC:M ?\r").startsWith("RC:M ?\r\n"));
}

TEST_F(SimCommands, DownloadTakesTheConcatenatedBlock)
{
    EXPECT_TRUE(Transact("DOWNLOAD\r", "!").endsWith("!"));
    const QByteArray answer = Transact("RA_UP 4000;SENS OFF;CC:2 2100 500;NOPE 1;\r");
    EXPECT_TRUE(answer.contains("3 values, 1 errors, download completed!\r\nCMD>"));
    EXPECT_EQ(Read("RA_UP"), QStringList{"4000"});
    EXPECT_EQ(Read("CC:2"), (QStringList{"2", "2100", "500"}));
}

TEST_F(SimCommands, ProcessValuesMoveAndShareOneStatusWord)
{
    const QStringList first = Read("X");
    QThread::msleep(300);
    EXPECT_NE(Read("X"), first);
    const int word = Read("ST:READY").value(0).toInt();
    EXPECT_EQ(word & 1, 1);
    EXPECT_EQ(Read("ST:POWER").value(0).toInt() & 0x80, 0x80);
    const QByteArray readout = Transact("READOUT\r");
    EXPECT_EQ(readout.count("\\10\\ST:"), 10);
    EXPECT_EQ(readout.count("\\11\\RC:"), 5);
    EXPECT_EQ(readout.count("\n2\\0\\"), 8);
}

class SimVariants : public SimFixture {};

TEST_F(SimVariants, NoReadoutModuleSaysErrorInItsId)
{
    TSimOptions options = FastOptions();
    options.Readout = false;
    StartSim(options, 9600);
    EXPECT_TRUE(Transact("ID\r").contains("error"));
    EXPECT_TRUE(Transact("Readout\r").contains("command error"));
}

TEST_F(SimVariants, NoRemoteModuleAnswersRemoteAndHasNoRcCommands)
{
    TSimOptions options = FastOptions();
    options.Remote = false;
    StartSim(options, 9600);
    EXPECT_EQ(Transact("REMOTE\r"), "REMOTE 0\r\nCMD>");
    EXPECT_TRUE(Transact("RC:M\r").contains("command error"));
    EXPECT_FALSE(Transact("READOUT\r").contains("RC:"));
}

TEST_F(SimVariants, NoPasswordAndBarePrompt)
{
    TSimOptions options = FastOptions();
    options.PasswordCmd = false;
    options.Prompt = ">";
    StartSim(options, 9600);
    EXPECT_EQ(Transact("PASSWORD\r"), "PASSWORD\r\ncommand error\r\n>");
    EXPECT_EQ(Transact("P_MAX\r"), "P_MAX 2000\r\n>");
}

TEST_F(SimVariants, PlaysAModuleFromReadoutAndValueFiles)
{
    QTemporaryDir dir;
    const QString rdd = dir.filePath("MOD7.rdd");
    const QString values = dir.filePath("mod7.txt");
    const QByteArray lines = "3\\2\\P1\\\\Gain\\1\\0\\1000\\7\r\n"
                             "3\\1\\T1\\ON|OFF\\Switch\\1\\0\\0\r\n"
                             "3\\6\\CV\\\\Curve\\1\\-100\\100\r\n"
                             "2\\0\\PV\\bar\\Pressure\\1\\0\\10\r\n";
    QFile file(rdd);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines);
    file.close();
    QFile valueFile(values);
    ASSERT_TRUE(valueFile.open(QIODevice::WriteOnly));
    valueFile.write("P1 250\nT1 OFF\nCV:-1 -1 -50 -40\nCV:1 50 40\nPV 1234\n");
    valueFile.close();

    TSimOptions options = FastOptions();
    options.RddFile = rdd;
    options.ValuesFile = values;
    options.IdText = "MOD7 V2 SIM 1";
    StartSim(options, 9600);
    EXPECT_EQ(Transact("ID\r"), "ID\r\nMOD7 V2 SIM 1\r\nCMD>");
    EXPECT_EQ(Transact("READOUT\r"),
              "READOUT\r\n3\\2\\P1\\\\Gain\\1\\0\\1000\\7\r\n"
              "3\\1\\T1\\ON|OFF\\Switch\\1\\0\\0\\65468\r\n"
              "3\\6\\CV\\\\Curve\\1\\-100\\100\\65468\r\n"
              "2\\0\\PV\\bar\\Pressure\\1\\0\\10\\65468\r\nCMD>");
    EXPECT_EQ(Transact("P1\r"), "P1 250\r\nCMD>");
    EXPECT_EQ(Transact("CV:-1\r"), "CV:-1 -1 -50 -40\r\nCMD>");
    EXPECT_EQ(Transact("CV:1\r"), "CV:1 1 50 40\r\nCMD>");
    EXPECT_EQ(Transact("PV\r"), "PV 1234\r\nCMD>");
    EXPECT_TRUE(Transact("P1 1001\r").contains("command error"));
}
