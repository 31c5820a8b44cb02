// The icon writer: its directory and image headers, each depth read back by our reader, the
// depth a bit count asks for, the resampler it is handed, failures, and ImageMagick reading
// what it writes (and we reading ImageMagick's icons with masks and PNG entries).
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <sstream>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/ieico.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

using TSizes = std::vector<std::array<Integer, 2>>;

Cardinal LE(const std::vector<Byte>& B, size_t At, Integer Bytes) {
  Cardinal V = 0;
  for (Integer I = Bytes - 1; I >= 0; --I) V = V << 8 | B.at(At + static_cast<size_t>(I));
  return V;
}

bool Bit(TIEBitmap& B, Integer X, Integer Y) {
  return (static_cast<const Byte*>(B.GetScanline(Y))[X >> 3] & (0x80 >> (X & 7))) != 0;
}

// A picture of four colour quarters; the top left pixel is transparent when WithAlpha.
std::unique_ptr<TIEBitmap> Quarters(Integer Width, Integer Height, bool WithAlpha) {
  auto B = std::make_unique<TIEBitmap>();
  B->Allocate(Width, Height, ie24RGB);
  const TIERGBTriple Colours[4] = {{10, 20, 200}, {200, 40, 0}, {0, 180, 30}, {90, 90, 90}};
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X) B->SetPixel24(X, Y, Colours[(Y * 2 / Height) * 2 + X * 2 / Width]);
  if (WithAlpha) B->SetAlpha(0, 0, 0);
  return B;
}

struct TWritten {
  std::vector<Byte> Bytes;
  bool Aborted = false;
  TIOParamsVals Params;
};

std::unique_ptr<TWritten> Write(TIEBitmap& Picture, const TSizes& Sizes, const std::vector<Integer>& Bits,
                                TStream* Target = nullptr) {
  auto W = std::make_unique<TWritten>();
  TMemoryStream Own;
  TStream* Stream = Target ? Target : &Own;
  TTestProgress Progress;
  IcoWriteStream(Stream, &Picture, W->Params, Progress.Progress, Sizes, Bits);
  W->Aborted = Progress.Aborting;
  if (!Target) W->Bytes = StreamBytes(Own);
  return W;
}

struct TReadBack {
  TIEBitmap Bitmap;
  std::unique_ptr<TIEMask> Alpha;
  TIOParamsVals Params;
  bool Aborted = false;
};

std::unique_ptr<TReadBack> ReadBack(const std::vector<Byte>& Bytes, Integer Index) {
  auto R = std::make_unique<TReadBack>();
  R->Params.IcoImageIndex = Index;
  TMemoryStream Stream;
  LoadBytes(Stream, Bytes);
  TTestProgress Progress;
  IcoReadStream(&Stream, &R->Bitmap, R->Params, false, Progress.Progress, R->Alpha, false);
  R->Aborted = Progress.Aborting;
  return R;
}

void ExpectSamePixels(TIEBitmap& Expected, TReadBack& Read, bool TransparentTopLeft) {
  ASSERT_EQ(Read.Bitmap.GetWidth(), Expected.GetWidth());
  ASSERT_EQ(Read.Bitmap.GetHeight(), Expected.GetHeight());
  for (Integer Y = 0; Y < Expected.GetHeight(); ++Y)
    for (Integer X = 0; X < Expected.GetWidth(); ++X) {
      const bool Clear = TransparentTopLeft && X == 0 && Y == 0;
      if (Read.Alpha) {
        EXPECT_EQ(Read.Alpha->GetScanline(Y)[X], Clear ? 0 : 255) << X << "," << Y;
      }
      if (!Clear) {
        EXPECT_EQ(Read.Bitmap.GetPixel24(X, Y), Expected.GetPixel24(X, Y)) << X << "," << Y;
      }
    }
  EXPECT_EQ(Read.Alpha != nullptr, TransparentTopLeft);
}

TEST(IcoWrite, SixteenAtFourBitsAndThirtyTwoAtThirtyTwoBits) {
  auto Picture = Quarters(16, 16, true);
  auto W = Write(*Picture, {{16, 16}, {32, 32}}, {4, 32});
  ASSERT_FALSE(W->Aborted);
  const std::vector<Byte>& B = W->Bytes;
  EXPECT_EQ(LE(B, 0, 2), 0u);
  EXPECT_EQ(LE(B, 2, 2), 1u);
  ASSERT_EQ(LE(B, 4, 2), 2u);
  // Entries: size bytes, colour count, reserved, planes, bit count, image size and offset.
  const std::vector<Byte> Entry0(B.begin() + 6, B.begin() + 14), Entry1(B.begin() + 22, B.begin() + 30);
  EXPECT_EQ(Entry0, (std::vector<Byte>{16, 16, 16, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Entry1, (std::vector<Byte>{32, 32, 0, 0, 1, 0, 32, 0}));
  const Cardinal Size0 = 40 + 16 * 4 + 16 * 8 + 16 * 4, Size1 = 40 + 32 * 128 + 32 * 4;
  EXPECT_EQ(LE(B, 14, 4), Size0);
  EXPECT_EQ(LE(B, 18, 4), 38u);
  EXPECT_EQ(LE(B, 30, 4), Size1);
  EXPECT_EQ(LE(B, 34, 4), 38u + Size0);
  EXPECT_EQ(B.size(), 38u + Size0 + Size1);
  // The 4-bit header's image size counts the colour rows and an unpadded mask; its palette
  // starts with black.
  EXPECT_EQ(LE(B, 38 + 8, 4), 32u);
  EXPECT_EQ(LE(B, 38 + 14, 2), 4u);
  EXPECT_EQ(LE(B, 38 + 20, 4), 16u * 8 + 16 * 16 / 8);
  EXPECT_EQ(LE(B, 38 + 40, 4), 0u);
  EXPECT_EQ(LE(B, 38 + Size0 + 20, 4), 0u);
  // The transparent pixel is index 0 and set in the AND part.
  EXPECT_EQ(B[38 + 40 + 64 + 15 * 8] >> 4, 0);
  EXPECT_EQ(B[38 + 40 + 64 + 128], 0x00);  // the bottom row comes first
  EXPECT_EQ(B[38 + 40 + 64 + 128 + 15 * 4], 0x80);

  auto Four = ReadBack(B, 0);
  ASSERT_FALSE(Four->Aborted);
  ExpectSamePixels(*Picture, *Four, true);
  EXPECT_EQ(Four->Params.IcoBitCounts[0], 4);
  EXPECT_EQ(Four->Params.IcoBitCounts[1], 32);
  auto ThirtyTwo = ReadBack(B, 1);
  ASSERT_EQ(ThirtyTwo->Bitmap.GetWidth(), 32);
  ASSERT_TRUE(ThirtyTwo->Alpha);
  EXPECT_EQ(ThirtyTwo->Alpha->GetScanline(0)[0], 0);
  EXPECT_EQ(ThirtyTwo->Alpha->GetScanline(31)[31], 255);
  EXPECT_EQ(ThirtyTwo->Bitmap.GetPixel24(31, 31), Picture->GetPixel24(15, 15));
  EXPECT_EQ(ThirtyTwo->Bitmap.GetPixel24(31, 0), Picture->GetPixel24(15, 0));
}

TEST(IcoWrite, EachDepthReadsBackAsWritten) {
  struct TCase {
    Integer Bits;
    bool Alpha;
    Byte ColourCount;
  } Cases[] = {{8, true, 255}, {8, false, 255}, {24, false, 0},
               {32, true, 0},  {32, false, 0},  {4, false, 16}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.Bits << " bits, alpha " << C.Alpha);
    auto Picture = Quarters(7, 5, C.Alpha);
    auto W = Write(*Picture, {{7, 5}}, {C.Bits});
    ASSERT_FALSE(W->Aborted);
    EXPECT_EQ(W->Bytes[8], C.ColourCount);
    EXPECT_EQ(LE(W->Bytes, 22 + 14, 2), static_cast<Cardinal>(C.Bits));
    auto R = ReadBack(W->Bytes, 0);
    ASSERT_FALSE(R->Aborted);
    ExpectSamePixels(*Picture, *R, C.Alpha);
  }
}

// Without the processing library the core's stand-in resamples, which takes 3-byte pixels only.
TEST(IcoWrite, PalettedPicturesResizeWithoutTheProcessingLibrary) {
  ASSERT_EQ(IEIcoProcs.ResampleBitmap, nullptr);
  TIEBitmap Picture;
  Picture.Allocate(4, 4, ie8p);
  Picture.SetPaletteColor(0, TIERGBTriple{10, 20, 30});
  Picture.SetPaletteColor(1, TIERGBTriple{200, 100, 50});
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 4; ++X) static_cast<Byte*>(Picture.GetScanline(Y))[X] = X < 2 ? 0 : 1;
  auto W = Write(Picture, {{8, 8}}, {24});
  ASSERT_FALSE(W->Aborted);
  auto R = ReadBack(W->Bytes, 0);
  ASSERT_EQ(R->Bitmap.GetWidth(), 8);
  EXPECT_EQ(R->Bitmap.GetPixel24(0, 0), (TIERGBTriple{10, 20, 30}));
  EXPECT_EQ(R->Bitmap.GetPixel24(7, 7), (TIERGBTriple{200, 100, 50}));
}

TEST(IcoWrite, OneBitRowsPaletteResolutionAndImageSize) {
  TIEBitmap Picture;
  Picture.Allocate(10, 3, ie1g);
  for (Integer Y = 0; Y < 3; ++Y) {
    Byte* Row = static_cast<Byte*>(Picture.GetScanline(Y));
    Row[0] = static_cast<Byte>(0xA5 ^ Y);
    Row[1] = static_cast<Byte>(Y == 1 ? 0x40 : 0x80);
  }
  auto W = std::make_unique<TWritten>();
  W->Params.DpiX = 96;
  W->Params.DpiY = 300;
  TMemoryStream Stream;
  TTestProgress Progress;
  const TSizes Sizes{{10, 3}};
  const std::vector<Integer> Bits{0};
  IcoWriteStream(&Stream, &Picture, W->Params, Progress.Progress, Sizes, Bits);
  ASSERT_FALSE(Progress.Aborting);
  const std::vector<Byte> B = StreamBytes(Stream);
  // Bit count 0 of a 1-bit picture: the parameters were set to one sample of one bit.
  EXPECT_EQ(W->Params.BitsPerSample, 1);
  EXPECT_EQ(LE(B, 22 + 14, 2), 1u);
  EXPECT_EQ(B[8], 2);
  EXPECT_EQ(LE(B, 22 + 20, 4), 3u * 4 + 30 / 8);
  EXPECT_EQ(LE(B, 22 + 24, 4), 3780u);
  EXPECT_EQ(LE(B, 22 + 28, 4), 11811u);
  EXPECT_EQ(std::vector<Byte>(B.begin() + 62, B.begin() + 70),
            (std::vector<Byte>{0, 0, 0, 0, 255, 255, 255, 0}));
  auto R = ReadBack(B, 0);
  ASSERT_EQ(R->Bitmap.GetPixelFormat(), ie1g);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 10; ++X) EXPECT_EQ(Bit(R->Bitmap, X, Y), Bit(Picture, X, Y)) << X << "," << Y;
  EXPECT_EQ(R->Params.DpiX, 96);
  EXPECT_EQ(R->Params.DpiY, 300);
}

TEST(IcoWrite, DepthOfEachBitCount) {
  struct TCase {
    Integer BitCount;
    TIEPixelFormat Format;
    Integer BitsPerSample, SamplesPerPixel;
    Integer Depth;
  } Cases[] = {
      {1, ie24RGB, 8, 3, 1},  {4, ie24RGB, 8, 3, 4},   {8, ie24RGB, 8, 3, 8},  {32, ie24RGB, 8, 3, 32},
      {2, ie24RGB, 8, 3, 24}, {16, ie24RGB, 8, 3, 24}, {0, ie24RGB, 8, 3, 24}, {0, ie24RGB, 8, 4, 32},
      {0, ie24RGB, 4, 1, 4},  {0, ie24RGB, 1, 1, 1},   {0, ie24RGB, 16, 3, 8}, {0, ie1g, 8, 3, 1},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.BitCount << " " << C.BitsPerSample << "x" << C.SamplesPerPixel);
    TIEBitmap Picture;
    Picture.Allocate(4, 4, C.Format);
    TIOParamsVals Params;
    Params.BitsPerSample = C.BitsPerSample;
    Params.SamplesPerPixel = C.SamplesPerPixel;
    TMemoryStream Stream;
    TTestProgress Progress;
    const TSizes Sizes{{4, 4}};
    const std::vector<Integer> Bits{C.BitCount};
    IcoWriteStream(&Stream, &Picture, Params, Progress.Progress, Sizes, Bits);
    ASSERT_FALSE(Progress.Aborting);
    EXPECT_EQ(LE(StreamBytes(Stream), 22 + 14, 2), static_cast<Cardinal>(C.Depth));
  }
}

// The processing library's resampler, as the test hands it over: records the filter and paints
// the target so that its use shows in the file.
std::vector<TResampleFilter> UsedFilters;
void FakeResample(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter, TIEProgressEvent, TObject*) {
  UsedFilters.push_back(Filter);
  EXPECT_EQ(Dest->GetPixelFormat(), Source->GetPixelFormat());
  if (Dest->GetPixelFormat() == ie24RGB)
    for (Integer Y = 0; Y < Dest->GetHeight(); ++Y)
      for (Integer X = 0; X < Dest->GetWidth(); ++X) Dest->SetPixel24(X, Y, TIERGBTriple{1, 2, 3});
}

TEST(IcoWrite, ResamplesThroughTheHandedOverResampler) {
  UsedFilters.clear();
  IEIcoProcs.ResampleBitmap = FakeResample;
  auto Colour = Quarters(8, 8, false);
  auto W = Write(*Colour, {{3, 2}, {8, 8}}, {24, 24});
  TIEBitmap OneBit;
  OneBit.Allocate(8, 8, ie1g);
  auto W1 = Write(OneBit, {{5, 5}}, {1});
  IEIcoProcs = {};
  ASSERT_FALSE(W->Aborted);
  ASSERT_FALSE(W1->Aborted);
  EXPECT_EQ(UsedFilters, (std::vector<TResampleFilter>{rfFastLinear, rfFastLinear, rfNone}));
  auto R = ReadBack(W->Bytes, 0);
  ASSERT_EQ(R->Bitmap.GetWidth(), 3);
  EXPECT_EQ(R->Bitmap.GetPixel24(2, 1), (TIERGBTriple{1, 2, 3}));
}

TEST(IcoWrite, NothingToWriteOrAShortWriteFails) {
  auto Picture = Quarters(4, 4, false);
  EXPECT_TRUE(Write(*Picture, {}, {})->Aborted);
  EXPECT_TRUE(Write(*Picture, {{4, 0}}, {24})->Aborted);
  TIEBitmap Empty;
  EXPECT_TRUE(Write(Empty, {{4, 4}}, {24})->Aborted);
  for (const Int64 Limit : {Int64{3}, Int64{30}, Int64{100}}) {
    TLimitedStream Short(Limit);
    EXPECT_TRUE(Write(*Picture, {{4, 4}, {2, 2}}, {8, 32}, &Short)->Aborted) << Limit;
  }
}

std::string Identify(const std::string& Path) {
  return ShellOutput("identify -format '%w %h|' '" + Path + "' 2>/dev/null");
}

TEST(IcoOracle, ImageMagickReadsEverySizeWeWrite) {
  if (!ToolPresent("identify")) GTEST_SKIP() << "ImageMagick is not installed";
  auto Picture = Quarters(16, 16, true);
  auto W = Write(*Picture, {{16, 16}, {32, 32}, {24, 24}, {48, 48}, {256, 256}}, {4, 8, 24, 32, 32});
  ASSERT_FALSE(W->Aborted);
  TTempFile File("ours.ico");
  File.Write(W->Bytes);
  EXPECT_EQ(Identify(File.Path()), "16 16|32 32|24 24|48 48|256 256|");
  // The 4-bit image pixel by pixel, its transparent pixel included.
  const std::string Rgba = ShellOutput("convert '" + File.Path() + "[0]' -depth 8 rgba:- 2>/dev/null");
  ASSERT_EQ(Rgba.size(), 16u * 16 * 4);
  for (Integer Y = 0; Y < 16; ++Y)
    for (Integer X = 0; X < 16; ++X) {
      const auto* P = reinterpret_cast<const Byte*>(Rgba.data()) + 4 * (Y * 16 + X);
      const bool Clear = X == 0 && Y == 0;
      EXPECT_EQ(P[3], Clear ? 0 : 255) << X << "," << Y;
      if (!Clear) {
        EXPECT_EQ((TIERGBTriple{P[2], P[1], P[0]}), Picture->GetPixel24(X, Y)) << X << "," << Y;
      }
    }
}

TEST(IcoOracle, WeReadImageMagickIconsWithMasksAndPngEntries) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  TTempFile File("made.ico");
  // Half transparent at the right; ImageMagick stores the 256-pixel image as PNG. It comes last:
  // an entry of width byte 0 is reached only as the last one.
  ASSERT_EQ(std::system(("convert -size 256x256 xc:'#C81E28' -fill '#0A5AFA' -draw 'rectangle 0,0 99,59' "
                         "-alpha set -channel A -fx 'i>=128?0:1' +channel -define icon:auto-resize=16,256 '" +
                         File.Path() + "' 2>/dev/null")
                            .c_str()),
            0);
  const std::vector<Byte> Bytes = File.Read();
  ASSERT_GE(Bytes.size(), 38u);
  ASSERT_EQ(LE(Bytes, 4, 2), 2u);
  for (Integer Index = 0; Index < 2; ++Index) {
    const Integer Side = Bytes[6 + 16 * static_cast<size_t>(Index)] == 0 ? 256 : 16;
    SCOPED_TRACE(Side);
    const std::string Rgba = ShellOutput("convert '" + File.Path() + "[" + std::to_string(Index) +
                                         "]' -depth 8 rgba:- 2>/dev/null");
    ASSERT_EQ(Rgba.size(), static_cast<size_t>(Side * Side * 4));
    auto R = ReadBack(Bytes, Index);
    ASSERT_FALSE(R->Aborted);
    ASSERT_EQ(R->Bitmap.GetWidth(), Side);
    ASSERT_EQ(R->Bitmap.GetHeight(), Side);
    const bool Png = LE(Bytes, LE(Bytes, 6 + 16 * static_cast<size_t>(Index) + 12, 4), 4) == 0x474E5089;
    EXPECT_EQ(Png, Side == 256);
    TIEBitmap* Alpha = R->Bitmap.HasAlphaChannel() ? R->Bitmap.GetAlphaChannel() : nullptr;
    ASSERT_TRUE(R->Alpha || Alpha);
    for (Integer Y = 0; Y < Side; ++Y)
      for (Integer X = 0; X < Side; ++X) {
        const auto* P = reinterpret_cast<const Byte*>(Rgba.data()) + 4 * (Y * Side + X);
        const Byte A =
            R->Alpha ? R->Alpha->GetScanline(Y)[X] : static_cast<const Byte*>(Alpha->GetScanline(Y))[X];
        ASSERT_EQ(A, P[3]) << X << "," << Y;
        if (P[3] != 0) {
          ASSERT_EQ(R->Bitmap.GetPixel24(X, Y), (TIERGBTriple{P[2], P[1], P[0]})) << X << "," << Y;
        }
      }
  }
}

}  // namespace
