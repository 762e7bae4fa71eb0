#include "comport.h"
#include "ksvmodcommprot.h"
#include "ksvterminalintf.h"
#include "modulesimulator.h"
#include "ptypeer.h"
#include "simlog.h"
#include "waitfor.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

class FakeTerminal : public TKSVTerminalIntf {
public:
    void WriteChar(char ch) override { Shown += ch; }
    void SetOnTerminalInput(TTerminalInputEvent) override {}
    QByteArray Shown;
};

// One S-record with its count and checksum.
QByteArray Record(char type, quint32 address, int addressBytes, const QByteArray &data)
{
    QByteArray bytes;
    bytes += char(addressBytes + data.size() + 1);
    for (int i = addressBytes - 1; i >= 0; --i)
        bytes += char((address >> (8 * i)) & 0xFF);
    bytes += data;
    unsigned sum = 0;
    for (char b : bytes)
        sum += uchar(b);
    bytes += char(~sum & 0xFF);
    return QByteArray("S") + type + bytes.toHex().toUpper();
}

// A small firmware image: header, data records of 16 bytes, end record.
QList<QByteArray> Records(int dataRecords)
{
    QList<QByteArray> records{Record('0', 0, 2, "boot")};
    for (int i = 0; i < dataRecords; ++i) {
        QByteArray data;
        for (int j = 0; j < 16; ++j)
            data += char(i * 16 + j);
        records << Record('1', quint32(i * 16), 2, data);
    }
    records << Record('9', 0, 2, {});
    return records;
}

QByteArray Joined(const QList<QByteArray> &records, const QByteArray &lineEnd)
{
    QByteArray text;
    for (const QByteArray &r : records)
        text += r + lineEnd;
    return text;
}

TSimOptions FastModule(int rate)
{
    TSimOptions options;
    options.Pacing = false;
    options.BaudRate = rate;
    options.EraseMs = 100;
    options.ReportDelayMs = 300;
    options.StartDelayMs = 300;
    return options;
}

// The engine against the simulated module, with firmware files in a temporary folder.
class BootloaderTest : public ::testing::Test {
protected:
    void StartModule(const TSimOptions &options)
    {
        sim = std::make_unique<TModuleSimulator>(options);
        engine.SetPortName(sim->Start());
    }
    void TearDown() override
    {
        engine.Disconnect();
        if (sim)
            sim->Stop();
    }
    QString WriteFile(const QString &name, const QByteArray &content)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }
    // An S-record file made by binutils from 300 bytes; empty when objcopy is missing.
    QString ObjcopyFile()
    {
        if (QStandardPaths::findExecutable("objcopy").isEmpty())
            return {};
        QByteArray image;
        for (int i = 0; i < 300; ++i)
            image += char(i * 37 + 5);
        const QString bin = WriteFile("fw.bin", image);
        const QString srec = dir.filePath("fw.s19");
        QProcess objcopy;
        objcopy.start("objcopy", {"-I", "binary", "-O", "srec", bin, srec});
        if (!objcopy.waitForFinished(10000) || objcopy.exitCode() != 0)
            return {};
        return srec;
    }
    bool ModuleAnswersId()
    {
        QString answer;
        return engine.SendCmd("ID\r", "ID", 400, answer);
    }
    bool LogHas(const QString &start) const
    {
        for (const QString &entry : sim->Log().Entries())
            if (entry.startsWith(start))
                return true;
        return false;
    }
    std::string LogText() const { return sim->Log().Entries().join(" / ").toStdString(); }

    QTemporaryDir dir;
    std::unique_ptr<TModuleSimulator> sim;
    TKSVModCommProt engine;
};

} // namespace

// The assistant's short run: enter, erase, prepare, transfer, start the application.
TEST_F(BootloaderTest, FullRunProgramsAndReturnsToTheFixedRate)
{
    const QString file = ObjcopyFile();
    if (file.isEmpty())
        GTEST_SKIP() << "objcopy is not installed";
    StartModule(FastModule(38400));
    engine.SetFixBaudrate(mb38400);
    ASSERT_TRUE(engine.Connect());
    ASSERT_EQ(engine.BaudRate(), mb57600); // the module was switched to the auto rate

    ASSERT_TRUE(engine.BootloaderStep(0)) << LogText();
    EXPECT_EQ(engine.BaudRate(), mb57600);
    EXPECT_TRUE(sim->InBootloader());
    ASSERT_TRUE(engine.BootloaderStep(2)) << LogText();
    ASSERT_TRUE(engine.BootloaderStep(3)) << LogText();

    QList<std::pair<int, int>> progress;
    bool notifiedDuringTransfer = false;
    ASSERT_TRUE(engine.SendFirmwareFile(file, [&](int done, int total) {
        progress.append({done, total});
        notifiedDuringTransfer |= bool(engine.Port()->OnRxChar);
    }));
    EXPECT_TRUE(LogHas("BL Programming done")) << LogText();
    EXPECT_TRUE(sim->Log().Entries().join("\n").contains("300 data bytes")) << LogText();
    const int size = int(QFile(file).size());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.front(), std::make_pair(0, size));
    EXPECT_EQ(progress.back(), std::make_pair(size, size));
    for (int i = 1; i < progress.size(); ++i)
        EXPECT_LE(progress[i - 1].first, progress[i].first);
    EXPECT_FALSE(notifiedDuringTransfer);
    EXPECT_TRUE(bool(engine.Port()->OnRxChar));

    sim->Log().Clear();
    ASSERT_TRUE(engine.BootloaderStep(1)) << LogText();
    EXPECT_FALSE(sim->InBootloader());
    // The "ID" written after the start reaches the application.
    EXPECT_TRUE(WaitFor([&] { return sim->Log().Commands().contains("ID"); })) << LogText();
    EXPECT_EQ(engine.BaudRate(), mb38400);
    EXPECT_EQ(engine.Port()->BaudRate(), 38400);
    EXPECT_TRUE(engine.PortOpen());
    EXPECT_TRUE(ModuleAnswersId());
}

TEST_F(BootloaderTest, EnteringForgetsTheModule)
{
    StartModule(FastModule(9600));
    engine.SetAutoSetBaudrate(false);
    ASSERT_TRUE(engine.Connect());
    QString modId;
    ASSERT_TRUE(engine.Identify(modId));
    ASSERT_TRUE(engine.CmdListValid());
    ASSERT_TRUE(engine.BootloaderStep(0));
    EXPECT_FALSE(engine.CmdListValid());
}

TEST_F(BootloaderTest, CorruptedRecordKeepsTheModuleInTheBootloader)
{
    QList<QByteArray> records = Records(4);
    records[2][10] = records[2][10] == '0' ? '1' : '0'; // one data digit changed: checksum off
    const QString file = WriteFile("bad.s19", Joined(records, "\r\n"));
    StartModule(FastModule(9600));
    ASSERT_TRUE(engine.BootloaderStep(0));
    ASSERT_TRUE(engine.BootloaderStep(2));
    ASSERT_TRUE(engine.BootloaderStep(3));
    // The boot loader's report arrives either way; it is the start that fails.
    EXPECT_TRUE(engine.SendFirmwareFile(file));
    EXPECT_TRUE(LogHas("BL Programming failed: checksum error in record 3")) << LogText();
    EXPECT_FALSE(engine.BootloaderStep(1));
    EXPECT_TRUE(sim->InBootloader());
    EXPECT_TRUE(LogHas("BL go refused")) << LogText();
}

TEST_F(BootloaderTest, StepsNeedAnOpenPortAndAKnownNumber)
{
    StartModule(FastModule(9600));
    for (uint8_t step : {1, 2, 3, 4}) {
        SCOPED_TRACE(int(step));
        EXPECT_FALSE(engine.BootloaderStep(step));
    }
    EXPECT_TRUE(sim->Log().Entries().isEmpty()) << LogText();
}

TEST_F(BootloaderTest, HalfDuplexRunStaysAtItsRateAndShowsTheTerminalNothing)
{
    TSimOptions options = FastModule(19200);
    options.HalfDuplex = true;
    StartModule(options);
    engine.SetTransferMode(tmHalfDuplex);
    FakeTerminal terminal;
    engine.SetTerminal(&terminal);
    engine.SetOperatingMode(cmTerminal);
    const QString file = WriteFile("fw.s19", Joined(Records(20), "\r\n"));

    ASSERT_TRUE(engine.BootloaderStep(0)) << LogText();
    ASSERT_TRUE(engine.BootloaderStep(2)) << LogText();
    ASSERT_TRUE(engine.BootloaderStep(3)) << LogText();
    // The line's copy of every byte comes back while the file goes out.
    ASSERT_TRUE(engine.SendFirmwareFile(file));
    EXPECT_TRUE(LogHas("BL Programming done: 22 records, 320 data bytes")) << LogText();
    ASSERT_TRUE(engine.BootloaderStep(1)) << LogText();
    EXPECT_EQ(engine.BaudRate(), mb19200);
    EXPECT_EQ(engine.Port()->BaudRate(), 19200);
    EXPECT_TRUE(terminal.Shown.isEmpty()) << terminal.Shown.toStdString();
    EXPECT_TRUE(ModuleAnswersId());
}

struct TSilentCase {
    const char *Name;
    bool Bootloader;      // false: the module does not know BOOTLOADER
    int FailAfter;        // the boot loader is entered, then the line goes silent
    bool AppReachable;
};

class SilentBootloader : public BootloaderTest, public ::testing::WithParamInterface<TSilentCase> {};

// The rate before entering is restored, not the fixed rate.
TEST_P(SilentBootloader, PortComesBackAtThePreviousRate)
{
    TSimOptions options = FastModule(38400);
    options.Bootloader = GetParam().Bootloader;
    options.FailAfter = GetParam().FailAfter;
    StartModule(options);
    engine.SetBaudRate(mb38400);
    ASSERT_EQ(engine.FixBaudrate(), mb9600);
    EXPECT_FALSE(engine.BootloaderStep(0));
    EXPECT_EQ(engine.BaudRate(), mb38400);
    EXPECT_EQ(engine.Port()->BaudRate(), 38400);
    EXPECT_TRUE(engine.PortOpen());
    EXPECT_TRUE(bool(engine.Port()->OnRxChar));
    if (GetParam().AppReachable) {
        EXPECT_TRUE(ModuleAnswersId());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SilentBootloader, ::testing::Values(
    TSilentCase{"NoBootloader", false, 0, true},
    TSilentCase{"SilentBootloader", true, 1, false}),
    [](const auto &info) { return std::string(info.param.Name); });

// --- what goes on the wire, seen by a scripted far end --------------------------------------

struct TTransferCase {
    const char *Name;
    QByteArray File;
    QByteArray Sent;
    int Pauses;   // CRs sent, each followed by 10 ms
};

// The engine's port open on a pseudo-terminal whose far end a test scripts.
class PeerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine.SetPortName(peer.SlavePath());
        engine.SetPortOpen(true);
        ASSERT_TRUE(engine.PortOpen());
    }
    QTemporaryDir dir;
    PtyPeer peer;
    TKSVModCommProt engine;
};

class FirmwareBytes : public PeerTest, public ::testing::WithParamInterface<TTransferCase> {};

TEST_P(FirmwareBytes, SentWithoutLineFeedsAndBackspacesPausingAfterEachCr)
{
    const QString path = dir.filePath("fw.s19");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().File);
    file.close();
    QByteArray received;
    peer.Run([&](PtyPeer &p) {
        received = p.ReadQuiet(300);
        p.Write("\r\nProgramming done\r\n>");
    });
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(engine.SendFirmwareFile(path));
    const qint64 elapsed = timer.elapsed();
    peer.Join();
    EXPECT_EQ(received, GetParam().Sent) << received.toHex().toStdString();
    EXPECT_GE(elapsed, 10 * GetParam().Pauses);
}

INSTANTIATE_TEST_SUITE_P(Files, FirmwareBytes, ::testing::Values(
    TTransferCase{"CrLf", "S0030000FC\r\nS9030000FC\r\n", "S0030000FC\rS9030000FC\r", 2},
    TTransferCase{"CrOnly", "S0030000FC\rS9030000FC\r", "S0030000FC\rS9030000FC\r", 2},
    // A bare LF ends a record too; sent as one long line the boot loader would refuse it.
    TTransferCase{"LfOnly", "S0030000FC\nS9030000FC\n", "S0030000FC\rS9030000FC\r", 2},
    TTransferCase{"Backspace", "S003\b0000FC\r\n\bS9030000FC", "S0030000FC\rS9030000FC", 1},
    TTransferCase{"BackspaceBetweenCrAndLf", "S0030000FC\r\b\nS9", "S0030000FC\rS9", 1},
    TTransferCase{"ManyRecords", Joined(Records(30), "\r\n"), Joined(Records(30), "\r"), 32}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(PeerTest, MissingFirmwareFileSendsNothing)
{
    QByteArray received = "unset";
    peer.Run([&](PtyPeer &p) { received = p.ReadQuiet(300); });
    int calls = 0;
    EXPECT_FALSE(engine.SendFirmwareFile(dir.filePath("none.s19"), [&](int, int) { ++calls; }));
    EXPECT_FALSE(engine.SendFile(dir.filePath("none.s19")));
    peer.Join();
    EXPECT_TRUE(received.isEmpty());
    EXPECT_EQ(calls, 0);
}

TEST_F(PeerTest, TransferWithoutTheReportFails)
{
    const QString path = dir.filePath("fw.s19");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("S9030000FC\r\n");
    file.close();
    peer.Run([](PtyPeer &p) {
        p.ReadQuiet(300);
        p.Write("\r\nno valid application!\r\n>");
    });
    EXPECT_FALSE(engine.SendFirmwareFile(path));
    peer.Join();
    EXPECT_TRUE(bool(engine.Port()->OnRxChar));
}

// --- waiting for a text ---------------------------------------------------------------------

struct TWaitCase {
    const char *Name;
    const char *Start;
    const char *End;
    QByteArray Arrives;
    bool Ok;
    const char *Answer;
};

class TextWait : public PeerTest, public ::testing::WithParamInterface<TWaitCase> {};

TEST_P(TextWait, FindsTheTexts)
{
    const TWaitCase &c = GetParam();
    // Later than the purge at the start of the wait, well within its time-out.
    peer.Run([&](PtyPeer &p) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        p.Write(c.Arrives);
    });
    QString answer = "stale";
    EXPECT_EQ(engine.WaitForText(c.Start, c.End, -1, 1000, answer), c.Ok);
    peer.Join();
    EXPECT_EQ(answer, QString(c.Answer));
}

INSTANTIATE_TEST_SUITE_P(Cases, TextWait, ::testing::Values(
    // The answer begins with the start text as given, whatever case arrived.
    TWaitCase{"StartAndEnd", "Programming", ">", "xx\r\nPROGRAMMING done\r\n>", true, "Programming done\r\n>"},
    TWaitCase{"StopsAtTheEnd", "", ">", "abc>def", true, "abc>"},
    TWaitCase{"NoStart", "Programming", ">", "failed\r\n>", false, ""},
    TWaitCase{"NoEnd", "Programming", ">", "Programming done", false, ""},
    TWaitCase{"StartOnly", "Z", "", "xxZabc", true, "Zabc"},
    TWaitCase{"AnythingAtAll", "", "", "abc", true, "abc"},
    TWaitCase{"Silence", "", "", "", false, ""}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(PeerTest, WhatArrivedBeforeTheWaitIsPurged)
{
    peer.Run([](PtyPeer &p) { p.Write("Programming done\r\n>"); });
    peer.Join();
    ASSERT_TRUE(WaitFor([&] { return engine.Port()->BytesWaiting() > 0; }));
    QString answer;
    EXPECT_FALSE(engine.WaitForText("Programming", ">", -1, 300, answer));
    EXPECT_TRUE(answer.isEmpty());
}

// --- the classic mode: the user works the boot loader's menu in the terminal ----------------

class ClassicMode : public BootloaderTest {
protected:
    void Type(char ch) { ASSERT_TRUE(engine.TerminalSendChar(ch)); }
    bool Shows(const char *text)
    {
        return WaitFor([&] { return terminal.Shown.contains(text); }, 5000);
    }
    FakeTerminal terminal;
};

TEST_F(ClassicMode, FullDuplexMenuFileAndExitThroughTheTerminal)
{
    StartModule(FastModule(9600));
    engine.SetTerminal(&terminal);
    engine.SetBootloaderMode(true);
    EXPECT_TRUE(engine.BootloaderMode());
    EXPECT_EQ(engine.OperatingMode(), cmTerminal);
    EXPECT_EQ(engine.BaudRate(), mb57600);
    Type('\r');
    ASSERT_TRUE(Shows("Z.O.LT.")) << terminal.Shown.toStdString();
    Type('1');
    ASSERT_TRUE(Shows("done")) << terminal.Shown.toStdString();
    Type('2');
    ASSERT_TRUE(Shows("Send file to Program")) << terminal.Shown.toStdString();
    EXPECT_TRUE(engine.SendFile(WriteFile("fw.s19", Joined(Records(5), "\r\n"))));
    ASSERT_TRUE(Shows("Programming done: 7 records")) << terminal.Shown.toStdString();

    engine.SetBootloaderMode(false);
    EXPECT_FALSE(engine.BootloaderMode());
    EXPECT_EQ(engine.BaudRate(), mb9600);
    ASSERT_TRUE(Shows("(y/n)?")) << terminal.Shown.toStdString();
    Type('y');
    ASSERT_TRUE(Shows("application started")) << terminal.Shown.toStdString();
    EXPECT_TRUE(ModuleAnswersId());
}

TEST_F(ClassicMode, HalfDuplexEntryHandsTheMenuToTheTerminal)
{
    TSimOptions options = FastModule(19200);
    options.HalfDuplex = true;
    StartModule(options);
    engine.SetTransferMode(tmHalfDuplex);
    engine.SetTerminal(&terminal);
    engine.SetBootloaderMode(true);
    EXPECT_TRUE(terminal.Shown.contains("FLASH erase command")) << terminal.Shown.toStdString();
    EXPECT_FALSE(terminal.Shown.contains("BOOTLOADER"));
    EXPECT_EQ(engine.BaudRate(), mb19200);
    engine.SetBootloaderMode(false);
    EXPECT_FALSE(engine.BootloaderMode());
    // The boot loader notes the key just after it echoed it.
    EXPECT_TRUE(WaitFor([&] { return LogHas("BL go"); })) << LogText();
}

TEST_F(ClassicMode, SwitchingOffWithThePortClosedKeepsTheMode)
{
    StartModule(FastModule(9600));
    engine.SetBootloaderMode(true);
    engine.SetPortOpen(false);
    engine.SetBootloaderMode(false);
    EXPECT_TRUE(engine.BootloaderMode());
    EXPECT_FALSE(sim->Log().Entries().join(" ").contains("BL go")) << LogText();
}
