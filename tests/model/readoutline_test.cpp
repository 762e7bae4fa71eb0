#include "cmdtables.h"
#include "modccparacmd.h"
#include "modctrlcommand.h"
#include "modnumparacmd.h"
#include "modproccommand.h"
#include "modremotectrlcmd.h"
#include "modstatusbitcommand.h"
#include "modtextparacmd.h"
#include "readoutline.h"

#include <gtest/gtest.h>

namespace {

QString Line(const QStringList &fields)
{
    return fields.join(u'\\');
}

const QStringList NumFields = {"2", "2", "P1", "", "Help of P1", "1", "0", "1000", "7"};

TEST(ParseReadoutLine, NumericLineWithAllNineFields)
{
    auto cmd = ParseReadoutLine(Line(NumFields));
    auto *num = dynamic_cast<TModNumParaCmd *>(cmd.get());
    ASSERT_NE(num, nullptr);
    EXPECT_EQ(num->CmdType(), 2);
    EXPECT_EQ(num->Name, "P1");
    EXPECT_EQ(num->AType, 2);
    EXPECT_EQ(num->Help, "Help of P1");
    EXPECT_EQ(num->VType, 1);
    EXPECT_EQ(num->Min, 0);
    EXPECT_EQ(num->Max, 1000);
    EXPECT_TRUE(num->VList.isEmpty());
    EXPECT_EQ(num->GCode, 7);
    EXPECT_EQ(num->GroupNames(), "NewTab, NewData, All");
}

TEST(ParseReadoutLine, MissingFieldsKeepConstructedValues)
{
    auto eight = ParseReadoutLine(Line(NumFields.mid(0, 8)));
    ASSERT_NE(eight, nullptr);
    EXPECT_EQ(eight->GCode, DefaultGroupMask);

    auto six = ParseReadoutLine(Line(QStringList{"2", "2", "P1", "", "h", "1"}));
    auto *num = dynamic_cast<TModNumParaCmd *>(six.get());
    ASSERT_NE(num, nullptr);
    EXPECT_EQ(num->Min, 0);
    EXPECT_EQ(num->Max, 0);
    EXPECT_EQ(num->GCode, DefaultGroupMask);

    EXPECT_EQ(ParseReadoutLine(Line(QStringList{"2", "2", "P1", "", "h"})), nullptr);
}

TEST(ParseReadoutLine, TextLineKeepsBlanksAndIgnoresTrailingBackslash)
{
    const QString line = Line({"3", "1", "T1", "ON|OFF|AUTO", "Help of T1", "1", "0", "0"});
    for (const QString &variant : {line, line + "\\"}) {
        auto cmd = ParseReadoutLine(variant);
        auto *text = dynamic_cast<TModTextParaCmd *>(cmd.get());
        ASSERT_NE(text, nullptr) << variant.toStdString();
        EXPECT_EQ(text->VList, QStringList({"ON", "OFF", "AUTO"}));
        EXPECT_EQ(text->Help, "Help of T1");
        EXPECT_EQ(text->AType, 3);
    }
}

TEST(ParseReadoutLine, ClassFollowsLowByteOfTypeField)
{
    struct TCase {
        const char *Type;
        int ExpectedType;  // -1: no object
    };
    const TCase cases[] = {
        {"0", 0}, {"1", 1}, {"2", 2}, {"3", -1}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7},
        {"8", 8}, {"9", 9}, {"10", 10}, {"11", 11}, {"12", -1}, {"255", -1}, {"256", 0},
        {"-255", 1}, {"x", -1}, {"", -1},
    };
    for (const TCase &c : cases) {
        auto cmd = ParseReadoutLine(Line({"2", c.Type, "N", "", "h", "1", "0", "0"}));
        if (c.ExpectedType < 0) {
            EXPECT_EQ(cmd, nullptr) << c.Type;
            continue;
        }
        ASSERT_NE(cmd, nullptr) << c.Type;
        EXPECT_EQ(cmd->CmdType(), c.ExpectedType) << c.Type;
    }
    EXPECT_NE(dynamic_cast<TModProcCommand *>(ParseReadoutLine("2\\256\\N\\\\h\\1").get()), nullptr);
    EXPECT_NE(dynamic_cast<TModStatusBitCommand *>(ParseReadoutLine("2\\10\\N\\\\h\\1").get()), nullptr);
    EXPECT_NE(dynamic_cast<TModRemoteCtrlCmd *>(ParseReadoutLine("2\\11\\N\\\\h\\1").get()), nullptr);
    EXPECT_NE(dynamic_cast<TModCCParaCmd *>(ParseReadoutLine("2\\6\\N\\\\h\\1").get()), nullptr);
}

TEST(ParseReadoutLine, BlankHandling)
{
    EXPECT_EQ(ParseReadoutLine("     "), nullptr);
    EXPECT_EQ(ParseReadoutLine(""), nullptr);
    EXPECT_EQ(ParseReadoutLine("\r\n"), nullptr);

    auto marked = ParseReadoutLine("2\\2\\P1\\\\a~*~*b\\1");
    ASSERT_NE(marked, nullptr);
    EXPECT_EQ(marked->Help, "a b");

    // Surrounding blanks and line ends go, control characters inside vanish, blanks stay.
    auto padded = ParseReadoutLine("  \t2\\2\\P 1\\\\two  blanks\x01\\1\r\n");
    ASSERT_NE(padded, nullptr);
    EXPECT_EQ(padded->Name, "P 1");
    EXPECT_EQ(padded->Help, "two  blanks");

    auto latin = ParseReadoutLine(QString::fromLatin1("2\\0\\PV\\\xb5m\\Temp \xb0""C\\1\\0\\10"));
    auto *proc = dynamic_cast<TModProcCommand *>(latin.get());
    ASSERT_NE(proc, nullptr);
    EXPECT_EQ(proc->PhysUnit, QString::fromLatin1("\xb5m"));
    EXPECT_EQ(proc->Help, QString::fromLatin1("Temp \xb0""C"));
}

TEST(ParseReadoutLine, QuotedFieldMayHoldBackslashes)
{
    auto cmd = ParseReadoutLine("2\\2\\P1\\\\\"C:\\dir \"\"x\"\"\"\\1\\0\\9");
    auto *num = dynamic_cast<TModNumParaCmd *>(cmd.get());
    ASSERT_NE(num, nullptr);
    EXPECT_EQ(num->Help, "C:\\dir \"x\"");
    EXPECT_EQ(num->Max, 9);
}

TEST(ParseReadoutLine, ProcessLine)
{
    auto cmd = ParseReadoutLine("2\\0\\PV:1\\bar\\Pressure\\3\\x\\100\\16");
    auto *proc = dynamic_cast<TModProcCommand *>(cmd.get());
    ASSERT_NE(proc, nullptr);
    EXPECT_EQ(proc->PhysUnit, "bar");
    EXPECT_EQ(proc->CompFactor, 100);
    EXPECT_EQ(proc->VType, 3);
    EXPECT_EQ(proc->GCode, 16);

    auto bad = ParseReadoutLine("2\\0\\PV:1\\bar\\Pressure\\3\\0\\x");
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(static_cast<TModProcCommand *>(bad.get())->CompFactor, 1);
}

TEST(ParseReadoutLine, StatusLineFlags)
{
    struct TCase {
        const char *Flags;
        bool Active;
        bool Invers;
        uint8_t Color;
    };
    const TCase cases[] = {
        {"13", true, false, 3}, {"0", false, false, 0}, {"3", true, true, 0},
        {"6", false, true, 1},  {"x", false, false, 1},
    };
    for (const TCase &c : cases) {
        auto cmd = ParseReadoutLine(Line({"2", "10", "ST:READY", "", "Ready hint", "1", "261", c.Flags}));
        auto *bit = dynamic_cast<TModStatusBitCommand *>(cmd.get());
        ASSERT_NE(bit, nullptr) << c.Flags;
        EXPECT_EQ(bit->BActive, c.Active) << c.Flags;
        EXPECT_EQ(bit->BInvers, c.Invers) << c.Flags;
        EXPECT_EQ(bit->BColor, c.Color) << c.Flags;
        EXPECT_EQ(bit->BIndex, 5) << c.Flags;  // low byte of 261
        EXPECT_EQ(bit->HintText, "Ready hint");
        EXPECT_EQ(bit->Help, "Ready hint");
    }
    auto seven = ParseReadoutLine(Line({"2", "10", "ST:READY", "", "hint", "1", "4"}));
    auto *bit = dynamic_cast<TModStatusBitCommand *>(seven.get());
    ASSERT_NE(bit, nullptr);
    EXPECT_EQ(bit->HintText, "");
    EXPECT_EQ(bit->BIndex, 0);
}

TEST(ParseReadoutLine, NonIntegerFieldsKeepDefaults)
{
    auto cmd = ParseReadoutLine(Line({"a", "2", "P1", "", "h", "b", "c", "d", "e"}));
    auto *num = dynamic_cast<TModNumParaCmd *>(cmd.get());
    ASSERT_NE(num, nullptr);
    EXPECT_EQ(num->AType, 2);
    EXPECT_EQ(num->VType, 1);
    EXPECT_EQ(num->Min, 0);
    EXPECT_EQ(num->Max, 0);
    EXPECT_EQ(num->GCode, DefaultGroupMask);

    auto wide = ParseReadoutLine(Line({"259", "4", "IN", "", "h", "277", "-5", "5", "65541", "extra"}));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->AType, 3);
    EXPECT_EQ(wide->VType, 21);
    EXPECT_EQ(wide->GCode, 5);
    EXPECT_EQ(static_cast<TModCtrlCommand *>(wide.get())->Min, -5);
}

} // namespace
