// The view's geometry on a window: zoom setters and their events, the automatic fit, scroll
// limits, the 16-bit scroll bars and their messages, the wheel, zooming about a point, the
// client <-> picture conversions and Update without a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewgeometry.h"
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Forms.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/WinUser.h"

namespace {

// Records OnViewChanging and OnViewChange in order, as "changing C V" and "change C".
class TEventLog {
 public:
  void Attach(TZezudIdView* View) {
    View->OnViewChanging = TViewChangingEvent(this, &TEventLog::Changing);
    View->OnViewChange = TViewChangeEvent(this, &TEventLog::Changed);
  }
  std::vector<std::string> Take() { return std::exchange(Lines, {}); }

 private:
  void Changing(TObject*, Integer Change, Double Value) {
    Lines.push_back("changing " + std::to_string(Change) + " " +
                    std::to_string(static_cast<long long>(Value)));
  }
  void Changed(TObject*, Integer Change) { Lines.push_back("change " + std::to_string(Change)); }
  std::vector<std::string> Lines;
};

// Shows the delay counters that scrolling and zooming load.
class TDelayView : public TZezudIdView {
 public:
  using TZezudIdView::TZezudIdView;
  Integer FilterDelay() const { return FFilterDelay; }
  Integer BorderDelay() const { return FBorderDelay; }
  void ClearDelays() { FFilterDelay = FBorderDelay = 0; }
};

// A borderless Width x Height view on a shown form; the form goes before the last message
// pump so the windows' final messages are handled.
class ViewGeometry : public ::testing::Test {
 protected:
  void MakeView(Integer Width, Integer Height, TScrollStyle Bars = ssNone, TBorderStyle Border = bsNone) {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, Width + 100, Height + 100);
    View = new TDelayView(Form.get());
    View->SetBorderStyle(Border);
    View->SetScrollBars(Bars);
    View->SetParent(Form.get());
    View->SetBounds(0, 0, Width, Height);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    Form.reset();
    Application->ProcessMessages();
  }
  // The picture lives in the view's platform bitmap, as loading leaves it.
  void SetPicture(Integer Width, Integer Height) {
    View->GetTBitmap()->SetSize(Width, Height);
    View->Update();
  }
  Integer MaxX() {
    Integer X = 0, Y = 0;
    View->GetMaxViewXY(X, Y);
    return X;
  }

  std::unique_ptr<TForm> Form;
  TDelayView* View = nullptr;
  TEventLog Log;
};

}  // namespace

TEST(ViewGeometryWithoutWindow, UpdateZoomAndScrollNeedNoWindow) {
  TZezudIdView View(nullptr);
  View.GetIEBitmap()->Allocate(300, 200, ie24RGB);
  View.SetAutoShrink(true);
  View.Update();
  View.SetAutoShrink(false);
  View.ChangeZoom(200);
  View.SetViewXY(30, 40);
  View.MouseWheelAction(120, 5, false, 5);
  EXPECT_FALSE(View.HandleAllocated());
  EXPECT_EQ(View.GetViewWidth(), 50);
  EXPECT_EQ(View.GetBitmapWidth(), 300);
}

TEST_F(ViewGeometry, ChangeZoomEventsAndRejectedValues) {
  MakeView(200, 150);
  SetPicture(100, 80);
  Log.Attach(View);
  View->ChangeZoom(200);
  EXPECT_EQ(Log.Take(), (std::vector<std::string>{"changing 2 200", "change 1"}));
  EXPECT_DOUBLE_EQ(View->GetZoomX(), 200);
  EXPECT_DOUBLE_EQ(View->GetZoomFactorY(), 2);
  EXPECT_DOUBLE_EQ(View->GetInvZoomX(), 0.5);
  EXPECT_EQ(View->GetZoomedWidth(), 200);

  // Zero, negative and unchanged zooms are announced and then ignored.
  for (Double Zoom : {0.0, -5.0, 200.0}) View->ChangeZoom(Zoom);
  EXPECT_EQ(Log.Take(), (std::vector<std::string>{"changing 2 0", "changing 2 -5", "changing 2 200"}));
  EXPECT_DOUBLE_EQ(View->GetZoom(), 200);

  // One axis alone.
  View->ChangeZoomY(50);
  EXPECT_DOUBLE_EQ(View->GetZoomX(), 200);
  EXPECT_DOUBLE_EQ(View->GetZoomY(), 50);
  EXPECT_EQ(View->GetZoomedHeight(), 40);
}

TEST_F(ViewGeometry, ZoomKeepsThePictureCentre) {
  MakeView(200, 150);
  SetPicture(400, 300);
  View->SetViewXY(100, 50);
  // The client centre (100, 75) shows picture point (200, 125).
  EXPECT_EQ(View->XScr2Bmp(100), 200);
  EXPECT_EQ(View->YScr2Bmp(75), 125);
  View->ChangeZoom(200);
  EXPECT_EQ(View->GetViewX(), 300);
  EXPECT_EQ(View->GetViewY(), 175);
  EXPECT_EQ(View->XScr2Bmp(100), 200);
  // Position 175 is drawn from the start of its column, 174.
  EXPECT_EQ(View->YScr2Bmp(75), 124);
}

TEST_F(ViewGeometry, AutomaticZoom) {
  // The default single 3-D border: the fit counts the control's size less two edges.
  MakeView(400, 400, ssBoth, bsSingle);
  View->SetAutoShrink(true);
  SetPicture(4000, 400);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 9.9);
  EXPECT_DOUBLE_EQ(View->GetZoomY(), 9.9);

  View->SetAutoShrink(false);
  View->SetAutoStretch(true);
  View->Update();
  EXPECT_DOUBLE_EQ(View->GetZoom(), 100);
  SetPicture(50, 40);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 396 / 0.5);

  View->SetAutoStretch(false);
  View->SetAutoFit(true);
  SetPicture(1, 1);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 100);
  View->SetAutoFit(false);
  View->ChangeZoom(150);
  View->SetAutoFit(true);
  SetPicture(0, 0);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 150);
}

TEST_F(ViewGeometry, AutomaticZoomNeverGoesBelowOnePercent) {
  MakeView(40, 40);
  View->SetAutoShrink(true);
  SetPicture(8000, 10);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 1);
}

TEST_F(ViewGeometry, FitShowsTheWholePicture) {
  MakeView(200, 150, ssBoth);
  SetPicture(400, 100);
  View->Fit();
  EXPECT_DOUBLE_EQ(View->GetZoom(), 50);
  EXPECT_FALSE(View->IsScrollable());
  EXPECT_EQ(View->GetViewWidth(), 200);
}

TEST_F(ViewGeometry, ScrollLimitsAndEvents) {
  MakeView(200, 150);
  SetPicture(400, 300);
  Log.Attach(View);
  View->SetViewX(-5);
  EXPECT_EQ(View->GetViewX(), 0);
  EXPECT_EQ(Log.Take(), (std::vector<std::string>{"changing 0 -5"}));

  View->SetViewX(1000);
  EXPECT_EQ(View->GetViewX(), 200);
  EXPECT_EQ(Log.Take(), (std::vector<std::string>{"changing 0 1000", "change 0"}));
  View->SetViewX(5000);
  EXPECT_EQ(Log.Take(), (std::vector<std::string>{"changing 0 5000"}));

  View->SetViewXY(10, 20);
  EXPECT_EQ(Log.Take(), (std::vector<std::string>{"changing 0 10", "changing 1 20", "change 0"}));
  EXPECT_EQ(View->GetViewY(), 20);
  EXPECT_TRUE(View->IsScrollable());
}

TEST_F(ViewGeometry, SmallerPictureIsCentredAndCannotScroll) {
  MakeView(200, 150);
  SetPicture(100, 80);
  EXPECT_EQ(View->GetOffsetX(), 50);
  EXPECT_EQ(View->GetOffsetY(), 35);
  EXPECT_EQ(View->GetExtentX(), 100);
  EXPECT_FALSE(View->IsScrollable());
  View->SetViewXY(30, 30);
  EXPECT_EQ(View->GetViewX(), 0);
  View->SetCenter(false);
  EXPECT_EQ(View->GetOffsetX(), 0);
  EXPECT_EQ(View->XScr2Bmp(10), 10);
}

TEST_F(ViewGeometry, UpdateKeepsTheScrollPositionInsideANewPicture) {
  MakeView(200, 150);
  SetPicture(400, 300);
  View->SetViewXY(200, 150);
  Log.Attach(View);
  SetPicture(300, 200);
  EXPECT_EQ(View->GetViewX(), 100);
  EXPECT_EQ(View->GetViewY(), 50);
  EXPECT_EQ(Log.Take(), (std::vector<std::string>{"changing 0 100", "changing 1 50", "change 0"}));
}

// Conversions at 50, 100, 200 % and a fractional zoom, scrolled and centred: table answers
// equal the arithmetic of the visible area up to the two formulas' rounding.
TEST_F(ViewGeometry, ConversionsAtSeveralZooms) {
  MakeView(200, 150);
  SetPicture(100, 80);
  View->ChangeZoom(50);
  // 50 x 40 centred at (75, 55); every client pixel shows an even column.
  EXPECT_EQ(View->GetOffsetX(), 75);
  EXPECT_EQ(View->XScr2Bmp(75), 0);
  EXPECT_EQ(View->XScr2Bmp(76), 2);
  EXPECT_EQ(View->XBmp2Scr(2), 76);
  EXPECT_EQ(View->YScr2Bmp(56), 2);
  // Left of the picture the arithmetic takes over.
  EXPECT_EQ(View->XScr2Bmp(70), -10);

  SetPicture(200, 160);
  View->ChangeZoom(200);
  View->SetViewXY(21, 10);
  // The painted view starts at the column holding position 21: column 10, client offset 20.
  EXPECT_EQ(View->SnapViewX(21), 20);
  EXPECT_EQ(View->XScr2Bmp(0), 10);
  EXPECT_EQ(View->XScr2Bmp(3), 11);
  EXPECT_EQ(View->XBmp2Scr(11), 2);
  EXPECT_EQ(View->YBmp2Scr(6), 2);

  for (Double Zoom : {50.0, 100.0, 200.0, 150.0}) {
    SCOPED_TRACE(Zoom);
    View->ChangeZoom(Zoom);
    View->SetViewXY(7, 5);
    for (Integer X = 0; X < View->GetExtentX(); ++X) {
      const Integer A = X - View->GetOffsetX();
      const Integer First = View->XScr2Bmp(View->GetOffsetX());
      EXPECT_NEAR(View->XScr2Bmp(X), IEScreenToBitmapArith(A, View->GetInvZoomX(), First), 1) << X;
    }
    for (Integer B = 0; B < 60; ++B) {
      const Integer Snapped = View->SnapViewX(View->GetViewX());
      EXPECT_NEAR(
          View->XBmp2Scr(B),
          IEBitmapToScreenArith(B, Snapped, View->GetInvZoomX(), View->GetZoomFactorX(), View->GetOffsetX()),
          1)
          << B;
    }
  }
}

TEST_F(ViewGeometry, ZoomAtKeepsThePixelUnderThePointer) {
  MakeView(200, 150);
  SetPicture(400, 300);
  View->SetViewXY(50, 40);
  for (Double Zoom : {200.0, 300.0, 100.0, 400.0, 250.0}) {
    for (TPoint P : {TPoint{37, 41}, TPoint{100, 60}, TPoint{1, 149}}) {
      SCOPED_TRACE(std::to_string(Zoom) + " at " + std::to_string(P.X) + "," + std::to_string(P.Y));
      const Integer PictureX = View->XScr2Bmp(P.X), PictureY = View->YScr2Bmp(P.Y);
      View->ZoomAt(P.X, P.Y, Zoom);
      // Columns of unequal width at a fractional zoom may leave a neighbour under the pointer.
      const Integer Slack = Zoom == 250 ? 1 : 0;
      EXPECT_NEAR(View->XScr2Bmp(P.X), PictureX, Slack);
      EXPECT_NEAR(View->YScr2Bmp(P.Y), PictureY, Slack);
    }
  }
}

TEST_F(ViewGeometry, ScrollBarsUseSixteenBits) {
  MakeView(200, 150, ssBoth);
  SetPicture(1000, 10);
  View->ChangeZoom(10000);
  // The vertical bar took its width from the client area.
  EXPECT_LT(View->GetViewWidth(), 200);
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(View->GetHandle(), SB_HORZ, &Info));
  EXPECT_EQ(Info.nMin, 0);
  EXPECT_EQ(Info.nMax, 65535);
  const Double Scale = IEScrollScale(View->GetViewWidth(), MaxX());
  EXPECT_EQ(Info.nPage, static_cast<UINT>(View->GetViewWidth() / Scale));
  EXPECT_EQ(MaxX() + View->GetViewWidth(), 100100);

  // The thumb at its end scrolls to the end; a line is one picture pixel.
  View->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 65535), 0);
  EXPECT_EQ(View->GetViewX(), MaxX());
  View->Perform(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), 0);
  EXPECT_EQ(View->GetViewX(), MaxX() - 100);
  View->Perform(WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), 0);
  EXPECT_EQ(View->GetViewX(), 0);
  View->Perform(WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), 0);
  EXPECT_EQ(View->GetViewX(), View->GetViewWidth());
  ASSERT_TRUE(GetScrollInfo(View->GetHandle(), SB_HORZ, &Info));
  EXPECT_EQ(Info.nPos, static_cast<Integer>(View->GetViewWidth() / Scale));

  // Without tracking, dragging the thumb waits for its release.
  View->GetHScrollBarParams()->Tracking = false;
  View->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1000), 0);
  EXPECT_EQ(View->GetViewX(), View->GetViewWidth());
  View->Perform(WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
  EXPECT_EQ(View->GetViewX(), MaxX());

  // Back at a fitting zoom the bars go and the client area grows again, unless they are to
  // stay, disabled.
  View->ChangeZoom(10);
  EXPECT_EQ(View->GetViewWidth(), 200);
  EXPECT_EQ(View->GetViewX(), 0);
  View->SetScrollBarsDisabledWhenFit(true);
  View->Update();
  EXPECT_LT(View->GetViewWidth(), 200);
  EXPECT_LT(View->GetViewHeight(), 150);
  // Scroll bars no longer wanted are hidden.
  View->SetScrollBars(ssHorizontal);
  EXPECT_EQ(View->GetViewWidth(), 200);
  EXPECT_LT(View->GetViewHeight(), 150);
  View->SetScrollBars(ssNone);
  EXPECT_EQ(View->GetViewHeight(), 150);
}

TEST_F(ViewGeometry, WheelZoomsAndScrolls) {
  MakeView(200, 150, ssBoth, bsSingle);
  SetPicture(400, 300);
  const TPoint Screen = View->ClientToScreen(TPoint{20, 30});
  const auto Wheel = [&](Integer Delta, WPARAM Keys = 0) {
    View->Perform(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<Integer>(Keys), Delta),
                  MAKELPARAM(Screen.X, Screen.Y));
  };
  // Forward zooms out by 8 % of the zoom; inverted it zooms in.
  Wheel(120);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 92);
  View->GetMouseWheelParams()->InvertDirection = true;
  Wheel(120);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 99);
  View->GetMouseWheelParams()->InvertDirection = false;

  // The zoom-out handler has the last word.
  View->OnZoomOut = TIEZoomEvent([](TObject*, Double& Zoom) { Zoom = 50; });
  Wheel(120);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 50);
  View->OnZoomOut.Clear();

  // Zooming about the pointer keeps its picture pixel (or, at this fractional zoom, a neighbour).
  View->ChangeZoom(100);
  View->GetMouseWheelParams()->ZoomPosition = true;
  const Integer PictureX = View->XScr2Bmp(20), PictureY = View->YScr2Bmp(30);
  Wheel(-120);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 108);
  EXPECT_NEAR(View->XScr2Bmp(20), PictureX, 1);
  EXPECT_NEAR(View->YScr2Bmp(30), PictureY, 1);

  // Scrolling: vertical by 8 % of the client height, horizontal with Ctrl.
  View->ChangeZoom(100);
  View->GetMouseWheelParams()->Action = iewaScroll;
  View->SetViewXY(100, 100);
  const Integer StepY = std::max(static_cast<Integer>(std::nearbyint(View->GetViewHeight() * 0.08)), 1);
  const Integer StepX = std::max(static_cast<Integer>(std::nearbyint(View->GetViewWidth() * 0.08)), 1);
  Wheel(120);
  EXPECT_EQ(View->GetViewY(), 100 - StepY);
  Wheel(-120, MK_CONTROL);
  EXPECT_EQ(View->GetViewX(), 100 + StepX);

  // AutoFit switches the wheel off.
  View->SetAutoFit(true);
  View->Update();
  const Double Fitted = View->GetZoom();
  View->GetMouseWheelParams()->Action = iewaZoom;
  Wheel(120);
  EXPECT_DOUBLE_EQ(View->GetZoom(), Fitted);
}

TEST_F(ViewGeometry, ZoomTablesFollowZoomAndPicture) {
  MakeView(200, 150);
  SetPicture(40, 30);
  View->ChangeZoom(200);
  // At 200 % two client pixels per column.
  for (Integer X = 0; X < 80; ++X) EXPECT_EQ(View->XScr2Bmp(View->GetOffsetX() + X), X / 2) << X;
  for (Integer B = 0; B < 40; ++B) EXPECT_EQ(View->XBmp2Scr(B), View->GetOffsetX() + 2 * B) << B;
  // A new picture size rebuilds them.
  SetPicture(100, 100);
  View->ChangeZoom(300);
  View->SetViewXY(31, 0);
  EXPECT_EQ(View->XScr2Bmp(0), View->SnapViewX(31) / 3);
}

// A delayed filter waits only when a filter is in use away from 100 %; the selection border
// always waits while scrolling and zooming.
TEST_F(ViewGeometry, ScrollingAndZoomingLoadTheDelayCounters) {
  MakeView(200, 150);
  SetPicture(400, 300);
  View->SetDelayZoomFilter(true);
  View->SetZoomFilter(rfFastLinear);
  View->SetViewX(10);
  EXPECT_EQ(View->FilterDelay(), 0);
  EXPECT_EQ(View->BorderDelay(), 2);
  View->ClearDelays();
  View->ChangeZoom(200);  // tested at the zoom it leaves
  EXPECT_EQ(View->FilterDelay(), 0);
  View->SetViewX(30);
  EXPECT_EQ(View->FilterDelay(), 4);
  EXPECT_EQ(View->BorderDelay(), 2);
  View->ClearDelays();
  View->SetDelayZoomFilter(false);
  View->ChangeZoom(300);
  EXPECT_EQ(View->FilterDelay(), 0);
  EXPECT_EQ(View->BorderDelay(), 2);
}

TEST_F(ViewGeometry, ZoomSelectionFillsTheViewWithTheSelection) {
  MakeView(200, 150);
  SetPicture(400, 300);
  View->SetSelectionBase(iesbBitmap);
  View->SetSelectionOptions({});
  View->Select(40, 30, 90, 80);
  ASSERT_TRUE(View->GetSelectionActive());
  const Integer X1 = View->GetSelX1(), Y1 = View->GetSelY1();
  const Integer W = View->GetSelX2() + 1 - X1, H = View->GetSelY2() + 1 - Y1;
  EXPECT_EQ(W, 50);
  EXPECT_EQ(H, 50);
  View->ZoomSelection(true, false);
  EXPECT_FALSE(View->GetSelectionActive());
  EXPECT_DOUBLE_EQ(View->GetZoom(), 300);
  EXPECT_EQ(View->GetViewX(), 95);
  EXPECT_EQ(View->GetViewY(), 90);

  // The zoom-in handler decides the zoom that keeps the aspect.
  View->ChangeZoom(100);
  View->Select(40, 30, 90, 80);
  View->OnZoomIn = TIEZoomEvent([](TObject*, Double& Zoom) { Zoom = 200; });
  View->ZoomSelection(true, true);
  EXPECT_DOUBLE_EQ(View->GetZoom(), 200);
  // Each axis on its own fills its side.
  View->ChangeZoom(100);
  View->Select(40, 30, 90, 80);
  View->ZoomSelection(false, false);
  EXPECT_DOUBLE_EQ(View->GetZoomX(), 400);
  EXPECT_DOUBLE_EQ(View->GetZoomY(), 300);
  // Nothing without a selection.
  View->ZoomSelection(true, false);
  EXPECT_DOUBLE_EQ(View->GetZoomX(), 400);
}

// A new picture size reaches the selection mask (empty, or resized keeping a selection) and an
// alpha channel left at the old size (opaque at the new one).
TEST(ViewGeometryWithoutWindow, MaskAndAlphaFollowANewPictureSize) {
  TZezudIdView View(nullptr);
  View.GetTBitmap()->SetSize(30, 20);
  View.Update();
  EXPECT_EQ(View.GetSelectionMask()->GetWidth(), 30);
  EXPECT_EQ(View.GetSelectionMask()->GetHeight(), 20);

  View.GetAlphaChannel()->Fill(7);
  View.GetTBitmap()->SetSize(40, 25);
  View.Update();
  EXPECT_EQ(View.GetSelectionMask()->GetWidth(), 40);
  ASSERT_TRUE(View.HasAlphaChannel());
  TIEBitmap* Alpha = View.GetAlphaChannel();
  EXPECT_EQ(Alpha->GetWidth(), 40);
  EXPECT_EQ(Alpha->GetHeight(), 25);
  EXPECT_EQ(Alpha->GetPixelFormat(), ie8g);
  EXPECT_EQ(*static_cast<Byte*>(Alpha->GetScanline(24)), 255);
}
