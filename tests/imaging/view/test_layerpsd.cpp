// The image view's layers through PSD files: saved by the view's I/O component with their
// masks and merged picture, and loaded back as layers, in place of the view's or after them.
#include <gtest/gtest.h>

#include <memory>

#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/view/LayerTestSupport.h"

namespace {

constexpr TColor Grey = 0x808080;

// A 6 x 4 background, a hidden, half-opaque 3 x 2 layer "top" at (2, 1) with alpha, and its
// 2 x 2 mask at (1, 1).
std::unique_ptr<TZezudIdView> LayeredView() {
  auto Base = PatternBitmap(6, 4);
  auto View = NewViewShowing(*Base, Grey);
  View->GetLayer(0)->Name = "base";
  View->LayersAdd();
  auto Top = SolidBitmap(3, 2, {10, 20, 30}, 200);
  View->GetIEBitmap()->Assign(Top.get());
  TIELayer* L = View->GetLayer(1);
  L->Name = "top";
  L->PosX = 2;
  L->PosY = 1;
  L->Transparency = 128;
  L->Visible = false;
  View->LayersAdd();
  TIELayer* Mask = View->GetLayer(2);
  Mask->Bitmap->Allocate(2, 2, ie8g);
  Mask->Bitmap->Fill(77);
  Mask->IsMask = true;
  Mask->PosX = 1;
  Mask->PosY = 1;
  return View;
}

std::unique_ptr<TZezudIdView> LoadInto(TMemoryStream& Stream, bool LoadLayers, bool Replace,
                                       std::unique_ptr<TZezudIdView> Target = nullptr) {
  if (!Target) {
    auto Blank = SolidBitmap(2, 2, {1, 1, 1});
    Target = NewViewShowing(*Blank, Grey);
  }
  TZezudIdIO* IO = Target->GetIO();
  IO->GetParams()->PsdLoadLayers = LoadLayers;
  IO->GetParams()->PsdReplaceLayers = Replace;
  Stream.SetPosition(0);
  IO->LoadFromStream(&Stream);
  EXPECT_FALSE(IO->GetAborting());
  EXPECT_EQ(IO->GetParams()->FileType, ioPSD);
  return Target;
}

TEST(LayerPsd, LayersAndTheirMasksComeBackInPlaceOfTheViewsOwn) {
  auto View = LayeredView();
  TMemoryStream Stream;
  View->GetIO()->SaveToStream(&Stream, ioPSD);
  ASSERT_FALSE(View->GetIO()->GetAborting());
  Stream.SetPosition(0);
  EXPECT_EQ(DetectStreamFormat(&Stream), ioPSD);

  auto Target = LoadInto(Stream, true, true);
  ASSERT_EQ(Target->GetLayersCount(), 3);
  EXPECT_EQ(Target->GetLayer(0)->Name, "base");
  EXPECT_TRUE(SamePixels(*View->GetLayer(0)->Bitmap, *Target->GetLayer(0)->Bitmap));
  const TIELayer* Top = Target->GetLayer(1);
  EXPECT_EQ(Top->Name, "top");
  EXPECT_EQ(Top->PosX, 2);
  EXPECT_EQ(Top->PosY, 1);
  EXPECT_EQ(Top->Transparency, 128);
  EXPECT_FALSE(Top->Visible);
  EXPECT_FALSE(Top->IsMask);
  EXPECT_EQ(Top->Bitmap->GetPixel24(2, 1), (TIERGBTriple{10, 20, 30}));
  EXPECT_EQ(Top->Bitmap->GetAlpha(2, 1), 200);
  const TIELayer* Mask = Target->GetLayer(2);
  EXPECT_TRUE(Mask->IsMask);
  EXPECT_FALSE(Mask->Visible);
  EXPECT_EQ(Mask->PosX, 1);
  EXPECT_EQ(Mask->Bitmap->GetWidth(), 2);
  EXPECT_EQ(Mask->Bitmap->GetPixel8(1, 1), 77);

  // Added after the view's own layers instead.
  auto Added = LoadInto(Stream, true, false);
  EXPECT_EQ(Added->GetLayersCount(), 4);
  EXPECT_EQ(Added->GetLayer(1)->Name, "base");
}

TEST(LayerPsd, TheMergedPictureIsTheLayersDrawnTogether) {
  auto View = LayeredView();
  View->GetLayer(1)->Visible = true;
  TMemoryStream Stream;
  View->GetIO()->SaveToStream(&Stream, ioPSD);
  TIEBitmap Expected;
  View->LayersDrawTo(&Expected);
  auto Merged = LoadInto(Stream, false, true);
  EXPECT_EQ(Merged->GetLayersCount(), 1);
  EXPECT_TRUE(SamePixels(Expected, *Merged->GetIEBitmap()));
}

TEST(LayerPsd, AFirstLayerAwayFromTheOriginGoesOverALockedTransparentBackground) {
  auto Small = SolidBitmap(3, 2, {40, 50, 60});
  auto View = NewViewShowing(*Small, Grey);
  View->GetLayer(0)->PosX = 10;
  View->GetLayer(0)->PosY = 20;
  TMemoryStream Stream;
  View->GetIO()->SaveToStream(&Stream, ioPSD);
  auto Target = LoadInto(Stream, true, true);
  ASSERT_EQ(Target->GetLayersCount(), 2);
  const TIELayer* Background = Target->GetLayer(0);
  EXPECT_TRUE(Background->Locked);
  // The merged picture, and so the background, reaches the layer's far edge.
  EXPECT_EQ(Background->Bitmap->GetWidth(), 13);
  EXPECT_EQ(Background->Bitmap->GetHeight(), 22);
  EXPECT_EQ(Background->Bitmap->GetAlpha(0, 0), 0);
  EXPECT_EQ(Target->GetLayer(1)->PosX, 10);
  EXPECT_EQ(Target->GetLayer(1)->PosY, 20);
}

TEST(LayerPsd, ALayerShownAtAnotherSizeIsWrittenAtThatSize) {
  auto View = LayeredView();
  View->GetLayer(1)->Width = 6;
  View->GetLayer(1)->Height = 4;
  TMemoryStream Stream;
  View->GetIO()->SaveToStream(&Stream, ioPSD);
  auto Target = LoadInto(Stream, true, true);
  ASSERT_EQ(Target->GetLayersCount(), 3);
  EXPECT_EQ(Target->GetLayer(1)->Bitmap->GetWidth(), 6);
  EXPECT_EQ(Target->GetLayer(1)->Bitmap->GetHeight(), 4);
}

TEST(LayerPsd, TheOnlyLayersTransparencyBecomesThePicturesAlphaAtItsPosition) {
  // A picture of one 2 x 2 layer at (1, 1) over a 4 x 3 picture, written by hand through the
  // filter's own record exchange: the view's background layer is the one layer.
  auto Picture = SolidBitmap(2, 2, {5, 6, 7}, 90);
  auto View = NewViewShowing(*Picture, Grey);
  View->GetLayer(0)->PosX = 1;
  View->GetLayer(0)->PosY = 1;
  TMemoryStream Stream;
  View->GetIO()->SaveToStream(&Stream, ioPSD);
  auto Target = LoadInto(Stream, false, true);
  TIEBitmap* Loaded = Target->GetIEBitmap();
  ASSERT_TRUE(Loaded->HasAlphaChannel());
  EXPECT_EQ(Loaded->GetAlpha(0, 0), 0);
  EXPECT_EQ(Loaded->GetAlpha(Loaded->GetWidth() - 1, Loaded->GetHeight() - 1), 90);

  // A layer without transparency gives the picture none.
  auto Plain = SolidBitmap(2, 2, {5, 6, 7});
  auto PlainView = NewViewShowing(*Plain, Grey);
  TMemoryStream PlainStream;
  PlainView->GetIO()->SaveToStream(&PlainStream, ioPSD);
  EXPECT_FALSE(LoadInto(PlainStream, false, true)->GetIEBitmap()->HasAlphaChannel());

  auto Thumbnail = SolidBitmap(2, 2, {1, 1, 1});
  auto NoAlpha = NewViewShowing(*Thumbnail, Grey);
  NoAlpha->GetIO()->GetParams()->GetThumbnail = true;
  NoAlpha = LoadInto(Stream, false, true, std::move(NoAlpha));
  EXPECT_FALSE(NoAlpha->GetIEBitmap()->HasAlphaChannel());
}

}  // namespace
