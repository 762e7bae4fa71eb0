#include "osapplini.h"
#include "tempconfighome.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ApplIniTest : public ::testing::Test {
protected:
    QString IniPath() const { return FHome.Path() + "/ZOLT/osapplini_test.ini"; }
    QByteArray IniText() const { return TTempConfigHome::ReadFile(IniPath()); }
    void SetIniText(const QByteArray &text) { TTempConfigHome::WriteFile(IniPath(), text); }

    TTempConfigHome FHome;
    std::unique_ptr<TosApplIni> FIni = std::make_unique<TosApplIni>();
};

TEST_F(ApplIniTest, FileLivesInZoltFolderOfConfigHomeNamedAfterProgram)
{
    EXPECT_EQ(FIni->FullPath(), IniPath());
    EXPECT_EQ(FIni->FileName(), "osapplini_test.ini");
    EXPECT_TRUE(QFileInfo(FHome.Path() + "/ZOLT").isDir()) << "folder created with the component";
    EXPECT_FALSE(QFileInfo::exists(IniPath())) << "no file before the first write";
}

TEST_F(ApplIniTest, FirstWriteCreatesFileAndMissingFolder)
{
    QDir(FHome.Path() + "/ZOLT").removeRecursively();
    EXPECT_TRUE(FIni->WriteInteger("Interface", "FixBR", 19200));
    EXPECT_EQ(IniText(), "[Interface]\nFixBR=19200\n");
}

TEST_F(ApplIniTest, MissingFileGivesDefaults)
{
    EXPECT_EQ(FIni->ReadString("Interface", "Port", "none"), "none");
    EXPECT_EQ(FIni->ReadInteger("Interface", "FixBR", 9600), 9600);
    EXPECT_TRUE(FIni->ReadBool("Interface", "AutoSetBR", true));
}

// Hand-written files: what ReadString, ReadInteger (default 42) and ReadBool (default false)
// make of the key TranferMode in section Interface.
TEST_F(ApplIniTest, ReadsHandWrittenValues)
{
    struct Case {
        const char *Text;
        const char *String;
        int Integer;
        bool Bool;
    };
    const Case cases[] = {
        {"[Interface]\nTranferMode=1\n", "1", 1, true},
        {"[interface]\r\n  tranfermode = 0 \r\n", "0", 0, false},
        {"[ Interface ]\nPort=/dev/ttyS0\nTranferMode=-3", "-3", -3, true},
        {"[Interface]\nTranferMode=7 \n[Scope]\nTranferMode=1\n", "7", 7, true},
        {"[Scope]\nTranferMode=1\n[Interface]\nPort=x\n", "default", 42, false},
        {"[Interface]\n;TranferMode=1\n", "default", 42, false},
        {"TranferMode=1\n[Interface]\n", "default", 42, false},
        {"[Interface]\nTranferMode=yes\n", "yes", 42, false},
        {"[Interface]\nTranferMode=\n", "", 42, false},
        {"[Interface]\nTranferMode=1.5\n", "1.5", 42, false},
        {"[Interface]\nTranferMode=99999999999\n", "99999999999", 42, false},
        {"[Interface]\nTranferMode=0xFF00000F\n", "0xFF00000F", -16777201, true},
        {"[Interface]\nTranferMode=\" spaced \"\n", " spaced ", 42, false},
        {"[Interface]\nTranferMode=a=b\n", "a=b", 42, false},
        {"\xEF\xBB\xBF[Interface]\nTranferMode=1\n", "1", 1, true},
        {"[Interface]\nTranferMode=2\n[Interface]\nTranferMode=0\n", "2", 2, true},
    };
    for (const Case &c : cases) {
        SetIniText(c.Text);
        EXPECT_EQ(FIni->ReadString("Interface", "TranferMode", "default"), c.String) << c.Text;
        EXPECT_EQ(FIni->ReadInteger("Interface", "TranferMode", 42), c.Integer) << c.Text;
        EXPECT_EQ(FIni->ReadBool("Interface", "TranferMode", false), c.Bool) << c.Text;
    }
}

TEST_F(ApplIniTest, EveryReadSeesTheFileAsItIsNow)
{
    FIni->WriteInteger("Monitor", "VisParaCnt", 4);
    SetIniText("[Monitor]\nVisParaCnt=9\n");
    EXPECT_EQ(FIni->ReadInteger("Monitor", "VisParaCnt", 4), 9);

    TosApplIni otherProcess;
    otherProcess.WriteInteger("Monitor", "VisParaCnt", 2);
    EXPECT_EQ(FIni->ReadInteger("Monitor", "VisParaCnt", 4), 2);
}

TEST_F(ApplIniTest, WriteChangesOnlyItsOwnLine)
{
    SetIniText("; written by hand\n"
               "[Interface]\n"
               "Port=/dev/ttyUSB0\n"
               "MyOwnKey = keep me\n"
               "\n"
               "[Scope]\n"
               "GridColor=255\n");
    FIni->WriteString("Interface", "port", "/dev/ttyS1");
    FIni->WriteBool("Interface", "AutoSetBR", true);
    FIni->WriteInteger("Monitor", "VisParaKind", 2);
    EXPECT_EQ(IniText(), "; written by hand\n"
                         "[Interface]\n"
                         "Port=/dev/ttyS1\n"
                         "MyOwnKey = keep me\n"
                         "AutoSetBR=1\n"
                         "\n"
                         "[Scope]\n"
                         "GridColor=255\n"
                         "\n"
                         "[Monitor]\n"
                         "VisParaKind=2\n");
}

TEST_F(ApplIniTest, WriteKeepsLineBreaksAndLinesWithTheSameValue)
{
    SetIniText("[Interface]\r\nTranferMode = 1\r\nFixBR=9600\r\n");
    FIni->WriteInteger("Interface", "TranferMode", 1);
    FIni->WriteBool("Interface", "AutoSetBR", false);
    EXPECT_EQ(IniText(), "[Interface]\r\nTranferMode = 1\r\nFixBR=9600\r\nAutoSetBR=0\r\n");
}

TEST_F(ApplIniTest, WrittenStringsReadBackUnchanged)
{
    const QString values[] = {"/home/me/Parameter, alt/", "C:\\Modules\\x.par", " leading blank",
                              "\"quoted\"", "'single'", "a;b#c", "Grüße µ°", ""};
    for (const QString &value : values) {
        FIni->WriteString("Application", "ParaFilePath", value);
        EXPECT_EQ(FIni->ReadString("Application", "ParaFilePath", "default"), value) << value.toStdString();
    }
}

TEST_F(ApplIniTest, LineBreaksInAValueCannotAddKeys)
{
    FIni->WriteString("Application", "LastFirmware", "a.s19\n[Interface]\nPort=evil");
    EXPECT_EQ(FIni->ReadString("Interface", "Port", "none"), "none");
    EXPECT_EQ(FIni->ReadString("Application", "LastFirmware", ""), "a.s19 [Interface] Port=evil");
}

TEST_F(ApplIniTest, WriteReportsAFileThatCannotBeWritten)
{
    QDir(FHome.Path() + "/ZOLT").removeRecursively();
    TTempConfigHome::WriteFile(FHome.Path() + "/ZOLT", "a file where the folder belongs");
    EXPECT_FALSE(FIni->WriteInteger("Interface", "FixBR", 19200));
    EXPECT_FALSE(FIni->WriteString("Interface", "Port", "x"));
    EXPECT_FALSE(FIni->WriteBool("Interface", "AutoSetBR", true));
}

TEST_F(ApplIniTest, WriteFormParaIsOnlyStored)
{
    EXPECT_FALSE(FIni->WriteFormPara());
    FIni->SetWriteFormPara(true);
    EXPECT_TRUE(FIni->WriteFormPara());
    EXPECT_FALSE(QFileInfo::exists(IniPath()));
}

} // namespace
