// ksvctl's live commands against the simulated module: monitor, remote and firmware.
#include "ctlfixture.h"
#include "simlog.h"

#include <QRegularExpression>

namespace {

// A module with fixed values, so a monitor line is known to the character: three process
// values with their scaling, a status word of 5 over three bits at 0, 1 and 2, and remote
// inputs on two pins only.
const char *const LiveReadout = R"(3\2\GAIN\\Gain\1\0\1000\4
2\0\W\%\Command value\1\0\100\4
2\0\X\%\Actual value\1\0\100\4
2\0\IA\mA\Solenoid current\1\0\1\4
2\10\ST:READY\\Ready\1\0\9\4
2\10\ST:ENABLE\\Enable\1\1\9\4
2\10\ST:RAMP\\Ramp\1\2\13\4
3\11\RC:910\\Remote W\21\-10000\10000\4
3\11\RC:6\\Remote X\21\0\10000\4
)";
const char *const LiveValues = "GAIN 10\nW 1234\nX -50\nIA 1500\nST:READY 5\n";
const QString LivePass = "W=12.34 % X=-0.50 % IA=1500.00 mA status=0x0005 inputs=0x00";
const QRegularExpression TimeStamped("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d (.*)$");

// The pass lines without their time stamps; a line without one stays whole, so it shows.
QStringList PassTexts(const TRun &run)
{
    QStringList texts;
    for (const QString &line : run.OutLines()) {
        const QRegularExpressionMatch match = TimeStamped.match(line);
        texts << (match.hasMatch() ? match.captured(1) : line);
    }
    return texts;
}

class CtlLiveTest : public CtlTest {
protected:
    TSimOptions LiveModule()
    {
        TSimOptions options = Unpaced(115200);
        options.RddFile = WriteFile("live.rdd", LiveReadout);
        options.ValuesFile = WriteFile("live.values", LiveValues);
        return options;
    }
    QString WriteFile(const QString &name, const QByteArray &content)
    {
        QFile file(File(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }
    TModuleSimulator &Sim() { return *Sims.back(); }
};

// --- monitor --------------------------------------------------------------------------------

TEST_F(CtlLiveTest, MonitorPrintsOnePassPerLineAtTheEnginesInterval)
{
    const TRun run = Ctl({"monitor", "--passes", "2"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
    const QRegularExpression demoPass("^W=-?\\d+\\.\\d\\d % X=-?\\d+\\.\\d\\d % E=-?\\d+\\.\\d\\d % U=-?\\d+\\.\\d\\d % "
                                      "IA=-?\\d+\\.\\d\\d mA PA=-?\\d+\\.\\d\\d bar TEMP=-?\\d+\\.\\d\\d degC "
                                      "UB=-?\\d+\\.\\d\\d V status=0x[0-9a-f]{4} inputs=0x[0-9a-f]{2}$");
    const QStringList texts = PassTexts(run);
    ASSERT_EQ(texts.size(), 2) << run.Out.toStdString();
    for (const QString &text : texts)
        EXPECT_TRUE(demoPass.match(text).hasMatch()) << text.toStdString();
}

// One transaction per process value, one for the status word and one for the inputs.
TEST_F(CtlLiveTest, MonitorPassCostsOneTransactionPerValueStatusAndInputs)
{
    const QString port = StartSim(LiveModule());
    ASSERT_EQ(CtlOn(port, {"monitor", "--passes", "1", "--interval", "20"}).Code, 0);
    const int onePass = int(Sim().Log().Commands().size());
    Sim().Log().Clear();
    ASSERT_EQ(CtlOn(port, {"monitor", "--passes", "2", "--interval", "20"}).Code, 0);
    const QStringList commands = Sim().Log().Commands();
    const int perPass = int(commands.size()) - onePass;
    EXPECT_EQ(commands.mid(commands.size() - 2 * perPass),
              (QStringList{"W", "X", "IA", "ST:READY", "RC:S", "W", "X", "IA", "ST:READY", "RC:S"}));
}

struct TMonitorCase {
    const char *Name;
    int AnsweredInPassTwo;       // commands the module still answers in pass 2; -1: no fault
    QStringList Texts;           // the pass lines without their time stamps
    int Code;
    QString ErrPart;
};

void PrintTo(const TMonitorCase &c, std::ostream *os)
{
    *os << c.Name;
}

class CtlMonitorTest : public CtlLiveTest, public ::testing::WithParamInterface<TMonitorCase> {};

TEST_P(CtlMonitorTest, PassesGoOnUntilOneInWhichEveryValueFailed)
{
    const TMonitorCase &c = GetParam();
    TSimOptions options = LiveModule();
    if (c.AnsweredInPassTwo >= 0) {
        // The commands before pass 2 counted on a healthy module: identification and one pass.
        const QString probe = StartSim(options);
        ASSERT_EQ(CtlOn(probe, {"monitor", "--passes", "1", "--interval", "20"}).Code, 0);
        options.FailAfter = int(Sim().Log().Commands().size()) + c.AnsweredInPassTwo;
    }
    const TRun run = CtlOn(StartSim(options), {"monitor", "--passes", "3", "--interval", "20"});
    EXPECT_EQ(run.Code, c.Code) << run.Err.toStdString();
    EXPECT_EQ(PassTexts(run), c.Texts);
    if (c.ErrPart.isEmpty())
        EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
    else
        EXPECT_EQ(run.ErrLines(), QStringList{"ksvctl: no process value of the module on " + Sims.back()->SlavePath() +
                                              " answered in " + c.ErrPart + "; polling stopped"});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CtlMonitorTest,
    ::testing::Values(
        TMonitorCase{"EveryPassAnswers", -1, {LivePass, LivePass, LivePass}, 0, ""},
        TMonitorCase{"SilentModuleStopsAfterAPassWithoutValues", 0, {LivePass}, 1, "pass 2"},
        TMonitorCase{"PartlyFailingPassGoesOn",
                     2,
                     {LivePass, "W=12.34 % X=-0.50 % IA=? mA status=? inputs=?"},
                     1,
                     "pass 3"}),
    [](const auto &info) { return std::string(info.param.Name); });

// --- remote control -------------------------------------------------------------------------

TEST_F(CtlLiveTest, RemoteControlSwitchesAndDrivesTheInputs)
{
    TRun run = Ctl({"remote", "on"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines(), QStringList{"Remote control: on"});
    EXPECT_TRUE(Module().RemoteActive());

    run = Ctl({"remote", "set", "1", "2500"});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines(), QStringList{"RC:910 2500"});
    EXPECT_EQ(Module().Value("RC:910"), QStringList{"2500"});

    run = Ctl({"remote", "inputs", "0x13"});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines(), QStringList{"RC:S 19"});
    EXPECT_TRUE(PassTexts(Ctl({"monitor", "--passes", "1", "--interval", "20"})).value(0).endsWith("inputs=0x13"));

    run = Ctl({"remote", "off"});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines(), QStringList{"Remote control: off"});
    EXPECT_FALSE(Module().RemoteActive());
}

struct TRemoteRefusalCase {
    const char *Name;
    bool LiveModule;             // else the demo module
    bool RemoteCtrl;             // the module has remote control at all
    bool SwitchedOn;             // "remote on" before the command
    QStringList Args;
    QString Printed;             // what the module reported back; empty: nothing
    QString ErrPart;
    QString Key;                 // a module value that must stay as it was
};

void PrintTo(const TRemoteRefusalCase &c, std::ostream *os)
{
    *os << c.Name;
}

class CtlRemoteRefusalTest : public CtlLiveTest, public ::testing::WithParamInterface<TRemoteRefusalCase> {};

TEST_P(CtlRemoteRefusalTest, RefusalExitsWithOneAndNamesTheReason)
{
    const TRemoteRefusalCase &c = GetParam();
    TSimOptions options = c.LiveModule ? LiveModule() : Unpaced();
    options.Remote = c.RemoteCtrl;
    const QString port = StartSim(options);
    if (c.SwitchedOn) {
        ASSERT_EQ(CtlOn(port, {"remote", "on"}).Code, 0);
    }
    const QStringList before = Sim().Module().Value(c.Key);
    const TRun run = CtlOn(port, QStringList{"remote"} + c.Args);
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.OutLines(), c.Printed.isEmpty() ? QStringList() : QStringList{c.Printed});
    EXPECT_EQ(run.ErrLines().size(), 1) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.startsWith("ksvctl: ") && run.Err.contains(c.ErrPart)) << run.Err.toStdString();
    EXPECT_EQ(Sim().Module().Value(c.Key), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CtlRemoteRefusalTest,
    ::testing::Values(
        TRemoteRefusalCase{"PinWithoutInput", true, true, true, {"set", "3", "100"}, "",
                           "has no remote input on pin 3 (PIN 13)", "RC:13"},
        TRemoteRefusalCase{"ValueOutsideTheRange", false, true, true, {"set", "2", "-5"}, "RC:6 0",
                           "did not take RC:6 -5; it holds 0", "RC:6"},
        TRemoteRefusalCase{"SetWhileOff", false, true, false, {"set", "1", "500"}, "", "remote control is off",
                           "RC:910"},
        TRemoteRefusalCase{"InputsWhileOff", false, true, false, {"inputs", "3"}, "", "remote control is off",
                           "RC:910"},
        TRemoteRefusalCase{"ModuleWithoutRemoteControl", false, false, false, {"on"}, "", "has no remote control",
                           "RC:910"}),
    [](const auto &info) { return std::string(info.param.Name); });

// --- firmware -------------------------------------------------------------------------------

const QStringList FirmwareSteps{"starting!", "erasing!", "programming!", "Ready!"};
constexpr int ImageBytes = 2000;

struct TSrecTool {
    const char *Name;
    QString Program;
    QStringList Args;            // %in: the binary image, %out: the S-record file
};

void PrintTo(const TSrecTool &c, std::ostream *os)
{
    *os << c.Name;
}

class CtlFirmwareTest : public CtlLiveTest, public ::testing::WithParamInterface<TSrecTool> {
protected:
    void SetUp() override { Port = StartSim(FirmwareModule()); }
    static TSimOptions FirmwareModule()
    {
        TSimOptions options = Unpaced();
        options.EraseMs = 100;
        options.ReportDelayMs = 300;
        options.StartDelayMs = 300;
        return options;
    }
    // An S-record file of a binary image, made by the tool of the test case.
    QString Firmware()
    {
        QByteArray image;
        for (int i = 0; i < ImageBytes; ++i)
            image += char(i * 37 + 5);
        const QString in = WriteFile("fw.bin", image);
        const QString out = File("fw.s19");
        QStringList args = GetParam().Args;
        args.replaceInStrings("%in", in);
        args.replaceInStrings("%out", out);
        QProcess tool;
        tool.start(GetParam().Program, args);
        const bool made = tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit &&
                          tool.exitCode() == 0;
        EXPECT_TRUE(made) << GetParam().Program.toStdString() << " failed (scripts/install-deps.sh installs it): "
                          << tool.readAllStandardError().toStdString();
        return made ? out : QString();
    }
    // The file with one hex digit of its third data record changed: the record's checksum fails.
    QString Corrupted(const QString &good)
    {
        QList<QByteArray> lines = FileBytes(good).split('\n');
        QByteArray &record = lines[3];
        const qsizetype digit = record.size() - (record.endsWith('\r') ? 4 : 3); // the last data digit
        record[digit] = record[digit] == '0' ? '1' : '0';
        return WriteFile("bad.s19", lines.join('\n'));
    }
    bool LogHas(const QString &part) { return Sims.front()->Log().Entries().join('\n').contains(part); }
};

TEST_P(CtlFirmwareTest, GoodFileProgramsTheModuleAndItsApplicationRunsAgain)
{
    const QString file = Firmware();
    ASSERT_FALSE(file.isEmpty());
    const TRun run = Ctl({"firmware", file});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines(), FirmwareSteps);
    EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
    EXPECT_TRUE(LogHas(QString::number(ImageBytes) + " data bytes")) << Sims.front()->Log().Entries().join('\n').toStdString();
    EXPECT_FALSE(Sims.front()->InBootloader());
    const TRun identify = Ctl({"identify"});
    EXPECT_EQ(identify.Code, 0) << identify.Err.toStdString();
    EXPECT_TRUE(identify.OutLines().contains("Rate: 9600"));
}

TEST_P(CtlFirmwareTest, CorruptedRecordIsAChecksumErrorUntilAGoodFileFollows)
{
    const QString good = Firmware();
    ASSERT_FALSE(good.isEmpty());
    TRun run = Ctl({"firmware", Corrupted(good)});
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.OutLines(), FirmwareSteps + QStringList{"checksum error!"});
    EXPECT_EQ(run.ErrLines(), QStringList{"ksvctl: the application of the module on " + Port +
                                          " did not start again; the module stays in its boot loader"});
    EXPECT_TRUE(LogHas("checksum error in record 4"));
    EXPECT_TRUE(Sims.front()->InBootloader());

    // The boot loader takes the next attempt; the rate the application comes back at is given.
    run = Ctl({"--rate", "9600", "firmware", good});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines(), FirmwareSteps);
    EXPECT_EQ(Ctl({"identify"}).Code, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, CtlFirmwareTest,
    ::testing::Values(TSrecTool{"Objcopy", "objcopy", {"-I", "binary", "-O", "srec", "%in", "%out"}},
                      // LF line ends; the start address gives the end record the boot loader wants.
                      TSrecTool{"SrecCat", "srec_cat",
                                {"%in", "-binary", "-o", "%out", "-motorola", "-execution-start-address=0"}}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(CtlLiveTest, FirmwareWithoutABootLoaderLeavesTheApplicationReachable)
{
    TSimOptions options = Unpaced();
    options.Bootloader = false;
    const QString port = StartSim(options);
    const QString file = WriteFile("any.s19", "S9030000FC\r\n");
    const TRun run = CtlOn(port, {"firmware", file});
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.OutLines(), QStringList{"starting!"});
    EXPECT_EQ(run.ErrLines(), QStringList{"ksvctl: Firmware update could not start! Check port settings or "
                                          "availability of the bootloader. Restart the module and try it again!"});
    const TRun identify = CtlOn(port, {"identify"});
    EXPECT_EQ(identify.Code, 0) << identify.Err.toStdString();
    EXPECT_TRUE(identify.OutLines().contains("Rate: 9600"));
}

TEST_F(CtlLiveTest, FirmwareFileThatCannotBeReadChangesNothing)
{
    const TRun run = Ctl({"firmware", File("missing.s19")});
    EXPECT_EQ(run.Code, 3);
    EXPECT_EQ(run.ErrLines(), QStringList{"ksvctl: cannot read " + File("missing.s19")});
    EXPECT_TRUE(Sims.front()->Log().Entries().isEmpty());
}

} // namespace
