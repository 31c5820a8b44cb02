// The view's interaction modes and their exclusivity, zoom clicks, scroll drags, the cursor
// table, cursors chosen over grips, the Shift feedback and the moving scroll.
#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "platform/classes/Screen.h"
#include "platform/classes/Timer.h"
#include "platform/system/Clock.h"
#include "platform/user/Cursors.h"

namespace {

using TMI = TIEMouseInteract;

TEST(ViewMouseModes, AddedItemsKeepOnlyTheirCompatibleItems) {
  struct TCase {
    TMI Before, Set, Expected;
  };
  const TCase Cases[] = {
      {{}, {miZoom, miSelectPolygon}, {miSelectPolygon}},
      {{}, {miZoom, miScroll, miSelect}, {miZoom, miScroll}},
      {{miZoom, miScroll}, {miZoom, miScroll, miSelect}, {miZoom, miSelect}},
      {{miSelect}, {miSelect, miZoom}, {miZoom, miSelect}},
      {{miSelect}, {miSelect, miSelectZoom}, {miSelectZoom}},
      {{miMoveLayers}, {miMoveLayers, miZoom}, {miZoom}},
      {{miSelectPolygon}, {miSelectPolygon, miZoom}, {miZoom}},
      {{}, {miMoveLayers, miResizeLayers, miRotateLayers}, {miMoveLayers, miRotateLayers}},
      {{}, {miMoveLayers, miResizeLayers}, {miMoveLayers, miResizeLayers}},
      {{miRotateLayers}, {miRotateLayers, miSelect}, {miSelect}},
      {{miSelect}, {miSelect, miSelectMagicWand}, {miSelectMagicWand}},
      {{}, {miSelectLasso, miMovingScroll, miMoveLayers}, {miSelectLasso, miMovingScroll}},
      {{}, {miZoom, miSelectCircle}, {miZoom, miSelectCircle}},
  };
  for (const TCase& Case : Cases) {
    TZezudIdView View(nullptr);
    View.SetMouseInteract(Case.Before);
    View.SetMouseInteract(Case.Set);
    EXPECT_TRUE(View.GetMouseInteract() == Case.Expected) << "case " << (&Case - Cases);
  }
}

TEST_F(MouseTest, ClickZoomsAlongTheLadder) {
  struct TCase {
    Double From;
    TInputButton Button;
    Double To;
  };
  const TCase Cases[] = {{40, TInputButton::Left, 50},    {150, TInputButton::Left, 250},
                         {150, TInputButton::Right, 100}, {2, TInputButton::Right, 2},
                         {1, TInputButton::Left, 2},      {100, TInputButton::Left, 200},
                         {250, TInputButton::Right, 150}, {33, TInputButton::Right, 25}};
  View->SetMouseInteract({miZoom});
  for (const TCase& Case : Cases) {
    View->ChangeZoom(Case.From);
    View->SetViewXY(0, 0);
    Pump();
    Click(3, 3, Case.Button);
    EXPECT_DOUBLE_EQ(View->GetZoom(), Case.To) << Case.From;
  }
}

struct TZoomAnswer {
  void ZoomIn(TObject*, Double& Zoom) {
    Asked = Zoom;
    Zoom = 300;
  }
  Double Asked = 0;
};

TEST_F(MouseTest, ZoomInHandlerDecidesAndADragDoesNotZoom) {
  TZoomAnswer Answer;
  View->OnZoomIn = TIEZoomEvent(&Answer, &TZoomAnswer::ZoomIn);
  View->SetMouseInteract({miZoom});
  Click(50, 40);
  EXPECT_DOUBLE_EQ(Answer.Asked, 200);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 300);
  Drag({50, 40}, {80, 60});
  EXPECT_DOUBLE_EQ(View->GetZoom(), 300);
}

TEST_F(MouseTest, ScrollDragFollowsThePointerWithTheHand) {
  View->SetMouseInteract({miZoom, miScroll});
  Press(100, 100);
  EXPECT_EQ(View->ShownCursor(), 1782);
  MoveTo(70, 80);
  EXPECT_EQ(View->GetViewX(), 30);
  EXPECT_EQ(View->GetViewY(), 20);
  MoveTo(40, 60);
  Release();
  EXPECT_EQ(View->GetViewX(), 60);
  EXPECT_EQ(View->GetViewY(), 40);
  EXPECT_EQ(View->ShownCursor(), IEViewDefaultCursor);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 100);

  View->SetMouseScrollRate(2.0);
  Drag({100, 100}, {90, 95}, 1);
  EXPECT_EQ(View->GetViewX(), 80);
  EXPECT_EQ(View->GetViewY(), 50);
}

TEST(ViewCursors, EveryNameOfTheTableIsLoaded) {
  RegisterViewCursors();
  const HCURSOR Default = Screen->GetCursors(crDefault);
  for (Integer Number = 1778; Number <= 1814; ++Number)
    EXPECT_NE(Screen->GetCursors(Number), Default) << Number;
  // Names that appear twice give the same drawing to two numbers.
  EXPECT_EQ(Screen->GetCursors(1795), Screen->GetCursors(1796));
  EXPECT_EQ(Screen->GetCursors(1805), Screen->GetCursors(1806));
  EXPECT_NE(Screen->GetCursors(1785), Screen->GetCursors(1791));
  EXPECT_NE(Screen->GetCursors(1811), Screen->GetCursors(1814));
}

struct TCursorHook {
  void Set(TObject*, TCursor& Cursor) {
    Seen.push_back(Cursor);
    if (Cursor == 1790) Cursor = 1782;
  }
  std::vector<TCursor> Seen;
};

TEST(ViewCursors, TemporaryCursorsNeedAnOwnerAndPassTheHook) {
  TMouseView Loose(nullptr);
  Loose.SetCursor(1793);
  Loose.ApplyCursor(1790);
  EXPECT_EQ(Loose.ShownCursor(), 1793);

  TComponent Owner(nullptr);
  TMouseView* Owned = new TMouseView(&Owner);
  TCursorHook Hook;
  Owned->OnSetCursor = TIESetCursorEvent(&Hook, &TCursorHook::Set);
  Owned->SetCursor(1793);
  Owned->ApplyCursor(1790);
  EXPECT_EQ(Owned->ShownCursor(), 1782);
  EXPECT_EQ(Owned->GetCursor(), 1793);
  Owned->RestoreCursor();
  EXPECT_EQ(Owned->ShownCursor(), 1793);
  EXPECT_EQ(Hook.Seen, (std::vector<TCursor>{1793, 1790, 1793}));
}

TEST_F(MouseTest, CursorsOverTheSelectionAndItsGrips) {
  struct TGripLog {
    void Grip(TObject*, TIEGrip G) { Last = G; }
    TIEGrip Last = ieNone;
  } Log;
  View->OnMouseInResizingGrip = TIEMouseInResizingGripEvent(&Log, &TGripLog::Grip);
  View->SetMouseInteract({miSelect});
  View->SetSelectionBase(iesbBitmap);
  View->Select(50, 40, 150, 120);
  Pump();
  struct TCase {
    TPoint At;
    TIEGrip Grip;
    TCursor Cursor;
  };
  const TCase Cases[] = {
      {{50, 40}, ieTopLeft, 1786},     {{154, 36}, ieTopRight, 1788},    {{150, 120}, ieBottomRight, 1786},
      {{50, 120}, ieBottomLeft, 1788}, {{51, 80}, ieLeftSide, 1789},     {{149, 80}, ieRightSide, 1789},
      {{100, 41}, ieTopSide, 1787},    {{100, 119}, ieBottomSide, 1787}, {{100, 80}, ieNone, 1790},
      {{250, 200}, ieNone, 1785},
  };
  for (const TCase& Case : Cases) {
    MoveTo(Case.At.X, Case.At.Y);
    EXPECT_EQ(Log.Last, Case.Grip) << Case.At.X << "," << Case.At.Y;
    EXPECT_EQ(View->ShownCursor(), Case.Cursor) << Case.At.X << "," << Case.At.Y;
  }
  // With Shift a new shape is coming: no grips, the adding cross.
  HoldKey(VK_SHIFT);
  MoveTo(51, 41);
  EXPECT_EQ(Log.Last, ieNone);
  EXPECT_EQ(View->ShownCursor(), 1791);
  LetGoKey(VK_SHIFT);
}

TEST_F(MouseTest, CursorsOverLayerGrips) {
  View->SetMouseInteract({miMoveLayers, miResizeLayers});
  TIELayer* L = AddLayer(100, 60, 80, 40);
  struct TCase {
    TPoint At;
    TCursor Cursor;
  };
  const TCase Cases[] = {{{100, 60}, 1786}, {{180, 60}, 1788}, {{180, 100}, 1786}, {{100, 100}, 1788},
                         {{100, 80}, 1789}, {{180, 80}, 1789}, {{140, 60}, 1787},  {{140, 100}, 1787},
                         {{140, 80}, 1790}, {{20, 200}, 1785}};
  for (const TCase& Case : Cases) {
    MoveTo(Case.At.X, Case.At.Y);
    EXPECT_EQ(View->ShownCursor(), Case.Cursor) << Case.At.X << "," << Case.At.Y;
  }
  // A locked layer has no grips and does not move.
  L->Locked = true;
  MoveTo(100, 60);
  EXPECT_EQ(View->ShownCursor(), 1785);
  MoveTo(140, 80);
  EXPECT_EQ(View->ShownCursor(), 1785);
}

TEST_F(MouseTest, ShiftTurnsTheCrossIntoTheAddingCross) {
  View->SetMouseInteract({miSelect});
  View->SetFocus();
  Pump();
  HoldKey(VK_SHIFT);
  EXPECT_EQ(View->ShownCursor(), 1791);
  LetGoKey(VK_SHIFT);
  EXPECT_EQ(View->ShownCursor(), 1785);

  View->SetCursor(1793);
  HoldKey(VK_SHIFT);
  EXPECT_EQ(View->ShownCursor(), 1794);
  LetGoKey(VK_SHIFT);
  EXPECT_EQ(View->ShownCursor(), 1793);

  View->SetMultiSelect(false);
  HoldKey(VK_SHIFT);
  EXPECT_EQ(View->ShownCursor(), 1793);
  LetGoKey(VK_SHIFT);
}

TEST_F(MouseTest, MovingScrollGlidesTowardItsTarget) {
  TFakeClock Clock;
  SetClockSource(&Clock);
  View->SetMovingScrollSpeed(4);
  View->ScrollSmoothlyTo(100, 40);
  // The first step runs at once: a quarter of the way.
  EXPECT_EQ(View->GetViewX(), 25);
  EXPECT_EQ(View->GetViewY(), 10);
  for (int Tick = 0; Tick < 40; ++Tick) {
    Clock.Advance(30);
    Pump();
  }
  EXPECT_NEAR(View->GetViewX(), 100, 2);
  EXPECT_NEAR(View->GetViewY(), 40, 2);
  EXPECT_FALSE(View->MovingScrollTimer()->GetEnabled());

  // Speed 0 jumps.
  View->SetMovingScrollSpeed(0);
  View->ScrollSmoothlyTo(7, 9);
  EXPECT_EQ(View->GetViewX(), 7);
  EXPECT_EQ(View->GetViewY(), 9);
  SetClockSource(nullptr);
}

TEST_F(MouseTest, MovingScrollFollowsThePointer) {
  TFakeClock Clock;
  SetClockSource(&Clock);
  View->SetMouseInteract({miMovingScroll});
  MoveTo(280, 220);
  for (int Tick = 0; Tick < 60; ++Tick) {
    Clock.Advance(30);
    Pump();
  }
  Integer MaxX, MaxY;
  View->GetMaxViewXY(MaxX, MaxY);
  // The target lies a little past the end; the last steps are too small to move.
  EXPECT_NEAR(View->GetViewX(), MaxX, 4);
  EXPECT_NEAR(View->GetViewY(), MaxY, 4);
  // Near the left edge the target is the start.
  MoveTo(1, 1);
  for (int Tick = 0; Tick < 60; ++Tick) {
    Clock.Advance(30);
    Pump();
  }
  EXPECT_LE(View->GetViewX(), 2);
  SetClockSource(nullptr);
}

}  // namespace
