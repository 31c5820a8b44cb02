// Layers under the mouse: moving (and not moving a locked layer), resizing by each kind of
// grip with and without the aspect, rotating with the Shift snap, dragging the rotation
// centre, the rotation cursors, and baking rotations and transparent borders.
#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "imaging/proc/zezudidproc.h"

namespace {

class MouseLayerTest : public MouseTest {
 protected:
  void SetUp() override {
    MouseTest::SetUp();
    View->OnLayerNotify = TIELayerNotify(&Log, &TLayerLog::Notify);
  }
  TLayerLog Log;
};

TEST_F(MouseLayerTest, DragMovesTheLayerUnderThePointer) {
  TIELayer* L = AddLayer(100, 60, 80, 40);
  View->SetLayersCurrent(0);
  View->SetMouseInteract({miMoveLayers});
  Press(120, 70);
  EXPECT_EQ(View->ShownCursor(), 1790);
  MoveTo(135, 80);
  MoveTo(150, 90);
  Release();
  EXPECT_EQ(View->GetLayersCurrent(), 1);
  EXPECT_EQ(L->PosX, 130);
  EXPECT_EQ(L->PosY, 80);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"selected 1", "beginmoving 1", "moving 1", "moved 1"}));
  EXPECT_EQ(View->ShownCursor(), IEViewDefaultCursor);
}

TEST_F(MouseLayerTest, RightButtonPicksLayersWhenAllowed) {
  TIELayer* Lower = AddLayer(100, 60, 80, 40);
  AddLayer(200, 120, 50, 50);
  View->SetMouseInteract({miMoveLayers});
  Click(120, 70, TInputButton::Right);
  EXPECT_EQ(View->GetLayersCurrent(), 2);
  EXPECT_TRUE(Log.Events.empty());

  View->SetSelectionOptions(View->GetSelectionOptions() + TIESelectionOptions{iesoRightButtonSelectLayers});
  // The right button holds no capture: it picks, it does not drag.
  Drag({120, 70}, {140, 80}, 2, TInputButton::Right);
  EXPECT_EQ(View->GetLayersCurrent(), 1);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"selected 1", "beginmoving 1"}));
  EXPECT_EQ(View->ShownCursor(), IEViewDefaultCursor);
  Drag({20, 200}, {60, 210});
  EXPECT_EQ(Lower->PosX, 100);
  EXPECT_EQ(Lower->PosY, 60);
}

TEST_F(MouseLayerTest, LockedLayerStaysAndFiresNoMovingEvents) {
  TIELayer* L = AddLayer(100, 60, 80, 40);
  L->Locked = true;
  View->SetMouseInteract({miMoveLayers});
  Drag({120, 70}, {150, 90});
  EXPECT_EQ(L->PosX, 100);
  EXPECT_EQ(L->PosY, 60);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"selected 1", "beginmoving 1"}));
}

struct TUndoLog {
  void Saved(TObject*, TIEUndoSource Source) { Sources.push_back(Source); }
  std::vector<TIEUndoSource> Sources;
};

TEST_F(MouseLayerTest, EachDragAsksForOneUndoStepWhenWanted) {
  AddLayer(100, 60, 80, 40);
  TUndoLog Undo;
  View->GetProc()->SetOnSaveUndo(TIESaveUndoEvent(&Undo, &TUndoLog::Saved));
  View->SetMouseInteract({miMoveLayers, miResizeLayers});
  Drag({120, 70}, {150, 90});
  EXPECT_TRUE(Undo.Sources.empty());
  View->SetLayerUndo(true);
  Drag({150, 90}, {120, 70});
  Drag({180, 100}, {200, 120});
  EXPECT_EQ(Undo.Sources, (std::vector<TIEUndoSource>{ieuLayer, ieuLayer}));
  View->SetMouseInteract({miRotateLayers});
  Drag({250, 120}, {250, 160});
  EXPECT_EQ(Undo.Sources.back(), ieuFullLayer);
}

TEST_F(MouseLayerTest, GripsResizeTheLayer) {
  struct TCase {
    const char* Name;
    TPoint From, To;
    Byte AspectMode;
    bool Constrain;
    Integer Width, Height, PosX, PosY;
  };
  // The layer is 80 x 40 at (100, 60): its corners at x 100 and 180, y 60 and 100.
  const TCase Cases[] = {
      {"bottom-right", {180, 100}, {200, 130}, 1, false, 100, 70, 100, 60},
      {"bottom-right with Alt", {180, 100}, {200, 130}, 1, true, 100, 50, 100, 60},
      {"bottom-right, aspect always", {180, 100}, {200, 130}, 2, false, 100, 50, 100, 60},
      {"bottom-right, aspect at corners", {180, 100}, {200, 130}, 3, false, 100, 50, 100, 60},
      {"top-left", {100, 60}, {90, 50}, 1, false, 90, 50, 90, 50},
      {"right side", {180, 80}, {150, 80}, 1, false, 50, 40, 100, 60},
      {"right side, aspect at corners", {180, 80}, {150, 80}, 3, false, 50, 40, 100, 60},
      {"right side with Alt", {180, 80}, {220, 80}, 1, true, 120, 60, 100, 60},
      {"left side", {100, 80}, {140, 80}, 1, false, 40, 40, 140, 60},
      {"bottom side", {140, 100}, {140, 130}, 1, false, 80, 70, 100, 60},
      {"top side with Alt", {140, 60}, {140, 40}, 1, true, 120, 60, 60, 40},
      {"right side past the left edge", {180, 80}, {20, 80}, 1, false, 1, 40, 100, 60},
  };
  View->SetMouseInteract({miMoveLayers, miResizeLayers});
  for (const TCase& Case : Cases) {
    TIELayer* L = AddLayer(100, 60, 80, 40);
    Log.Events.clear();
    View->SetLayerResizeAspect(Case.AspectMode);
    View->SetForceConstrain(Case.Constrain);
    Drag(Case.From, Case.To);
    EXPECT_EQ(L->GetWidth(), Case.Width) << Case.Name;
    EXPECT_EQ(L->GetHeight(), Case.Height) << Case.Name;
    EXPECT_EQ(L->PosX, Case.PosX) << Case.Name;
    EXPECT_EQ(L->PosY, Case.PosY) << Case.Name;
    // The bitmap is shown stretched, not resampled.
    EXPECT_EQ(L->Bitmap->GetWidth(), 80) << Case.Name;
    EXPECT_EQ(Log.Events, (std::vector<std::string>{"beginresizing 1", "resizing 1", "resized 1"}))
        << Case.Name;
    View->LayersRemove(View->GetLayersCurrent());
  }
}

TEST_F(MouseLayerTest, RotationFollowsTheDragAndShiftSnapsIt) {
  TIELayer* L = AddLayer(100, 60, 80, 40);
  View->SetMouseInteract({miRotateLayers});
  // Right of the centre (140, 80) a move down turns the layer clockwise: a quarter degree a
  // pixel.
  Drag({250, 120}, {250, 220});
  EXPECT_DOUBLE_EQ(L->Rotate, -25);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"rotating 1", "rotated 1"}));
  HoldKey(VK_SHIFT);
  Drag({250, 10}, {250, 210});
  LetGoKey(VK_SHIFT);
  EXPECT_DOUBLE_EQ(L->Rotate, -45);
  // Left of the centre the same move turns the other way.
  Drag({20, 100}, {20, 140});
  EXPECT_DOUBLE_EQ(L->Rotate, -35);
}

TEST_F(MouseLayerTest, HintsTellPositionSizeAndAngleWhileDragging) {
  AddLayer(100, 60, 80, 40);
  View->SetMouseInteract({miMoveLayers, miResizeLayers});
  struct TCase {
    TPoint From, To;
    const char* Text;
    const char* Template;
  };
  const TCase Cases[] = {{{120, 70}, {135, 80}, "X=115 Y=70", "X=000 Y=000"},
                         {{195, 110}, {205, 117}, "90 x 47", "0000 x 0000"}};
  for (const TCase& Case : Cases) {
    Press(Case.From.X, Case.From.Y);
    MoveTo(Case.To.X, Case.To.Y);
    EXPECT_EQ(View->FHintText, Case.Text);
    EXPECT_EQ(View->FHintTemplate, Case.Template);
    Release();
    EXPECT_EQ(View->FHintText, "");
  }
  View->SetMouseInteract({miRotateLayers});
  Press(250, 120);
  MoveTo(250, 145);
  EXPECT_EQ(View->FHintText, "-6.25°");
  EXPECT_EQ(View->FHintTemplate, "0000°");
  Release();
}

TEST_F(MouseLayerTest, RotationCursorsShowTheQuarterAroundTheCentre) {
  AddLayer(100, 60, 80, 40);
  View->SetMouseInteract({miRotateLayers});
  struct TCase {
    TPoint At;
    TCursor Cursor;
  };
  const TCase Cases[] = {
      {{50, 20}, 1814}, {{50, 200}, 1811}, {{250, 20}, 1812}, {{250, 200}, 1813}, {{120, 70}, 1785}};
  for (const TCase& Case : Cases) {
    MoveTo(Case.At.X, Case.At.Y);
    EXPECT_EQ(View->ShownCursor(), Case.Cursor) << Case.At.X << "," << Case.At.Y;
  }
}

TEST_F(MouseLayerTest, GripHitTestCountsEdgesAndPrefersTheFirstGrip) {
  TIELayer* L = AddLayer(100, 60, 80, 40);
  View->SetMouseInteract({miMoveLayers, miResizeLayers});
  EXPECT_EQ(View->LayerGripAt(105, 65), ieTopLeft);
  EXPECT_EQ(View->LayerGripAt(106, 65), ieNone);
  EXPECT_EQ(View->LayerGripAt(175, 95), ieBottomRight);
  EXPECT_EQ(View->LayerGripAt(140, 105), ieBottomSide);
  // On a small layer the squares overlap: the earlier grip wins.
  L->Bitmap->Allocate(4, 4, ie24RGB);
  View->Update();
  Pump();
  EXPECT_EQ(View->LayerGripAt(102, 60), ieTopLeft);
  EXPECT_EQ(View->LayerGripAt(109, 60), ieTopRight);
}

TEST_F(MouseLayerTest, RotationCentreFollowsItsGrip) {
  TIELayer* L = AddLayer(100, 60, 80, 40);
  View->SetMouseInteract({miRotateLayers});
  EXPECT_EQ(View->LayerGripAt(140, 80), ieRotationCenter);
  Drag({140, 80}, {120, 70});
  EXPECT_DOUBLE_EQ(L->RotateCenterX, 0.25);
  EXPECT_DOUBLE_EQ(L->RotateCenterY, 0.25);
  EXPECT_DOUBLE_EQ(L->Rotate, 0);
  // Without rotation the centre is no grip.
  View->SetMouseInteract({miMoveLayers, miResizeLayers});
  EXPECT_EQ(View->LayerGripAt(120, 70), ieNone);
}

TEST_F(MouseLayerTest, FixingSizesResamplesToTheShownSize) {
  TIELayer* A = AddLayer(10, 10, 40, 20);
  TIELayer* B = AddLayer(100, 100, 30, 30);
  A->Width = 80;
  A->Height = 10;
  B->Width = 60;
  View->LayersFixSizes(1);
  EXPECT_EQ(A->Bitmap->GetWidth(), 80);
  EXPECT_EQ(A->Bitmap->GetHeight(), 10);
  EXPECT_EQ(A->Width, 0);
  EXPECT_EQ(A->Height, 0);
  EXPECT_EQ(B->Bitmap->GetWidth(), 30);
  View->LayersFixSizes(-1);
  EXPECT_EQ(B->Bitmap->GetWidth(), 60);
  EXPECT_EQ(B->Bitmap->GetHeight(), 30);
  EXPECT_EQ(B->Width, 0);
  EXPECT_EQ(View->GetLayer(0)->Bitmap->GetWidth(), 600);
}

TEST_F(MouseLayerTest, LeavingRotationBakesTheAngleIntoTheBitmap) {
  TIELayer* L = AddLayer(30, 20, 40, 20);
  L->Bitmap->SetPixel24(39, 0, {0, 0, 255});
  View->SetMouseInteract({miRotateLayers});
  L->SetRotate(90);
  View->SetMouseInteract({miMoveLayers});
  EXPECT_DOUBLE_EQ(L->Rotate, 0);
  EXPECT_EQ(L->Bitmap->GetWidth(), 20);
  EXPECT_EQ(L->Bitmap->GetHeight(), 40);
  // Turned a quarter counter-clockwise about its centre (50, 30).
  EXPECT_EQ(L->PosX, 40);
  EXPECT_EQ(L->PosY, 10);
  EXPECT_EQ(L->Bitmap->GetPixel24(0, 0), (TIERGBTriple{0, 0, 255}));
  EXPECT_EQ(L->Width, 0);
}

TEST_F(MouseLayerTest, EnteringRotationCropsTransparentBordersInPlace) {
  TIELayer* L = AddLayer(100, 60, 40, 30, 0);
  TIEBitmap* Alpha = L->Bitmap->GetAlphaChannel();
  for (Integer Y = 5; Y < 25; ++Y)
    for (Integer X = 5; X < 35; ++X) Alpha->SetPixel8(X, Y, 255);
  View->SetMouseInteract({miRotateLayers});
  EXPECT_EQ(L->Bitmap->GetWidth(), 30);
  EXPECT_EQ(L->Bitmap->GetHeight(), 20);
  // What was visible stays where it was.
  EXPECT_EQ(L->PosX, 105);
  EXPECT_EQ(L->PosY, 65);

  View->SetMouseInteract({miMoveLayers});
  View->SetLayersCropBeforeRotate(false);
  Alpha = L->Bitmap->GetAlphaChannel();
  Alpha->Fill(0);
  Alpha->SetPixel8(10, 10, 255);
  View->SetMouseInteract({miRotateLayers});
  EXPECT_EQ(L->Bitmap->GetWidth(), 30);
}

}  // namespace
