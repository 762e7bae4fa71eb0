#include "modainparacmd.h"
#include "modccparacmd.h"
#include "modcommandlist.h"
#include "modctrlcommand.h"
#include "modnumparacmd.h"
#include "modprocessdata.h"
#include "modremotectrlcommandlist.h"
#include "modstatusinfodata.h"
#include "modtextparacmd.h"
#include "osksvcmddom.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The four lists of one module, as the engine holds them.
struct TModuleLists {
    TModCommandList CmdList;
    TModProcessData ProcessData;
    TModStatusInfoData StatusInfo;
    TModRemoteCtrlCommandList RemoteCtrlCmds;

    void Attach(TosKSVCmdDOM &dom)
    {
        dom.CmdList = &CmdList;
        dom.ProcessData = &ProcessData;
        dom.StatusInfo = &StatusInfo;
        dom.RemoteCtrlCmds = &RemoteCtrlCmds;
    }
};

template <typename T>
T *AddCtrl(TModCommandList &list, const QString &name, uint16_t gcode = 0x3C)
{
    auto *cmd = new T;
    cmd->Name = name;
    cmd->AType = 3;
    cmd->GCode = gcode;
    list.Add(cmd);
    return cmd;
}

// A module with one command of every kind the file stores; `base` varies the values.
void FillModule(TModuleLists &m, int32_t base)
{
    auto *text = AddCtrl<TModTextParaCmd>(m.CmdList, "T1");
    text->VList = {"ON", "OFF", "AUTO"};
    text->SetTxt(base % 2 ? "OFF" : "AUTO");
    text->Help = "Betriebsart wählen";
    auto *num = AddCtrl<TModNumParaCmd>(m.CmdList, "P1");
    num->Min = -100;
    num->Max = 100000;
    num->Val = base;
    num->VType = 21;
    auto *curve = AddCtrl<TModCCParaCmd>(m.CmdList, "CC");
    for (int i = TModCCParaCmd::MinPoint; i <= TModCCParaCmd::MaxPoint; ++i)
        curve->SetPoint(i, {i * 1000, base + i});
    auto *ain = AddCtrl<TModAinParaCmd>(m.CmdList, "AIN:W");
    ain->A = base;
    ain->B = 1000;
    ain->C = -50;
    ain->X = 1;
    m.CmdList.Add(new TModCtrlCommand(5));

    auto *proc = new TModProcCommand;
    proc->Name = "X:PRESS";
    proc->PhysUnit = "µm";
    proc->CompFactor = 100;
    proc->Help = "Druck bei 20 °C";
    proc->GCode = 4;
    m.ProcessData.Add(proc);

    auto *bit = new TModStatusBitCommand;
    bit->Name = "ST:READY";
    bit->BIndex = 3;
    bit->BActive = true;
    bit->BInvers = true;
    bit->BColor = 2;
    bit->HintText = "Ready";
    m.StatusInfo.Add(bit);

    auto *remote = new TModRemoteCtrlCmd;
    remote->Name = "RC:6";
    remote->AType = 3;
    remote->Help = "Enable";
    remote->Min = 0;
    remote->Max = 1;
    m.RemoteCtrlCmds.Add(remote);
}

class KsvFileTest : public ::testing::Test {
protected:
    QString Path(const QString &name = "params.ksv") const { return Dir.filePath(name); }

    void Write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray Read(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool Save(TModuleLists &m, const QString &id, const QString &path)
    {
        TosKSVCmdDOM dom;
        m.Attach(dom);
        return dom.SaveModule(path, id);
    }

    bool Load(TModuleLists &m, const QString &id, const QString &path)
    {
        TosKSVCmdDOM dom;
        m.Attach(dom);
        return dom.LoadModule(path, id);
    }

    // A module element with the four sections around the given commands.
    static QByteArray ModuleFile(const QByteArray &commands, const QByteArray &root = "ZOLT-ModulCmdList",
                                 const QByteArray &version = "1.0")
    {
        return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<" + root + " version=\"" + version
            + "\">\n<Modul ID=\"M1\"><Commands>" + commands
            + "</Commands><ProzessData/><StatusInfo/><RemoteCtrl/></Modul>\n</" + root + ">\n";
    }

    QTemporaryDir Dir;
};

TEST_F(KsvFileTest, TwoModulesRoundTripInOneFile)
{
    TModuleLists a;
    TModuleLists b;
    FillModule(a, 1);
    FillModule(b, 2);
    ASSERT_TRUE(Save(a, "KSV100 1.0", Path()));
    ASSERT_TRUE(Save(b, "KSV200 2.1", Path()));
    ASSERT_TRUE(Save(a, "KSV100 1.0", Path())); // replaces, does not add

    TosKSVCmdDOM dom;
    QStringList ids{"kept"};
    ASSERT_TRUE(dom.GetModuleIds(Path(), ids));
    EXPECT_EQ(ids, QStringList({"kept", "KSV100 1.0", "KSV200 2.1"}));
    EXPECT_TRUE(dom.ModuleExists(Path(), "ksv200 2.1"));
    EXPECT_FALSE(dom.ModuleExists(Path(), "KSV300"));

    TModuleLists r;
    ASSERT_TRUE(Load(r, "KSV200 2.1", Path()));
    ASSERT_EQ(r.CmdList.Count(), 4); // the NoPara entry is not read back
    auto *text = dynamic_cast<TModTextParaCmd *>(r.CmdList.Command(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Name, "T1");
    EXPECT_EQ(text->VList, QStringList({"ON", "OFF", "AUTO"}));
    EXPECT_EQ(text->Txt(), "AUTO");
    EXPECT_EQ(text->Help, "Betriebsart wählen");
    EXPECT_EQ(text->AType, 3);
    EXPECT_EQ(text->GCode, 0x3C);
    auto *num = dynamic_cast<TModNumParaCmd *>(r.CmdList.Command(1));
    ASSERT_NE(num, nullptr);
    EXPECT_EQ(num->Val, 2);
    EXPECT_EQ(num->Min, -100);
    EXPECT_EQ(num->Max, 100000);
    EXPECT_EQ(num->VType, 21);
    auto *curve = dynamic_cast<TModCCParaCmd *>(r.CmdList.Command(2));
    ASSERT_NE(curve, nullptr);
    for (int i = TModCCParaCmd::MinPoint; i <= TModCCParaCmd::MaxPoint; ++i)
        EXPECT_EQ(curve->GetPoint(i), TCCPoint({i * 1000, 2 + i})) << i;
    auto *ain = dynamic_cast<TModAinParaCmd *>(r.CmdList.Command(3));
    ASSERT_NE(ain, nullptr);
    EXPECT_EQ(ain->A, 2);
    EXPECT_EQ(ain->B, 1000);
    EXPECT_EQ(ain->C, -50);
    EXPECT_EQ(ain->X, 1);

    ASSERT_EQ(r.ProcessData.Count(), 1);
    EXPECT_EQ(r.ProcessData.ProcCommand(0)->PhysUnit, "µm");
    EXPECT_EQ(r.ProcessData.ProcCommand(0)->CompFactor, 100);
    EXPECT_EQ(r.ProcessData.ProcCommand(0)->Help, "Druck bei 20 °C");
    EXPECT_EQ(r.ProcessData.ProcCommand(0)->GCode, 4);
    ASSERT_EQ(r.StatusInfo.Count(), 1);
    const TModStatusBitCommand *bit = r.StatusInfo.StatusBit(0);
    EXPECT_EQ(bit->Name, "ST:READY");
    EXPECT_EQ(bit->BIndex, 3);
    EXPECT_TRUE(bit->BActive);
    EXPECT_TRUE(bit->BInvers);
    EXPECT_EQ(bit->BColor, 2);
    EXPECT_EQ(bit->HintText, "Ready");
    ASSERT_EQ(r.RemoteCtrlCmds.Count(), 1);
    EXPECT_EQ(r.RemoteCtrlCmds.RemoteCmd(0)->Name, "RC:6");
    EXPECT_EQ(r.RemoteCtrlCmds.RemoteCmd(0)->Help, "Enable");
    EXPECT_EQ(r.RemoteCtrlCmds.RemoteCmd(0)->Max, 0); // limits are not stored

    ASSERT_TRUE(Load(r, "KSV100 1.0", Path())); // loading replaces the previous content
    EXPECT_EQ(r.CmdList.Count(), 4);
    EXPECT_EQ(dynamic_cast<TModTextParaCmd *>(r.CmdList.Command(0))->Txt(), "OFF");
    EXPECT_EQ(dynamic_cast<TModNumParaCmd *>(r.CmdList.Command(1))->Val, 1);
    EXPECT_EQ(r.ProcessData.Count(), 1);
}

TEST_F(KsvFileTest, SmallFileHasExactBytes)
{
    TModuleLists m;
    auto *num = AddCtrl<TModNumParaCmd>(m.CmdList, "P1", 7);
    num->Max = 1000;
    num->Val = -5;
    num->Help = "Gain <\"A\" & B>";
    m.CmdList.Add(new TModCtrlCommand(5));
    auto *bit = new TModStatusBitCommand;
    bit->Name = "ST:ERR";
    bit->BColor = 1;
    bit->HintText = "Fehler °";
    m.StatusInfo.Add(bit);
    ASSERT_TRUE(Save(m, "KSV100 µ", Path()));

    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                "<ZOLT-ModulCmdList version=\"1.0\">\n"
                                "  <Modul ID=\"KSV100 \xb5\">\n"
                                "    <Commands>\n"
                                "      <CCmd Name=\"P1\" Type=\"2\" AType=\"3\" VList=\"\" VType=\"1\" GCode=\"7\" "
                                "Min=\"0\" Max=\"1000\" Help=\"Gain &lt;&quot;A&quot; &amp; B&gt;\">\n"
                                "        <Para Val=\"-5\"/>\n"
                                "      </CCmd>\n"
                                "      <CCmd/>\n"
                                "    </Commands>\n"
                                "    <ProzessData/>\n"
                                "    <StatusInfo>\n"
                                "      <SCmd Name=\"ST:ERR\" Type=\"10\" AType=\"2\" GCode=\"0\" BIndex=\"0\" "
                                "BActive=\"False\" BInvers=\"False\" BColor=\"1\" Help=\"Fehler \xb0\"/>\n"
                                "    </StatusInfo>\n"
                                "    <RemoteCtrl/>\n"
                                "  </Modul>\n"
                                "</ZOLT-ModulCmdList>\n";
    EXPECT_EQ(Read(Path()), expected);
}

TEST_F(KsvFileTest, CurveAttributesFollowTheirFixedOrder)
{
    TModuleLists m;
    AddCtrl<TModCCParaCmd>(m.CmdList, "CC");
    AddCtrl<TModAinParaCmd>(m.CmdList, "AIN");
    AddCtrl<TModTextParaCmd>(m.CmdList, "T");
    auto *proc = new TModProcCommand;
    proc->Name = "V";
    m.ProcessData.Add(proc);
    ASSERT_TRUE(Save(m, "M", Path()));
    const QByteArray bytes = Read(Path());
    QByteArray points;
    for (int i = 0; i <= 20; ++i)
        points += " X" + QByteArray::number(i) + "=\"0\" Y" + QByteArray::number(i) + "=\"0\"";
    EXPECT_TRUE(bytes.contains("<Para" + points + "/>"));
    EXPECT_TRUE(bytes.contains("<Para A=\"0\" B=\"0\" C=\"0\" X=\"0\"/>"));
    EXPECT_TRUE(bytes.contains("<Para Txt=\"\"/>"));
    EXPECT_TRUE(bytes.contains(
        "<PCmd Name=\"V\" Type=\"0\" AType=\"2\" PhysUnit=\"\" VType=\"1\" GCode=\"0\" CompFactor=\"1\" Help=\"\"/>"));
}

TEST_F(KsvFileTest, TextsBeyondAsciiRoundTrip)
{
    const QStringList helps = {"ä ö ü ß", "µm bei 20 °C", "Größe € ≥ 𝄞", "tab\tline\nbreak\r \"q\" 'a' <&>"};
    TModuleLists m;
    for (int i = 0; i < helps.size(); ++i)
        AddCtrl<TModNumParaCmd>(m.CmdList, QString("P%1").arg(i))->Help = helps[i];
    ASSERT_TRUE(Save(m, "Modul ä", Path()));

    const QByteArray bytes = Read(Path());
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"));
    EXPECT_TRUE(bytes.contains("\xe4 \xf6 \xfc \xdf")); // one byte per Latin-1 character
    EXPECT_TRUE(bytes.contains("\xb5m bei 20 \xb0"));
    EXPECT_TRUE(bytes.contains("&#8364;")); // beyond Latin-1: a character reference

    TModuleLists r;
    ASSERT_TRUE(Load(r, "Modul ä", Path()));
    ASSERT_EQ(r.CmdList.Count(), helps.size());
    for (int i = 0; i < helps.size(); ++i)
        EXPECT_EQ(r.CmdList.Command(i)->Help, helps[i]) << i;
}

TEST_F(KsvFileTest, WrittenFileIsAcceptedByXmllint)
{
    const QString xmllint = QStandardPaths::findExecutable("xmllint");
    if (xmllint.isEmpty())
        GTEST_SKIP() << "xmllint not on the PATH";
    TModuleLists m;
    FillModule(m, 7);
    m.CmdList.Command(0)->Help = "ä € \"<&>\" \t";
    ASSERT_TRUE(Save(m, "M1", Path()));
    ASSERT_TRUE(Save(m, "M2", Path()));
    QProcess lint;
    lint.start(xmllint, {"--noout", Path()});
    ASSERT_TRUE(lint.waitForFinished(30000));
    EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardError().toStdString();
}

TEST_F(KsvFileTest, ValueListItemsSurviveTheJoin)
{
    const QStringList items = {"ON", "", "A|B", "say \"hi\"", "two words", " lead", "trail "};
    TModuleLists m;
    AddCtrl<TModTextParaCmd>(m.CmdList, "T")->VList = items;
    AddCtrl<TModTextParaCmd>(m.CmdList, "E")->VList = QStringList({"", ""});
    ASSERT_TRUE(Save(m, "M", Path()));
    EXPECT_TRUE(Read(Path()).contains("VList=\"ON||&quot;A|B&quot;|&quot;say &quot;&quot;hi&quot;&quot;&quot;|two words|"));
    TModuleLists r;
    ASSERT_TRUE(Load(r, "M", Path()));
    EXPECT_EQ(dynamic_cast<TModCtrlCommand *>(r.CmdList.Command(0))->VList, items);
    EXPECT_EQ(dynamic_cast<TModCtrlCommand *>(r.CmdList.Command(1))->VList, QStringList({"", ""}));
}

TEST_F(KsvFileTest, MissingCurveCoordinatesRepeatThePointBefore)
{
    QByteArray para;
    for (int i = 0; i <= 20; ++i) {
        if (i != 7)
            para += " X" + QByteArray::number(i) + "=\"" + QByteArray::number(100 * i) + "\"";
        if (i != 0)
            para += " Y" + QByteArray::number(i) + "=\"" + (i == 5 ? QByteArray("x") : QByteArray::number(-i)) + "\"";
    }
    Write(Path(), ModuleFile("<CCmd Name=\"CC\" Type=\"6\"><Para" + para + "/></CCmd>"));
    TModuleLists r;
    ASSERT_TRUE(Load(r, "M1", Path()));
    auto *curve = dynamic_cast<TModCCParaCmd *>(r.CmdList.Command(0));
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->GetPoint(-10), TCCPoint({0, 0}));   // Y0 missing: 0 for the first point
    EXPECT_EQ(curve->GetPoint(-4), TCCPoint({600, -6}));
    EXPECT_EQ(curve->GetPoint(-3), TCCPoint({600, -7})); // X7 missing: the X of point -4
    EXPECT_EQ(curve->GetPoint(-5), TCCPoint({500, -4})); // Y5 no integer: the Y of point -6
    EXPECT_EQ(curve->GetPoint(10), TCCPoint({2000, -20}));
}

TEST_F(KsvFileTest, CommandElementsByTypeAndGroup)
{
    Write(Path(), ModuleFile("<CCmd Name=\"IN\" Type=\"4\"/><CCmd Name=\"AS\" Type=\"8\"/><CCmd Name=\"L\" Type=\"9\"/>"
                             "<CCmd Name=\"NOTYPE\"/><CCmd Name=\"BADTYPE\" Type=\"two\"/><CCmd/>"
                             "<CCmd Name=\"ZOLT\" Type=\"2\" GCode=\"64\"/>"
                             "<CCmd Name=\"LOW\" Type=\"257\" AType=\"259\" GCode=\"65539\" VList=\"A|B\"><Para Txt=\"b\"/></CCmd>"
                             "<CCmd Name=\"BAD\" Type=\"2\" Min=\"-1.5\" Max=\"0x10\" VType=\"\"><Para Val=\"99999999999\"/></CCmd>"));
    TModuleLists r;
    ASSERT_TRUE(Load(r, "M1", Path()));
    ASSERT_EQ(r.CmdList.Count(), 2);
    auto *low = dynamic_cast<TModTextParaCmd *>(r.CmdList.Command(0));
    ASSERT_NE(low, nullptr); // type 257 has the low byte 1
    EXPECT_EQ(low->AType, 3);
    EXPECT_EQ(low->GCode, 3);
    EXPECT_EQ(low->Txt(), "b");
    auto *bad = dynamic_cast<TModNumParaCmd *>(r.CmdList.Command(1));
    ASSERT_NE(bad, nullptr); // values that are no integers keep the constructed ones
    EXPECT_EQ(bad->Min, 0);
    EXPECT_EQ(bad->Max, 0);
    EXPECT_EQ(bad->VType, 1);
    EXPECT_EQ(bad->Val, 0);
}

TEST_F(KsvFileTest, BooleansReadInAnyCaseOrAsNumbers)
{
    struct TCase {
        const char *Text;
        bool Expected;
    };
    // "yes" is no boolean and keeps the constructed false.
    const TCase cases[] = {{"True", true}, {"FALSE", false}, {"true", true}, {"1", true},
                           {"-7", true},   {"0", false},     {"yes", false}};
    QByteArray status;
    for (const TCase &c : cases)
        status += QByteArray("<SCmd Name=\"S\" Type=\"10\" BActive=\"") + c.Text + "\" BInvers=\"" + c.Text + "\"/>";
    status += "<SCmd Name=\"WRONG\" Type=\"11\"/>";
    Write(Path(), "<?xml version=\"1.0\"?><ZOLT-ModulCmdList version=\"1.0\"><Modul ID=\"M\"><Commands/><ProzessData/>"
                  "<StatusInfo>" + status + "</StatusInfo><RemoteCtrl/></Modul></ZOLT-ModulCmdList>");
    TModuleLists r;
    ASSERT_TRUE(Load(r, "M", Path()));
    ASSERT_EQ(r.StatusInfo.Count(), int(std::size(cases)));
    for (int i = 0; i < int(std::size(cases)); ++i) {
        EXPECT_EQ(r.StatusInfo.StatusBit(i)->BActive, cases[i].Expected) << cases[i].Text;
        EXPECT_EQ(r.StatusInfo.StatusBit(i)->BInvers, cases[i].Expected) << cases[i].Text;
    }
}

TEST_F(KsvFileTest, IncompleteOrAmbiguousModulesFail)
{
    struct TCase {
        const char *What;
        QByteArray Body;
        int Commands; // how many commands were read all the same
    };
    const QByteArray cmd = "<Commands><CCmd Name=\"P\" Type=\"2\"/></Commands>";
    const TCase cases[] = {
        {"no RemoteCtrl", "<Modul ID=\"M\">" + cmd + "<ProzessData/><StatusInfo/></Modul>", 1},
        {"no Commands", "<Modul ID=\"M\"><ProzessData/><StatusInfo/><RemoteCtrl/></Modul>", 0},
        {"twice", "<Modul ID=\"M\">" + cmd + "</Modul><Modul ID=\"M\">" + cmd + "</Modul>", 0},
        {"other case", "<Modul ID=\"m\">" + cmd + "<ProzessData/><StatusInfo/><RemoteCtrl/></Modul>", 0},
    };
    for (const TCase &c : cases) {
        Write(Path(), "<ZOLT-ModulCmdList version=\"1.0\">" + c.Body + "</ZOLT-ModulCmdList>");
        TModuleLists r;
        FillModule(r, 1);
        EXPECT_FALSE(Load(r, "M", Path())) << c.What;
        EXPECT_EQ(r.CmdList.Count(), c.Commands) << c.What;
        EXPECT_EQ(r.RemoteCtrlCmds.Count(), 0) << c.What;
    }
}

TEST_F(KsvFileTest, NestedModuleIsFoundButNotListed)
{
    Write(Path(), "<ZOLT-ModulCmdList version=\"1.0\"><Group><Modul ID=\"DEEP\"><Commands/><ProzessData/>"
                  "<StatusInfo/><RemoteCtrl/></Modul></Group><Modul/><Modul ID=\"TOP\"/></ZOLT-ModulCmdList>");
    TosKSVCmdDOM dom;
    QStringList ids;
    ASSERT_TRUE(dom.GetModuleIds(Path(), ids));
    EXPECT_EQ(ids, QStringList({"TOP"}));
    TModuleLists r;
    EXPECT_TRUE(Load(r, "DEEP", Path()));
}

TEST_F(KsvFileTest, ForeignFilesAreRejected)
{
    struct TCase {
        const char *What;
        QByteArray Bytes;
    };
    const TCase cases[] = {
        {"other root", ModuleFile("", "ZOLT-Other")},
        {"version 2.0", ModuleFile("", "ZOLT-ModulCmdList", "2.0")},
        {"no version", "<ZOLT-ModulCmdList><Modul ID=\"M1\"/></ZOLT-ModulCmdList>"},
        {"root in other case", ModuleFile("", "zolt-modulcmdlist")},
        {"not well-formed", "<ZOLT-ModulCmdList version=\"1.0\"><Modul ID=\"M1\"></ZOLT-ModulCmdList>"},
        {"empty", ""},
        {"binary", QByteArray("\x00\xff\x13\x89PK\x03\x04\x00\x00", 11).repeated(1000)},
        {"undeclared entity", "<ZOLT-ModulCmdList version=\"1.0\"><Modul ID=\"&x;\"/></ZOLT-ModulCmdList>"},
    };
    for (const TCase &c : cases) {
        Write(Path(), c.Bytes);
        TosKSVCmdDOM dom;
        EXPECT_FALSE(dom.LoadFromFile(Path())) << c.What;
        EXPECT_TRUE(dom.Model().documentElement().isNull()) << c.What; // nothing left behind
        QStringList ids;
        EXPECT_FALSE(dom.GetModuleIds(Path(), ids)) << c.What;
        EXPECT_TRUE(ids.isEmpty()) << c.What;
    }
    TosKSVCmdDOM dom;
    EXPECT_FALSE(dom.LoadFromFile(Path("missing.ksv")));
    EXPECT_EQ(dom.Model().documentElement().tagName(), "ZOLT-ModulCmdList"); // unchanged
}

class HostileFileTest : public KsvFileTest {
protected:
    // Loads the file with a time limit far above what a refusal takes.
    void ExpectRefused(const char *what)
    {
        QElapsedTimer timer;
        timer.start();
        TModuleLists r;
        TosKSVCmdDOM dom;
        r.Attach(dom);
        EXPECT_FALSE(dom.LoadModule(Path(), "M1")) << what;
        QStringList ids;
        EXPECT_FALSE(dom.GetModuleIds(Path(), ids)) << what;
        EXPECT_FALSE(dom.LastError().isEmpty()) << what;
        EXPECT_LT(timer.elapsed(), 20000) << what;
    }
};

TEST_F(HostileFileTest, EntityExpansionIsRefused)
{
    QByteArray dtd = "<!DOCTYPE ZOLT-ModulCmdList [\n<!ENTITY lol \"lol\">\n";
    for (int i = 1; i <= 9; ++i)
        dtd += "<!ENTITY lol" + QByteArray::number(i) + " \"" + QByteArray("&lol" + QByteArray::number(i - 1) + ";").repeated(10)
            + "\">\n";
    dtd.replace("&lol0;", "&lol;");
    QByteArray file = ModuleFile("<CCmd Name=\"P\" Type=\"2\" Help=\"&lol9;\"/>");
    file.insert(file.indexOf('\n') + 1, dtd + "]>\n");
    Write(Path(), file);
    ExpectRefused("billion laughs");

    Write(Path(), "<?xml version=\"1.0\"?><!DOCTYPE ZOLT-ModulCmdList SYSTEM \"file:///etc/passwd\">"
                  "<ZOLT-ModulCmdList version=\"1.0\"/>");
    ExpectRefused("external DTD");
}

TEST_F(HostileFileTest, DeepNestingIsRefused)
{
    const int depth = 200000;
    Write(Path(), "<ZOLT-ModulCmdList version=\"1.0\">" + QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth)
                      + "</ZOLT-ModulCmdList>");
    ExpectRefused("deep nesting");
}

TEST_F(HostileFileTest, OversizedFilesAreRefusedUnread)
{
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.write("<ZOLT-ModulCmdList version=\"1.0\"><Modul ID=\"M\" Help=\"") > 0);
    ASSERT_TRUE(file.resize(TosXMLBaseDOM::MaxFileSize + 1)); // sparse: cheap to create
    file.close();
    ExpectRefused("too large");
}

TEST_F(HostileFileTest, TooManyNodesAreRefused)
{
    const QByteArray item = "<CCmd a=\"1\" b=\"2\" c=\"3\"/>";
    Write(Path(), ModuleFile(item.repeated(TosXMLBaseDOM::MaxNodes / 4 + 1)));
    ExpectRefused("too many nodes");
}

TEST_F(HostileFileTest, EnormousAttributeWithinTheSizeLimitLoads)
{
    const QByteArray help(12 * 1024 * 1024, 'x');
    Write(Path(), "<ZOLT-ModulCmdList version=\"1.0\"><Modul ID=\"M\"><Commands><CCmd Name=\"P\" Type=\"2\" Help=\"" + help
                      + "\"/></Commands><ProzessData/><StatusInfo/><RemoteCtrl/></Modul></ZOLT-ModulCmdList>");
    TModuleLists r;
    ASSERT_TRUE(Load(r, "M", Path()));
    EXPECT_EQ(r.CmdList.Command(0)->Help.size(), help.size());
}

TEST_F(HostileFileTest, SpecialFilesAreNotOpened)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(Path()).constData(), 0600), 0); // opening it would block
    ExpectRefused("fifo");
    ASSERT_TRUE(QFile::remove(Path()));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("params.ksv"));
    ExpectRefused("directory");
}

TEST_F(KsvFileTest, SaveModuleNeverReplacesAFileItCannotRead)
{
    const QByteArray foreign[] = {
        "not xml at all",
        ModuleFile("", "ZOLT-Other"),
        ModuleFile("", "ZOLT-ModulCmdList", "2.0"),
        ModuleFile("<CCmd") ,
        QByteArray("\x00\x01\x02\xff", 4),
        "",
    };
    TModuleLists m;
    FillModule(m, 1);
    for (const QByteArray &bytes : foreign) {
        Write(Path(), bytes);
        EXPECT_FALSE(Save(m, "M1", Path())) << bytes.left(40).toStdString();
        EXPECT_EQ(Read(Path()), bytes);
    }
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.ksv"));
    EXPECT_FALSE(Save(m, "M1", Path("folder.ksv")));
}

TEST_F(KsvFileTest, SaveModuleReplacesTheFileWhole)
{
    TModuleLists m;
    FillModule(m, 1);
    ASSERT_TRUE(Save(m, "M1", Path()));
    TModuleLists small;
    AddCtrl<TModNumParaCmd>(small.CmdList, "P");
    ASSERT_TRUE(Save(small, "M1", Path()));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"params.ksv"})); // no leftovers
    TModuleLists r;
    ASSERT_TRUE(Load(r, "M1", Path()));
    EXPECT_EQ(r.CmdList.Count(), 1);
    EXPECT_EQ(r.ProcessData.Count(), 0);

    TosKSVCmdDOM dom;
    EXPECT_FALSE(dom.SaveModule(Path(), "M1")); // lists not set
    EXPECT_FALSE(Save(m, "M1", Dir.filePath("no/such/folder/x.ksv")));
}

TEST_F(KsvFileTest, MakerInternalCommandsStayOutOfFiles)
{
    const uint16_t maker = 1u << 6;
    TModuleLists m;
    AddCtrl<TModNumParaCmd>(m.CmdList, "SECRET", maker | 1);
    AddCtrl<TModNumParaCmd>(m.CmdList, "PUBLIC", 1);
    for (const char *name : {"X:SECRET", "X:PUBLIC"}) {
        auto *proc = new TModProcCommand;
        proc->Name = name;
        proc->GCode = QString(name).contains("SECRET") ? maker : 0;
        m.ProcessData.Add(proc);
    }
    ASSERT_TRUE(Save(m, "M", Path()));
    EXPECT_FALSE(Read(Path()).contains("SECRET"));

    // A file written elsewhere may hold them; loading drops them.
    Write(Path(), "<ZOLT-ModulCmdList version=\"1.0\"><Modul ID=\"M\"><Commands><CCmd Name=\"S\" Type=\"1\" GCode=\"65\"/>"
                  "<CCmd Name=\"P\" Type=\"1\" GCode=\"1\"/></Commands><ProzessData><PCmd Name=\"X\" Type=\"0\" GCode=\"64\"/>"
                  "</ProzessData><StatusInfo><SCmd Name=\"S\" Type=\"10\" GCode=\"64\"/></StatusInfo><RemoteCtrl>"
                  "<RCmd Name=\"RC:6\" Type=\"11\" GCode=\"64\"/></RemoteCtrl></Modul></ZOLT-ModulCmdList>");
    TModuleLists r;
    ASSERT_TRUE(Load(r, "M", Path()));
    ASSERT_EQ(r.CmdList.Count(), 1);
    EXPECT_EQ(r.CmdList.Command(0)->Name, "P");
    EXPECT_EQ(r.ProcessData.Count() + r.StatusInfo.Count() + r.RemoteCtrlCmds.Count(), 0);
}

TEST_F(KsvFileTest, LoadValuesCopiesValuesByName)
{
    TModuleLists saved;
    FillModule(saved, 3);
    AddCtrl<TModNumParaCmd>(saved.CmdList, "GONE")->Val = 9;
    AddCtrl<TModNumParaCmd>(saved.CmdList, "INPUT")->Val = 4;
    ASSERT_TRUE(Save(saved, "M", Path()));

    TModuleLists current;
    FillModule(current, 0);
    auto *input = new TModProcCommand; // a name the current list holds, but not as a settable command
    input->Name = "INPUT";
    current.CmdList.Add(input);
    auto *num = dynamic_cast<TModNumParaCmd *>(current.CmdList.Command(1));
    num->Min = 5; // limits are not imported

    TosKSVCmdDOM dom;
    dom.CmdList = &current.CmdList;
    QStringList notFound{"stale"};
    ASSERT_TRUE(dom.LoadValues(Path(), "M", &notFound));
    EXPECT_EQ(notFound, QStringList({"GONE", "INPUT"}));
    EXPECT_EQ(dynamic_cast<TModTextParaCmd *>(current.CmdList.Command(0))->Txt(), "OFF");
    EXPECT_EQ(num->Val, 3);
    EXPECT_EQ(num->Min, 5);
    EXPECT_EQ(dynamic_cast<TModCCParaCmd *>(current.CmdList.Command(2))->GetPoint(10), TCCPoint({10000, 13}));
    EXPECT_EQ(dynamic_cast<TModAinParaCmd *>(current.CmdList.Command(3))->A, 3);

    EXPECT_FALSE(dom.LoadValues(Path(), "OTHER", &notFound));
    EXPECT_TRUE(notFound.isEmpty());
    dom.CmdList = nullptr;
    EXPECT_FALSE(dom.LoadValues(Path(), "M", nullptr));
}

TEST_F(KsvFileTest, LoadValuesStoresByTheTypeOfTheCurrentCommand)
{
    Write(Path(), ModuleFile("<CCmd Name=\"p1\" Type=\"1\"><Para Val=\"42\" Txt=\"ON\"/></CCmd>"
                             "<CCmd Name=\"T1\" Type=\"2\"><Para/></CCmd><CCmd Name=\"T1\" Type=\"2\"/>"));
    TModuleLists current;
    auto *num = AddCtrl<TModNumParaCmd>(current.CmdList, "P1");
    auto *text = AddCtrl<TModTextParaCmd>(current.CmdList, "T1");
    text->VList = {"ON"};
    text->SetTxt("ON");
    TosKSVCmdDOM dom;
    dom.CmdList = &current.CmdList;
    QStringList notFound;
    ASSERT_TRUE(dom.LoadValues(Path(), "M1", &notFound));
    EXPECT_TRUE(notFound.isEmpty());
    EXPECT_EQ(num->Val, 42);
    EXPECT_EQ(text->Txt(), "ON"); // a Para without "Txt" keeps the value
}

} // namespace
