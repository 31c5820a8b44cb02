#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>
#include <utility>
#include <vector>

#include "imaging/core/ielists.h"
#include "platform/system/Lists.h"
#include "platform/system/Streams.h"

namespace {

std::vector<Integer> Items(const TIEIntegerList& List) {
  std::vector<Integer> Result;
  for (Integer I = 0; I < List.GetCount(); ++I)
    Result.push_back(*static_cast<const Integer*>(List.GetItemPtr(I)));
  return Result;
}

void AddAll(TIEIntegerList& List, std::initializer_list<Integer> Values) {
  for (Integer V : Values) List.AddItem(&V);
}

TEST(IEList, CapacityGrowsToTheCountOrDoubles) {
  TIEIntegerList List;
  List.SetCount(5);
  EXPECT_EQ(List.GetCapacity(), 5);
  List.SetCount(6);
  EXPECT_EQ(List.GetCapacity(), 10);
  List.SetCount(25);
  EXPECT_EQ(List.GetCapacity(), 25);
  List.SetCount(3);
  EXPECT_EQ(List.GetCapacity(), 25) << "shrinking keeps the buffer";
  EXPECT_EQ(List.GetCount(), 3);
}

TEST(IEList, GrowingKeepsTheItemsAndMarksTheChange) {
  TIEIntegerList List;
  AddAll(List, {7, 8, 9});
  EXPECT_EQ(List.GetChanged() & 1, 1);
  List.SetChanged(0);
  List.SetCount(20);
  EXPECT_EQ(List.GetChanged() & 1, 1);
  List.SetCount(3);
  EXPECT_EQ(Items(List), (std::vector<Integer>{7, 8, 9}));
  EXPECT_EQ(List.GetItemPtr(3), nullptr);
  EXPECT_EQ(List.GetItemPtr(-1), nullptr);
}

TEST(IEList, DeleteShrinksToTheOtherItemsAndIgnoresBadIndexes) {
  TIEIntegerList List;
  AddAll(List, {1, 2, 3, 4});
  List.Delete(-1);
  List.Delete(4);
  EXPECT_EQ(Items(List), (std::vector<Integer>{1, 2, 3, 4}));
  List.Delete(0);
  List.Delete(1);
  EXPECT_EQ(Items(List), (std::vector<Integer>{2, 4}));
  EXPECT_EQ(List.GetCapacity(), 2);
  List.Delete(1);
  List.Delete(0);
  EXPECT_EQ(List.GetCount(), 0);
}

TEST(IEList, AssignCopiesExactlyTheItemsAndTheExtras) {
  TIEIntegerList Source;
  AddAll(Source, {5, 6, 7});
  Source.SetExtra(0, 11);
  Source.SetExtra(3, 44);
  TIEIntegerList Target;
  Target.SetCount(50);
  Target.Assign(&Source);
  EXPECT_EQ(Items(Target), (std::vector<Integer>{5, 6, 7}));
  EXPECT_EQ(Target.GetCapacity(), 3);
  EXPECT_EQ(Target.GetExtra(0), 11);
  EXPECT_EQ(Target.GetExtra(3), 44);
  Target.SetCount(4);
  EXPECT_EQ(Target.GetCapacity(), 6) << "a new buffer from the copied capacity, not the old 50";
  EXPECT_EQ(*static_cast<const Integer*>(Target.GetItemPtr(2)), 7);
  Target.Assign(nullptr);
  EXPECT_EQ(Target.GetCount(), 4);
}

TEST(IEList, ClearEmptiesAndResetsTheExtras) {
  TIEDoubleList List;
  const Double Value = 2.5;
  List.AddItem(&Value);
  List.SetExtra(2, 9.5);
  List.Clear();
  EXPECT_EQ(List.GetCount(), 0);
  EXPECT_EQ(List.GetCapacity(), 0);
  EXPECT_EQ(List.GetChanged(), 0);
  EXPECT_EQ(List.GetExtra(2), 0.0);
  EXPECT_EQ(List.GetItemSize(), 8);
  List.AddItem(&Value);
  EXPECT_EQ(*static_cast<const Double*>(List.GetItemPtr(0)), 2.5);
}

TEST(IEList, RecordsKeepTheirSize) {
  struct TPair {
    Integer A;
    Word B;
  };
  TIERecordList List(sizeof(TPair));
  for (Integer I = 0; I < 100; ++I) {
    const TPair P{I * 3, static_cast<Word>(I)};
    EXPECT_EQ(List.AddRecord(&P), I);
  }
  const TPair* Last = static_cast<const TPair*>(List.GetRecord(99));
  EXPECT_EQ(Last->A, 297);
  EXPECT_EQ(Last->B, 99);
}

std::vector<Byte> Bytes(const TIEByteArray& Array) {
  return {Array.GetData(), Array.GetData() + Array.GetSize()};
}

TEST(IEByteArray, GrowsAndShrinksInBlocks) {
  TIEByteArray Array(100);
  EXPECT_EQ(Array.GetCapacity(), 100);
  for (Integer I = 0; I < 1000; ++I) Array.AddByte(static_cast<Byte>(I));
  EXPECT_EQ(Array.GetSize(), 1000);
  const Integer Grown = Array.GetCapacity();
  Array.SetSize(Grown - 100);
  EXPECT_EQ(Array.GetCapacity(), Grown) << "shrinking within a block keeps the memory";
  Array.SetSize(10);
  EXPECT_EQ(Array.GetCapacity(), 110);
  std::vector<Byte> First10(10);
  std::iota(First10.begin(), First10.end(), Byte(0));
  EXPECT_EQ(Bytes(Array), First10);
  Array.SetSize(110);
  EXPECT_EQ(Array.GetCapacity(), 110);
  Array.SetSize(111);
  EXPECT_EQ(Array.GetCapacity(), 211);
  EXPECT_EQ(Array.GetData()[9], 9);
}

TEST(IEByteArray, AppendFromStreamTakesWhatTheStreamHas) {
  TMemoryStream Stream;
  std::vector<Byte> Data(30);
  std::iota(Data.begin(), Data.end(), Byte(1));
  Stream.WriteBuffer(Data.data(), 30);
  Stream.SetPosition(10);
  TIEByteArray Array(8);
  Array.AddByte(0xEE);
  EXPECT_EQ(Array.AppendFromStream(&Stream, 50), 20);
  EXPECT_EQ(Array.GetSize(), 21);
  EXPECT_EQ(Array.GetData()[0], 0xEE);
  EXPECT_EQ(Array.GetData()[1], 11);
  EXPECT_EQ(Array.GetData()[20], 30);
  EXPECT_EQ(Array.AppendFromStream(&Stream, 5), 0);
  EXPECT_EQ(Array.GetSize(), 21);
}

std::unique_ptr<Byte[]> Block(std::initializer_list<Byte> Values) {
  auto Data = std::make_unique<Byte[]>(Values.size());
  std::copy(Values.begin(), Values.end(), Data.get());
  return Data;
}

TEST(IEDICOMTags, AddTagTakesTwoCharacterRepresentationsAndTheData) {
  TIEDICOMTags Tags;
  auto Data = Block({1, 2, 3});
  const Byte* Raw = Data.get();
  EXPECT_EQ(Tags.AddTag(0x0028, 0x0010, "OB", std::move(Data), 3), 0);
  EXPECT_EQ(Tags.AddTag(0x0008, 0x0020, "OBX", nullptr, 0), 1);
  EXPECT_EQ(Tags.AddTag(0x0010, 0x0010, "PN", Block({9}), -5), 2);
  const TIEDICOMTag& First = Tags.GetTag(0);
  EXPECT_EQ(First.Group, 0x0028);
  EXPECT_EQ(First.Element, 0x0010);
  EXPECT_EQ(std::string(First.VR, 2), "OB");
  EXPECT_EQ(First.Data.get(), Raw) << "taken over, not copied";
  EXPECT_EQ(First.DataLen, 3);
  EXPECT_EQ(Tags.GetTag(1).VR[0], 0);
  EXPECT_EQ(Tags.GetTag(1).VR[1], 0);
  EXPECT_EQ(Tags.GetTag(2).Data, nullptr);
  EXPECT_EQ(Tags.GetTag(2).DataLen, 0);
}

TEST(IEDICOMTags, AssignCopiesDataWithATerminatingZero) {
  TIEDICOMTags Source;
  Source.AddTag(1, 2, "LO", Block({'a', 'b'}), 2);  // a block of exactly its length
  Source.AddTag(3, 4, "US", Block({7}), 0);
  TIEDICOMTags Target;
  Target.AddTag(9, 9, "XX", Block({1}), 1);
  Target.Assign(&Source);
  ASSERT_EQ(Target.GetCount(), 2);
  const TIEDICOMTag& Text = Target.GetTag(0);
  EXPECT_NE(Text.Data.get(), Source.GetTag(0).Data.get());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Text.Data.get())), "ab");
  EXPECT_EQ(Text.DataLen, 2);
  EXPECT_EQ(std::string(Text.VR, 2), "LO");
  EXPECT_EQ(Target.GetTag(1).Data, nullptr) << "length 0 gives no data";
  EXPECT_EQ(Target.GetTag(1).Group, 3);
}

TEST(Hash1, InsertsEachColourOnceAcrossSharedBuckets) {
  THash1 Hash(4);
  EXPECT_TRUE(Hash.Insert(0x123456));
  EXPECT_FALSE(Hash.Insert(0x123456));
  Integer Bucket = -1;
  THash1Item* Item = nullptr;
  // Same low four bits: the bucket turns into a chain.
  EXPECT_TRUE(Hash.InsertEx(0x654326, Bucket, Item));
  EXPECT_EQ(Bucket, 6);
  ASSERT_NE(Item, nullptr);
  EXPECT_EQ(Item->Value, 0x654326u);
  EXPECT_TRUE(Hash.InsertEx(0x000016, Bucket, Item));
  EXPECT_EQ(Item->Value, 0x16u);
  EXPECT_FALSE(Hash.InsertEx(0x654326, Bucket, Item));
  EXPECT_EQ(Item, nullptr);
  EXPECT_FALSE(Hash.Insert(0x123456)) << "the first value stays in the chain";
  EXPECT_TRUE(Hash.InsertEx(0x000007, Bucket, Item));
  EXPECT_EQ(Item, nullptr) << "an empty bucket holds the value itself";
  EXPECT_EQ(Hash.GetCount(), 4);
}

TEST(Hash1, OneBucketHoldsEveryColour) {
  THash1 Hash(0);
  for (Cardinal C = 0; C < 3000; ++C) ASSERT_TRUE(Hash.Insert(C * 7919));
  for (Cardinal C = 0; C < 3000; C += 100) EXPECT_FALSE(Hash.Insert(C * 7919));
  EXPECT_EQ(Hash.GetCount(), 3000);
}

// Sorts a vector of (key, tag) pairs by key through the callbacks.
using TEntries = std::vector<std::pair<Integer, Integer>>;
Integer CompareKeys(void* Object, Integer I, Integer J) {
  const TEntries& E = *static_cast<TEntries*>(Object);
  return E[I].first < E[J].first ? -1 : E[I].first > E[J].first ? 1 : 0;
}
void SwapEntries(void* Object, Integer I, Integer J) {
  TEntries& E = *static_cast<TEntries*>(Object);
  std::swap(E[I], E[J]);
}

TEST(IEQuickSort, SortsThroughTheCallbacks) {
  const std::vector<std::vector<Integer>> Cases = {
      {},
      {1},
      {2, 1},
      {1, 2, 3, 4, 5},
      {5, 4, 3, 2, 1},
      {3, 1, 3, 1, 3, 1},
      {7, 7, 7, 7},
      {9, -2, 14, 0, 3, 3, 8, -7, 21, 5, 1, 12, 6, 6, 2},
  };
  for (const std::vector<Integer>& Keys : Cases) {
    TEntries Entries;
    for (std::size_t I = 0; I < Keys.size(); ++I) Entries.push_back({Keys[I], static_cast<Integer>(I)});
    TEntries Expected = Entries;
    std::stable_sort(Expected.begin(), Expected.end(), [](auto& A, auto& B) { return A.first < B.first; });
    IEQuickSort(static_cast<Integer>(Entries.size()), SwapEntries, &Entries, CompareKeys, &Entries);
    for (std::size_t I = 0; I < Keys.size(); ++I) EXPECT_EQ(Entries[I].first, Expected[I].first);
    std::sort(Entries.begin(), Entries.end());
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Entries, Expected) << "every item kept";
  }
}

TEST(IEQuickSort, LargeRandomInput) {
  TEntries Entries;
  Cardinal Seed = 12345;
  for (Integer I = 0; I < 5000; ++I) {
    Seed = Seed * 1103515245u + 12345u;
    Entries.push_back({static_cast<Integer>((Seed >> 8) % 1000), I});
  }
  IEQuickSortRange(0, 4999, SwapEntries, &Entries, CompareKeys, &Entries);
  EXPECT_TRUE(
      std::is_sorted(Entries.begin(), Entries.end(), [](auto& A, auto& B) { return A.first < B.first; }));
}

TEST(IECopyList, DestGetsTheSamePointers) {
  Integer A = 1, B = 2, C = 3;
  TList Source, Dest;
  Source.Add(&A);
  Source.Add(&B);
  Dest.Add(&C);
  Dest.Add(&C);
  Dest.Add(&C);
  IECopyList(&Source, &Dest);
  ASSERT_EQ(Dest.GetCount(), 2);
  EXPECT_EQ(Dest.Get(0), &A);
  EXPECT_EQ(Dest.Get(1), &B);
}

}  // namespace
