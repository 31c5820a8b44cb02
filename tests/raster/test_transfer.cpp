// Block and stretch transfer: entry point checks, row copies, nearest, linear, kernel and box
// scaling, draw modes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/RS32.h"
#include "raster/RS32_Blend.h"
#include "raster/RS32_Resamplers.h"

namespace {
// Pixel (X, Y) = 0xFF000000 + Y * 256 + X: every pixel tells where it came from.
void FillPositions(TBitmap32& B, Integer W, Integer H) {
  B.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) *B.PixelAddress(X, Y) = 0xFF000000u + Y * 256 + X;
}

std::vector<Integer> SourceColumns(const TBitmap32& B, Integer Y) {
  std::vector<Integer> Columns;
  for (Integer X = 0; X < B.GetWidth(); ++X) Columns.push_back(static_cast<Integer>(B.Pixel(X, Y) & 0xFF));
  return Columns;
}

class TAreaLog : public TObject {
 public:
  void Area(TObject*, const TRect& R, Cardinal) { Areas.push_back(R); }
  std::vector<TRect> Areas;
};

const TPixelCombineEvent NoCallback;
}  // namespace

TEST(RasterTransfer, NearestColumnMapsUseSinglePrecisionRatios) {
  struct TCase {
    Integer SrcW, DstW;
    std::vector<Integer> Columns;
  };
  // 14/20 held as single is 0.69999998..., so column 10 maps to 6, not 7.
  const TCase Cases[] = {
      {14, 20, {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7, 8, 9, 9, 10, 11, 11, 12, 13}},
      {2, 5, {0, 0, 0, 1, 1}},
      {5, 1, {2}},  // a 1-pixel-wide target takes the middle column
      {6, 3, {0, 2, 4}},
  };
  for (const TCase& C : Cases) {
    TBitmap32 Src, Dst;
    FillPositions(Src, C.SrcW, 1);
    Dst.SetSize(C.DstW, 1);
    Src.DrawInto(&Dst, Dst.BoundsRect());
    EXPECT_EQ(SourceColumns(Dst, 0), C.Columns) << C.SrcW << " -> " << C.DstW;
  }
}

TEST(RasterTransfer, NearestClippedTargetMapsFromTheFullRectangle) {
  TBitmap32 Src, Dst;
  FillPositions(Src, 14, 3);
  Dst.SetSize(8, 6);
  Dst.SetClipRect(MakeRect(2, 1, 6, 5));
  ScaledTransfer(&Dst, MakeRect(-10, 0, 10, 6), Dst.GetClipRect(), &Src, Src.BoundsRect(), Src.GetResampler(),
                 dmOpaque, NoCallback);
  // Columns 2..5 of the target are columns 12..15 of the 20-wide stretch; rows are doubled.
  for (Integer Y = 1; Y < 5; ++Y) {
    const std::vector<Integer> Row = SourceColumns(Dst, Y);
    EXPECT_EQ(std::vector<Integer>(Row.begin() + 2, Row.begin() + 6), (std::vector<Integer>{8, 9, 9, 10}));
    EXPECT_EQ((Dst.Pixel(2, Y) >> 8) & 0xFF, static_cast<TColor32>(Y / 2));
  }
  EXPECT_EQ(Dst.Pixel(1, 1), 0u);
  EXPECT_EQ(Dst.Pixel(2, 0), 0u);
}

TEST(RasterTransfer, EqualSizeCopiesVisiblePartFromMatchingOffset) {
  TBitmap32 Src, Dst;
  FillPositions(Src, 3, 3);
  Dst.SetSize(4, 4);
  ScaledTransfer(&Dst, MakeRect(-1, -1, 2, 2), Dst.BoundsRect(), &Src, Src.BoundsRect(), nullptr, dmOpaque,
                 NoCallback);
  EXPECT_EQ(Dst.Pixel(0, 0), 0xFF000101u);
  EXPECT_EQ(Dst.Pixel(1, 1), 0xFF000202u);
  EXPECT_EQ(Dst.Pixel(2, 0), 0u);
}

TEST(RasterTransfer, CopyWithinOneBitmapDownwards) {
  TBitmap32 B;
  FillPositions(B, 2, 4);
  RowTransfer(&B, MakeRect(0, 1, 2, 4), &B, 0, 0, dmOpaque, NoCallback);
  for (Integer Y = 1; Y < 4; ++Y) EXPECT_EQ(B.Pixel(1, Y), 0xFF000000u + (Y - 1) * 256 + 1) << Y;
}

TEST(RasterTransfer, EntryPointChecks) {
  TBitmap32 Src, Dst;
  FillPositions(Src, 4, 4);
  Dst.SetSize(8, 8);
  try {
    ScaledTransfer(nullptr, Dst.BoundsRect(), Dst.BoundsRect(), &Src, Src.BoundsRect(), nullptr, dmOpaque,
                   NoCallback);
    FAIL();
  } catch (const EBitmapException& E) {
    EXPECT_EQ(E.GetMessage(), "Destination bitmap is nil");
  }
  try {
    ScaledTransfer(&Dst, Dst.BoundsRect(), Dst.BoundsRect(), nullptr, Src.BoundsRect(), nullptr, dmOpaque,
                   NoCallback);
    FAIL();
  } catch (const EBitmapException& E) {
    EXPECT_EQ(E.GetMessage(), "Source bitmap is nil");
  }
  TAreaLog Log;
  Dst.OnAreaChanged = TAreaChangedEvent(&Log, &TAreaLog::Area);
  try {
    ScaledTransfer(&Dst, Dst.BoundsRect(), Dst.BoundsRect(), &Src, MakeRect(0, 0, 5, 4), nullptr, dmOpaque,
                   NoCallback);
    FAIL();
  } catch (const ESrcInvalidException& E) {
    EXPECT_EQ(E.GetMessage(), "Source rectangle is invalid");
  }
  EXPECT_THROW(NearestScale(&Dst, Dst.BoundsRect(), Dst.BoundsRect(), &Src, MakeRect(-1, 0, 4, 4), dmOpaque,
                            NoCallback),
               Exception);
  // Silent returns: empty source rectangle, invisible target, blend with master alpha 0.
  ScaledTransfer(&Dst, Dst.BoundsRect(), Dst.BoundsRect(), &Src, MakeRect(2, 2, 2, 4), nullptr, dmOpaque,
                 NoCallback);
  ScaledTransfer(&Dst, MakeRect(8, 0, 12, 4), Dst.BoundsRect(), &Src, Src.BoundsRect(), nullptr, dmOpaque,
                 NoCallback);
  Src.SetMasterAlpha(0);
  ScaledTransfer(&Dst, Dst.BoundsRect(), Dst.BoundsRect(), &Src, Src.BoundsRect(), nullptr, dmBlend,
                 NoCallback);
  EXPECT_TRUE(Log.Areas.empty());
  EXPECT_EQ(Dst.Pixel(0, 0), 0u);
}

TEST(RasterTransfer, MeasuringDrawsNothingButReportsTheTarget) {
  TBitmap32 Src, Dst;
  FillPositions(Src, 4, 4);
  Dst.SetSize(8, 8);
  TAreaLog Log;
  Dst.EnterMeasuringMode(TAreaChangedEvent(&Log, &TAreaLog::Area));
  Src.DrawInto(&Dst, MakeRect(1, 1, 9, 5));
  Dst.LeaveMeasuringMode();
  EXPECT_EQ(Log.Areas, (std::vector<TRect>{MakeRect(1, 1, 9, 5)}));
  EXPECT_EQ(Dst.Pixel(1, 1), 0u);
}

TEST(RasterTransfer, DrawModes) {
  TBitmap32 Src, Dst;
  Src.SetSize(2, 1);
  *Src.PixelAddress(0, 0) = 0x80FF0000;
  *Src.PixelAddress(1, 0) = 0x12345678;
  Src.SetOuterColor(0x12345678);
  for (TDrawMode Mode : {dmTransparent, dmBlend}) {
    for (bool Stretch : {false, true}) {
      Dst.SetSize(Stretch ? 4 : 2, 1);
      Dst.Clear(0xFF0000FF);
      Src.SetDrawMode(Mode);
      Src.DrawInto(&Dst, Dst.BoundsRect());
      const TColor32 Expected = Mode == dmBlend ? BlendColor(0x80FF0000, 0xFF0000FF) : 0x80FF0000;
      EXPECT_EQ(Dst.Pixel(0, 0), Expected) << Mode << Stretch;
      const TColor32 Last = Dst.Pixel(Dst.GetWidth() - 1, 0);
      EXPECT_EQ(Last, Mode == dmBlend ? BlendColor(0x12345678, 0xFF0000FF) : 0xFF0000FFu) << Mode << Stretch;
    }
  }
  // dmCustom hands source pixel, target pixel and master alpha to the callback.
  struct TSum : TObject {
    void Combine(TColor32 F, TColor32& B, TColor32 M) { B = F + B + M; }
  } Sum;
  Src.SetDrawMode(dmCustom);
  Src.SetMasterAlpha(3);
  Src.OnPixelCombine = TPixelCombineEvent(&Sum, &TSum::Combine);
  Dst.SetSize(2, 1);
  Dst.Clear(1);
  Src.DrawInto(&Dst, Dst.BoundsRect());
  EXPECT_EQ(Dst.Pixel(1, 0), 0x12345678u + 1 + 3);
  // Without a callback, dmCustom copies.
  Src.OnPixelCombine.Clear();
  Src.DrawInto(&Dst, Dst.BoundsRect());
  EXPECT_EQ(Dst.Pixel(1, 0), 0x12345678u);
}

TEST(RasterTransfer, LinearEnlargementKeepsTheCorners) {
  TBitmap32 Src, Dst;
  Src.SetSize(2, 2);
  *Src.PixelAddress(0, 0) = 0xFF000000;
  *Src.PixelAddress(1, 0) = 0xFFFFFFFF;
  *Src.PixelAddress(0, 1) = 0xFF0000FF;
  *Src.PixelAddress(1, 1) = 0xFFFF0000;
  Src.SetResamplerClassName("TLinearResampler");
  Dst.SetSize(4, 4);
  Src.DrawInto(&Dst, Dst.BoundsRect());
  EXPECT_EQ(Dst.Pixel(0, 0), 0xFF000000u);
  EXPECT_EQ(Dst.Pixel(3, 0), 0xFFFFFFFFu);
  EXPECT_EQ(Dst.Pixel(0, 3), 0xFF0000FFu);
  EXPECT_EQ(Dst.Pixel(3, 3), 0xFFFF0000u);
  // Column 1 sits a quarter of the way: the left pixel weighs 192.
  EXPECT_EQ(Dst.Pixel(1, 0), MixColorsPlain(0xFF000000, 0xFFFFFFFF, 192));
}

TEST(RasterTransfer, WeightTables) {
  TLinearKernel Linear;
  const TMappingTable One = BuildWeightTable(0, 3, 0, 3, 5, 6, &Linear);
  ASSERT_EQ(One.size(), 3u);
  for (const TCluster& C : One) EXPECT_EQ(C, (TCluster{{5, 256}}));
  EXPECT_TRUE(BuildWeightTable(0, 3, 0, 3, 5, 5, &Linear).empty());
  TLanczosKernel Lanczos;
  for (auto [SrcW, DstW] : {std::pair{10, 3}, {3, 10}, {7, 7}, {100, 9}})
    for (const TCluster& C : BuildWeightTable(0, DstW, 0, DstW, 0, SrcW, &Lanczos)) {
      Integer Sum = 0;
      for (const TClusterEntry& E : C) {
        EXPECT_GE(E.Pos, 0);
        EXPECT_LT(E.Pos, SrcW);
        Sum += E.Weight;
      }
      EXPECT_EQ(Sum, 256) << SrcW << " -> " << DstW;
    }
  // Enlarging 2 -> 4 with the linear kernel: centres at -0.25, 0.25, 0.75, 1.25.
  const TMappingTable Up = BuildWeightTable(0, 4, 0, 4, 0, 2, &Linear);
  EXPECT_EQ(Up[1], (TCluster{{0, 192}, {1, 64}}));
}

TEST(RasterTransfer, KernelResampleKeepsAFlatColour) {
  for (const char* Kernel : {"TBoxKernel", "TLinearKernel", "TLanczosKernel", "TMitchellKernel"}) {
    TBitmap32 Src, Dst;
    Src.SetSize(9, 7);
    Src.Clear(0xFFFFFFFF);
    Src.SetResamplerClassName("TKernelResampler");
    static_cast<TKernelResampler*>(Src.GetResampler())->SetKernelClassName(Kernel);
    for (TRect R : {MakeRect(0, 0, 4, 3), MakeRect(0, 0, 20, 15)}) {
      Dst.SetSize(R.Right, R.Bottom);
      Src.DrawInto(&Dst, R);
      EXPECT_EQ(Dst.Pixel(R.Right / 2, R.Bottom / 2), 0xFFFFFFFFu) << Kernel;
      EXPECT_EQ(Dst.Pixel(R.Right - 1, R.Bottom - 1), 0xFFFFFFFFu) << Kernel;
    }
  }
}

// Box averages divide exactly: a white block of three pixels stays white.
TEST(RasterTransfer, BoxAverageKeepsWhite) {
  TBitmap32 Src, Dst;
  Src.SetSize(9, 3);
  Src.Clear(0xFFFFFFFF);
  Src.SetResamplerClassName("TDraftResampler");
  Dst.SetSize(3, 1);
  Src.DrawInto(&Dst, Dst.BoundsRect());
  for (Integer X = 0; X < 3; ++X) EXPECT_EQ(Dst.Pixel(X, 0), 0xFFFFFFFFu);
  const TColor32 Block[3] = {0xFF0000FF, 0xFF0000FF, 0xFF000000};
  EXPECT_EQ(AverageBlockPlain(3, 1, Block, 12), 0xFF0000AAu);
}

// A shrink ratio of 70000 has no 32-bit 16.16 form; the block boundaries are 64-bit.
TEST(RasterTransfer, BoxAverageOfALargeRatio) {
  TBitmap32 Src, Dst;
  Src.SetSize(70000, 1);
  Src.Clear(0xFF000000);
  Src.FillRect(0, 0, 35000, 1, 0xFFFFFFFF);
  Src.SetResamplerClassName("TDraftResampler");
  Dst.SetSize(1, 1);
  Src.DrawInto(&Dst, Dst.BoundsRect());
  EXPECT_EQ(Dst.Pixel(0, 0), 0xFF7F7F7Fu);
  Dst.SetSize(2, 1);
  Src.DrawInto(&Dst, Dst.BoundsRect());
  EXPECT_EQ(Dst.Pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(Dst.Pixel(1, 0), 0xFF000000u);
}
