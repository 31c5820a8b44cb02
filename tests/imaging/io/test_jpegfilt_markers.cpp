// The JPEG filter's markers and metadata: what is kept and written back, resolution from the
// JFIF density and the EXIF block, ICC chunks, IPTC and XMP, and the writer's options.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/ieiptc.h"
#include "imaging/core/iexmp.h"
#include "imaging/io/ieiolibrary.h"
#include "tests/imaging/io/JpegTestSupport.h"

// After the platform headers: Little CMS defines TRUE and FALSE.
#include <lcms2.h>

using namespace jpegtest;

namespace {

std::string SmallJpeg(TIOParamsVals* Params = nullptr) {
  static auto Source = Gradient(24, 16);
  return Encode(*Source, Params);
}

// The JFIF header's density fields: unit at byte 13, X and Y at 14 and 16 (big-endian).
std::string WithDensity(std::string Jpeg, Byte Unit, Word X, Word Y) {
  EXPECT_EQ(Jpeg.substr(6, 4), "JFIF");
  Jpeg[13] = static_cast<char>(Unit);
  Jpeg[14] = static_cast<char>(X >> 8);
  Jpeg[15] = static_cast<char>(X & 0xFF);
  Jpeg[16] = static_cast<char>(Y >> 8);
  Jpeg[17] = static_cast<char>(Y & 0xFF);
  return Jpeg;
}

std::string ExifSegment(Double Resolution, Integer Unit, Integer Orientation) {
  TIOParamsVals Exif;
  Exif.SetExifXResolution(Resolution);
  Exif.SetExifYResolution(Resolution);
  Exif.ExifResolutionUnit = Unit;
  Exif.SetExifOrientation(Orientation);
  std::vector<Byte> Block;
  IESaveEXIFToBuffer(Exif, Block, true);
  return Segment(0xE1, std::string(Block.begin(), Block.end()));
}

TEST(JpegFilterMarkers, DensityGivesTheResolution) {
  TIOParamsVals Params;
  Decode(WithDensity(SmallJpeg(), 2, 100, 50), Params);
  EXPECT_EQ(Params.DpiX, 254);  // dots per centimetre x 2.54, truncated
  EXPECT_EQ(Params.DpiY, 127);
  Decode(WithDensity(SmallJpeg(), 1, 150, 75), Params);
  EXPECT_EQ(Params.DpiX, 150);
  EXPECT_EQ(Params.DpiY, 75);
}

TEST(JpegFilterMarkers, AspectOnlyDensityTakesTheExifResolution) {
  const std::string Jpeg = WithDensity(SmallJpeg(), 0, 1, 1);
  TIOParamsVals Params;
  Decode(WithSegments(Jpeg, ExifSegment(72, 2, 1)), Params);
  EXPECT_EQ(Params.DpiX, 72);
  EXPECT_EQ(Params.DpiY, 72);
  // Per centimetre: times 2.54.
  Decode(WithSegments(Jpeg, ExifSegment(100, 3, 1)), Params);
  EXPECT_EQ(Params.DpiX, 254);
  // A real density wins over the EXIF block.
  Decode(WithSegments(WithDensity(SmallJpeg(), 1, 200, 200), ExifSegment(72, 2, 1)), Params);
  EXPECT_EQ(Params.DpiX, 200);
}

TEST(JpegFilterMarkers, ExifOrientationIsAppliedOnRequest) {
  auto Source = Gradient(40, 16);
  const std::string Jpeg = WithSegments(Encode(*Source), ExifSegment(72, 2, 6));
  TIOParamsVals Params;
  TDecoded Result = Decode(Jpeg, Params);
  EXPECT_EQ(Result.Bitmap->GetWidth(), 40);
  EXPECT_EQ(Params.ExifOrientation, 6);
  TIOParamsVals Upright;
  Upright.JpegApplyExifOrientation = true;
  Result = Decode(Jpeg, Upright);
  EXPECT_EQ(Result.Bitmap->GetWidth(), 16);
  EXPECT_EQ(Result.Bitmap->GetHeight(), 40);
  EXPECT_EQ(Upright.ExifOrientation, 1);
}

std::string WithThumbnail(const std::string& Jpeg) {
  TIOParamsVals Exif;
  TIEBitmap* Thumbnail = Exif.ExifThumbnailNeeded();
  Thumbnail->Allocate(8, 6, ie24RGB);
  Thumbnail->Fill(0);
  std::vector<Byte> Block;
  IESaveEXIFToBuffer(Exif, Block, true);
  return WithSegments(Jpeg, Segment(0xE1, std::string(Block.begin(), Block.end())));
}

TEST(JpegFilterMarkers, ExifThumbnailInsteadOfThePicture) {
  TIOParamsVals Params;
  Params.SetGetExifThumbnail(true);
  TDecoded Result = Decode(WithThumbnail(SmallJpeg()), Params);
  EXPECT_FALSE(Result.Aborting);
  EXPECT_EQ(Result.Bitmap->GetWidth(), 8);
  EXPECT_EQ(Result.Bitmap->GetHeight(), 6);
  EXPECT_TRUE(Params.JpegExifThumbnailOnly);
}

// Without a thumbnail the picture is read from where the data began, not from the stream's
// start: a JPEG far into a stream still loads.
TEST(JpegFilterMarkers, MissingThumbnailReadsThePictureWhereItIs) {
  const std::string Jpeg = SmallJpeg();
  TStringStream Stream(std::string(300, 'x') + Jpeg);
  Stream.SetPosition(300);
  TIOParamsVals Params;
  Params.SetGetExifThumbnail(true);
  TProgress Progress;
  TIEBitmap Bitmap;
  const Integer Rows = JpegReadStream(&Stream, nullptr, &Bitmap, Params, Progress.Record, false, false, true,
                                      false, false, true, -1, false);
  EXPECT_FALSE(Progress.Aborting);
  EXPECT_EQ(Rows, 16);
  EXPECT_EQ(Bitmap.GetWidth(), 24);
}

TEST(JpegFilterMarkers, FirstApp0IsDroppedAndTheOthersWrittenBackAfterTheCodecsOwn) {
  const std::string Extension = Segment(0xE0, std::string("JFXX\0\x10", 6));
  const std::string Comment = Segment(0xFE, "a comment");
  const std::string Jpeg = WithSegments(SmallJpeg(), Comment);  // after SOI: COM, JFIF, ...
  const std::string Source = Jpeg.substr(0, 2) + Comment + Jpeg.substr(2 + Comment.size(), 18) + Extension +
                             Jpeg.substr(2 + Comment.size() + 18);
  TIOParamsVals Params;
  TDecoded Result = Decode(Source, Params);
  ASSERT_FALSE(Result.Aborting);
  TIEMarkerList& List = *Params.JpegMarkerList;
  ASSERT_EQ(List.Count(), 2);
  EXPECT_EQ(List.GetMarkerType(0), 0xFE);
  EXPECT_EQ(List.GetMarkerType(1), 0xE0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(List.GetMarkerData(1)), 4), "JFXX");

  const std::string Again = Encode(*Result.Bitmap, &Params);
  const std::vector<Byte> Order = MarkerOrder(Again);
  ASSERT_GE(Order.size(), 3u);
  EXPECT_EQ(Order[0], 0xE0);  // the codec's JFIF header
  EXPECT_EQ(Order[1], 0xE0);  // the kept extension
  EXPECT_EQ(Order[2], 0xFE);
  EXPECT_EQ(SegmentPayload(Again, 0xFE), "a comment");
}

TEST(JpegFilterMarkers, AdobeMarkerIsNeverWrittenTwice) {
  TIOParamsVals Cmyk;
  Cmyk.JpegColorSpace = 3;
  const std::string Jpeg = SmallJpeg(&Cmyk);
  TIOParamsVals Params;
  Params.NativePixelFormat = true;
  TDecoded Result = Decode(Jpeg, Params);
  ASSERT_NE(Params.JpegMarkerList->IndexOf(0xEE), -1);
  for (Byte ColorSpace : {Byte{3}, Byte{4}, Byte{2}}) {
    Params.JpegColorSpace = ColorSpace;
    const std::vector<Byte> Order = MarkerOrder(Encode(*Result.Bitmap, &Params));
    EXPECT_EQ(std::count(Order.begin(), Order.end(), 0xEE), ColorSpace == 2 ? 0 : 1);
    // CMYK keeps the JFIF header, YCCK goes without.
    EXPECT_EQ(std::count(Order.begin(), Order.end(), 0xE0), ColorSpace == 4 ? 0 : 1);
  }
}

// Three chunks of a profile, stored in the order 2, 3, 1.
TEST(JpegFilterMarkers, IccChunksAreJoinedInSequenceOrder) {
  const std::string Parts[3] = {"first-", "second-", "third"};
  auto Chunk = [&](Integer Sequence) {
    return Segment(
        0xE2, std::string("ICC_PROFILE\0", 12) + static_cast<char>(Sequence) + '\3' + Parts[Sequence - 1]);
  };
  const std::string Jpeg = WithSegments(SmallJpeg(), Chunk(2) + Chunk(3) + Chunk(1));
  TIOParamsVals Params;
  TStringStream Stream(Jpeg);
  Stream.SetPosition(0);
  JpegReadICCProfile(&Stream, Params);
  EXPECT_EQ(Stream.GetPosition(), 0);
  ASSERT_NE(Params.InputICC, nullptr);
  const TIEICC& Profile = *Params.InputICC;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Profile.GetRaw()), Profile.GetRawLength()),
            "first-second-third");
  // The chunks stay in the marker list and are written back in sequence order.
  TDecoded Result = Decode(Jpeg, Params);
  ASSERT_EQ(Params.JpegMarkerList->Count(), 3);
  const std::string Again = Encode(*Result.Bitmap, &Params);
  const size_t First = Again.find("ICC_PROFILE");
  ASSERT_NE(First, std::string::npos);
  EXPECT_EQ(Again[First + 12], 1);
  EXPECT_EQ(Again.substr(First + 14, 6), "first-");
  TIOParamsVals Reread;
  Decode(Again, Reread);
  ASSERT_NE(Reread.InputICC, nullptr);
  EXPECT_EQ(Reread.InputICC->GetRawLength(), 18);
}

// With colour management on, the file's own profile converts the rows; once applied, its
// chunks are dropped so that a save does not tag converted pixels with it again.
TEST(JpegFilterMarkers, ManagedReadAppliesTheProfileAndDropsItsChunks) {
  cmsHPROFILE Srgb = cmsCreate_sRGBProfile();
  cmsUInt32Number Size = 0;
  cmsSaveProfileToMem(Srgb, nullptr, &Size);
  std::string Profile(Size, '\0');
  cmsSaveProfileToMem(Srgb, Profile.data(), &Size);
  cmsCloseProfile(Srgb);
  const std::string Jpeg =
      WithSegments(SmallJpeg(), Segment(0xE2, std::string("ICC_PROFILE\0\1\1", 14) + Profile));
  const bool Saved = ColorManagementEnabled;
  ColorManagementEnabled = true;
  TIOParamsVals Params;
  TStringStream Stream(Jpeg);
  TProgress Progress;
  TIEBitmap Managed;
  JpegReadStream(&Stream, nullptr, &Managed, Params, Progress.Record, false, false, true, false, true, true,
                 -1, false);
  ColorManagementEnabled = Saved;
  EXPECT_FALSE(Progress.Aborting);
  EXPECT_EQ(Params.JpegMarkerList->IndexOf(IEJpegAPP2), -1);
  // sRGB to sRGB: the colours stay.
  EXPECT_LE(MaxDifference(Managed, *Decode(Jpeg).Bitmap), 2);
  TIOParamsVals Unmanaged;
  Decode(Jpeg, Unmanaged);
  EXPECT_NE(Unmanaged.JpegMarkerList->IndexOf(IEJpegAPP2), -1);
}

TEST(JpegFilterMarkers, MalformedIccChunksAreDropped) {
  const std::string Bad[] = {
      Segment(0xE2, std::string("ICC_PROFILE\0\0\1xx", 16)),  // sequence 0
      Segment(0xE2, std::string("ICC_PROFILE\0\2\1xx", 16)),  // sequence above the count
      Segment(0xE2, std::string("ICC_PROF", 8)),              // shorter than the chunk header
      std::string("\xFF\xE2\x00\x01", 4),                     // a length that cannot be
  };
  for (const std::string& Segments : Bad) {
    TIOParamsVals Params;
    TStringStream Stream(WithSegments(SmallJpeg(), Segments));
    JpegReadICCProfile(&Stream, Params);
    EXPECT_EQ(Params.InputICC, nullptr);
  }
}

TEST(JpegFilterMarkers, IptcAndXmpReachTheParameters) {
  TIEIPTCInfoList Iptc;
  Iptc.AddItem(2, 120, 7, "caption");
  std::unique_ptr<Byte[]> Block;
  Integer Length = 0;
  Iptc.SaveToBuffer(Block, Length, true);
  std::unique_ptr<Byte[]> Xmp;
  Integer XmpLength = 0;
  IESaveXMPToAPP1("<x:xmpmeta/>", Xmp, XmpLength);
  const std::string Jpeg = WithSegments(
      SmallJpeg(), Segment(0xED, std::string(reinterpret_cast<char*>(Block.get()), Length)) +
                       Segment(0xE1, std::string(reinterpret_cast<char*>(Xmp.get()), XmpLength)));
  TIOParamsVals Params;
  Decode(Jpeg, Params);
  ASSERT_EQ(Params.IPTCInfo->Count(), 1);
  EXPECT_EQ(Params.IPTCInfo->GetDataSet(0), 120);
  EXPECT_EQ(Params.XmpInfo, "<x:xmpmeta/>");
}

TEST(JpegFilterMarkers, WriterOptionsReachTheFile) {
  auto Source = Gradient(64, 32);
  TIOParamsVals Params;
  Params.SetDpiX(0);
  Params.SetDpiY(96);
  Params.JpegColorSpace = 2;
  Params.JpegChromaSubsampling = 0;  // 2 by 1
  const std::string Jpeg = Encode(*Source, &Params);
  const std::string Jfif = SegmentPayload(Jpeg, 0xE0);
  ASSERT_GE(Jfif.size(), 12u);
  EXPECT_EQ(Jfif[7], 1);  // dots per inch
  EXPECT_EQ((static_cast<Byte>(Jfif[8]) << 8) | static_cast<Byte>(Jfif[9]), DefaultDpiX);
  EXPECT_EQ((static_cast<Byte>(Jfif[10]) << 8) | static_cast<Byte>(Jfif[11]), 96);
  const std::string Frame = SegmentPayload(Jpeg, 0xC0);
  ASSERT_GE(Frame.size(), 9u);
  EXPECT_EQ(static_cast<Byte>(Frame[7]), 0x21);  // luminance sampling h 2, v 1

  Params.JpegChromaSubsampling = 2;
  EXPECT_EQ(static_cast<Byte>(SegmentPayload(Encode(*Source, &Params), 0xC0)[7]), 0x11);
  Params.JpegQuality = 20;
  const size_t Small = Encode(*Source, &Params).size();
  Params.JpegQuality = 98;
  EXPECT_LT(Small, Encode(*Source, &Params).size());
  Params.JpegProgressive = true;
  EXPECT_FALSE(SegmentPayload(Encode(*Source, &Params), 0xC2).empty());
}

}  // namespace

namespace {

// Once the I/O library runs, the EXIF block is read through the TIFF filter, which already
// gives the resolution per inch: a block per centimetre is converted once.
TEST(JpegFilterMarkers, ExifResolutionPerCentimetreIsConvertedOnceThroughTheTiffFilter) {
  const std::string Segment = ExifSegment(100, 3, 1);
  IOLibraryInitialize();
  TIOParamsVals Params;
  Decode(WithSegments(WithDensity(SmallJpeg(), 0, 1, 1), Segment), Params);
  IOLibraryFinalize();
  EXPECT_EQ(Params.DpiX, 254);
}

}  // namespace
