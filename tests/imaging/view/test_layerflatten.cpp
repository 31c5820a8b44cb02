#include <gtest/gtest.h>

#include "tests/imaging/view/LayerTestSupport.h"

namespace {

constexpr TColor Backdrop = 0x102030;  // blue 0x10, green 0x20, red 0x30
constexpr TIERGBTriple BackdropPixel{0x10, 0x20, 0x30};
constexpr TIERGBTriple BasePixel{50, 100, 200};

// The renderer's mix: d + t (v - d) / 256, rounded down.
Byte Mix(Byte D, Byte V, Integer T) {
  return static_cast<Byte>(D + ((T * (V - D)) >> 8));
}
TIERGBTriple Mix(TIERGBTriple D, TIERGBTriple V, Integer T) {
  return {Mix(D.rgbtBlue, V.rgbtBlue, T), Mix(D.rgbtGreen, V.rgbtGreen, T), Mix(D.rgbtRed, V.rgbtRed, T)};
}

class LayerFlatten : public ::testing::Test {
 protected:
  void SetUp() override {
    auto Base = SolidBitmap(4, 3, BasePixel);
    View = NewViewShowing(*Base, Backdrop);
  }
  // Adds a layer showing Picture at (X, Y).
  TIELayer* AddLayer(TIEBitmap& Picture, Integer X, Integer Y) {
    View->LayersAdd();
    View->GetIEBitmap()->Assign(&Picture);
    TIELayer* Layer = View->GetCurrentLayer();
    Layer->PosX = X;
    Layer->PosY = Y;
    return Layer;
  }
  std::unique_ptr<TZezudIdView> View;
};

TEST_F(LayerFlatten, TransparentLayersMixPixelByPixel) {
  auto Shade = SolidBitmap(2, 2, {0, 0, 0});
  AddLayer(*Shade, 1, 1)->Transparency = 128;
  auto Spots = SolidBitmap(2, 1, {255, 255, 255}, 255);
  Spots->SetAlpha(0, 0, 0);
  AddLayer(*Spots, 2, 0);

  TIEBitmap Flat;
  View->LayersDrawTo(&Flat);
  ASSERT_EQ(4, Flat.GetWidth());
  ASSERT_EQ(3, Flat.GetHeight());
  const TIERGBTriple Shaded = Mix(BasePixel, {0, 0, 0}, 128);
  const TIERGBTriple White = Mix(BasePixel, {255, 255, 255}, 255);
  const TIERGBTriple Expected[3][4] = {
      {BasePixel, BasePixel, BasePixel, White},
      {BasePixel, Shaded, Shaded, BasePixel},
      {BasePixel, Shaded, Shaded, BasePixel},
  };
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X) EXPECT_TRUE(Flat.GetPixel24(X, Y) == Expected[Y][X]) << X << ", " << Y;
}

TEST_F(LayerFlatten, LayerLeftOfTheBackgroundWidensTheResult) {
  auto Left = SolidBitmap(2, 2, {1, 2, 3});
  AddLayer(*Left, -2, 0);
  TIEBitmap Flat;
  View->LayersDrawTo(&Flat);
  ASSERT_EQ(6, Flat.GetWidth());
  ASSERT_EQ(3, Flat.GetHeight());
  EXPECT_TRUE(Flat.GetPixel24(0, 0) == (TIERGBTriple{1, 2, 3}));
  EXPECT_TRUE(Flat.GetPixel24(1, 1) == (TIERGBTriple{1, 2, 3}));
  EXPECT_TRUE(Flat.GetPixel24(0, 2) == BackdropPixel);
  EXPECT_TRUE(Flat.GetPixel24(2, 0) == BasePixel);  // layer 0 starts two pixels in
  EXPECT_TRUE(Flat.GetPixel24(5, 2) == BasePixel);
}

TEST_F(LayerFlatten, LayerBeyondTheBackgroundGrowsItUnlessClipped) {
  auto Wide = SolidBitmap(4, 2, {1, 2, 3});
  TIELayer* Layer = AddLayer(*Wide, 3, 2);
  TIEBitmap Grown;
  View->LayersDrawTo(&Grown);
  EXPECT_EQ(7, Grown.GetWidth());
  EXPECT_EQ(4, Grown.GetHeight());
  EXPECT_TRUE(Grown.GetPixel24(6, 3) == (TIERGBTriple{1, 2, 3}));
  EXPECT_TRUE(Grown.GetPixel24(6, 0) == BackdropPixel);

  Layer->ClipToBackground = true;
  TIEBitmap Clipped;
  View->LayersDrawTo(&Clipped);
  EXPECT_EQ(4, Clipped.GetWidth());
  EXPECT_EQ(3, Clipped.GetHeight());
  EXPECT_TRUE(Clipped.GetPixel24(3, 2) == (TIERGBTriple{1, 2, 3}));
}

TEST_F(LayerFlatten, ViewGeometryComesBack) {
  View->SetZoom(200);
  const Double Zoom = View->GetZoomX();
  const Integer ViewX = View->GetViewX();
  auto Top = SolidBitmap(2, 2, {1, 2, 3});
  AddLayer(*Top, -1, -1);
  TIEBitmap Flat;
  View->LayersDrawTo(&Flat);
  EXPECT_EQ(Zoom, View->GetZoomX());
  EXPECT_EQ(2.0, View->GetZoomFactorX());
  EXPECT_EQ(0.5, View->GetInvZoomY());
  EXPECT_EQ(ViewX, View->GetViewX());
  EXPECT_EQ(4, View->GetBitmapWidth());
}

TEST_F(LayerFlatten, MergeAllLeavesOneLayerWithTheFlatPicture) {
  auto Shade = SolidBitmap(2, 2, {0, 0, 0});
  AddLayer(*Shade, 2, 1)->Transparency = 64;
  TIEBitmap Expected;
  View->LayersDrawTo(&Expected);
  View->LayersMergeAll();
  ASSERT_EQ(1, View->GetLayersCount());
  TIEBitmap* Merged = View->GetIEBitmap();
  EXPECT_EQ(ie24RGB, Merged->GetPixelFormat());
  EXPECT_TRUE(SamePixels(Expected, *Merged));
  EXPECT_TRUE(Merged->GetPixel24(3, 2) == Mix(BasePixel, {0, 0, 0}, 64));
}

}  // namespace
