// The tab control: item rectangles for a fixed font, hit tests, selection with refusal,
// multi-line rows, the display area, single-line scrolling and the classic look.
#include <gtest/gtest.h>

#include "tests/platform/display/NativeControlsTestUtil.h"

namespace {

using namespace CommonControlTesting;

// Liberation Sans 11 px: tmHeight 12, so tabs are 12 + 2 * 3 = 18 high; the texts are 38, 26,
// 50, 21 ("Help"; the '&' only underlines), 10 and 42 pixels wide, the tabs 12 wider.
const char* const Names[] = {"General", "Tools", "Advanced", "&Help", "W", "Last one"};

class TTabsTest : public TCommonControlTest {
 protected:
  HWND Tabs(DWORD Style, Integer W, Integer H, Integer Count = 6) {
    HWND T = Create(WC_TABCONTROL, "", Style, 10, 10, W, H, 1);
    for (Integer I = 0; I < Count; ++I) {
      TCITEM It;
      It.mask = TCIF_TEXT | TCIF_PARAM;
      It.pszText = const_cast<char*>(Names[I]);
      It.lParam = 100 + I;
      EXPECT_EQ(SendMessage(T, TCM_INSERTITEM, I, reinterpret_cast<LPARAM>(&It)), I);
    }
    RunUntilIdle();
    TakeNotes();
    return T;
  }
  static std::vector<TRect> Rects(HWND T) {
    std::vector<TRect> R;
    const Integer N = static_cast<Integer>(SendMessage(T, TCM_GETITEMCOUNT, 0, 0));
    for (Integer I = 0; I < N; ++I) {
      RECT Item;
      EXPECT_TRUE(SendMessage(T, TCM_GETITEMRECT, I, reinterpret_cast<LPARAM>(&Item)));
      R.push_back(Item);
    }
    return R;
  }
  static RECT Adjusted(HWND T, bool Larger, RECT R) {
    SendMessage(T, TCM_ADJUSTRECT, Larger, reinterpret_cast<LPARAM>(&R));
    return R;
  }
  static LRESULT Sel(HWND T) { return SendMessage(T, TCM_GETCURSEL, 0, 0); }
};

TEST_F(TTabsTest, ItemRectanglesFollowTheTextAndTheSizingMessages) {
  HWND T = Tabs(0, 300, 150);
  EXPECT_EQ(Rects(T), (std::vector<TRect>{{2, 2, 52, 20},
                                          {52, 2, 90, 20},
                                          {90, 2, 152, 20},
                                          {152, 2, 185, 20},
                                          {185, 2, 207, 20},
                                          {207, 2, 261, 20}}));
  EXPECT_EQ(Sel(T), 0);  // the first item inserted is selected
  EXPECT_EQ(SendMessage(T, TCM_GETROWCOUNT, 0, 0), 1);
  EXPECT_EQ(Adjusted(T, false, RECT{0, 0, 300, 150}), (RECT{4, 24, 296, 146}));
  EXPECT_EQ(Adjusted(T, true, RECT{4, 24, 296, 146}), (RECT{0, 0, 300, 150}));

  SendMessage(T, TCM_SETPADDING, 0, MAKELPARAM(10, 2));
  SendMessage(T, TCM_SETMINTABWIDTH, 0, 40);
  EXPECT_EQ(Rects(T)[0], (TRect{2, 2, 60, 18}));     // 38 + 20 wide, 12 + 4 high
  EXPECT_EQ(Rects(T)[4], (TRect{217, 2, 257, 18}));  // "W": 30, raised to 40
  // The item size sets the height; the width only with TCS_FIXEDWIDTH.
  EXPECT_EQ(SendMessage(T, TCM_SETITEMSIZE, 0, MAKELPARAM(80, 24)), MAKELONG(96, 16));
  EXPECT_EQ(Rects(T)[0], (TRect{2, 2, 60, 26}));
  SetWindowLongPtr(T, GWL_STYLE, GetWindowLongPtr(T, GWL_STYLE) | TCS_FIXEDWIDTH);
  EXPECT_EQ(Rects(T)[1], (TRect{82, 2, 162, 26}));

  HWND Bottom = Tabs(TCS_BOTTOM, 300, 150);
  EXPECT_EQ(Rects(Bottom)[0], (TRect{2, 130, 52, 148}));
  EXPECT_EQ(Adjusted(Bottom, false, RECT{0, 0, 300, 150}), (RECT{4, 4, 296, 126}));
  HWND Buttons = Tabs(TCS_BUTTONS, 300, 150);
  EXPECT_EQ(Rects(Buttons)[1], (TRect{53, 0, 91, 18}));
  EXPECT_EQ(Adjusted(Buttons, false, RECT{0, 0, 300, 150}), (RECT{0, 21, 300, 150}));
}

TEST_F(TTabsTest, HitTestsFindTheTabUnderAPoint) {
  HWND T = Tabs(0, 300, 150);
  struct TCase {
    TPoint P;
    LRESULT Item;
    UINT Flags;
  };
  for (const TCase& C : {TCase{{100, 10}, 2, TCHT_ONITEMLABEL}, TCase{{2, 2}, 0, TCHT_ONITEMLABEL},
                         TCase{{52, 19}, 1, TCHT_ONITEMLABEL}, TCase{{280, 10}, -1, TCHT_NOWHERE},
                         TCase{{100, 100}, -1, TCHT_NOWHERE}, TCase{{1, 10}, -1, TCHT_NOWHERE}}) {
    TCHITTESTINFO H;
    H.pt = C.P;
    EXPECT_EQ(SendMessage(T, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&H)), C.Item) << C.P.X << "," << C.P.Y;
    EXPECT_EQ(H.flags, C.Flags);
  }
  // Outside the tabs the control lets the mouse through to its parent.
  EXPECT_EQ(WindowFromPoint(POINT{110, 110}), Parent);
  EXPECT_EQ(WindowFromPoint(POINT{110, 20}), T);
}

TEST_F(TTabsTest, ClicksAndKeysSelectUnlessTheParentRefuses) {
  HWND T = Tabs(0, 300, 150);
  ParentState().RefuseSelChange = true;
  ClickAt(T, 100, 10);
  EXPECT_EQ(Sel(T), 0);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{NotifyNote(1, TCN_SELCHANGING), NotifyNote(1, NM_CLICK)}));
  ParentState().RefuseSelChange = false;
  ClickAt(T, 100, 10);
  EXPECT_EQ(Sel(T), 2);
  EXPECT_EQ(GetFocus(), T);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{NotifyNote(1, TCN_SELCHANGING), NotifyNote(1, TCN_SELCHANGE),
                                             NotifyNote(1, NM_CLICK)}));
  ClickAt(T, 100, 10);  // the selected tab again: no change to ask about
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{NotifyNote(1, NM_CLICK)}));
  Display->KeyPress(VK_RIGHT);
  RunUntilIdle();
  EXPECT_EQ(Sel(T), 3);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{NotifyNote(1, TCN_KEYDOWN), NotifyNote(1, TCN_SELCHANGING),
                                             NotifyNote(1, TCN_SELCHANGE)}));
  // Messages select without asking; TCM_SETCURFOCUS asks.
  EXPECT_EQ(SendMessage(T, TCM_SETCURSEL, 5, 0), 3);
  EXPECT_EQ(SendMessage(T, TCM_SETCURSEL, 6, 0), -1);
  EXPECT_TRUE(Notes().empty());
  SendMessage(T, TCM_SETCURFOCUS, 1, 0);
  EXPECT_EQ(Sel(T), 1);
  EXPECT_EQ(TakeNotes(), (std::vector<TNote>{NotifyNote(1, TCN_SELCHANGING), NotifyNote(1, TCN_SELCHANGE)}));
}

TEST_F(TTabsTest, ItemsKeepTheirDataAndTheSelectionFollowsInsertsAndDeletes) {
  HWND T = Tabs(0, 300, 150);
  SendMessage(T, TCM_SETCURSEL, 2, 0);
  TCITEM New;
  New.mask = TCIF_TEXT;
  New.pszText = const_cast<char*>("New");
  EXPECT_EQ(SendMessage(T, TCM_INSERTITEM, 99, reinterpret_cast<LPARAM>(&New)), 6);  // appended
  EXPECT_EQ(SendMessage(T, TCM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&New)), 0);
  EXPECT_EQ(Sel(T), 3);
  EXPECT_TRUE(SendMessage(T, TCM_DELETEITEM, 1, 0));
  EXPECT_EQ(Sel(T), 2);
  char Buf[8];
  TCITEM Got;
  Got.mask = TCIF_TEXT | TCIF_PARAM;
  Got.pszText = Buf;
  Got.cchTextMax = sizeof(Buf);
  EXPECT_TRUE(SendMessage(T, TCM_GETITEM, 2, reinterpret_cast<LPARAM>(&Got)));
  EXPECT_STREQ(Buf, "Advance");  // cut to the buffer
  EXPECT_EQ(Got.lParam, 102);
  EXPECT_TRUE(SendMessage(T, TCM_DELETEITEM, 2, 0));
  EXPECT_EQ(Sel(T), -1);
  EXPECT_FALSE(SendMessage(T, TCM_DELETEITEM, 20, 0));
  SendMessage(T, TCM_DELETEALLITEMS, 0, 0);
  EXPECT_EQ(SendMessage(T, TCM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(TTabsTest, MultiLineRowsAreJustifiedAndTurnToTheSelection) {
  HWND T = Tabs(TCS_MULTILINE, 150, 150);
  EXPECT_EQ(SendMessage(T, TCM_GETROWCOUNT, 0, 0), 3);
  // Rows of 2, 3 and 1 tabs widened to end at 148; the selected row next to the display area.
  EXPECT_EQ(Rects(T), (std::vector<TRect>{{2, 38, 81, 56},
                                          {81, 38, 148, 56},
                                          {2, 20, 73, 38},
                                          {73, 20, 116, 38},
                                          {116, 20, 148, 38},
                                          {2, 2, 148, 20}}));
  EXPECT_EQ(Adjusted(T, false, RECT{0, 0, 150, 150}), (RECT{4, 60, 146, 146}));
  SendMessage(T, TCM_SETCURSEL, 3, 0);
  const std::vector<TRect> R = Rects(T);
  EXPECT_EQ(R[3].Top, 38);
  EXPECT_EQ(R[5].Top, 20);
  EXPECT_EQ(R[0].Top, 2);
  SetWindowLongPtr(T, GWL_STYLE, GetWindowLongPtr(T, GWL_STYLE) | TCS_RAGGEDRIGHT);
  EXPECT_EQ(Rects(T)[1], (TRect{52, 2, 90, 20}));
}

TEST_F(TTabsTest, SingleLineOverflowScrollsByWholeTabs) {
  HWND T = Tabs(0, 200, 100);
  HWND Scroller = FindWindowEx(T, nullptr, UPDOWN_CLASS, nullptr);
  ASSERT_NE(Scroller, nullptr);
  RECT S;
  GetWindowRect(Scroller, &S);
  EXPECT_EQ(S, (RECT{10 + 164, 10, 10 + 200, 10 + 18}));
  SendMessage(T, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
  EXPECT_EQ(Rects(T)[2], (TRect{2, 2, 64, 20}));
  EXPECT_EQ(Rects(T)[1].Right, 2);
  SendMessage(T, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 9), 0);  // at most until the last tab fits
  EXPECT_EQ(Rects(T)[3].Left, 2);
  SendMessage(T, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  // The scroller's right arrow shows the next tab first.
  ClickAt(Scroller, 27, 9);
  EXPECT_EQ(Rects(T)[1].Left, 2);
  // Selecting a hidden tab scrolls it into view.
  SendMessage(T, TCM_SETCURSEL, 5, 0);
  EXPECT_LE(Rects(T)[5].Right, 164);
  EXPECT_EQ(SendMessage(Scroller, UDM_GETPOS32, 0, 0), 3);
  // Wide enough again: no scroller, no scrolling.
  SetWindowPos(T, nullptr, 0, 0, 300, 100, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(FindWindowEx(T, nullptr, UPDOWN_CLASS, nullptr), nullptr);
  EXPECT_EQ(Rects(T)[0].Left, 2);
}

TEST_F(TTabsTest, OwnerDrawnTabsAskTheParent) {
  HWND T = Tabs(TCS_OWNERDRAWFIXED, 300, 100, 3);
  InvalidateRect(T, nullptr, TRUE);
  RunUntilIdle();
  std::vector<TNote> Draws;
  for (const TNote& N : TakeNotes())
    if (N.Msg == WM_DRAWITEM) Draws.push_back(N);
  // The others first, the selected tab last; CtlType in Delta, itemState in Pos.
  EXPECT_EQ(Draws, (std::vector<TNote>{{WM_DRAWITEM, 1, 1, 0, static_cast<Integer>(ODT_TAB), nullptr},
                                       {WM_DRAWITEM, 1, 2, 0, static_cast<Integer>(ODT_TAB), nullptr},
                                       {WM_DRAWITEM, 1, 0, static_cast<Integer>(ODS_SELECTED),
                                        static_cast<Integer>(ODT_TAB), nullptr}}));
}

TEST_F(TTabsTest, TabsInTheClassicLook) {
  HWND T = Tabs(0, 300, 150);
  RunUntilIdle();
  const TScreenshot S = Screenshot(T);
  constexpr DWORD White = 0xFFFFFF, Black = 0, Face = 0xC0C0C0, Shadow = 0x808080, Light = 0xDFDFDF;
  // The selected tab {2, 2, 52, 20}, drawn 2 pixels larger and over the frame below it.
  EXPECT_EQ(S.Pixel(0, 5), White);
  EXPECT_EQ(S.Pixel(1, 1), White);
  EXPECT_EQ(S.Pixel(2, 0), White);
  EXPECT_EQ(S.Pixel(53, 5), Black);
  EXPECT_EQ(S.Pixel(52, 5), Shadow);
  EXPECT_EQ(S.Pixel(20, 20), Face);
  EXPECT_EQ(S.Pixel(20, 21), Face);
  // Tools {52, 2, 90, 20}.
  EXPECT_EQ(S.Pixel(60, 2), White);
  EXPECT_EQ(S.Pixel(60, 1), Face);
  EXPECT_EQ(S.Pixel(89, 10), Black);
  EXPECT_EQ(S.Pixel(88, 10), Shadow);
  // The frame from y = 20: raised and soft.
  EXPECT_EQ(S.Pixel(60, 20), White);
  EXPECT_EQ(S.Pixel(60, 21), Light);
  EXPECT_EQ(S.Pixel(0, 100), White);
  EXPECT_EQ(S.Pixel(299, 149), Black);
  EXPECT_EQ(S.Pixel(298, 148), Shadow);
  EXPECT_EQ(S.Pixel(150, 100), Face);
  // Text in the tabs, none beside them.
  Integer InTab = 0, Outside = 0;
  for (Integer Y = 3; Y < 20; ++Y)
    for (Integer X = 0; X < 300; ++X) {
      if (S.Pixel(X, Y) != Black) continue;
      if (X < 261)
        ++InTab;
      else
        ++Outside;
    }
  EXPECT_GT(InTab, 100);
  EXPECT_EQ(Outside, 0);
}

}  // namespace
