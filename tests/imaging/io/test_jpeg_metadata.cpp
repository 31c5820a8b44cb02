#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/ieexif.h"
#include "imaging/core/ieiptc.h"
#include "imaging/core/iemarkerlist.h"
#include "imaging/core/iexmp.h"
#include "imaging/io/iejpegmetadata.h"
#include "imaging/io/zezudidioparams.h"

namespace {

using Bytes = std::vector<Byte>;

Bytes MarkerBytes(const TIEMarkerList& Markers, Integer Index) {
  const Byte* Data = Markers.GetMarkerData(Index);
  return Bytes(Data, Data + Markers.GetMarkerLength(Index));
}

void AddMarker(TIEMarkerList& Markers, Byte Type, const Bytes& Payload) {
  Markers.AddMarker(Type, Payload.data(), static_cast<Integer>(Payload.size()));
}

// "8BIM" 0x03ED, a name of NameLength bytes, the resource size, then Tail bytes of record.
Bytes ResolutionResource(Word NameLength, Cardinal ResourceSize, size_t Tail) {
  Bytes Out = {'8', 'B', 'I', 'M', 0x03, 0xED, Byte(NameLength >> 8), Byte(NameLength)};
  Out.insert(Out.end(), NameLength, 'n');
  for (int Shift : {24, 16, 8, 0}) Out.push_back(Byte(ResourceSize >> Shift));
  Out.insert(Out.end(), Tail, 0xAA);
  return Out;
}

Bytes Cut(const Bytes& Data, size_t Size) {
  return Bytes(Data.begin(), Data.begin() + Size);
}

const Bytes Record300x72 = {0x01, 0x2C, 0, 0, 0, 1, 0, 1, 0x00, 0x48, 0, 0, 0, 1, 0, 1};

TEST(PhotoshopResolution, WritesTheDpiAsFixedPointIntoTheFirstResource) {
  TIOParamsVals Params;
  Params.DpiX = 300;
  Params.DpiY = 72;
  Bytes Block = {'P', 'h', 'o', 't', 'o'};
  const Bytes Resource = ResolutionResource(2, 16, 16);
  Block.insert(Block.end(), Resource.begin(), Resource.end());
  Block.insert(Block.end(), Resource.begin(), Resource.end());
  AddMarker(*Params.JpegMarkerList, IEJpegAPP1, Block);  // not APP13: untouched
  AddMarker(*Params.JpegMarkerList, IEJpegAPP13, Block);
  IEUpdatePhotoshopResolution(Params);

  Bytes Expected = Block;
  const size_t RecordAt = 5 + 6 + 2 + 2 + 4;
  std::copy(Record300x72.begin(), Record300x72.end(), Expected.begin() + RecordAt);
  EXPECT_EQ(MarkerBytes(*Params.JpegMarkerList, 1), Expected);
  EXPECT_EQ(MarkerBytes(*Params.JpegMarkerList, 0), Block);
}

TEST(PhotoshopResolution, LeavesResourcesThatDoNotFitAlone) {
  struct TCase {
    const char* Name;
    Bytes Block;
  };
  const Bytes Whole = ResolutionResource(0, 16, 16);
  const TCase Cases[] = {
      {"resource size below 16", ResolutionResource(0, 15, 16)},
      {"record cut short", ResolutionResource(0, 16, 15)},
      {"name past the end", Cut(ResolutionResource(40, 16, 16), 20)},
      {"name length past the end", Cut(Whole, 7)},
      {"signature cut short", Cut(Whole, 5)},
  };
  for (const TCase& Case : Cases) {
    TIOParamsVals Params;
    Params.DpiX = Params.DpiY = 300;
    AddMarker(*Params.JpegMarkerList, IEJpegAPP13, Case.Block);
    IEUpdatePhotoshopResolution(Params);
    EXPECT_EQ(MarkerBytes(*Params.JpegMarkerList, 0), Case.Block) << Case.Name;
  }
}

Integer CountMarkers(const TIEMarkerList& Markers, bool (*Accept)(const Byte*, Integer)) {
  Integer Count = 0;
  for (Integer I = 0; I < Markers.Count(); ++I)
    if (Markers.GetMarkerType(I) == IEJpegAPP1 &&
        Accept(Markers.GetMarkerData(I), Markers.GetMarkerLength(I)))
      ++Count;
  return Count;
}
bool IsExif(const Byte* Data, Integer Length) {
  return IEIsEXIFBlock(Data, Length);
}
bool IsXmp(const Byte* Data, Integer Length) {
  return IEFindXMPData(Data, Length) != nullptr;
}

Bytes XmpPayload(const std::string& Text) {
  std::unique_ptr<Byte[]> Buffer;
  Integer Length = 0;
  IESaveXMPToAPP1(Text, Buffer, Length);
  return Bytes(Buffer.get(), Buffer.get() + Length);
}

TEST(JpegMetadataMarkers, ExactlyOneExifBlockWhateverTheListHeld) {
  TIOParamsVals Params;
  Params.ExifPresent = true;
  Params.ExifMake = "Old";
  std::vector<Byte> Old;
  IESaveEXIFToBuffer(Params, Old, true);
  AddMarker(*Params.JpegMarkerList, IEJpegAPP1, Old);
  AddMarker(*Params.JpegMarkerList, IEJpegAPP0, {'J', 'F', 'I', 'F', 0});
  AddMarker(*Params.JpegMarkerList, IEJpegAPP1, Old);
  Params.ExifMake = "New";
  IEUpdateJpegMetadataMarkers(Params);

  ASSERT_EQ(CountMarkers(*Params.JpegMarkerList, IsExif), 1);
  TIOParamsVals Read;
  const Integer Last = Params.JpegMarkerList->Count() - 1;
  ASSERT_TRUE(IELoadEXIFFromBuffer(Params.JpegMarkerList->GetMarkerData(Last),
                                   Params.JpegMarkerList->GetMarkerLength(Last), Read));
  EXPECT_EQ(Read.ExifMake, "New");
  EXPECT_EQ(Params.JpegMarkerList->Count(), 2);
}

TEST(JpegMetadataMarkers, ExifBlockTooLongForAMarkerLeavesTheOldOne) {
  TIOParamsVals Params;
  Params.ExifPresent = true;
  std::vector<Byte> Old;
  IESaveEXIFToBuffer(Params, Old, true);
  AddMarker(*Params.JpegMarkerList, IEJpegAPP1, Old);
  Params.ExifImageDescription.assign(70000, 'd');
  IEUpdateJpegMetadataMarkers(Params);
  ASSERT_EQ(Params.JpegMarkerList->Count(), 1);
  EXPECT_EQ(MarkerBytes(*Params.JpegMarkerList, 0), Old);
}

TEST(JpegMetadataMarkers, WithoutExifPresentTheExifMarkersStay) {
  TIOParamsVals Params;
  std::vector<Byte> Old;
  IESaveEXIFToBuffer(Params, Old, true);
  AddMarker(*Params.JpegMarkerList, IEJpegAPP1, Old);
  IEUpdateJpegMetadataMarkers(Params);
  EXPECT_EQ(MarkerBytes(*Params.JpegMarkerList, 0), Old);
}

TEST(JpegMetadataMarkers, XmpMarkerReplacedOrRemoved) {
  TIOParamsVals Params;
  AddMarker(*Params.JpegMarkerList, IEJpegAPP1, XmpPayload("<old/>"));
  Params.XmpInfo = "<new/>";
  IEUpdateJpegMetadataMarkers(Params);
  ASSERT_EQ(CountMarkers(*Params.JpegMarkerList, IsXmp), 1);
  EXPECT_EQ(MarkerBytes(*Params.JpegMarkerList, 0), XmpPayload("<new/>"));

  Params.XmpInfo.clear();
  IEUpdateJpegMetadataMarkers(Params);
  EXPECT_EQ(Params.JpegMarkerList->Count(), 0);
}

TEST(JpegMetadataMarkers, IptcBlockFollowsTheUsersChanges) {
  TIOParamsVals Params;
  const Bytes Untouched = {'P', 'h', 'o', 't', 'o'};
  AddMarker(*Params.JpegMarkerList, IEJpegAPP13, Untouched);
  IEUpdateJpegMetadataMarkers(Params);  // a fresh list is no change of the user's
  ASSERT_EQ(Params.JpegMarkerList->Count(), 1);
  EXPECT_EQ(MarkerBytes(*Params.JpegMarkerList, 0), Untouched);

  Params.IPTCInfo->AddItem(2, 120, 5, "Hello");
  IEUpdateJpegMetadataMarkers(Params);
  ASSERT_EQ(Params.JpegMarkerList->Count(), 1);
  TIEIPTCInfoList Read;
  ASSERT_TRUE(Read.LoadFromBuffer(Params.JpegMarkerList->GetMarkerData(0),
                                  Params.JpegMarkerList->GetMarkerLength(0)));
  ASSERT_EQ(Read.Count(), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Read.GetItemData(0)), Read.GetItemLength(0)), "Hello");

  Params.IPTCInfo->Clear();
  IEUpdateJpegMetadataMarkers(Params);
  EXPECT_EQ(Params.JpegMarkerList->Count(), 0);
}

TEST(JpegMetadataMarkers, IptcDatasetsWithoutMarkersGetANewBlock) {
  TIOParamsVals Params;
  Params.IPTCInfo->AddItem(2, 5, 3, "abc");
  Params.IPTCInfo->SetUserChanged(false);
  IEUpdateJpegMetadataMarkers(Params);
  ASSERT_EQ(Params.JpegMarkerList->Count(), 1);
  EXPECT_EQ(Params.JpegMarkerList->GetMarkerType(0), IEJpegAPP13);
}

}  // namespace
