// The view's scroll-bar calls, its parameter objects, and the window-system services: the
// window behind a component, the primary button, the clipboard with retries.
#include "DrawTestSupport.h"
#include "imaging/core/iescrollbars.h"
#include "imaging/core/ieviewparams.h"
#include "imaging/core/iewinutils.h"
#include "platform/classes/Forms.h"
#include "platform/classes/StdCtrls.h"
#include "platform/user/FlatScrollBars.h"
#include "platform/user/User.h"

using namespace DrawTesting;

namespace {

class TWindowUtilsTest : public TScreenTest {
 protected:
  // The system's window classes exist from the class library's first native control on.
  void SetUp() override {
    TScreenTest::SetUp();
    InitNativeControls();
  }
  void TearDown() override {
    if (Wnd != nullptr) DestroyWindow(Wnd);
    TScreenTest::TearDown();
  }
  HWND MakeWindow() {
    Wnd = CreateWindowEx(0, "Static", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                         nullptr, nullptr, nullptr);
    return Wnd;
  }
  HWND Wnd = nullptr;
};

SCROLLINFO BarInfo(HWND Wnd) {
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  GetScrollInfo(Wnd, SB_VERT, &SI);
  return SI;
}

// Each call sets only its own fields, on the flat bars as on the standard ones.
TEST_F(TWindowUtilsTest, ScrollCallsSetTheirOwnFieldsOnEitherKindOfBar) {
  for (const bool Flat : {false, true}) {
    HWND W = MakeWindow();
    if (Flat) InitializeFlatSB(W);
    IESetScrollInfo(W, SB_VERT, 0, 99, 10, 50, true, Flat);
    SCROLLINFO SI = BarInfo(W);
    EXPECT_EQ(SI.nMin, 0);
    EXPECT_EQ(SI.nMax, 99);
    EXPECT_EQ(SI.nPage, 10u);
    EXPECT_EQ(SI.nPos, 50);
    IESetScrollRange(W, SB_VERT, 0, 55, true, Flat);
    SI = BarInfo(W);
    EXPECT_EQ(SI.nMax, 55);
    EXPECT_EQ(SI.nPage, 10u);
    EXPECT_EQ(SI.nPos, 46);  // clamped to the new range
    IESetScrollPos(W, SB_VERT, 5, false, Flat);
    SI = BarInfo(W);
    EXPECT_EQ(SI.nMax, 55);
    EXPECT_EQ(SI.nPos, 5);
    IEEnableScrollBar(W, SB_VERT, ESB_DISABLE_BOTH, Flat);
    SCROLLBARINFO Info;
    ASSERT_TRUE(GetScrollBarInfo(W, OBJID_VSCROLL, &Info));
    EXPECT_TRUE(Info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE);
    IEShowScrollBar(W, SB_VERT, false, Flat);
    EXPECT_FALSE(GetWindowLongPtr(W, GWL_STYLE) & WS_VSCROLL);
    IEShowScrollBar(W, SB_VERT, true, Flat);
    EXPECT_TRUE(GetWindowLongPtr(W, GWL_STYLE) & WS_VSCROLL);
    DestroyWindow(W);
    Wnd = nullptr;
  }
}

TEST(TViewParamsTest, Defaults) {
  const TIEScrollBarParams Bar;
  EXPECT_EQ(Bar.LineStep, -1);
  EXPECT_EQ(Bar.PageStep, -1);
  EXPECT_TRUE(Bar.Tracking);
  const TIEMouseWheelParams Wheel;
  EXPECT_FALSE(Wheel.InvertDirection);
  EXPECT_EQ(Wheel.Action, iewaZoom);
  EXPECT_EQ(Wheel.Action, 2);
  EXPECT_EQ(Wheel.Variation, iewvPercent);
  EXPECT_EQ(Wheel.Variation, 1);
  EXPECT_EQ(Wheel.Value, 8);
  EXPECT_FALSE(Wheel.ZoomPosition);
}

TEST_F(TWindowUtilsTest, WindowHandleOfTheFirstWindowedOwner) {
  TForm Form(nullptr);
  auto* Middle = new TComponent(&Form);
  auto* Leaf = new TComponent(Middle);
  EXPECT_EQ(IEFindWindowHandle(Leaf), nullptr);  // the form's window is not made yet
  const HWND Handle = Form.GetHandle();
  ASSERT_NE(Handle, nullptr);
  EXPECT_EQ(IEFindWindowHandle(Leaf), Handle);
  EXPECT_EQ(IEFindWindowHandle(&Form), Handle);
  TComponent Loose(nullptr);
  auto* Child = new TComponent(&Loose);
  EXPECT_EQ(IEFindWindowHandle(Child), nullptr);
  EXPECT_EQ(IEFindWindowHandle(nullptr), nullptr);
}

TEST_F(TWindowUtilsTest, LeftButtonIsThePrimaryButton) {
  MakeWindow();
  Display->MoveTo(150, 150);
  Display->ButtonDown(TInputButton::Right);
  RunUntilIdle();
  EXPECT_FALSE(IEIsLeftButtonPressed());
  Display->ButtonDown(TInputButton::Left);
  RunUntilIdle();
  EXPECT_TRUE(IEIsLeftButtonPressed());
  Display->ButtonUp(TInputButton::Left);
  Display->ButtonUp(TInputButton::Right);
  RunUntilIdle();
  EXPECT_FALSE(IEIsLeftButtonPressed());
}

// A clock that lets go of the clipboard after a number of the caller's sleeps.
class TReleasingClock : public TFakeClock {
 public:
  Integer Sleeps = 0;
  Integer ReleaseAfter = -1;
  void SleepFor(DWORD Milliseconds) override {
    TFakeClock::SleepFor(Milliseconds);
    if (++Sleeps == ReleaseAfter) CloseClipboard();
  }
};

TEST_F(TWindowUtilsTest, ClipboardIsTriedTenTimesTwentyMillisecondsApart) {
  TReleasingClock Time;
  SetClockSource(&Time);
  HWND Holder = MakeWindow();
  ASSERT_TRUE(OpenClipboard(Holder));
  const UInt64 Start = GetTickCount64();
  EXPECT_FALSE(IEOpenClipboard());
  EXPECT_EQ(Time.Sleeps, 10);
  EXPECT_EQ(GetTickCount64() - Start, 200u);

  // Let go during the third pause: the fourth attempt opens it.
  Time.Sleeps = 0;
  Time.ReleaseAfter = 3;
  EXPECT_TRUE(IEOpenClipboard());
  EXPECT_EQ(Time.Sleeps, 3);
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);  // opened for no window
  EXPECT_TRUE(CloseClipboard());
  // Free at once: no pause.
  Time.Sleeps = 0;
  EXPECT_TRUE(IEOpenClipboard());
  EXPECT_EQ(Time.Sleeps, 0);
  CloseClipboard();
  SetClockSource(&Clock);
}

}  // namespace
