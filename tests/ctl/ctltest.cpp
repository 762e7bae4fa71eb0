#include "ctlfixture.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <ostream>

namespace {

// The demo module's shape: what it describes of itself in the SYSTEM view with APP POS.
const QString DemoType = "DEMO500";
const QStringList DemoSystemRows{"SENS",   "APP",      "EXPERT",   "FSCALE", "INPX",    "POL",   "RA_UP",
                                 "RA_DOWN", "W_OFFS",  "X_GAIN",   "DZ",     "I_MAX",   "I_MIN", "DITHER_F",
                                 "DITHER_A", "P_MAX",  "POS_WIN",  "CC",     "AIN_W",   "AIN_X"};

QStringList RowNames(const TRun &run)
{
    QStringList names;
    for (const QString &line : run.OutLines())
        names << line.section('\t', 0, 0);
    return names;
}

// --- identification and link settings -------------------------------------------------------

TEST_F(CtlTest, IdentifyPrintsTheSummary)
{
    const TRun run = Ctl({"identify"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines(), (QStringList{"ID: " + Module().IdText(), "Rate: 9600",
                                           "Access code: " + QString::number(Module().AccessCode()),
                                           "Parameters: 31", "Process values: 8", "Status bits: 8",
                                           "Remote inputs: 5", "Remote control: supported"}));
    EXPECT_TRUE(run.Err.isEmpty()) << "no progress on a stderr that is not a terminal";
}

TEST_F(CtlTest, IdentifyTellsAModuleWithoutRemoteControl)
{
    TSimOptions options = Unpaced();
    options.Remote = false;
    const TRun run = CtlOn(StartSim(options), {"identify"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.OutLines().contains("Remote inputs: 0"));
    EXPECT_TRUE(run.OutLines().contains("Remote control: not supported"));
}

struct TLinkCase {
    const char *Name;
    int SimRate;
    bool SimHalfDuplex;
    QStringList Args;
    int ExpectedRate;     // what ksvctl reports, and where the module is afterwards
};

void PrintTo(const TLinkCase &c, std::ostream *os)
{
    *os << c.Name;
}

class CtlLinkTest : public CtlTest, public ::testing::WithParamInterface<TLinkCase> {};

TEST_P(CtlLinkTest, IdentifiesAtTheRateTheOptionsGive)
{
    const TLinkCase &c = GetParam();
    TSimOptions options = Unpaced(c.SimRate);
    options.HalfDuplex = c.SimHalfDuplex;
    const QString port = StartSim(options);
    const TRun run = CtlOn(port, c.Args + QStringList{"identify"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.OutLines().contains("Rate: " + QString::number(c.ExpectedRate))) << run.Out.toStdString();
    EXPECT_EQ(Sims.back()->BaudRate(), c.ExpectedRate);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, CtlLinkTest,
    ::testing::Values(TLinkCase{"AutoFindsTheModuleRate", 38400, false, {}, 38400},
                      TLinkCase{"FixedRate", 19200, false, {"--rate", "19200"}, 19200},
                      TLinkCase{"FastMovesTheModule", 9600, false, {"--fast", "57600"}, 57600},
                      TLinkCase{"HalfDuplex", 19200, true, {"--hdx"}, 19200}),
    [](const auto &info) { return std::string(info.param.Name); });

struct TNoModuleCase {
    const char *Name;
    bool SilentPty;       // a port that opens but where nothing answers
    QString Sentence;     // %1 = the port
};

void PrintTo(const TNoModuleCase &c, std::ostream *os)
{
    *os << c.Name;
}

class CtlNoModuleTest : public ::testing::TestWithParam<TNoModuleCase> {};

TEST_P(CtlNoModuleTest, FailsWithOneSentenceNamingThePort)
{
    const TNoModuleCase &c = GetParam();
    int master = -1;
    QString port = "/nonexistent/ttyKSV";
    if (c.SilentPty) {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        port = QString::fromLatin1(ptsname(master));
    }
    const TRun run = RunCtl({"--port", port, "--rate", "9600", "identify"});
    if (master >= 0)
        close(master);
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.ErrLines(), QStringList{c.Sentence.arg(port)});
    EXPECT_TRUE(run.Out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Ports, CtlNoModuleTest,
    ::testing::Values(TNoModuleCase{"SilentPort", true, "ksvctl: no module answered on %1 at 9600 bit/s"},
                      TNoModuleCase{"MissingDevice", false, "ksvctl: cannot open the port %1"}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(CtlTest, ModuleWithoutDescriptionNamesTheMissingExtensionFile)
{
    TSimOptions options = Unpaced();
    options.Readout = false;
    const TRun run = CtlOn(StartSim(options), {"identify"});
    EXPECT_EQ(run.Code, 1);
    const QString dir = QFileInfo(KSVCTL_EXE).absolutePath() + "/";
    EXPECT_EQ(run.ErrLines(),
              QStringList{"The file: " + DemoType +
                          ".rdd could not found in the KSV500 working directory! Please make sure that the file is "
                          "located in the \"" + dir + "\" directory!"});
}

// --- usage ----------------------------------------------------------------------------------

TEST(CtlUsageTest, WrongCommandLinesExitWithTwoAndTheUsage)
{
    const QList<QStringList> cases{
        {},
        {"--port", "/dev/null", "frobnicate"},
        {"identify"},                                        // no port
        {"--port", "/dev/null", "get"},
        {"--port", "/dev/null", "get", "A", "B"},
        {"--port", "/dev/null", "--rate", "4800", "identify"},
        {"--port", "/dev/null", "--rate", "9600", "--fast", "57600", "identify"},
        {"--port", "/dev/null", "--hdx", "--fast", "57600", "identify"},
        {"--port", "/dev/null", "--force", "identify"},
        {"--port", "/dev/null", "--module", "0", "restore", "a.ksv"},
        {"--port", "/dev/null", "--ignore-id", "restore", "a.ksv"},
        {"--port", "/dev/null", "backup", "a.txt"},
        {"--port", "/dev/null", "--bogus", "identify"},
        {"--port"},
        {"offline", "a.par"},
        {"--port", "/dev/null", "monitor", "--passes", "0"},
        {"--port", "/dev/null", "monitor", "--interval", "fast"},
        {"--port", "/dev/null", "monitor", "extra"},
        {"--port", "/dev/null", "--passes", "3", "identify"},
        {"--port", "/dev/null", "remote"},
        {"--port", "/dev/null", "remote", "maybe"},
        {"--port", "/dev/null", "remote", "on", "now"},
        {"--port", "/dev/null", "remote", "set", "0", "100"},
        {"--port", "/dev/null", "remote", "set", "6", "100"},
        {"--port", "/dev/null", "remote", "set", "1", "much"},
        {"--port", "/dev/null", "remote", "inputs", "256"},
        {"--port", "/dev/null", "firmware"},
        {"--port", "/dev/null", "--fast", "57600", "firmware", "a.s19"},
    };
    for (const QStringList &args : cases) {
        const TRun run = RunCtl(args);
        const std::string label = args.join(' ').toStdString();
        EXPECT_EQ(run.Code, 2) << label;
        EXPECT_TRUE(run.Err.startsWith("ksvctl: ")) << label;
        EXPECT_TRUE(run.Err.contains("usage: ksvctl")) << label;
        EXPECT_TRUE(run.Out.isEmpty()) << label;
    }
}

TEST(CtlUsageTest, HelpGoesToStandardOutput)
{
    const TRun run = RunCtl({"--help"});
    EXPECT_EQ(run.Code, 0);
    EXPECT_TRUE(run.Out.startsWith("usage: ksvctl"));
}

// --- parameter table, single values ----------------------------------------------------------

TEST_F(CtlTest, ListShowsTheRowsOfTheModulesAccessCode)
{
    TRun run = Ctl({"list"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(RowNames(run), DemoSystemRows);
    EXPECT_TRUE(run.OutLines().contains("RA_UP\t1000\tRamp time up in ms"));

    // The expert switch widens the access code, the password opens its group.
    ASSERT_EQ(Ctl({"set", "EXPERT", "ON"}).Code, 0);
    ASSERT_EQ(Ctl({"password", "zolt2024"}).Code, 0);
    run = Ctl({"list"});
    EXPECT_TRUE(RowNames(run).contains("P_GAIN"));
    EXPECT_TRUE(RowNames(run).contains("I_LIMIT"));
    EXPECT_FALSE(RowNames(run).contains("CAL_I")) << "maker group stays hidden";
    EXPECT_FALSE(RowNames(run).contains("SERNO")) << "read-only values are not listed";
}

TEST_F(CtlTest, SettingTheApplicationIdentifiesAgain)
{
    const TRun set = Ctl({"set", "APP", "PRESS"});
    ASSERT_EQ(set.Code, 0) << set.Err.toStdString();
    EXPECT_EQ(set.OutLines(), QStringList{"PRESS"});
    const QStringList names = RowNames(Ctl({"list"}));
    EXPECT_TRUE(names.contains("PRS_WIN"));
    EXPECT_FALSE(names.contains("POS_WIN"));
}

struct TSetCase {
    const char *Name;
    QStringList Args;       // NAME VALUE...
    int Code;
    QString Printed;        // first output line; empty: none
    QString ErrPart;        // part of the sentence on stderr; empty: no stderr
    QString Key;            // module value afterwards
    QStringList Held;
};

void PrintTo(const TSetCase &c, std::ostream *os)
{
    *os << c.Name;
}

class CtlSetTest : public CtlTest, public ::testing::WithParamInterface<TSetCase> {};

TEST_P(CtlSetTest, SetPrintsWhatTheModuleHolds)
{
    const TSetCase &c = GetParam();
    const TRun run = Ctl(QStringList{"set"} + c.Args);
    EXPECT_EQ(run.Code, c.Code) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines().value(0), c.Printed);
    if (c.ErrPart.isEmpty())
        EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
    else
        EXPECT_TRUE(run.Err.startsWith("ksvctl: ") && run.Err.contains(c.ErrPart)) << run.Err.toStdString();
    EXPECT_EQ(Module().Value(c.Key), c.Held);
    if (c.Code == 0) {
        const TRun get = Ctl({"get", c.Args[0]});
        EXPECT_EQ(get.Code, 0);
        EXPECT_EQ(get.OutLines().value(0), c.Printed) << "a later get reads the same value";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, CtlSetTest,
    ::testing::Values(
        TSetCase{"Numeric", {"RA_UP", "2500"}, 0, "2500", "", "RA_UP", {"2500"}},
        TSetCase{"TextInAnyCase", {"SENS", "auto"}, 0, "AUTO", "", "SENS", {"AUTO"}},
        TSetCase{"AnalogueInput", {"AIN_W", "500", "1000", "0", "C"}, 0, "   500   1000      0 C", "", "AIN_W",
                 {"500", "1000", "0", "C"}},
        TSetCase{"OutOfRangeIsKept", {"X_GAIN", "20000"}, 1, "100", "did not take X_GAIN 20000; it holds 100",
                 "X_GAIN", {"100"}},
        TSetCase{"NotANumber", {"RA_UP", "fast"}, 2, "", "RA_UP takes one whole number", "RA_UP", {"1000"}},
        TSetCase{"NotInTheValueList", {"SENS", "MAYBE"}, 2, "", "SENS takes one of ON|OFF|AUTO", "SENS", {"ON"}},
        TSetCase{"CurveIndexOutside", {"CC", "11", "0", "0"}, 2, "", "CC takes a point", "CC:10",
                 {"10000", "10000"}},
        TSetCase{"ReadOnly", {"SERNO", "1"}, 1, "", "SERNO is read-only", "SERNO", {"12345"}},
        TSetCase{"UnknownName", {"NOPE", "1"}, 1, "", "has no parameter NOPE", "NOPE", {}}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(CtlTest, GetOfAnUnknownNameFails)
{
    const TRun run = Ctl({"get", "NOPE"});
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.ErrLines(), QStringList{"ksvctl: the module on " + Port + " has no parameter NOPE"});
}

TEST_F(CtlTest, CurveGetPrintsTheModulesTwentyOnePoints)
{
    const TRun run = Ctl({"get", "cc"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    QStringList expected;
    for (int i = -10; i <= 10; ++i)
        expected << QString("CC:%1 %2").arg(i).arg(Module().Value("CC:" + QString::number(i)).join(' '));
    EXPECT_EQ(run.OutLines(), expected);
}

TEST_F(CtlTest, CurveSetChangesOnePointOnly)
{
    const QStringList before = Module().Value("CC:4");
    const TRun run = Ctl({"set", "CC", "-3", "500", "-200"});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.OutLines().contains("CC:-3 500 -200"));
    EXPECT_EQ(Module().Value("CC:-3"), (QStringList{"500", "-200"}));
    EXPECT_EQ(Module().Value("CC:4"), before);
}

// --- module memory and password -------------------------------------------------------------

TEST_F(CtlTest, SaveLoadbackAndDefault)
{
    ASSERT_EQ(Ctl({"set", "RA_UP", "2222"}).Code, 0);
    TRun run = Ctl({"save"});
    EXPECT_EQ(run.Code, 0);
    EXPECT_EQ(run.OutLines(), QStringList{"Data saved!"});
    ASSERT_EQ(Ctl({"set", "RA_UP", "1111"}).Code, 0);
    run = Ctl({"loadback"});
    EXPECT_EQ(run.OutLines(), QStringList{"Data loadback ok!"});
    EXPECT_EQ(Module().Value("RA_UP"), QStringList{"2222"});
    run = Ctl({"default"});
    EXPECT_EQ(run.OutLines(), QStringList{"Data set to default!"});
    EXPECT_EQ(Module().Value("RA_UP"), QStringList{"1000"});
}

TEST_F(CtlTest, PasswordExitsZeroOnlyWhenAccepted)
{
    TRun run = Ctl({"password", "guess"});
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.ErrLines(), QStringList{"ksvctl: the module on " + Port + " did not accept the password"});
    EXPECT_FALSE(Module().AccessCode() & 0x0080);
    run = Ctl({"password", "zolt2024"});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(Module().AccessCode() & 0x0080);
}

// --- files ----------------------------------------------------------------------------------

class CtlFileTest : public CtlTest, public ::testing::WithParamInterface<const char *> {
protected:
    QString BackupFile() const { return File(QString("backup") + GetParam()); }
};

TEST_P(CtlFileTest, RestoreBringsBackTheBackedUpValues)
{
    TRun run = Ctl({"backup", BackupFile()});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines(), QStringList{"Data saved in \"" + BackupFile() + "\""});
    for (const QStringList &set : QList<QStringList>{{"RA_UP", "3333"}, {"SENS", "OFF"}, {"AIN_X", "2000", "500", "0", "V"}})
        ASSERT_EQ(Ctl(QStringList{"set"} + set).Code, 0) << set.join(' ').toStdString();

    run = Ctl({"restore", BackupFile()});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
    EXPECT_EQ(Module().Value("RA_UP"), QStringList{"1000"});
    EXPECT_EQ(Module().Value("SENS"), QStringList{"ON"});
    EXPECT_EQ(Module().Value("AIN_X"), (QStringList{"1000", "1000", "400", "C"}));
}

TEST_P(CtlFileTest, RestoreKeepsTheCurve)
{
    QStringList curve;
    for (int i = -10; i <= 10; ++i)
        curve << Module().Value("CC:" + QString::number(i)).join(' ');
    ASSERT_EQ(Ctl({"backup", BackupFile()}).Code, 0);
    ASSERT_EQ(Ctl({"restore", BackupFile()}).Code, 0);
    QStringList after;
    for (int i = -10; i <= 10; ++i)
        after << Module().Value("CC:" + QString::number(i)).join(' ');
    EXPECT_EQ(after, curve);
}

TEST_P(CtlFileTest, BackupOntoAnExistingEntryNeedsForce)
{
    ASSERT_EQ(Ctl({"backup", BackupFile()}).Code, 0);
    const QByteArray first = FileBytes(BackupFile());
    ASSERT_EQ(Ctl({"set", "RA_UP", "3333"}).Code, 0);

    TRun run = Ctl({"backup", BackupFile()});
    EXPECT_EQ(run.Code, 3);
    EXPECT_EQ(run.ErrLines().size(), 1);
    EXPECT_TRUE(run.Err.contains("use --force")) << run.Err.toStdString();
    EXPECT_EQ(FileBytes(BackupFile()), first);

    run = Ctl({"backup", BackupFile(), "--force"});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(FileBytes(BackupFile()).contains("3333"));
}

INSTANTIATE_TEST_SUITE_P(Formats, CtlFileTest, ::testing::Values(".ksv", ".par"),
                         [](const auto &info) { return std::string(info.param + 1); });

TEST_F(CtlTest, KsvOfAnotherModuleNeedsAModuleChoice)
{
    TSimOptions options = Unpaced();
    options.IdText = "OTHER500 V1.00 ZOLT 2024-01-01 SN000001";
    const QString other = StartSim(options);
    const QString file = File("other.ksv");
    ASSERT_EQ(CtlOn(other, {"set", "RA_UP", "2222"}).Code, 0);
    ASSERT_EQ(CtlOn(other, {"backup", file}).Code, 0);

    TRun run = Ctl({"restore", file});
    EXPECT_EQ(run.Code, 3);
    EXPECT_TRUE(run.Err.contains("--module N (1 = " + options.IdText + ")")) << run.Err.toStdString();
    EXPECT_EQ(Module().Value("RA_UP"), QStringList{"1000"});

    run = Ctl({"restore", file, "--module", "2"});
    EXPECT_EQ(run.Code, 3);
    EXPECT_TRUE(run.Err.contains("there is no module 2")) << run.Err.toStdString();

    run = Ctl({"restore", file, "--module", "1"});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(Module().Value("RA_UP"), QStringList{"2222"});
}

TEST_F(CtlTest, ParOfAnotherModuleTypeNeedsIgnoreId)
{
    const QString file = File("other.par");
    QFile par(file);
    ASSERT_TRUE(par.open(QIODevice::WriteOnly));
    par.write("OTHER500 V1.00 ZOLT SN000001\r\n##\r\nRA_UP                 2222 \r\n##\r\n");
    par.close();

    TRun run = Ctl({"restore", file});
    EXPECT_EQ(run.Code, 3);
    EXPECT_TRUE(run.Err.contains("use --ignore-id")) << run.Err.toStdString();
    EXPECT_EQ(Module().Value("RA_UP"), QStringList{"1000"});

    run = Ctl({"restore", file, "--ignore-id"});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(Module().Value("RA_UP"), QStringList{"2222"});
}

TEST_F(CtlTest, RestoreReportsEachUnknownCommandOnce)
{
    const QString file = File("unknown.par");
    QFile par(file);
    ASSERT_TRUE(par.open(QIODevice::WriteOnly));
    par.write((Module().IdText() + "\r\n##\r\nRA_UP 1500\r\nXYZ 1\r\nSENS AUTO\r\n##\r\n").toLatin1());
    par.close();

    const TRun run = Ctl({"restore", file});
    EXPECT_EQ(run.Code, 3);
    EXPECT_EQ(run.ErrLines(),
              QStringList{"ksvctl: the module on " + Port + " does not know the command XYZ of " + file});
    EXPECT_EQ(Module().Value("RA_UP"), QStringList{"1500"}) << "the known lines are applied";
    EXPECT_EQ(Module().Value("SENS"), QStringList{"AUTO"});
}

TEST_F(CtlTest, RestoreOfAnUnusableFile)
{
    const QString file = File("broken.ksv");
    QFile ksv(file);
    ASSERT_TRUE(ksv.open(QIODevice::WriteOnly));
    ksv.write("<?xml version=\"1.0\"?><Other/>");
    ksv.close();
    TRun run = Ctl({"restore", file});
    EXPECT_EQ(run.Code, 3);
    EXPECT_TRUE(run.Err.contains("is not a usable parameter file")) << run.Err.toStdString();
    run = Ctl({"restore", File("missing.par")});
    EXPECT_EQ(run.Code, 3);
    EXPECT_EQ(run.ErrLines(), QStringList{"ksvctl: cannot read " + File("missing.par")});
}

TEST_F(CtlTest, OfflineShowsAStoredModuleWithoutAPort)
{
    const QString file = File("two.ksv");
    ASSERT_EQ(Ctl({"backup", file}).Code, 0);
    TSimOptions options = Unpaced();
    options.IdText = "OTHER500 V1.00 ZOLT 2024-01-01 SN000001";
    ASSERT_EQ(CtlOn(StartSim(options), {"backup", file}).Code, 0);

    TRun run = RunCtl({"offline", file});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QStringList lines = run.OutLines();
    EXPECT_EQ(lines.mid(0, 3), (QStringList{"ID: " + Module().IdText(), "Rate: offline", "Access code: offline"}));
    EXPECT_TRUE(lines.contains("Parameters: 28")) << "ZERO has no entry, maker commands stay out";
    const QStringList names = RowNames(run);
    EXPECT_TRUE(names.contains("P_GAIN")) << "offline data shows every group";
    EXPECT_TRUE(names.contains("I_LIMIT"));
    EXPECT_FALSE(names.contains("SERNO"));
    EXPECT_TRUE(lines.contains("RA_UP\t1000\tRamp time up in ms"));

    run = RunCtl({"offline", file, "--module", "2"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines().value(0), "ID: " + options.IdText);

    run = RunCtl({"offline", file, "--module", "3"});
    EXPECT_EQ(run.Code, 3);
    EXPECT_EQ(run.ErrLines(), QStringList{"ksvctl: " + file + " holds 2 modules; there is no module 3"});
}

} // namespace

namespace {

TEST_F(CtlTest, SimulatorPlaysTheModuleOfAnOfflineFile)
{
    const QString file = File("played.ksv");
    ASSERT_EQ(Ctl({"set", "RA_UP", "2345"}).Code, 0);
    ASSERT_EQ(Ctl({"set", "SENS", "AUTO"}).Code, 0);
    ASSERT_EQ(Ctl({"backup", file}).Code, 0);

    TSimOptions options = Unpaced();
    options.FromFile = file;
    const QString played = StartSim(options);
    TRun run = CtlOn(played, {"identify"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.OutLines().value(0), "ID: " + Module().IdText());
    EXPECT_TRUE(run.OutLines().contains("Parameters: 28")) << run.Out.toStdString();
    EXPECT_TRUE(run.OutLines().contains("Process values: 8"));
    EXPECT_TRUE(run.OutLines().contains("Status bits: 8")) << "inactive bits keep their flags";
    EXPECT_EQ(CtlOn(played, {"get", "RA_UP"}).OutLines(), QStringList{"2345"});
    EXPECT_EQ(CtlOn(played, {"get", "SENS"}).OutLines(), QStringList{"AUTO"});
    EXPECT_TRUE(CtlOn(played, {"get", "CC"}).OutLines().contains("CC:-3 -3000 -900"));
    EXPECT_EQ(CtlOn(played, {"get", "AIN_X"}).OutLines(), QStringList{"  1000   1000    400 C"});
    run = CtlOn(played, {"set", "RA_UP", "0"});
    EXPECT_EQ(run.Code, 1) << "the limits come from the file";

    options.FromModule = 2;
    EXPECT_THROW(
        {
            TModuleSimulator missing(options);
            missing.Start();
        },
        std::runtime_error);
}

} // namespace
