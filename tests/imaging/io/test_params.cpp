#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/ieimagingannot.h"
#include "imaging/core/ieiptc.h"
#include "imaging/core/ielists.h"
#include "imaging/core/iemarkerlist.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Clock.h"
#include "platform/system/DateTime.h"
#include "platform/system/StringList.h"

namespace {

// The defaults every reset gives, field by field as the parameters are documented.
void ExpectDefaults(const TIOParamsVals& P) {
  EXPECT_EQ(P.BitsPerSample, 8);
  EXPECT_EQ(P.SamplesPerPixel, 3);
  EXPECT_TRUE(P.FileName.empty());
  EXPECT_EQ(P.FileType, 0);
  EXPECT_EQ(P.ImageCount, 0);
  EXPECT_FALSE(P.GetThumbnail);
  EXPECT_EQ(P.FileWidth, 0);
  EXPECT_EQ(P.FileHeight, 0);
  EXPECT_FALSE(P.NativePixelFormat);

  EXPECT_EQ(P.TiffCompression, 0);
  EXPECT_EQ(P.TiffSubIndex, -1);
  EXPECT_EQ(P.TiffPhotometric, 2);
  EXPECT_EQ(P.TiffPlanarConfig, 1);
  EXPECT_EQ(P.TiffTileIndex, -1);
  EXPECT_EQ(P.TiffPageNumber, -1);
  EXPECT_EQ(P.TiffPageCount, -1);
  EXPECT_EQ(P.TiffOrientation, 1);
  EXPECT_EQ(P.ExifOrientation, 0);  // the EXIF reset comes after the TIFF group
  EXPECT_EQ(P.TiffJpegQuality, 80);
  EXPECT_EQ(P.TiffJpegColorSpace, 2);
  EXPECT_EQ(P.TiffZipCompression, 1);
  EXPECT_EQ(P.TiffFillOrder, 1);
  EXPECT_EQ(P.TiffByteOrder, 1);
  EXPECT_TRUE(P.TiffImageDescription.empty());

  EXPECT_EQ(P.GifVersion, "GIF89a");
  EXPECT_EQ(P.GifAction, 2);
  EXPECT_FALSE(P.GifHasTransparentColor);
  EXPECT_EQ(P.GifComments->GetCount(), 0);

  EXPECT_EQ(P.JpegColorSpace, 2);
  EXPECT_EQ(P.JpegQuality, 80);
  EXPECT_EQ(P.JpegDCTMethod, 0);
  EXPECT_EQ(P.JpegChromaSubsampling, 1);
  EXPECT_FALSE(P.JpegProgressive);
  EXPECT_EQ(P.JpegScale, 1);
  EXPECT_EQ(P.JpegScaleUsed, 1);
  EXPECT_FALSE(P.JpegExifThumbnailOnly);
  EXPECT_EQ(P.JpegMarkerList->Count(), 0);

  EXPECT_EQ(P.J2000ColorSpace, 1);
  EXPECT_EQ(P.J2000Rate, 1.0);
  EXPECT_EQ(P.PcxVersion, 5);
  EXPECT_EQ(P.PcxCompression, 1);
  EXPECT_EQ(P.BmpVersion, 1);
  EXPECT_EQ(P.BmpCompression, 0);
  EXPECT_FALSE(P.BmpHandleAlpha);

  EXPECT_EQ(P.IcoBackground, (TIERGBTriple{255, 255, 255}));
  EXPECT_EQ(P.CurBackground, (TIERGBTriple{255, 255, 255}));
  EXPECT_EQ(P.CurXHotSpot, 0);
  EXPECT_EQ(P.CurYHotSpot, 0);
  EXPECT_EQ(P.IcoSizes[0], (std::array<Integer, 2>{64, 64}));
  EXPECT_EQ(P.IcoBitCounts[0], 8);
  for (Integer I = 1; I < IEMaxIcoImages; ++I) {
    EXPECT_EQ(P.IcoSizes[I], (std::array<Integer, 2>{0, 0})) << I;
    EXPECT_EQ(P.IcoBitCounts[I], 0) << I;
  }

  EXPECT_FALSE(P.PngInterlaced);
  EXPECT_EQ(P.PngFilter, 0);
  EXPECT_EQ(P.PngCompression, 5);
  EXPECT_EQ(P.PngTextKeys->GetCount(), 0);
  EXPECT_EQ(P.DicomTags->GetCount(), 0);

  EXPECT_TRUE(P.TgaCompressed);
  EXPECT_EQ(P.TgaAspectRatio, 1.0);
  EXPECT_EQ(P.TgaGamma, 2.2);
  EXPECT_EQ(P.TgaDate, 36526.0);  // the date of the reset, without its time

  EXPECT_EQ(P.IPTCInfo->Count(), 0);
  EXPECT_EQ(P.PxmComments->GetCount(), 0);
  EXPECT_EQ(P.AviFrameCount, 0);
  EXPECT_EQ(P.PsPaperWidth, 595);
  EXPECT_EQ(P.PsPaperHeight, 842);
  EXPECT_EQ(P.PsCompression, 1);
  EXPECT_EQ(P.PsTitle, "No Title");
  EXPECT_EQ(P.PdfPaperWidth, 595);
  EXPECT_EQ(P.PdfCompression, 2);
  EXPECT_TRUE(P.PdfTitle.empty());
  EXPECT_EQ(P.RawFactors, (std::array<Double, 4>{0.6, 1.0, 1.0, 1.0}));
  EXPECT_EQ(P.RawFlags, (std::array<bool, 4>{true, false, false, false}));
  EXPECT_EQ(P.HeaderlessRawOptions.BitsPerPixel, 8);
  EXPECT_FALSE(P.PsdLoadLayers);
  EXPECT_TRUE(P.PsdReplaceLayers);
  EXPECT_EQ(P.HdpImageQuality, 0.9);
  EXPECT_TRUE(P.XmpInfo.empty());
  EXPECT_EQ(P.GetColorMapCount(), 0);

  EXPECT_FALSE(P.ExifPresent);
  EXPECT_EQ(P.ExifExposureTime, -1);
  EXPECT_EQ(P.ExifBrightnessValue, -1000);
  EXPECT_TRUE(P.ExifTags.empty());
  EXPECT_EQ(P.GetExifThumbnail(), nullptr);
  EXPECT_EQ(P.FindImagingAnnot(), nullptr);
  EXPECT_EQ(P.InputICC, nullptr);
  EXPECT_EQ(P.OutputICC, nullptr);
  EXPECT_EQ(P.DefaultICC, nullptr);
}

// Every index copy, so that a test sees which ones a setter missed.
std::vector<Integer> ImageIndexCopies(const TIOParamsVals& P) {
  return {P.ImageIndex, P.TiffImageIndex, P.DcxImageIndex, P.GifImageIndex, P.IcoImageIndex, P.CurImageIndex};
}

// Changes a value of every group, the containers and the lazily made objects.
void Dirty(TIOParamsVals& P) {
  P.FileName = u"old.jpg";
  P.FileType = 3;
  P.BitsPerSample = 1;
  P.SamplesPerPixel = 1;
  P.SetImageIndex(4);
  P.SetImageCount(9);
  P.SetGetExifThumbnail(true);
  P.TiffCompression = 5;
  P.TiffImageDescription = "scan";
  P.SetTiffOrientation(6);
  P.TiffPhotometric = 5;
  P.GifVersion = "GIF87a";
  P.GifComments->Add("comment");
  P.JpegQuality = 95;
  P.JpegMarkerList->AddMarker(IEJpegCOM, "note", 4);
  P.IcoSizes[1] = {32, 32};
  P.IcoBitCounts[1] = 24;
  P.CurYHotSpot = 7;
  P.PngTextKeys->Add("Title");
  P.TgaGamma = 1.0;
  P.TgaDate = 1.0;
  P.PsTitle = "Page";
  P.RawFlags = {false, true, true, true};
  P.XmpInfo = "<x/>";
  P.ColorMap.assign(16, TIERGBTriple{1, 2, 3});
  P.IPTCInfo->AddItem(2, 120, 3, "cap");
  P.SetExifFNumber(2.8);
  P.ExifThumbnailNeeded()->Allocate(2, 2, ie24RGB);
  P.GetImagingAnnot();
  P.GetInputICC();
  P.GetOutputICC();
  P.GetDefaultICC();
}

// An APP1 payload holding an EXIF block (the header and a tiny TIFF structure) tagged by its
// last byte, so that a test can tell two of them apart.
std::vector<Byte> ExifPayload(Byte Tag) {
  std::vector<Byte> Payload = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, Tag};
  return Payload;
}

void AddMarker(TIEMarkerList& List, Byte Type, const std::vector<Byte>& Payload) {
  List.AddMarker(Type, Payload.data(), static_cast<Integer>(Payload.size()));
}

// A fixed afternoon, so that the TGA date of a reset is known.
class IOParams : public ::testing::Test {
 protected:
  IOParams() { SetClockSource(&Clock); }
  ~IOParams() override { SetClockSource(nullptr); }
  TFakeClock Clock{0, 36526.75};
};

}  // namespace

TEST_F(IOParams, NewObjectHoldsEveryDefault) {
  TIOParamsVals P;
  ExpectDefaults(P);
}

TEST_F(IOParams, ResetRestoresEveryDefault) {
  TIOParamsVals P;
  Dirty(P);
  P.SetDefaultParams();
  ExpectDefaults(P);
  EXPECT_EQ(ImageIndexCopies(P), std::vector<Integer>(6, 0));
  EXPECT_EQ(P.TiffImageCount, 0);
  EXPECT_EQ(P.GifImageCount, 0);
}

TEST_F(IOParams, FreeStandingResetLeavesSizeAndResolutionAlone) {
  TIOParamsVals P;
  EXPECT_EQ(P.IO, nullptr);
  EXPECT_EQ(P.DpiX, 0);
  EXPECT_EQ(P.DpiY, 0);
  EXPECT_EQ(P.Width, 0);
  EXPECT_EQ(P.Height, 0);
  P.Width = 640;
  P.Height = 480;
  P.SetDpiX(96);
  P.SetDefaultParams();
  EXPECT_EQ(P.Width, 640);
  EXPECT_EQ(P.Height, 480);
  EXPECT_EQ(P.DpiX, 96);
}

TEST_F(IOParams, ResetKeepsTheReadersJpegWarnings) {
  TIOParamsVals P;
  P.JpegWarningTotal = 3;
  P.JpegWarningCode = 117;
  P.SetDefaultParams();
  EXPECT_EQ(P.JpegWarningTotal, 3);
  EXPECT_EQ(P.JpegWarningCode, 117);
}

TEST_F(IOParams, ResetTakesTheLibraryLzwCodecsOfThatMoment) {
  const auto SavedGif = IEGifLzwDecompressProc;
  const auto SavedTiff = IETiffLzwCompressProc;
  TIOParamsVals P;
  TGifLzwDecompressProc Gif = [](const Byte*, Integer, Integer, Byte*, Integer) { return true; };
  TTiffLzwCompressProc Tiff = [](const Byte*, Integer, TStream*, void*&) {};
  IEGifLzwDecompressProc = Gif;
  IETiffLzwCompressProc = Tiff;
  EXPECT_EQ(P.GifLzwDecompressProc, SavedGif);
  P.SetDefaultParams();
  EXPECT_EQ(P.GifLzwDecompressProc, Gif);
  EXPECT_EQ(P.TiffLzwCompressProc, Tiff);
  IEGifLzwDecompressProc = SavedGif;
  IETiffLzwCompressProc = SavedTiff;
}

TEST_F(IOParams, IndexCountAndThumbnailSettersWriteEveryCopy) {
  TIOParamsVals P;
  P.SetImageIndex(3);
  EXPECT_EQ(ImageIndexCopies(P), std::vector<Integer>(6, 3));
  P.SetImageCount(5);
  EXPECT_EQ((std::vector<Integer>{P.ImageCount, P.TiffImageCount, P.GifImageCount, P.AviFrameCount}),
            std::vector<Integer>(4, 5));
  P.SetGetExifThumbnail(true);
  EXPECT_TRUE(P.GetThumbnail);
  EXPECT_TRUE(P.JpegExifThumbnailOnly);
  P.SetExifOrientation(8);
  EXPECT_EQ(P.TiffOrientation, 8);
}

TEST_F(IOParams, ExifResolutionDropsTheFractionForTheDpiOnly) {
  TIOParamsVals P;
  P.SetExifXResolution(299.6);
  EXPECT_EQ(P.DpiX, 299);
  EXPECT_EQ(P.ExifXResolution, 299.6);
  P.SetExifYResolution(-72.9);
  EXPECT_EQ(P.DpiY, -72);
  EXPECT_EQ(P.ExifYResolution, -72.9);
  P.SetDpiX(150);
  EXPECT_EQ(P.ExifXResolution, 150.0);
}

TEST_F(IOParams, ResetInfoClearsWhatWasReadAndKeepsTheWritingOptions) {
  TIOParamsVals P;
  Dirty(P);
  P.ResetInfo();
  EXPECT_EQ(P.IPTCInfo->Count(), 0);
  EXPECT_EQ(P.FindImagingAnnot(), nullptr);
  EXPECT_EQ(P.JpegMarkerList->Count(), 0);
  EXPECT_EQ(P.GifComments->GetCount(), 0);
  EXPECT_EQ(P.PngTextKeys->GetCount(), 0);
  EXPECT_TRUE(P.TiffImageDescription.empty());
  EXPECT_TRUE(P.XmpInfo.empty());
  EXPECT_TRUE(P.ExifTags.empty());
  EXPECT_EQ(P.GetExifThumbnail(), nullptr);
  EXPECT_EQ(P.InputICC, nullptr);
  // Writing options and the profiles a save converts with stay.
  EXPECT_EQ(P.JpegQuality, 95);
  EXPECT_EQ(P.TiffCompression, 5);
  EXPECT_EQ(P.GifVersion, "GIF87a");
  EXPECT_EQ(P.GetColorMapCount(), 16);
  EXPECT_NE(P.OutputICC, nullptr);
  EXPECT_NE(P.DefaultICC, nullptr);
}

TEST_F(IOParams, ResetExifDeletesOnlyTheFirstExifBlock) {
  TIOParamsVals P;
  const std::vector<Byte> Xmp = {'h', 't', 't', 'p', ':', '/', '/'};
  AddMarker(*P.JpegMarkerList, IEJpegAPP1, Xmp);
  AddMarker(*P.JpegMarkerList, IEJpegAPP1, ExifPayload(1));
  AddMarker(*P.JpegMarkerList, IEJpegAPP1, ExifPayload(2));
  P.SetExifFNumber(2.8);
  P.ResetEXIF();
  EXPECT_TRUE(P.ExifTags.empty());
  EXPECT_EQ(P.ExifFNumber, -1);
  ASSERT_EQ(P.JpegMarkerList->Count(), 2);
  EXPECT_EQ(P.JpegMarkerList->GetMarkerLength(0), static_cast<Integer>(Xmp.size()));
  const Integer Second = P.JpegMarkerList->GetMarkerLength(1);
  EXPECT_EQ(P.JpegMarkerList->GetMarkerData(1)[Second - 1], 2);
}

TEST_F(IOParams, AssignCopiesValuesAndMakesDeepCopies) {
  TIOParamsVals Source;
  Dirty(Source);
  Source.SetDpiX(72);
  Source.SetDpiY(144);
  Source.SetExifXResolution(72.5);
  Source.ColorMap.resize(256);
  for (Integer I = 0; I < 256; ++I) Source.ColorMap[I] = TIERGBTriple{Byte(I), Byte(255 - I), Byte(I / 2)};
  Source.GetImagingAnnot()->AddObject(std::make_unique<TIEImagingObject>());

  TIOParamsVals Dest;
  Dest.Assign(Source);
  EXPECT_EQ(Dest.IO, nullptr);
  EXPECT_EQ(Dest.FileName, u"old.jpg");
  EXPECT_EQ(Dest.JpegQuality, 95);
  EXPECT_EQ(Dest.PsTitle, "Page");
  EXPECT_EQ(Dest.DpiX, 72);
  EXPECT_EQ(Dest.DpiY, 144);
  EXPECT_EQ(Dest.ExifXResolution, 72.5);
  EXPECT_EQ(ImageIndexCopies(Dest), std::vector<Integer>(6, 4));
  EXPECT_EQ(Dest.TiffOrientation, 6);
  EXPECT_EQ(Dest.ExifOrientation, 6);
  EXPECT_EQ(Dest.TiffCompression, 5);
  EXPECT_EQ(Dest.TiffImageDescription, "scan");
  EXPECT_TRUE(Dest.JpegExifThumbnailOnly);
  EXPECT_EQ(Dest.GetColorMapCount(), 256);
  EXPECT_EQ(Dest.ColorMap, Source.ColorMap);
  EXPECT_EQ(Dest.ExifFNumber, 2.8);
  EXPECT_EQ(Dest.ExifTags, Source.ExifTags);
  ASSERT_NE(Dest.GetExifThumbnail(), nullptr);
  EXPECT_NE(Dest.GetExifThumbnail(), Source.GetExifThumbnail());
  EXPECT_EQ(Dest.GetExifThumbnail()->GetWidth(), 2);
  ASSERT_NE(Dest.FindImagingAnnot(), nullptr);
  EXPECT_EQ(Dest.FindImagingAnnot()->Count(), 1);
  EXPECT_EQ(Dest.FindImagingAnnot()->GetOwner(), &Dest);
  ASSERT_NE(Dest.OutputICC, nullptr);
  EXPECT_NE(Dest.OutputICC, Source.OutputICC);

  // Containers are copies, not shared.
  Source.GifComments->Add("later");
  Source.JpegMarkerList->Clear();
  Source.IPTCInfo->Clear();
  EXPECT_EQ(Dest.GifComments->GetCount(), 1);
  EXPECT_EQ(Dest.JpegMarkerList->Count(), 1);
  EXPECT_EQ(Dest.IPTCInfo->Count(), 1);
  EXPECT_EQ(Dest.PngTextKeys->GetStrings(0), "Title");
}

TEST_F(IOParams, AssignFromAnObjectWithoutOptionalPartsFreesThem) {
  TIOParamsVals Dest;
  Dirty(Dest);
  TIOParamsVals Source;
  Dest.Assign(Source);
  EXPECT_EQ(Dest.GetExifThumbnail(), nullptr);
  EXPECT_EQ(Dest.FindImagingAnnot(), nullptr);
  EXPECT_EQ(Dest.InputICC, nullptr);
  EXPECT_EQ(Dest.OutputICC, nullptr);
  EXPECT_EQ(Dest.DefaultICC, nullptr);
  EXPECT_EQ(Dest.GetColorMapCount(), 0);
  EXPECT_EQ(Dest.JpegMarkerList->Count(), 0);
  EXPECT_TRUE(Dest.ExifTags.empty());
}

TEST_F(IOParams, OutputProfileIsMadeAsSRGB) {
  TIOParamsVals P;
  TIEICC* Output = P.GetOutputICC();
  ASSERT_NE(Output, nullptr);
  EXPECT_TRUE(Output->IsValid());
  EXPECT_EQ(P.GetOutputICC(), Output);
  EXPECT_FALSE(P.GetInputICC()->IsValid());
}
