#include "modtext.h"

#include <gtest/gtest.h>

namespace {

struct TIntCase {
    const char *Text;
    bool Ok;
    int32_t Value;
};

TEST(TryStrToInt32, AcceptsOnlySignedDecimalWithin32Bits)
{
    const TIntCase cases[] = {
        {"0", true, 0},
        {"1000", true, 1000},
        {"-17", true, -17},
        {"+5", true, 5},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"12a", false, 0},
        {"0x10", false, 0},
        {"$10", false, 0},
        {" 5", false, 0},
        {"5 ", false, 0},
        {"1.5", false, 0},
    };
    for (const TIntCase &c : cases) {
        int32_t value = 4711;
        EXPECT_EQ(TryStrToInt32(QString::fromLatin1(c.Text), value), c.Ok) << c.Text;
        EXPECT_EQ(value, c.Ok ? c.Value : 4711) << c.Text;
    }
}

TEST(SplitFields, QuotesEmptyFieldsAndTrailingDelimiter)
{
    EXPECT_EQ(SplitFields("a\\\\b", u'\\', false), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitFields("\\a", u'\\', false), QStringList({"", "a"}));
    EXPECT_EQ(SplitFields("a\\", u'\\', false), QStringList({"a", ""}));
    EXPECT_EQ(SplitFields("", u'\\', false), QStringList());
    EXPECT_EQ(SplitFields("\"x\\y\"\\z", u'\\', false), QStringList({"x\\y", "z"}));
    EXPECT_EQ(SplitFields("\"say \"\"hi\"\"\"\\z", u'\\', false), QStringList({"say \"hi\"", "z"}));
    // Text after the closing quote stays in the same field, so later fields do not shift.
    EXPECT_EQ(SplitFields("\"ab\"cd\\e", u'\\', false), QStringList({"abcd", "e"}));
    EXPECT_EQ(SplitFields("\"open\\rest", u'\\', false), QStringList({"open\\rest"}));
    EXPECT_EQ(SplitFields("a\"b\\c", u'\\', false), QStringList({"a\"b", "c"}));
}

TEST(SplitFields, BlanksSeparateInCommaText)
{
    EXPECT_EQ(SplitFields("P1  1000,2", u',', true), QStringList({"P1", "1000", "2"}));
    EXPECT_EQ(SplitFields("a , b", u',', true), QStringList({"a", "b"}));
    EXPECT_EQ(SplitFields("a\t\r\nb", u',', true), QStringList({"a", "b"}));
    EXPECT_EQ(SplitFields("\"x, y\" z", u',', true), QStringList({"x, y", "z"}));
}

TEST(SplitValueList, KeepsInnerBlanksAndEmptyItems)
{
    EXPECT_EQ(SplitValueList("ON|OFF|AUTO"), QStringList({"ON", "OFF", "AUTO"}));
    EXPECT_EQ(SplitValueList("a||b"), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitValueList("a|b|"), QStringList({"a", "b", ""}));
    EXPECT_EQ(SplitValueList("  low speed|high speed \r\n"), QStringList({"low speed", "high speed"}));
    EXPECT_EQ(SplitValueList(" \t "), QStringList());
    EXPECT_EQ(SplitValueList(""), QStringList());
}

TEST(PlaceRightAligned, EndsInColumnOrKeepsOneBlankWhenTooLong)
{
    QString line(13, u' ');
    PlaceRightAligned(line, "42", 6);
    PlaceRightAligned(line, "-7", 13);
    EXPECT_EQ(line, "    42     -7");

    QString crowded(13, u' ');
    PlaceRightAligned(crowded, "123456", 6);
    PlaceRightAligned(crowded, "1234567", 13);
    EXPECT_EQ(crowded, "123456 1234567");

    QString wide(6, u' ');
    PlaceRightAligned(wide, "12345678", 6);
    EXPECT_EQ(wide, "12345678");
}

} // namespace
