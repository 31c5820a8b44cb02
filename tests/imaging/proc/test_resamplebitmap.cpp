#include <gtest/gtest.h>

#include "imaging/proc/ieresamplefast.h"
#include "imaging/proc/zezudidproc.h"
#include "tests/imaging/proc/ResampleTestSupport.h"

using namespace ResampleTesting;

namespace {

class ResampleBitmapTest : public TResampleTest {};

}  // namespace

TEST_F(ResampleBitmapTest, PixelFormatsOfTheResult) {
  struct TCase {
    TIEPixelFormat Source;
    TResampleFilter Filter;
    TIEPixelFormat Result;
  };
  const TCase Cases[] = {
      {ie1g, rfLanczos3, ie24RGB},   {ie1g, rfProjectBW, ie1g}, {ie1g, rfFastLinear, ie24RGB},
      {ieCMYK, rfHermite, ie24RGB},  {ie8g, rfMitchell, ie8g},  {ie24RGB, rfProjectWB, ie1g},
      {ieRGB48, rfBicubic, ieRGB48}, {ie8p, rfNone, ie8p},
  };
  for (const TCase& C : Cases) {
    auto Source = Noise(9, 7, C.Source);
    TIEBitmap Dest(5, 4, C.Source);
    ResampleBitmap(Source.get(), &Dest, C.Filter, {}, nullptr);
    EXPECT_EQ(Dest.GetPixelFormat(), C.Result) << int(C.Source) << " " << int(C.Filter);
    EXPECT_EQ(Dest.GetWidth(), 5);
  }
  // The same size copies the picture.
  auto Source = Noise(4, 3, ie24RGB);
  TIEBitmap Same(4, 3, ie24RGB);
  ResampleBitmap(Source.get(), &Same, rfLanczos3, {}, nullptr);
  EXPECT_EQ(Pixels(&Same), Pixels(Source.get()));
}

TEST_F(ResampleBitmapTest, TheAlphaChannelFollowsByItsOwnPath) {
  auto Source = Noise(8, 6, ie24RGB);
  auto Alpha = Noise(8, 6, ie8g);
  Source->GetAlphaChannel()->Assign(Alpha.get());
  Source->GetAlphaChannel()->SetFull(true);
  TIEBitmap Dest(13, 9, ie24RGB);
  ResampleBitmap(Source.get(), &Dest, rfBicubic, {}, nullptr);
  TIEBitmap Expected(13, 9, ie8g);
  IEResampleFastLinearGray8(Alpha.get(), &Expected, {}, nullptr);
  ASSERT_TRUE(Dest.HasAlphaChannel());
  EXPECT_EQ(Pixels(Dest.GetAlphaChannel()), Pixels(&Expected));
  EXPECT_TRUE(Dest.GetAlphaChannel()->GetFull());
  TIEBitmap Nearest(16, 12, ie24RGB);
  ResampleBitmap(Source.get(), &Nearest, rfNone, {}, nullptr);
  EXPECT_EQ(Nearest.GetAlpha(3, 5), Source->GetAlpha(1, 2));
}

TEST_F(ResampleBitmapTest, ResampleToSizes) {
  struct TCase {
    Integer NewWidth, NewHeight, Width, Height;
  };
  const TCase Cases[] = {
      {-1, 200, 800, 200}, {0, 50, 400, 50}, {-300, 0, 300, 100},
      {200, -1, 200, 50},  {-1, 0, 1, 100},  {-1, -1, 0, 0},
  };
  auto Picture = Noise(400, 100, ie24RGB);
  auto Proc = TZezudIdProc::CreateFromBitmap(Picture.get());
  for (const TCase& C : Cases) {
    TIEBitmap Dest;
    Proc->ResampleTo(&Dest, C.NewWidth, C.NewHeight, rfFastLinear);
    EXPECT_EQ(Dest.GetWidth(), C.Width) << C.NewWidth << "," << C.NewHeight;
    EXPECT_EQ(Dest.GetHeight(), C.Height) << C.NewWidth << "," << C.NewHeight;
  }
}

TEST_F(ResampleBitmapTest, ResampleInPlaceSavesUndoOnlyWhenTheSizeChanges) {
  auto Picture = Noise(40, 30, ie24RGB);
  auto Proc = TZezudIdProc::CreateFromBitmap(Picture.get());
  Proc->SetAutoUndo(true);
  Proc->Resample(40, 30, rfTriangle);
  EXPECT_EQ(Proc->UndoCount(), 0);
  Proc->Resample(20, -1, rfTriangle);
  EXPECT_EQ(Picture->GetWidth(), 20);
  EXPECT_EQ(Picture->GetHeight(), 15);
  ASSERT_EQ(Proc->UndoCount(), 1);
  EXPECT_EQ(Proc->GetUndoCaption(0), "Resample 20, -1");
}
