#include "modcommandlist.h"
#include "modnumparacmd.h"
#include "modprocessdata.h"
#include "modremotectrlcommandlist.h"
#include "modstatusinfodata.h"
#include "osbaseobjstringlist.h"

#include <gtest/gtest.h>

namespace {

// Counts how many of its instances have been destroyed.
class TTracked : public TObject {
public:
    explicit TTracked(int &destroyed) : FDestroyed(destroyed) {}
    ~TTracked() override { ++FDestroyed; }

private:
    int &FDestroyed;
};

class ObjStringListTest : public ::testing::Test {
protected:
    int Destroyed = 0;
    TosBaseObjStringList List;
    TTracked *A = new TTracked(Destroyed);
    TTracked *B = new TTracked(Destroyed);
    TTracked *C = new TTracked(Destroyed);

    void SetUp() override
    {
        List.AddObject("Alpha", A);
        List.AddObject("beta", B);
        List.AddObject("ALPHA", C);
    }
};

TEST_F(ObjStringListTest, LookupIsCaseInsensitiveFirstMatch)
{
    EXPECT_TRUE(List.OwnsObjects);
    EXPECT_EQ(List.Count(), 3);
    EXPECT_EQ(List.IndexOf("alpha"), 0);
    EXPECT_EQ(List.IndexOf("BETA"), 1);
    EXPECT_EQ(List.IndexOf("gamma"), -1);
    EXPECT_EQ(List.IndexOfObject(C), 2);
    EXPECT_EQ(List.IndexOfObject(nullptr), -1);
    EXPECT_EQ(List.GetString(1), "beta");
    EXPECT_EQ(List.GetObject(2), C);
}

TEST_F(ObjStringListTest, OutOfRangeIndicesAreIgnored)
{
    for (int i : {-1, 3, 100}) {
        EXPECT_EQ(List.GetObject(i), nullptr);
        EXPECT_EQ(List.GetString(i), "");
        List.PutObject(i, A);
        List.PutString(i, "x");
        List.Delete(i);
    }
    EXPECT_EQ(List.Count(), 3);
    EXPECT_EQ(Destroyed, 0);
}

TEST_F(ObjStringListTest, DeleteAndClearFreeOwnedObjects)
{
    List.Delete(1);
    EXPECT_EQ(Destroyed, 1);
    EXPECT_EQ(List.Count(), 2);
    EXPECT_EQ(List.GetObject(1), C);
    List.Clear();
    EXPECT_EQ(Destroyed, 3);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(ObjStringListTest, PutObjectDoesNotFreeTheOldObject)
{
    int otherDestroyed = 0;
    auto *replacement = new TTracked(otherDestroyed);
    List.PutObject(0, replacement);
    EXPECT_EQ(Destroyed, 0);
    delete A;  // no longer in the list
    List.PutString(0, "Gamma");
    EXPECT_EQ(List.IndexOf("gamma"), 0);
    List.Clear();
    EXPECT_EQ(otherDestroyed, 1);
    EXPECT_EQ(Destroyed, 3);
}

TEST_F(ObjStringListTest, NonOwningListFreesNothing)
{
    List.OwnsObjects = false;
    List.Delete(0);
    List.Clear();
    EXPECT_EQ(Destroyed, 0);
    delete A;
    delete B;
    delete C;
}

TEST_F(ObjStringListTest, ObjectHeldTwiceIsFreedOnce)
{
    List.AddObject("again", A);
    List.Delete(0);
    EXPECT_EQ(Destroyed, 0);  // entry 3 still holds it
    List.Clear();
    EXPECT_EQ(Destroyed, 3);
}

TEST(ObjStringListLifetime, DestructionFreesOwnedObjects)
{
    int destroyed = 0;
    {
        TosBaseObjStringList list;
        list.AddObject("a", new TTracked(destroyed));
        list.AddObject("b", nullptr);
        list.AddObject("c", new TTracked(destroyed));
    }
    EXPECT_EQ(destroyed, 2);
}

TEST(ModCommandLists, AddKeysByNameAndRefusesNone)
{
    TModCommandList list;
    auto *cmd = new TModNumParaCmd;
    cmd->Name = "P1";
    EXPECT_EQ(list.Add(nullptr), -1);
    EXPECT_EQ(list.Add(cmd), 0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetString(0), "P1");
    EXPECT_EQ(list.Command(0), cmd);
    EXPECT_EQ(list.Command(1), nullptr);
    EXPECT_EQ(list.IndexOf("p1"), 0);
}

TEST(ModCommandLists, TypedGettersCheckTheElementClass)
{
    TModProcessData proc;
    TModStatusInfoData status;
    TModRemoteCtrlCommandList remote;
    proc.AddObject("x", new TModNumParaCmd);
    status.AddObject("x", new TModProcCommand);
    remote.AddObject("x", new TModStatusBitCommand);
    EXPECT_EQ(proc.ProcCommand(0), nullptr);
    EXPECT_EQ(status.StatusBit(0), nullptr);
    EXPECT_EQ(remote.RemoteCmd(0), nullptr);
    EXPECT_EQ(proc.Add(nullptr), -1);
    EXPECT_EQ(status.Add(nullptr), -1);
    EXPECT_EQ(remote.Add(nullptr), -1);
}

TModProcCommand *NewProc(const QString &name, int32_t factor, int32_t raw)
{
    auto *cmd = new TModProcCommand;
    cmd->Name = name;
    cmd->CompFactor = factor;
    cmd->PhysUnit = "bar";
    cmd->RawValue = raw;
    return cmd;
}

TEST(ModProcessData, CopyToReplacesTargetWithClones)
{
    TModProcessData source;
    source.Add(NewProc("PV1", 10, 5));
    source.AddObject("stray", new TModNumParaCmd);
    source.Add(NewProc("PV2", 100, 7));
    TModProcessData target;
    target.Add(NewProc("OLD", 1, 0));

    source.CopyTo(target);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target.GetString(0), "PV1");
    EXPECT_EQ(target.GetString(1), "PV2");
    EXPECT_NE(target.ProcCommand(0), source.ProcCommand(0));
    EXPECT_EQ(target.ProcCommand(1)->CompFactor, 100);
    EXPECT_EQ(target.ProcCommand(1)->PhysUnit, "bar");
    EXPECT_EQ(target.ProcCommand(1)->RawValue, 0);

    source.CopyTo(source);
    EXPECT_EQ(source.Count(), 3);
    EXPECT_EQ(source.ProcCommand(0)->Name, "PV1");
}

TModStatusBitCommand *NewBit(uint8_t index, bool invers)
{
    auto *bit = new TModStatusBitCommand;
    bit->Name = QStringLiteral("ST:%1").arg(index);
    bit->BIndex = index;
    bit->BInvers = invers;
    return bit;
}

TEST(ModStatusInfoData, UpdateBuildsLedMaskByPosition)
{
    TModStatusInfoData status;
    uint16_t mask = 0xFFFF;
    EXPECT_FALSE(status.Update(0xFFFF, mask));
    EXPECT_EQ(mask, 0);

    status.Add(NewBit(3, false));  // LED 0
    status.Add(NewBit(0, true));   // LED 1
    status.Add(NewBit(8, false));  // LED 2
    EXPECT_TRUE(status.Update(0x0109, mask));
    EXPECT_EQ(mask, 0b101);
    EXPECT_EQ(status.StatusBit(1)->StatusWord, 0x0109);
    EXPECT_TRUE(status.Update(0, mask));
    EXPECT_EQ(mask, 0b010);
}

TEST(ModStatusInfoData, EntriesBeyondSixteenAreNotInTheMask)
{
    TModStatusInfoData status;
    for (int i = 0; i < 18; ++i)
        status.Add(NewBit(0, false));
    uint16_t mask = 0;
    EXPECT_TRUE(status.Update(1, mask));
    EXPECT_EQ(mask, 0xFFFF);
    EXPECT_EQ(status.StatusBit(17)->StatusWord, 1);
}

TModRemoteCtrlCmd *NewRemote(const QString &name, int32_t min, int32_t max)
{
    auto *cmd = new TModRemoteCtrlCmd;
    cmd->Name = name;
    cmd->Min = min;
    cmd->Max = max;
    return cmd;
}

TEST(ModRemoteCtrlCommandList, FindByPinAndRange)
{
    TModRemoteCtrlCommandList remote;
    remote.Add(NewRemote("RC:6", -100, 100));
    remote.Add(NewRemote("RC:29", 0, 10000));
    remote.Add(NewRemote("RC:6", 1, 2));

    EXPECT_EQ(remote.FindByPin(2), remote.RemoteCmd(0));
    EXPECT_EQ(remote.FindByPin(5), remote.RemoteCmd(1));
    EXPECT_EQ(remote.FindByPin(1), nullptr);

    int32_t min = 7;
    int32_t max = 7;
    EXPECT_TRUE(remote.GetPinRange(2, min, max));
    EXPECT_EQ(min, -100);
    EXPECT_EQ(max, 100);
    EXPECT_FALSE(remote.GetPinRange(3, min, max));
    EXPECT_EQ(min, -100);
}

TEST(ModRemoteCtrlCommandList, FreesTheCommandsItHolds)
{
    int destroyed = 0;
    struct TTrackedRemote : TModRemoteCtrlCmd {
        int *Destroyed = nullptr;
        ~TTrackedRemote() override { ++*Destroyed; }
    };
    {
        TModRemoteCtrlCommandList remote;
        auto *cmd = new TTrackedRemote;
        cmd->Destroyed = &destroyed;
        remote.Add(cmd);
        auto *second = new TTrackedRemote;
        second->Destroyed = &destroyed;
        remote.Add(second);
        remote.Delete(0);
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 2);
}

} // namespace
