#include "answersplit.h"
#include "modainparacmd.h"
#include "modccparacmd.h"
#include "modnumparacmd.h"
#include "modproccommand.h"
#include "modremotectrlcmd.h"
#include "modtextparacmd.h"

#include <gtest/gtest.h>

namespace {

struct TSplitCase {
    const char *Answer;
    const char *NameIn;
    bool Result;
    const char *NameOut;
    QStringList Items;
};

TEST(SplitAnswer, Cases)
{
    const TSplitCase cases[] = {
        {"P1 1000 CMD>", "", true, "P1", {"1000"}},
        {"P1 1000", "P1", true, "P1", {"", "1000"}},
        {"P1 1000\r\n>", "", true, "P1", {"1000"}},
        {"CC:3 -3 500 -200 CMD>", "CC:3", true, "CC:3", {"", "-3", "500", "-200"}},
        {"AIN 1000,1000, 0 V>", "", true, "AIN", {"1000", "1000", "0", "V"}},
        {"T1 \"low speed\" CMD>", "", true, "T1", {"low speed"}},
        {"XP1X 5", "P1", true, "P1", {"XX", "5"}},
        {"p1 5", "P1", true, "P1", {"p1", "5"}},
        {"P1", "", true, "P1", {}},
        {"P1 command error CMD>", "", false, "", {}},
        {"", "", false, "", {}},
        {"CMD>", "", false, "", {}},
        {" \r\n>", "P1", false, "P1", {}},
        {",,,", "", false, "", {}},
    };
    for (const TSplitCase &c : cases) {
        QString name = c.NameIn;
        QStringList items = {"stale"};
        EXPECT_EQ(SplitAnswer(c.Answer, name, items), c.Result) << c.Answer;
        EXPECT_EQ(name, c.NameOut) << c.Answer;
        EXPECT_EQ(items, c.Items) << c.Answer;
    }
}

TEST(ApplyValues, NoCommandIsTheOnlyFailure)
{
    EXPECT_FALSE(ApplyValues(nullptr, {"1"}));
    TModProcCommand proc;
    EXPECT_TRUE(ApplyValues(&proc, {"5"}));
    EXPECT_EQ(proc.RawValue, 0);
}

TEST(ApplyValues, TextNumericAndRemoteTakeExactlyOneItem)
{
    TModTextParaCmd text;
    text.VList = {"ON", "OFF"};
    EXPECT_TRUE(ApplyValues(&text, {"off"}));
    EXPECT_EQ(text.Txt(), "off");
    EXPECT_TRUE(ApplyValues(&text, {"ON", "x"}));
    EXPECT_EQ(text.Txt(), "off");
    EXPECT_TRUE(ApplyValues(&text, {"MAYBE"}));
    EXPECT_EQ(text.Txt(), "");

    TModNumParaCmd num;
    num.Val = 9;
    EXPECT_TRUE(ApplyValues(&num, {"x12"}));
    EXPECT_EQ(num.Val, 9);
    EXPECT_TRUE(ApplyValues(&num, {"1", "2"}));
    EXPECT_EQ(num.Val, 9);
    EXPECT_TRUE(ApplyValues(&num, {"-300"}));
    EXPECT_EQ(num.Val, -300);

    TModRemoteCtrlCmd remote;
    EXPECT_TRUE(ApplyValues(&remote, {"2500"}));
    EXPECT_EQ(remote.Val, 2500);
    EXPECT_TRUE(ApplyValues(&remote, {}));
    EXPECT_EQ(remote.Val, 2500);
}

class ApplyCurveTest : public ::testing::Test {
protected:
    TModCCParaCmd Curve;
    void ExpectUntouched()
    {
        for (int i = -10; i <= 10; ++i)
            EXPECT_EQ(Curve.GetPoint(i), TCCPoint{}) << i;
    }
};

TEST_F(ApplyCurveTest, SetsOnePoint)
{
    EXPECT_TRUE(ApplyValues(&Curve, {"-3", "500", "-200"}));
    EXPECT_EQ(Curve.GetPoint(-3), (TCCPoint{500, -200}));
}

TEST_F(ApplyCurveTest, RejectsWrongItems)
{
    const QStringList cases[] = {
        {"-3", "500"}, {"11", "1", "1"}, {"-11", "1", "1"}, {"1", "x", "1"}, {"1", "1", "2", "3"},
    };
    for (const QStringList &items : cases)
        EXPECT_TRUE(ApplyValues(&Curve, items)) << items.join(' ').toStdString();
    ExpectUntouched();
}

TEST(ApplyValues, AnalogInputTakesOneToFourItems)
{
    struct TCase {
        QStringList Items;
        int32_t A, B, C;
        uint8_t X;
    };
    const TCase cases[] = {
        {{"10"}, 10, 2, 3, 1},
        {{"10", "20", "30", "V"}, 10, 20, 30, 0},
        {{"10", "20", "30", "i"}, 10, 20, 30, 1},
        {{"10", "20", "30", "C"}, 10, 20, 30, 1},
        {{"x", "20", "y", "U"}, 1, 20, 3, 0},
        {{}, 1, 2, 3, 1},
        {{"10", "20", "30", "C", "5"}, 1, 2, 3, 1},
    };
    for (const TCase &c : cases) {
        TModAinParaCmd ain;
        ain.A = 1;
        ain.B = 2;
        ain.C = 3;
        ain.X = 1;
        EXPECT_TRUE(ApplyValues(&ain, c.Items));
        const QString label = c.Items.join(' ');
        EXPECT_EQ(ain.A, c.A) << label.toStdString();
        EXPECT_EQ(ain.B, c.B) << label.toStdString();
        EXPECT_EQ(ain.C, c.C) << label.toStdString();
        EXPECT_EQ(ain.X, c.X) << label.toStdString();
    }
}

TEST(ApplyValues, ReadsBackWhatValueTextSends)
{
    TModAinParaCmd sent;
    sent.A = 1500;
    sent.B = -1000;
    sent.C = 250;
    sent.X = 1;
    QString name = "AIN:1";
    QStringList items;
    ASSERT_TRUE(SplitAnswer("AIN:1 " + sent.ValueText() + " CMD>", name, items));
    items.removeFirst();
    TModAinParaCmd received;
    ApplyValues(&received, items);
    EXPECT_EQ(received.ValueText(), sent.ValueText());
}

} // namespace
