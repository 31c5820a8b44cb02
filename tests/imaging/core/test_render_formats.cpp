#include <gtest/gtest.h>

#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iecolorspace.h"
#include "tests/imaging/core/RenderTestSupport.h"

using namespace RenderTest;

namespace {

// Draws the 2 x 1 Source unscaled over black and gives both pixels.
std::pair<TIERGBTriple, TIERGBTriple> Drawn(TIEBitmap* Source, Integer Transparency = 255) {
  auto Dest = MakeFilled(2, 1, Grey(0));
  Source->DrawToTIEBitmap(Dest.get(), 0, 0, 2, 1, 0, 0, 2, 1, Transparency, rfNone, 0);
  return {Dest->GetPixel24(0, 0), Dest->GetPixel24(1, 0)};
}

TIERGBTriple Half(TIERGBTriple C) {
  const auto H = [](Byte V) { return static_cast<Byte>((128 * V) >> 8); };
  return {H(C.rgbtBlue), H(C.rgbtGreen), H(C.rgbtRed)};
}

struct TFormatCase {
  const char* Name;
  TIEPixelFormat Format;
  void (*Fill)(TIEBitmap&);
  TIERGBTriple First, Second;
};

const TFormatCase Cases[] = {
    {"1g", ie1g, [](TIEBitmap& B) { static_cast<Byte*>(B.GetScanline(0))[0] = 0x40; }, Grey(0), Grey(255)},
    {"8g", ie8g,
     [](TIEBitmap& B) {
       B.SetPixel8(0, 0, 10);
       B.SetPixel8(1, 0, 250);
     },
     Grey(10), Grey(250)},
    {"8p", ie8p,
     [](TIEBitmap& B) {
       B.SetPaletteColor(3, Rgb(1, 2, 3));
       B.SetPaletteColor(200, Rgb(200, 100, 50));
       B.SetPixel8(0, 0, 3);
       B.SetPixel8(1, 0, 200);
     },
     Rgb(1, 2, 3), Rgb(200, 100, 50)},
    {"16g", ie16g,
     [](TIEBitmap& B) {
       B.SetPixel16(0, 0, 0x12FF);
       B.SetPixel16(1, 0, 0xFF00);
     },
     Grey(0x12), Grey(0xFF)},
    {"32f", ie32f,
     [](TIEBitmap& B) {
       B.SetPixel32f(0, 0, 0.5f);
       B.SetPixel32f(1, 0, 3.0f);  // past white: clamped, not wrapped
     },
     Grey(127), Grey(255)},
    {"RGB48", ieRGB48,
     [](TIEBitmap& B) {
       B.SetPixel48(0, 0, {0x1000, 0x20FF, 0x3080});
       B.SetPixel48(1, 0, {0xFFFF, 0, 0x8000});
     },
     Rgb(0x10, 0x20, 0x30), Rgb(0xFF, 0, 0x80)},
    {"32RGB", ie32RGB,
     [](TIEBitmap& B) {
       B.SetPixel32(0, 0, 0x11223344);
       B.SetPixel32(1, 0, 0xFF0000FF);
     },
     Rgb(0x22, 0x33, 0x44), Rgb(0, 0, 0xFF)},
    {"CMYK", ieCMYK,
     [](TIEBitmap& B) {
       B.SetPixel32(0, 0, 0xFFFFFFFF);  // no ink
       B.SetPixel32(1, 0, 0x00000000);  // all inks
     },
     Grey(255), Grey(0)},
};

}  // namespace

TEST(RenderFormats, OpaqueAndTransparentRendererOfEachFormat) {
  for (const TFormatCase& C : Cases) {
    TIEBitmap Source(2, 1, C.Format);
    Source.Fill(0);
    C.Fill(Source);
    const auto Opaque = Drawn(&Source);
    EXPECT_EQ(Opaque.first, C.First) << C.Name;
    EXPECT_EQ(Opaque.second, C.Second) << C.Name;
    const auto Mixed = Drawn(&Source, 128);
    EXPECT_EQ(Mixed.first, Half(C.First)) << C.Name;
    EXPECT_EQ(Mixed.second, Half(C.Second)) << C.Name;
  }
}

TEST(RenderFormats, CIELabThroughTheColourSpaceConversion) {
  TIEBitmap Source(2, 1, ieCIELab);
  const TIECIELabPixel A{128, 20, -30}, B{255, 0, 0};
  static_cast<TIECIELabPixel*>(Source.GetScanline(0))[0] = A;
  static_cast<TIECIELabPixel*>(Source.GetScanline(0))[1] = B;
  const auto Result = Drawn(&Source);
  EXPECT_EQ(Result.first, IECIELab2RGB(A));
  EXPECT_EQ(Result.second, IECIELab2RGB(B));
}

TEST(RenderFormats, DisplayRangesOfGreyFormats) {
  TIEBitmap Deep(2, 1, ie16g);
  Deep.SetPixel16(0, 0, 2048);
  Deep.SetPixel16(1, 0, 5000);
  Deep.SetRangeMin(0);
  Deep.SetRangeMax(4095);
  auto Result = Drawn(&Deep);
  EXPECT_EQ(Result.first, Grey(127));  // Trunc(2048 / 4095 x 255)
  EXPECT_EQ(Result.second, Grey(255));

  TIEBitmap Grey8(2, 1, ie8g);
  Grey8.SetPixel8(0, 0, 50);
  Grey8.SetPixel8(1, 0, 150);
  Grey8.SetRangeMin(100.7);  // integer samples clamp to the truncated bounds 100..200
  Grey8.SetRangeMax(200.7);
  Result = Drawn(&Grey8);
  EXPECT_EQ(Result.first, Grey(0));
  EXPECT_EQ(Result.second, Grey(127));  // Trunc(50 / 100 x 255)

  TIEBitmap Float(2, 1, ie32f);
  Float.SetPixel32f(0, 0, 0.25f);
  Float.SetPixel32f(1, 0, 0.75f);
  Float.SetRangeMin(0.25);
  Float.SetRangeMax(0.5);
  Result = Drawn(&Float);
  EXPECT_EQ(Result.first, Grey(0));
  EXPECT_EQ(Result.second, Grey(255));

  // ie24RGB with a range: the adjusted path maps every channel.
  auto Colour = MakeBitmap(2, 1, ie24RGB);
  Colour->SetPixel24(0, 0, Rgb(0, 64, 200));
  Colour->SetPixel24(1, 0, Grey(128));
  Colour->SetRangeMin(64);
  Colour->SetRangeMax(192);
  Result = Drawn(Colour.get());
  EXPECT_EQ(Result.first, Rgb(0, 0, 255));
  EXPECT_EQ(Result.second, Grey(127));  // Trunc(64 / 128 x 255)
}

TEST(RenderFormats, RGB48AdjustedWithTheFloatFactor) {
  TIEBitmap Source(2, 1, ieRGB48);
  Source.SetPixel48(0, 0, {0x9000, 0x7000, 0x8000});
  Source.SetPixel48(1, 0, {0x0100, 0xFF00, 0x8000});
  Source.SetContrast(10);             // F = 2
  Source.SetChannelOffset(2, 0x100);  // blue
  const auto Result = Drawn(&Source);
  // (w + offset - 32768) x 2 + 32768, shr 8, clamped.
  EXPECT_EQ(Result.first, Rgb(0xA0, 0x60, 0x82));
  EXPECT_EQ(Result.second, Rgb(0, 0xFF, 0x82));
}
