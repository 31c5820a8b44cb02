#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/core/ieiptc.h"

namespace {

std::vector<Byte> Save(const TIEIPTCInfoList& List, bool Photoshop) {
  std::unique_ptr<Byte[]> Buffer;
  Integer Length = -1;
  List.SaveToBuffer(Buffer, Length, Photoshop);
  if (Length == 0) {
    EXPECT_EQ(Buffer, nullptr);
    return {};
  }
  return {Buffer.get(), Buffer.get() + Length};
}

std::vector<Byte> Concat(std::initializer_list<std::vector<Byte>> Parts) {
  std::vector<Byte> Out;
  for (const auto& Part : Parts) Out.insert(Out.end(), Part.begin(), Part.end());
  return Out;
}

std::vector<Byte> Text(std::string_view S) {
  return {S.begin(), S.end()};
}

std::string ItemText(const TIEIPTCInfoList& List, Integer Index) {
  return {reinterpret_cast<const char*>(List.GetItemData(Index)),
          static_cast<size_t>(List.GetItemLength(Index))};
}

// A Photoshop resource: signature, id, empty name, big-endian size, data padded to even.
std::vector<Byte> Resource(Word Id, const std::vector<Byte>& Data) {
  const auto Size = static_cast<Cardinal>(Data.size());
  std::vector<Byte> Out = Concat({Text("8BIM"), {Byte(Id >> 8), Byte(Id), 0, 0}});
  Out.insert(Out.end(), {Byte(Size >> 24), Byte(Size >> 16), Byte(Size >> 8), Byte(Size)});
  Out.insert(Out.end(), Data.begin(), Data.end());
  if (Data.size() % 2) Out.push_back(0);
  return Out;
}

const std::vector<Byte> PhotoshopSignature = Concat({Text("Photoshop 3.0"), {0}});
const std::vector<Byte> CaptionDataset = Concat({{0x1C, 2, 120, 0, 5}, Text("hello")});

TEST(IPTCInfoList, EmptyListSavesNothing) {
  TIEIPTCInfoList List;
  EXPECT_TRUE(Save(List, false).empty());
  EXPECT_TRUE(Save(List, true).empty());
}

TEST(IPTCInfoList, CaptionSavesInPlainAndPhotoshopForm) {
  TIEIPTCInfoList List;
  List.AddItem(2, 120, 5, "hello");
  const std::vector<Byte> Version = {0x1C, 2, 0, 0, 2, 0, 2};
  EXPECT_EQ(Save(List, false), Concat({Version, CaptionDataset, {0}}));  // padded to 18 bytes
  const std::vector<Byte> Header = Concat({PhotoshopSignature, Text("8BIM"), {4, 4, 0, 0, 0, 0, 0, 10}});
  EXPECT_EQ(Save(List, true), Concat({Header, CaptionDataset}));  // 36 bytes: no padding
}

TEST(IPTCInfoList, RecordVersionAndEmptyItemsAreNotWrittenAgain) {
  TIEIPTCInfoList List;
  List.AddItem(2, 0, 2, "\0\2");
  List.AddItem(2, 25, 0, nullptr);
  List.AddItem(2, 120, 5, "hello");
  const std::vector<Byte> Saved = Save(List, true);
  ASSERT_EQ(Saved.size(), 36u);
  EXPECT_EQ(Saved[25], 10);  // only the caption counts in the resource size
  TIEIPTCInfoList Plain;
  Plain.AddItem(2, 0, 2, "\0\2");
  Plain.AddItem(2, 120, 5, "hello");
  EXPECT_EQ(Save(Plain, false).size(), 18u);
}

TEST(IPTCInfoList, RoundTripsThroughBothFormsWithExtendedLengths) {
  TIEIPTCInfoList List;
  List.AddItem(2, 5, 6, "Object");
  List.AddItem(2, 25, 4, "tree");
  List.AddItem(2, 25, 5, "river");
  const std::string Long(40000, 'x');
  List.AddItem(2, 120, static_cast<Integer>(Long.size()), Long.data());
  for (const bool Photoshop : {false, true}) {
    const std::vector<Byte> Saved = Save(List, Photoshop);
    const size_t Padding = Photoshop ? 1 : 0;  // 40,065 bytes with the Photoshop header, 40,046 without
    const size_t LongAt = Saved.size() - Padding - Long.size() - 9;
    TIEIPTCInfoList Read;
    ASSERT_TRUE(Read.LoadFromBuffer(Saved.data(), static_cast<Integer>(Saved.size())));
    EXPECT_FALSE(Read.GetUserChanged());
    // The plain form carries the record-version dataset as its first item.
    const Integer First = Photoshop ? 0 : 1;
    ASSERT_EQ(Read.Count(), First + 4);
    EXPECT_EQ(Read.GetRecordNumber(First + 2), 2);
    EXPECT_EQ(Read.GetDataSet(First + 2), 25);
    EXPECT_EQ(ItemText(Read, First + 2), "river");
    EXPECT_EQ(ItemText(Read, First + 3), Long);
    EXPECT_EQ(Saved[LongAt + 3], 0x80) << "extended length marker";
    EXPECT_EQ(Saved[LongAt + 4], 0x04);
  }
}

TEST(IPTCInfoList, FirstDatasetMayHaveTheTagByteAsRecordNumber) {
  TIEIPTCInfoList List;
  List.AddItem(0x1C, 0x1C, 1, "r");
  const std::vector<Byte> Saved = Save(List, true);
  TIEIPTCInfoList Read;
  ASSERT_TRUE(Read.LoadFromBuffer(Saved.data(), static_cast<Integer>(Saved.size())));
  ASSERT_EQ(Read.Count(), 1);
  EXPECT_EQ(Read.GetRecordNumber(0), 0x1C);
  EXPECT_EQ(ItemText(Read, 0), "r");
}

TEST(IPTCInfoList, FindsTheIPTCResourceAfterAnotherResource) {
  // The resolution resource before it holds 0x1C bytes and "8BIM" 04 04 inside its data.
  const std::vector<Byte> Decoy = Concat({{0x1C, 0x1C, 0, 1}, Text("8BIM"), {4, 4, 0x1C, 9, 9, 0, 0}});
  const std::vector<Byte> Block =
      Concat({PhotoshopSignature, Resource(0x03ED, Decoy), Resource(0x0404, CaptionDataset)});
  TIEIPTCInfoList List;
  ASSERT_TRUE(List.LoadFromBuffer(Block.data(), static_cast<Integer>(Block.size())));
  ASSERT_EQ(List.Count(), 1);
  EXPECT_EQ(List.GetDataSet(0), 120);
  EXPECT_EQ(ItemText(List, 0), "hello");
}

TEST(IPTCInfoList, ResourceSizeHoldingTagByteIsNotTakenForData) {
  // Size 0x1C0A: a search for the first 0x1C would start a dataset inside the size field.
  const Word Filler = 0x1C0A - 10 - 5;
  std::vector<Byte> Data = Concat({CaptionDataset, {0x1C, 2, 200, Byte(Filler >> 8), Byte(Filler)}});
  Data.resize(0x1C0A, 'f');
  const std::vector<Byte> Block = Concat({PhotoshopSignature, Resource(0x0404, Data)});
  TIEIPTCInfoList List;
  ASSERT_TRUE(List.LoadFromBuffer(Block.data(), static_cast<Integer>(Block.size())));
  ASSERT_EQ(List.Count(), 2);
  EXPECT_EQ(List.GetDataSet(0), 120);
  EXPECT_EQ(ItemText(List, 0), "hello");
  EXPECT_EQ(List.GetItemLength(1), Filler);
}

TEST(IPTCInfoList, DamagedDataKeepsWhatWasReadBeforeIt) {
  struct TCase {
    const char* Name;
    std::vector<Byte> Data;
    Integer Items;
  };
  const std::vector<TCase> Cases = {
      {"no tag byte", Text("no datasets here"), 0},
      {"junk before the first dataset", Concat({Text("xy\x1C"), CaptionDataset}), 1},
      {"second dataset truncated", Concat({CaptionDataset, {0x1C, 2, 25, 0, 9}, Text("abc")}), 1},
      {"header cut short", Concat({CaptionDataset, {0x1C, 2, 25, 0}}), 1},
      {"extended length cut short", Concat({CaptionDataset, {0x1C, 2, 25, 0x80, 4, 0, 0}}), 1},
      {"extended length past the end",
       Concat({CaptionDataset, {0x1C, 2, 25, 0x80, 4, 0xFF, 0xFF, 0xFF, 0xFF, 1}}), 1},
      {"stray byte after the first dataset", Concat({CaptionDataset, {0}, CaptionDataset}), 1},
      {"Photoshop block without IPTC", Concat({PhotoshopSignature, Resource(0x03ED, CaptionDataset)}), 0},
      {"Photoshop resource size past the end",
       Concat({PhotoshopSignature, Text("8BIM"), {4, 4, 0, 0, 0xFF, 0xFF, 0, 0}, CaptionDataset}), 1},
  };
  for (const TCase& Case : Cases) {
    TIEIPTCInfoList List;
    List.AddItem(1, 1, 1, "x");
    EXPECT_EQ(List.LoadFromBuffer(Case.Data.data(), static_cast<Integer>(Case.Data.size())), Case.Items > 0)
        << Case.Name;
    EXPECT_EQ(List.Count(), Case.Items) << Case.Name;
    EXPECT_FALSE(List.GetUserChanged()) << Case.Name;
  }
}

TEST(IPTCInfoList, ChangesByTheUserAreFlaggedAndAssignCopiesData) {
  TIEIPTCInfoList Source;
  EXPECT_FALSE(Source.GetUserChanged());
  Source.AddItem(2, 120, 5, "hello");
  EXPECT_TRUE(Source.GetUserChanged());
  Source.LoadFromBuffer(CaptionDataset.data(), static_cast<Integer>(CaptionDataset.size()));
  EXPECT_FALSE(Source.GetUserChanged());
  TIEIPTCInfoList Copy;
  Copy.Assign(&Source);
  EXPECT_TRUE(Copy.GetUserChanged());
  Source.Clear();
  EXPECT_TRUE(Source.GetUserChanged());
  ASSERT_EQ(Copy.Count(), 1);
  EXPECT_EQ(ItemText(Copy, 0), "hello");
}

}  // namespace
