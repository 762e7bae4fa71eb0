#include "simfixture.h"

#include "simbootloader.h"

#include <QProcess>
#include <QTemporaryDir>

namespace {

// An S-record file made by objcopy from some bytes.
QByteArray ObjcopyRecords()
{
    QTemporaryDir dir;
    QFile bin(dir.filePath("fw.bin"));
    if (!bin.open(QIODevice::WriteOnly))
        return {};
    QByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes += char(i * 37);
    bin.write(bytes);
    bin.close();
    QProcess objcopy;
    objcopy.start("objcopy", {"-I", "binary", "-O", "srec", bin.fileName(), dir.filePath("fw.s19")});
    if (!objcopy.waitForFinished(10000) || objcopy.exitCode() != 0)
        return {};
    QFile srec(dir.filePath("fw.s19"));
    return srec.open(QIODevice::ReadOnly) ? srec.readAll() : QByteArray();
}

// As the PC sends a firmware file: without line feeds.
QByteArray WithoutLineFeeds(QByteArray file)
{
    return file.replace("\n", "");
}

} // namespace

class SimBootloader : public SimFixture {
protected:
    // No purge between the write and the switch: on a pseudo-terminal, purging the output
    // discards what the module has not read yet.
    void EnterFullDuplex()
    {
        Port.Purge();
        Port.Write("BOOTLOADER\r");
        Port.SetBaudRate(57600);
        Port.Write("\r");
        const QByteArray menu = ReadUntil(">");
        ASSERT_TRUE(menu.contains("Z.O.LT.")) << menu.toHex().toStdString() << "\n"
                                              << Sim->Log().Entries().join(" / ").toStdString();
        ASSERT_TRUE(menu.endsWith(">"));
    }
    QByteArray Program(const QByteArray &file)
    {
        EXPECT_TRUE(Transact("1").contains("Erasing"));
        EXPECT_TRUE(Transact("2", "Program").contains("Send file"));
        Port.Write(WithoutLineFeeds(file));
        return ReadUntil(">");
    }
    // "G" at 57600, then the question at the application's rate, then "y".
    QByteArray StartApplication()
    {
        Port.Purge();
        Port.Write("G");
        Port.SetBaudRate(9600);
        const QByteArray question = ReadUntil("?\r\n");
        if (!question.contains("(y/n)?"))
            return question;
        return Transact("y");
    }
};

TEST_F(SimBootloader, CleanProgrammingStartsTheApplicationAgain)
{
    const QByteArray file = ObjcopyRecords();
    ASSERT_TRUE(file.startsWith("S0"));
    StartSim();
    EnterFullDuplex();
    const QByteArray report = Program(file);
    EXPECT_TRUE(report.contains("Programming done")) << report.toStdString();
    EXPECT_TRUE(report.contains("300 data bytes"));
    const QByteArray started = StartApplication();
    EXPECT_TRUE(started.contains("application started")) << started.toStdString();
    EXPECT_TRUE(started.endsWith("CMD>"));
    EXPECT_TRUE(Transact("ID\r").endsWith("CMD>"));
    EXPECT_TRUE(Sim->Log().Entries().contains("BL start application"));
}

TEST_F(SimBootloader, CorruptedRecordKeepsTheModuleInTheBootloader)
{
    // The second record's checksum is off by one.
    const QByteArray file = "S00600004844521B\r\n"
                            "S1130000285F245F2212226A000424290008237C29\r\n"
                            "S9030000FC\r\n";
    StartSim();
    EnterFullDuplex();
    const QByteArray report = Program(file);
    EXPECT_TRUE(report.contains("Programming failed: checksum error in record 2"))
        << report.toStdString();
    EXPECT_TRUE(report.endsWith(">"));
    EXPECT_TRUE(Transact("G").contains("no valid application"));
    EXPECT_TRUE(Sim->InBootloader());
}

TEST_F(SimBootloader, HalfDuplexEntryShowsTheMenuAndEchoesKeys)
{
    TSimOptions options = FastOptions();
    options.HalfDuplex = true;
    StartSim(options, 19200);
    const QByteArray menu = Transact("BOOTLOADER\r");
    EXPECT_TRUE(menu.contains("FLASH erase command")) << menu.toStdString();
    // The line's copy, then the boot loader's echo, then its answer.
    EXPECT_TRUE(Transact("1").startsWith("11\r\nErasing"));
}

// The PC writes "BOOTLOADER" CR and at once switches to 57600 and sends CR: the bytes before
// the switch must count at the old rate, those after at the new one, every time.
TEST_F(SimBootloader, EntryAndExitSurviveTheRateSwitchRace)
{
    TSimOptions options = FastOptions();
    options.StartDelayMs = 100;
    StartSim(options, 9600);
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        Port.Purge();
        Port.Write("BOOTLOADER\r");
        Port.SetBaudRate(57600);
        Port.Write("\r");
        const QByteArray menu = ReadUntil(">");
        ASSERT_TRUE(menu.contains("Z.O.LT.")) << menu.toHex().toStdString();
        const QByteArray started = StartApplication();
        ASSERT_TRUE(started.endsWith("CMD>")) << started.toHex().toStdString();
    }
}

struct TRecordCase {
    const char *Record;
    const char *Problem;
};

class SimRecordCheck : public ::testing::TestWithParam<TRecordCase> {};

TEST_P(SimRecordCheck, FindsWhatIsWrong)
{
    EXPECT_EQ(TSimBootloader::CheckRecord(GetParam().Record), GetParam().Problem);
}

INSTANTIATE_TEST_SUITE_P(Records, SimRecordCheck, ::testing::Values(
    TRecordCase{"S1130000285F245F2212226A000424290008237C2A", ""},
    TRecordCase{"S9030000FC", ""},
    TRecordCase{"S1130000285F245F2212226A000424290008237C29", "checksum error"},
    TRecordCase{"S1130000285F245F2212226A000424290008237C2", "format error"},
    TRecordCase{"S1130000285F245F2212226A0004242900082X7C2A", "format error"},
    TRecordCase{"S1140000285F245F2212226A000424290008237C2A", "length error"},
    TRecordCase{"S4030000FC", "record type error"},
    TRecordCase{"X9030000FC", "format error"}));
