// Window scroll bars: the state and its clamping, showing and enabling, and mouse tracking.
#include "NcTestSupport.h"

namespace {

using TScrollBarTest = TNcTest;

struct TClampCase {
  Integer Min, Max;
  UINT Page;
  Integer Pos;
  UINT WantPage;
  Integer WantPos;
};

TEST_F(TScrollBarTest, SetScrollInfoClampsPageAndPosition) {
  HWND W = Frame(100, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_VSCROLL);
  const TClampCase Cases[] = {
      {0, 100, 10, 95, 10, 91}, {0, 100, 0, 150, 0, 100}, {0, 100, 200, 50, 101, 0},   {10, 20, 3, 5, 3, 10},
      {0, 9, 1, 9, 1, 9},       {0, 9, 2, 9, 2, 8},       {-50, 50, 10, -60, 10, -50}, {5, 5, 0, 7, 0, 5},
      {0, 0, 1, 3, 1, 0},       {0, 99, 100, 40, 100, 0}, {0, 99, 99, 40, 99, 1},
  };
  for (const TClampCase& C : Cases) {
    SCROLLINFO SI;
    SI.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    SI.nMin = C.Min;
    SI.nMax = C.Max;
    SI.nPage = C.Page;
    SI.nPos = C.Pos;
    EXPECT_EQ(SetScrollInfo(W, SB_VERT, &SI, FALSE), C.WantPos)
        << C.Min << ".." << C.Max << " page " << C.Page;
    SCROLLINFO Got;
    Got.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(W, SB_VERT, &Got));
    EXPECT_EQ(Got.nPage, C.WantPage);
    EXPECT_EQ(Got.nPos, C.WantPos);
    EXPECT_EQ(Got.nTrackPos, C.WantPos);
    EXPECT_EQ(GetScrollPos(W, SB_VERT), C.WantPos);
  }
  // A narrower range re-clamps the position kept from before.
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  SI.nMax = 100;
  SI.nPage = 10;
  SI.nPos = 80;
  SetScrollInfo(W, SB_VERT, &SI, FALSE);
  SI.fMask = SIF_RANGE;
  SI.nMax = 50;
  EXPECT_EQ(SetScrollInfo(W, SB_VERT, &SI, FALSE), 41);
  EXPECT_EQ(SetScrollPos(W, SB_VERT, 20, TRUE), 41);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 20);
  Integer Lo = -1, Hi = -1;
  EXPECT_TRUE(GetScrollRange(W, SB_VERT, &Lo, &Hi));
  EXPECT_EQ(Lo, 0);
  EXPECT_EQ(Hi, 50);
}

TEST_F(TScrollBarTest, BarsShowHideAndDisableByTheirRange) {
  HWND W = Frame(100, 100, 300, 200);
  auto HasV = [&] { return (GetWindowLongPtr(W, GWL_STYLE) & WS_VSCROLL) != 0; };
  SCROLLINFO NoInfo;
  NoInfo.fMask = SIF_ALL;
  EXPECT_FALSE(GetScrollInfo(W, SB_VERT, &NoInfo));  // no bar, never set
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE | SIF_PAGE;
  SI.nMax = 99;
  SI.nPage = 20;
  SetScrollInfo(W, SB_VERT, &SI, TRUE);
  EXPECT_TRUE(HasV());
  RECT C;
  GetClientRect(W, &C);
  EXPECT_EQ(C.Width(), 292 - 16);
  SI.nPage = 100;  // everything shows: the bar goes
  SetScrollInfo(W, SB_VERT, &SI, TRUE);
  EXPECT_FALSE(HasV());
  SI.fMask |= SIF_DISABLENOSCROLL;  // ... or stays disabled
  SetScrollInfo(W, SB_VERT, &SI, TRUE);
  EXPECT_TRUE(HasV());
  SCROLLBARINFO Info;
  ASSERT_TRUE(GetScrollBarInfo(W, OBJID_VSCROLL, &Info));
  EXPECT_TRUE(Info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_TRUE(Info.rgstate[3] & STATE_SYSTEM_INVISIBLE);
  SI.nPage = 20;
  SetScrollInfo(W, SB_VERT, &SI, TRUE);
  ASSERT_TRUE(GetScrollBarInfo(W, OBJID_VSCROLL, &Info));
  EXPECT_FALSE(Info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_FALSE(Info.rgstate[3] & STATE_SYSTEM_INVISIBLE);
  // SetScrollRange with an empty range hides the bar.
  SetScrollRange(W, SB_VERT, 3, 3, TRUE);
  EXPECT_FALSE(HasV());
  // EnableScrollBar reports whether anything changed.
  ShowScrollBar(W, SB_HORZ, TRUE);
  EXPECT_TRUE(EnableScrollBar(W, SB_HORZ, ESB_DISABLE_LEFT));
  EXPECT_FALSE(EnableScrollBar(W, SB_HORZ, ESB_DISABLE_LEFT));
  ASSERT_TRUE(GetScrollBarInfo(W, OBJID_HSCROLL, &Info));
  EXPECT_TRUE(Info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_FALSE(Info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
  RECT WR;
  GetWindowRect(W, &WR);
  EXPECT_EQ(Info.rcScrollBar, (RECT{WR.Left + 4, WR.Bottom - 4 - 16, WR.Right - 4, WR.Bottom - 4}));
}

class TScrollTrackTest : public TScrollBarTest {
 protected:
  void SetUp() override {
    TScrollBarTest::SetUp();
    FakeClock();
    // Client 200 x 232: the vertical bar runs from window y 23 to 255 at x 204..220.
    RECT Want{0, 0, 200, 232};
    AdjustWindowRectEx(&Want, WS_OVERLAPPEDWINDOW, FALSE, 0);
    W = Frame(100, 100, Want.Width() + 16, Want.Height(), WS_OVERLAPPEDWINDOW | WS_VSCROLL);
    SCROLLINFO SI;
    SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SI.nMax = 99;
    SI.nPage = 50;
    SetScrollInfo(W, SB_VERT, &SI, FALSE);
    // The window scrolls as asked.
    NcHandler() = [this](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM, LRESULT&) {
      if (Msg != WM_VSCROLL) return false;
      Codes.push_back(LOWORD(WParam));
      Positions.push_back(static_cast<SHORT>(HIWORD(WParam)));
      Integer Pos = GetScrollPos(Wnd, SB_VERT);
      switch (LOWORD(WParam)) {
        case SB_LINEDOWN:
          Pos += 1;
          break;
        case SB_LINEUP:
          Pos -= 1;
          break;
        case SB_PAGEDOWN:
          Pos += 50;
          break;
        case SB_PAGEUP:
          Pos -= 50;
          break;
        case SB_THUMBPOSITION:
          Pos = static_cast<SHORT>(HIWORD(WParam));
          break;
        default:
          return true;
      }
      SetScrollPos(Wnd, SB_VERT, Pos, TRUE);
      return true;
    };
    Bar = TPoint{100 + 204 + 8, 100 + 23};  // the bar's top middle, screen
  }
  HWND W = nullptr;
  TPoint Bar;
  std::vector<WORD> Codes;
  std::vector<Integer> Positions;
};

TEST_F(TScrollTrackTest, ArrowClickSendsLineDownThenEndScroll) {
  Display->Click(Bar.X, Bar.Y + 232 - 5);
  RunUntilIdle();
  EXPECT_EQ(Codes, (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 1);
  EXPECT_EQ(All(W, WM_SYSCOMMAND).front().WParam, SC_VSCROLL + HTVSCROLL);
}

TEST_F(TScrollTrackTest, HeldArrowRepeatsAfterTheDelay) {
  Display->MoveTo(Bar.X, Bar.Y + 5);
  SetScrollPos(W, SB_VERT, 10, FALSE);
  Display->ButtonDown();
  DWORD PushedArrow = 0;
  OnIdle({[&] {
            PushedArrow = Pixel(W, 204 + 8, 23);  // pushed flat: the shadow frame
            FakeClock().Advance(249);
          },
          [&] { FakeClock().Advance(1); }, [&] { FakeClock().Advance(50); }, [&] { Display->ButtonUp(); }});
  RunUntilIdle();
  EXPECT_EQ(PushedArrow, Sys(COLOR_3DSHADOW));
  EXPECT_EQ(Codes, (std::vector<WORD>{SB_LINEUP, SB_LINEUP, SB_LINEUP, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 7);
}

TEST_F(TScrollTrackTest, TrackClickPagesUntilTheThumbReachesTheMouse) {
  // Range 0..299 with page 50: a thumb of 33 pixels over 250 steps. A press at 200 pages down
  // while the thumb is above the mouse: at 250 it covers 183..216 and the paging stops.
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE;
  SI.nMax = 299;
  SetScrollInfo(W, SB_VERT, &SI, FALSE);
  Display->MoveTo(Bar.X, Bar.Y + 200);
  Display->ButtonDown();
  OnIdle({[&] { FakeClock().Advance(250); }, [&] { FakeClock().Advance(50); },
          [&] { FakeClock().Advance(50); }, [&] { FakeClock().Advance(50); },
          [&] { FakeClock().Advance(50); }, [&] { Display->ButtonUp(); }});
  RunUntilIdle();
  EXPECT_EQ(Codes, (std::vector<WORD>{SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN,
                                      SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 250);
}

TEST_F(TScrollTrackTest, ThumbDragSendsTrackPositions) {
  // Thumb 16..116: 50 positions over 100 pixels, two pixels each.
  Display->Drag({Bar.X, Bar.Y + 50}, {Bar.X, Bar.Y + 90}, 4);
  RunUntilIdle();
  EXPECT_EQ(Codes, (std::vector<WORD>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK,
                                      SB_THUMBPOSITION, SB_ENDSCROLL}));
  EXPECT_EQ(Positions, (std::vector<Integer>{5, 10, 15, 20, 20, 0}));
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 20);
  // Past the end the thumb stops at the last position.
  Codes.clear();
  Positions.clear();
  Display->Drag({Bar.X, Bar.Y + 100}, {Bar.X, Bar.Y + 400}, 1);
  RunUntilIdle();
  EXPECT_EQ(Positions.front(), 50);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 50);
}

TEST_F(TScrollTrackTest, TrackPosDuringTheDrag) {
  Display->MoveTo(Bar.X, Bar.Y + 50);
  Display->ButtonDown();
  Display->MoveTo(Bar.X, Bar.Y + 70);
  SCROLLINFO During;
  During.fMask = SIF_POS | SIF_TRACKPOS;
  SCROLLBARINFO Info;
  OnIdle({[&] {
    GetScrollInfo(W, SB_VERT, &During);
    GetScrollBarInfo(W, OBJID_VSCROLL, &Info);
    Display->ButtonUp();
  }});
  RunUntilIdle();
  EXPECT_EQ(During.nPos, 0);
  EXPECT_EQ(During.nTrackPos, 10);
  EXPECT_EQ(Info.xyThumbTop, 16 + 20);
  EXPECT_TRUE(Info.rgstate[3] & STATE_SYSTEM_PRESSED);
}

}  // namespace
