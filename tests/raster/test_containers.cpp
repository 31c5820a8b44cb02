// Pointer map, rectangle list, class list, integer map and the property copier.
#include <gtest/gtest.h>

#include <vector>

#include "raster/RS32_Containers.h"
#include "raster/RS32_Resamplers.h"

namespace {
void* Key(NativeUInt V) {
  return reinterpret_cast<void*>(V);
}
}  // namespace

TEST(RasterPointerMap, BucketsAddFindDelete) {
  EXPECT_EQ(TPointerMap::BucketOf(Key(0x1234)), 0x12);
  EXPECT_EQ(TPointerMap::BucketOf(Key(0x1234)), TPointerMap::BucketOf(Key(0x1234 + 0x10000)));
  EXPECT_EQ(TPointerMap::BucketOf(Key(0x1200)), TPointerMap::BucketOf(Key(0x12FF)));

  TPointerMap Map;
  bool New = false;
  void** D = Map.Add(Key(0x1200), Key(1), New);
  EXPECT_TRUE(New);
  EXPECT_EQ(*D, Key(1));
  Map.Add(Key(0x1201), Key(2), New);
  Map.Add(Key(0x11200), Key(3), New);
  D = Map.Add(Key(0x1201), Key(99), New);
  EXPECT_FALSE(New);
  EXPECT_EQ(*D, Key(2));
  EXPECT_EQ(Map.GetCount(), 3);

  Integer B, I;
  ASSERT_TRUE(Map.Find(Key(0x11200), B, I));
  EXPECT_EQ(B, 0x12);
  EXPECT_EQ(I, 2);  // insertion order within the bucket
  EXPECT_EQ(Map.Remove(Key(0x1201)), Key(2));
  ASSERT_TRUE(Map.Find(Key(0x11200), B, I));
  EXPECT_EQ(I, 1);
  EXPECT_EQ(Map.Remove(Key(0x7777)), nullptr);
  EXPECT_EQ(Map.GetCount(), 2);
  EXPECT_THROW(Map.Delete(0x12, 5), EListError);
  Map.Clear();
  EXPECT_EQ(Map.GetCount(), 0);
  EXPECT_FALSE(Map.Find(Key(0x1200), B, I));
}

TEST(RasterPointerMap, MissingKeyRaisesWithTheKeyInHex) {
  TPointerMap Map;
  try {
    Map.GetData(Key(0xABCD));
    FAIL();
  } catch (const EListError& E) {
    EXPECT_EQ(E.GetMessage(), "Item not found ($0ABCD)");
  }
}

TEST(RasterPointerMap, BucketGrowsPastManyEntries) {
  TPointerMap Map;
  bool New;
  for (NativeUInt I = 0; I < 200; ++I) Map.Add(Key(0x500 + (I << 16)), Key(I + 1), New);
  EXPECT_EQ(Map.GetCount(), 200);
  for (NativeUInt I = 0; I < 200; ++I) EXPECT_EQ(Map.GetData(Key(0x500 + (I << 16))), Key(I + 1));
}

TEST(RasterPointerMapIterator, BucketOrderAndLastToFirstWithinBucket) {
  TPointerMap Map;
  bool New;
  Map.Add(Key(0xFF00), Key(1), New);  // bucket 255 only
  TPointerMapIterator Lone(&Map);
  ASSERT_TRUE(Lone.Next());
  EXPECT_EQ(Lone.GetItem(), Key(0xFF00));
  EXPECT_EQ(Lone.GetData(), Key(1));
  EXPECT_FALSE(Lone.Next());
  EXPECT_FALSE(Lone.Next());

  Map.Add(Key(0x0100), Key(2), New);
  Map.Add(Key(0x0101), Key(3), New);
  std::vector<void*> Seen;
  TPointerMapIterator It(&Map);
  while (It.Next()) Seen.push_back(It.GetItem());
  EXPECT_EQ(Seen, (std::vector<void*>{Key(0x0101), Key(0x0100), Key(0xFF00)}));
}

TEST(RasterRectList, GrowthClearAndItems) {
  TRectList List;
  std::vector<Integer> Capacities;
  Integer Last = -1;
  for (Integer I = 0; I < 150; ++I) {
    List.Add(MakeRect(I, 0, I + 1, 1));
    if (List.GetCapacity() != Last) Capacities.push_back(Last = List.GetCapacity());
  }
  EXPECT_EQ(Capacities, (std::vector<Integer>{8, 16, 48, 80, 112, 144, 180}));
  EXPECT_EQ(List.Items(149)->Left, 149);
  EXPECT_EQ(List.Items(150), nullptr);
  EXPECT_EQ(List.Items(-1), nullptr);
  List.Delete(0);
  EXPECT_EQ(List.GetCount(), 149);
  EXPECT_EQ(List.Items(0)->Left, 1);
  List.SetCount(151);
  EXPECT_EQ(*List.Items(150), TRect());
  List.Clear();
  EXPECT_EQ(List.GetCount(), 0);
  EXPECT_EQ(List.GetCapacity(), 10);
}

TEST(RasterClassList, FindIsExactAndCaseSensitive) {
  TClassList List;
  List.Add(&TLinearResampler::ClassRef());
  List.Add(&TNearestResampler::ClassRef());
  EXPECT_EQ(List.Find("TNearestResampler"), &TNearestResampler::ClassRef());
  EXPECT_EQ(List.Find("tnearestresampler"), nullptr);
  EXPECT_EQ(List.Find(""), nullptr);
}

TEST(RasterIntegerMap, StorageFollowsSize) {
  TIntegerMap Map;
  EXPECT_TRUE(Map.Empty());
  Map.SetSize(3, 2);
  EXPECT_FALSE(Map.Empty());
  *Map.ValPtr(2, 1) = 42;
  EXPECT_EQ(Map.GetBits()[5], 42);
  EXPECT_EQ(Map.GetValue(0, 0), 0);
  Map.SetSize(0, 5);
  EXPECT_TRUE(Map.Empty());
}

TEST(RasterPublishedProperties, CopiesScalarsAndAssignsObjects) {
  TCubicKernel A, B;
  A.SetCoeff(-0.75f);
  B.Assign(&A);
  EXPECT_EQ(B.GetCoeff(), -0.75f);

  TGaussianKernel G;
  G.SetWidth(2.5f);
  G.SetSigma(0.5f);
  TGaussianKernel H;
  H.Assign(&G);
  EXPECT_EQ(H.GetWidth(), 2.5f);
  EXPECT_EQ(H.GetSigma(), 0.5f);

  TLanczosKernel L;
  EXPECT_THROW(L.Assign(&A), EPropertyError);  // Coeff is not a property of the destination
  TBoxKernel Box;
  L.Assign(&Box);  // nothing to copy
  EXPECT_THROW(Box.Assign(&L), EPropertyError);
}
