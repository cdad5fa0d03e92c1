#include <gtest/gtest.h>

#include "contracts/base/NUV_Base.h"

namespace nuv {
namespace {

TEST(BitFld, BoundsFollowSetSize) {
  TBitFld b;
  EXPECT_EQ(b.GetSize(), -1);
  b.SetBit(0, true);
  EXPECT_FALSE(b.GetBit(0));
  b.SetSize(70);  // bits 0..70
  EXPECT_EQ(b.GetSize(), 70);
  b.SetBit(70, true);
  b.SetBit(71, true);
  b.SetBit(-1, true);
  EXPECT_TRUE(b.GetBit(70));
  EXPECT_FALSE(b.GetBit(71));
  EXPECT_FALSE(b.GetBit(-1));
  EXPECT_EQ(b.CountTrueBits(), 1);
  EXPECT_EQ(b.FirstTrueBit(), 70);
}

TEST(BitFld, FirstCountClearAndResize) {
  TBitFld b;
  EXPECT_EQ(b.FirstTrueBit(), -1);
  b.SetSize(200);
  for (int i : {5, 64, 130, 199}) b.SetBit(i, true);
  b.SetBit(5, false);
  EXPECT_EQ(b.FirstTrueBit(), 64);
  EXPECT_EQ(b.CountTrueBits(), 3);
  b.SetSize(100);  // bits above 100 are gone ...
  EXPECT_EQ(b.CountTrueBits(), 1);
  b.SetSize(200);  // ... and come back false
  EXPECT_FALSE(b.GetBit(130));
  EXPECT_TRUE(b.GetBit(64));
  b.Clear();
  EXPECT_EQ(b.CountTrueBits(), 0);
  EXPECT_EQ(b.FirstTrueBit(), -1);
  EXPECT_EQ(b.GetSize(), 200);
  b.SetSize(-5);
  EXPECT_EQ(b.GetSize(), -1);
  EXPECT_EQ(b.CountTrueBits(), 0);
}

TEST(BitFld, OwnedByAComponent) {
  TComponent owner(nullptr);
  auto* b = new TBitFld(&owner);
  EXPECT_EQ(owner.ComponentCount(), 1);
  b->SetSize(3);
}

}  // namespace
}  // namespace nuv
