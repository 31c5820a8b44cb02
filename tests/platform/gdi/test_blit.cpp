#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "GdiTestUtil.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Palettes.h"
#include "platform/gdi/Regions.h"

namespace {

// The truth table applied bit by bit, as the platform documents it: result bit b is bit
// (4p + 2s + d) of the code, for the operands' bits b.
DWORD ExpectedRop(Byte Code, DWORD P, DWORD S, DWORD D) {
  DWORD R = 0;
  for (Integer B = 0; B < 32; ++B) {
    const Integer Index =
        static_cast<Integer>((((P >> B) & 1) << 2) | (((S >> B) & 1) << 1) | ((D >> B) & 1));
    R |= ((static_cast<DWORD>(Code) >> Index) & 1u) << B;
  }
  return R;
}

DWORD Raw(const TTestCanvas& C, Integer X, Integer Y = 0) {
  return GetRawPixel(C.Bitmap->Surface, X, Y);
}
void SetRaw(const TTestCanvas& C, Integer X, Integer Y, DWORD V) {
  PutRawPixel(C.Bitmap->Surface, X, Y, V);
}

// A monochrome device-dependent bitmap in its own memory DC; rows as strings of '0'/'1'.
struct TMonoCanvas {
  HDC DC;
  HBITMAP Bitmap;
  HGDIOBJ Old;
  TMonoCanvas(Integer W, Integer H) {
    DC = CreateCompatibleDC(nullptr);
    Bitmap = CreateBitmap(W, H, 1, 1, nullptr);
    Old = SelectObject(DC, Bitmap);
  }
  ~TMonoCanvas() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  void SetRow(Integer Y, const std::string& Bits) const {
    for (std::size_t X = 0; X < Bits.size(); ++X)
      PutRawPixel(Bitmap->Surface, static_cast<Integer>(X), Y, Bits[X] == '1');
  }
  std::string Row(Integer Y) const {
    std::string Out;
    for (Integer X = 0; X < Bitmap->Surface.Width; ++X) Out += GetRawPixel(Bitmap->Surface, X, Y) ? '1' : '0';
    return Out;
  }
};

// A 1-bit DIB section with its own two colours.
struct TOneBitDib {
  HDC DC;
  HBITMAP Bitmap;
  HGDIOBJ Old;
  TOneBitDib(Integer W, COLORREF C0, COLORREF C1) {
    BITMAPINFO Info;
    Info.bmiHeader.biWidth = W;
    Info.bmiHeader.biHeight = -1;
    Info.bmiHeader.biBitCount = 1;
    Info.bmiColors[0] = {GetBValue(C0), GetGValue(C0), GetRValue(C0), 0};
    Info.bmiColors[1] = {GetBValue(C1), GetGValue(C1), GetRValue(C1), 0};
    DC = CreateCompatibleDC(nullptr);
    Bitmap = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    Old = SelectObject(DC, Bitmap);
  }
  ~TOneBitDib() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
};

COLORREF Grey(Byte V) {
  return RGB(V, V, V);
}

}  // namespace

// ---- ROP3 ----

TEST(BitBltRop3, EveryCodeFollowsItsTruthTable) {
  // Eight pixels whose pattern, source and destination bits meet in every combination.
  const DWORD P[8] = {0x00000000, 0x00FFFFFF, 0x00F0F0F0, 0x00123456,
                      0x00A5A5A5, 0x000F0F0F, 0x00FF00FF, 0x003C3C3C};
  const DWORD S[8] = {0x00000000, 0xFFFFFFFF, 0xCCCCCCCC, 0x89ABCDEF,
                      0x5A5A5A5A, 0x00FF00FF, 0x12345678, 0xF0F0F0F0};
  const DWORD D[8] = {0xFFFFFFFF, 0x00000000, 0xAAAAAAAA, 0x13579BDF,
                      0x0F0F0F0F, 0xFF00FF00, 0x87654321, 0x33CC33CC};
  TTestCanvas Pat(8, 1), Src(8, 1), Dst(8, 1);
  for (Integer X = 0; X < 8; ++X) SetRaw(Pat, X, 0, P[X]), SetRaw(Src, X, 0, S[X]);
  const HBRUSH Brush = CreatePatternBrush(Pat.Bitmap);
  const HGDIOBJ OldBrush = SelectObject(Dst.DC, Brush);
  for (DWORD Code = 0; Code < 256; ++Code) {
    for (Integer X = 0; X < 8; ++X) SetRaw(Dst, X, 0, D[X]);
    ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 8, 1, Src.DC, 0, 0, Code << 16));
    for (Integer X = 0; X < 8; ++X)
      ASSERT_EQ(Raw(Dst, X), ExpectedRop(static_cast<Byte>(Code), P[X], S[X], D[X]))
          << "code " << Code << " x " << X;
  }
  SelectObject(Dst.DC, OldBrush);
  DeleteObject(Brush);
}

TEST(BitBltRop3, SolidBrushAndRawPixelsOfEveryFormat) {
  // Palette formats combine indices, the others their raw bits.
  struct TCase {
    Integer Bpp;
    COLORREF BrushColor;
  };
  const TCase Cases[] = {{1, 0xFFFFFF},      {4, 0x00FF00},
                         {8, 0x0000FF},      {16, RGB(0x12, 0x34, 0x56)},
                         {24, RGB(1, 2, 3)}, {32, RGB(0xC8, 0x64, 0x32)}};
  const Byte Codes[] = {0x66, 0xC0, 0x5A, 0xB8, 0x1D, 0xE2, 0xCC, 0x33, 0x00, 0xFF};
  for (const TCase& Case : Cases) {
    TTestCanvas Src(6, 1, Case.Bpp), Dst(6, 1, Case.Bpp);
    const TSurface& Surf = Dst.Bitmap->Surface;
    const DWORD Mask = Surf.PixelMask();
    const DWORD SrcRaw[6] = {0, Mask, 0x5A5A5A5A & Mask, 0x12345 & Mask, 0x3C3C3C & Mask, 1};
    const DWORD DstRaw[6] = {Mask, 0, 0x0F0F0F0F & Mask, 0xCAFE & Mask, 0x81 & Mask, 0};
    for (Integer X = 0; X < 6; ++X) SetRaw(Src, X, 0, SrcRaw[X]);
    const HBRUSH Brush = CreateSolidBrush(Case.BrushColor);
    const HGDIOBJ Old = SelectObject(Dst.DC, Brush);
    const DWORD PatRaw = ColorToPixel(Surf, Case.BrushColor);
    for (const Byte Code : Codes) {
      for (Integer X = 0; X < 6; ++X) SetRaw(Dst, X, 0, DstRaw[X]);
      ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 6, 1, Src.DC, 0, 0, static_cast<DWORD>(Code) << 16));
      for (Integer X = 0; X < 6; ++X)
        EXPECT_EQ(Raw(Dst, X), ExpectedRop(Code, PatRaw, SrcRaw[X], DstRaw[X]) & Mask)
            << Case.Bpp << " bpp, code " << Integer(Code) << ", x " << X;
    }
    SelectObject(Dst.DC, Old);
    DeleteObject(Brush);
  }
}

TEST(BitBltRop3, SourcelessCodesNeedNoSourceAndSourceCodesDo) {
  TTestCanvas Dst(4, 1, 32, RGB(1, 2, 3));
  EXPECT_TRUE(BitBlt(Dst.DC, 0, 0, 2, 1, nullptr, 0, 0, DSTINVERT));
  EXPECT_EQ(Raw(Dst, 0), 0x00FEFDFCu ^ 0xFF000000u);
  EXPECT_EQ(Dst.At(2, 0), RGB(1, 2, 3));
  EXPECT_TRUE(BitBlt(Dst.DC, 0, 0, 4, 1, nullptr, 0, 0, BLACKNESS));
  EXPECT_EQ(Raw(Dst, 3), 0u);
  EXPECT_FALSE(BitBlt(Dst.DC, 0, 0, 4, 1, nullptr, 0, 0, SRCCOPY));
}

TEST(BitBltRop3, PatternFollowsTheBrushOrigin) {
  TTestCanvas Pat(2, 1), Src(4, 1, 32, RGB(10, 20, 30)), Dst(4, 1, 32, 0);
  SetRaw(Pat, 0, 0, 0x00FFFFFF);  // white, then black
  SetRaw(Pat, 1, 0, 0);
  const HBRUSH Brush = CreatePatternBrush(Pat.Bitmap);
  const HGDIOBJ Old = SelectObject(Dst.DC, Brush);
  SetBrushOrgEx(Dst.DC, 1, 0, nullptr);
  ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, MERGECOPY));
  EXPECT_EQ(Dst.At(0, 0), 0u);  // pattern column (0 - 1) mod 2 = 1: black
  EXPECT_EQ(Dst.At(1, 0), RGB(10, 20, 30));
  EXPECT_EQ(Dst.At(2, 0), 0u);
  EXPECT_EQ(Dst.At(3, 0), RGB(10, 20, 30));
  SelectObject(Dst.DC, Old);
  DeleteObject(Brush);
}

// ---- Colour conversion ----

TEST(BitBltConversion, ColourToMonochromeMatchesTheSourceBackground) {
  TTestCanvas Src(5, 1);
  const DWORD Pixels[5] = {0x000A141E, 0x00010203, 0xFF0A141E, 0x00FFFFFF,
                           0x000A141F};  // alpha does not count
  for (Integer X = 0; X < 5; ++X) SetRaw(Src, X, 0, Pixels[X]);
  SetBkColor(Src.DC, RGB(0x0A, 0x14, 0x1E));
  TMonoCanvas Mono(5, 1);
  SetBkColor(Mono.DC, RGB(1, 2, 3));  // the destination's colours play no part
  SetTextColor(Mono.DC, RGB(0xFF, 0xFF, 0xFF));
  ASSERT_TRUE(BitBlt(Mono.DC, 0, 0, 5, 1, Src.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(Mono.Row(0), "10100");
}

TEST(BitBltConversion, MonochromeToColourTakesTheDestinationTextAndBackground) {
  TMonoCanvas Mono(4, 1);
  Mono.SetRow(0, "1001");
  SetTextColor(Mono.DC, RGB(9, 9, 9));  // the source's colours play no part
  SetBkColor(Mono.DC, RGB(8, 8, 8));
  for (const Integer Bpp : {32, 24, 16, 8}) {
    TTestCanvas Dst(4, 1, Bpp);
    SetTextColor(Dst.DC, RGB(255, 0, 0));
    SetBkColor(Dst.DC, RGB(0, 0, 255));
    ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 4, 1, Mono.DC, 0, 0, SRCCOPY));
    EXPECT_EQ(Dst.At(0, 0), RGB(0, 0, 255)) << Bpp;
    EXPECT_EQ(Dst.At(1, 0), RGB(255, 0, 0)) << Bpp;
    EXPECT_EQ(Dst.At(2, 0), RGB(255, 0, 0)) << Bpp;
    EXPECT_EQ(Dst.At(3, 0), RGB(0, 0, 255)) << Bpp;
  }
  // The mask idiom: black text, white background, SRCAND keeps the destination under 1 bits.
  TTestCanvas Dst(4, 1, 32, RGB(50, 60, 70));
  ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 4, 1, Mono.DC, 0, 0, SRCAND));
  EXPECT_EQ(Dst.At(0, 0), RGB(50, 60, 70));
  EXPECT_EQ(Dst.At(1, 0), 0u);
}

TEST(BitBltConversion, OneBitSurfacesExchangeBitsWithMonochromeBitmaps) {
  TMonoCanvas Mono(4, 1);
  Mono.SetRow(0, "1100");
  TOneBitDib Dib(4, RGB(255, 255, 255), RGB(0, 0, 0));  // colour table the other way round
  ASSERT_TRUE(BitBlt(Dib.DC, 0, 0, 4, 1, Mono.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(GetRawPixel(Dib.Bitmap->Surface, 0, 0), 1u);
  EXPECT_EQ(GetRawPixel(Dib.Bitmap->Surface, 2, 0), 0u);
  TMonoCanvas Back(4, 1);
  ASSERT_TRUE(BitBlt(Back.DC, 0, 0, 4, 1, Dib.DC, 0, 0, NOTSRCCOPY));
  EXPECT_EQ(Back.Row(0), "0011");
}

TEST(BitBltConversion, OneBitDibSectionsShowTheirColourTable) {
  TOneBitDib Dib(2, RGB(0, 128, 0), RGB(255, 255, 0));
  PutRawPixel(Dib.Bitmap->Surface, 1, 0, 1);
  TTestCanvas Dst(2, 1);
  SetTextColor(Dst.DC, RGB(255, 0, 0));
  ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 2, 1, Dib.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(Dst.At(0, 0), RGB(0, 128, 0));
  EXPECT_EQ(Dst.At(1, 0), RGB(255, 255, 0));
}

TEST(BitBltConversion, PaletteFormatsGoThroughTheirColourTables) {
  TTestCanvas Indexed(3, 1, 8);
  SetRaw(Indexed, 0, 0, 2);    // red in the test table
  SetRaw(Indexed, 1, 0, 3);    // green
  SetRaw(Indexed, 2, 0, 200);  // grey 200
  TTestCanvas Rgb(3, 1, 24);
  ASSERT_TRUE(BitBlt(Rgb.DC, 0, 0, 3, 1, Indexed.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(Rgb.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(Rgb.At(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(Rgb.At(2, 0), Grey(200));
  // Back into a palette: the nearest entry.
  SetRaw(Rgb, 0, 0, 0x00FA0505);  // RGB(250, 5, 5)
  TTestCanvas Back(3, 1, 8);
  ASSERT_TRUE(BitBlt(Back.DC, 0, 0, 3, 1, Rgb.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(Raw(Back, 0), 2u);
  EXPECT_EQ(Raw(Back, 1), 3u);
  EXPECT_EQ(Raw(Back, 2), 200u);
}

// ---- Overlap and clipping ----

TEST(BitBltOverlap, SelfCopyInEveryDirection) {
  struct TVariant {
    Integer Bpp;
    DWORD Rop;
    bool ComplexClip;
  };
  const TVariant Variants[] = {{32, SRCCOPY, false},   {24, SRCCOPY, false}, {4, SRCCOPY, false},
                               {32, SRCINVERT, false}, {32, SRCCOPY, true},  {8, NOTSRCCOPY, true}};
  const TPoint Shifts[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {2, 3}, {-3, -2}, {1, -1}, {-2, 2}};
  for (const TVariant& V : Variants)
    for (const TPoint& Shift : Shifts) {
      TTestCanvas C(10, 10, V.Bpp);
      const DWORD Mask = C.Bitmap->Surface.PixelMask();
      std::vector<DWORD> Orig(100);
      for (Integer Y = 0; Y < 10; ++Y)
        for (Integer X = 0; X < 10; ++X) {
          Orig[Y * 10 + X] = (0x10203 * (Y * 10 + X) + 7) & Mask;
          SetRaw(C, X, Y, Orig[Y * 10 + X]);
        }
      if (V.ComplexClip) ExcludeClipRect(C.DC, 4, 4, 6, 6);
      // Moves the 5 x 5 block at (3, 3).
      ASSERT_TRUE(BitBlt(C.DC, 3 + Shift.X, 3 + Shift.Y, 5, 5, C.DC, 3, 3, V.Rop));
      for (Integer Y = 0; Y < 10; ++Y)
        for (Integer X = 0; X < 10; ++X) {
          const bool InBlock = X >= 3 + Shift.X && X < 8 + Shift.X && Y >= 3 + Shift.Y && Y < 8 + Shift.Y;
          const bool Clipped = V.ComplexClip && X >= 4 && X < 6 && Y >= 4 && Y < 6;
          DWORD Want = Orig[Y * 10 + X];
          if (InBlock && !Clipped)
            Want = ExpectedRop(Rop3Index(V.Rop), 0, Orig[(Y - Shift.Y) * 10 + X - Shift.X], Want) & Mask;
          ASSERT_EQ(Raw(C, X, Y), Want)
              << V.Bpp << " bpp, shift " << Shift.X << "," << Shift.Y << " at " << X << "," << Y;
        }
    }
}

TEST(BitBltOverlap, WholeRowsOfBottomUpAndTopDownSurfaces) {
  // Full-width copies between surfaces of one layout move as one block of memory.
  for (const LONG Height : {6, -6}) {
    BITMAPINFO Info;
    Info.bmiHeader.biWidth = 3;
    Info.bmiHeader.biHeight = Height;
    Info.bmiHeader.biBitCount = 24;
    const HDC DC = CreateCompatibleDC(nullptr), Other = CreateCompatibleDC(nullptr);
    const HBITMAP B = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    const HBITMAP C = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    const HGDIOBJ OldB = SelectObject(DC, B), OldC = SelectObject(Other, C);
    const TSurface& S = B->Surface;
    const auto Value = [](Integer X, Integer Y) { return static_cast<DWORD>(0x10000 * Y + 0x100 * X + 1); };
    for (Integer Y = 0; Y < 6; ++Y)
      for (Integer X = 0; X < 3; ++X) PutRawPixel(S, X, Y, Value(X, Y));
    ASSERT_TRUE(BitBlt(Other, 0, 1, 3, 4, DC, 0, 2, SRCCOPY));
    EXPECT_EQ(GetRawPixel(C->Surface, 1, 0), 0u);
    EXPECT_EQ(GetRawPixel(C->Surface, 1, 1), Value(1, 2));
    EXPECT_EQ(GetRawPixel(C->Surface, 2, 4), Value(2, 5));
    EXPECT_EQ(GetRawPixel(C->Surface, 0, 5), 0u);
    // Down by two onto itself, then up by three.
    ASSERT_TRUE(BitBlt(DC, 0, 2, 3, 4, DC, 0, 0, SRCCOPY));
    for (Integer Y = 2; Y < 6; ++Y) EXPECT_EQ(GetRawPixel(S, 1, Y), Value(1, Y - 2)) << Height << " " << Y;
    ASSERT_TRUE(BitBlt(DC, 0, 0, 3, 3, DC, 0, 3, SRCCOPY));
    for (Integer Y = 0; Y < 3; ++Y) EXPECT_EQ(GetRawPixel(S, 2, Y), Value(2, Y + 1)) << Height << " " << Y;
    SelectObject(DC, OldB);
    SelectObject(Other, OldC);
    DeleteObject(B);
    DeleteObject(C);
    DeleteDC(DC);
    DeleteDC(Other);
  }
}

TEST(BitBltClip, WorldTransformsScaleOrFail) {
  TTestCanvas Src(2, 1), Dst(4, 2, 32, 0);
  SetRaw(Src, 0, 0, 0x111111), SetRaw(Src, 1, 0, 0x222222);
  SetGraphicsMode(Dst.DC, GM_ADVANCED);
  XFORM Scale;
  Scale.eM11 = 2, Scale.eM22 = 2;
  SetWorldTransform(Dst.DC, &Scale);
  // The destination rectangle is twice the size: the transfer stretches.
  ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 2, 1, Src.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(Raw(Dst, 1, 1), 0x111111u);
  EXPECT_EQ(Raw(Dst, 2, 0), 0x222222u);
  TMonoCanvas Mask(2, 1);
  EXPECT_FALSE(MaskBlt(Dst.DC, 0, 0, 2, 1, Src.DC, 0, 0, Mask.Bitmap, 0, 0, MAKEROP4(SRCCOPY, SRCINVERT)));
  XFORM Shear;
  Shear.eM21 = 0.5f;
  SetWorldTransform(Dst.DC, &Shear);
  EXPECT_FALSE(BitBlt(Dst.DC, 0, 0, 2, 1, Src.DC, 0, 0, SRCCOPY));
}

TEST(BitBltClip, DestinationClipAndSourceBounds) {
  TTestCanvas Src(4, 1, 32, RGB(200, 0, 0));
  {
    TTestCanvas Dst(4, 1, 32, 0);
    IntersectClipRect(Dst.DC, 1, 0, 3, 1);
    ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, SRCCOPY));
    EXPECT_EQ(Dst.Picture(RGB(200, 0, 0), 0), TTestCanvas::Rows({"#..#"}));
    ASSERT_TRUE(StretchBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, 2, 1, NOTSRCCOPY));
    EXPECT_EQ(Dst.At(1, 0), RGB(55, 255, 255));
    EXPECT_EQ(Dst.At(0, 0), 0u);
  }
  {
    // Source columns -2 and -1 do not exist: their destination stays.
    TTestCanvas Dst(4, 1, 32, 0);
    ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 4, 1, Src.DC, -2, 0, SRCCOPY));
    EXPECT_EQ(Dst.Picture(RGB(200, 0, 0), 0), TTestCanvas::Rows({"##.."}));
    ASSERT_TRUE(StretchBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 3, 0, 2, 1, DSTINVERT));
    EXPECT_EQ(Raw(Dst, 0), 0xFFFFFFFFu);  // no source: all four inverted
  }
  {
    // Window and viewport origins move the destination.
    TTestCanvas Dst(4, 1, 32, 0);
    SetViewportOrgEx(Dst.DC, 2, 0, nullptr);
    ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, SRCCOPY));
    EXPECT_EQ(Dst.Picture(RGB(200, 0, 0), 0), TTestCanvas::Rows({"##.."}));
  }
}

// ---- StretchBlt ----

namespace {

// Source column of destination column I, the documented rule.
Integer MapColumn(Integer I, Integer SrcCount, Integer DstCount, bool Mirror) {
  const Integer C = static_cast<Integer>(static_cast<Int64>(I) * SrcCount / DstCount);
  return Mirror ? SrcCount - 1 - C : C;
}

struct TStretchCase {
  Integer Src, Dst;
  bool DstNegative, SrcNegative;
};
const TStretchCase StretchCases[] = {{10, 4, false, false}, {3, 7, false, false}, {7, 3, false, false},
                                     {5, 5, true, false},   {4, 10, true, false}, {6, 4, false, true},
                                     {6, 4, true, true},    {1, 5, false, false}, {9, 1, false, false}};

}  // namespace

TEST(StretchBltMap, ColumnsAndRowsFollowTheDda) {
  struct TFormats {
    Integer SrcBpp, DstBpp;
  };
  for (const TFormats F :
       {TFormats{32, 32}, TFormats{24, 24}, TFormats{24, 32}, TFormats{8, 8}, TFormats{4, 24}})
    for (const TStretchCase& K : StretchCases) {
      const bool Mirror = K.DstNegative != K.SrcNegative;
      // Columns.
      TTestCanvas Src(K.Src, 1, F.SrcBpp), Dst(K.Dst, 1, F.DstBpp);
      for (Integer X = 0; X < K.Src; ++X) SetRaw(Src, X, 0, static_cast<DWORD>(X + 1));
      SetStretchBltMode(Dst.DC, COLORONCOLOR);
      ASSERT_TRUE(StretchBlt(Dst.DC, K.DstNegative ? K.Dst : 0, 0, K.DstNegative ? -K.Dst : K.Dst, 1, Src.DC,
                             K.SrcNegative ? K.Src : 0, 0, K.SrcNegative ? -K.Src : K.Src, 1, SRCCOPY));
      for (Integer X = 0; X < K.Dst; ++X)
        ASSERT_EQ(Dst.At(X, 0), Src.At(MapColumn(X, K.Src, K.Dst, Mirror), 0))
            << F.SrcBpp << "->" << F.DstBpp << " " << K.Src << "->" << K.Dst << " column " << X;
      // Rows, with repeated rows copied.
      TTestCanvas SrcV(2, K.Src, F.SrcBpp), DstV(2, K.Dst, F.DstBpp);
      for (Integer Y = 0; Y < K.Src; ++Y)
        SetRaw(SrcV, 0, Y, static_cast<DWORD>(Y + 1)), SetRaw(SrcV, 1, Y, 0);
      SetStretchBltMode(DstV.DC, COLORONCOLOR);
      ASSERT_TRUE(StretchBlt(DstV.DC, 0, K.DstNegative ? K.Dst : 0, 2, K.DstNegative ? -K.Dst : K.Dst,
                             SrcV.DC, 0, K.SrcNegative ? K.Src : 0, 2, K.SrcNegative ? -K.Src : K.Src,
                             SRCCOPY));
      for (Integer Y = 0; Y < K.Dst; ++Y)
        ASSERT_EQ(DstV.At(0, Y), SrcV.At(0, MapColumn(Y, K.Src, K.Dst, Mirror)))
            << F.SrcBpp << "->" << F.DstBpp << " " << K.Src << "->" << K.Dst << " row " << Y;
    }
}

TEST(StretchBltMap, GrowsInBothAxesWithARasterOperation) {
  TTestCanvas Src(3, 3), Dst(7, 5, 32, RGB(0x0F, 0xF0, 0x3C));
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 3; ++X) SetRaw(Src, X, Y, static_cast<DWORD>(0x10000 * Y + 0x100 * X + 0x55));
  SetStretchBltMode(Dst.DC, COLORONCOLOR);
  ASSERT_TRUE(StretchBlt(Dst.DC, 0, 0, 7, 5, Src.DC, 0, 0, 3, 3, SRCINVERT));
  for (Integer Y = 0; Y < 5; ++Y)
    for (Integer X = 0; X < 7; ++X)
      ASSERT_EQ(Raw(Dst, X, Y), Raw(Src, MapColumn(X, 3, 7, false), MapColumn(Y, 3, 5, false)) ^ 0x000FF03C)
          << X << "," << Y;
}

TEST(StretchBltHalftone, AveragesTheCoveredSourcePixels) {
  struct TCase {
    std::vector<Byte> Src;
    std::vector<Byte> Want;
  };
  // 2:1 averages (halves round up), 3:1 with weights 1365/1366/1365, 1:2 duplicates,
  // 2:3 blends the straddled pixel, 5:2 covers two and a half pixels each.
  const TCase Cases[] = {{{0, 100, 200, 255}, {50, 228}},
                         {{30, 60, 90, 0, 0, 3}, {60, 1}},
                         {{10, 250}, {10, 10, 250, 250}},
                         {{0, 200}, {0, 100, 200}},
                         {{0, 100, 200, 40, 60}, {80, 80}}};
  for (const TCase& K : Cases) {
    const Integer N = static_cast<Integer>(K.Src.size()), M = static_cast<Integer>(K.Want.size());
    TTestCanvas Src(N, 1, 24), Dst(M, 1, 24);
    for (Integer X = 0; X < N; ++X) SetRaw(Src, X, 0, ColorToPixel(Src.Bitmap->Surface, Grey(K.Src[X])));
    SetStretchBltMode(Dst.DC, HALFTONE);
    ASSERT_TRUE(StretchBlt(Dst.DC, 0, 0, M, 1, Src.DC, 0, 0, N, 1, SRCCOPY));
    for (Integer X = 0; X < M; ++X) EXPECT_EQ(Dst.At(X, 0), Grey(K.Want[X])) << N << "->" << M << " at " << X;
  }
  // Both axes: (0 + 100 + 200 + 255) / 4 = 138.75.
  TTestCanvas Src(2, 2), Dst(1, 1);
  SetRaw(Src, 0, 0, 0x00000000), SetRaw(Src, 1, 0, 0x00646464), SetRaw(Src, 0, 1, 0x00C8C8C8);
  SetRaw(Src, 1, 1, 0x80FFFFFF);
  SetStretchBltMode(Dst.DC, HALFTONE);
  ASSERT_TRUE(StretchBlt(Dst.DC, 0, 0, 1, 1, Src.DC, 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(Raw(Dst, 0), 0x208B8B8Bu);  // alpha averaged too: 128 / 4
}

TEST(StretchBltScans, BlackOnWhiteAndWhiteOnBlackCombineEliminatedPixels) {
  struct TCase {
    Integer Mode;
    const char* Want;
  };
  const TCase Cases[] = {{BLACKONWHITE, "0110"}, {WHITEONBLACK, "1111"}, {COLORONCOLOR, "1110"}};
  for (const TCase& K : Cases) {
    TMonoCanvas Src(8, 1), Dst(4, 1);
    Src.SetRow(0, "10111101");
    SetStretchBltMode(Dst.DC, K.Mode);
    ASSERT_TRUE(StretchBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, 8, 1, SRCCOPY));
    EXPECT_EQ(Dst.Row(0), K.Want) << K.Mode;
  }
  // Rows: a 1-pixel black line survives halving under BLACKONWHITE only.
  for (const Integer Mode : {BLACKONWHITE, WHITEONBLACK}) {
    TMonoCanvas Src(3, 4), Dst(3, 2);
    for (Integer Y = 0; Y < 4; ++Y) Src.SetRow(Y, Y == 1 ? "000" : "111");
    SetStretchBltMode(Dst.DC, Mode);
    ASSERT_TRUE(StretchBlt(Dst.DC, 0, 0, 3, 2, Src.DC, 0, 0, 3, 4, SRCCOPY));
    EXPECT_EQ(Dst.Row(0), Mode == BLACKONWHITE ? "000" : "111");
    EXPECT_EQ(Dst.Row(1), "111");
  }
  // Mirrored: the ranges are mirrored with the columns.
  TMonoCanvas Src(6, 1), Dst(3, 1);
  Src.SetRow(0, "011111");
  SetStretchBltMode(Dst.DC, BLACKONWHITE);
  ASSERT_TRUE(StretchBlt(Dst.DC, 3, 0, -3, 1, Src.DC, 0, 0, 6, 1, SRCCOPY));
  EXPECT_EQ(Dst.Row(0), "110");
}

TEST(StretchBltErrors, ZeroSourceFailsAndZeroDestinationDoesNothing) {
  TTestCanvas Src(2, 2), Dst(2, 2, 32, 0);
  EXPECT_FALSE(StretchBlt(Dst.DC, 0, 0, 2, 2, Src.DC, 0, 0, 0, 2, SRCCOPY));
  EXPECT_TRUE(StretchBlt(Dst.DC, 0, 0, 0, 2, Src.DC, 0, 0, 2, 2, SRCCOPY));
  EXPECT_FALSE(StretchBlt(Dst.DC, 0, 0, 2, 2, nullptr, 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(Dst.At(0, 0), 0u);
}

// ---- DIBs ----

TEST(StretchDIBits, BottomUpAndTopDownSourcesStayUpright) {
  // A 2 x 3 24-bit DIB: rows top to bottom red, green, blue.
  const COLORREF Rows[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  for (const bool BottomUp : {true, false}) {
    BITMAPINFO Info;
    Info.bmiHeader.biWidth = 2;
    Info.bmiHeader.biHeight = BottomUp ? 3 : -3;
    Info.bmiHeader.biBitCount = 24;
    std::vector<Byte> Bits(8 * 3);
    for (Integer Y = 0; Y < 3; ++Y) {
      Byte* Row = Bits.data() + (BottomUp ? 2 - Y : Y) * 8;
      for (Integer X = 0; X < 2; ++X) {
        Row[X * 3] = GetBValue(Rows[Y]), Row[X * 3 + 1] = GetGValue(Rows[Y]),
                Row[X * 3 + 2] = GetRValue(Rows[Y]);
      }
    }
    TTestCanvas Dst(2, 6, 32, 0);
    SetStretchBltMode(Dst.DC, COLORONCOLOR);
    EXPECT_EQ(StretchDIBits(Dst.DC, 0, 0, 2, 6, 0, 0, 2, 3, Bits.data(), &Info, DIB_RGB_COLORS, SRCCOPY), 3);
    for (Integer Y = 0; Y < 6; ++Y) EXPECT_EQ(Dst.At(1, Y), Rows[Y / 2]) << BottomUp << " " << Y;
    // The source rectangle's y counts from the bottom of a bottom-up DIB.
    TTestCanvas One(1, 1, 32, 0);
    EXPECT_EQ(StretchDIBits(One.DC, 0, 0, 1, 1, 0, 0, 1, 1, Bits.data(), &Info, DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(One.At(0, 0), BottomUp ? Rows[2] : Rows[0]);
  }
}

TEST(StretchDIBits, PaletteIndicesAndErrors) {
  BITMAPINFO Info;
  Info.bmiHeader.biWidth = 2;
  Info.bmiHeader.biHeight = -1;
  Info.bmiHeader.biBitCount = 8;
  Info.bmiHeader.biClrUsed = 2;
  const WORD Indices[2] = {13, 1};  // default palette: 13 is green (0, 255, 0), 1 dark red
  std::memcpy(Info.bmiColors, Indices, sizeof(Indices));
  const Byte Bits[4] = {1, 0, 0, 0};
  TTestCanvas Dst(2, 1, 32, 0);
  EXPECT_EQ(StretchDIBits(Dst.DC, 0, 0, 2, 1, 0, 0, 2, 1, Bits, &Info, DIB_PAL_COLORS, SRCCOPY), 1);
  const PALETTEENTRY* Default = DefaultPaletteEntries();
  EXPECT_EQ(Dst.At(0, 0), RGB(Default[1].peRed, Default[1].peGreen, Default[1].peBlue));
  EXPECT_EQ(Dst.At(1, 0), RGB(Default[13].peRed, Default[13].peGreen, Default[13].peBlue));
  Info.bmiHeader.biCompression = BI_RLE8;
  EXPECT_EQ(StretchDIBits(Dst.DC, 0, 0, 2, 1, 0, 0, 2, 1, Bits, &Info, DIB_RGB_COLORS, SRCCOPY), 0);
  Info.bmiHeader.biCompression = BI_RGB;
  EXPECT_EQ(StretchDIBits(Dst.DC, 0, 0, 2, 1, 0, 0, 2, 1, nullptr, &Info, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST(SetDIBitsToDevice, DrawsTheGivenScanLinesOnly) {
  // A 1 x 4 bottom-up 32-bit DIB; the caller passes scan lines 1 and 2 (from the bottom).
  BITMAPINFO Info;
  Info.bmiHeader.biWidth = 1;
  Info.bmiHeader.biHeight = 4;
  Info.bmiHeader.biBitCount = 32;
  const DWORD Scans[2] = {0x00000011, 0x00000022};  // scan 1, scan 2
  TTestCanvas Dst(1, 4, 32, RGB(1, 1, 1));
  EXPECT_EQ(SetDIBitsToDevice(Dst.DC, 0, 0, 1, 4, 0, 0, 1, 2, Scans, &Info, DIB_RGB_COLORS), 2);
  // Device rows top to bottom show scans 3, 2, 1, 0: only rows 1 and 2 are given.
  EXPECT_EQ(Dst.At(0, 0), RGB(1, 1, 1));
  EXPECT_EQ(Raw(Dst, 0, 1), 0x22u);
  EXPECT_EQ(Raw(Dst, 0, 2), 0x11u);
  EXPECT_EQ(Dst.At(0, 3), RGB(1, 1, 1));
}

// ---- MaskBlt ----

TEST(MaskBlt, MaskBitsChooseForegroundOrBackgroundCode) {
  TMonoCanvas Mask(4, 1);
  Mask.SetRow(0, "1010");
  TTestCanvas Src(4, 1, 32, RGB(200, 100, 50));
  struct TCase {
    DWORD Rop4;
    const char* Want;  // '#' source, '.' destination
  };
  const TCase Cases[] = {{MAKEROP4(SRCCOPY, 0x00AA0029), "#.#."}, {MAKEROP4(0x00AA0029, SRCCOPY), ".#.#"}};
  for (const TCase& K : Cases) {
    TTestCanvas Dst(4, 1, 32, RGB(1, 2, 3));
    ASSERT_TRUE(MaskBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, Mask.Bitmap, 0, 0, K.Rop4));
    EXPECT_EQ(Dst.Picture(RGB(1, 2, 3), RGB(200, 100, 50)), TTestCanvas::Rows({K.Want}));
  }
  // Mask offset, and a pattern code on the background.
  TTestCanvas Dst(3, 1, 32, RGB(1, 2, 3));
  SelectObject(Dst.DC, GetStockObject(BLACK_BRUSH));
  ASSERT_TRUE(MaskBlt(Dst.DC, 0, 0, 3, 1, Src.DC, 0, 0, Mask.Bitmap, 1, 0, MAKEROP4(SRCCOPY, PATCOPY)));
  EXPECT_EQ(Dst.Picture(0, RGB(200, 100, 50)), TTestCanvas::Rows({".#."}));
  // Only 1-bit masks.
  EXPECT_FALSE(MaskBlt(Dst.DC, 0, 0, 3, 1, Src.DC, 0, 0, Src.Bitmap, 0, 0, MAKEROP4(SRCCOPY, PATCOPY)));
}

// ---- TransparentBlt ----

TEST(TransparentBlt, KeyColourPixelsKeepTheDestination) {
  const COLORREF Key = RGB(0x7F, 0, 0x7F), A = RGB(10, 20, 30), B = RGB(40, 50, 60);
  TTestCanvas Src(4, 1);
  const COLORREF Pixels[4] = {Key, A, Key, B};
  for (Integer X = 0; X < 4; ++X) SetRaw(Src, X, 0, ColorToPixel(Src.Bitmap->Surface, Pixels[X]));
  TTestCanvas Dst(8, 1, 24, Grey(99));
  ASSERT_TRUE(TransparentBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, 4, 1, Key));
  EXPECT_EQ(Dst.At(0, 0), Grey(99));
  EXPECT_EQ(Dst.At(1, 0), A);
  EXPECT_EQ(Dst.At(2, 0), Grey(99));
  EXPECT_EQ(Dst.At(3, 0), B);
  // Stretched by nearest neighbour.
  TTestCanvas Wide(8, 1, 32, Grey(99));
  ASSERT_TRUE(TransparentBlt(Wide.DC, 0, 0, 8, 1, Src.DC, 0, 0, 4, 1, Key));
  const COLORREF Want[8] = {Grey(99), Grey(99), A, A, Grey(99), Grey(99), B, B};
  for (Integer X = 0; X < 8; ++X) EXPECT_EQ(Wide.At(X, 0), Want[X]) << X;
  EXPECT_FALSE(TransparentBlt(Wide.DC, 4, 0, -4, 1, Src.DC, 0, 0, 4, 1, Key));
  // Palette sources compare colours.
  TTestCanvas Indexed(2, 1, 8);
  SetRaw(Indexed, 0, 0, 2), SetRaw(Indexed, 1, 0, 3);  // red, green
  TTestCanvas Target(2, 1, 32, 0);
  ASSERT_TRUE(TransparentBlt(Target.DC, 0, 0, 2, 1, Indexed.DC, 0, 0, 2, 1, RGB(255, 0, 0)));
  EXPECT_EQ(Target.At(0, 0), 0u);
  EXPECT_EQ(Target.At(1, 0), RGB(0, 255, 0));
}

// ---- AlphaBlend ----

TEST(AlphaBlend, ConstantAlphaRoundsToNearest) {
  TTestCanvas Src(2, 1), Dst(2, 1);
  SetRaw(Src, 0, 0, 0x00C8C8C8), SetRaw(Src, 1, 0, 0xFF000000);
  SetRaw(Dst, 0, 0, 0xFF646464), SetRaw(Dst, 1, 0, 0x00FFFFFF);
  ASSERT_TRUE(AlphaBlend(Dst.DC, 0, 0, 2, 1, Src.DC, 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0}));
  // (200 * 128 + 100 * 127 + 127) div 255 = 150; alpha (0 * 128 + 255 * 127 + 127) div 255 = 127.
  EXPECT_EQ(Raw(Dst, 0), 0x7F969696u);
  // (0 * 128 + 255 * 127 + 127) div 255 = 127; alpha (255 * 128 + 0 + 127) div 255 = 128.
  EXPECT_EQ(Raw(Dst, 1), 0x807F7F7Fu);
}

TEST(AlphaBlend, PerPixelPremultipliedAlpha) {
  TTestCanvas Src(4, 1), Dst(4, 1);
  const DWORD S[4] = {0x80404040, 0xFF102030, 0x00000000, 0x80FFFFFF};
  for (Integer X = 0; X < 4; ++X) SetRaw(Src, X, 0, S[X]), SetRaw(Dst, X, 0, 0xFFC8C8C8);
  ASSERT_TRUE(
      AlphaBlend(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, 4, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(Raw(Dst, 0), 0xFFA4A4A4u);  // 64 + (200 * 127 + 127) div 255 = 164; 128 + 127 = 255
  EXPECT_EQ(Raw(Dst, 1), 0xFF102030u);  // opaque: the source
  EXPECT_EQ(Raw(Dst, 2), 0xFFC8C8C8u);  // transparent: unchanged
  EXPECT_EQ(Raw(Dst, 3), 0xFFFFFFFFu);  // not premultiplied: saturates
  // With constant alpha 128: s' = (64 * 128 + 127) div 255 = 32, a' = 64,
  // d = 32 + (200 * 191 + 127) div 255 = 182; alpha 64 + (255 * 191 + 127) div 255 = 255.
  for (Integer X = 0; X < 4; ++X) SetRaw(Dst, X, 0, 0xFFC8C8C8);
  ASSERT_TRUE(
      AlphaBlend(Dst.DC, 0, 0, 1, 1, Src.DC, 0, 0, 1, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA}));
  EXPECT_EQ(Raw(Dst, 0), 0xFFB6B6B6u);
}

TEST(AlphaBlend, StretchesOtherDestinationsAndRejectsBadCalls) {
  TTestCanvas Src(2, 1), Dst(4, 1, 24, Grey(200));
  SetRaw(Src, 0, 0, 0xFF0000FF), SetRaw(Src, 1, 0, 0x00000000);
  ASSERT_TRUE(
      AlphaBlend(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(Dst.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(Dst.At(1, 0), RGB(0, 0, 255));
  EXPECT_EQ(Dst.At(2, 0), Grey(200));
  EXPECT_EQ(Dst.At(3, 0), Grey(200));
  const BLENDFUNCTION PerPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  EXPECT_FALSE(AlphaBlend(Src.DC, 0, 0, 1, 1, Dst.DC, 0, 0, 1, 1, PerPixel));  // 24-bit source
  EXPECT_TRUE(AlphaBlend(Src.DC, 0, 0, 1, 1, Dst.DC, 0, 0, 1, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
  EXPECT_FALSE(AlphaBlend(Dst.DC, 0, 0, 2, 1, Src.DC, 1, 0, 2, 1, PerPixel));   // source outside
  EXPECT_FALSE(AlphaBlend(Dst.DC, 2, 0, -2, 1, Src.DC, 0, 0, 2, 1, PerPixel));  // negative extent
  EXPECT_FALSE(AlphaBlend(Dst.DC, 0, 0, 2, 1, Src.DC, 0, 0, 2, 1, BLENDFUNCTION{1, 0, 255, 0}));
}

// ---- GradientFill ----

TEST(GradientFill, RectanglesRunFromEdgeToEdge) {
  TTestCanvas Dst(256, 4, 32, 0);
  TRIVERTEX V[2];
  V[0].x = 0, V[0].y = 0, V[0].Red = 0x0000, V[0].Alpha = 0xFF00;
  V[1].x = 256, V[1].y = 2, V[1].Red = 0xFF00, V[1].Blue = 0x8000;
  GRADIENT_RECT R{0, 1};
  ASSERT_TRUE(GradientFill(Dst.DC, V, 2, &R, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(Raw(Dst, 0, 0), 0xFF000000u);    // the left vertex exactly
  EXPECT_EQ(Raw(Dst, 128, 1), 0x7F7F0040u);  // halfway: red 0x7F80, blue 0x4000, alpha 0x7F80
  EXPECT_EQ(Raw(Dst, 255, 0), 0x00FE007Fu);  // one step short of the right vertex
  EXPECT_EQ(Raw(Dst, 10, 2), 0u);            // bottom edge outside
  // Vertical, vertices given bottom first: the colours follow the vertices.
  TTestCanvas Col(1, 4, 24, 0);
  TRIVERTEX W[2];
  W[0].x = 1, W[0].y = 4, W[0].Green = 0xFF00;
  W[1].x = 0, W[1].y = 0;
  ASSERT_TRUE(GradientFill(Col.DC, W, 2, &R, 1, GRADIENT_FILL_RECT_V));
  EXPECT_EQ(Col.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(Col.At(0, 2), RGB(0, 0x7F, 0));
  EXPECT_EQ(Col.At(0, 3), RGB(0, 0xBF, 0));
  GRADIENT_RECT Bad{0, 2};
  EXPECT_FALSE(GradientFill(Col.DC, W, 2, &Bad, 1, GRADIENT_FILL_RECT_V));
  EXPECT_FALSE(GradientFill(Col.DC, W, 2, &R, 1, 7));
}

TEST(GradientFill, TrianglesInterpolateBarycentrically) {
  TTestCanvas Dst(32, 32, 32, 0x00FFFFFF);
  TRIVERTEX V[3];
  V[0].x = 0, V[0].y = 0, V[0].Red = 0xFF00;
  V[1].x = 30, V[1].y = 0, V[1].Green = 0xFF00;
  V[2].x = 0, V[2].y = 30, V[2].Blue = 0xFF00;
  GRADIENT_TRIANGLE T{0, 1, 2};
  ASSERT_TRUE(GradientFill(Dst.DC, V, 3, &T, 1, GRADIENT_FILL_TRIANGLE));
  EXPECT_EQ(Dst.At(0, 0), RGB(0xFF, 0, 0));
  EXPECT_EQ(Dst.At(10, 10), RGB(0x55, 0x55, 0x55));  // the centroid: a third each
  EXPECT_EQ(Dst.At(15, 0), RGB(0x7F, 0x7F, 0));      // halfway along the top edge
  EXPECT_EQ(Dst.At(20, 20), RGB(255, 255, 255));     // outside
  EXPECT_EQ(Dst.At(28, 0), RGB(0x11, 0xEE, 0));      // last pixel of the top row: 2/30 and 28/30
  EXPECT_EQ(Dst.At(29, 0), RGB(255, 255, 255));      // its centre lies on the right edge
}

TEST(GradientFill, HonoursTheClip) {
  TTestCanvas Dst(4, 1, 32, 0);
  IntersectClipRect(Dst.DC, 1, 0, 2, 1);
  TRIVERTEX V[2];
  V[1].x = 4, V[1].y = 1, V[1].Red = 0xFF00, V[1].Green = 0xFF00, V[1].Blue = 0xFF00;
  GRADIENT_RECT R{0, 1};
  ASSERT_TRUE(GradientFill(Dst.DC, V, 2, &R, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(Dst.At(0, 0), 0u);
  EXPECT_EQ(Dst.At(1, 0), Grey(0x3F));
  EXPECT_EQ(Dst.At(2, 0), 0u);
}

TEST(AlphaBlend, ManyPixelsFollowTheFormula) {
  // Pseudo-random pixels through both formats and several constant alphas, against the
  // documented formulas evaluated here channel by channel.
  constexpr Integer N = 512;
  TTestCanvas Src(N, 1), Dst(N, 1);
  std::vector<DWORD> S(N), D(N);
  DWORD Seed = 12345;
  const auto Next = [&Seed] { return Seed = Seed * 1103515245u + 12345u, Seed ^ (Seed >> 16); };
  for (const Byte Format : {Byte(0), AC_SRC_ALPHA})
    for (const Byte A : {Byte(0), Byte(1), Byte(77), Byte(128), Byte(254), Byte(255)}) {
      for (Integer X = 0; X < N; ++X) {
        S[X] = Next(), D[X] = Next();
        if (X % 7 == 0) S[X] |= 0xFF000000u;  // some opaque and some empty pixels
        if (X % 11 == 0) S[X] = 0;
        SetRaw(Src, X, 0, S[X]), SetRaw(Dst, X, 0, D[X]);
      }
      ASSERT_TRUE(
          AlphaBlend(Dst.DC, 0, 0, N, 1, Src.DC, 0, 0, N, 1, BLENDFUNCTION{AC_SRC_OVER, 0, A, Format}));
      for (Integer X = 0; X < N; ++X) {
        DWORD Want = 0;
        const DWORD SA = ((S[X] >> 24) * A + 127) / 255;
        for (Integer Shift = 0; Shift < 32; Shift += 8) {
          const DWORD Sc = (S[X] >> Shift) & 0xFF, Dc = (D[X] >> Shift) & 0xFF;
          DWORD V;
          if (Format == 0)
            V = (Sc * A + Dc * (255 - A) + 127) / 255;
          else
            V = std::min<DWORD>(255, (Sc * A + 127) / 255 + (Dc * (255 - SA) + 127) / 255);
          Want |= V << Shift;
        }
        ASSERT_EQ(Raw(Dst, X), Want) << "format " << Integer(Format) << " alpha " << Integer(A) << " pixel "
                                     << X;
      }
    }
}
