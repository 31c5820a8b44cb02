// The TIFF writer's metadata: EXIF and GPS directories through a two-page file, a page of
// tags only, and the IPTC, XMP and annotation blocks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iecmykprofile.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/ieimagingannot.h"
#include "imaging/core/ieiptc.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"
#include "tests/imaging/io/TiffWriteTestSupport.h"

namespace {

struct TExifValues {
  Double ExposureTime;
  std::string Make, Model, DateTime;
  std::u16string UserComment;
  Integer Iso;
  std::string GpsLatitudeRef;
  Double Latitude;
};

void SetExif(TIOParamsVals& P, const TExifValues& V) {
  P.ExifPresent = true;
  P.SetExifOrientation(1);
  P.SetExifExposureTime(V.ExposureTime);
  P.ExifMake = V.Make;
  P.ExifModel = V.Model;
  P.ExifDateTime = V.DateTime;
  P.ExifUserComment = V.UserComment;
  P.SetExifISOSpeedRatings(0, V.Iso);
  P.ExifExifVersion = "0220";
  P.GpsVersionID = "2.2.0.0";
  P.GpsLatitudeRef = V.GpsLatitudeRef;
  P.GpsLatitude = {V.Latitude, 30, 15.5};
}

void ExpectExif(TIOParamsVals& P, const TExifValues& V) {
  EXPECT_TRUE(P.ExifPresent);
  EXPECT_DOUBLE_EQ(P.ExifExposureTime, V.ExposureTime);
  EXPECT_TRUE(P.HasExifTag(33434));
  EXPECT_EQ(P.ExifMake, V.Make);
  EXPECT_EQ(P.ExifModel, V.Model);
  EXPECT_EQ(P.ExifDateTime, V.DateTime);
  EXPECT_EQ(P.ExifUserComment, V.UserComment);
  EXPECT_EQ(P.GetExifISOSpeedRatings(0), V.Iso);
  EXPECT_EQ(P.ExifExifVersion, "0220");
  EXPECT_EQ(P.GpsVersionID, "2.2.0.0");
  EXPECT_EQ(P.GpsLatitudeRef, V.GpsLatitudeRef);
  EXPECT_DOUBLE_EQ(P.GpsLatitude[0], V.Latitude);
  EXPECT_DOUBLE_EQ(P.GpsLatitude[2], 15.5);
}

std::unique_ptr<TIEBitmap> Picture(Integer Width) {
  auto B = std::make_unique<TIEBitmap>(Width, 4, ie24RGB);
  B->Fill(128);
  return B;
}

TEST(TiffWriteExif, ATwoPageFileKeepsEachPagesExif) {
  const TExifValues First{0.004, "Maker", "Model One", "2026:12:11 06:00:00", u"first page", 200, "N", 47};
  const TExifValues Second{0.5, "Other maker", "Two", "2025:01:02 03:04:05", u"second", 800, "S", 12};
  TMemoryStream Stream;
  {
    auto Page = Picture(8);
    TIOParamsVals Params;
    SetExif(Params, First);
    ASSERT_EQ(WriteTiffPage(Stream, Page.get(), Params).Pages, 1);
  }
  {
    auto Page = Picture(9);
    TIOParamsVals Params;
    SetExif(Params, Second);
    Params.SetImageIndex(1);
    Stream.SetPosition(0);
    ASSERT_EQ(WriteTiffPage(Stream, Page.get(), Params, /*Append=*/true).Pages, 2);
  }
  const std::vector<Byte> File = TiffStreamBytes(Stream);
  const TExifValues* Expected[2] = {&First, &Second};
  for (Integer Index = 0; Index < 2; ++Index) {
    SCOPED_TRACE(Index);
    TIEBitmap Back;
    TIOParamsVals Params;
    const TTiffReadBack R = ReadTiffPage(File, Index, Back, Params);
    ASSERT_FALSE(R.Aborting);
    EXPECT_EQ(R.PageCount, 2);
    EXPECT_EQ(Back.GetWidth(), 8 + Index);
    ExpectExif(Params, *Expected[Index]);
  }
  const auto Pages = ParseWrittenTiff(File);
  ASSERT_EQ(Pages.size(), 2u);
  for (const TWrittenPage& Page : Pages) {
    EXPECT_TRUE(Page.Has(34665));
    EXPECT_TRUE(Page.Has(34853));
  }
  // The EXIF and GPS tags keep the forms the library has always written (an ASCII ExifVersion,
  // references without their zero), which tiffinfo warns about but reads.
  if (!TiffinfoAvailable()) GTEST_SKIP() << "tiffinfo is not installed";
  const TTiffinfoVerdict Verdict = RunTiffinfo(File);
  EXPECT_EQ(Verdict.ExitCode, 0) << Verdict.Output;
  EXPECT_EQ(Verdict.Output.find("rror"), std::string::npos) << Verdict.Output;
}

TEST(TiffWriteExif, WithoutAPictureOnlyTheDescriptiveTagsAndTheExifLinkAreWritten) {
  TIOParamsVals Params;
  Params.ExifPresent = true;
  Params.ExifMake = "Maker";
  Params.XmpInfo = "<x:xmpmeta/>";
  Params.TiffPageName = "not written";
  TMemoryStream Stream;
  const TTiffWriteResult R = WriteTiffPage(Stream, nullptr, Params);
  EXPECT_FALSE(R.Aborting);
  EXPECT_EQ(R.Pages, 1);
  const auto Pages = ParseWrittenTiff(TiffStreamBytes(Stream));
  ASSERT_EQ(Pages.size(), 1u);
  for (Word Tag : Pages[0].Order) EXPECT_TRUE(Tag == 34665 || (Tag >= 270 && Tag <= 296)) << Tag;
  EXPECT_TRUE(Pages[0].Has(34665));
  EXPECT_TRUE(Pages[0].Has(271));
  EXPECT_FALSE(Pages[0].Has(34853)) << "no GPS version, no GPS directory";
}

TEST(TiffWriteExif, TheIptcBlockIsCountedInLongValuesRoundedUp) {
  // Blocks of 14 and 16 bytes (the list pads its datasets to an even size).
  for (Integer DataLength : {1, 3}) {
    SCOPED_TRACE(DataLength);
    TIOParamsVals Params;
    const Byte Data[5] = {'a', 'b', 'c', 'd', 'e'};
    Params.IPTCInfo->AddItem(2, 120, DataLength, Data);
    std::unique_ptr<Byte[]> Block;
    Integer Length = 0;
    Params.IPTCInfo->SaveToBuffer(Block, Length, false);
    ASSERT_EQ(Length, DataLength == 1 ? 14 : 16);
    auto Page = Picture(4);
    const std::vector<Byte> File = WriteTiffBytes(Page.get(), Params);
    const TWrittenTag Iptc = ParseWrittenTiff(File)[0].Tag(33723);
    EXPECT_EQ(Iptc.Type, 4);
    EXPECT_EQ(Iptc.Count, 4u);
    EXPECT_TRUE(std::equal(Block.get(), Block.get() + Length, Iptc.Bytes.begin()));

    TIEBitmap Back;
    TIOParamsVals ReadParams;
    ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams).Aborting);
    // The record version dataset, then ours.
    ASSERT_EQ(ReadParams.IPTCInfo->Count(), 2);
    EXPECT_EQ(ReadParams.IPTCInfo->GetDataSet(1), 120);
    EXPECT_EQ(ReadParams.IPTCInfo->GetItemLength(1), DataLength);
  }
}

TEST(TiffWriteExif, XmpAndAnnotationsAreWrittenAsByteBlocks) {
  TIOParamsVals Params;
  Params.XmpInfo = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
  auto Page = Picture(4);
  const std::vector<Byte> File = WriteTiffBytes(Page.get(), Params);
  const TWrittenPage Written = ParseWrittenTiff(File)[0];
  EXPECT_EQ(Written.Tag(700).Type, 1);
  EXPECT_EQ(Written.Tag(700).Count, Params.XmpInfo.size());
  EXPECT_FALSE(Written.Has(32932)) << "no annotations, no block";
  EXPECT_FALSE(Written.Has(34675)) << "no profile, no block";
  TIEBitmap Back;
  TIOParamsVals ReadParams;
  ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams).Aborting);
  EXPECT_EQ(ReadParams.XmpInfo, Params.XmpInfo);
  ExpectTiffinfoAccepts(File);
}

TEST(TiffWriteExif, AnInputProfileIsWrittenUnlessItWasAppliedToThePixels) {
  const std::vector<Byte>& Profile = IEBuiltinCMYKProfileData();
  for (bool Applied : {false, true}) {
    SCOPED_TRACE(Applied);
    TIOParamsVals Params;
    TIEICC* Input = Params.GetInputICC();
    Input->LoadFromBuffer(Profile.data(), static_cast<Integer>(Profile.size()));
    ASSERT_TRUE(Input->IsValid());
    if (Applied) {
      // A transform made and freed marks the profile applied.
      std::vector<Byte> Out(3);
      const Byte Ink[4] = {0, 0, 0, 0};
      Input->Transform(Params.GetOutputICC(), iecCMYK, iecBGR, 0, 0, Ink, Out.data(), 1);
      Input->FreeTransform();
      ASSERT_TRUE(Input->GetApplied());
    }
    auto Page = Picture(4);
    const std::vector<Byte> File = WriteTiffBytes(Page.get(), Params);
    const TWrittenPage Written = ParseWrittenTiff(File)[0];
    ASSERT_EQ(Written.Has(34675), !Applied);
    if (Applied) continue;
    EXPECT_EQ(Written.Tag(34675).Type, 7);
    EXPECT_EQ(Written.Tag(34675).Bytes, Profile);
    TIEBitmap Back;
    TIOParamsVals ReadParams;
    ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams).Aborting);
    EXPECT_EQ(ReadParams.GetInputICC()->GetRawLength(), static_cast<Integer>(Profile.size()));
  }
}

}  // namespace
