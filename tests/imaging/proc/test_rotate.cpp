// Rotations by shears, by sampling and by the nearest pixel, and the component's dispatch.
#include <gtest/gtest.h>

#include "GeometryTestSupport.h"
#include "imaging/proc/ieprocgeometry.h"
#include "imaging/proc/ieprocrotate.h"
#include "imaging/proc/zezudidproc.h"

using namespace GeometryTesting;

namespace {

struct TPercents : TObject {
  std::vector<Integer> Seen;
  void Report(TObject*, Integer Percent) { Seen.push_back(Percent); }
  TIEProgressEvent Event() { return TIEProgressEvent(this, &TPercents::Report); }
};

std::unique_ptr<TIEBitmap> Uniform(Integer W, Integer H, TIEPixelFormat Format, Byte Value) {
  auto B = std::make_unique<TIEBitmap>(W, H, Format);
  for (Integer Y = 0; Y < H; ++Y) std::fill_n(static_cast<Byte*>(B->GetScanline(Y)), B->GetRowLen(), Value);
  return B;
}

}  // namespace

TEST(Rotate, ShearRotationByEquivalentQuarterTurns) {
  for (double Angle : {90.0, 450.0, -270.0}) {
    for (bool AntiAlias : {false, true}) {
      auto B = Gray({"abc", "def"}, ie24RGB);
      IERotateBitmap(B.get(), AntiAlias, nullptr, {}, {}, Angle);
      EXPECT_EQ(Rows(*B), (TRows{"cf", "be", "ad"})) << Angle;
    }
  }
  auto G = Gray({"abc", "def"});
  IERotateBitmap8(G.get(), true, 0, nullptr, {}, -90);
  EXPECT_EQ(Rows(*G), (TRows{"da", "eb", "fc"}));
}

TEST(Rotate, ShearSizesAndProgress) {
  auto B = Uniform(10, 10, ie24RGB, 200);
  TPercents P;
  IERotateBitmap(B.get(), true, nullptr, P.Event(), {}, 45);
  EXPECT_EQ(B->GetWidth(), 16);
  EXPECT_EQ(B->GetHeight(), 14);
  // Per row of the first pass, column of the second and row of the third: 10 + 15 + 14.
  ASSERT_EQ(P.Seen.size(), 39u);
  EXPECT_EQ(P.Seen[10], Integer(100.0 / 39 * 10));
  EXPECT_EQ(P.Seen.back(), Integer(100.0 / 39 * 38));
  // The far corners stay background, the centre keeps the picture's value.
  EXPECT_EQ(B->GetPixel24(0, 0), (TIERGBTriple{0, 0, 0}));
  EXPECT_EQ(B->GetPixel24(8, 7), (TIERGBTriple{200, 200, 200}));

  auto Negative = Uniform(10, 10, ie24RGB, 200);
  IERotateBitmap(Negative.get(), true, nullptr, {}, {}, -45);
  EXPECT_EQ(Negative->GetWidth(), 16);
  EXPECT_EQ(Negative->GetHeight(), 14);
}

TEST(Rotate, BlendingKeepsAnEvenAreaItsValue) {
  // An odd grey must survive every blend of equal neighbours unchanged.
  auto B = Uniform(20, 20, ie8g, 101);
  IERotateBitmap8(B.get(), true, 101, nullptr, {}, 30);
  for (Integer Y = 0; Y < B->GetHeight(); ++Y)
    for (Integer X = 0; X < B->GetWidth(); ++X) ASSERT_EQ(B->GetPixel8(X, Y), 101) << X << "," << Y;
}

TEST(Rotate, OneBitExactTurnsAndOutsideColour) {
  auto B = Bits({"110", "001"});
  IERotateBitmap(B.get(), true, nullptr, {}, {255, 255, 255}, 90);
  EXPECT_EQ(Rows(*B), (TRows{"01", "10", "10"}));
  IERotateBitmap1(B.get(), false, nullptr, {}, -90);
  EXPECT_EQ(Rows(*B), (TRows{"110", "001"}));

  for (const bool White : {false, true}) {
    auto C = Bits({"0000", "0000", "0000", "0000"});
    IERotateBitmap(C.get(), true, nullptr, {}, White ? TIERGBTriple{1, 1, 1} : TIERGBTriple{0, 1, 1}, 45);
    // Cosine and sine cut to 0.7071: 5.6568 truncates to 5.
    EXPECT_EQ(C->GetWidth(), 5);
    EXPECT_EQ(C->GetHeight(), 5);
    EXPECT_EQ(Rows(*C)[0][0], White ? '1' : '0');
    EXPECT_EQ(Rows(*C)[2][2], '0');
  }
}

TEST(Rotate, InterpolatedRotationKeepsTheInteriorAndShowsTheBackground) {
  for (TIERotateAntialias Mode : {raBilinear, raBicubic}) {
    auto B = Uniform(20, 10, ie24RGB, 90);
    IERotateInterpolated24(B.get(), clRed, Mode, nullptr, {}, 30);
    // Framed 26 x 16: Round(0.5 * 15 + 0.86603 * 25) - 6 by Round(0.86603 * 15 + 0.5 * 25) - 6.
    EXPECT_EQ(B->GetWidth(), 23);
    EXPECT_EQ(B->GetHeight(), 19);
    EXPECT_EQ(B->GetPixel24(0, 0), (TIERGBTriple{0, 0, 255})) << Mode;
    EXPECT_EQ(B->GetPixel24(11, 9), (TIERGBTriple{90, 90, 90})) << Mode;
  }
  auto G = Gray({"abc"});
  IERotateInterpolated24(G.get(), clRed, raBilinear, nullptr, {}, 30);  // not 24-bit: unchanged
  EXPECT_EQ(Rows(*G), (TRows{"abc"}));
}

TEST(Rotate, ComponentDispatchAndAlphaChannel) {
  auto B = Uniform(100, 50, ie24RGB, 255);
  auto Proc = TZezudIdProc::CreateFromBitmap(B.get());
  Proc->SetAutoUndo(true);
  TPercents P;
  Proc->SetOnProgress(P.Event());
  Proc->Rotate(0);
  EXPECT_TRUE(P.Seen.empty());
  EXPECT_EQ(Proc->UndoCount(), 0);

  B->GetAlphaChannel()->Fill(255);
  Proc->Rotate(30, false);
  EXPECT_EQ(Proc->GetUndoCaption(0), "Rotate 30.00");
  EXPECT_EQ(B->GetWidth(), 112);
  EXPECT_EQ(B->GetHeight(), 93);
  ASSERT_EQ(B->GetAlphaChannel()->GetWidth(), 112);
  EXPECT_EQ(B->GetAlpha(0, 0), 0);
  EXPECT_EQ(B->GetAlpha(56, 46), 255);
  EXPECT_EQ(P.Seen.back(), 100);

  // Shears by default: 45 degrees of a 10 x 10 picture is 16 x 14, its alpha too.
  auto C = Uniform(10, 10, ie24RGB, 255);
  C->GetAlphaChannel()->Fill(255);
  auto Shearing = TZezudIdProc::CreateFromBitmap(C.get());
  Shearing->Rotate(45);
  EXPECT_EQ(C->GetWidth(), 16);
  EXPECT_EQ(C->GetAlphaChannel()->GetWidth(), 16);
  EXPECT_EQ(C->GetAlphaChannel()->GetHeight(), 14);
}
