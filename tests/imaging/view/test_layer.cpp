#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "imaging/view/zezudidviewlayer.h"
#include "platform/classes/Bitmap.h"
#include "tests/imaging/view/LayerTestSupport.h"

namespace {

TEST(Layer, NewLayerDefaultsAndDistinctGUIDs) {
  TIELayer A(nullptr, false, nullptr);
  TIELayer B(nullptr, false, nullptr);
  EXPECT_EQ(255, A.Transparency);
  EXPECT_TRUE(A.Visible);
  EXPECT_TRUE(A.VisibleBox);
  EXPECT_TRUE(A.Selectable);
  EXPECT_EQ(0.0, A.Rotate);
  EXPECT_EQ(0.5, A.RotateCenterX);
  EXPECT_EQ(0.5, A.RotateCenterY);
  EXPECT_EQ(2.0, A.Magnifier.Rate);
  EXPECT_EQ(1, A.Magnifier.Source);
  EXPECT_EQ(rfNone, A.ResampleFilter);
  EXPECT_TRUE(A.OwnsBitmap);
  EXPECT_FALSE(IECompareGUID(A.GUID, B.GUID));
  EXPECT_FALSE(IECompareGUID(A.GUID, TGUID{}));
}

TEST(Layer, SetRotateZeroesWholeTurnsOnly) {
  const struct {
    double Given, Stored;
  } Cases[] = {{360, 0}, {-720, 0}, {0, 0}, {359.5, 359.5}, {370, 370}, {360.25, 360.25}, {-90, -90}};
  TIELayer Layer(nullptr, false, nullptr);
  for (const auto& C : Cases) {
    Layer.SetRotate(C.Given);
    EXPECT_EQ(C.Stored, Layer.Rotate) << C.Given;
  }
}

TEST(Layer, DisplayedSizeFollowsTheBitmapUntilSetExplicitly) {
  auto Source = SolidBitmap(8, 5, {});
  TIELayer Layer(nullptr, true, Source.release());
  EXPECT_EQ(8, Layer.GetWidth());
  EXPECT_EQ(5, Layer.GetHeight());
  Layer.Bitmap->Resize(12, 7, 0, 255, 0, 0);
  EXPECT_EQ(12, Layer.GetWidth());
  EXPECT_EQ(7, Layer.GetHeight());
  Layer.Width = 30;
  EXPECT_EQ(30, Layer.GetWidth());
  EXPECT_EQ(7, Layer.GetHeight());
}

TEST(Layer, OwnBitmapIsShapedAfterTheSourceWithoutItsPixels) {
  auto Source = SolidBitmap(6, 4, {1, 2, 3});
  Source->SetPixelFormat(ie8g);
  TIELayer Layer(nullptr, false, Source.get());
  ASSERT_NE(Source.get(), Layer.Bitmap);
  EXPECT_EQ(6, Layer.Bitmap->GetWidth());
  EXPECT_EQ(4, Layer.Bitmap->GetHeight());
  EXPECT_EQ(ie8g, Layer.Bitmap->GetPixelFormat());
  EXPECT_EQ(Source->GetLocation(), Layer.Bitmap->GetLocation());
}

TEST(Layer, SourceInAPlatformBitmapGivesTheLayerOneOfItsOwn) {
  TBitmap Platform;
  Platform.SetPixelFormat(pf32bit);
  Platform.SetSize(5, 3);
  TIEBitmap Source;
  Source.EncapsulateTBitmap(&Platform, true);
  // The layer's platform bitmap is freed with the layer (the leak checker watches).
  TIELayer Layer(nullptr, false, &Source);
  EXPECT_EQ(ieTBitmap, Layer.Bitmap->GetLocation());
  EXPECT_NE(&Platform, Layer.Bitmap->GetTBitmap());
  EXPECT_EQ(pf32bit, Layer.Bitmap->GetTBitmap()->GetPixelFormat());
  EXPECT_EQ(5, Layer.Bitmap->GetWidth());
  EXPECT_EQ(3, Layer.Bitmap->GetHeight());
}

TEST(Layer, ResetKeepsIdentityNameAndFilterAndFreesOwnedUserData) {
  TIELayer Layer(nullptr, false, nullptr);
  const TGUID Id = Layer.GUID;
  Layer.Name = "top";
  Layer.ResampleFilter = rfLanczos3;
  Layer.UseResampleFilter = true;
  Layer.PosX = 4;
  Layer.Transparency = 9;
  Layer.SetRotate(30);
  Layer.DrawGeometry.DestX = 7;
  Layer.UserData = std::malloc(16);
  Layer.UserDataLen = 16;
  Layer.Reset();
  EXPECT_TRUE(IECompareGUID(Id, Layer.GUID));
  EXPECT_EQ("top", Layer.Name);
  EXPECT_EQ(rfLanczos3, Layer.ResampleFilter);
  EXPECT_TRUE(Layer.UseResampleFilter);
  EXPECT_EQ(0, Layer.PosX);
  EXPECT_EQ(255, Layer.Transparency);
  EXPECT_EQ(0.0, Layer.Rotate);
  EXPECT_EQ(0, Layer.DrawGeometry.DestX);
  EXPECT_EQ(nullptr, Layer.UserData);
  EXPECT_EQ(0, Layer.UserDataLen);
}

TEST(Layer, CopyPropertiesLeavesRotationAndIdentity) {
  auto Picture = SolidBitmap(3, 2, {9, 8, 7});
  TIELayer Source(nullptr, true, Picture.release());
  TIELayer Target(nullptr, false, nullptr);
  Source.SetRotate(30);
  Source.RotateCenterX = 0.1;
  Source.PosX = -3;
  Source.Name = "copied";
  Source.Magnifier.Enabled = true;
  Source.IsMask = true;
  int Block = 0;
  Source.UserData = &Block;
  const TGUID TargetId = Target.GUID;
  Target.CopyProperties(&Source);
  EXPECT_EQ(0.0, Target.Rotate);
  EXPECT_EQ(0.5, Target.RotateCenterX);
  EXPECT_TRUE(IECompareGUID(TargetId, Target.GUID));
  EXPECT_EQ(-3, Target.PosX);
  EXPECT_EQ("copied", Target.Name);
  EXPECT_TRUE(Target.Magnifier.Enabled);
  EXPECT_TRUE(Target.IsMask);
  EXPECT_EQ(&Block, Target.UserData);
  EXPECT_EQ(0, Target.UserDataLen);
  EXPECT_EQ(3, Target.Bitmap->GetWidth());
  EXPECT_TRUE(Target.Bitmap->GetPixel24(2, 1) == (TIERGBTriple{9, 8, 7}));
}

TEST(Layer, ConversionsOfALayerWithoutSizeGiveZero) {
  TIELayer Layer(nullptr, false, nullptr);
  ASSERT_EQ(0, Layer.GetWidth());
  // Answered before the view is asked: this layer belongs to none.
  EXPECT_EQ(0, Layer.ScreenToBitmapX(40));
  EXPECT_EQ(0, Layer.ScreenToBitmapY(-3));
}

}  // namespace

namespace {

// A 100 x 100 picture in a view without window (50 x 50 client): no centring, no scrolling.
TEST(LayerConversions, PositionAndDisplayedSizeMapClientToLayerPixels) {
  auto Picture = PatternBitmap(100, 100);
  auto View = NewViewShowing(*Picture, 0);
  View->LayersAdd();
  auto Small = PatternBitmap(20, 10);
  View->GetIEBitmap()->Assign(Small.get());
  TIELayer* Layer = View->GetCurrentLayer();
  Layer->PosX = 10;
  Layer->PosY = 4;
  Layer->Width = 40;  // shown twice as wide as its bitmap
  ASSERT_EQ(0, View->GetOffsetX());
  ASSERT_EQ(0, View->GetViewX());
  EXPECT_EQ(10, Layer->ScreenToBitmapX(30));
  EXPECT_EQ(10, Layer->ScreenToBitmapX(31));  // truncated
  EXPECT_EQ(0, Layer->ScreenToBitmapX(10));
  EXPECT_EQ(30, Layer->BitmapToScreenX(10));
  EXPECT_EQ(3, Layer->ScreenToBitmapY(7));
  EXPECT_EQ(7, Layer->BitmapToScreenY(3));

  View->SetZoom(200);
  View->SetViewXY(0, 0);
  ASSERT_EQ(0, View->GetViewX());
  // The origin moves with the zoom: 10 picture pixels are 20 client pixels.
  EXPECT_EQ(10, Layer->ScreenToBitmapX(60));
  EXPECT_EQ(60, Layer->BitmapToScreenX(10));
}

}  // namespace
