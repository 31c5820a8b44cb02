// Flat scroll bars: the calls on a window with and without them, their properties, and
// giving them up while a bar is dragged.
#include "NcTestSupport.h"
#include "platform/user/FlatScrollBars.h"

namespace {

using TFlatScrollBarTest = TNcTest;

SCROLLINFO RangePagePos(Integer Max, UINT Page, Integer Pos) {
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  SI.nMax = Max;
  SI.nPage = Page;
  SI.nPos = Pos;
  return SI;
}

bool HasStyle(HWND W, DWORD Bit) {
  return (GetWindowLongPtr(W, GWL_STYLE) & Bit) != 0;
}

// The flat calls change the window's own bars, with or without flat bars: the standard calls
// read back what they set, clamped the standard way.
TEST_F(TFlatScrollBarTest, CallsWorkOnTheWindowBarsWithAndWithoutFlatBars) {
  for (const bool Flat : {false, true}) {
    HWND W = Frame(100, 100, 300, 200);
    if (Flat) {
      ASSERT_TRUE(InitializeFlatSB(W));
    }
    const SCROLLINFO SI = RangePagePos(99, 20, 95);
    EXPECT_EQ(FlatSB_SetScrollInfo(W, SB_VERT, &SI, TRUE), 80) << Flat;
    EXPECT_TRUE(HasStyle(W, WS_VSCROLL));
    SCROLLINFO Got;
    Got.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(W, SB_VERT, &Got));
    EXPECT_EQ(Got.nPage, 20u);
    EXPECT_EQ(Got.nPos, 80);
    EXPECT_EQ(FlatSB_SetScrollPos(W, SB_VERT, 30, TRUE), 80);
    EXPECT_EQ(FlatSB_GetScrollPos(W, SB_VERT), 30);
    EXPECT_TRUE(FlatSB_SetScrollRange(W, SB_HORZ, 5, 50, TRUE));
    Integer Lo = 0, Hi = 0;
    EXPECT_TRUE(FlatSB_GetScrollRange(W, SB_HORZ, &Lo, &Hi));
    EXPECT_EQ(Lo, 5);
    EXPECT_EQ(Hi, 50);
    SCROLLINFO FlatGot;
    FlatGot.fMask = SIF_RANGE;
    EXPECT_TRUE(FlatSB_GetScrollInfo(W, SB_HORZ, &FlatGot));
    EXPECT_EQ(FlatGot.nMax, 50);
    EXPECT_TRUE(FlatSB_ShowScrollBar(W, SB_BOTH, FALSE));
    EXPECT_FALSE(HasStyle(W, WS_HSCROLL | WS_VSCROLL));
    EXPECT_TRUE(FlatSB_ShowScrollBar(W, SB_VERT, TRUE));
    EXPECT_TRUE(HasStyle(W, WS_VSCROLL));
    EXPECT_TRUE(FlatSB_EnableScrollBar(W, SB_VERT, ESB_DISABLE_BOTH));
    SCROLLBARINFO Info;
    ASSERT_TRUE(GetScrollBarInfo(W, OBJID_VSCROLL, &Info));
    EXPECT_TRUE(Info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_TRUE(Info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
    DestroyWindow(W);
  }
}

TEST_F(TFlatScrollBarTest, PropertiesExistOnlyWhileTheWindowHasFlatBars) {
  HWND W = Frame(100, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_HSCROLL);
  INT_PTR Value = -1;
  EXPECT_FALSE(FlatSB_GetScrollProp(W, WSB_PROP_VSTYLE, &Value));
  EXPECT_FALSE(FlatSB_SetScrollProp(W, WSB_PROP_VSTYLE, FSB_ENCARTA_MODE, TRUE));
  EXPECT_EQ(UninitializeFlatSB(W), S_FALSE);
  EXPECT_FALSE(InitializeFlatSB(nullptr));

  ASSERT_TRUE(InitializeFlatSB(W));
  const struct {
    UINT Index;
    INT_PTR Default;
  } Defaults[] = {
      {WSB_PROP_CYVSCROLL, GetSystemMetrics(SM_CYVSCROLL)},
      {WSB_PROP_CXHSCROLL, GetSystemMetrics(SM_CXHSCROLL)},
      {WSB_PROP_CYHSCROLL, GetSystemMetrics(SM_CYHSCROLL)},
      {WSB_PROP_CXVSCROLL, GetSystemMetrics(SM_CXVSCROLL)},
      {WSB_PROP_CXHTHUMB, GetSystemMetrics(SM_CXHTHUMB)},
      {WSB_PROP_CYVTHUMB, GetSystemMetrics(SM_CYVTHUMB)},
      {WSB_PROP_VBKGCOLOR, static_cast<INT_PTR>(GetSysColor(COLOR_SCROLLBAR))},
      {WSB_PROP_HBKGCOLOR, static_cast<INT_PTR>(GetSysColor(COLOR_SCROLLBAR))},
      {WSB_PROP_VSTYLE, FSB_FLAT_MODE},
      {WSB_PROP_HSTYLE, FSB_FLAT_MODE},
      {WSB_PROP_WINSTYLE, static_cast<INT_PTR>(WS_HSCROLL)},
      {WSB_PROP_PALETTE, 0},
  };
  for (const auto& D : Defaults) {
    EXPECT_TRUE(FlatSB_GetScrollProp(W, D.Index, &Value)) << D.Index;
    EXPECT_EQ(Value, D.Default) << D.Index;
  }
  // Each property keeps its own value; the window style is read from the window only.
  EXPECT_TRUE(FlatSB_SetScrollProp(W, WSB_PROP_HSTYLE, FSB_REGULAR_MODE, TRUE));
  EXPECT_TRUE(FlatSB_SetScrollProp(W, WSB_PROP_CXVSCROLL, 9, FALSE));
  EXPECT_FALSE(FlatSB_SetScrollProp(W, WSB_PROP_WINSTYLE, 0, TRUE));
  FlatSB_GetScrollProp(W, WSB_PROP_HSTYLE, &Value);
  EXPECT_EQ(Value, FSB_REGULAR_MODE);
  FlatSB_GetScrollProp(W, WSB_PROP_VSTYLE, &Value);
  EXPECT_EQ(Value, FSB_FLAT_MODE);
  FlatSB_GetScrollProp(W, WSB_PROP_CXVSCROLL, &Value);
  EXPECT_EQ(Value, 9);
  FlatSB_ShowScrollBar(W, SB_VERT, TRUE);
  FlatSB_GetScrollProp(W, WSB_PROP_WINSTYLE, &Value);
  EXPECT_EQ(Value, static_cast<INT_PTR>(WS_HSCROLL | WS_VSCROLL));
  // Not one single property: refused.
  for (const UINT Bad : {0u, WSB_PROP_VSTYLE | WSB_PROP_HSTYLE, 0x1000u}) {
    EXPECT_FALSE(FlatSB_GetScrollProp(W, Bad, &Value)) << Bad;
    EXPECT_FALSE(FlatSB_SetScrollProp(W, Bad, 1, TRUE)) << Bad;
  }
  // A second initialisation keeps what was set.
  EXPECT_TRUE(InitializeFlatSB(W));
  FlatSB_GetScrollProp(W, WSB_PROP_CXVSCROLL, &Value);
  EXPECT_EQ(Value, 9);

  EXPECT_EQ(UninitializeFlatSB(W), S_OK);
  EXPECT_FALSE(FlatSB_GetScrollProp(W, WSB_PROP_VSTYLE, &Value));
  EXPECT_EQ(UninitializeFlatSB(W), S_FALSE);
  // The window's bars stay as they were.
  EXPECT_TRUE(HasStyle(W, WS_HSCROLL | WS_VSCROLL));

  // A destroyed window's flat bars go with it.
  ASSERT_TRUE(InitializeFlatSB(W));
  DestroyWindow(W);
  EXPECT_FALSE(FlatSB_GetScrollProp(W, WSB_PROP_VSTYLE, &Value));
  EXPECT_EQ(UninitializeFlatSB(W), S_FALSE);
}

TEST_F(TFlatScrollBarTest, FlatBarsCannotBeGivenUpWhileABarIsDragged) {
  FakeClock();
  HWND W = Frame(100, 100, 220, 260);
  ASSERT_TRUE(InitializeFlatSB(W));
  const SCROLLINFO SI = RangePagePos(99, 50, 0);
  FlatSB_SetScrollInfo(W, SB_VERT, &SI, TRUE);
  RunUntilIdle();
  std::vector<HRESULT> WhileDragged;
  NcHandler() = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM, LRESULT&) {
    if (Wnd == W && Msg == WM_VSCROLL && LOWORD(WParam) == SB_THUMBTRACK)
      WhileDragged.push_back(UninitializeFlatSB(W));
    return false;
  };
  SCROLLBARINFO Info;
  ASSERT_TRUE(GetScrollBarInfo(W, OBJID_VSCROLL, &Info));
  const Integer X = (Info.rcScrollBar.Left + Info.rcScrollBar.Right) / 2;
  const Integer Thumb = Info.rcScrollBar.Top + (Info.xyThumbTop + Info.xyThumbBottom) / 2;
  Display->Drag({X, Thumb}, {X, Thumb + 30}, 2);
  RunUntilIdle();
  ASSERT_FALSE(WhileDragged.empty());
  for (const HRESULT R : WhileDragged) EXPECT_EQ(R, E_FAIL);
  EXPECT_EQ(UninitializeFlatSB(W), S_OK);
}

}  // namespace
