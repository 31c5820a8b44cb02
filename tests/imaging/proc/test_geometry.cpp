#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GeometryTestSupport.h"
#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/proc/ieprocgeometry.h"
#include "imaging/proc/ieprocrotate.h"

using namespace GeometryTesting;

TEST(Geometry, FlipMirrorsPixelsAndAlpha) {
  for (TIEPixelFormat Format : {ie8g, ie24RGB}) {
    auto B = Gray({"abc", "def"}, Format);
    B->GetAlphaChannel()->SetPixel8(0, 0, 7);
    IEFlipBitmap(B.get(), 0);
    EXPECT_EQ(Rows(*B), (TRows{"cba", "fed"}));
    EXPECT_EQ(B->GetAlphaChannel()->GetPixel8(2, 0), 7);
    IEFlipBitmap(B.get(), 1);
    EXPECT_EQ(Rows(*B), (TRows{"fed", "cba"}));
    EXPECT_EQ(B->GetAlphaChannel()->GetPixel8(2, 1), 7);
  }
}

TEST(Geometry, FlipOfOneBitRowsOfAnyWidth) {
  // Widths below, at and past a byte, so the shift after the bit reversal is exercised.
  for (const std::string& Row :
       {std::string("1100"), std::string("10110001"), std::string("1000000001101")}) {
    auto B = Bits({Row, Row});
    IEFlipBitmap(B.get(), 0);
    const std::string Mirrored(Row.rbegin(), Row.rend());
    EXPECT_EQ(Rows(*B), (TRows{Mirrored, Mirrored})) << Row;
  }
}

TEST(Geometry, QuarterTurnsOfEveryEquivalentAngle) {
  // +90 brings the right column to the top, read top to bottom.
  auto Source = Gray({"abc", "def"});
  const TRows CounterClockwise{"cf", "be", "ad"};
  const TRows Clockwise{"da", "eb", "fc"};
  const struct {
    double Angle;
    TRows Expected;
  } Cases[] = {{90, CounterClockwise}, {450, CounterClockwise}, {-270, CounterClockwise},
               {270, Clockwise},       {-90, Clockwise},        {180, {"fed", "cba"}},
               {-180, {"fed", "cba"}}, {0, {"abc", "def"}},     {360, {"abc", "def"}}};
  for (const auto& C : Cases) {
    TIEBitmap Dest;
    IERotateBitmapTo(Source.get(), &Dest, clBlack, nullptr, {}, C.Angle);
    EXPECT_EQ(Rows(Dest), C.Expected) << C.Angle;
  }
  TIEBitmap Dest;
  IERotate90CCW24(Source.get(), &Dest);  // wrong depth: left alone
  EXPECT_TRUE(Dest.IsEmpty());
  auto Colour = Gray({"abc", "def"}, ie24RGB);
  IERotate90CCW24(Colour.get(), &Dest);
  EXPECT_EQ(Rows(Dest), CounterClockwise);
  IERotate90CW8(Source.get(), &Dest);
  EXPECT_EQ(Rows(Dest), Clockwise);
}

TEST(Geometry, HalfTurnOfOneBitOddWidthKeepsTheLastPixel) {
  auto B = Bits({"10011", "00001"});
  TIEBitmap Dest;
  IERotateBitmapTo(B.get(), &Dest, clWhite, nullptr, {}, 180);
  EXPECT_EQ(Rows(Dest), (TRows{"10000", "11001"}));
}

TEST(Geometry, NearestRotationByAnyAngle) {
  TIEBitmap Wide(100, 50, ie24RGB);
  Wide.Fill(clWhite);
  IERotateNearest(&Wide, clRed, nullptr, {}, 30);
  EXPECT_EQ(Wide.GetWidth(), 112);
  EXPECT_EQ(Wide.GetHeight(), 93);
  // Corners are uncovered and take the background; the centre is the picture.
  EXPECT_EQ(Wide.GetPixel24(0, 0), (TIERGBTriple{0, 0, 255}));
  EXPECT_EQ(Wide.GetPixel24(56, 46), (TIERGBTriple{255, 255, 255}));

  // 45 degrees of a 3 x 3 picture: the top-right corner comes to the top, centres round halves
  // of the 4 x 4 result's columns to the nearer source pixel.
  auto Small = Gray({"abc", "def", "ghi"});
  std::vector<Integer> Reported;
  TIEProgressEvent Progress;
  struct TSink : TObject {
    std::vector<Integer>* Out;
    void Report(TObject*, Integer Percent) { Out->push_back(Percent); }
  } Sink;
  Sink.Out = &Reported;
  Progress = TIEProgressEvent(&Sink, &TSink::Report);
  IERotateNearest(Small.get(), clBlack, nullptr, Progress, 45);
  EXPECT_EQ(Rows(*Small), (TRows{std::string("\0cc\0", 4), "aeei", "aeei", std::string("\0gg\0", 4)}));
  EXPECT_EQ(Reported, (std::vector<Integer>{0, 25, 50, 75}));
}

TEST(Geometry, CropTransparentRect) {
  TIEBitmap B(5, 4, ie24RGB);
  const TRect Full = IECropTransparentRect(&B);
  EXPECT_EQ(Full.Right, 4);
  EXPECT_EQ(Full.Bottom, 3);
  B.GetAlphaChannel()->Fill(0);
  EXPECT_LT(IECropTransparentRect(&B).Right, IECropTransparentRect(&B).Left);
  B.SetAlpha(1, 2, 1);
  B.SetAlpha(3, 1, 200);
  const TRect R = IECropTransparentRect(&B);
  EXPECT_EQ(R.Left, 1);
  EXPECT_EQ(R.Top, 1);
  EXPECT_EQ(R.Right, 3);
  EXPECT_EQ(R.Bottom, 2);
}

TEST(Geometry, FileBackedPicturesGiveTheSameResults) {
  // A file-backed picture has one scanline view at a time: every routine must copy or hold rows.
  auto Run = [](bool InFile, auto Operation) {
    const Int64 OldMinFileSize = IEMinFileSizeOverride;
    if (InFile) IEMinFileSizeOverride = 0;  // even small pictures go to the temporary file
    auto B = Gray({"abcde", "fghij", "klmno"});
    EXPECT_EQ(B->GetLocation(), InFile ? ieFile : ieMemory);
    Operation(B.get());
    IEMinFileSizeOverride = OldMinFileSize;
    return Rows(*B);
  };
  const auto FlipBoth = [](TIEBitmap* B) {
    IEFlipBitmap(B, 1);
    IEFlipBitmap(B, 0);
  };
  const auto Turn = [](TIEBitmap* B) { IERotateNearest(B, clBlack, nullptr, {}, 30); };
  const auto Quarter = [](TIEBitmap* B) { IERotateNearest(B, clBlack, nullptr, {}, 90); };
  EXPECT_EQ(Run(true, FlipBoth), (TRows{"onmlk", "jihgf", "edcba"}));
  EXPECT_EQ(Run(true, FlipBoth), Run(false, FlipBoth));
  EXPECT_EQ(Run(true, Turn), Run(false, Turn));
  EXPECT_EQ(Run(true, Quarter), Run(false, Quarter));
  const auto Shear = [](TIEBitmap* B) { IERotateBitmap8(B, true, 0, nullptr, {}, 100); };
  const auto Sampled = [](TIEBitmap* B) { IERotateInterpolated8(B, 0, raBicubic, 20); };
  EXPECT_EQ(Run(true, Shear), Run(false, Shear));
  EXPECT_EQ(Run(true, Sampled), Run(false, Sampled));
}
