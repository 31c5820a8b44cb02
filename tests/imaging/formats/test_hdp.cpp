// HD Photo through the imaging component's reader and writer: exact round trips of every pixel
// format the writer maps, the formats read without NativePixelFormat, lossy closeness, the
// encoder's property bag and options, failures, and the JPEG XR tools as outside checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ietiffhandler.h"
#include "imaging/formats/ieformats.h"
#include "imaging/formats/iewic.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

// Bytes of every row that a picture of Format shows: the bits past the width are left out.
std::vector<Byte> PixelBytes(TIEBitmap& Bitmap) {
  const Integer Bits = Bitmap.GetWidth() * Bitmap.GetBitCount();
  std::vector<Byte> Out;
  for (Integer Row = 0; Row < Bitmap.GetHeight(); ++Row) {
    const auto* P = static_cast<const Byte*>(Bitmap.GetScanline(Row));
    Out.insert(Out.end(), P, P + Bits / 8);
    if (Bits % 8) Out.push_back(static_cast<Byte>(P[Bits / 8] & (0xFF00 >> (Bits % 8))));
  }
  return Out;
}

// A picture whose bytes all differ from their neighbours, 37 x 21 (not whole macroblocks).
void FillPattern(TIEBitmap& Bitmap, TIEPixelFormat Format, Integer Width = 37, Integer Height = 21) {
  ASSERT_TRUE(Bitmap.Allocate(Width, Height, Format));
  for (Integer Row = 0; Row < Height; ++Row) {
    auto* P = static_cast<Byte*>(Bitmap.GetScanline(Row));
    for (Integer I = 0; I < Bitmap.GetRowLen(); ++I) P[I] = static_cast<Byte>(I * 37 + Row * 11 + (I >> 3));
  }
}

// A smooth picture, as photographs are, where lossy coding is close.
void FillSmooth(TIEBitmap& Bitmap) {
  ASSERT_TRUE(Bitmap.Allocate(48, 40, ie24RGB));
  for (Integer Y = 0; Y < 40; ++Y)
    for (Integer X = 0; X < 48; ++X)
      Bitmap.SetPixel24(X, Y, TIERGBTriple{Byte(X * 5), Byte(Y * 6), Byte(100 + (X + Y))});
}

std::vector<Byte> Write(TIEBitmap& Bitmap, TIOParamsVals& Params, bool* Aborted = nullptr) {
  TMemoryStream Stream;
  TTestProgress Progress;
  HdpWriteStream(&Stream, &Bitmap, Params, Progress.Progress);
  if (Aborted) *Aborted = Progress.Aborting;
  EXPECT_TRUE(Aborted || !Progress.Aborting);
  return StreamBytes(Stream);
}

bool Read(const std::vector<Byte>& Bytes, TIEBitmap& Bitmap, TIOParamsVals& Params) {
  TMemoryStream Stream;
  LoadBytes(Stream, Bytes);
  TTestProgress Progress;
  HdpReadStream(&Stream, &Bitmap, Params, Progress.Progress, false);
  return !Progress.Aborting;
}

void MakeLossless(TIOParamsVals& Params) {
  Params.HdpLossless = true;
  Params.DpiX = 200;
  Params.DpiY = 150;
}

Integer MaxDifference(TIEBitmap& A, TIEBitmap& B) {
  const std::vector<Byte> PA = PixelBytes(A), PB = PixelBytes(B);
  Integer Max = 0;
  for (size_t I = 0; I < std::min(PA.size(), PB.size()); ++I) Max = std::max(Max, std::abs(PA[I] - PB[I]));
  return Max;
}

// Pixel-format conversions need the I/O library started.
class HdpFilter : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    IEFormatsInstall();
    IOLibraryInitialize();
  }
  static void TearDownTestSuite() { IOLibraryFinalize(); }
};

TEST_F(HdpFilter, WicIsAvailableAndAnswersTheSameEveryTime) {
  ASSERT_TRUE(WicAvailable());
  EXPECT_TRUE(WicAvailable());
  EXPECT_TRUE(TIEWICReader().IsAvailable());
}

struct TFormatCase {
  TIEPixelFormat Format;
  Integer BitsPerSample;
  Integer SamplesPerPixel;
};

TEST_F(HdpFilter, LosslessRoundTripKeepsEveryMappedFormatExactly) {
  for (const TFormatCase Case :
       {TFormatCase{ie1g, 1, 1}, TFormatCase{ie8g, 8, 1}, TFormatCase{ie16g, 16, 1},
        TFormatCase{ie24RGB, 8, 3}, TFormatCase{ieRGB48, 16, 3}, TFormatCase{ieCMYK, 8, 4}}) {
    SCOPED_TRACE(static_cast<int>(Case.Format));
    TIEBitmap Source;
    FillPattern(Source, Case.Format);
    TIOParamsVals Params;
    MakeLossless(Params);
    const std::vector<Byte> File = Write(Source, Params);
    ASSERT_GT(File.size(), 8u);

    TIEBitmap Read;
    TIOParamsVals Got;
    Got.NativePixelFormat = true;
    ASSERT_TRUE(::Read(File, Read, Got));
    ASSERT_EQ(Read.GetPixelFormat(), Case.Format);
    EXPECT_EQ(PixelBytes(Read), PixelBytes(Source));
    EXPECT_EQ(Got.FileWidth, 37);
    EXPECT_EQ(Got.FileHeight, 21);
    EXPECT_EQ(Got.Width, 37);
    EXPECT_EQ(Got.BitsPerSample, Case.BitsPerSample);
    EXPECT_EQ(Got.SamplesPerPixel, Case.SamplesPerPixel);
    EXPECT_EQ(Got.DpiX, 200);
    EXPECT_EQ(Got.DpiY, 150);
  }
}

TEST_F(HdpFilter, WithoutNativeFormatDeepPicturesReadAsTwentyFourBits) {
  struct TCase {
    TIEPixelFormat Format;
    TIEPixelFormat Read;
  };
  for (const TCase Case : {TCase{ie1g, ie1g}, TCase{ie8g, ie24RGB}, TCase{ie16g, ie24RGB},
                           TCase{ieRGB48, ie24RGB}, TCase{ieCMYK, ie24RGB}, TCase{ie24RGB, ie24RGB}}) {
    SCOPED_TRACE(static_cast<int>(Case.Format));
    TIEBitmap Source;
    FillPattern(Source, Case.Format);
    TIOParamsVals Params;
    MakeLossless(Params);
    TIEBitmap Read;
    TIOParamsVals Got;
    ASSERT_TRUE(::Read(Write(Source, Params), Read, Got));
    EXPECT_EQ(Read.GetPixelFormat(), Case.Read);
    EXPECT_EQ(Got.SamplesPerPixel, Case.Read == ie1g ? 1 : 3);
    // The library's own conversion of the source gives the same colours.
    Source.SetPixelFormat(Case.Read);
    EXPECT_EQ(PixelBytes(Read), PixelBytes(Source));
  }
}

TEST_F(HdpFilter, CmykWhiteIsWrittenAsNoInkAndReadBackAsStoredWhite) {
  TIEBitmap Source(3, 2, ieCMYK);
  // The stored form of no ink at all.
  for (Integer Row = 0; Row < 2; ++Row) std::memset(Source.GetScanline(Row), 255, 12);
  TIOParamsVals Params;
  MakeLossless(Params);
  const std::vector<Byte> File = Write(Source, Params);
  TIEBitmap Read;
  TIOParamsVals Got;
  Got.NativePixelFormat = true;
  ASSERT_TRUE(::Read(File, Read, Got));
  EXPECT_EQ(PixelBytes(Read), std::vector<Byte>(24, 255));
  // White as RGB too: the inks were not turned into their opposites on the way.
  Read.ConvertToPixelFormat(ie24RGB);
  EXPECT_EQ(Read.GetPixel24(1, 1), (TIERGBTriple{255, 255, 255}));
}

TEST_F(HdpFilter, FormatsWithoutCodecCounterpartAreWrittenAsTwentyFourBits) {
  TIEBitmap Source(5, 4, ie32RGB);
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 5; ++X) Source.SetPixel32(X, Y, 0x80000000u | (X * 40) << 16 | (Y * 50) << 8 | 7);
  TIOParamsVals Params;
  MakeLossless(Params);
  TIEBitmap Read;
  TIOParamsVals Got;
  Got.NativePixelFormat = true;
  ASSERT_TRUE(::Read(Write(Source, Params), Read, Got));
  ASSERT_EQ(Read.GetPixelFormat(), ie24RGB);
  Source.ConvertToPixelFormat(ie24RGB);
  EXPECT_EQ(PixelBytes(Read), PixelBytes(Source));
}

TEST_F(HdpFilter, DefaultQualityIsLossyButCloseAndSmallerThanLossless) {
  TIEBitmap Source;
  FillSmooth(Source);
  TIOParamsVals Lossy;
  TIOParamsVals Lossless;
  MakeLossless(Lossless);
  const std::vector<Byte> Small = Write(Source, Lossy);
  const std::vector<Byte> Exact = Write(Source, Lossless);
  EXPECT_LT(Small.size(), Exact.size());
  TIEBitmap Read;
  TIOParamsVals Got;
  ASSERT_TRUE(::Read(Small, Read, Got));
  const Integer Difference = MaxDifference(Read, Source);
  EXPECT_GT(Difference, 0);
  EXPECT_LE(Difference, 24);
  // Quality 1 is lossless even without the lossless flag.
  Lossy.HdpImageQuality = 1.0;
  ASSERT_TRUE(::Read(Write(Source, Lossy), Read, Got));
  EXPECT_EQ(MaxDifference(Read, Source), 0);
}

TEST_F(HdpFilter, LowerQualityGivesSmallerFiles) {
  TIEBitmap Source;
  FillSmooth(Source);
  TIOParamsVals Params;
  size_t Previous = SIZE_MAX;
  for (const Double Quality : {0.95, 0.7, 0.3}) {
    Params.HdpImageQuality = Quality;
    const size_t Size = Write(Source, Params).size();
    EXPECT_LT(Size, Previous) << Quality;
    Previous = Size;
  }
}

TEST_F(HdpFilter, PropertyBagFollowsTheOptionsInOrder) {
  TIEBitmap Source(4, 4, ie24RGB);
  TMemoryStream Stream;
  TIEWICWriter Writer;
  TIOParamsVals Params;  // quality 0.9, not lossless
  ASSERT_TRUE(Writer.OpenStream(&Stream, ioHDP));
  ASSERT_TRUE(Writer.WriteFrame(&Source, &Params));
  using P = TIEWICProperty;
  EXPECT_EQ(Writer.EncoderProperties(), (std::vector<P>{{"ImageQuality", 0.9f},
                                                        {"Lossless", false},
                                                        {"HorizontalTileSlices", Word{0}},
                                                        {"VerticalTileSlices", Word{0}},
                                                        {"FrequencyOrder", true},
                                                        {"TiffCompressionMethod", Byte{1}}}));

  TIEWICWriter Fresh;
  TIEWICEncoderOptions& O = Fresh.Options();
  EXPECT_EQ(O.ImageQuality, -1);
  O.CompressionQuality = 0.5;
  O.UseCodecOptions = true;
  O.Quality = 30;
  O.Overlap = 2;
  O.Subsampling = 1;
  O.VerticalTileSlices = 3;
  EXPECT_EQ(Fresh.EncoderProperties(), (std::vector<P>{{"CompressionQuality", 0.5f},
                                                       {"Lossless", false},
                                                       {"UseCodecOptions", true},
                                                       {"Quality", Byte{30}},
                                                       {"Overlap", Byte{2}},
                                                       {"Subsampling", Byte{1}},
                                                       {"HorizontalTileSlices", Word{0}},
                                                       {"VerticalTileSlices", Word{3}},
                                                       {"FrequencyOrder", true},
                                                       {"TiffCompressionMethod", Byte{1}}}));
}

// Encodes Source with the writer's options set by Options (no parameters object).
std::vector<Byte> WriteWithOptions(TIEBitmap& Source, void (*Options)(TIEWICEncoderOptions&)) {
  TMemoryStream Stream;
  {
    TIEWICWriter Writer;
    Options(Writer.Options());
    EXPECT_TRUE(Writer.OpenStream(&Stream, ioHDP));
    EXPECT_TRUE(Writer.WriteFrame(&Source, nullptr));
    EXPECT_TRUE(Writer.Close());
  }
  return StreamBytes(Stream);
}

TEST_F(HdpFilter, CodecOptionsChooseQuantizerSubsamplingTilesAndOrder) {
  TIEBitmap Source;
  FillPattern(Source, ie24RGB, 70, 52);
  struct TCase {
    const char* Name;
    void (*Options)(TIEWICEncoderOptions&);
    bool Exact;
  };
  const TCase Cases[] = {
      {"quality 1 is lossless", [](TIEWICEncoderOptions& O) { O.UseCodecOptions = true; }, true},
      {"coarse quantizer",
       [](TIEWICEncoderOptions& O) {
         O.UseCodecOptions = true;
         O.Quality = 60;
       },
       false},
      {"4:2:0 loses colour detail",
       [](TIEWICEncoderOptions& O) {
         O.UseCodecOptions = true;
         O.Subsampling = 1;
       },
       false},
      {"no overlap, lossless",
       [](TIEWICEncoderOptions& O) {
         O.UseCodecOptions = true;
         O.Overlap = 0;
       },
       true},
      {"tiles, lossless",
       [](TIEWICEncoderOptions& O) {
         O.Lossless = true;
         O.HorizontalTileSlices = 2;
         O.VerticalTileSlices = 1;
       },
       true},
      {"spatial order, lossless",
       [](TIEWICEncoderOptions& O) {
         O.Lossless = true;
         O.FrequencyOrder = false;
       },
       true},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TIEBitmap Read;
    TIOParamsVals Got;
    ASSERT_TRUE(::Read(WriteWithOptions(Source, Case.Options), Read, Got));
    ASSERT_EQ(Read.GetWidth(), 70);
    EXPECT_EQ(MaxDifference(Read, Source) == 0, Case.Exact);
  }
}

TEST_F(HdpFilter, FailuresSetTheAbortFlag) {
  TIEBitmap Source;
  FillPattern(Source, ie24RGB);
  TIOParamsVals Params;
  MakeLossless(Params);
  const std::vector<Byte> File = Write(Source, Params);
  std::vector<Byte> Garbage(File.size(), 0x5A);
  const std::vector<Byte> Cases[] = {{}, Garbage, {File.begin(), File.begin() + 40}};
  for (const auto& Bytes : Cases) {
    TIEBitmap Read;
    TIOParamsVals Got;
    EXPECT_FALSE(::Read(Bytes, Read, Got)) << Bytes.size();
  }
  // A frame the file does not have.
  TIEBitmap Read;
  TIOParamsVals Got;
  Got.ImageIndex = 1;
  EXPECT_FALSE(::Read(File, Read, Got));
  // A stream that takes less than the file.
  TLimitedStream Short(100);
  TTestProgress Progress;
  HdpWriteStream(&Short, &Source, Params, Progress.Progress);
  EXPECT_TRUE(Progress.Aborting);
}

// The directory entry of Tag in a file we wrote, or nullptr.
Byte* DirectoryEntry(std::vector<Byte>& File, Word Tag) {
  const auto At = [&](size_t I) { return static_cast<Cardinal>(File[I] | File[I + 1] << 8); };
  const size_t Directory = At(4) | At(6) << 16;
  for (size_t I = 0; I < At(Directory); ++I)
    if (At(Directory + 2 + I * 12) == Tag) return &File[Directory + 2 + I * 12];
  return nullptr;
}

TEST_F(HdpFilter, DirectoryEntriesTheCodecWouldAssertOnAreRefused) {
  TIEBitmap Source;
  FillPattern(Source, ie8g);
  TIOParamsVals Params;
  MakeLossless(Params);
  const std::vector<Byte> File = Write(Source, Params);
  // A transformation past the codec's eight, and the resolution's entry made a camera model
  // that is no text.
  struct TCase {
    Word From, To, Type, Value;
  };
  for (const TCase Case : {TCase{0xBC02, 0xBC02, 4, 9}, TCase{0xBC82, 0x0110, 11, 1}}) {
    std::vector<Byte> Bad = File;
    Byte* Entry = DirectoryEntry(Bad, Case.From);
    ASSERT_NE(Entry, nullptr);
    const Byte Fields[] = {
        Byte(Case.To), Byte(Case.To >> 8), Byte(Case.Type), 0, 1, 0, 0, 0, Byte(Case.Value), 0, 0, 0};
    std::memcpy(Entry, Fields, sizeof(Fields));
    TIEBitmap Read;
    TIOParamsVals Got;
    EXPECT_FALSE(::Read(Bad, Read, Got)) << Case.To;
  }
}

TEST_F(HdpFilter, WriterCopiesTheParametersTagsIntoTheFile) {
  TIEBitmap Source;
  FillPattern(Source, ie8g);
  TIOParamsVals Params;
  MakeLossless(Params);
  Params.ExifMake = "Tilvarok test";
  Params.ExifPresent = true;
  const std::vector<Byte> File = Write(Source, Params);
  TMemoryStream Stream;
  LoadBytes(Stream, File);
  TIETIFFHandler Tags(&Stream);
  EXPECT_EQ(Tags.GetVersion(), 0x01BC);
  const Integer Make = Tags.FindTag(0, 271);
  ASSERT_GE(Make, 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Tags.GetValuePtr(Tags.GetPage(0)[Make], 0))),
            "Tilvarok test");
  // The file stays a picture the codec reads.
  TIEBitmap Read;
  TIOParamsVals Got;
  Got.NativePixelFormat = true;
  ASSERT_TRUE(::Read(File, Read, Got));
  EXPECT_EQ(PixelBytes(Read), PixelBytes(Source));
}

// ---- The JPEG XR command-line tools (libjxr-tools) as outside checks ----------------------------

std::vector<Byte> ToolPixels(const std::string& Image, const char* Map, const std::string& Options = {}) {
  const std::string Out =
      ShellOutput("convert '" + Image + "' " + Options + " -depth 8 " + Map + ":- 2>/dev/null");
  return {Out.begin(), Out.end()};
}

// What the decoder tool makes of our file, as 8-bit RGB bytes through ImageMagick.
std::vector<Byte> DecodedByTool(const std::vector<Byte>& File) {
  TTempFile Ours("ours.wdp");
  Ours.Write(File);
  const std::string Tiff = Ours.Path() + ".tif";
  if (std::system(("JxrDecApp -i '" + Ours.Path() + "' -o '" + Tiff + "' >/dev/null 2>&1").c_str()) != 0)
    return {};
  return ToolPixels(Tiff, "rgb", "-colorspace sRGB");
}

std::vector<Byte> RgbBytes(TIEBitmap& Bitmap) {
  std::vector<Byte> Out;
  for (Integer Y = 0; Y < Bitmap.GetHeight(); ++Y)
    for (Integer X = 0; X < Bitmap.GetWidth(); ++X) {
      const TIERGBTriple P = Bitmap.GetPixel24(X, Y);
      Out.insert(Out.end(), {P.rgbtRed, P.rgbtGreen, P.rgbtBlue});
    }
  return Out;
}

TEST_F(HdpFilter, DecoderToolReadsOurLosslessFiles) {
  if (!ToolPresent("JxrDecApp") || !ToolPresent("convert")) GTEST_SKIP() << "JxrDecApp or convert missing";
  TIOParamsVals Params;
  MakeLossless(Params);
  TIEBitmap Colour;
  FillPattern(Colour, ie24RGB);
  EXPECT_EQ(DecodedByTool(Write(Colour, Params)), RgbBytes(Colour));
  // Stored CMYK white is no ink in the file: white to the tool as well.
  TIEBitmap White(5, 3, ieCMYK);
  for (Integer Row = 0; Row < 3; ++Row) std::memset(White.GetScanline(Row), 255, 20);
  EXPECT_EQ(DecodedByTool(Write(White, Params)), std::vector<Byte>(5 * 3 * 3, 255));
}

TEST_F(HdpFilter, WeReadWhatTheEncoderToolWrites) {
  if (!ToolPresent("JxrEncApp") || !ToolPresent("convert")) GTEST_SKIP() << "JxrEncApp or convert missing";
  TTempFile Tiff("colour.tif");
  ASSERT_EQ(std::system(("convert -size 19x7 gradient:red-blue -depth 8 -type TrueColor -compress none '" +
                         Tiff.Path() + "' 2>/dev/null")
                            .c_str()),
            0);
  const std::string Jxr = Tiff.Path() + ".wdp";
  ASSERT_EQ(std::system(("JxrEncApp -i '" + Tiff.Path() + "' -o '" + Jxr + "' -q 1 >/dev/null 2>&1").c_str()),
            0);
  std::ifstream In(Jxr, std::ios::binary);
  const std::vector<Byte> Bytes{std::istreambuf_iterator<char>(In), {}};
  TIEBitmap Read;
  TIOParamsVals Got;
  ASSERT_TRUE(::Read(Bytes, Read, Got));
  ASSERT_EQ(Read.GetWidth(), 19);
  EXPECT_EQ(RgbBytes(Read), ToolPixels(Tiff.Path(), "rgb"));
}

}  // namespace
