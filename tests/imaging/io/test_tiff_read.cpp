// The TIFF reader's own rules over small files built in memory: what a page fills into the
// parameters, the pixel format and alpha it chooses, the pages, sub-directories and tiles it
// picks, and the files it refuses.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "TiffBuildSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

// A page of Width x Height 8-bit samples, Samples per pixel, in one uncompressed strip.
TTiffTestPage PlainPage(Integer Width, Integer Height, Integer Samples, Integer Photometric,
                        const std::vector<Byte>& Pixels) {
  TTiffTestPage Page;
  Page.Long(256, {uint64_t(Width)}).Long(257, {uint64_t(Height)}).Short(277, {uint64_t(Samples)});
  TTiffTestTag Bits{258, 3, std::vector<uint64_t>(Samples, 8)};
  Page.Tags.push_back(Bits);
  Page.Short(262, {uint64_t(Photometric)}).Short(259, {1}).Strips({Pixels});
  return Page;
}

struct TRead {
  std::unique_ptr<TIEBitmap> Bitmap = std::make_unique<TIEBitmap>();
  TIOParamsVals Params;
  std::unique_ptr<TIEMask> AlphaMask;
  Integer PageCount = -1;
  bool Aborting = false;

  // Reads from the stream position Lead bytes into a stream whose first bytes are padding.
  TRead& Run(const std::vector<Byte>& File, bool ParamsOnly = false, bool IgnoreAlpha = false,
             bool Thumbnail = false, Integer Lead = 0) {
    TMemoryStream Stream;
    const std::vector<Byte> Padding(Lead, 0xEE);
    Stream.Write(Padding.data(), Lead);
    Stream.Write(File.data(), static_cast<Integer>(File.size()));
    Stream.SetPosition(Lead);
    TIELocalProgress Local;
    TiffReadStream(Bitmap.get(), &Stream, PageCount, Params, Local.Progress, ParamsOnly, AlphaMask, true,
                   IgnoreAlpha, Thumbnail);
    Aborting = Local.Aborting;
    return *this;
  }
};

TEST(TiffRead, ByteOrderIsRequiredAndAnEmptyChainIsNoFailure) {
  std::vector<Byte> File = TTiffTestFile().Build({PlainPage(1, 1, 1, 1, {7})});
  File[0] = 'X';
  EXPECT_TRUE(TRead().Run(File).Aborting);

  const std::vector<Byte> Empty = {'I', 'I', 42, 0, 0, 0, 0, 0};
  TRead NoPages;
  NoPages.Run(Empty);
  EXPECT_FALSE(NoPages.Aborting);
  EXPECT_EQ(NoPages.PageCount, 0);
}

TEST(TiffRead, APagePastTheLastLeavesThePictureAndCountsThePages) {
  const TTiffTestPage Page = PlainPage(2, 1, 1, 1, {10, 20});
  TRead R;
  R.Bitmap->Allocate(5, 4, ie24RGB);
  R.Params.SetImageIndex(5);
  R.Run(TTiffTestFile().Build({Page, Page, Page}));
  EXPECT_FALSE(R.Aborting);
  EXPECT_EQ(R.PageCount, 3);
  EXPECT_EQ(R.Bitmap->GetWidth(), 5);
}

TEST(TiffRead, BothByteOrdersGiveTheSamePictureAndTheOrderIsReported) {
  for (const bool BigEndian : {false, true}) {
    TRead R;
    R.Params.NativePixelFormat = true;
    R.Run(TTiffTestFile(BigEndian).Build({PlainPage(3, 2, 1, 1, {1, 2, 3, 4, 5, 6})}));
    ASSERT_FALSE(R.Aborting) << BigEndian;
    ASSERT_EQ(R.Bitmap->GetPixelFormat(), ie8g);
    EXPECT_EQ(R.Bitmap->GetPixel8(2, 1), 6);
    EXPECT_EQ(R.Params.TiffByteOrder, BigEndian ? 0 : 1);
  }
}

TEST(TiffRead, OffsetsCountFromTheStreamPositionAtEntry) {
  TRead R;
  R.Params.NativePixelFormat = true;
  R.Run(TTiffTestFile().Build({PlainPage(2, 1, 1, 1, {40, 50})}), false, false, false, 100);
  ASSERT_FALSE(R.Aborting);
  EXPECT_EQ(R.Bitmap->GetPixel8(1, 0), 50);
}

TEST(TiffRead, AllRowsPerStripMeansOneStrip) {
  TTiffTestPage Page = PlainPage(2, 3, 1, 1, {1, 2, 3, 4, 5, 6});
  Page.Long(278, {4294967295u});
  TRead R;
  R.Params.NativePixelFormat = true;
  R.Run(TTiffTestFile().Build({Page}));
  ASSERT_FALSE(R.Aborting);
  EXPECT_EQ(R.Bitmap->GetPixel8(0, 2), 5);
}

TEST(TiffRead, TheDpiIsTheRoundedResolutionAndTheExifValueKeepsItsFraction) {
  TTiffTestPage Page = PlainPage(1, 1, 1, 1, {0});
  Page.Rational(282, 11811, 100).Rational(283, 11811, 100).Short(296, {3});
  Page.Rational(286, 5, 2).Rational(287, 3, 1);  // 2.5 cm and 3 cm
  TRead R;
  R.Run(TTiffTestFile().Build({Page}), true);
  EXPECT_EQ(R.Params.DpiX, 300);
  EXPECT_EQ(R.Params.DpiY, 300);
  EXPECT_NEAR(R.Params.ExifXResolution, 299.9994, 1e-9);
  EXPECT_EQ(R.Params.TiffXPos, 6);  // 6.35 inches
  EXPECT_EQ(R.Params.TiffYPos, 8);  // 7.62 inches
}

TEST(TiffRead, TheDescriptiveTagsReachTheParameters) {
  TTiffTestPage Page = PlainPage(1, 1, 1, 1, {0});
  Page.Ascii(269, "Document").Ascii(270, "A picture").Ascii(285, "Front").Short(297, {2, 7}).Short(274, {6});
  Page.Short(266, {9});  // not a fill order: the default
  TRead R;
  R.Run(TTiffTestFile().Build({Page}), true);
  EXPECT_EQ(R.Params.TiffDocumentName, "Document");
  EXPECT_EQ(R.Params.TiffImageDescription, "A picture");
  EXPECT_EQ(R.Params.TiffPageName, "Front");
  EXPECT_EQ(R.Params.TiffPageNumber, 2);
  EXPECT_EQ(R.Params.TiffPageCount, 7);
  EXPECT_EQ(R.Params.TiffOrientation, 6);
  EXPECT_EQ(R.Params.ExifOrientation, 6);
  EXPECT_EQ(R.Params.TiffFillOrder, 1);
  EXPECT_EQ(R.Params.ImageCount, 1);
}

TEST(TiffRead, TheExifAndGpsDirectoriesReachTheParameters) {
  TTiffTestPage Exif, Gps;
  Exif.Rational(33434, 1, 250);
  Gps.Ascii(1, "N").Ascii(21, "E");
  TTiffTestPage Page = PlainPage(1, 1, 1, 1, {0});
  Page.Linked(34665, Exif).Linked(34853, Gps);
  for (const bool BigEndian : {false, true}) {
    TRead R;
    R.Run(TTiffTestFile(BigEndian).Build({Page}), true);
    EXPECT_TRUE(R.Params.ExifPresent);
    EXPECT_DOUBLE_EQ(R.Params.ExifExposureTime, 0.004);
    EXPECT_TRUE(R.Params.HasExifTag(33434));
    EXPECT_EQ(R.Params.GpsLatitudeRef, std::string("N\0", 2));
    EXPECT_EQ(R.Params.GpsDestLongitudeRef, std::string("E\0", 2));
  }
  TRead Plain;
  Plain.Run(TTiffTestFile().Build({PlainPage(1, 1, 1, 1, {0})}), true);
  EXPECT_FALSE(Plain.Params.ExifPresent);
}

TEST(TiffRead, CompressionAndPhotometricBecomeLibraryCodes) {
  struct TCase {
    uint64_t Compression, T4Options;
    Integer Expected;
  };
  const TCase Compressions[] = {{1, 0, 0}, {2, 0, 1},     {3, 0, 2},     {3, 1, 3},  {4, 0, 4},  {6, 0, 6},
                                {7, 0, 7}, {32773, 0, 8}, {32946, 0, 9}, {8, 0, 10}, {99, 0, 11}};
  for (const TCase& C : Compressions) {
    TTiffTestPage Page = PlainPage(1, 1, 1, 1, {0});
    Page.ValuesOf(259) = {C.Compression};
    Page.Long(292, {C.T4Options});
    TRead R;
    R.Run(TTiffTestFile().Build({Page}), true);
    EXPECT_EQ(R.Params.TiffCompression, C.Expected) << C.Compression;
  }
  const std::pair<uint64_t, Integer> Photometrics[] = {{0, 0}, {3, 3}, {6, 6}, {8, 7}, {9, 2}};
  for (const auto& [Photometric, Expected] : Photometrics) {
    TRead R;
    R.Params.TiffPhotometric = 2;
    R.Run(TTiffTestFile().Build({PlainPage(1, 1, 1, Integer(Photometric), {0})}), true);
    EXPECT_EQ(R.Params.TiffPhotometric, Expected) << Photometric;
  }
}

TEST(TiffRead, ABilevelRgbPageIsWhiteIsZero) {
  TTiffTestPage Page = PlainPage(8, 1, 1, 2, {0xF0});
  Page.ValuesOf(258) = {1};
  TRead R;
  R.Run(TTiffTestFile().Build({Page}));
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Bitmap->GetPixelFormat(), ie1g);
  EXPECT_EQ(static_cast<Byte*>(R.Bitmap->GetScanline(0))[0], 0x0F);
  EXPECT_EQ(R.Params.TiffPhotometric, 0);
}

TEST(TiffRead, BitsPerSampleMustAgree) {
  TTiffTestPage Same = PlainPage(1, 1, 4, 2, {1, 2, 3, 4});
  EXPECT_FALSE(TRead().Run(TTiffTestFile().Build({Same})).Aborting);
  TTiffTestPage Mixed = PlainPage(1, 1, 3, 2, {1, 2, 3, 4});
  Mixed.ValuesOf(258) = {8, 8, 16};
  TRead R;
  R.Run(TTiffTestFile().Build({Mixed}));
  EXPECT_TRUE(R.Aborting);
  EXPECT_TRUE(R.Bitmap->IsEmpty());
}

TEST(TiffRead, AFourthRgbSampleIsAlphaUnlessIgnored) {
  const std::vector<Byte> File =
      TTiffTestFile().Build({PlainPage(2, 1, 4, 2, {10, 20, 30, 0, 40, 50, 60, 200})});
  TRead R;
  R.Run(File);
  ASSERT_FALSE(R.Aborting);
  ASSERT_TRUE(R.AlphaMask);
  EXPECT_EQ(R.AlphaMask->GetPixel(0, 0), 0);
  EXPECT_EQ(R.AlphaMask->GetPixel(1, 0), 200);
  EXPECT_EQ(R.Bitmap->GetPixel24(1, 0).rgbtRed, 40);

  TRead Ignored;
  Ignored.Run(File, false, true);
  ASSERT_FALSE(Ignored.Aborting);
  EXPECT_FALSE(Ignored.AlphaMask);
  EXPECT_EQ(Ignored.Bitmap->GetPixel24(1, 0).rgbtBlue, 60);
}

TEST(TiffRead, NativeFormatsFollowTheSampleLayout) {
  struct TCase {
    Integer Samples, Bits, Photometric;
    TIEPixelFormat Native;
  };
  const TCase Cases[] = {
      {3, 16, 2, ieRGB48}, {4, 16, 2, ie24RGB}, {1, 16, 1, ie16g},  {1, 8, 0, ie8g},
      {4, 8, 5, ieCMYK},   {4, 16, 5, ieCMYK},  {3, 8, 2, ie24RGB}, {1, 4, 1, ie24RGB},
  };
  for (const TCase& C : Cases) {
    TTiffTestPage Page = PlainPage(1, 1, C.Samples, C.Photometric, std::vector<Byte>(C.Samples * 2, 0));
    Page.ValuesOf(258).assign(C.Samples, C.Bits);
    TRead R;
    R.Params.NativePixelFormat = true;
    R.Run(TTiffTestFile().Build({Page}));
    ASSERT_FALSE(R.Aborting);
    EXPECT_EQ(R.Bitmap->GetPixelFormat(), C.Native) << C.Samples << " x " << C.Bits << ", " << C.Photometric;
  }
}

TEST(TiffRead, TheSubDirectoryReplacesThePage) {
  TTiffTestPage Page = PlainPage(2, 1, 1, 1, {1, 2});
  Page.SubPages({PlainPage(3, 1, 1, 1, {7, 8, 9})});
  TRead R;
  R.Params.NativePixelFormat = true;
  R.Params.TiffSubIndex = 0;
  R.Run(TTiffTestFile().Build({Page}));
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Bitmap->GetWidth(), 3);
  EXPECT_EQ(R.Bitmap->GetPixel8(2, 0), 9);
}

TEST(TiffRead, OneTileIsReadAsAPictureOfItsOwn) {
  // 4 x 2 picture in two 2 x 2 tiles.
  TTiffTestPage Page;
  Page.Long(256, {4}).Long(257, {2}).Short(258, {8}).Short(262, {1}).Long(322, {2}).Long(323, {2});
  Page.Strips({{1, 2, 3, 4}, {5, 6, 7, 8}});
  for (TTiffTestTag& T : Page.Tags) T.Tag = T.Tag == 273 ? 324 : T.Tag == 279 ? 325 : T.Tag;
  TRead R;
  R.Params.NativePixelFormat = true;
  R.Params.TiffTileIndex = 1;
  R.Run(TTiffTestFile().Build({Page}));
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Bitmap->GetWidth(), 2);
  ASSERT_EQ(R.Bitmap->GetHeight(), 2);
  EXPECT_EQ(R.Bitmap->GetPixel8(0, 0), 5);
  EXPECT_EQ(R.Bitmap->GetPixel8(1, 1), 8);
}

TEST(TiffRead, ATileIndexOnAPageWithoutTilesReadsThePage) {
  TRead R;
  R.Params.NativePixelFormat = true;
  R.Params.TiffTileIndex = 0;
  R.Run(TTiffTestFile().Build({PlainPage(3, 2, 1, 1, {1, 2, 3, 4, 5, 6})}));
  ASSERT_FALSE(R.Aborting);
  EXPECT_EQ(R.Bitmap->GetWidth(), 3);
  EXPECT_EQ(R.Bitmap->GetPixel8(2, 1), 6);
}

TEST(TiffRead, TheOrientationTurnsThePictureAndItsAlphaTogether) {
  TTiffTestPage Page = PlainPage(2, 1, 4, 2, {10, 20, 30, 0, 40, 50, 60, 200});
  Page.Short(274, {6});
  TRead R;
  R.Params.TiffApplyOrientation = true;
  R.Run(TTiffTestFile().Build({Page}));
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Bitmap->GetWidth(), 1);
  ASSERT_EQ(R.Bitmap->GetHeight(), 2);
  ASSERT_TRUE(R.AlphaMask);
  ASSERT_EQ(R.AlphaMask->GetWidth(), 1);
  ASSERT_EQ(R.AlphaMask->GetHeight(), 2);
  // The first stored pixel is the top right one of an upright picture turned a quarter to the left.
  const Integer FirstRow = R.Bitmap->GetPixel24(0, 0).rgbtRed == 10 ? 0 : 1;
  EXPECT_EQ(R.AlphaMask->GetPixel(0, FirstRow), 0);
  EXPECT_EQ(R.AlphaMask->GetPixel(0, 1 - FirstRow), 200);
  EXPECT_FALSE(R.Bitmap->HasAlphaChannel());
}

TEST(TiffRead, RefusedPagesKeepTheParametersReadSoFar) {
  TRead ZeroWidth;
  ZeroWidth.Run(TTiffTestFile().Build({PlainPage(0, 4, 1, 1, {})}));
  EXPECT_TRUE(ZeroWidth.Aborting);
  EXPECT_EQ(ZeroWidth.Params.Height, 4);

  // A picture the data could never hold is refused before it is allocated.
  TRead Huge;
  Huge.Run(TTiffTestFile().Build({PlainPage(60000, 60000, 3, 2, {1, 2, 3})}));
  EXPECT_TRUE(Huge.Aborting);
  EXPECT_TRUE(Huge.Bitmap->IsEmpty());
  EXPECT_EQ(Huge.Params.Width, 60000);

  // Fax rows may be a bit each, but not rows wider than any fax.
  TTiffTestPage Fax = PlainPage(60000, 1000, 1, 0, std::vector<Byte>(64, 0));
  Fax.ValuesOf(258) = {1};
  Fax.ValuesOf(259) = {4};
  TRead WideFax;
  WideFax.Run(TTiffTestFile().Build({Fax}));
  EXPECT_TRUE(WideFax.Aborting);
  EXPECT_TRUE(WideFax.Bitmap->IsEmpty());

  // Pages without samples, or with samples no TIFF has, hold no pixels to decode.
  for (const auto& [Samples, Bits] : {std::pair<uint64_t, uint64_t>{0, 8}, {1, 0}, {1, 65}}) {
    TTiffTestPage Page = PlainPage(2, 2, 1, 1, {1, 2, 3, 4});
    Page.ValuesOf(277) = {Samples};
    Page.ValuesOf(258) = {Bits};
    Page.Short(284, {2});
    TRead Broken;
    Broken.Run(TTiffTestFile().Build({Page}));
    EXPECT_TRUE(Broken.Aborting) << Samples << " x " << Bits;
    EXPECT_TRUE(Broken.Bitmap->IsEmpty());
  }

  // Many wide samples per pixel count, not just the pixels.
  TTiffTestPage WideSamples = PlainPage(200, 4, 1, 1, std::vector<Byte>(100));
  WideSamples.ValuesOf(277) = {1000};
  WideSamples.ValuesOf(258) = {16};
  TRead Samples;
  Samples.Run(TTiffTestFile().Build({WideSamples}));
  EXPECT_TRUE(Samples.Aborting);
  EXPECT_TRUE(Samples.Bitmap->IsEmpty());

  TTiffTestPage NoStrips = PlainPage(1, 1, 1, 1, {0});
  NoStrips.Remove(273);
  NoStrips.Remove(279);
  EXPECT_TRUE(TRead().Run(TTiffTestFile().Build({NoStrips})).Aborting);

  TRead Thumbnail;
  Thumbnail.Run(TTiffTestFile().Build({PlainPage(401, 1, 1, 1, std::vector<Byte>(401))}), false, true, true);
  EXPECT_TRUE(Thumbnail.Aborting);
}

TEST(TiffRead, AThumbnailWithoutSizeIsStillDecoded) {
  // Old-style JPEG thumbnails often carry no size of their own.
  TIEBitmap Picture;
  Picture.Allocate(8, 8, ie24RGB);
  Picture.Fill(0x204060);
  TMemoryStream Jpeg;
  TIOParamsVals JpegParams;
  TIELocalProgress Written;
  JpegWriteStream(&Jpeg, &Picture, JpegParams, Written.Progress);
  const auto* Bytes = static_cast<const Byte*>(Jpeg.GetMemory());
  TTiffTestPage Page;
  Page.Short(259, {6}).Strips({{Bytes, Bytes + Jpeg.GetSize()}});
  Page.Remove(279);
  const std::vector<Byte> File = TTiffTestFile().Build({Page});

  TRead Thumbnail;
  Thumbnail.Run(File, false, true, true);
  ASSERT_FALSE(Thumbnail.Aborting);
  EXPECT_EQ(Thumbnail.Bitmap->GetWidth(), 8);
  EXPECT_NEAR(Thumbnail.Bitmap->GetPixel24(3, 3).rgbtRed, Picture.GetPixel24(3, 3).rgbtRed, 3);
  EXPECT_TRUE(TRead().Run(File).Aborting);
}

TEST(TiffRead, LzwWithoutACodecFails) {
  TTiffTestPage Page = PlainPage(1, 1, 1, 1, {0});
  Page.ValuesOf(259) = {5};
  const TTiffLzwDecompressProc Library = IETiffLzwDecompressProc;
  IETiffLzwDecompressProc = nullptr;
  TRead R;
  R.Params.TiffLzwDecompressProc = nullptr;
  R.Run(TTiffTestFile().Build({Page}), true);
  IETiffLzwDecompressProc = Library;
  EXPECT_TRUE(R.Aborting);
  EXPECT_EQ(R.Params.TiffCompression, 5);
}

TEST(TiffRead, ParametersOnlyNeedNoPicture) {
  TIOParamsVals Params;
  TMemoryStream Stream;
  const std::vector<Byte> File = TTiffTestFile().Build({PlainPage(3, 2, 3, 2, std::vector<Byte>(18))});
  Stream.Write(File.data(), static_cast<Integer>(File.size()));
  Stream.SetPosition(0);
  TIELocalProgress Local;
  Integer PageCount = 0;
  std::unique_ptr<TIEMask> Mask;
  TiffReadStream(nullptr, &Stream, PageCount, Params, Local.Progress, true, Mask, true, true, false);
  EXPECT_FALSE(Local.Aborting);
  EXPECT_EQ(Params.Width, 3);
  EXPECT_EQ(Params.FileHeight, 2);
  EXPECT_EQ(Params.SamplesPerPixel, 3);
  EXPECT_EQ(Params.BitsPerSample, 8);
}

}  // namespace
