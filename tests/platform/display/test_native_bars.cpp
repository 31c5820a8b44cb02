// The trackbar, progress bar and up-down controls: positions by line, page and drag with their
// notifications, clamping, tics, block geometry, buddies and their classic look.
#include <gtest/gtest.h>

#include "platform/user/ControlMessages.h"
#include "platform/user/ProgressControl.h"
#include "tests/platform/display/NativeControlsTestUtil.h"

namespace {

using namespace CommonControlTesting;

using TBarsTest = TCommonControlTest;

// ---- Trackbar -------------------------------------------------------------------------------

LRESULT TrackPos(HWND T) {
  return SendMessage(T, TBM_GETPOS, 0, 0);
}

TEST_F(TBarsTest, TrackBarKeysMoveByLinePageAndToTheEnds) {
  HWND T = Create(TRACKBAR_CLASS, "", WS_TABSTOP, 10, 10, 200, 40, 1);
  SetFocus(T);
  RunUntilIdle();
  TakeNotes();
  struct TCase {
    Word Key;
    LRESULT Pos;
    std::vector<TNote> Notes;
  };
  const TNote End = ScrollNote(false, TB_ENDTRACK, 0);
  const std::vector<TCase> Cases{
      {VK_RIGHT, 1, {ScrollNote(false, TB_LINEDOWN, 0), End}},
      {VK_NEXT, 21, {ScrollNote(false, TB_PAGEDOWN, 0), End}},
      {VK_END, 100, {ScrollNote(false, TB_BOTTOM, 0), End}},
      {VK_DOWN, 100, {End}},  // at the end: nothing moves
      {VK_PRIOR, 80, {ScrollNote(false, TB_PAGEUP, 0), End}},
      {VK_UP, 79, {ScrollNote(false, TB_LINEUP, 0), End}},
      {VK_HOME, 0, {ScrollNote(false, TB_TOP, 0), End}},
      {VK_LEFT, 0, {End}},
  };
  for (const TCase& C : Cases) {
    Display->KeyPress(C.Key);
    RunUntilIdle();
    EXPECT_EQ(TrackPos(T), C.Pos) << "key " << C.Key;
    EXPECT_EQ(TakeNotes(), C.Notes) << "key " << C.Key;
  }
}

TEST_F(TBarsTest, TrackBarClicksPageTowardTheMouseUntilTheThumbReachesIt) {
  HWND T = Create(TRACKBAR_CLASS, "", 0, 10, 10, 200, 40, 1);
  RunUntilIdle();
  TakeNotes();
  // Thumb centres: c(p) = 8 + MulDiv(183, p, 100); the mouse at 150 is reached at 80.
  Display->MoveTo(10 + 150, 10 + 18);
  Display->ButtonDown();
  RunUntilIdle();
  EXPECT_EQ(TrackPos(T), 20);
  EXPECT_EQ(GetFocus(), T);
  Wait(490);
  EXPECT_EQ(TrackPos(T), 20);
  Wait(10);
  EXPECT_EQ(TrackPos(T), 40);
  Wait(1000);
  EXPECT_EQ(TrackPos(T), 80);
  Display->ButtonUp();
  RunUntilIdle();
  const TNote Page = ScrollNote(false, TB_PAGEDOWN, 0);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{Page, Page, Page, Page, ScrollNote(false, TB_ENDTRACK, 0),
                                             NotifyNote(1, NM_RELEASEDCAPTURE)}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TBarsTest, TrackBarThumbDragTracksThePosition) {
  HWND T = Create(TRACKBAR_CLASS, "", 0, 10, 10, 200, 40, 1);
  RunUntilIdle();
  TakeNotes();
  RECT Thumb;
  SendMessage(T, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&Thumb));
  EXPECT_EQ(Thumb, (RECT{3, 8, 14, 28}));
  Display->Drag({10 + 8, 10 + 18}, {10 + 100, 10 + 18}, 4);
  RunUntilIdle();
  EXPECT_EQ(TrackPos(T), 50);
  EXPECT_EQ(TakeNotes(),
            (std::vector<TNote>{ScrollNote(false, TB_THUMBTRACK, 13), ScrollNote(false, TB_THUMBTRACK, 25),
                                ScrollNote(false, TB_THUMBTRACK, 38), ScrollNote(false, TB_THUMBTRACK, 50),
                                ScrollNote(false, TB_THUMBPOSITION, 50), ScrollNote(false, TB_ENDTRACK, 0),
                                NotifyNote(1, NM_RELEASEDCAPTURE)}));
  // Far beyond the end clamps to the maximum.
  Display->Drag({10 + 100, 10 + 18}, {400, 10 + 18}, 1);
  RunUntilIdle();
  EXPECT_EQ(TrackPos(T), 100);
}

TEST_F(TBarsTest, TrackBarRangesPagesTicsAndGeometry) {
  HWND T = Create(TRACKBAR_CLASS, "", TBS_AUTOTICKS, 10, 10, 200, 40, 1);
  EXPECT_EQ(SendMessage(T, TBM_GETLINESIZE, 0, 0), 1);
  EXPECT_EQ(SendMessage(T, TBM_GETPAGESIZE, 0, 0), 20);
  SendMessage(T, TBM_SETPOS, TRUE, 200);
  EXPECT_EQ(TrackPos(T), 100);
  SendMessage(T, TBM_SETRANGEMAX, TRUE, 50);
  EXPECT_EQ(TrackPos(T), 50);
  EXPECT_EQ(SendMessage(T, TBM_GETPAGESIZE, 0, 0), 10);
  EXPECT_EQ(SendMessage(T, TBM_SETPAGESIZE, 0, 7), 10);
  SendMessage(T, TBM_SETRANGE, TRUE, MAKELPARAM(-10, 100));
  EXPECT_EQ(SendMessage(T, TBM_GETRANGEMIN, 0, 0), -10);
  EXPECT_EQ(SendMessage(T, TBM_GETPAGESIZE, 0, 0), 7);
  SendMessage(T, TBM_SETPOS, TRUE, -50);
  EXPECT_EQ(TrackPos(T), -10);
  SendMessage(T, TBM_SETRANGEMIN, TRUE, 0);

  SendMessage(T, TBM_SETTICFREQ, 10, 0);
  EXPECT_EQ(SendMessage(T, TBM_GETNUMTICS, 0, 0), 11);
  EXPECT_EQ(SendMessage(T, TBM_GETTIC, 0, 0), 10);
  EXPECT_EQ(SendMessage(T, TBM_GETTICPOS, 0, 0), 8 + 18);
  EXPECT_EQ(SendMessage(T, TBM_GETTIC, 20, 0), -1);
  EXPECT_TRUE(SendMessage(T, TBM_SETTIC, 0, 55));
  EXPECT_FALSE(SendMessage(T, TBM_SETTIC, 0, 101));
  EXPECT_EQ(SendMessage(T, TBM_GETNUMTICS, 0, 0), 12);
  SendMessage(T, TBM_CLEARTICS, TRUE, 0);
  EXPECT_EQ(SendMessage(T, TBM_GETNUMTICS, 0, 0), 11);

  HWND Plain = Create(TRACKBAR_CLASS, "", 0, 10, 60, 200, 40);
  HWND None = Create(TRACKBAR_CLASS, "", TBS_NOTICKS, 10, 110, 200, 40);
  EXPECT_EQ(SendMessage(Plain, TBM_GETNUMTICS, 0, 0), 2);
  EXPECT_EQ(SendMessage(None, TBM_GETNUMTICS, 0, 0), 0);

  RECT R;
  SendMessage(Plain, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, (RECT{8, 16, 192, 20}));
  SendMessage(Plain, TBM_SETPOS, TRUE, 100);
  SendMessage(Plain, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, (RECT{186, 8, 197, 28}));
  SendMessage(Plain, TBM_SETTHUMBLENGTH, 30, 0);  // needs TBS_FIXEDLENGTH
  EXPECT_EQ(SendMessage(Plain, TBM_GETTHUMBLENGTH, 0, 0), 20);
  HWND Vert = Create(TRACKBAR_CLASS, "", TBS_VERT | TBS_FIXEDLENGTH, 250, 10, 40, 200);
  SendMessage(Vert, TBM_SETTHUMBLENGTH, 24, 0);
  SendMessage(Vert, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, (RECT{8, 3, 32, 16}));  // Tw 13, M 9: the thumb centre at 9
}

TEST_F(TBarsTest, TrackBarInTheClassicLook) {
  HWND T = Create(TRACKBAR_CLASS, "", 0, 10, 10, 200, 40, 1);
  RunUntilIdle();
  const TScreenshot S = Screenshot(T);
  EXPECT_EQ(S.Pixel(100, 16), 0x808080u);  // channel: sunken edge
  EXPECT_EQ(S.Pixel(100, 17), 0x000000u);
  EXPECT_EQ(S.Pixel(100, 19), 0xFFFFFFu);
  EXPECT_EQ(S.Pixel(3, 8), 0xFFFFFFu);    // thumb: highlight at the top-left
  EXPECT_EQ(S.Pixel(13, 10), 0x000000u);  // dark shadow on the right
  EXPECT_EQ(S.Pixel(12, 10), 0x808080u);
  EXPECT_EQ(S.Pixel(8, 12), 0xC0C0C0u);
  EXPECT_EQ(S.Pixel(8, 27), 0x000000u);    // the point
  EXPECT_EQ(S.Pixel(8, 30), 0x000000u);    // the first tick, 2 pixels below the thumb
  EXPECT_EQ(S.Pixel(191, 32), 0x000000u);  // the last tick
  EXPECT_EQ(S.Pixel(100, 31), 0xC0C0C0u);
  EXPECT_EQ(S.Pixel(100, 3), 0xC0C0C0u);
}

// ---- Progress bar ---------------------------------------------------------------------------

TEST_F(TBarsTest, ProgressBlockGeometry) {
  const TRect C{0, 0, 100, 20};
  // Blocks 13 wide (20 * 2 / 3) with 2-pixel gaps in {2, 2, 98, 18}; half of 96 is 48.
  EXPECT_EQ(ProgressBarBlocks(C, 0, 0, 100, 50),
            (std::vector<TRect>{{2, 2, 15, 18}, {17, 2, 30, 18}, {32, 2, 45, 18}, {47, 2, 60, 18}}));
  EXPECT_EQ(ProgressBarBlocks(C, PBS_SMOOTH, 0, 100, 50), (std::vector<TRect>{{2, 2, 50, 18}}));
  EXPECT_EQ(ProgressBarBlocks(C, 0, 0, 100, 0), std::vector<TRect>{});
  EXPECT_EQ(ProgressBarBlocks(C, 0, 0, 100, 100).back(), (TRect{92, 2, 98, 18}));  // the last one cut
  EXPECT_EQ(ProgressBarBlocks(C, 0, 10, 10, 10), std::vector<TRect>{});
  EXPECT_EQ(ProgressBarBlocks(TRect{0, 0, 15, 60}, PBS_VERTICAL, 0, 100, 25),
            (std::vector<TRect>{{2, 48, 13, 58}, {2, 36, 13, 46}}));  // from the bottom, 10 high; 14 filled
}

TEST_F(TBarsTest, ProgressRangesPositionsAndSteps) {
  HWND P = Create(PROGRESS_CLASS, "", 0, 10, 10, 100, 20);
  EXPECT_EQ(SendMessage(P, PBM_SETRANGE, 0, MAKELPARAM(10, 60)), MAKELONG(0, 100));
  EXPECT_EQ(SendMessage(P, PBM_GETPOS, 0, 0), 10);
  EXPECT_EQ(SendMessage(P, PBM_SETPOS, 80, 0), 10);
  EXPECT_EQ(SendMessage(P, PBM_GETPOS, 0, 0), 60);
  EXPECT_EQ(SendMessage(P, PBM_SETRANGE32, 0, 100), MAKELONG(10, 60));
  PBRANGE R;
  EXPECT_EQ(SendMessage(P, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&R)), 0);
  EXPECT_EQ(R.iHigh, 100);
  EXPECT_EQ(SendMessage(P, PBM_DELTAPOS, static_cast<WPARAM>(-70), 0), 60);
  EXPECT_EQ(SendMessage(P, PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(SendMessage(P, PBM_SETSTEP, 30, 0), 10);
  std::vector<LRESULT> Steps;
  for (Integer I = 0; I < 4; ++I) {
    SendMessage(P, PBM_STEPIT, 0, 0);
    Steps.push_back(SendMessage(P, PBM_GETPOS, 0, 0));
  }
  EXPECT_EQ(Steps, (std::vector<LRESULT>{30, 60, 90, 20}));  // past the end it starts over
  EXPECT_EQ(SendMessage(P, PBM_SETBARCOLOR, 0, RGB(255, 0, 0)), static_cast<LRESULT>(CLR_DEFAULT));
}

TEST_F(TBarsTest, ProgressInTheClassicLook) {
  HWND P = Create(PROGRESS_CLASS, "", 0, 10, 10, 100, 20);
  HWND Q = Create(PROGRESS_CLASS, "", PBS_SMOOTH, 10, 40, 100, 20);
  SendMessage(P, PBM_SETPOS, 50, 0);
  SendMessage(Q, PBM_SETPOS, 50, 0);
  SendMessage(Q, PBM_SETBARCOLOR, 0, RGB(255, 0, 0));
  RunUntilIdle();
  const TScreenshot S = Screenshot();
  EXPECT_EQ(S.Pixel(10, 10), 0x808080u);  // sunken edge
  EXPECT_EQ(S.Pixel(109, 29), 0xFFFFFFu);
  EXPECT_EQ(S.Pixel(11, 11), 0xC0C0C0u);  // the background ring inside it
  EXPECT_EQ(S.Pixel(12, 12), 0x000080u);  // a block
  EXPECT_EQ(S.Pixel(25, 20), 0xC0C0C0u);  // the gap after the first block
  EXPECT_EQ(S.Pixel(69, 20), 0x000080u);  // the fourth block is drawn whole
  EXPECT_EQ(S.Pixel(70, 20), 0xC0C0C0u);
  EXPECT_EQ(S.Pixel(59, 50), 0xFF0000u);  // smooth: up to 2 + 48
  EXPECT_EQ(S.Pixel(60, 50), 0xC0C0C0u);
}

// ---- Scroll bar ----------------------------------------------------------------------------

class TScrollBarTest : public TCommonControlTest {
 protected:
  void SetUp() override {
    TCommonControlTest::SetUp();
    // 200 x 16: arrows 16, track 168, thumb (168 * 10 + 50) / 101 = 17, positions 0..91.
    Bar = Create(WC_SCROLLBAR, "", SBS_HORZ | WS_TABSTOP, 10, 200, 200, 16, 5);
    SCROLLINFO I;
    I.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    I.nMax = 100;
    I.nPage = 10;
    SetScrollInfo(Bar, SB_CTL, &I, TRUE);
    ParentState().ApplyScroll = true;
    RunUntilIdle();
    TakeNotes();
  }
  Integer Pos() { return GetScrollPos(Bar, SB_CTL); }
  static TNote H(WORD Code, Integer Pos = 0) { return ScrollNote(false, Code, Pos); }
  HWND Bar = nullptr;
};

TEST_F(TScrollBarTest, ControlsClampAsWindowBarsDo) {
  SCROLLINFO I;
  I.fMask = SIF_POS;
  I.nPos = 200;
  EXPECT_EQ(SetScrollInfo(Bar, SB_CTL, &I, TRUE), 91);
  EXPECT_EQ(SetScrollPos(Bar, SB_CTL, -5, TRUE), 91);
  EXPECT_EQ(Pos(), 0);
  I.fMask = SIF_PAGE;
  I.nPage = 500;
  SetScrollInfo(Bar, SB_CTL, &I, TRUE);
  I.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Bar, SB_CTL, &I));
  EXPECT_EQ(I.nPage, 101u);
  Integer Min = -1, Max = -1;
  EXPECT_EQ(SendMessage(Bar, SBM_SETRANGE, 10, 20), 0);
  GetScrollRange(Bar, SB_CTL, &Min, &Max);
  EXPECT_EQ(Min, 10);
  EXPECT_EQ(Max, 20);
  EXPECT_EQ(Pos(), 10);
  EXPECT_TRUE(EnableScrollBar(Bar, SB_CTL, ESB_DISABLE_BOTH));
  EXPECT_FALSE(EnableScrollBar(Bar, SB_CTL, ESB_DISABLE_BOTH));
  HWND Aligned = Create(WC_SCROLLBAR, "", SBS_HORZ | SBS_BOTTOMALIGN, 10, 240, 200, 40);
  RECT R;
  GetWindowRect(Aligned, &R);
  EXPECT_EQ(R, (RECT{10, 264, 210, 280}));
}

TEST_F(TScrollBarTest, ArrowsTrackAndThumbNotifyTheParent) {
  ClickAt(Bar, 192, 8);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{H(SB_LINEDOWN), H(SB_ENDSCROLL)}));
  EXPECT_EQ(Pos(), 1);
  ClickAt(Bar, 150, 8);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{H(SB_PAGEDOWN), H(SB_ENDSCROLL)}));
  EXPECT_EQ(Pos(), 11);
  SCROLLBARINFO Info;
  ASSERT_TRUE(GetScrollBarInfo(Bar, OBJID_CLIENT, &Info));
  EXPECT_EQ(Info.dxyLineButton, 16);
  EXPECT_EQ(Info.xyThumbTop, 34);  // 16 + MulDiv(11, 151, 91)
  EXPECT_EQ(Info.xyThumbBottom, 51);
  EXPECT_EQ(Info.rcScrollBar, (RECT{10, 200, 210, 216}));
  // Grabbed 8 pixels into the thumb and moved 60 pixels right in two steps.
  Display->Drag({10 + 42, 208}, {10 + 102, 208}, 2);
  RunUntilIdle();
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{H(SB_THUMBTRACK, 29), H(SB_THUMBTRACK, 47),
                                             H(SB_THUMBPOSITION, 47), H(SB_ENDSCROLL)}));
  EXPECT_EQ(Pos(), 47);
  EXPECT_EQ(GetFocus(), Bar);
  Display->KeyPress(VK_LEFT);
  Display->KeyPress(VK_END);
  RunUntilIdle();
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{H(SB_LINEUP), H(SB_ENDSCROLL), H(SB_BOTTOM), H(SB_ENDSCROLL)}));
  EXPECT_EQ(Pos(), 91);
}

TEST_F(TScrollBarTest, HeldArrowsRepeat) {
  Integer Elapsed = 0;
  SetModalHook([&] {
    Clock.Advance(10);
    Elapsed += 10;
    if (Elapsed == 400) Display->ButtonUp();
    Display->Wake();
  });
  Display->MoveTo(10 + 192, 208);
  Display->ButtonDown();
  RunUntilIdle();
  // At once, after 250 ms, then every 50 ms until the release at 400 ms.
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{H(SB_LINEDOWN), H(SB_LINEDOWN), H(SB_LINEDOWN), H(SB_LINEDOWN),
                                             H(SB_ENDSCROLL)}));
  EXPECT_EQ(Pos(), 4);
}

TEST_F(TScrollBarTest, ScrollBarsInTheClassicLook) {
  HWND Grip = Create(WC_SCROLLBAR, "", SBS_SIZEGRIP, 300, 200, 16, 16);
  RunUntilIdle();
  const TScreenshot S = Screenshot(Bar);
  EXPECT_EQ(S.Pixel(0, 0), 0xFFFFFFu);  // raised left arrow
  EXPECT_EQ(S.Pixel(15, 15), 0x000000u);
  EXPECT_EQ(S.Pixel(16, 0), 0xDFDFDFu);  // the thumb at 16: raised
  EXPECT_EQ(S.Pixel(17, 1), 0xFFFFFFu);
  EXPECT_EQ(S.Pixel(32, 15), 0x000000u);
  EXPECT_EQ(S.Pixel(100, 4), 0xFFFFFFu);  // the dithered track
  EXPECT_EQ(S.Pixel(101, 4), 0xC0C0C0u);
  const TScreenshot G = Screenshot(Grip);
  EXPECT_EQ(G.Pixel(0, 0), 0xC0C0C0u);  // the grip's grooves run across the corner
  EXPECT_EQ(G.Pixel(8, 8), 0xFFFFFFu);
  EXPECT_EQ(G.Pixel(9, 8), 0x808080u);
}

// ---- Up-down --------------------------------------------------------------------------------

class TUpDownTest : public TCommonControlTest {
 protected:
  void SetUp() override {
    TCommonControlTest::SetUp();
    Buddy = Create(WC_STATIC, "0", SS_LEFT, 10, 150, 60, 20, 10);
    Spin = Create(UPDOWN_CLASS, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 16, 10, 11);
    SendMessage(Spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    SendMessage(Spin, UDM_SETRANGE32, 0, 10);
    SendMessage(Spin, UDM_SETPOS32, 0, 0);
    RunUntilIdle();
    TakeNotes();
  }
  // A click on the up (Dir 1) or down (-1) arrow.
  void ClickArrow(Integer Dir) { ClickAt(Spin, 8, Dir > 0 ? 4 : 16); }
  LRESULT Pos() { return SendMessage(Spin, UDM_GETPOS32, 0, 0); }
  static std::vector<TNote> Step(Integer From, Integer Delta, Integer To) {
    return {{WM_NOTIFY, 11, UDN_DELTAPOS, From, Delta, nullptr},
            ScrollNote(true, SB_THUMBPOSITION, To),
            ScrollNote(true, SB_ENDSCROLL, To)};
  }
  HWND Buddy = nullptr;
  HWND Spin = nullptr;
};

TEST_F(TUpDownTest, AttachesToItsBuddy) {
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(Spin, UDM_GETBUDDY, 0, 0)), Buddy);
  RECT B, S;
  GetWindowRect(Buddy, &B);
  GetWindowRect(Spin, &S);
  EXPECT_EQ(B, (RECT{10, 150, 54, 170}));
  EXPECT_EQ(S, (RECT{54, 150, 70, 170}));
  HWND Fresh = Create(UPDOWN_CLASS, "", 0, 100, 100, 16, 20);
  EXPECT_EQ(SendMessage(Fresh, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));  // upper 0, lower 100
}

TEST_F(TUpDownTest, ArrowsStepClampWrapAndAskTheParent) {
  ClickArrow(1);
  EXPECT_EQ(Pos(), 1);
  EXPECT_EQ(GetWindowTextString(Buddy), "1");
  EXPECT_EQ(TakeNotes(), Step(0, 1, 1));
  ClickArrow(-1);
  EXPECT_EQ(TakeNotes(), Step(1, -1, 0));
  ClickArrow(-1);  // at the lower end: asked, nothing moves
  EXPECT_EQ(TakeNotes(), Step(0, -1, 0));
  SetWindowLongPtr(Spin, GWL_STYLE, GetWindowLongPtr(Spin, GWL_STYLE) | UDS_WRAP);
  ClickArrow(-1);
  EXPECT_EQ(TakeNotes(), Step(0, -1, 10));
  ParentState().RefuseDelta = true;
  ClickArrow(-1);
  EXPECT_EQ(TakeNotes(), Step(10, -1, 10));
  ParentState().RefuseDelta = false;
  ParentState().ChangeDelta = -4;
  ClickArrow(-1);
  EXPECT_EQ(Pos(), 6);
  ParentState().ChangeDelta = 0;
  // The buddy's keys step too.
  SetFocus(Buddy);
  TakeNotes();
  Display->KeyPress(VK_UP);
  RunUntilIdle();
  EXPECT_EQ(TakeNotes(), Step(6, 1, 7));
}

TEST_F(TUpDownTest, HoldingAnArrowRepeatsWithAcceleration) {
  SendMessage(Spin, UDM_SETRANGE32, 0, 1000);
  const TPoint O = Origin(Spin);
  Display->MoveTo(O.X + 8, O.Y + 4);
  Display->ButtonDown();
  RunUntilIdle();
  Wait(2500);
  Display->ButtonUp();
  RunUntilIdle();
  std::vector<Integer> Deltas;
  for (const TNote& N : TakeNotes())
    if (N.Code == UDN_DELTAPOS) Deltas.push_back(N.Delta);
  // At once, after 500 ms, then every 100 ms: 1 until 2 s have passed, 5 after.
  std::vector<Integer> Expected(16, 1);
  Expected.insert(Expected.end(), 6, 5);
  EXPECT_EQ(Deltas, Expected);
  EXPECT_EQ(Pos(), 46);
}

TEST_F(TUpDownTest, BuddyTextFormats) {
  SendMessage(Spin, UDM_SETRANGE32, static_cast<WPARAM>(-100000), 100000);
  SendMessage(Spin, UDM_SETPOS32, 0, 12345);
  EXPECT_EQ(GetWindowTextString(Buddy), "12,345");
  SendMessage(Spin, UDM_SETPOS32, 0, -1234567);
  EXPECT_EQ(GetWindowTextString(Buddy), "-100,000");
  SetWindowLongPtr(Spin, GWL_STYLE, GetWindowLongPtr(Spin, GWL_STYLE) | UDS_NOTHOUSANDS);
  SendMessage(Spin, UDM_SETPOS32, 0, 12345);
  EXPECT_EQ(GetWindowTextString(Buddy), "12345");
  EXPECT_EQ(SendMessage(Spin, UDM_SETBASE, 16, 0), 10);
  EXPECT_EQ(GetWindowTextString(Buddy), "0x3039");
  EXPECT_EQ(SendMessage(Spin, UDM_SETBASE, 7, 0), 0);
  SendMessage(Spin, UDM_SETBASE, 10, 0);
  SetWindowText(Buddy, "1,234");
  BOOL Error = TRUE;
  EXPECT_EQ(SendMessage(Spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&Error)), 1234);
  EXPECT_FALSE(Error);
  SetWindowText(Buddy, "x1");
  EXPECT_EQ(SendMessage(Spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&Error)), 1234);
  EXPECT_TRUE(Error);
  EXPECT_EQ(HIWORD(SendMessage(Spin, UDM_GETPOS, 0, 0)), 1);
}

TEST_F(TUpDownTest, WorksWithAnEditBuddy) {
  RegisterEditClass();
  HWND Edit = Create("EDIT", "5", WS_BORDER, 100, 150, 60, 20, 12);
  HWND Spin2 = Create(UPDOWN_CLASS, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 16, 20, 13);
  SendMessage(Spin2, UDM_SETRANGE32, 0, 100);
  SendMessage(Spin2, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Edit), 0);
  RunUntilIdle();
  // The position comes from the edit's text before the step.
  ClickAt(Spin2, 8, 4);
  EXPECT_EQ(GetWindowTextString(Edit), "6");
  EXPECT_EQ(GetFocus(), Edit);
  Display->KeyPress(VK_UP);
  RunUntilIdle();
  EXPECT_EQ(GetWindowTextString(Edit), "7");
  SendMessage(Edit, EM_SETSEL, 0, -1);
  Display->Type("42");
  RunUntilIdle();
  EXPECT_EQ(SendMessage(Spin2, UDM_GETPOS32, 0, 0), 42);
  // Another buddy takes the edit's keys back.
  SendMessage(Spin2, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
  SetFocus(Edit);
  Display->KeyPress(VK_UP);
  RunUntilIdle();
  EXPECT_EQ(GetWindowTextString(Edit), "42");
}

TEST_F(TUpDownTest, ArrowsInTheClassicLook) {
  const TPoint O = Origin(Spin);
  Display->MoveTo(O.X + 8, O.Y + 15);
  Display->ButtonDown();
  RunUntilIdle();
  const TScreenshot S = Screenshot(Spin);
  Display->ButtonUp();
  RunUntilIdle();
  EXPECT_EQ(S.Pixel(0, 0), 0xFFFFFFu);  // the raised up arrow
  EXPECT_EQ(S.Pixel(15, 9), 0x000000u);
  EXPECT_EQ(S.Pixel(0, 10), 0x808080u);  // the pressed down arrow is sunken
  EXPECT_EQ(S.Pixel(15, 19), 0xFFFFFFu);
}

}  // namespace
