#include "answersplit.h"
#include "cmdtables.h"
#include "modainparacmd.h"
#include "modccparacmd.h"
#include "modcommandlist.h"
#include "modnumparacmd.h"
#include "modproccommand.h"
#include "modtextparacmd.h"
#include "parafile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Readable failure output.
void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

TModNumParaCmd *Num(const QString &name, int32_t val, uint16_t groups = DefaultGroupMask)
{
    auto *cmd = new TModNumParaCmd;
    cmd->Name = name;
    cmd->Val = val;
    cmd->GCode = groups;
    return cmd;
}

TModTextParaCmd *Text(const QString &name, const QStringList &vlist, const QString &txt)
{
    auto *cmd = new TModTextParaCmd;
    cmd->Name = name;
    cmd->VList = vlist;
    cmd->SetTxt(txt);
    cmd->GCode = DefaultGroupMask;
    return cmd;
}

TModCCParaCmd *Curve(const QString &name)
{
    auto *cmd = new TModCCParaCmd;
    cmd->Name = name;
    cmd->GCode = DefaultGroupMask;
    for (int i = TModCCParaCmd::MinPoint; i <= TModCCParaCmd::MaxPoint; ++i)
        cmd->SetPoint(i, {i * 1000, -i * 100});
    return cmd;
}

TModAinParaCmd *Ain(const QString &name, int32_t a, int32_t b, int32_t c, uint8_t x)
{
    auto *cmd = new TModAinParaCmd;
    cmd->Name = name;
    cmd->A = a;
    cmd->B = b;
    cmd->C = c;
    cmd->X = x;
    cmd->GCode = DefaultGroupMask;
    return cmd;
}

// 1-based columns first ... last of line.
QString Cols(const QString &line, int first, int last)
{
    return line.mid(first - 1, last - first + 1);
}

// The lines of a module with one command of each written kind.
class ParaFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        cmds.Add(Num("P1", 100));
        cmds.Add(Text("T1", {"ON", "OFF"}, "ON"));
        cmds.Add(Curve("CC"));
        cmds.Add(Ain("AIN", 1000, 1000, 0, 1));
    }

    QString PathOf(const QString &name) const { return dir.filePath(name); }

    QString Write(const QByteArray &bytes, const QString &name = "in.par") const
    {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir dir;
    TModCommandList cmds;
};

} // namespace

TEST(ParaFileLines, TextAndNumericValuesEndInColumn24OfA25CharacterLine)
{
    struct Case {
        const char *what;
        TModBaseCommand *cmd;
        QString name;
        QString value;
    };
    const Case cases[] = {
        {"numeric: the raw integer", Num("P1", 100), "P1", "100"},
        {"numeric: negative", Num("OFFSET", -2500), "OFFSET", "-2500"},
        {"numeric in hundredths stays raw", Num("PCT", 1234), "PCT", "1234"},
        {"text", Text("T1", {"ON", "OFF"}, "ON"), "T1", "ON"},
        {"name of 20 characters", Num("ABCDEFGHIJKLMNOPQRST", 7), "ABCDEFGHIJKLMNOPQRST", "7"},
    };
    for (const Case &c : cases) {
        std::unique_ptr<TModBaseCommand> owner(c.cmd);
        const QStringList lines = TParaFile::ParaLines(*c.cmd);
        ASSERT_EQ(lines.size(), 1) << c.what;
        const QString &line = lines[0];
        EXPECT_EQ(line.size(), 25) << c.what;
        EXPECT_TRUE(line.startsWith(c.name + ' ')) << c.what;
        EXPECT_EQ(Cols(line, 24 - c.value.size(), 24), ' ' + c.value) << c.what;
        EXPECT_EQ(line[24], ' ') << c.what;
        EXPECT_EQ(line.simplified(), c.name + ' ' + c.value) << c.what;
    }
}

TEST(ParaFileLines, CurveGivesTwentyOnePointLinesInColumns19To31)
{
    std::unique_ptr<TModCCParaCmd> curve(Curve("CC"));
    curve->SetPoint(-10, {-10000, -10000});
    const QStringList lines = TParaFile::ParaLines(*curve);
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines.first(), "CC:-10            -10000 -10000");
    for (int i = -10; i <= 10; ++i) {
        const QString &line = lines[i + 10];
        EXPECT_EQ(line.size(), 31) << i;
        EXPECT_EQ(Cols(line, 1, 18).trimmed(), "CC:" + QString::number(i)) << i;
        EXPECT_EQ(Cols(line, 19, 31), curve->PointText(i)) << i;
    }
    EXPECT_EQ(lines[15], "CC:5                5000   -500");
}

TEST(ParaFileLines, AnalogueInputTakesColumns19To40)
{
    std::unique_ptr<TModAinParaCmd> ain(Ain("AIN", 1000, 1000, 0, 1));
    const QStringList lines = TParaFile::ParaLines(*ain);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].size(), 40);
    EXPECT_EQ(Cols(lines[0], 1, 18).trimmed(), "AIN");
    EXPECT_EQ(Cols(lines[0], 19, 40), ain->ValueText());
    EXPECT_EQ(Cols(lines[0], 21, 24), "1000");
    EXPECT_EQ(Cols(lines[0], 28, 31), "1000");
    EXPECT_EQ(Cols(lines[0], 38, 38), "0");
    EXPECT_EQ(Cols(lines[0], 40, 40), AinUnitNames[1]);
}

TEST(ParaFileLines, OtherTypesAndMakerInternalCommandsAreNotWritten)
{
    std::unique_ptr<TModBaseCommand> maker(Num("ZOLT", 1, DefaultGroupMask | (1u << cgMaker)));
    std::unique_ptr<TModBaseCommand> noPara(new TModCtrlCommand(5));
    std::unique_ptr<TModBaseCommand> proc(new TModProcCommand);
    EXPECT_TRUE(TParaFile::ParaLines(*maker).isEmpty());
    EXPECT_TRUE(TParaFile::ParaLines(*noPara).isEmpty());
    EXPECT_TRUE(TParaFile::ParaLines(*proc).isEmpty());
}

// The value would otherwise overwrite the end of the name and the line would read back as
// another command.
TEST(ParaFileLines, OverlongNameKeepsABlankBeforeTheValue)
{
    std::unique_ptr<TModBaseCommand> cmd(Num("A_VERY_LONG_PARAMETER_NAME", 123));
    const QString line = TParaFile::ParaLines(*cmd).first();
    EXPECT_EQ(line, "A_VERY_LONG_PARAMETER_NAME 123");
    QString name;
    QStringList items;
    ASSERT_TRUE(SplitAnswer(line, name, items));
    EXPECT_EQ(name, cmd->Name);
    EXPECT_EQ(items, QStringList{"123"});
}

TEST(ParaFileLines, TextWithBlanksIsQuotedSoItReadsBackWhole)
{
    std::unique_ptr<TModBaseCommand> cmd(Text("MODE", {"low speed", "high"}, "low speed"));
    const QString line = TParaFile::ParaLines(*cmd).first();
    EXPECT_EQ(line.size(), 25);
    EXPECT_TRUE(line.endsWith("\"low speed\" "));
    QString name;
    QStringList items;
    ASSERT_TRUE(SplitAnswer(line, name, items));
    EXPECT_EQ(items, QStringList{"low speed"});
}

TEST_F(ParaFileTest, FileIsIdentificationThenTheLinesBetweenTwoHashLines)
{
    const QStringList lines = TParaFile::FileLines("KSV123, V1.0, 12, 34", cmds);
    ASSERT_EQ(lines.size(), 1 + 1 + 2 + 21 + 1 + 1);
    EXPECT_EQ(lines[0], "KSV123, V1.0, 12, 34");
    EXPECT_EQ(lines[1], "##");
    EXPECT_EQ(lines[2], "P1" + QString(19, ' ') + "100 ");
    EXPECT_EQ(lines[3], "T1" + QString(20, ' ') + "ON ");
    EXPECT_TRUE(lines[4].startsWith("CC:-10 "));
    EXPECT_TRUE(lines[24].startsWith("CC:10 "));
    EXPECT_TRUE(lines[25].startsWith("AIN "));
    EXPECT_EQ(lines.last(), "##");
}

TEST_F(ParaFileTest, SavedBytesEndEveryLineWithCrLf)
{
    const QString path = PathOf("out.par");
    ASSERT_TRUE(TParaFile::Save(path, "KSV123,1,2,3", cmds));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("KSV123,1,2,3\r\n##\r\nP1" + QByteArray(19, ' ') + "100 \r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n##\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
}

TEST_F(ParaFileTest, SaveReplacesAFileAndLeavesItAloneWhenItCannotWrite)
{
    const QString path = Write("old content");
    ASSERT_TRUE(TParaFile::Save(path, "KSV123,1,2,3", cmds));
    TParaFile file;
    ASSERT_TRUE(file.Load(path));
    EXPECT_EQ(file.Lines().first(), "KSV123,1,2,3");

    EXPECT_FALSE(TParaFile::Save(PathOf("missing/out.par"), "KSV123,1,2,3", cmds));
    EXPECT_FALSE(QFile::exists(PathOf("missing/out.par")));
    EXPECT_FALSE(TParaFile::Save(dir.path(), "KSV123,1,2,3", cmds));
    EXPECT_TRUE(QDir(dir.path()).exists());
}

TEST_F(ParaFileTest, CharactersAbove127AreWindows1252ByteForByte)
{
    const QString special = QString::fromUtf8("Ölstand°µ€");
    cmds.Add(Text("T2", {special, "aus"}, special));
    const QString path = PathOf("ansi.par");
    ASSERT_TRUE(TParaFile::Save(path, QString::fromUtf8("KSV123 Größe,1,2,3"), cmds));
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.startsWith("KSV123 Gr\xF6\xDF" "e,1,2,3\r\n"));
    EXPECT_TRUE(bytes.contains("\xD6lstand\xB0\xB5\x80 \r\n"));

    TParaFile file;
    ASSERT_TRUE(file.Load(path));
    EXPECT_EQ(file.Lines().first(), QString::fromUtf8("KSV123 Größe,1,2,3"));

    // Every byte of 0x80 ... 0xFF, also those Windows-1252 leaves unassigned, comes back as it was.
    QByteArray all;
    for (int b = 0x80; b <= 0xFF; ++b)
        all += char(b);
    const QStringList decoded = TParaFile::Decode(all);
    ASSERT_EQ(decoded.size(), 1);
    EXPECT_EQ(decoded[0][0], QChar(0x20AC));
    EXPECT_EQ(TParaFile::Encode(decoded), all + "\r\n");
}

TEST(ParaFileRead, EveryLineBreakEndsALineAndAFinalBreakOpensNoLine)
{
    struct Case {
        QByteArray bytes;
        QStringList lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\nc\r\n", {"a", "b", "c"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"a\r\rb\n\nc", {"a", "", "b", "", "c"}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"", {}},
        {"\r\n", {""}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TParaFile::Decode(c.bytes), c.lines) << c.bytes.toStdString();
}

TEST(ParaFileRead, IdentificationDropsPromptAndIdWords)
{
    struct Case {
        QByteArray line1;
        QString id;
    };
    const Case cases[] = {
        {"KSV123,V1.0,12,34", "KSV123,V1.0,12,34"},
        {"CMD>ID KSV123,V1.0,12,34 CMD>", "KSV123,V1.0,12,34"},
        {"  ID\tKSV123,V1.0,12,34\t", "KSV123,V1.0,12,34"},
    };
    for (const Case &c : cases) {
        TParaFile file;
        ASSERT_TRUE(file.SetContent(c.line1 + "\r\n##\r\n##\r\n"));
        EXPECT_EQ(file.IdText(), c.id) << c.line1.toStdString();
    }
}

TEST(ParaFileRead, BlocksOfBothLayouts)
{
    TParaFile file;
    ASSERT_TRUE(file.SetContent("##\r\nx\r\n##\r\nP1 1\r\nP2 2\r\n##\r\nP3 3\r\n"));
    EXPECT_TRUE(file.HasParaBlock());
    EXPECT_EQ(file.ParaBlock(), (QStringList{"P1 1", "P2 2"})) << "line 1 is never a block line";

    ASSERT_TRUE(file.SetContent("ID\r\n##\r\nP1 1\r\nP2 2\r\n"));
    EXPECT_EQ(file.ParaBlock(), (QStringList{"P1 1", "P2 2"})) << "without a closing line up to the end";

    QString block;
    ASSERT_TRUE(file.SetContent("ID\r\nnotes\r\n#\r\nP1 1;\r\nP2 2;\r\n#\r\ntail\r\n"));
    EXPECT_FALSE(file.HasParaBlock());
    EXPECT_TRUE(file.HasDownloadBlock());
    EXPECT_TRUE(file.DownloadBlock(block));
    EXPECT_EQ(block, "P1 1;P2 2;");

    ASSERT_TRUE(file.SetContent("ID\r\n#\r\nP1 1;\r\nP2 2;\r\n"));
    EXPECT_TRUE(file.HasDownloadBlock());
    EXPECT_FALSE(file.DownloadBlock(block)) << "no closing #";

    ASSERT_TRUE(file.SetContent("ID\r\nP1 1\r\nP2 2\r\n"));
    EXPECT_FALSE(file.HasParaBlock());
    EXPECT_FALSE(file.HasDownloadBlock());
}

TEST_F(ParaFileTest, UnusableFilesAreRefusedWithoutReadingThemWhole)
{
    struct Case {
        const char *what;
        QByteArray bytes;
    };
    QByteArray huge(TParaFile::MaxFileSize + 1, 'a');
    for (qsizetype i = 40; i < huge.size(); i += 40)
        huge[i] = '\n';
    const Case cases[] = {
        {"empty", ""},
        {"two lines", "KSV123,1,2,3\r\n##\r\n"},
        {"binary", QByteArray("KSV\0\x01\x02\r\n##\r\n##\r\n", 17)},
        {"a line too long", "KSV123,1,2,3\r\n##\r\nP1 " + QByteArray(TParaFile::MaxLineLength, '1') + "\r\n##\r\n"},
        {"larger than the limit", huge},
    };
    for (const Case &c : cases) {
        TParaFile file;
        EXPECT_FALSE(file.Load(Write(c.bytes))) << c.what;
        EXPECT_TRUE(file.Lines().isEmpty()) << c.what;
    }
    TParaFile file;
    EXPECT_FALSE(file.Load(PathOf("does-not-exist.par")));
    EXPECT_FALSE(file.Load(dir.path()));
    if (QFile::exists("/dev/zero")) {
        EXPECT_FALSE(file.Load("/dev/zero")) << "a device never ends";
    }
}

TEST_F(ParaFileTest, ResolvingBlockLines)
{
    auto *proc = new TModProcCommand;
    proc->Name = "PV1";
    cmds.Add(proc);
    struct Case {
        const char *line;
        bool use;
        const char *cmd;  // nullptr: not a known control command
        QString name;
        QStringList items;
    };
    const Case cases[] = {
        {"P1                   1200 ", true, "P1", "P1", {"1200"}},
        {"p1 7", true, "P1", "p1", {"7"}},
        {"CC:5 1200 -300", true, "CC", "CC:5", {"5", "1200", "-300"}},
        {"CC:-10            -10000 -10000", true, "CC", "CC:-10", {"-10", "-10000", "-10000"}},
        {"CC:x 1 2", true, "CC", "CC:x", {"1", "2"}},
        {"XYZ 1", true, nullptr, "XYZ", {"1"}},
        {"P1:3 5", true, nullptr, "P1:3", {"5"}},
        {"PV1 3", true, nullptr, "PV1", {"3"}},
        {"", false, nullptr, "", {}},
        {"   \t", false, nullptr, "", {}},
    };
    for (const Case &c : cases) {
        QString name = "stale";
        QStringList items;
        TModCtrlCommand *cmd = nullptr;
        EXPECT_EQ(TParaFile::ResolveParaLine(c.line, cmds, name, items, cmd), c.use) << c.line;
        if (!c.use)
            continue;
        EXPECT_EQ(name, c.name) << c.line;
        EXPECT_EQ(items, c.items) << c.line;
        EXPECT_EQ(cmd ? cmd->Name : QString(), c.cmd ? QString(c.cmd) : QString()) << c.line;
    }
}

TEST_F(ParaFileTest, WrittenFileReadsBackIntoAModuleWithOtherValues)
{
    const QString path = PathOf("set.par");
    ASSERT_TRUE(TParaFile::Save(path, "KSV123,1,2,3", cmds));

    TModCommandList target;
    target.Add(Num("P1", 0));
    target.Add(Text("T1", {"ON", "OFF"}, "OFF"));
    target.Add(Curve("CC"));
    for (int i = -10; i <= 10; ++i)
        static_cast<TModCCParaCmd *>(target.Command(2))->SetPoint(i, {});
    target.Add(Ain("AIN", 0, 0, 0, 0));
    target.Add(Num("EXTRA", 55));

    TParaFile file;
    ASSERT_TRUE(file.Load(path));
    EXPECT_EQ(file.IdText(), "KSV123,1,2,3");
    ASSERT_TRUE(file.HasParaBlock());
    for (const QString &line : file.ParaBlock()) {
        QString name;
        QStringList items;
        TModCtrlCommand *cmd = nullptr;
        ASSERT_TRUE(TParaFile::ResolveParaLine(line, target, name, items, cmd)) << line.toStdString();
        ASSERT_NE(cmd, nullptr) << line.toStdString();
        ApplyValues(cmd, items);
    }
    EXPECT_EQ(static_cast<TModNumParaCmd *>(target.Command(0))->Val, 100);
    EXPECT_EQ(static_cast<TModTextParaCmd *>(target.Command(1))->Txt(), "ON");
    auto *curve = static_cast<TModCCParaCmd *>(target.Command(2));
    auto *source = static_cast<TModCCParaCmd *>(cmds.Command(2));
    for (int i = -10; i <= 10; ++i)
        EXPECT_EQ(curve->GetPoint(i), source->GetPoint(i)) << i;
    auto *ain = static_cast<TModAinParaCmd *>(target.Command(3));
    EXPECT_EQ(ain->A, 1000);
    EXPECT_EQ(ain->B, 1000);
    EXPECT_EQ(ain->C, 0);
    EXPECT_EQ(ain->X, 1);
    EXPECT_EQ(static_cast<TModNumParaCmd *>(target.Command(4))->Val, 55);
}
