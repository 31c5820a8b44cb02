// The built-in COMBOBOX control: its geometry, dropping and picking by mouse and keys,
// type-ahead, closing on a click elsewhere, the notification order, the edit of a drop-down
// combo, owner drawing and the classic look.
#include "TextControlTest.h"
#include "platform/user/WindowPos.h"

namespace textctl {
namespace {

const std::vector<const char*> Fruit{"apple", "banana", "blueberry", "cherry", "damson", "elder", "fig"};

class TComboBoxTest : public TTextControlTest {
 protected:
  HWND Combo(DWORD Style, Integer H = 200, const std::vector<const char*>& Items = Fruit, Integer Y = 10) {
    HWND C = Control("COMBOBOX", Style, 10, Y, 150, H, 301);
    EXPECT_NE(C, nullptr);
    for (const char* S : Items) SendMessage(C, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S));
    RunUntilIdle();
    TakeCodes(C);
    return C;
  }
  static COMBOBOXINFO Info(HWND C) {
    COMBOBOXINFO I;
    GetComboBoxInfo(C, &I);
    return I;
  }
  static Integer CurSel(HWND C) { return static_cast<Integer>(SendMessage(C, CB_GETCURSEL, 0, 0)); }
  static bool Dropped(HWND C) { return SendMessage(C, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  // The centre of an item of the open list, on the screen.
  static TPoint ItemOnScreen(HWND C, Integer I) {
    const HWND L = Info(C).hwndList;
    RECT R;
    SendMessage(L, LB_GETITEMRECT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&R));
    return ScreenOf(L, R.Left + 10, R.Top + R.Height() / 2);
  }
};

TEST_F(TComboBoxTest, Geometry) {
  const Integer H = Metrics.tmHeight;
  HWND C = Combo(CBS_DROPDOWNLIST, 200);
  // A closed combo keeps the field's height plus its edge; the rest is the list's.
  RECT W;
  GetWindowRect(C, &W);
  EXPECT_EQ(W.Height(), H + 8);
  EXPECT_EQ(SendMessage(C, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), H + 2);
  EXPECT_EQ(SendMessage(C, CB_GETITEMHEIGHT, 0, 0), H);
  const COMBOBOXINFO I = Info(C);
  EXPECT_EQ(I.hwndCombo, C);
  EXPECT_EQ(I.hwndItem, C);
  EXPECT_EQ(GetClassNameString(I.hwndList), "ComboLBox");
  EXPECT_EQ(I.rcButton, (RECT{150 - 2 - 16, 2, 150 - 2, H + 6}));
  EXPECT_EQ(I.rcItem, (RECT{3, 3, 150 - 2 - 16 - 1, H + 5}));
  // Seven items fit the 200 - (H + 8) pixels left: the list holds them all, no more.
  SendMessage(C, CB_SHOWDROPDOWN, TRUE, 0);
  RECT L;
  GetWindowRect(I.hwndList, &L);
  EXPECT_EQ(L, (RECT{W.Left, W.Bottom, W.Right, W.Bottom + 7 * H + 2}));
  EXPECT_NE(GetWindowLong(I.hwndList, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  SendMessage(C, CB_SHOWDROPDOWN, FALSE, 0);
  // A window made taller by the owner while closed means a taller list, in whole items.
  SetWindowPos(C, nullptr, 0, 0, 150, H + 8 + 3 * H + 5, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(C, &W);
  EXPECT_EQ(W.Height(), H + 8);
  SendMessage(C, CB_SHOWDROPDOWN, TRUE, 0);
  GetWindowRect(I.hwndList, &L);
  EXPECT_EQ(L.Height(), 3 * H + 2);
  SendMessage(C, CB_SHOWDROPDOWN, FALSE, 0);
  // A wider list on request; at the bottom of the screen the list opens above.
  EXPECT_EQ(SendMessage(C, CB_SETDROPPEDWIDTH, 220, 0), 220);
  SendMessage(C, CB_SETMINVISIBLE, 2, 0);
  const Integer ScreenH = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(Host, nullptr, 100, ScreenH - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(C, &W);
  SendMessage(C, CB_SHOWDROPDOWN, TRUE, 0);
  GetWindowRect(I.hwndList, &L);
  EXPECT_EQ(L, (RECT{W.Left, W.Top - (2 * H + 2), W.Left + 220, W.Top}));
  RECT Dropped;
  SendMessage(C, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&Dropped));
  EXPECT_EQ(Dropped.Height(), W.Height() + 2 * H + 2);
  // The pop-up list goes with the combo.
  DestroyWindow(C);
  EXPECT_FALSE(IsWindow(I.hwndList));
}

// Picking with the mouse: the button opens the list, the row under the mouse follows it, a
// click takes it; CBN_SELCHANGE, CBN_CLOSEUP, CBN_SELENDOK.
TEST_F(TComboBoxTest, PickWithTheMouse) {
  HWND C = Combo(CBS_DROPDOWNLIST);
  const COMBOBOXINFO I = Info(C);
  ClickAt(C, 20, 8);
  EXPECT_TRUE(Dropped(C));
  EXPECT_TRUE(IsWindowVisible(I.hwndList));
  EXPECT_EQ(GetFocus(), C);
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN}));
  const TPoint Row = ItemOnScreen(C, 3);
  Display->MoveTo(Row.X, Row.Y);
  RunUntilIdle();
  EXPECT_EQ(SendMessage(I.hwndList, LB_GETCURSEL, 0, 0), 3);  // hovering follows the mouse
  EXPECT_TRUE(TakeCodes(C).empty());
  Display->Click(Row.X, Row.Y);
  RunUntilIdle();
  EXPECT_FALSE(Dropped(C));
  EXPECT_FALSE(IsWindowVisible(I.hwndList));
  EXPECT_EQ(CurSel(C), 3);
  EXPECT_EQ(Text(C), "cherry");
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_SELCHANGE, CBN_CLOSEUP, CBN_SELENDOK}));
  Clock.Advance(1000);
  // A press on the button dragged into the list and released there picks the row too.
  const TPoint Button = ScreenOf(C, I.rcButton.Left + 5, I.rcButton.Top + 5);
  Display->MoveTo(Button.X, Button.Y);
  Display->ButtonDown();
  RunUntilIdle();
  EXPECT_TRUE(Dropped(C));
  const TPoint Row5 = ItemOnScreen(C, 5);
  Display->MoveTo(Row5.X, Row5.Y);
  Display->ButtonUp();
  RunUntilIdle();
  EXPECT_FALSE(Dropped(C));
  EXPECT_EQ(CurSel(C), 5);
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP, CBN_SELENDOK}));
}

// A click outside the open list closes it without taking the row under the mouse, and goes
// no further; so does WM_CANCELMODE.
TEST_F(TComboBoxTest, ClickElsewhereCancels) {
  HWND C = Combo(CBS_DROPDOWNLIST);
  SendMessage(C, CB_SETCURSEL, 1, 0);
  const COMBOBOXINFO I = Info(C);
  ClickAt(C, 20, 8);
  const TPoint Row = ItemOnScreen(C, 4);
  Display->MoveTo(Row.X, Row.Y);
  RunUntilIdle();
  EXPECT_EQ(SendMessage(I.hwndList, LB_GETCURSEL, 0, 0), 4);
  TakeCodes(C);
  HostLog().Mouse.clear();
  ClickAt(Host, 400, 300);
  EXPECT_FALSE(Dropped(C));
  EXPECT_EQ(CurSel(C), 1);
  EXPECT_EQ(Text(C), "banana");
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_CLOSEUP, CBN_SELENDCANCEL}));
  // The press was the list's; only the release reaches the window under the mouse.
  EXPECT_EQ(HostLog().Mouse, (std::vector<UINT>{WM_LBUTTONUP}));
  EXPECT_EQ(GetCapture(), nullptr);
  // The button while open closes it the same way.
  ClickAt(C, I.rcButton.Left + 5, 5);
  ClickAt(C, I.rcButton.Left + 5, 5);
  EXPECT_FALSE(Dropped(C));
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELENDCANCEL}));
  // WM_CANCELMODE (a modal window, a disabled owner) ends the list.
  SendMessage(C, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessage(C, WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(Dropped(C));
  EXPECT_EQ(GetCapture(), nullptr);
  // So does losing the focus.
  SendMessage(C, CB_SHOWDROPDOWN, TRUE, 0);
  SetFocus(Host);
  RunUntilIdle();
  EXPECT_FALSE(Dropped(C));
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELENDCANCEL, CBN_DROPDOWN,
                                             CBN_CLOSEUP, CBN_SELENDCANCEL, CBN_KILLFOCUS}));
}

TEST_F(TComboBoxTest, KeyboardAndTypeAhead) {
  HWND C = Combo(CBS_DROPDOWNLIST);
  SetFocus(C);
  RunUntilIdle();
  TakeCodes(C);
  Keys(VK_DOWN);  // nothing selected: the first item
  EXPECT_EQ(CurSel(C), 0);
  Keys(VK_DOWN);
  Keys(VK_RIGHT);
  EXPECT_EQ(CurSel(C), 2);
  Keys(VK_END);
  EXPECT_EQ(CurSel(C), 6);
  Keys(VK_DOWN);  // no further, no notification
  EXPECT_EQ(TakeCodes(C), std::vector<WORD>(4, CBN_SELCHANGE));
  // Type-ahead: a letter finds the next item starting with it, the same letter walks on,
  // letters typed quickly make a prefix.
  Type("b");
  EXPECT_EQ(Text(C), "banana");
  Clock.Advance(200);
  Type("b");
  EXPECT_EQ(Text(C), "blueberry");
  Clock.Advance(2000);
  Type("d");
  Clock.Advance(100);
  Type("a");
  EXPECT_EQ(Text(C), "damson");
  Clock.Advance(2000);
  Type("x");
  EXPECT_EQ(Text(C), "damson");
  EXPECT_EQ(TakeCodes(C), std::vector<WORD>(3, CBN_SELCHANGE));
  // F4 and Alt+Down open; keys move through the open list; Enter takes, Escape gives up.
  Keys(VK_F4);
  EXPECT_TRUE(Dropped(C));
  Keys(VK_UP);
  EXPECT_EQ(CurSel(C), 3);
  Keys(VK_RETURN);
  EXPECT_FALSE(Dropped(C));
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP, CBN_SELENDOK}));
  Keys(VK_DOWN, kmAlt);
  EXPECT_TRUE(Dropped(C));
  Keys(VK_DOWN);
  Keys(VK_DOWN);
  EXPECT_EQ(CurSel(C), 5);
  Keys(VK_ESCAPE);
  EXPECT_FALSE(Dropped(C));
  EXPECT_EQ(CurSel(C), 3);  // back to the item the list opened with
  EXPECT_EQ(Text(C), "cherry");
  EXPECT_EQ(TakeCodes(C),
            (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELCHANGE, CBN_CLOSEUP, CBN_SELENDCANCEL}));
  // The extended interface opens with Down and leaves F4 alone.
  SendMessage(C, CB_SETEXTENDEDUI, TRUE, 0);
  Keys(VK_F4);
  EXPECT_FALSE(Dropped(C));
  Keys(VK_DOWN);
  EXPECT_TRUE(Dropped(C));
}

TEST_F(TComboBoxTest, DropDownWithEdit) {
  HWND C = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
  const COMBOBOXINFO I = Info(C);
  ASSERT_NE(I.hwndItem, C);
  EXPECT_EQ(GetClassNameString(I.hwndItem), "EDIT");
  EXPECT_EQ(GetDlgCtrlID(I.hwndItem), 1001);
  SetFocus(C);
  RunUntilIdle();
  EXPECT_EQ(GetFocus(), I.hwndItem);
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_SETFOCUS}));
  Type("ch");
  EXPECT_EQ(Text(C), "ch");
  EXPECT_EQ(TakeCodes(C),
            (std::vector<WORD>{CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
  // Down in the edit steps through the items and shows them selected in the edit.
  Keys(VK_DOWN);
  EXPECT_EQ(Text(C), "apple");
  EXPECT_EQ(SendMessage(C, CB_GETEDITSEL, 0, 0), MAKELONG(0, 5));
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_SELCHANGE}));
  // Typing with the list open selects the item the text begins.
  Keys(VK_F4);
  EXPECT_TRUE(Dropped(C));
  SetWindowText(I.hwndItem, "");
  Type("el");
  EXPECT_EQ(SendMessage(I.hwndList, LB_GETCURSEL, 0, 0), 5);
  Keys(VK_RETURN);
  EXPECT_FALSE(Dropped(C));
  EXPECT_EQ(Text(C), "elder");
  // WM_SETTEXT reaches the edit quietly; CB_SETEDITSEL selects in it.
  TakeCodes(C);
  SetWindowText(C, "plum");
  EXPECT_EQ(Text(I.hwndItem), "plum");
  EXPECT_TRUE(TakeCodes(C).empty());
  SendMessage(C, CB_SETEDITSEL, 0, MAKELPARAM(1, 3));
  EXPECT_EQ(SendMessage(I.hwndItem, EM_GETSEL, 0, 0), MAKELONG(1, 3));
  SendMessage(C, CB_LIMITTEXT, 6, 0);
  EXPECT_EQ(SendMessage(I.hwndItem, EM_GETLIMITTEXT, 0, 0), 6);
  // Focus leaving for another window ends the combo's focus.
  SetFocus(Host);
  RunUntilIdle();
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_KILLFOCUS}));
}

TEST_F(TComboBoxTest, SimpleCombo) {
  const Integer H = Metrics.tmHeight;
  HWND C = Combo(CBS_SIMPLE, 8 * H, {"red", "green", "blue"});
  const COMBOBOXINFO I = Info(C);
  // The edit on top, the list always shown below it, no button.
  EXPECT_EQ(I.stateButton, static_cast<DWORD>(STATE_SYSTEM_INVISIBLE));
  EXPECT_TRUE(IsWindowVisible(I.hwndList));
  EXPECT_EQ(GetParent(I.hwndList), C);
  RECT W, L;
  GetWindowRect(C, &W);
  GetWindowRect(I.hwndList, &L);
  EXPECT_EQ(W.Height(), 8 * H);
  EXPECT_EQ(L.Top - W.Top, H + 8);
  EXPECT_EQ(L.Bottom, W.Bottom);
  // A click in the list shows the item in the edit; a double click tells the parent.
  RECT R;
  SendMessage(I.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&R));
  ClickAt(I.hwndList, 10, R.Top + 2);
  EXPECT_EQ(Text(C), "green");
  EXPECT_EQ(GetFocus(), I.hwndItem);
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_SETFOCUS, CBN_SELCHANGE}));
  const TPoint P = ScreenOf(I.hwndList, 10, R.Top + 2);
  Display->DoubleClick(P.X, P.Y);
  RunUntilIdle();
  EXPECT_EQ(TakeCodes(C), (std::vector<WORD>{CBN_SELCHANGE, CBN_DBLCLK}));
  // Typing selects the item the text begins, quietly.
  SendMessage(C, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  Type("bl");
  EXPECT_EQ(CurSel(C), 2);
  EXPECT_EQ(Text(C), "bl");
  EXPECT_FALSE(Dropped(C));
  EXPECT_EQ(SendMessage(C, CB_SHOWDROPDOWN, TRUE, 0), TRUE);
  EXPECT_FALSE(Dropped(C));
}

TEST_F(TComboBoxTest, ItemsAndSelection) {
  HWND C = Combo(CBS_DROPDOWNLIST | CBS_SORT, 200, {"pear", "Apple", "fig"});
  char Buffer[32] = {};
  SendMessage(C, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(Buffer));
  EXPECT_EQ(std::string(Buffer), "Apple");
  EXPECT_EQ(SendMessage(C, CB_GETLBTEXTLEN, 2, 0), 4);
  EXPECT_EQ(SendMessage(C, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("F")), 1);
  EXPECT_EQ(SendMessage(C, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("PEAR")), 2);
  EXPECT_EQ(SendMessage(C, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("pe")), 2);
  EXPECT_EQ(Text(C), "pear");
  EXPECT_EQ(SendMessage(C, WM_GETTEXTLENGTH, 0, 0), 4);
  EXPECT_EQ(SendMessage(C, CB_SETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text(C), "Apple");
  SendMessage(C, CB_SETITEMDATA, 0, 99);
  EXPECT_EQ(SendMessage(C, CB_GETITEMDATA, 0, 0), 99);
  // WM_SETTEXT picks the item of that text in a drop-down list combo.
  EXPECT_EQ(SetWindowText(C, "fig"), TRUE);
  EXPECT_EQ(CurSel(C), 1);
  EXPECT_EQ(SendMessage(C, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("kiwi")), CB_ERR);
  EXPECT_EQ(SendMessage(C, CB_DELETESTRING, 1, 0), 2);
  EXPECT_EQ(CurSel(C), CB_ERR);
  EXPECT_EQ(Text(C), "");
  EXPECT_EQ(SendMessage(C, CB_GETEDITSEL, 0, 0), CB_ERR);
  SendMessage(C, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(C, CB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(TakeCodes(C).empty());  // changes from code send nothing
}

TEST_F(TComboBoxTest, OwnerDrawnCombo) {
  HostLog().MeasureHeight = 20;
  HWND C = Combo(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 200, {"one", "two"});
  // The field (item -1) and the list's items are measured, both as the combo's.
  ASSERT_GE(HostLog().Measured.size(), 2u);
  EXPECT_EQ(HostLog().Measured[0].itemID, static_cast<UINT>(-1));
  EXPECT_EQ(HostLog().Measured[0].CtlType, ODT_COMBOBOX);
  EXPECT_EQ(HostLog().Measured[1].CtlType, ODT_COMBOBOX);
  EXPECT_EQ(HostLog().Measured[1].CtlID, 301u);
  EXPECT_EQ(SendMessage(C, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 20);
  EXPECT_EQ(SendMessage(C, CB_GETITEMHEIGHT, 0, 0), 20);
  RECT W;
  GetWindowRect(C, &W);
  EXPECT_EQ(W.Height(), 26);
  SendMessage(C, CB_SETCURSEL, 1, 0);
  SetFocus(C);
  HostLog().Drawn.clear();
  RunUntilIdle();
  ASSERT_FALSE(HostLog().Drawn.empty());
  const DRAWITEMSTRUCT& Field = HostLog().Drawn.back();
  EXPECT_EQ(Field.CtlType, ODT_COMBOBOX);
  EXPECT_EQ(Field.itemID, 1u);
  EXPECT_EQ(Field.hwndItem, C);
  EXPECT_EQ(Field.itemState & (ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS),
            static_cast<UINT>(ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS));
  EXPECT_EQ(Field.rcItem, Info(C).rcItem);
  // The open list's rows are the combo's items too.
  HostLog().Drawn.clear();
  SendMessage(C, CB_SHOWDROPDOWN, TRUE, 0);
  RunUntilIdle();
  bool ListRow = false;
  for (const DRAWITEMSTRUCT& D : HostLog().Drawn)
    ListRow |= D.CtlType == ODT_COMBOBOX && D.hwndItem == C && !(D.itemState & ODS_COMBOBOXEDIT) &&
               D.rcItem.Top == 0;
  EXPECT_TRUE(ListRow);
}

TEST_F(TComboBoxTest, ClassicLook) {
  const Integer H = Metrics.tmHeight;
  HWND C = Combo(CBS_DROPDOWNLIST);
  SendMessage(C, CB_SETCURSEL, 0, 0);
  RunUntilIdle();
  const TScreenshot Shot = Screenshot(C);
  EXPECT_EQ(Shot.Pixel(5, 0), SysPixel(COLOR_3DSHADOW));  // the sunken edge
  EXPECT_EQ(Shot.Pixel(5, 1), SysPixel(COLOR_3DDKSHADOW));
  EXPECT_EQ(Shot.Pixel(5, H + 7), SysPixel(COLOR_3DHILIGHT));
  EXPECT_EQ(Shot.Pixel(100, (H + 8) / 2), SysPixel(COLOR_WINDOW));  // the field right of the text
  const TRect B = Info(C).rcButton;
  EXPECT_EQ(Shot.Pixel(B.Right - 3, B.Top + 3), SysPixel(COLOR_3DFACE));  // the button's face
  // Focused, the field shows the selection colour.
  SetFocus(C);
  RunUntilIdle();
  const TScreenshot Focused = Screenshot(C);
  EXPECT_EQ(Focused.Pixel(100, (H + 8) / 2), SysPixel(COLOR_HIGHLIGHT));
  // The open list: white rows and the hovered one highlighted.
  SendMessage(C, CB_SHOWDROPDOWN, TRUE, 0);
  RunUntilIdle();
  const TScreenshot List = Screenshot(Info(C).hwndList);
  EXPECT_EQ(List.Pixel(100, 1 + H / 2), SysPixel(COLOR_HIGHLIGHT));
  EXPECT_EQ(List.Pixel(100, 1 + H + H / 2), SysPixel(COLOR_WINDOW));
  EXPECT_EQ(List.Pixel(0, 5), SysPixel(COLOR_WINDOWFRAME));
}

}  // namespace
}  // namespace textctl
