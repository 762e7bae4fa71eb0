#include "asciiprocdataobj.h"
#include "binprocdataobj.h"

#include <gtest/gtest.h>

namespace {

TEST(BINProcDataObj, ReadsHeaderAndLittleEndianWords)
{
    const QByteArray packet("\x01\x02\x34\x12\xFF\xFF\x00\x80", 8);
    TBINProcDataObj sample(packet, 42.5, false);
    EXPECT_EQ(sample.Header0, 1);
    EXPECT_EQ(sample.Header1, 2);
    EXPECT_EQ(sample.TimeStamp, 42.5);
    ASSERT_EQ(sample.Count, 3);
    EXPECT_EQ(sample.GetValue(0), 0x1234);
    EXPECT_EQ(sample.GetValue(1), 0xFFFF);
    EXPECT_EQ(sample.GetValue(2), 0x8000);
    EXPECT_EQ(sample.GetValue(3), 0);
    EXPECT_EQ(sample.GetValue(-1), 0);
}

TEST(BINProcDataObj, SwapExchangesTheBytesOfEachWord)
{
    const uint8_t packet[] = {0xAA, 0xBB, 0x12, 0x34, 0x00, 0x01, 0x99};
    TBINProcDataObj sample(packet, int(sizeof packet), 0, true);
    ASSERT_EQ(sample.Count, 2);  // the odd last byte makes no value
    EXPECT_EQ(sample.GetValue(0), 0x1234);
    EXPECT_EQ(sample.GetValue(1), 0x0001);
}

TEST(BINProcDataObj, ShortPacketsGiveNoValues)
{
    struct TCase {
        QByteArray Packet;
        uint8_t Header0;
        uint8_t Header1;
        int32_t Count;
    };
    const TCase cases[] = {
        {QByteArray(), 0, 0, 0},
        {QByteArray("\x07", 1), 7, 0, 0},
        {QByteArray("\x07\x08", 2), 7, 8, 0},
        {QByteArray("\x07\x08\x09", 3), 7, 8, 0},
    };
    for (const TCase &c : cases) {
        TBINProcDataObj sample(c.Packet, 1.0, false);
        EXPECT_EQ(sample.Header0, c.Header0) << c.Packet.size();
        EXPECT_EQ(sample.Header1, c.Header1) << c.Packet.size();
        EXPECT_EQ(sample.Count, c.Count) << c.Packet.size();
        EXPECT_EQ(sample.GetValue(0), 0);
    }
    TBINProcDataObj none(nullptr, 10, 1.0, false);
    EXPECT_EQ(none.Count, 0);
}

TEST(ASCIIProcDataObj, CarriesOneValue)
{
    const int32_t value = -1234;
    TASCIIProcDataObj sample(&value, int(sizeof value), 3.25, false);
    EXPECT_EQ(sample.Value, -1234);
    EXPECT_EQ(sample.TimeStamp, 3.25);
    EXPECT_EQ(sample.ProcIndex, -1);
    EXPECT_EQ(sample.Count, 0);
    EXPECT_EQ(sample.GetValue(0), 0);

    TASCIIProcDataObj indexed(77, 1.0, 5);
    EXPECT_EQ(indexed.Value, 77);
    EXPECT_EQ(indexed.ProcIndex, 5);

    TASCIIProcDataObj missing(nullptr, 0, 1.0, false);
    EXPECT_EQ(missing.Value, 0);
}

TEST(ProcDataTimeStamp, CountsDaysSince1899)
{
    const QDateTime noon(QDate(1900, 1, 1), QTime(12, 0));
    EXPECT_DOUBLE_EQ(TBaseProcDataObj::TimeStampOf(noon), 2.5);
    EXPECT_DOUBLE_EQ(TBaseProcDataObj::TimeStampOf(QDateTime(QDate(1899, 12, 30), QTime(6, 0))), 0.25);

    const QDateTime sample(QDate(2014, 3, 3), QTime(15, 4, 5, 123));
    const double stamp = TBaseProcDataObj::TimeStampOf(sample);
    EXPECT_EQ(int(stamp), 41701);
    EXPECT_EQ(TBaseProcDataObj::DateTimeOf(stamp), sample);
    EXPECT_EQ(TBaseProcDataObj::DateTimeOf(41701.9999999999), QDateTime(QDate(2014, 3, 4), QTime(0, 0)));
}

} // namespace
