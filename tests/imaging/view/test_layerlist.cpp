#include <gtest/gtest.h>

#include <memory>

#include "imaging/view/zezudidview.h"
#include "platform/system/Exceptions.h"
#include "tests/imaging/view/LayerTestSupport.h"

namespace {

constexpr TColor Grey = 0x808080;

class LayerList : public ::testing::Test {
 protected:
  void SetUp() override {
    View = std::make_unique<TZezudIdView>(nullptr);
    View->SetBackground(Grey);
    auto Picture = PatternBitmap(20, 10);
    View->GetIEBitmap()->Assign(Picture.get());
    View->Update();
  }
  // Adds layers until there are Count.
  void Grow(Integer Count) {
    while (View->GetLayersCount() < Count) View->LayersAdd();
  }
  std::unique_ptr<TZezudIdView> View;
};

TEST_F(LayerList, AddedLayerIsShapedAfterTheCurrentOneFilledAndCurrent) {
  TIEBitmap* Base = View->GetIEBitmap();
  EXPECT_EQ(1, View->LayersAdd());
  ASSERT_EQ(2, View->GetLayersCount());
  EXPECT_EQ(1, View->GetLayersCurrent());
  TIELayer* Added = View->GetCurrentLayer();
  EXPECT_EQ(Added->Bitmap, View->GetIEBitmap());
  EXPECT_EQ(20, Added->Bitmap->GetWidth());
  EXPECT_EQ(10, Added->Bitmap->GetHeight());
  EXPECT_EQ(ie24RGB, Added->Bitmap->GetPixelFormat());
  // The picture lives in a platform bitmap, as the current one does.
  EXPECT_EQ(ieTBitmap, Added->Bitmap->GetLocation());
  EXPECT_EQ(Added->Bitmap->GetTBitmap(), View->GetTBitmap());
  EXPECT_TRUE(Added->Bitmap->GetPixel24(19, 9) == (TIERGBTriple{0x80, 0x80, 0x80}));
  // Layer 0 keeps its picture.
  EXPECT_EQ(Base, View->GetLayer(0)->Bitmap);
  EXPECT_TRUE(Base->GetPixel24(3, 2) == (TIERGBTriple{5, 2, 3}));
}

TEST_F(LayerList, ReachingALayerOutsideTheListRaises) {
  Grow(2);
  EXPECT_THROW(View->GetLayer(2), EListError);
  EXPECT_THROW(View->GetLayer(-1), EListError);
  EXPECT_EQ(View->GetLayer(1), View->GetCurrentLayer());
}

TEST_F(LayerList, CurrentIndexOutsideTheListChangesNothing) {
  Grow(3);
  View->SetLayersCurrent(1);
  for (Integer Index : {-1, 3, 100}) {
    View->SetLayersCurrent(Index);
    EXPECT_EQ(1, View->GetLayersCurrent()) << Index;
    EXPECT_EQ(View->GetLayer(1)->Bitmap, View->GetIEBitmap()) << Index;
  }
}

TEST_F(LayerList, ChangingTheCurrentLayerTellsListeners) {
  Grow(2);
  struct TListener {
    int Changes = 0;
    void Changed(TObject*, bool Destroying) {
      if (!Destroying) ++Changes;
    }
  } Listener;
  TIEBitmapChangeHandle Handle =
      View->AddBitmapChangeEvent(TIEBitmapChangeEvent(&Listener, &TListener::Changed));
  View->SetLayersCurrent(0);
  EXPECT_EQ(1, Listener.Changes);
  EXPECT_EQ(View->GetLayer(0)->Bitmap, View->GetIEBitmap());
  View->SetLayersCurrent(0);
  EXPECT_EQ(1, Listener.Changes);
  View->RemoveBitmapChangeEvent(Handle);
}

TEST_F(LayerList, NonSelectableLayersAreSkippedDownwardsWhileTheRuleIsOn) {
  Grow(4);
  View->SetLayersCurrent(0);
  View->GetLayer(3)->Selectable = false;
  View->GetLayer(2)->Selectable = false;
  View->SetLayersCurrent(3);
  EXPECT_EQ(1, View->GetLayersCurrent());
  View->GetLayer(1)->Selectable = false;
  View->SetLayersCurrent(0);
  View->SetLayersCurrent(3);
  EXPECT_EQ(0, View->GetLayersCurrent());  // layer 0 is taken whatever its flag
  View->SetLayersOnlySelectable(false);
  View->SetLayersCurrent(3);
  EXPECT_EQ(3, View->GetLayersCurrent());
  EXPECT_EQ(View->GetLayer(3)->Bitmap, View->GetIEBitmap());
}

TEST_F(LayerList, RemovingFixesTheCurrentIndex) {
  Grow(4);
  TIELayer* Layer2 = View->GetLayer(2);
  // The current top layer goes: the new top one becomes current.
  View->LayersRemove(3);
  EXPECT_EQ(3, View->GetLayersCount());
  EXPECT_EQ(2, View->GetLayersCurrent());
  EXPECT_EQ(Layer2->Bitmap, View->GetIEBitmap());
  // A layer below the current one goes: the same layer stays current one index lower.
  View->LayersRemove(1);
  EXPECT_EQ(2, View->GetLayersCount());
  EXPECT_EQ(1, View->GetLayersCurrent());
  EXPECT_EQ(Layer2, View->GetCurrentLayer());
  EXPECT_EQ(Layer2->Bitmap, View->GetIEBitmap());
  // A layer above the current one goes: nothing moves.
  View->SetLayersCurrent(0);
  View->LayersRemove(1);
  EXPECT_EQ(0, View->GetLayersCurrent());
  // The last layer stays.
  View->LayersRemove(0);
  EXPECT_EQ(1, View->GetLayersCount());
}

TEST_F(LayerList, MaskLayerGoesWithTheLayerBelowIt) {
  Grow(4);
  View->GetLayer(2)->IsMask = true;
  TIELayer* Top = View->GetLayer(3);
  ASSERT_EQ(3, View->GetLayersCurrent());
  View->LayersRemove(1);
  ASSERT_EQ(2, View->GetLayersCount());
  EXPECT_EQ(Top, View->GetLayer(1));
  // Two layers went below the current one: it is still the same layer.
  EXPECT_EQ(1, View->GetLayersCurrent());
  EXPECT_EQ(Top->Bitmap, View->GetIEBitmap());
}

TEST_F(LayerList, RemovingTheCurrentLayerWithItsMaskSelectsTheLayerNowThere) {
  Grow(4);
  View->GetLayer(2)->IsMask = true;
  TIELayer* Top = View->GetLayer(3);
  View->SetLayersCurrent(2);
  View->LayersRemove(1);
  ASSERT_EQ(2, View->GetLayersCount());
  EXPECT_EQ(1, View->GetLayersCurrent());
  EXPECT_EQ(Top->Bitmap, View->GetIEBitmap());
}

TEST_F(LayerList, ClearKeepsLayerZeroResetBoxHiddenAndLocked) {
  Grow(3);
  TIELayer* Base = View->GetLayer(0);
  Base->PosX = 7;
  Base->Locked = false;
  Base->VisibleBox = true;
  Base->Transparency = 10;
  View->LayersClear();
  ASSERT_EQ(1, View->GetLayersCount());
  EXPECT_EQ(0, View->GetLayersCurrent());
  EXPECT_EQ(Base, View->GetCurrentLayer());
  EXPECT_EQ(Base->Bitmap, View->GetIEBitmap());
  EXPECT_EQ(0, Base->PosX);
  EXPECT_EQ(255, Base->Transparency);
  EXPECT_TRUE(Base->Locked);
  EXPECT_FALSE(Base->VisibleBox);
  // The picture is cleared to the background.
  EXPECT_TRUE(Base->Bitmap->GetPixel24(3, 2) == (TIERGBTriple{0x80, 0x80, 0x80}));
}

TEST_F(LayerList, SyncGrowsEveryLayerToTheLargestKeepingPixelsTopLeft) {
  auto Wide = SolidBitmap(200, 50, {10, 20, 30});
  View->GetIEBitmap()->Assign(Wide.get());
  View->LayersAdd();
  auto Tall = SolidBitmap(100, 100, {1, 2, 3});
  View->GetIEBitmap()->Assign(Tall.get());
  View->SetLayersSync(true);
  View->SyncLayers();
  for (Integer I = 0; I < 2; ++I) {
    EXPECT_EQ(200, View->GetLayer(I)->Bitmap->GetWidth()) << I;
    EXPECT_EQ(100, View->GetLayer(I)->Bitmap->GetHeight()) << I;
  }
  EXPECT_EQ(200, View->GetBitmapWidth());
  EXPECT_EQ(100, View->GetBitmapHeight());
  TIEBitmap* Top = View->GetLayer(1)->Bitmap;
  EXPECT_TRUE(Top->GetPixel24(99, 99) == (TIERGBTriple{1, 2, 3}));
  EXPECT_EQ(255, Top->GetAlpha(99, 99));
  EXPECT_EQ(0, Top->GetAlpha(100, 0));  // what was added is transparent
  TIEBitmap* Base = View->GetLayer(0)->Bitmap;
  EXPECT_TRUE(Base->GetPixel24(199, 49) == (TIERGBTriple{10, 20, 30}));
  EXPECT_EQ(0, Base->GetAlpha(0, 50));
}

TEST_F(LayerList, WithoutSyncTheGeometryFollowsLayerZero) {
  View->LayersAdd();
  auto Big = SolidBitmap(60, 40, {});
  View->GetIEBitmap()->Assign(Big.get());
  View->SyncLayers();
  EXPECT_EQ(20, View->GetBitmapWidth());
  EXPECT_EQ(10, View->GetBitmapHeight());
  EXPECT_EQ(20, View->GetLayer(0)->Bitmap->GetWidth());
}

TEST_F(LayerList, PointInLayerUsesItsRectangleOrItsRotatedCorners) {
  Grow(2);
  TIELayer* L = View->GetLayer(1);
  L->ScreenRect = TRect{8, 8, 22, 22};
  EXPECT_TRUE(View->IsPointInLayer(8, 8, 1));
  EXPECT_TRUE(View->IsPointInLayer(22, 22, 1));  // edges included
  EXPECT_FALSE(View->IsPointInLayer(23, 15, 1));
  EXPECT_FALSE(View->IsPointInLayer(15, 15, 2));
  EXPECT_FALSE(View->IsPointInLayer(15, 15, -1));
  L->SetRotate(45);
  L->DrawGeometry.Corners[0] = {15, 5};
  L->DrawGeometry.Corners[1] = {25, 15};
  L->DrawGeometry.Corners[2] = {15, 25};
  L->DrawGeometry.Corners[3] = {5, 15};
  EXPECT_TRUE(View->IsPointInLayer(15, 6, 1));  // outside the rectangle, inside the diamond
  EXPECT_FALSE(View->IsPointInLayer(9, 9, 1));  // inside the rectangle, outside the diamond
  L->Visible = false;
  EXPECT_FALSE(View->IsPointInLayer(15, 15, 1));
}

TEST_F(LayerList, PickingSkipsTransparentPixelsUnlessAskedNotTo) {
  Grow(2);
  View->GetLayer(0)->ScreenRect = TRect{0, 0, 40, 40};
  TIELayer* Top = View->GetLayer(1);
  Top->ScreenRect = TRect{0, 0, 40, 40};
  Top->Bitmap->GetAlphaChannel()->Fill(0);
  EXPECT_EQ(0, View->FindLayerAt(5, 5));
  TIESelectionOptions Options = View->GetSelectionOptions();
  Options.Include(iesoSelectTranspLayers);
  View->SetSelectionOptions(Options);
  EXPECT_EQ(1, View->FindLayerAt(5, 5));
  Options.Exclude(iesoSelectTranspLayers);
  View->SetSelectionOptions(Options);
  Top->Bitmap->GetAlphaChannel()->Fill(255);
  EXPECT_EQ(1, View->FindLayerAt(5, 5));
  EXPECT_EQ(-1, View->FindLayerAt(41, 5));
}

TEST_F(LayerList, PickingHonoursSelectableAndVisible) {
  Grow(3);
  for (Integer I = 0; I < 3; ++I) View->GetLayer(I)->ScreenRect = TRect{0, 0, 40, 40};
  View->GetLayer(2)->Selectable = false;
  EXPECT_EQ(1, View->FindLayerAt(5, 5));
  EXPECT_EQ(2, View->FindLayerAt(5, 5, false));
  View->GetLayer(1)->Visible = false;
  EXPECT_EQ(0, View->FindLayerAt(5, 5));
  View->SetLayersOnlySelectable(false);
  EXPECT_EQ(2, View->FindLayerAt(5, 5));
}

}  // namespace
