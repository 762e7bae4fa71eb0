#include "cmdtables.h"
#include "localeguard.h"
#include "modainparacmd.h"
#include "modccparacmd.h"
#include "modctrlcommand.h"
#include "modnumparacmd.h"
#include "modproccommand.h"
#include "modremotectrlcmd.h"
#include "modstatusbitcommand.h"
#include "modtextparacmd.h"

#include <gtest/gtest.h>

namespace {

TEST(ModTextParaCmd, SetTxtAcceptsOnlyListedTexts)
{
    TModTextParaCmd cmd;
    cmd.VList = {"ON", "OFF"};
    cmd.SetTxt("on");
    EXPECT_EQ(cmd.Txt(), "on");
    EXPECT_EQ(cmd.ValueText(), "on");
    cmd.SetTxt("AUTO");
    EXPECT_EQ(cmd.Txt(), "");
}

TEST(ModNumParaCmd, DecimalTextUsesLocaleSeparatorAndExactHundredths)
{
    struct TCase {
        int32_t Val;
        const char *English;
        const char *German;
    };
    const TCase cases[] = {
        {1234, "12.34", "12,34"},  {5, "0.05", "0,05"},       {-5, "-0.05", "-0,05"},
        {-1234, "-12.34", "-12,34"}, {100000, "1000.00", "1000,00"}, {1005, "10.05", "10,05"},
        {INT32_MIN, "-21474836.48", "-21474836,48"},
    };
    TModNumParaCmd cmd;
    for (const TCase &c : cases) {
        cmd.Val = c.Val;
        EXPECT_EQ(cmd.ValueText(), QString::number(c.Val));
        {
            TLocaleGuard locale(QLocale(QLocale::English, QLocale::UnitedStates));
            EXPECT_EQ(cmd.DecimalText(), c.English);
        }
        TLocaleGuard locale(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(cmd.DecimalText(), c.German);
    }
}

TEST(ModAinParaCmd, ValueTextColumns)
{
    TModAinParaCmd cmd;
    cmd.A = 1000;
    cmd.B = 1000;
    EXPECT_EQ(cmd.ValueText(), "  1000   1000      0 V");
    cmd.A = -10000;
    cmd.B = 1;
    cmd.C = -2500;
    cmd.X = 1;
    EXPECT_EQ(cmd.ValueText(), "-10000      1  -2500 C");
}

TEST(ModAinParaCmd, ValueTextFollowsUnitTableAndBlanksUnknownKind)
{
    TModAinParaCmd cmd;
    const auto saved = AinUnitNames;
    AinUnitNames = {"U", "I"};
    cmd.X = 1;
    EXPECT_EQ(cmd.ValueText().right(1), "I");
    AinUnitNames = saved;
    cmd.X = 7;
    EXPECT_EQ(cmd.ValueText(), "     0      0      0  ");
}

TEST(ModAinParaCmd, LongNumbersStaySeparated)
{
    TModAinParaCmd cmd;
    cmd.A = 1234567;
    cmd.B = -1234567;
    cmd.C = 2147483647;
    const QStringList parts = cmd.ValueText().split(u' ', Qt::SkipEmptyParts);
    EXPECT_EQ(parts, QStringList({"1234567", "-1234567", "2147483647", "V"}));
}

TEST(ModCCParaCmd, PointsAndPointText)
{
    TModCCParaCmd cmd;
    cmd.SetPoint(-10, {-10000, -10000});
    cmd.SetPoint(10, {10000, 5});
    EXPECT_EQ(cmd.PointText(-10), "-10000 -10000");
    EXPECT_EQ(cmd.PointText(10), " 10000      5");
    EXPECT_EQ(cmd.PointText(0), "     0      0");
    EXPECT_EQ(cmd.ValueText(), "characteristic curve");

    cmd.SetPoint(11, {1, 1});
    cmd.SetPoint(-11, {1, 1});
    EXPECT_EQ(cmd.GetPoint(11), TCCPoint{});
    EXPECT_EQ(cmd.GetPoint(10), (TCCPoint{10000, 5}));
}

TEST(ModProcCommand, ValueTextDividesByCompFactor)
{
    TModProcCommand cmd;
    cmd.RawValue = 1234;
    cmd.CompFactor = 100;
    {
        TLocaleGuard locale(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(cmd.ValueText(), "12.34");
        cmd.RawValue = 123456789;
        cmd.CompFactor = 1;
        EXPECT_EQ(cmd.ValueText(), "123456789.00");
        cmd.RawValue = -1;
        cmd.CompFactor = 3;
        EXPECT_EQ(cmd.ValueText(), "-0.33");
        cmd.RawValue = 250;
        cmd.CompFactor = 0;
        EXPECT_EQ(cmd.ValueText(), "250.00");
    }
    TLocaleGuard locale(QLocale(QLocale::German, QLocale::Germany));
    cmd.RawValue = 1234;
    cmd.CompFactor = 100;
    EXPECT_EQ(cmd.ValueText(), "12,34");
}

TEST(ModStatusBitCommand, IsOnFollowsBitAndInversion)
{
    struct TCase {
        uint8_t Index;
        bool Invers;
        uint16_t Word;
        bool On;
    };
    const TCase cases[] = {
        {3, true, 0, true},      {3, true, 8, false},   {3, false, 8, true},
        {3, false, 0, false},    {15, false, 0x8000, true}, {35, false, 8, true},
        {20, false, 0xFFFF, false}, {20, true, 0xFFFF, true},
    };
    TModStatusBitCommand bit;
    for (const TCase &c : cases) {
        bit.BIndex = c.Index;
        bit.BInvers = c.Invers;
        bit.StatusWord = c.Word;
        EXPECT_EQ(bit.IsOn(), c.On) << int(c.Index) << " " << c.Word;
    }
    bit.StatusWord = 513;
    EXPECT_EQ(bit.ValueText(), "513");
}

TEST(ModStatusBitCommand, CaptionDropsPrefixUpToFirstColon)
{
    TModStatusBitCommand bit;
    const std::pair<const char *, const char *> cases[] = {
        {"ST:READY", "READY"}, {"READY", "READY"}, {"A:B:C", "B:C"}, {":X", "X"}, {"X:", ""},
    };
    for (const auto &[name, caption] : cases) {
        bit.Name = name;
        EXPECT_EQ(bit.Caption(), caption) << name;
    }
}

TEST(ModRemoteCtrlCmd, PinIndexAndName)
{
    const std::pair<const char *, int> cases[] = {
        {"RC:910", 1}, {"RC:6", 2}, {"RC:13", 3}, {"RC:14", 4},
        {"RC:29", 5},  {"rc:6", 0}, {"RC:7", 0},  {"", 0},
    };
    TModRemoteCtrlCmd cmd;
    for (const auto &[name, pin] : cases) {
        cmd.Name = name;
        EXPECT_EQ(cmd.PinIndex(), pin) << name;
        EXPECT_EQ(cmd.PinName(), RemotePinNames[pin]);
    }
    cmd.Name = "RC:6";
    EXPECT_EQ(cmd.PinName(), "Pin 6");
    cmd.Val = -42;
    EXPECT_EQ(cmd.ValueText(), "-42");
}

TEST(ModBaseCommand, GroupNames)
{
    TModNumParaCmd cmd;
    EXPECT_EQ(cmd.GroupNames(), "");
    cmd.GCode = 0x8041;
    EXPECT_EQ(cmd.GroupNames(), "NewTab, Z.O.LT., FreeBit15");
    cmd.GCode = DefaultGroupMask;
    EXPECT_EQ(cmd.GroupNames(),
              "All, Appli, PAM, Basic, Password, Pressure, Special, FreeBit10, FreeBit11, "
              "FreeBit12, FreeBit13, FreeBit14, FreeBit15");
}

TEST(ModCtrlCommand, ChangedRaisesOnChangeWithItself)
{
    TModNumParaCmd cmd;
    cmd.Changed();  // no receiver: nothing happens
    TModCtrlCommand *sender = nullptr;
    int calls = 0;
    cmd.OnChange = [&](TModCtrlCommand *c) {
        sender = c;
        ++calls;
    };
    cmd.Changed();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sender, &cmd);
}

void Describe(TModBaseCommand &cmd)
{
    cmd.Name = "N1";
    cmd.Help = "help";
    cmd.AType = 3;
    cmd.VType = 21;
    cmd.GCode = 0x0104;
    if (auto *ctrl = dynamic_cast<TModCtrlCommand *>(&cmd)) {
        ctrl->Min = -5;
        ctrl->Max = 50;
        ctrl->VList = {"A", "B"};
    }
}

void ExpectSameDescription(const TModBaseCommand &a, const TModBaseCommand &b)
{
    EXPECT_EQ(a.CmdType(), b.CmdType());
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Help, b.Help);
    EXPECT_EQ(a.AType, b.AType);
    EXPECT_EQ(a.VType, b.VType);
    EXPECT_EQ(a.GCode, b.GCode);
    auto *ca = dynamic_cast<const TModCtrlCommand *>(&a);
    auto *cb = dynamic_cast<const TModCtrlCommand *>(&b);
    ASSERT_EQ(ca == nullptr, cb == nullptr);
    if (ca) {
        EXPECT_EQ(ca->Min, cb->Min);
        EXPECT_EQ(ca->Max, cb->Max);
        EXPECT_EQ(ca->VList, cb->VList);
    }
}

TEST(ModBaseCommand, CloneCopiesDescriptionAndValue)
{
    TModTextParaCmd text;
    Describe(text);
    text.SetTxt("b");
    TModNumParaCmd num;
    Describe(num);
    num.Val = 77;
    TModAinParaCmd ain;
    Describe(ain);
    ain.A = 1;
    ain.B = 2;
    ain.C = 3;
    ain.X = 1;
    TModCCParaCmd curve;
    Describe(curve);
    for (int i = -10; i <= 10; ++i)
        curve.SetPoint(i, {i * 100, -i});
    TModCtrlCommand inPara(4);
    Describe(inPara);
    TModProcCommand proc;
    Describe(proc);
    proc.CompFactor = 10;
    proc.PhysUnit = "bar";
    proc.RawValue = 999;

    for (const TModBaseCommand *source : std::initializer_list<const TModBaseCommand *>{
             &text, &num, &ain, &curve, &inPara, &proc}) {
        auto copy = source->Clone();
        ASSERT_NE(copy, nullptr) << int(source->CmdType());
        EXPECT_EQ(typeid(*copy), typeid(*source));
        ExpectSameDescription(*source, *copy);
        if (source != &proc) {
            EXPECT_EQ(copy->ValueText(), source->ValueText()) << int(source->CmdType());
        }
    }
    auto procCopy = proc.Clone();
    auto *p = static_cast<TModProcCommand *>(procCopy.get());
    EXPECT_EQ(p->CompFactor, 10);
    EXPECT_EQ(p->PhysUnit, "bar");
    EXPECT_EQ(p->RawValue, 0);

    auto curveCopy = curve.Clone();
    auto *c = static_cast<TModCCParaCmd *>(curveCopy.get());
    for (int i = -10; i <= 10; ++i)
        EXPECT_EQ(c->GetPoint(i), curve.GetPoint(i)) << i;
}

TEST(ModBaseCommand, CloneGivesNoneForStatusAndRemoteCommands)
{
    EXPECT_EQ(TModStatusBitCommand().Clone(), nullptr);
    EXPECT_EQ(TModRemoteCtrlCmd().Clone(), nullptr);
}

TEST(ModBaseCommand, AssignToNeedsSameType)
{
    TModNumParaCmd source;
    Describe(source);
    source.Val = 5;
    TModNumParaCmd sameType;
    source.AssignTo(&sameType);
    ExpectSameDescription(source, sameType);
    EXPECT_EQ(sameType.Val, 5);

    TModTextParaCmd otherType;
    source.AssignTo(&otherType);
    EXPECT_EQ(otherType.Name, "");
    EXPECT_TRUE(otherType.VList.isEmpty());
    source.AssignTo(nullptr);

    // A plain control command carrying code 2 is no numeric command: only the shared parts move.
    TModCtrlCommand plain(2);
    source.AssignTo(&plain);
    ExpectSameDescription(source, plain);
}

TEST(ModBaseCommand, AssignToCopiesStatusAndRemoteFields)
{
    TModStatusBitCommand bit;
    Describe(bit);
    bit.StatusWord = 8;
    bit.BActive = true;
    bit.BIndex = 3;
    bit.HintText = "hint";
    bit.BInvers = true;
    bit.BColor = 2;
    TModStatusBitCommand bitCopy;
    bit.AssignTo(&bitCopy);
    ExpectSameDescription(bit, bitCopy);
    EXPECT_EQ(bitCopy.StatusWord, 8);
    EXPECT_TRUE(bitCopy.BActive);
    EXPECT_EQ(bitCopy.BIndex, 3);
    EXPECT_EQ(bitCopy.HintText, "hint");
    EXPECT_TRUE(bitCopy.BInvers);
    EXPECT_EQ(bitCopy.BColor, 2);

    TModRemoteCtrlCmd remote;
    Describe(remote);
    remote.Val = 12;
    TModRemoteCtrlCmd remoteCopy;
    remote.AssignTo(&remoteCopy);
    ExpectSameDescription(remote, remoteCopy);
    EXPECT_EQ(remoteCopy.Val, 12);
}

TEST(ModBaseCommand, TextAssignAppliesValueAfterTheList)
{
    TModTextParaCmd source;
    source.VList = {"ON", "OFF"};
    source.SetTxt("OFF");
    TModTextParaCmd dest;  // empty list: the value only sticks because the list comes first
    source.AssignTo(&dest);
    EXPECT_EQ(dest.Txt(), "OFF");
}

} // namespace
