// The built-in LISTBOX control: its scroll range and page, the integral height, owner-drawn
// items, hit testing, sorting and searching, the keyboard, the mouse, type-ahead and the
// classic look.
#include "TextControlTest.h"
#include "platform/user/ScrollBars.h"

namespace textctl {
namespace {

class TListBoxTest : public TTextControlTest {
 protected:
  HWND List(DWORD Style, Integer W, Integer H, const std::vector<const char*>& Items = {}) {
    HWND L = Control("LISTBOX", Style, 10, 10, W, H, 201);
    EXPECT_NE(L, nullptr);
    for (const char* S : Items) SendMessage(L, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S));
    RunUntilIdle();
    TakeCodes(L);
    return L;
  }
  static std::string ItemText(HWND L, Integer I) {
    char Buffer[64] = {};
    SendMessage(L, LB_GETTEXT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(Buffer));
    return Buffer;
  }
  static Integer CurSel(HWND L) { return static_cast<Integer>(SendMessage(L, LB_GETCURSEL, 0, 0)); }
  static TRect ItemRect(HWND L, Integer I) {
    RECT R;
    SendMessage(L, LB_GETITEMRECT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&R));
    return R;
  }
  void ClickItem(HWND L, Integer I, UINT Modifiers = 0) {
    const TRect R = ItemRect(L, I);
    const TPoint P = ScreenOf(L, R.Left + 5, R.Top + R.Height() / 2);
    Display->MoveTo(P.X, P.Y);
    if (Modifiers & kmShift) Display->KeyDown(VK_SHIFT);
    if (Modifiers & kmControl) Display->KeyDown(VK_CONTROL);
    Display->Click(P.X, P.Y);
    if (Modifiers & kmControl) Display->KeyUp(VK_CONTROL);
    if (Modifiers & kmShift) Display->KeyUp(VK_SHIFT);
    RunUntilIdle();
    Clock.Advance(1000);
  }
};

// The vertical bar mirrors the list: nMin 0, nMax count - 1, nPage the whole rows shown,
// hidden while everything fits (disabled instead with LBS_DISABLENOSCROLL).
TEST_F(TListBoxTest, ScrollRangeAndPage) {
  const Integer H = Metrics.tmHeight;
  struct TCase {
    Integer Count, Rows;
    DWORD Extra;
    Integer Max;
    UINT Page;
    bool Shown;
  };
  const TCase Cases[] = {
      {0, 5, 0, 0, 1, false},
      {3, 5, 0, 2, 3, false},
      {5, 5, 0, 4, 5, false},
      {6, 5, 0, 5, 5, true},
      {20, 5, 0, 19, 5, true},
      {20, 1, 0, 19, 1, true},
      {3, 5, LBS_DISABLENOSCROLL, 2, 3, true},
  };
  for (const TCase& C : Cases) {
    std::vector<std::string> Names;
    for (Integer I = 0; I < C.Count; ++I) Names.push_back("item " + std::to_string(I));
    std::vector<const char*> Items;
    for (const std::string& S : Names) Items.push_back(S.c_str());
    HWND L = List(WS_VSCROLL | LBS_NOINTEGRALHEIGHT | C.Extra, 120, C.Rows * H, Items);
    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(L, SB_VERT, &SI));
    EXPECT_EQ(SI.nMin, 0);
    EXPECT_EQ(SI.nMax, C.Max) << C.Count << " items, " << C.Rows << " rows";
    EXPECT_EQ(SI.nPage, C.Page) << C.Count << " items, " << C.Rows << " rows";
    EXPECT_EQ((GetWindowLong(L, GWL_STYLE) & WS_VSCROLL) != 0, C.Shown)
        << C.Count << " items, " << C.Rows << " rows";
    DestroyWindow(L);
  }
  // Scrolling moves nPos with the top index; the wheel scrolls three rows a notch.
  std::vector<std::string> Names;
  for (Integer I = 0; I < 20; ++I) Names.push_back("row " + std::to_string(I));
  std::vector<const char*> Items;
  for (const std::string& S : Names) Items.push_back(S.c_str());
  HWND L = List(WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 120, 5 * H, Items);
  SendMessage(L, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 7), 0);
  EXPECT_EQ(SendMessage(L, LB_GETTOPINDEX, 0, 0), 7);
  EXPECT_EQ(GetScrollPos(L, SB_VERT), 7);
  SendMessage(L, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(SendMessage(L, LB_GETTOPINDEX, 0, 0), 10);
  SendMessage(L, LB_SETTOPINDEX, 19, 0);  // no further than a full last page
  EXPECT_EQ(SendMessage(L, LB_GETTOPINDEX, 0, 0), 15);
  // The horizontal bar follows the horizontal extent.
  HWND Wide = List(WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 100, 5 * H, {"a"});
  EXPECT_EQ(GetWindowLong(Wide, GWL_STYLE) & WS_HSCROLL, 0);
  SendMessage(Wide, LB_SETHORIZONTALEXTENT, 300, 0);
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Wide, SB_HORZ, &SI));
  EXPECT_EQ(SI.nMax, 299);
  EXPECT_NE(GetWindowLong(Wide, GWL_STYLE) & WS_HSCROLL, 0);
}

TEST_F(TListBoxTest, IntegralHeightAndItemHeight) {
  const Integer H = Metrics.tmHeight;
  EXPECT_EQ(SendMessage(List(0, 100, 50), LB_GETITEMHEIGHT, 0, 0), H);
  // The window loses the part of a row that does not fit, unless LBS_NOINTEGRALHEIGHT; a new
  // font cuts the height asked for again.
  HWND L = List(0, 100, 4 * H + 5);
  RECT C;
  GetClientRect(L, &C);
  EXPECT_EQ(C.Height(), 4 * H);
  SendMessage(L, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), FALSE);
  const Integer System = static_cast<Integer>(SendMessage(L, LB_GETITEMHEIGHT, 0, 0));
  GetClientRect(L, &C);
  EXPECT_EQ(C.Height(), (4 * H + 5) / System * System);
  SetWindowPos(L, nullptr, 0, 0, 100, 3 * System + 1, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(L, &C);
  EXPECT_EQ(C.Height(), 3 * System);
  HWND N = List(LBS_NOINTEGRALHEIGHT, 100, 4 * H + 5);
  GetClientRect(N, &C);
  EXPECT_EQ(C.Height(), 4 * H + 5);
  EXPECT_EQ(SendMessage(N, LB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0)), LB_OKAY);
  EXPECT_EQ(SendMessage(N, LB_GETITEMHEIGHT, 0, 0), 20);
  EXPECT_EQ(SendMessage(N, LB_SETITEMHEIGHT, 0, MAKELPARAM(256, 0)), LB_ERR);
}

TEST_F(TListBoxTest, OwnerDrawnItems) {
  HostLog().MeasureHeight = 18;
  HWND L = List(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, 120, 60,
                {"one", "two", "three", "four"});
  // The fixed height is measured once, at creation, starting from the height of the font the
  // list has then (the system font).
  ASSERT_EQ(HostLog().Measured.size(), 1u);
  EXPECT_EQ(HostLog().Measured[0].CtlType, ODT_LISTBOX);
  EXPECT_EQ(HostLog().Measured[0].CtlID, 201u);
  EXPECT_EQ(HostLog().Measured[0].itemHeight, static_cast<UINT>(SystemFontHeight()));
  EXPECT_EQ(SendMessage(L, LB_GETITEMHEIGHT, 0, 0), 18);
  HostLog().Drawn.clear();
  InvalidateRect(L, nullptr, TRUE);
  RunUntilIdle();
  // 60 pixels show items 0..3 (the last one in part), each at its rectangle.
  ASSERT_EQ(HostLog().Drawn.size(), 4u);
  for (UINT I = 0; I < 4; ++I) {
    const DRAWITEMSTRUCT& D = HostLog().Drawn[I];
    EXPECT_EQ(D.CtlType, ODT_LISTBOX);
    EXPECT_EQ(D.itemID, I);
    EXPECT_EQ(D.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(D.hwndItem, L);
    EXPECT_EQ(D.rcItem, (RECT{0, static_cast<Integer>(I) * 18, 120, static_cast<Integer>(I + 1) * 18}));
  }
  // A selection change draws just the items concerned, with ODA_SELECT.
  SendMessage(L, LB_SETITEMDATA, 2, 77);
  HostLog().Drawn.clear();
  SendMessage(L, LB_SETCURSEL, 2, 0);
  ASSERT_FALSE(HostLog().Drawn.empty());
  const DRAWITEMSTRUCT& S = HostLog().Drawn[0];
  EXPECT_EQ(S.itemID, 2u);
  EXPECT_EQ(S.itemAction, static_cast<UINT>(ODA_SELECT));
  EXPECT_EQ(S.itemState & ODS_SELECTED, static_cast<UINT>(ODS_SELECTED));
  EXPECT_EQ(S.itemData, 77u);
  // Focus draws the caret item with ODA_FOCUS and ODS_FOCUS.
  HostLog().Drawn.clear();
  SetFocus(L);
  RunUntilIdle();
  ASSERT_FALSE(HostLog().Drawn.empty());
  EXPECT_EQ(HostLog().Drawn[0].itemAction, static_cast<UINT>(ODA_FOCUS));
  EXPECT_EQ(HostLog().Drawn[0].itemState, static_cast<UINT>(ODS_FOCUS | ODS_SELECTED));
  // Deleting an owner-drawn item tells the owner.
  SendMessage(L, LB_DELETESTRING, 2, 0);
  ASSERT_EQ(HostLog().Deleted.size(), 1u);
  EXPECT_EQ(HostLog().Deleted[0].itemID, 2u);
  EXPECT_EQ(HostLog().Deleted[0].itemData, 77u);
  EXPECT_EQ(CurSel(L), LB_ERR);

  // Variable heights: measured per item at insertion; the rectangles stack.
  HostLog() = THostLog();
  HostLog().MeasureByIndex = true;
  HWND V = List(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, 120, 80, {"a", "b", "c"});
  ASSERT_EQ(HostLog().Measured.size(), 3u);
  EXPECT_EQ(SendMessage(V, LB_GETITEMHEIGHT, 2, 0), 12);
  EXPECT_EQ(ItemRect(V, 2), (TRect{0, 10 + 11, 120, 10 + 11 + 12}));
  EXPECT_EQ(SendMessage(V, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 15)), MAKELONG(1, 0));
}

TEST_F(TListBoxTest, ItemFromPointAndRects) {
  const Integer H = Metrics.tmHeight;
  HWND L = List(LBS_NOINTEGRALHEIGHT, 100, 4 * H, {"a", "b", "c", "d", "e", "f", "g", "h"});
  struct TCase {
    Integer X, Y;
    LRESULT Result;
  };
  const TCase Cases[] = {
      {5, 0, MAKELONG(0, 0)},         {5, H - 1, MAKELONG(0, 0)}, {5, H, MAKELONG(1, 0)},
      {5, 4 * H - 1, MAKELONG(3, 0)}, {5, 4 * H, MAKELONG(4, 1)}, {5, -3, MAKELONG(0, 1)},
      {150, 5, MAKELONG(0, 1)},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(SendMessage(L, LB_ITEMFROMPOINT, 0, MAKELPARAM(C.X, C.Y)), C.Result) << C.X << "," << C.Y;
  SendMessage(L, LB_SETTOPINDEX, 3, 0);
  EXPECT_EQ(SendMessage(L, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 0)), MAKELONG(3, 0));
  EXPECT_EQ(ItemRect(L, 3), (TRect{0, 0, 100, H}));
  EXPECT_EQ(ItemRect(L, 1), (TRect{0, -2 * H, 100, -H}));
  RECT R;
  EXPECT_EQ(SendMessage(L, LB_GETITEMRECT, 8, reinterpret_cast<LPARAM>(&R)), LB_ERR);
  // Empty space below the last item belongs to the last item.
  HWND Few = List(LBS_NOINTEGRALHEIGHT, 100, 4 * H, {"a", "b"});
  EXPECT_EQ(SendMessage(Few, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 3 * H)), MAKELONG(1, 0));
}

TEST_F(TListBoxTest, SortingSearchingAndData) {
  HWND L = List(LBS_SORT, 100, 100, {"pear", "Apple", "banana", "apricot", "Cherry"});
  const std::vector<std::string> Order{"Apple", "apricot", "banana", "Cherry", "pear"};
  for (Integer I = 0; I < 5; ++I) EXPECT_EQ(ItemText(L, I), Order[static_cast<std::size_t>(I)]);
  EXPECT_EQ(SendMessage(L, LB_GETTEXTLEN, 3, 0), 6);
  EXPECT_EQ(SendMessage(L, LB_GETTEXTLEN, 9, 0), LB_ERR);
  // Prefix search without regard to case, starting after the index and wrapping round.
  EXPECT_EQ(SendMessage(L, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("AP")), 0);
  EXPECT_EQ(SendMessage(L, LB_FINDSTRING, 0, reinterpret_cast<LPARAM>("ap")), 1);
  EXPECT_EQ(SendMessage(L, LB_FINDSTRING, 1, reinterpret_cast<LPARAM>("ap")), 0);
  EXPECT_EQ(SendMessage(L, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("kiwi")), LB_ERR);
  EXPECT_EQ(SendMessage(L, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ap")),
            LB_ERR);
  EXPECT_EQ(SendMessage(L, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("CHERRY")),
            3);
  EXPECT_EQ(SendMessage(L, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("b")), 2);
  EXPECT_EQ(CurSel(L), 2);
  // Insertion does not sort; the selection follows its item.
  EXPECT_EQ(SendMessage(L, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zebra")), 0);
  EXPECT_EQ(SendMessage(L, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("end")), 6);
  EXPECT_EQ(SendMessage(L, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), LB_ERR);
  EXPECT_EQ(CurSel(L), 3);
  SendMessage(L, LB_SETITEMDATA, 3, 1234);
  EXPECT_EQ(SendMessage(L, LB_GETITEMDATA, 3, 0), 1234);
  EXPECT_EQ(SendMessage(L, LB_DELETESTRING, 0, 0), 6);
  EXPECT_EQ(CurSel(L), 2);
  EXPECT_EQ(SendMessage(L, LB_GETITEMDATA, 2, 0), 1234);
  // Programmatic changes send no notification.
  EXPECT_TRUE(TakeCodes(L).empty());
  SendMessage(L, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(L, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(CurSel(L), LB_ERR);
  EXPECT_EQ(SendMessage(L, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
}

TEST_F(TListBoxTest, MouseAndKeyboard) {
  const Integer H = Metrics.tmHeight;
  HWND L = List(LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, 100, 4 * H,
                {"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"});
  ClickItem(L, 2);
  EXPECT_EQ(CurSel(L), 2);
  EXPECT_EQ(GetFocus(), L);
  EXPECT_EQ(TakeCodes(L), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE}));
  // Clicking the selected item again still reports.
  ClickItem(L, 2);
  EXPECT_EQ(TakeCodes(L), (std::vector<WORD>{LBN_SELCHANGE}));
  Keys(VK_DOWN);
  EXPECT_EQ(CurSel(L), 3);
  Keys(VK_UP);
  Keys(VK_NEXT);  // to the last whole row, then a page on
  EXPECT_EQ(CurSel(L), 3);
  Keys(VK_NEXT);
  EXPECT_EQ(CurSel(L), 6);
  EXPECT_EQ(SendMessage(L, LB_GETTOPINDEX, 0, 0), 3);
  Keys(VK_END);
  EXPECT_EQ(CurSel(L), 9);
  Keys(VK_DOWN);  // nothing further: no notification
  Keys(VK_HOME);
  EXPECT_EQ(CurSel(L), 0);
  EXPECT_EQ(TakeCodes(L), std::vector<WORD>(6, LBN_SELCHANGE));
  // A drag moves the selection with the mouse and reports once, at the release.
  const TRect A = ItemRect(L, 0), B = ItemRect(L, 2);
  Display->Drag(ScreenOf(L, 5, A.Top + 2), ScreenOf(L, 5, B.Top + 2));
  RunUntilIdle();
  EXPECT_EQ(CurSel(L), 2);
  EXPECT_EQ(TakeCodes(L), (std::vector<WORD>{LBN_SELCHANGE}));
  Clock.Advance(1000);
  const TPoint P = ScreenOf(L, 5, B.Top + 2);
  Display->DoubleClick(P.X, P.Y);
  RunUntilIdle();
  EXPECT_EQ(TakeCodes(L), (std::vector<WORD>{LBN_SELCHANGE, LBN_DBLCLK}));
  Clock.Advance(1000);
  // Held below the list, the drag scrolls an item a tick, the selection following.
  Display->MoveTo(P.X, P.Y);
  Display->ButtonDown();
  const TPoint Below = ScreenOf(L, 5, 4 * H + 20);
  Display->MoveTo(Below.X, Below.Y);
  RunUntilIdle();
  for (Integer Tick = 0; Tick < 3; ++Tick) {
    Clock.Advance(50);
    RunUntilIdle();
  }
  Display->ButtonUp();
  RunUntilIdle();
  EXPECT_EQ(SendMessage(L, LB_GETTOPINDEX, 0, 0), 3);
  EXPECT_EQ(CurSel(L), 6);
  EXPECT_EQ(TakeCodes(L), (std::vector<WORD>{LBN_SELCHANGE}));
}

TEST_F(TListBoxTest, ExtendedAndMultipleSelection) {
  HWND L = List(LBS_EXTENDEDSEL | LBS_NOTIFY, 100, 200, {"0", "1", "2", "3", "4", "5"});
  auto Selected = [&](HWND W) {
    Integer Items[8] = {};
    const Integer N =
        static_cast<Integer>(SendMessage(W, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(Items)));
    return std::vector<Integer>(Items, Items + std::max(0, N));
  };
  ClickItem(L, 1);
  ClickItem(L, 3, kmShift);
  EXPECT_EQ(Selected(L), (std::vector<Integer>{1, 2, 3}));
  ClickItem(L, 5, kmControl);
  EXPECT_EQ(Selected(L), (std::vector<Integer>{1, 2, 3, 5}));
  EXPECT_EQ(SendMessage(L, LB_GETANCHORINDEX, 0, 0), 5);
  Keys(VK_UP, kmShift);
  EXPECT_EQ(Selected(L), (std::vector<Integer>{4, 5}));
  EXPECT_EQ(SendMessage(L, LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessage(L, LB_GETCARETINDEX, 0, 0), 4);
  EXPECT_EQ(SendMessage(L, LB_SETCURSEL, 1, 0), LB_ERR);
  SendMessage(L, LB_SELITEMRANGEEX, 0, 1);
  EXPECT_EQ(Selected(L), (std::vector<Integer>{0, 1, 4, 5}));
  SendMessage(L, LB_SELITEMRANGEEX, 5, 4);
  EXPECT_EQ(Selected(L), (std::vector<Integer>{0, 1}));
  SendMessage(L, LB_SETSEL, FALSE, -1);
  EXPECT_EQ(SendMessage(L, LB_GETSELCOUNT, 0, 0), 0);

  DestroyWindow(L);
  HWND M = List(LBS_MULTIPLESEL, 100, 200, {"0", "1", "2", "3"});
  ClickItem(M, 1);
  ClickItem(M, 3);
  ClickItem(M, 1);
  EXPECT_EQ(Selected(M), (std::vector<Integer>{3}));
  Keys(VK_UP);
  Keys(VK_SPACE);
  EXPECT_EQ(Selected(M), (std::vector<Integer>{0, 3}));
  EXPECT_EQ(SendMessage(M, LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessage(M, LB_GETSEL, 0, 0), 1);
}

TEST_F(TListBoxTest, TypeAhead) {
  HWND L = List(LBS_SORT | LBS_NOTIFY, 100, 200, {"apple", "banana", "blueberry", "bramble", "cherry"});
  SetFocus(L);
  Type("b");
  EXPECT_EQ(CurSel(L), 1);
  Clock.Advance(300);
  Type("b");  // the same letter again walks on
  EXPECT_EQ(CurSel(L), 2);
  Clock.Advance(300);
  Type("b");
  EXPECT_EQ(CurSel(L), 3);
  Clock.Advance(1000);
  Type("c");
  EXPECT_EQ(CurSel(L), 4);
  Clock.Advance(1000);
  Type("b");
  Clock.Advance(200);
  Type("l");  // within the pause: the prefix "bl"
  EXPECT_EQ(CurSel(L), 2);
  Clock.Advance(1000);
  Type("z");
  EXPECT_EQ(CurSel(L), 2);
  const std::vector<WORD> Codes = TakeCodes(L);
  EXPECT_EQ(std::count(Codes.begin(), Codes.end(), LBN_SELCHANGE), 6);
}

// LBS_WANTKEYBOARDINPUT asks the parent about every key: -1 lets the list act, -2 stops it,
// an index moves there. Without an answer the default procedure's -1 applies.
TEST_F(TListBoxTest, KeysToTheParent) {
  HWND L = List(LBS_WANTKEYBOARDINPUT | LBS_NOTIFY, 100, 200, {"a", "b", "c", "d"});
  SetFocus(L);
  Keys(VK_DOWN);
  EXPECT_EQ(CurSel(L), 0);
  static LRESULT Answer = -2;
  static WPARAM Asked = 0;
  SetWindowLongPtr(Host, GWLP_WNDPROC,
                   reinterpret_cast<LONG_PTR>(MakeWndProc([](HWND W, UINT M, WPARAM WP, LPARAM LP) {
                     if (M == WM_VKEYTOITEM) {
                       Asked = WP;
                       return Answer;
                     }
                     return HostProc(W, M, WP, LP);
                   })));
  Keys(VK_DOWN);
  EXPECT_EQ(CurSel(L), 0);
  EXPECT_EQ(Asked, MAKEWPARAM(VK_DOWN, 0));
  Answer = 3;
  Keys(VK_DOWN);
  EXPECT_EQ(CurSel(L), 3);
  Answer = -1;
  Keys(VK_UP);
  EXPECT_EQ(CurSel(L), 2);
}

TEST_F(TListBoxTest, ClassicLook) {
  const Integer H = Metrics.tmHeight;
  HWND L = List(LBS_NOINTEGRALHEIGHT, 100, 5 * H, {"first", "second", "third"});
  SendMessage(L, LB_SETCURSEL, 1, 0);
  SetFocus(L);
  RunUntilIdle();
  const TScreenshot Shot = Screenshot(L);
  EXPECT_EQ(Shot.Pixel(90, H / 2), SysPixel(COLOR_WINDOW));         // an item
  EXPECT_EQ(Shot.Pixel(90, H + H / 2), SysPixel(COLOR_HIGHLIGHT));  // the selection
  EXPECT_EQ(Shot.Pixel(90, 4 * H + 2), SysPixel(COLOR_WINDOW));     // below the items
  // The focus rectangle's dots run along the selected item's edge.
  Integer Dots = 0;
  for (Integer X = 0; X < 100; ++X) Dots += Shot.Pixel(X, H) != SysPixel(COLOR_HIGHLIGHT);
  EXPECT_GT(Dots, 30);
  EnableWindow(L, FALSE);
  RunUntilIdle();
  const TScreenshot Off = Screenshot(L);
  EXPECT_EQ(Off.Pixel(90, H + H / 2), SysPixel(COLOR_HIGHLIGHT));
}

}  // namespace
}  // namespace textctl
