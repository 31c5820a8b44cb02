// Selecting with the mouse: rectangles (drawn, moved, resized by a grip, added with Shift),
// ellipses, polygons, lassos, the magic wand, zooming to a rectangle, and the scrolling of a
// drag that runs past the view's edge.
#include <gtest/gtest.h>

#include "MouseTestSupport.h"

namespace {

struct TSelectionLog {
  void Changed(TObject*) { ++Changes; }
  int Changes = 0;
};

class MouseSelectionTest : public MouseTest {
 protected:
  void SetUp() override {
    MouseTest::SetUp();
    View->OnSelectionChange = TNotifyEvent(&Log, &TSelectionLog::Changed);
  }
  bool Selected(Integer X, Integer Y) { return View->GetSelectionMask()->GetPixel(X, Y) != 0; }
  TSelectionLog Log;
};

TEST_F(MouseSelectionTest, RectangleDragSelectsAndAClickDeselects) {
  View->SetMouseInteract({miSelect});
  Drag({20, 30}, {80, 70});
  ASSERT_TRUE(View->GetSelectionActive());
  EXPECT_EQ(View->GetSelX1(), 20);
  EXPECT_EQ(View->GetSelY1(), 30);
  EXPECT_EQ(View->GetSelX2(), 79);
  EXPECT_EQ(View->GetSelY2(), 69);
  EXPECT_EQ(Log.Changes, 1);
  EXPECT_FALSE(View->FRectSelecting);

  Click(200, 200);
  EXPECT_FALSE(View->GetSelectionActive());
  EXPECT_EQ(Log.Changes, 2);

  // A drag that comes back to where it started is a click.
  Drag({20, 30}, {60, 60}, 2);
  ASSERT_TRUE(View->GetSelectionActive());
  Press(150, 150);
  MoveTo(200, 200);
  MoveTo(150, 150);
  Release();
  EXPECT_FALSE(View->GetSelectionActive());
}

TEST_F(MouseSelectionTest, FixedSizeSelectionIsMadeByAClick) {
  View->SetMouseInteract({miSelect});
  View->SetSelectionAspectRatio(0);
  View->ChangeZoom(200);
  Click(100, 100);
  ASSERT_TRUE(View->GetSelectionActive());
  EXPECT_NEAR(View->GetSelX2() - View->GetSelX1() + 1, 100, 1);
  EXPECT_NEAR(View->GetSelY2() - View->GetSelY1() + 1, 100, 1);
  EXPECT_EQ(Log.Changes, 1);
}

TEST_F(MouseSelectionTest, DelayedFilterIsOffWhileTheButtonIsDown) {
  View->SetZoomFilter(rfFastLinear);
  View->SetDelayZoomFilter(true);
  View->SetMouseInteract({miSelect});
  Press(50, 50);
  EXPECT_EQ(View->GetZoomFilter(), rfNone);
  Release();
  EXPECT_EQ(View->GetZoomFilter(), rfFastLinear);
  View->SetMouseInteract({miZoom, miScroll});
  Press(50, 50);
  EXPECT_EQ(View->GetZoomFilter(), rfFastLinear);
  Release();
}

TEST_F(MouseSelectionTest, RectangleMovesAndResizesByItsGrip) {
  View->SetMouseInteract({miSelect});
  Drag({20, 30}, {80, 70});
  // Inside the selection the drag moves it.
  Drag({50, 50}, {80, 70});
  EXPECT_EQ(View->GetSelX1(), 50);
  EXPECT_EQ(View->GetSelY1(), 50);
  EXPECT_EQ(View->GetSelX2(), 109);
  EXPECT_EQ(View->GetSelY2(), 89);
  EXPECT_TRUE(Selected(100, 80));
  EXPECT_FALSE(Selected(30, 40));
  // The bottom-right grip takes the corner to the pointer.
  Drag({110, 90}, {150, 120});
  EXPECT_EQ(View->GetSelX1(), 50);
  EXPECT_EQ(View->GetSelY1(), 50);
  EXPECT_EQ(View->GetSelX2(), 150);
  EXPECT_EQ(View->GetSelY2(), 120);
  EXPECT_TRUE(Selected(145, 115));
  EXPECT_EQ(Log.Changes, 3);
}

TEST_F(MouseSelectionTest, ShiftAddsAShapeAndWithoutItADragReplaces) {
  View->SetMouseInteract({miSelect});
  Drag({20, 20}, {40, 40});
  HoldKey(VK_SHIFT);
  Drag({100, 100}, {120, 120});
  LetGoKey(VK_SHIFT);
  EXPECT_TRUE(Selected(30, 30));
  EXPECT_TRUE(Selected(110, 110));
  Drag({200, 20}, {220, 40});
  EXPECT_FALSE(Selected(30, 30));
  EXPECT_FALSE(Selected(110, 110));
  EXPECT_TRUE(Selected(210, 30));
}

TEST_F(MouseSelectionTest, EllipseAroundThePressedPoint) {
  View->SetMouseInteract({miSelectCircle});
  Drag({100, 100}, {130, 120});
  ASSERT_TRUE(View->GetSelectionActive());
  EXPECT_NEAR(View->GetSelX1(), 70, 1);
  EXPECT_NEAR(View->GetSelX2(), 130, 1);
  EXPECT_NEAR(View->GetSelY1(), 80, 1);
  EXPECT_NEAR(View->GetSelY2(), 120, 1);
  EXPECT_TRUE(Selected(100, 100));
  EXPECT_FALSE(Selected(72, 82));
  // A click without a move takes it away.
  Click(250, 200);
  EXPECT_FALSE(View->GetSelectionActive());
  EXPECT_EQ(Log.Changes, 2);
}

TEST_F(MouseSelectionTest, PolygonByClicksEndsWithTheRightButton) {
  View->SetSelectionOptions(View->GetSelectionOptions() +
                            TIESelectionOptions{iesoRightButtonTerminatePolySelect});
  View->SetMouseInteract({miSelectPolygon});
  Click(20, 20);
  Click(120, 20);
  Click(120, 100);
  EXPECT_TRUE(View->FPolySelecting);
  Click(20, 100, TInputButton::Right);
  EXPECT_FALSE(View->FPolySelecting);
  // The right click adds no point and keeps the last one.
  EXPECT_EQ(View->GetPolySelCount(), 3);
  EXPECT_TRUE(Selected(110, 30));
  EXPECT_FALSE(Selected(30, 90));
}

TEST_F(MouseSelectionTest, ChangingTheModeEndsAnUnfinishedPolygon) {
  View->SetMouseInteract({miSelectPolygon});
  Click(20, 20);
  Click(120, 20);
  Click(120, 100);
  Click(20, 100);
  View->SetMouseInteract({miSelect});
  EXPECT_FALSE(View->FPolySelecting);
  EXPECT_EQ(View->GetPolySelCount(), 3);
  EXPECT_TRUE(Selected(110, 30));
  EXPECT_FALSE(Selected(30, 90));
}

TEST_F(MouseSelectionTest, ConstrainedPolygonPointsSnapToTheLastOne) {
  View->SetForceConstrain(true);
  View->SetMouseInteract({miSelectPolygon});
  Click(20, 20);
  Click(100, 30);
  Click(100, 90);
  ASSERT_EQ(View->GetPolySelCount(), 3);
  EXPECT_EQ(View->GetPolySelPoints()[1].X, 100);
  EXPECT_EQ(View->GetPolySelPoints()[1].Y, 20);
  EXPECT_EQ(View->GetPolySelPoints()[2].X, 100);
  EXPECT_EQ(View->GetPolySelPoints()[2].Y, 90);
}

struct TBaseProbe {
  void Seen(TObject* Sender) { Bases.push_back(static_cast<TZezudIdView*>(Sender)->GetSelectionBase()); }
  std::vector<TIESelectionBase> Bases;
};

TEST_F(MouseSelectionTest, EventsDuringMouseWorkSeeTheUsersSelectionBase) {
  TBaseProbe InSelection, Changing;
  View->OnMouseInSel = TNotifyEvent(&InSelection, &TBaseProbe::Seen);
  View->OnSelectionChanging = TNotifyEvent(&Changing, &TBaseProbe::Seen);
  View->SetSelectionBase(iesbBitmap);
  View->Select(50, 40, 150, 120);
  View->SetMouseInteract({miSelect});
  MoveTo(250, 200);
  EXPECT_TRUE(InSelection.Bases.empty());
  MoveTo(100, 80);
  EXPECT_EQ(InSelection.Bases, (std::vector<TIESelectionBase>{iesbBitmap}));
  Drag({200, 150}, {230, 180});
  ASSERT_FALSE(Changing.Bases.empty());
  for (TIESelectionBase Base : Changing.Bases) EXPECT_EQ(Base, iesbBitmap);
  EXPECT_EQ(View->GetSelectionBase(), iesbBitmap);
  // The drag was in client pixels all the same.
  EXPECT_EQ(View->GetSelX1(), 200);
}

TEST_F(MouseSelectionTest, LassoFollowsTheDragAndAClickDeselects) {
  View->SetMouseInteract({miSelectLasso});
  Press(20, 20);
  MoveTo(100, 20);
  MoveTo(100, 100);
  MoveTo(20, 100);
  Release();
  ASSERT_TRUE(View->GetSelectionActive());
  EXPECT_FALSE(View->FPolySelecting);
  EXPECT_GE(View->GetPolySelCount(), 4);
  EXPECT_TRUE(Selected(60, 60));
  EXPECT_FALSE(Selected(150, 60));
  Click(200, 200);
  EXPECT_FALSE(View->GetSelectionActive());
}

TEST_F(MouseSelectionTest, DragPastTheEdgeScrollsTheView) {
  View->SetMouseInteract({miSelectLasso});
  Press(250, 100);
  MoveTo(280, 150);
  EXPECT_EQ(View->GetViewX(), 0);
  // Past the edge the view scrolls for as long as the pointer stays out there.
  MoveTo(320, 150);
  Integer MaxX, MaxY;
  View->GetMaxViewXY(MaxX, MaxY);
  EXPECT_EQ(View->GetViewX(), MaxX);
  EXPECT_EQ(View->GetViewY(), 0);
  MoveTo(250, 200);
  Release();
  // The shape reaches into the part scrolled in: (250, 100), (280, 150), (600, 150), (551, 200).
  EXPECT_TRUE(Selected(480, 165));
  EXPECT_FALSE(Selected(480, 140));
}

TEST_F(MouseSelectionTest, RectangleKeepsItsAnchorWhileTheViewScrolls) {
  View->SetMouseInteract({miSelect});
  Drag({250, 100}, {320, 150}, 2);
  Integer MaxX, MaxY;
  View->GetMaxViewXY(MaxX, MaxY);
  EXPECT_EQ(View->GetViewX(), MaxX);
  EXPECT_EQ(View->GetSelX1(), 250);
  EXPECT_EQ(View->GetSelY1(), 100);
  EXPECT_EQ(View->GetSelX2(), 599);
  EXPECT_EQ(View->GetSelY2(), 149);
}

TEST_F(MouseSelectionTest, MagicWandTakesTheRegionUnderTheClick) {
  View->SetMouseInteract({miSelectMagicWand});
  Click(100, 100);
  ASSERT_TRUE(View->GetSelectionActive());
  EXPECT_TRUE(Selected(10, 10));
  EXPECT_TRUE(Selected(299, 499));
  EXPECT_FALSE(Selected(300, 10));
  EXPECT_EQ(View->ShownCursor(), IEViewDefaultCursor);
  EXPECT_EQ(Log.Changes, 1);
}

TEST_F(MouseSelectionTest, ZoomRectangleFillsTheViewAndKeepsTheSelection) {
  View->SetSelectionBase(iesbBitmap);
  View->Select(400, 300, 450, 350);
  View->SetMouseInteract({miSelectZoom});
  Drag({0, 0}, {150, 120});
  EXPECT_DOUBLE_EQ(View->GetZoom(), 200);
  EXPECT_TRUE(View->GetSelectionActive());
  EXPECT_EQ(View->GetSelX1(), 400);
  EXPECT_EQ(View->GetSelX2(), 449);
}

}  // namespace
